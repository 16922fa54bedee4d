// Bitmap text: the glyph cells of each font sheet and where the combo number's digits land.
#include "app/graphics/BitmapText.h"
#include "app/graphics/ScreenSurfaces.h"
#include "platform/display/DirectDrawSurface.h"

#include <gtest/gtest.h>

namespace tamtara::testing {

TEST(Glyphs, AnkAndSixPixelFontsTakeEveryByte) {
    EXPECT_EQ(AnkGlyph('A'), Bounds(65 % 32 * 8, 2 * 16, 8, 16));
    EXPECT_EQ(AnkGlyph(255), Bounds(31 * 8, 7 * 16, 8, 16));
    EXPECT_EQ(Font06Glyph(' '), Bounds(0, 12, 6, 6));
    EXPECT_EQ(Font06Glyph(255), Bounds(90, 90, 6, 6));
}

TEST(Glyphs, ColourTwoLiesEightRowsLower) {
    const TRect colour0 = Font16Glyph('A', 0);
    const TRect colour2 = Font16Glyph('A', 2);
    EXPECT_EQ(colour0, Bounds(1 * 16, 2 * 16, 16, 16));
    EXPECT_EQ(colour2.Left, colour0.Left);
    EXPECT_EQ(colour2.Top, colour0.Top + 128);
    EXPECT_EQ(Font32Glyph('A', 2).Top, Font32Glyph('A', 0).Top + 256);
}

TEST(Glyphs, LowerCaseWithoutUpperCasingFallsIntoTheNextColour) {
    // 'a' (97) is two past '_' (95): the second glyph of the next colour's block.
    EXPECT_EQ(Font16Glyph('a', 0), Font16Glyph('!', 1));
}

class ComboDigits : public ::testing::Test {
protected:
    ComboDigits() {
        Surfaces.Create();
        Target.SetSize(640, 480);
        TDirectDrawSurface& sheet = *Surfaces.ComboFont;
        sheet.SetSize(384, 48);
        for (int digit = 0; digit < 10; ++digit)
            sheet.FillRect(Bounds(32 * digit, 0, 32, 48), DigitColour(digit));
        sheet.FillRect(Bounds(320, 0, 64, 48), Label);
        sheet.SetPixel(0, 0, Key);
        sheet.SetTransparentColor(Key);
    }

    static std::uint32_t DigitColour(int digit) { return 0x0841u * std::uint32_t(digit + 1); }
    // The colour of the middle of digit place p (0 to 3) at x.
    std::uint32_t Place(std::int32_t x, int p) { return Target.Pixel(x + 26 * p + 16, 20); }

    static constexpr std::uint32_t Key = 0xF81F;
    static constexpr std::uint32_t Label = 0xFFE0;
    ScreenSurfaces Surfaces;
    TDirectDrawSurface Target;
    BitmapText Text{Target, Surfaces};
};

TEST_F(ComboDigits, OneDigitSitsInTheLastPlace) {
    Text.DrawComboNumber(100, 0, 7);
    EXPECT_EQ(Place(100, 3), DigitColour(7));
    EXPECT_EQ(Place(100, 2), 0u);
    EXPECT_EQ(Target.Pixel(100 + 104 + 32, 20), Label);
}

TEST_F(ComboDigits, FourDigitsFillAllPlaces) {
    Text.DrawComboNumber(100, 0, 1234);
    for (int p = 0; p < 4; ++p)
        EXPECT_EQ(Place(100, p), DigitColour(p + 1)) << p;
}

TEST_F(ComboDigits, FiveDigitsShowOnlyTheLastFour) {
    Text.DrawComboNumber(100, 0, 10000);
    for (int p = 0; p < 4; ++p)
        EXPECT_EQ(Place(100, p), DigitColour(0)) << p;
    EXPECT_EQ(Target.Pixel(100 - 10, 20), 0u);
}

} // namespace tamtara::testing
