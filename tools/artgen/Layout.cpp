// The picture table of Graphics.pb.
#include "Layout.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>
#include <string>

namespace tamtara {

Rect AnkCell(int c) {
    return {(c % 32) * 8, (c / 32) * 16, 8, 16};
}
Rect Font06Cell(int c) {
    return {(c % 16) * 6, (c / 16) * 6, 6, 6};
}

Rect Font16Cell(int code, int colour) {
    const int d = code - 32 + 64 * colour;
    return {(d % 16) * 16, (d / 16) * 16, 16, 16};
}

Rect Font32Cell(int code, int colour) {
    const int d = code - 32 + 64 * colour;
    return {(d % 16) * 16, (d / 16) * 32, 16, 32};
}

Rect NoteInk(int lane, int column) {
    return {64 * column + 1, 16 * lane + 1, kLaneWidth[lane] - 2, 14};
}

Rect PadInk(int lane, int row) {
    return {64 * lane + 8, 64 * row + 2, std::min(kLaneWidth[lane], 56), 44};
}

namespace {

// Every byte above the blank has a glyph or, where no single-byte character exists, a box.
bool MarkedByte(int c) {
    return c > 32;
}

SheetLayout FontSheet(std::string_view entry, int width, int height, Rect (*cell)(int, int), int colours) {
    SheetLayout s{entry, width, height, kMagentaKey, {}, {}};
    for (int k = 0; k < colours; ++k) {
        for (int c = 33; c <= 95; ++c)
            s.Drawn.push_back(cell(c, k));
        s.Clear.push_back(cell(32, k));
    }
    return s;
}

SheetLayout Bars(std::string_view entry) {
    return {entry, 640, 112, std::nullopt, {{0, 0, 640, 56}, {0, 64, 640, 48}}, {}};
}

std::vector<SheetLayout> Build() {
    std::vector<SheetLayout> all;

    SheetLayout ank{"Ank.bmp", 256, 128, kMagentaKey, {}, {AnkCell(32)}};
    for (int c = 0; c < 256; ++c)
        if (MarkedByte(c)) ank.Drawn.push_back(AnkCell(c));
    all.push_back(ank);
    all.push_back(FontSheet("Font16T1.bmp", 256, 16 * 4 * kFontColours, Font16Cell, kFontColours));
    all.push_back(FontSheet("Font32T1.bmp", 256, 32 * 4 * kFontColours, Font32Cell, kFontColours));
    SheetLayout f06{"Font06.bmp", 96, 96, kMagentaKey, {}, {Font06Cell(32)}};
    for (int c = 33; c < 256; ++c)
        if (MarkedByte(c)) f06.Drawn.push_back(Font06Cell(c));
    all.push_back(f06);

    SheetLayout combo{"Combo.bmp", 384, 48, kMagentaKey, {}, {{0, 0, 2, 2}}};
    for (int d = 0; d < 10; ++d)
        combo.Drawn.push_back({32 * d, 0, 32, 48});
    combo.Drawn.push_back({320, 0, 64, 48});
    all.push_back(combo);

    SheetLayout note{"Note2.bmp", 128, 112, kMagentaKey, {}, {}};
    SheetLayout pad{"pad.bmp", 448, 128, kMagentaKey, {}, {}};
    for (int lane = 0; lane < LaneCount; ++lane)
        for (int i = 0; i < 2; ++i) {
            const Rect n = NoteInk(lane, i), p = PadInk(lane, i);
            note.Drawn.push_back(n);
            if (n.Right() + 1 < 64 * (i + 1))
                note.Clear.push_back({n.Right() + 1, 16 * lane, 64 * (i + 1) - n.Right() - 1, 16});
            pad.Drawn.push_back(p);
            pad.Clear.push_back({64 * lane, 64 * i, 6, 64});       // left of the pad
            pad.Clear.push_back({64 * lane, 64 * i + 52, 64, 12}); // below it
        }
    all.push_back(note);
    all.push_back(pad);

    SheetLayout hit{"Hit.bmp", 144, 384, kMagentaKey, {}, {}};
    for (int row = 0; row < 8; ++row) {
        hit.Drawn.push_back({0, 48 * row, 144, 48});
        hit.Clear.push_back({0, 48 * row, 3, 3});
    }
    all.push_back(hit);

    SheetLayout explode{"Explode.bmp", 192, 320, kMagentaKey, {}, {}};
    for (int row = 0; row < 5; ++row)
        for (int col = 0; col < 3; ++col) {
            explode.Drawn.push_back({64 * col + 16, 64 * row + 16, 32, 32});
            explode.Clear.push_back({64 * col, 64 * row, 4, 4});
        }
    all.push_back(explode);

    all.push_back({"Gauge.bmp", 336, 40, std::nullopt, {{0, 0, 336, 20}, {0, 20, 336, 20}}, {}});
    all.push_back({"TrcMeter.bmp", 112, 15, std::nullopt, {{10, 0, 100, 7}, {4, 8, 108, 7}}, {}});

    // The skin leaves the lanes, the meter rows' label area and the picture's middle open.
    all.push_back(
        {"skin2.bmp",
         640,
         480,
         kMagentaKey,
         {{152, 0, 8, 480}, {480, 0, 8, 480}, {160, 388, 320, 6}, {144, 456, 352, 24}, {0, 120, 144, 4}},
         {{163, 0, 314, 386}, {20, 20, 100, 80}, {500, 50, 120, 60}}});
    all.push_back({"Back.bmp", 640, 480, std::nullopt, {{0, 0, 640, 480}}, {}});

    all.push_back({"Title.bmp", 640, 480, std::nullopt, {{0, 0, 640, 480}}, {}});
    all.push_back({"TitleSt.bmp", 320, 48, std::nullopt, {{0, 0, 320, 48}}, {}});
    all.push_back(
        {"Navor.bmp", 370, 180, kWhiteKey, {{0, 0, 370, 180}, {100, 40, 170, 100}}, {{0, 0, 4, 4}}});

    all.push_back({"Folder.bmp",
                   640,
                   224,
                   kMagentaKey,
                   {{0, 8, 640, 56}, {0, 64, 640, 48}, {0, 128, 416, 48}, {0, 176, 416, 48}},
                   {{0, 0, 640, 8}, {416, 128, 224, 96}, {0, 128, 2, 2}, {0, 176, 2, 2}}});
    all.push_back(
        {"MusSelC2.bmp",
         320,
         432,
         kMagentaKey,
         {{0, 8, 320, 56}, {0, 72, 320, 56}, {0, 128, 320, 48}, {0, 192, 320, 48}, {0, 256, 256, 176}},
         {{0, 0, 320, 8}, {0, 256, 4, 4}}});
    all.push_back({"disk2.bmp",
                   320,
                   160,
                   kMagentaKey,
                   {{0, 0, 160, 160}, {160, 0, 160, 160}},
                   {{0, 0, 16, 16}, {160, 0, 16, 16}, {76, 76, 8, 8}, {236, 76, 8, 8}}});

    all.push_back(Bars("modesel2.bmp"));
    SheetLayout mode{"modeC2.bmp",
                     640,
                     416,
                     kMagentaKey,
                     {{0, 0, 640, 32},
                      {0, 32, 640, 32},
                      {0, 64, 640, 32},
                      {0, 128, 640, 48},
                      {0, 224, 640, 48},
                      {0, 320, 640, 48},
                      {0, 176, 320, 48},
                      {320, 176, 320, 48}},
                     {{0, 0, 2, 2}, {0, 96, 640, 32}}};
    for (int k = 0; k < 4; ++k) {
        mode.Drawn.push_back({160 * k, 272, 160, 48});
        mode.Drawn.push_back({160 * k, 368, 160, 48});
    }
    all.push_back(mode);

    all.push_back(Bars("partsel3.bmp"));
    all.push_back(
        {"PartC2.bmp",
         640,
         144,
         kMagentaKey,
         {{0, 0, 640, 80}, {0, 96, 128, 48}, {128, 96, 128, 48}, {256, 96, 128, 48}, {384, 96, 128, 48}},
         {{0, 0, 2, 2}, {0, 80, 640, 16}, {512, 96, 128, 48}}});

    all.push_back(Bars("result.bmp"));
    all.push_back(Bars("calib.bmp"));
    all.push_back({"PanelPB2.bmp", 160, 160, std::nullopt, {{0, 0, 160, 160}}, {}});
    for (std::string_view banner : {"Failed_t.bmp", "Clear_t.bmp"})
        all.push_back(
            {banner, 640, 112, kMagentaKey, {{0, 0, 640, 112}, {40, 30, 560, 52}}, {{0, 0, 640, 2}}});
    return all;
}

bool SameName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

} // namespace

const std::vector<SheetLayout>& SheetLayouts() {
    static const std::vector<SheetLayout> layouts = Build();
    return layouts;
}

const SheetLayout& LayoutOf(std::string_view entry) {
    for (const SheetLayout& s : SheetLayouts())
        if (SameName(s.Entry, entry)) return s; // the game looks entries up ignoring case
    throw std::out_of_range("no picture named " + std::string(entry));
}

} // namespace tamtara
