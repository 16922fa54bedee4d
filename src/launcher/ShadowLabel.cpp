// The about page's labels with a one-pixel shadow.
#include "launcher/LauncherWidgets.h"

#include <QPainter>

namespace tamtara {

void ShadowLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(font());
    const QRect area = contentsRect();
    const int flags = static_cast<int>(alignment()) | Qt::TextSingleLine;
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawText(area.translated(1, 1), flags, text());
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(area, flags, text());
}

} // namespace tamtara
