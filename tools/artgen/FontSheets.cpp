// The bitmap font sheets and the combo counter's digits.
#include <array>

#include "Sheets.h"
#include "Style.h"
#include "TinyFont.h"

namespace tamtara {

namespace {

// Colour blocks 0-4 of the 16- and 32-pixel fonts: white, the Perfect blue, red, the Good yellow
// and the Great green, so that each result label can share its grade's colour.
constexpr std::array<std::array<Rgb, 2>, kFontColours> kBlockColours{{
    {Rgb{255, 255, 255}, Rgb{170, 190, 230}},
    {Rgb{200, 200, 255}, Rgb{96, 96, 255}},
    {Rgb{255, 170, 140}, Rgb{230, 24, 24}},
    {Rgb{255, 255, 180}, Rgb{240, 176, 0}},
    {Rgb{200, 255, 210}, Rgb{0, 200, 80}},
}};

// Paints one glyph centred in its cell, clipped to the cell so outlines never reach a neighbour.
void GlyphCell(Image& sheet, FontFace& face, char32_t c, Rect cell, int baseline, const TextStyle& style,
               bool crisp) {
    const Rect ink = face.GlyphInk(c);
    Mask m(cell.W, cell.H);
    face.AddGlyph(m, c, (cell.W - ink.W) / 2 - ink.X, baseline);
    if (crisp) m = Threshold(m, 0.45f);
    Image tile(cell.W, cell.H, Palette::Canvas);
    PaintMask(tile, m, 0, 0, style);
    sheet.Paste(tile, cell.X, cell.Y);
}

// Narrows the face until c's ink fits maxWidth, so wide capitals keep their full height.
void FitWidth(FontFace& face, char32_t c, int width, int height, int maxWidth) {
    for (int w = width; w > 4; --w) {
        face.SetPixelSize(w, height);
        if (face.GlyphInk(c).W <= maxWidth) return;
    }
}

Image CapitalFont(int cellH, const char* fontFile, int emWidth, int emHeight, int baseline, double outline) {
    Image sheet(256, cellH * 4 * kFontColours, Palette::Canvas);
    FontFace face(fontFile);
    for (int k = 0; k < kFontColours; ++k) {
        TextStyle style{kBlockColours[k][0], kBlockColours[k][1], Palette::Ink, outline, 0, 0, {}, 0, 0.25};
        for (int c = 33; c <= 95; ++c) {
            const int d = c - 32 + 64 * k;
            FitWidth(face, c, emWidth, emHeight, 16 - 2 * int(outline + 0.5));
            GlyphCell(sheet, face, c, {(d % 16) * 16, (d / 16) * cellH, 16, cellH}, baseline, style, false);
        }
    }
    return sheet;
}

// Shift_JIS single-byte half-width katakana start at 0xA1 (U+FF61).
char32_t AnkCodePoint(int c) {
    if (c >= 0xA1 && c <= 0xDF) return U'\uFF61' + (c - 0xA1);
    return static_cast<char32_t>(c);
}

} // namespace

Image DrawAnkFont() {
    Image sheet(256, 128, Palette::Canvas);
    FontFace face(Fonts::Gothic);
    face.SetPixelSize(16, 16);
    // The gothic face's underscore vanishes at this size; the monospaced face stands in for it.
    FontFace fallback(Fonts::Mono);
    fallback.SetPixelSize(13, 13);
    const TextStyle style{Rgb{255, 255, 255}, Rgb{200, 214, 240}, {}, 0, 1, 1, Palette::Ink, 1.0, 0};
    for (int c = 33; c < 256; ++c) {
        const Rect cell = AnkCell(c);
        if ((c > 32 && c < 127) || (c >= 0xA1 && c <= 0xDF)) {
            const char32_t code = AnkCodePoint(c);
            GlyphCell(sheet, face.GlyphInk(code).H > 0 ? face : fallback, code, cell, 12, style, true);
        } else if (c >= 127) {
            // Lead bytes of double-byte characters have no glyph of their own: a hollow box marks them.
            sheet.Frame({cell.X + 1, cell.Y + 3, 5, 9}, Rgb{150, 160, 190});
        }
    }
    return sheet;
}

Image DrawFont16() {
    return CapitalFont(16, Fonts::SansBold, 16, 16, 13, 1.0);
}
Image DrawFont32() {
    return CapitalFont(32, Fonts::NarrowBold, 24, 34, 28, 1.2);
}

Image DrawFont06() {
    Image sheet(96, 96, Palette::Canvas);
    for (int c = 0; c < 256; ++c) {
        const std::string_view g = TinyGlyph(c);
        const Rect cell = Font06Cell(c);
        // Bytes beyond ASCII get the same hollow box as in the 8 × 16 font.
        if (c >= 127) sheet.Frame({cell.X + 1, cell.Y, 3, 5}, Rgb{150, 160, 190});
        for (std::size_t i = 0; i < g.size() && i < 25; ++i)
            if (g[i] == '#') {
                const int x = cell.X + int(i % 5), y = cell.Y + int(i / 5);
                // The shadow keeps the labels readable where they cross the bright meter bars.
                if (sheet.At(x + 1, y + 1) == Palette::Canvas) sheet.Set(x + 1, y + 1, Palette::Ink);
                sheet.Set(x, y, Rgb{240, 244, 255});
            }
    }
    return sheet;
}

Image DrawComboFont() {
    Image sheet(384, 48, Palette::Canvas);
    FontFace face(Fonts::SansBoldItalic);
    const TextStyle style{Rgb{255, 250, 170}, Rgb{255, 120, 0}, Palette::Ink, 2.0, 0, 0, {}, 0, 0.3};
    for (int d = 0; d < 10; ++d) {
        FitWidth(face, U'0' + d, 44, 44, 26);
        GlyphCell(sheet, face, U'0' + d, {32 * d, 0, 32, 48}, 42, style, false);
    }
    face.SetPixelSize(17, 17);
    Image label(64, 48, Palette::Canvas);
    const Mask m = face.Line(U"COMBO");
    const Rect ink = m.Ink();
    PaintMask(label, m, (64 - ink.W) / 2 - ink.X, 42 - ink.Bottom(),
              TextStyle{Rgb{255, 255, 255}, Palette::Cyan, Palette::Ink, 2.0, 0, 0, {}, 0, 0.2});
    sheet.Paste(label, 320, 0);
    return sheet;
}

} // namespace tamtara
