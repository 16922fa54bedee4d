// A whole frame through the headless display: lane stripes, a rotated and an added sprite,
// text in both of the game's fonts; saved as PNG for looking at.
#include "platform/display/DXDraw.h"
#include "platform/display/SurfaceCanvas.h"
#include "support/doubles/HeadlessPresenter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace tamtara {
namespace {

void DrawLogo(TDirectDrawSurface& logo) {
    logo.SetSize(370, 180);
    logo.Fill(logo.ColorMatch(clFuchsia)); // the key colour, as sprite sheets have it at (0, 0)
    for (int y = 10; y < 170; ++y)
        for (int x = 10; x < 360; ++x)
            logo.SetPixel(
                x, y,
                logo.ColorMatch(ColorRGB(std::uint8_t(x * 255 / 370), 128, std::uint8_t(y * 255 / 180))));
    TDirectDrawSurfaceCanvas& canvas = logo.Canvas();
    canvas.Font.Name = "Times New Roman";
    canvas.Font.Height = -90;
    canvas.Font.Style = {TFontStyle::fsBold};
    canvas.Font.Color = clWhite;
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.TextOut(185 - canvas.TextWidth("LOGO") / 2, 40, "LOGO");
    logo.ReleaseCanvas();
    logo.SetTransparentColor(logo.Pixel(0, 0));
}

TEST(Scene, ComposesAFrameAndSavesItAsPng) {
    auto owned = std::make_unique<THeadlessPresenter>();
    THeadlessPresenter& presenter = *owned;
    TDXDraw display(std::move(owned));
    display.Initialize();
    ASSERT_TRUE(display.CanDraw());
    TDirectDrawSurface& back = display.Surface();
    back.Fill(back.ColorMatch(ColorRGB(16, 24, 48)));

    const struct {
        int X, W;
        TColor C;
    } lanes[] = {{163, 45, ColorRGB(128, 96, 0)}, {211, 45, ColorRGB(128, 0, 0)},
                 {259, 58, ColorRGB(96, 96, 96)}, {320, 31, ColorRGB(0, 96, 0)},
                 {354, 31, ColorRGB(0, 32, 128)}, {385, 31, ColorRGB(0, 0, 160)},
                 {418, 59, ColorRGB(128, 96, 0)}};
    for (const auto& lane : lanes)
        back.FillRectAlpha(Bounds(lane.X, 0, lane.W, 391), lane.C, 96);

    TDirectDrawSurface logo;
    DrawLogo(logo);
    back.DrawRotate(320, 200, 370, 180, TRect{0, 0, 370, 180}, logo, 0.5, 0.5, true, 20);
    back.DrawAdd(Bounds(40, 300, 128, 64), TRect{10, 10, 138, 74}, logo, true, 175);

    TDirectDrawSurfaceCanvas& canvas = back.Canvas();
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.Font.Name = "Times New Roman";
    canvas.Font.Height = 240;
    canvas.Font.Style = {TFontStyle::fsBold, TFontStyle::fsItalic};
    canvas.Font.Color = clBlack;
    canvas.TextOut(476, 156, "S");
    canvas.Font.Color = clYellow;
    canvas.TextOut(470, 150, "S");
    const std::string help = "↑↓で選択、ENTERで決定";
    canvas.Font.Name = "ＭＳ Ｐゴシック";
    canvas.Font.Height = -22;
    canvas.Font.Style = {TFontStyle::fsBold};
    const int w = canvas.TextWidth(help);
    canvas.Font.Color = clBlack;
    canvas.TextOut(321 - w / 2, 446, help);
    canvas.Font.Color = clRed;
    canvas.TextOut(320 - w / 2, 445, help);
    back.ReleaseCanvas();
    display.Flip();

    ASSERT_EQ(presenter.PresentCount(), 1);
    EXPECT_EQ(presenter.Frame().Pixel(320, 200), back.Pixel(320, 200));
    EXPECT_NE(back.Pixel(320, 200), back.ColorMatch(clFuchsia)); // the key never lands
    const auto path = std::filesystem::temp_directory_path() /
                      ("tamtara_display_scene_" + std::to_string(::getpid()) + ".png");
    ASSERT_TRUE(presenter.Frame().SaveToPng(path.string()));
    EXPECT_GT(std::filesystem::file_size(path), 1000u);
    std::filesystem::remove(path);
}

} // namespace
} // namespace tamtara
