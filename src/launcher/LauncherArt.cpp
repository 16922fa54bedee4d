// Painting of the logo (seven lane bars under the name, in the game's lane colours) and of the
// Start picture (a drum seen from the side).
#include "launcher/LauncherArt.h"

#include "base/DrumParts.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <array>

namespace tamtara {

namespace {

// Hi-hat, snare, kick, high, mid and low tom, cymbal.
constexpr std::array<QRgb, LaneCount> LaneColours = {0xffe0e040, 0xffe04040, 0xffe08030, 0xff40c0e0,
                                                     0xff4080e0, 0xff6060e0, 0xffe0c000};

} // namespace

QPixmap LauncherLogo(int width, int height) {
    QPixmap logo(width, height);
    QPainter painter(&logo);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, height);
    sky.setColorAt(0, QColor(16, 16, 48));
    sky.setColorAt(1, QColor(48, 16, 64));
    painter.fillRect(logo.rect(), sky);
    const int barWidth = width / 9;
    const int barTop = height * 3 / 5;
    for (int lane = 0; lane < LaneCount; ++lane) {
        const int x = barWidth + lane * barWidth;
        painter.fillRect(QRect(x + 1, barTop, barWidth - 2, height - barTop - 3),
                         QColor(LaneColours[static_cast<std::size_t>(lane)]));
    }
    QFont font("Liberation Serif");
    font.setPixelSize(height / 2);
    font.setBold(true);
    font.setItalic(true);
    painter.setFont(font);
    const QRect nameArea(0, 0, width, barTop + 2);
    painter.setPen(QColor(0, 0, 0));
    painter.drawText(nameArea.translated(2, 2), Qt::AlignCenter, "Tamtara");
    painter.setPen(QColor(255, 240, 200));
    painter.drawText(nameArea, Qt::AlignCenter, "Tamtara");
    return logo;
}

QPixmap StartPicture(int size) {
    QPixmap picture(size, size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal shell = size * 0.45;
    const QRectF top(size * 0.1, size * 0.25, size * 0.8, size * 0.22);
    painter.setPen(QPen(QColor(60, 20, 20), 1));
    painter.setBrush(QColor(200, 40, 40));
    painter.drawRect(QRectF(top.left(), top.center().y(), top.width(), shell));
    painter.drawEllipse(QRectF(top.left(), top.top() + shell, top.width(), top.height()));
    painter.setBrush(QColor(240, 240, 230));
    painter.drawEllipse(top);
    painter.setPen(QPen(QColor(120, 80, 40), size / 12.0, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(size * 0.55, size * 0.33), QPointF(size * 0.95, size * 0.05));
    return picture;
}

} // namespace tamtara
