// The readme's RTF reader: the shipped readme, code-page bytes and colours, and hostile input.
#include "launcher/RtfReader.h"
#include "launcher/LauncherTests.h"

#include <QFile>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

namespace tamtara::testing {

namespace {

// The document as Qt reads the reader's HTML.
std::unique_ptr<QTextDocument> Read(const QByteArray& rtf) {
    auto document = std::make_unique<QTextDocument>();
    document->setHtml(RtfToHtml(rtf));
    return document;
}

// The character format of the character at position.
QTextCharFormat FormatAt(QTextDocument& document, int position) {
    const QTextBlock block = document.findBlock(position);
    for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
        const QTextFragment piece = fragment.fragment();
        if (piece.contains(position)) return piece.charFormat();
    }
    return {};
}

} // namespace

class RtfReaderTest : public QObject {
    Q_OBJECT
private slots:
    void ShippedReadmeReadsAsFormattedText() {
        QFile file(TAMTARA_SOURCE_DIR "/assets/tamtara.rtf");
        QVERIFY(file.open(QIODevice::ReadOnly));
        auto document = Read(file.readAll());
        const QString text = document->toPlainText();
        QVERIFY2(text.startsWith("Tamtara  Version 1.82\n"), qPrintable(text.left(40)));
        QVERIFY(text.contains("■ Tamtara とは"));
        QVERIFY(text.contains("ドラム演奏ゲームです。"));
        QVERIFY(text.contains("  ハイハット   A / S"));
        // No control word, font name or fallback mark leaks into the text.
        QVERIFY(!text.contains('\\'));
        QVERIFY(!text.contains("IPAPGothic"));
        QVERIFY(!text.contains('?'));
        const QTextCharFormat title = FormatAt(*document, 0);
        QCOMPARE(title.fontWeight(), 700);
        QCOMPARE(title.fontPointSize(), 14.0);
        const int body = static_cast<int>(text.indexOf("どんな"));
        QCOMPARE(FormatAt(*document, body).fontWeight() > 400, false);
        QCOMPARE(FormatAt(*document, body).fontPointSize(), 10.0);
    }

    void CodePageBytesColoursAndUnicodeFallbacks() {
        auto document =
            Read("{\\rtf1\\ansi\\ansicpg932{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
                 "\\cf1 \\'93\\'fa\\'96\\'7b\\cf0 x\\uc2\\u12354\\'82\\'a0y\\i z\\i0\\par"
                 "{\\cf2 blue}\\'41}");
        QCOMPARE(document->toPlainText(), QString("日本xあyz\nblueA"));
        QCOMPARE(FormatAt(*document, 0).foreground().color(), QColor(255, 0, 0));
        QVERIFY(FormatAt(*document, 5).fontItalic());
        QCOMPARE(FormatAt(*document, 7).foreground().color(), QColor(0, 0, 255));
    }

    void HostileInputIsSkippedNeverShown() {
        // Unbalanced braces both ways, unknown words and destinations.
        QCOMPARE(Read("}}{\\rtf1 {\\b a}}}b{\\zzz12 c{\\*\\unknown hidden}{{{")->toPlainText(),
                 QString("abc"));
        // A huge size is brought back to a readable one.
        auto huge = Read("{\\rtf1\\fs99999999999999999999 big\\fs-40 small}");
        QCOMPARE(huge->toPlainText(), QString("bigsmall"));
        QCOMPARE(FormatAt(*huge, 0).fontPointSize(), 48.0);
        QCOMPARE(FormatAt(*huge, 3).fontPointSize(), 4.0);
        // Truncated escapes at the end of the input.
        QCOMPARE(Read("{\\rtf1 a\\u")->toPlainText(), QString("a"));
        QCOMPARE(Read("{\\rtf1 a\\u-")->toPlainText(), QString("a"));
        QCOMPARE(Read("{\\rtf1 a\\'9")->toPlainText(), QString("a"));
        QCOMPARE(Read("{\\rtf1 a\\u12354")->toPlainText(), QString("aあ"));
        // Markup in the text stays text.
        QCOMPARE(Read("{\\rtf1 <b>&amp;\\{\\}\\\\}")->toPlainText(), QString("<b>&amp;{}\\"));
        // Very deep nesting neither crashes nor loses the text.
        QByteArray deep = "{\\rtf1 ";
        deep += QByteArray(200000, '{') + "deep" + QByteArray(200000, '}') + "end}";
        QCOMPARE(Read(deep)->toPlainText(), QString("deepend"));
    }
};

static const bool Registered = RegisterLauncherTest<RtfReaderTest>();

} // namespace tamtara::testing

#include "RtfReaderTest.moc"
