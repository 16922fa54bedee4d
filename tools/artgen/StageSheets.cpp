// The stage-end wall panel and banners, and the bars of the result and calibration screens.
#include <string_view>

#include "Sheets.h"
#include "Style.h"

namespace tamtara {

namespace {

Image Banner(std::string_view text, Rgb band, Rgb textTop, Rgb textBottom) {
    Image sheet(640, 112, Palette::Canvas);
    // A band across the wall with chrome edges; the lettering overhangs it.
    sheet.Fill({0, 20, 640, 72}, Palette::SilverTop);
    sheet.VerticalGradient({0, 24, 640, 64}, Mix(band, Rgb{255, 255, 255}, 0.2), Scale(band, 0.4));
    for (int x = -64; x < 640; x += 32)
        sheet.Polygon({double(x), 24, x + 16.0, 24, x + 80.0, 88, x + 64.0, 88}, Rgb{255, 255, 255}, 0.08);
    sheet.Fill({0, 88, 640, 4}, Palette::Steel);
    FontFace face(Fonts::SansBoldItalic);
    face.SetPixelSize(72, 72);
    DrawTextCentred(sheet, face, text, 320, 56,
                    TextStyle{textTop, textBottom, Palette::Ink, 4, 5, 5, Palette::Night, 0.9, 0.35}, 3);
    return sheet;
}

} // namespace

Image DrawResultBars() {
    return MenuBars("RESULT");
}

Image DrawCalibrationBars() {
    return MenuBars("CALIBRATION");
}

Image DrawPanel() {
    // One tile of a riveted steel wall: the stage-end screens build a 4 × 3 wall from it.
    Image panel(160, 160);
    panel.VerticalGradient({0, 0, 160, 160}, Rgb{92, 102, 128}, Rgb{40, 46, 66});
    for (int y = 0; y < 160; y += 2)
        panel.Fill({0, y, 160, 1}, Scale(panel.At(0, y), 1.06));
    panel.Bevel({0, 0, 160, 160}, Palette::SilverTop, Palette::Ink, 3);
    panel.Bevel({10, 10, 140, 140}, Palette::Ink, Palette::SilverBottom, 2);
    for (int cx : {20, 140})
        for (int cy : {20, 140}) {
            panel.Disc(cx, cy, 5, Palette::Ink);
            panel.Disc(cx - 1, cy - 1, 4, Palette::SilverTop);
        }
    panel.Ring(80, 80, 30, 36, Palette::Steel);
    panel.Ring(80, 80, 18, 22, Palette::Steel);
    panel.Disc(80, 80, 8, Rgb{60, 68, 92});
    return panel;
}

Image DrawFailedBanner() {
    return Banner("STAGE FAILED", Rgb{150, 10, 20}, Rgb{255, 220, 220}, Rgb{140, 150, 170});
}
Image DrawClearBanner() {
    return Banner("STAGE CLEAR", Rgb{0, 90, 170}, Rgb{255, 250, 190}, Rgb{255, 150, 0});
}

} // namespace tamtara
