// The opening logo, the title picture and its blinking sign.
#include <array>
#include <cmath>

#include "Sheets.h"
#include "Style.h"

namespace tamtara {

namespace {

constexpr Rect kSignArea{320, 336, 320, 48}; // where the title screen blinks the sign

// The seven lanes running towards the horizon, with notes coming down them.
void PerspectiveLanes(Image& image) {
    const double vx = 320, vy = 190, bottom = 480, left = 40, right = 600;
    const double laneW = (right - left) / LaneCount;
    auto at = [&](double xBottom, double y) { return vx + (xBottom - vx) * (y - vy) / (bottom - vy); };
    for (int lane = 0; lane < LaneCount; ++lane) {
        const double x0 = left + lane * laneW + 3, x1 = left + (lane + 1) * laneW - 3;
        image.Polygon({at(x0, vy + 2), vy + 2, at(x1, vy + 2), vy + 2, x1, bottom, x0, bottom},
                      kLaneColours[lane], 0.22);
        for (int n = 0; n < 3; ++n) {
            const double t = std::fmod(0.23 * lane + 0.37 * n, 1.0);
            const double y = vy + (bottom - vy) * t * t;
            const double h = 2 + 14 * t * t;
            image.Polygon({at(x0, y), y, at(x1, y), y, at(x1, y + h), y + h, at(x0, y + h), y + h},
                          Mix(kLaneColours[lane], Rgb{255, 255, 255}, 0.3), 0.85);
        }
    }
    for (int k = 1; k < 9; ++k) { // beat lines, closer together towards the horizon
        const double y = vy + (bottom - vy) * (k / 8.0) * (k / 8.0);
        image.Line(at(left, y), y, at(right, y), y, 1, Palette::NavyLight, 0.8);
    }
}

void TitleBase(Image& image) {
    DrawBackdrop(image);
    for (int r = 260; r > 0; r -= 4)
        image.Disc(320, 170, r, Palette::NavyLight, 0.035); // light behind the logo
    PerspectiveLanes(image);

    FontFace face(Fonts::SansBoldItalic);
    face.SetPixelSize(96, 96);
    DrawTextCentred(image, face, "TAMTARA", 320, 130,
                    TextStyle{Palette::Cyan, Palette::Cyan, Mix(Palette::Cyan, Palette::Navy, 0.5), 9}, 4);
    DrawTextCentred(
        image, face, "TAMTARA", 320, 130,
        TextStyle{Rgb{255, 246, 190}, Rgb{255, 140, 0}, Palette::Ink, 5, 6, 6, Palette::Night, 0.8, 0.4}, 4);
    FontFace sub(Fonts::SansBold);
    sub.SetPixelSize(22, 22);
    DrawTextCentred(image, sub, "D R U M   R H Y T H M   G A M E", 320, 212,
                    TextStyle{Rgb{255, 255, 255}, Palette::Cyan, Palette::Ink, 2});
    // A quiet plate under the version text the title screen writes at (408, 400).
    image.RoundedRect({396, 394, 232, 28}, 6, Palette::Night, 0.6);
}

} // namespace

Image DrawTitle() {
    Image image(640, 480);
    TitleBase(image);
    return image;
}

Image DrawTitleSign() {
    // Cut from the title picture itself, so the sign's corners match what it blinks over.
    Image title(640, 480);
    TitleBase(title);
    Image sign = title.Crop(kSignArea);
    DrawPlate(sign, {20, 3, 280, 42}, Palette::Red, true);
    FontFace face(Fonts::SansBold);
    face.SetPixelSize(24, 24);
    DrawTextCentred(sign, face, "PRESS ENTER KEY", 160, 24,
                    TextStyle{Rgb{255, 255, 255}, Rgb{255, 230, 200}, Rgb{110, 0, 0}, 2}, 2);
    return sign;
}

Image DrawLogo() {
    // Shown opaque on a white screen, so its background is white and white is its key.
    Image logo(370, 180, kWhiteKey);
    const double cx = 82, cy = 90;
    logo.Disc(cx, cy, 62, Palette::Ink);
    logo.Disc(cx, cy, 56, Palette::Navy);
    for (int r = 48; r > 8; r -= 10)
        logo.Ring(cx, cy, r - 3, r, Palette::Cyan, 0.3 + r / 100.0);
    logo.Disc(cx, cy, 14, Palette::Gold);
    logo.Line(cx - 58, cy - 62, cx + 30, cy + 20, 8, Palette::Ink); // crossed drumsticks
    logo.Line(cx - 56, cy - 60, cx + 28, cy + 18, 4, Rgb{230, 190, 130});
    logo.Line(cx + 58, cy - 62, cx - 30, cy + 20, 8, Palette::Ink);
    logo.Line(cx + 56, cy - 60, cx - 28, cy + 18, 4, Rgb{230, 190, 130});
    FontFace face(Fonts::SansBoldItalic);
    face.SetPixelSize(40, 40);
    DrawTextLeft(
        logo, face, "TAMTARA", 160, 80,
        TextStyle{Palette::NavyLight, Palette::Ink, Palette::Ink, 0, 3, 3, Rgb{170, 200, 230}, 1.0, 0}, 1);
    logo.Fill({158, 108, 200, 3}, Palette::Cyan);
    FontFace sub(Fonts::SansBold);
    sub.SetPixelSize(15, 15);
    DrawTextLeft(logo, sub, "DRUM RHYTHM GAME", 160, 126, TextStyle{Palette::Steel, Palette::Steel, {}, 0},
                 2);
    return logo;
}

} // namespace tamtara
