// Checks the raster operations the sheets are drawn with: clipping, blending, keys, 16-bit rounding.
#include <gtest/gtest.h>

#include "Layout.h"
#include "Raster.h"
#include "Style.h"

namespace tamtara {
namespace {

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};

int Count(const Image& image, Rgb c) {
    int n = 0;
    for (const Rgb& p : image.Pixels())
        n += p == c ? 1 : 0;
    return n;
}

TEST(Raster, FillsAreClippedToTheImage) {
    Image image(4, 3, kBlack);
    image.Fill({-2, -2, 4, 4}, kWhite); // only the 2 × 2 corner lies inside
    EXPECT_EQ(Count(image, kWhite), 4);
    image.Fill({3, 2, 10, 10}, kWhite);
    EXPECT_EQ(image.At(3, 2), kWhite);
    image.Set(-1, 0, kBlack); // outside: ignored, no crash
    EXPECT_EQ(Count(image, kWhite), 5);
}

TEST(Raster, BlendMixesByCoverage) {
    Image image(1, 1, kBlack);
    image.Blend(0, 0, kWhite, 0.5);
    EXPECT_NEAR(image.At(0, 0).R, 128, 1);
    image.Blend(0, 0, Rgb{10, 20, 30}, 1.0);
    EXPECT_EQ(image.At(0, 0), (Rgb{10, 20, 30}));
    image.Blend(0, 0, kWhite, 0.0);
    EXPECT_EQ(image.At(0, 0), (Rgb{10, 20, 30}));
}

TEST(Raster, GradientsRunFromFirstToLastColour) {
    Image image(5, 4, kBlack);
    image.VerticalGradient({0, 0, 5, 4}, kBlack, kWhite);
    EXPECT_EQ(image.At(2, 0), kBlack);
    EXPECT_EQ(image.At(2, 3), kWhite);
    image.HorizontalGradient({0, 0, 5, 4}, kWhite, kBlack);
    EXPECT_EQ(image.At(0, 1), kWhite);
    EXPECT_EQ(image.At(4, 1), kBlack);
}

TEST(Raster, ShapesCoverTheirInsideAndSmoothTheirEdge) {
    Image image(21, 21, kBlack);
    image.Disc(10.5, 10.5, 8, kWhite);
    EXPECT_EQ(image.At(10, 10), kWhite);
    EXPECT_EQ(image.At(0, 0), kBlack);
    bool partial = false;
    for (const Rgb& p : image.Pixels())
        partial |= p.R > 0 && p.R < 255;
    EXPECT_TRUE(partial) << "the rim should be anti-aliased";
}

TEST(Raster, RoundedRectanglesLeaveTheirCornersOpen) {
    Image image(20, 20, kBlack);
    image.RoundedRect({0, 0, 20, 20}, 6, kWhite);
    EXPECT_EQ(image.At(0, 0), kBlack);
    EXPECT_EQ(image.At(10, 0), kWhite);
    EXPECT_EQ(image.At(10, 10), kWhite);
}

TEST(Raster, PolygonsFillByTheEvenOddRule) {
    Image image(10, 10, kBlack);
    image.Polygon({0, 0, 10, 0, 10, 10, 0, 10}, kWhite);
    EXPECT_EQ(Count(image, kWhite), 100);
}

TEST(Raster, CropAndKeyedPasteMoveOnlyWhatTheyShould) {
    Image src(3, 1, kMagentaKey);
    src.Set(1, 0, kWhite);
    Image dst(3, 1, kBlack);
    dst.PasteKeyed(src, 0, 0, kMagentaKey);
    EXPECT_EQ(dst.At(0, 0), kBlack);
    EXPECT_EQ(dst.At(1, 0), kWhite);
    const Image part = src.Crop({1, 0, 2, 1});
    EXPECT_EQ(part.Width(), 2);
    EXPECT_EQ(part.At(0, 0), kWhite);
    dst.Paste(src, 1, 0); // clipped at the right edge
    EXPECT_EQ(dst.At(1, 0), kMagentaKey);
    EXPECT_EQ(dst.At(2, 0), kWhite);
}

TEST(Raster, QuantisingRoundsToTheDisplayFormatAndKeepsTheKeyExact) {
    Image image(3, 1);
    image.Set(0, 0, kMagentaKey);
    image.Set(1, 0, Rgb{252, 2, 250}); // would become the key on a 16-bit surface
    image.Set(2, 0, Rgb{13, 77, 201});
    image.QuantiseForKey(&kMagentaKey);
    EXPECT_EQ(image.At(0, 0), kMagentaKey);
    EXPECT_NE(Pack565(image.At(1, 0)), Pack565(kMagentaKey));
    EXPECT_EQ(image.At(2, 0), ToRgb565(Rgb{13, 77, 201}));
}

TEST(Raster, NearWhiteStaysVisibleOnAWhiteKeyedSheet) {
    Image image(2, 1, kWhite);
    image.Set(1, 0, Rgb{250, 253, 251});
    image.QuantiseForKey(&kWhiteKey);
    EXPECT_EQ(image.At(0, 0), kWhite);
    EXPECT_NE(Pack565(image.At(1, 0)), Pack565(kWhite));
}

TEST(Raster, KeyingOutReplacesOnlyTheExactCanvasColour) {
    Image image(3, 1, Palette::Canvas);
    image.Set(1, 0, Rgb{0, 0, 1});
    image.Set(2, 0, Palette::Ink);
    KeyOutCanvas(image);
    EXPECT_EQ(image.At(0, 0), kMagentaKey);
    EXPECT_EQ(image.At(1, 0), (Rgb{0, 0, 1}));
    EXPECT_EQ(image.At(2, 0), Palette::Ink);
}

TEST(Raster, ColourHelpersClampAndInterpolate) {
    EXPECT_EQ(Mix(kBlack, kWhite, 0), kBlack);
    EXPECT_EQ(Mix(kBlack, kWhite, 1), kWhite);
    EXPECT_EQ(Scale(Rgb{200, 100, 0}, 2.0), (Rgb{255, 200, 0}));
    EXPECT_EQ(Pack565(Rgb{255, 0, 255}), 0xF81F);
    EXPECT_EQ(Pack565(Rgb{0, 255, 0}), 0x07E0);
}

} // namespace
} // namespace tamtara
