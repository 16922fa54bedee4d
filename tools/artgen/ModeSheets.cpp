// The mode screen's rows of choices and the part screen's panels, with their bar sheets.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "Sheets.h"
#include "Style.h"

namespace tamtara {

namespace {

constexpr Rgb kLitFace{210, 96, 20}; // the orange of every chosen item across the menus

void Caption(Image& image, std::string_view text, int cx, int cy, int size, Rgb colour) {
    FontFace face(Fonts::SansBold);
    face.SetPixelSize(size, size);
    DrawTextCentred(image, face, text, cx, cy,
                    TextStyle{Mix(colour, Rgb{255, 255, 255}, 0.4), colour, Palette::Ink, 2}, 1);
}

// A row of options, each a plate of width 640 / count; lit plates are the highlights.
void OptionRow(Image& sheet, int y, const std::vector<std::string_view>& options, bool lit) {
    const int w = 640 / int(options.size());
    for (std::size_t i = 0; i < options.size(); ++i) {
        const int x = w * int(i);
        DrawPlate(sheet, {x + 8, y + 3, w - 16, 42}, lit ? kLitFace : Palette::Steel, lit);
        Caption(sheet, options[i], x + w / 2, y + 24, options.size() > 2 ? 18 : 22,
                lit ? Rgb{255, 255, 255} : Rgb{170, 180, 200});
    }
}

void RowLabel(Image& sheet, int y, int number, std::string_view text) {
    sheet.RoundedRect({24, y + 2, 300, 28}, 8, Palette::Ink);
    sheet.RoundedGradient({26, y + 4, 296, 24}, 6, Palette::NavyLight, Palette::Navy);
    sheet.Disc(44, y + 16, 11, Palette::Cyan);
    sheet.Disc(44, y + 16, 9, Palette::Ink);
    Caption(sheet, std::string(1, char('0' + number)), 44, y + 16, 14, Rgb{255, 255, 255});
    FontFace face(Fonts::SansBoldItalic);
    face.SetPixelSize(20, 20);
    DrawTextLeft(sheet, face, text, 64, y + 16,
                 TextStyle{Rgb{255, 255, 255}, Palette::Cyan, Palette::Ink, 1.5}, 1);
}

void PartButton(Image& sheet, int x, std::string_view text, Rgb litFace, bool lit) {
    DrawPlate(sheet, {x + 10, 99, 108, 42}, lit ? litFace : Palette::Steel, lit);
    Caption(sheet, text, x + 64, 120, 20, lit ? Rgb{255, 255, 255} : Rgb{150, 160, 180});
}

} // namespace

Image DrawModeBars() {
    return MenuBars("MODE SELECT");
}
Image DrawPartBars() {
    return MenuBars("PART SELECT");
}

Image DrawModeChoices() {
    Image sheet(640, 416, Palette::Canvas);
    RowLabel(sheet, 0, 1, "PLAY LENGTH");
    RowLabel(sheet, 32, 2, "SCROLL SPEED");
    RowLabel(sheet, 64, 3, "SPECIAL MODE");
    // Options in the order the mode screen cycles through them; speed 0.75 comes last.
    const std::vector<std::string_view> length{"2 MINUTES", "FULL SONG"};
    const std::vector<std::string_view> speed{"x1.0", "x1.5", "x2.0", "x0.75"};
    const std::vector<std::string_view> special{"NORMAL", "HIDE LOWER", "HIDE UPPER", "HIDE ALL"};
    OptionRow(sheet, 128, length, false);
    OptionRow(sheet, 176, length, true);
    OptionRow(sheet, 224, speed, false);
    OptionRow(sheet, 272, speed, true);
    OptionRow(sheet, 320, special, false);
    OptionRow(sheet, 368, special, true);
    return sheet;
}

Image DrawPartChoices() {
    Image sheet(640, 144, Palette::Canvas);
    // The banner names the five panels; the buttons below are the same sprite for every panel.
    sheet.RoundedRect({4, 4, 632, 72}, 12, Palette::Ink);
    sheet.RoundedGradient({6, 6, 628, 68}, 10, Palette::NavyLight, Palette::Night);
    constexpr std::array<std::string_view, 5> names{"HI-HAT", "SNARE", "KICK", "TOMS", "CYMBAL"};
    constexpr std::array<int, 5> lanes{0, 1, 2, 4, 6};
    for (int c = 0; c < 5; ++c) {
        const int cx = 128 * c + 64;
        const Rgb colour = kLaneColours[lanes[c]];
        sheet.Disc(cx, 28, 16, Palette::Ink);
        sheet.Disc(cx, 28, 14, Palette::SilverBottom);
        sheet.Disc(cx, 28, 11, colour);
        sheet.Disc(cx - 3, 24, 4, Rgb{255, 255, 255}, 0.5);
        Caption(sheet, names[c], cx, 58, 18, colour);
        if (c > 0) sheet.Fill({128 * c, 12, 1, 56}, Palette::Steel);
    }
    PartButton(sheet, 0, "PLAY", kLitFace, false);
    PartButton(sheet, 128, "PLAY", kLitFace, true);
    PartButton(sheet, 256, "AUTO", Rgb{0, 140, 220}, false);
    PartButton(sheet, 384, "AUTO", Rgb{0, 140, 220}, true);
    return sheet;
}

} // namespace tamtara
