// Checks text rendering for the art: glyph masks, their outlines and the tiny glyph table.
#include <gtest/gtest.h>

#include "Glyphs.h"
#include "TinyFont.h"

namespace tamtara {
namespace {

TEST(Mask, InkIsTheBoxOfCoveredPixels) {
    Mask m(10, 10);
    EXPECT_EQ(m.Ink().W, 0);
    m.Max(3, 4, 1.0f);
    m.Max(6, 5, 0.5f);
    const Rect ink = m.Ink();
    EXPECT_EQ(ink.X, 3);
    EXPECT_EQ(ink.Y, 4);
    EXPECT_EQ(ink.W, 4);
    EXPECT_EQ(ink.H, 2);
    EXPECT_EQ(m.At(-1, 0), 0.0f);
}

TEST(Mask, DilationGrowsAndThresholdHardens) {
    Mask m(9, 9);
    m.Max(4, 4, 1.0f);
    const Mask grown = Dilate(m, 2);
    EXPECT_EQ(grown.At(4, 3), 1.0f);
    EXPECT_EQ(grown.At(4, 2), 0.5f) << "the rim counts partly, so outlines stay smooth";
    EXPECT_EQ(grown.At(4, 8), 0.0f);
    const Mask hard = Threshold(grown, 0.5f);
    for (float a : hard.A)
        EXPECT_TRUE(a == 0.0f || a == 1.0f);
    const Mask padded = Pad(m, 3);
    EXPECT_EQ(padded.W, 15);
    EXPECT_EQ(padded.At(7, 7), 1.0f);
}

TEST(FontFace, RendersGlyphsOfTheInstalledFonts) {
    FontFace face(Fonts::SansBold);
    face.SetPixelSize(20, 20);
    EXPECT_TRUE(face.HasGlyph(U'A'));
    const Rect ink = face.GlyphInk(U'A');
    EXPECT_GT(ink.W, 8);
    EXPECT_LT(ink.Y, 0) << "capitals stand above the baseline";
    const Mask line = face.Line(U"AB");
    EXPECT_GT(line.Ink().W, ink.W);
    face.SetPixelSize(10, 20); // narrower em, same height
    EXPECT_LT(face.GlyphInk(U'A').W, ink.W);
}

TEST(FontFace, TheGothicFaceHasHalfWidthKatakana) {
    FontFace face(Fonts::Gothic);
    face.SetPixelSize(16, 16);
    EXPECT_TRUE(face.HasGlyph(U'\uFF71')); // half-width A, byte 0xB1 in Shift_JIS
    EXPECT_LE(face.Advance(U'\uFF71'), 8);
}

TEST(FontFace, AMissingFontFileIsAnError) {
    EXPECT_THROW(FontFace("/nonexistent/font.ttf"), std::runtime_error);
}

TEST(PaintMask, OutlinesSurroundTheFill) {
    Mask m(5, 5);
    for (int y = 1; y < 4; ++y)
        for (int x = 1; x < 4; ++x)
            m.Max(x, y, 1.0f);
    Image image(9, 9, Rgb{0, 0, 0});
    PaintMask(image, m, 2, 2, TextStyle{Rgb{255, 0, 0}, Rgb{255, 0, 0}, Rgb{0, 0, 255}, 1.5});
    EXPECT_EQ(image.At(4, 4), (Rgb{255, 0, 0}));
    EXPECT_EQ(image.At(2, 4), (Rgb{0, 0, 255}));
    EXPECT_EQ(image.At(0, 0), (Rgb{0, 0, 0}));
}

TEST(TinyFont, PrintableAsciiHasFullFiveByFiveGlyphs) {
    for (int c = 33; c < 127; ++c) {
        const std::string_view g = TinyGlyph(c);
        ASSERT_EQ(g.size(), 25u) << c;
        EXPECT_NE(g.find('#'), std::string_view::npos) << c;
    }
}

TEST(TinyFont, LowerCaseSharesTheCapitalsAndControlBytesAreBlank) {
    EXPECT_EQ(TinyGlyph('g'), TinyGlyph('G'));
    EXPECT_TRUE(TinyGlyph(' ').empty());
    EXPECT_TRUE(TinyGlyph(10).empty());
    EXPECT_TRUE(TinyGlyph(200).empty());
    EXPECT_NE(TinyGlyph('O'), TinyGlyph('0'));
}

} // namespace
} // namespace tamtara
