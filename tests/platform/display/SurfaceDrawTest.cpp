// Draw clipping on every edge, the colour key, fills, pixel access and colour matching.
#include "SurfaceTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace tamtara {
namespace {

using testing::FillPattern;
using testing::PatternAt;

class SurfaceDraw : public ::testing::Test {
protected:
    void SetUp() override {
        Screen.SetSize(640, 480);
        FillPattern(Sheet, 64, 64);
    }
    // Counts pixels of the screen that are no longer black.
    int Touched() const {
        int n = 0;
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x)
                n += Screen.Pixel(x, y) != 0;
        return n;
    }
    TDirectDrawSurface Screen;
    TDirectDrawSurface Sheet;
};

TEST_F(SurfaceDraw, BottomLeftCornerClipsBothRectangles) {
    Screen.Draw(-10, 470, TRect{0, 0, 64, 64}, Sheet, false);
    EXPECT_EQ(Screen.Pixel(0, 470), PatternAt(10, 0, 64));
    EXPECT_EQ(Screen.Pixel(53, 479), PatternAt(63, 9, 64));
    EXPECT_EQ(Screen.Pixel(54, 470), 0u);
    EXPECT_EQ(Screen.Pixel(0, 469), 0u);
    EXPECT_EQ(Touched(), 54 * 10);
}

TEST_F(SurfaceDraw, RightAndTopEdgesClip) {
    Screen.Draw(600, -5, TRect{0, 0, 64, 64}, Sheet, false);
    EXPECT_EQ(Screen.Pixel(600, 0), PatternAt(0, 5, 64));
    EXPECT_EQ(Screen.Pixel(639, 58), PatternAt(39, 63, 64));
    EXPECT_EQ(Touched(), 40 * 59);
}

TEST_F(SurfaceDraw, PositionPastOrAtTheEdgeDrawsNothing) {
    Screen.Draw(641, 0, TRect{0, 0, 64, 64}, Sheet, false);
    Screen.Draw(640, 0, TRect{0, 0, 64, 64}, Sheet, false);
    Screen.Draw(0, 480, TRect{0, 0, 64, 64}, Sheet, false);
    Screen.Draw(-64, 0, TRect{0, 0, 64, 64}, Sheet, false);
    Screen.Draw(0, -64, TRect{0, 0, 64, 64}, Sheet, false);
    EXPECT_EQ(Touched(), 0);
}

TEST_F(SurfaceDraw, SourceRectangleOutsideTheSourceMovesTheDestination) {
    // A source starting left of and above the sheet shifts the destination by the difference.
    Screen.Draw(100, 100, TRect{-4, -2, 10, 10}, Sheet, false);
    EXPECT_EQ(Screen.Pixel(104, 102), PatternAt(0, 0, 64));
    EXPECT_EQ(Screen.Pixel(103, 102), 0u);
    EXPECT_EQ(Touched(), 10 * 10);
    // One reaching past the sheet's right and bottom is pulled in.
    TDirectDrawSurface other;
    other.SetSize(640, 480);
    other.Draw(0, 0, TRect{60, 60, 70, 70}, Sheet, false);
    EXPECT_EQ(other.Pixel(3, 3), PatternAt(63, 63, 64));
    EXPECT_EQ(other.Pixel(4, 0), 0u);
    EXPECT_EQ(other.Pixel(0, 4), 0u);
}

TEST_F(SurfaceDraw, TransparentDrawSkipsOnlyTheColourKey) {
    const std::uint32_t key = Sheet.Pixel(5, 5);
    Sheet.SetTransparentColor(key);
    Screen.Fill(0x1234);
    Screen.Draw(0, 0, TRect{0, 0, 64, 64}, Sheet, true);
    EXPECT_EQ(Screen.Pixel(5, 5), 0x1234u);
    EXPECT_EQ(Screen.Pixel(6, 5), PatternAt(6, 5, 64));
    Screen.Draw(0, 0, TRect{0, 0, 64, 64}, Sheet, false);
    EXPECT_EQ(Screen.Pixel(5, 5), key);
}

TEST_F(SurfaceDraw, AbsentSurfacesDrawNothing) {
    TDirectDrawSurface absent;
    Screen.Draw(0, 0, TRect{0, 0, 64, 64}, absent, false);
    absent.Draw(0, 0, TRect{0, 0, 64, 64}, Sheet, false);
    EXPECT_EQ(Touched(), 0);
    EXPECT_EQ(absent.Pixel(0, 0), 0u);
    EXPECT_EQ(absent.ColorMatch(clWhite), 0u);
    Sheet.SetSize(0, 5);
    EXPECT_TRUE(Sheet.Absent());
    EXPECT_EQ(Sheet.Width(), 0);
}

TEST_F(SurfaceDraw, OverlappingDrawOntoItselfReadsTheOriginalPixels) {
    Sheet.Draw(1, 1, TRect{0, 0, 63, 63}, Sheet, false);
    EXPECT_EQ(Sheet.Pixel(1, 1), PatternAt(0, 0, 64));
    EXPECT_EQ(Sheet.Pixel(63, 63), PatternAt(62, 62, 64));
}

TEST_F(SurfaceDraw, FillRectClipsAndIgnoresRectanglesOutside) {
    Screen.FillRect(TRect{700, 10, 800, 20}, 0xFFFF);
    Screen.FillRect(TRect{-50, -50, -1, 100}, 0xFFFF);
    Screen.FillRect(TRect{10, 10, 5, 20}, 0xFFFF);
    EXPECT_EQ(Touched(), 0);
    Screen.FillRect(TRect{630, 470, 700, 500}, 0xFFFF);
    EXPECT_EQ(Touched(), 100);
    EXPECT_EQ(Screen.Pixel(639, 479), 0xFFFFu);
}

TEST_F(SurfaceDraw, PixelOutsideTheSurfaceIsZero) {
    EXPECT_EQ(Sheet.Pixel(-1, 0), 0u);
    EXPECT_EQ(Sheet.Pixel(64, 0), 0u);
    EXPECT_EQ(Sheet.Pixel(0, 64), 0u);
    EXPECT_EQ(Sheet.Pixel(63, 63), PatternAt(63, 63, 64));
}

TEST_F(SurfaceDraw, ColorMatchPacksRgb565AndLeavesTheCornerAlone) {
    const std::uint32_t corner = Sheet.Pixel(0, 0);
    EXPECT_EQ(Sheet.ColorMatch(clWhite), 0xFFFFu);
    EXPECT_EQ(Sheet.ColorMatch(clRed), 0xF800u);
    EXPECT_EQ(Sheet.ColorMatch(clLime), 0x07E0u);
    EXPECT_EQ(Sheet.ColorMatch(ColorRGB(0, 0, 255)), 0x001Fu);
    EXPECT_EQ(Sheet.Pixel(0, 0), corner);
}

TEST_F(SurfaceDraw, SavesAsPng) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("tamtara_display_save_" + std::to_string(::getpid()) + ".png");
    ASSERT_TRUE(Sheet.SaveToPng(path.string()));
    EXPECT_GT(std::filesystem::file_size(path), 50u);
    std::filesystem::remove(path);
    std::string error;
    EXPECT_FALSE(TDirectDrawSurface().SaveToPng(path.string(), &error));
    EXPECT_FALSE(error.empty());
}

} // namespace
} // namespace tamtara
