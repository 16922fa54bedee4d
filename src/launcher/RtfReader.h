// Reads the RTF of the readme into Qt rich text (Qt has no RTF reader of its own): groups,
// paragraphs, bold, italic, font size, the colour table, Unicode characters with their fallback
// and hex bytes in the document's code page. Whatever it does not know it skips.
#pragma once

#include <QByteArray>
#include <QString>

namespace tamtara {

// An HTML document for QTextEdit::setHtml. Never fails: broken input gives what could be read.
QString RtfToHtml(const QByteArray& rtf);

} // namespace tamtara
