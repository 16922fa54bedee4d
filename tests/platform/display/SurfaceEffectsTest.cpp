// The software effects: additive stretch, rotated draw and translucent fill.
#include "SurfaceTestSupport.h"

#include <gtest/gtest.h>

namespace tamtara {
namespace {

using testing::FillPattern;
using testing::PatternAt;

std::uint32_t Device(std::uint32_t r5, std::uint32_t g6, std::uint32_t b5) {
    return (r5 << 11) | (g6 << 5) | b5;
}

class DrawAddTest : public ::testing::Test {
protected:
    void SetUp() override {
        Screen.SetSize(64, 64);
        Sprite.SetSize(4, 4);
        Sprite.Fill(Device(16, 32, 8));
    }
    TDirectDrawSurface Screen;
    TDirectDrawSurface Sprite;
};

TEST_F(DrawAddTest, AddsEachChannelAndSaturates) {
    Screen.Fill(Device(20, 40, 30));
    Screen.DrawAdd(TRect{0, 0, 4, 4}, TRect{0, 0, 4, 4}, Sprite, false, 255);
    EXPECT_EQ(Screen.Pixel(0, 0), Device(31, 63, 31));
    EXPECT_EQ(Screen.Pixel(4, 0), Device(20, 40, 30));
}

TEST_F(DrawAddTest, AlphaScalesTheSource) {
    Screen.DrawAdd(TRect{0, 0, 4, 4}, TRect{0, 0, 4, 4}, Sprite, false, 128);
    EXPECT_EQ(Screen.Pixel(3, 3), Device(16 * 128 / 255, 32 * 128 / 255, 8 * 128 / 255));
}

TEST_F(DrawAddTest, AlphaZeroOrSourceBeyondTheSheetChangesNothing) {
    Screen.DrawAdd(TRect{0, 0, 4, 4}, TRect{0, 0, 4, 4}, Sprite, false, 0);
    Screen.DrawAdd(TRect{0, 0, 4, 4}, TRect{0, 0, 5, 4}, Sprite, false, 255);
    Screen.DrawAdd(TRect{0, 0, 4, 4}, TRect{-1, 0, 3, 4}, Sprite, false, 255);
    Screen.DrawAdd(TRect{4, 0, 0, 4}, TRect{0, 0, 4, 4}, Sprite, false, 255);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(Screen.Pixel(x, y), 0u);
}

TEST_F(DrawAddTest, StretchesWithNearestLowerSourcePixel) {
    FillPattern(Sprite, 4, 4);
    Screen.DrawAdd(TRect{0, 0, 8, 8}, TRect{0, 0, 4, 4}, Sprite, false, 255);
    EXPECT_EQ(Screen.Pixel(0, 0), PatternAt(0, 0, 4));
    EXPECT_EQ(Screen.Pixel(1, 1), PatternAt(0, 0, 4));
    EXPECT_EQ(Screen.Pixel(7, 6), PatternAt(3, 3, 4));
}

TEST_F(DrawAddTest, ClippedLeftEdgeMovesTheSourceStartAndKeySkips) {
    FillPattern(Sprite, 4, 4);
    Sprite.SetTransparentColor(PatternAt(2, 0, 4));
    Screen.DrawAdd(TRect{-1, 0, 3, 4}, TRect{0, 0, 4, 4}, Sprite, true, 255);
    EXPECT_EQ(Screen.Pixel(0, 0), PatternAt(1, 0, 4));
    EXPECT_EQ(Screen.Pixel(1, 0), 0u); // the key pixel
    EXPECT_EQ(Screen.Pixel(2, 0), PatternAt(3, 0, 4));
    EXPECT_EQ(Screen.Pixel(1, 1), PatternAt(2, 1, 4));
}

class DrawRotateTest : public ::testing::Test {
protected:
    void SetUp() override {
        Screen.SetSize(32, 32);
        FillPattern(Sprite, 4, 4);
    }
    void Rotate(int angle, bool transparent = false) {
        Screen.DrawRotate(16, 16, 4, 4, TRect{0, 0, 4, 4}, Sprite, 0.5, 0.5, transparent, angle);
    }
    TDirectDrawSurface Screen;
    TDirectDrawSurface Sprite;
};

TEST_F(DrawRotateTest, AngleZeroCentresThePictureOnThePoint) {
    Rotate(0);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(Screen.Pixel(14 + x, 14 + y), PatternAt(x, y, 4));
    EXPECT_EQ(Screen.Pixel(13, 14), 0u);
    EXPECT_EQ(Screen.Pixel(18, 14), 0u);
}

TEST_F(DrawRotateTest, QuarterTurnIsClockwise) {
    Rotate(64);
    // The top row of the picture becomes its right-hand column, read downwards.
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(Screen.Pixel(17 - y, 14 + x), PatternAt(x, y, 4)) << x << "," << y;
}

TEST_F(DrawRotateTest, FullTurnEqualsNoTurn) {
    TDirectDrawSurface upright;
    upright.SetSize(32, 32);
    upright.DrawRotate(16, 16, 4, 4, TRect{0, 0, 4, 4}, Sprite, 0.5, 0.5, false, 0);
    Rotate(256);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            ASSERT_EQ(Screen.Pixel(x, y), upright.Pixel(x, y));
}

TEST_F(DrawRotateTest, ScalesToTheGivenSize) {
    Screen.DrawRotate(16, 16, 8, 8, TRect{0, 0, 4, 4}, Sprite, 0.5, 0.5, false, 0);
    EXPECT_EQ(Screen.Pixel(12, 12), PatternAt(0, 0, 4));
    EXPECT_EQ(Screen.Pixel(13, 13), PatternAt(0, 0, 4));
    EXPECT_EQ(Screen.Pixel(19, 19), PatternAt(3, 3, 4));
    EXPECT_EQ(Screen.Pixel(20, 20), 0u);
}

TEST_F(DrawRotateTest, EmptyOrNegativeSizesAndBadSourcesDrawNothing) {
    Screen.DrawRotate(16, 16, 0, 4, TRect{0, 0, 4, 4}, Sprite, 0.5, 0.5, false, 0);
    Screen.DrawRotate(16, 16, 4, -3, TRect{0, 0, 4, 4}, Sprite, 0.5, 0.5, false, 0);
    Screen.DrawRotate(16, 16, 4, 4, TRect{0, 0, 5, 4}, Sprite, 0.5, 0.5, false, 0);
    Screen.DrawRotate(16, 16, 4, 4, TRect{2, 2, 2, 4}, Sprite, 0.5, 0.5, false, 0);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            ASSERT_EQ(Screen.Pixel(x, y), 0u);
}

TEST_F(DrawRotateTest, ClipsAtTheSurfaceEdgesAndSkipsTheKey) {
    Sprite.SetTransparentColor(PatternAt(1, 1, 4));
    Screen.Fill(0x0101);
    Screen.DrawRotate(0, 0, 4, 4, TRect{0, 0, 4, 4}, Sprite, 0.5, 0.5, true, 0);
    EXPECT_EQ(Screen.Pixel(0, 0), PatternAt(2, 2, 4));
    EXPECT_EQ(Screen.Pixel(1, 1), PatternAt(3, 3, 4));
    Screen.DrawRotate(16, 16, 4, 4, TRect{0, 0, 4, 4}, Sprite, 0.5, 0.5, true, 0);
    EXPECT_EQ(Screen.Pixel(15, 15), 0x0101u);
    // A picture larger than the surface at a steep angle stays inside it.
    Screen.DrawRotate(16, 16, 400, 90, TRect{0, 0, 4, 4}, Sprite, 0.5, 0.5, false, 37);
}

TEST(FillRectAlphaTest, BlendsTowardsTheColourByAlpha) {
    TDirectDrawSurface s;
    s.SetSize(8, 8);
    s.FillRectAlpha(TRect{0, 0, 4, 4}, clRed, 255);
    EXPECT_EQ(s.Pixel(0, 0), 0xF800u);
    s.FillRectAlpha(TRect{0, 0, 4, 4}, clWhite, 0);
    EXPECT_EQ(s.Pixel(0, 0), 0xF800u);
    s.FillRectAlpha(TRect{4, 4, 8, 8}, ColorRGB(255, 255, 255), 96);
    EXPECT_EQ(s.Pixel(4, 4), Device(31 * 96 / 255, 63 * 96 / 255, 31 * 96 / 255));
    EXPECT_EQ(s.Pixel(3, 4), 0u);
}

TEST(FillRectAlphaTest, ClipsAndIgnoresAbsentSurfaces) {
    TDirectDrawSurface s;
    s.FillRectAlpha(TRect{0, 0, 4, 4}, clRed, 255);
    s.SetSize(8, 8);
    s.FillRectAlpha(TRect{-10, 6, 100, 100}, clRed, 255);
    EXPECT_EQ(s.Pixel(0, 6), 0xF800u);
    EXPECT_EQ(s.Pixel(7, 7), 0xF800u);
    EXPECT_EQ(s.Pixel(0, 5), 0u);
}

} // namespace
} // namespace tamtara
