// The folder wheel's plates, the disc screen's bars and holder, and the spinning disc.
#include <cmath>

#include "Sheets.h"
#include "Style.h"

namespace tamtara {

namespace {

// A folder plate: the label is written at (56, 6) in white, so the face stays dark; a tabbed
// folder icon sits in the 56 pixels before it.
void FolderPlate(Image& sheet, int y, bool centre) {
    const Rect r{0, y, 416, 48};
    DrawPlate(sheet, {r.X + 2, r.Y + 2, r.W - 4, r.H - 4}, centre ? Rgb{170, 64, 12} : Palette::NavyLight,
              centre);
    const Rgb folder = centre ? Palette::Gold : Rgb{190, 200, 220};
    sheet.RoundedRect({14, y + 12, 14, 8}, 2, Scale(folder, 0.8));
    sheet.RoundedRect({14, y + 16, 30, 20}, 3, Palette::Ink);
    sheet.RoundedRect({15, y + 17, 28, 18}, 2, folder);
    if (centre)
        sheet.Polygon({400, double(y + 14), 408, double(y + 24), 400, double(y + 34)}, Rgb{255, 255, 255});
}

void Disc(Image& sheet, int x0, double turn) {
    const double cx = x0 + 80, cy = 80;
    sheet.Disc(cx, cy, 78, Palette::Ink);
    // The data side: a silver surface whose rainbow sheen turns with the frame.
    for (int y = 0; y < 160; ++y)
        for (int x = 0; x < 160; ++x) {
            const double dx = x0 + x + 0.5 - cx, dy = y + 0.5 - cy;
            const double d = std::sqrt(dx * dx + dy * dy);
            if (d > 76 || d < 8) continue;
            const double a = std::atan2(dy, dx) + turn;
            const double sheen = 0.5 + 0.5 * std::cos(4 * a);
            const Rgb rainbow{static_cast<std::uint8_t>(128 + 127 * std::cos(2 * a)),
                              static_cast<std::uint8_t>(128 + 127 * std::cos(2 * a + 2.1)),
                              static_cast<std::uint8_t>(128 + 127 * std::cos(2 * a + 4.2))};
            Rgb c = Mix(Rgb{150, 160, 180}, Rgb{240, 244, 255}, sheen);
            c = Mix(c, rainbow, 0.25 * sheen);
            if (d < 30)
                c = Mix(Palette::Navy, Palette::NavyLight, 0.5 + 0.5 * std::cos(2 * a)); // printed label
            sheet.Blend(x0 + x, y, c, std::clamp(76.5 - d, 0.0, 1.0));
        }
    sheet.Ring(cx, cy, 28, 31, Palette::Cyan);
    sheet.Ring(cx, cy, 8, 14, Rgb{210, 214, 226});
    sheet.Ring(cx, cy, 75, 77, Palette::SilverBottom);
    // The centre hole stays see-through: the canvas colour becomes the key.
    sheet.Disc(cx, cy, 8, Palette::Canvas);
    FontFace face(Fonts::SansBold);
    face.SetPixelSize(9, 9);
    const double lx = cx + std::cos(-turn - 1.57) * 20, ly = cy + std::sin(-turn - 1.57) * 20;
    DrawTextCentred(sheet, face, "TAMTARA", int(lx), int(ly), TextStyle{Palette::Gold, Palette::Gold, {}, 0});
}

} // namespace

Image DrawFolderSheet() {
    Image sheet(640, 224, Palette::Canvas);
    Image bars = MenuBars("FOLDER SELECT");
    sheet.Paste(bars, 0, 8);
    FolderPlate(sheet, 128, false);
    FolderPlate(sheet, 176, true);
    return sheet;
}

Image DrawDiscSelectSheet() {
    // The screen draws each bar in two halves, so the halves are cut from whole bars.
    Image sheet(320, 432, Palette::Canvas);
    const Image bars = MenuBars("DISC SELECT");
    sheet.Paste(bars.Crop({0, 0, 320, 56}), 0, 8);
    sheet.Paste(bars.Crop({320, 0, 320, 56}), 0, 72);
    sheet.Paste(bars.Crop({0, 64, 320, 48}), 0, 128);
    sheet.Paste(bars.Crop({320, 64, 320, 48}), 0, 192);
    // The holder: a tray arm behind the centre disc (at x 78-238, y 160-320 on screen), open to
    // the right where the yellow title band runs.
    const int y0 = 256;
    sheet.RoundedRect({4, y0 + 4, 250, 168}, 24, Palette::Ink);
    sheet.RoundedGradient({6, y0 + 6, 246, 164}, 22, Palette::SilverTop, Palette::Steel);
    sheet.RoundedGradient({14, y0 + 14, 230, 148}, 18, Palette::NavyLight, Palette::Night);
    sheet.Ring(158, y0 + 88, 80, 86, Palette::Cyan, 0.8);
    sheet.Disc(158, y0 + 88, 80, Palette::Night);
    for (int i = 0; i < 4; ++i)
        sheet.Fill({22, y0 + 30 + 32 * i, 28, 6}, Mix(Palette::Cyan, Palette::Navy, 0.25 * i));
    return sheet;
}

Image DrawDisc() {
    Image sheet(320, 160, Palette::Canvas);
    Disc(sheet, 0, 0.0);
    Disc(sheet, 160, 3.14159265 / 4); // an eighth of a turn: the sheen has four-fold symmetry
    return sheet;
}

} // namespace tamtara
