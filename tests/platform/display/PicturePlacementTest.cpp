// Where full screen puts the 640 x 480 picture on displays of common sizes, per scaling choice.
#include "platform/display/PicturePlacement.h"

#include <gtest/gtest.h>

namespace tamtara {
namespace {

TPictureRect Place(std::int32_t width, std::int32_t height, TPictureScaling scaling) {
    return PicturePlacement(width, height, 640, 480, scaling, false, true);
}

TEST(PicturePlacement, IntegerTakesTheLargestWholeFactorCentred) {
    using enum TPictureScaling;
    EXPECT_EQ(Place(640, 480, Integer), (TPictureRect{0, 0, 640, 480}));
    EXPECT_EQ(Place(1024, 768, Integer), (TPictureRect{192, 144, 640, 480}));
    EXPECT_EQ(Place(1280, 1024, Integer), (TPictureRect{0, 32, 1280, 960}));
    EXPECT_EQ(Place(1920, 1080, Integer), (TPictureRect{320, 60, 1280, 960}));
    EXPECT_EQ(Place(2560, 1440, Integer), (TPictureRect{320, 0, 1920, 1440}));
    // Smaller than the picture: shrunk to fit, keeping the shape.
    EXPECT_EQ(Place(600, 400, Integer), (TPictureRect{33, 0, 533, 400}));
}

TEST(PicturePlacement, FitFillsOneSideKeepingTheShape) {
    using enum TPictureScaling;
    EXPECT_EQ(Place(1024, 768, Fit), (TPictureRect{0, 0, 1024, 768}));
    EXPECT_EQ(Place(1280, 1024, Fit), (TPictureRect{0, 32, 1280, 960}));
    EXPECT_EQ(Place(1920, 1080, Fit), (TPictureRect{240, 0, 1440, 1080}));
    EXPECT_EQ(Place(1366, 768, Fit), (TPictureRect{171, 0, 1024, 768}));
    EXPECT_EQ(Place(1920, 1200, Fit), (TPictureRect{160, 0, 1600, 1200}));
    EXPECT_EQ(Place(600, 400, Fit), (TPictureRect{33, 0, 533, 400}));
}

TEST(PicturePlacement, StretchFillsAndUncentredSitsAtTheCorner) {
    EXPECT_EQ(PicturePlacement(1920, 1080, 640, 480, TPictureScaling::Integer, true, true),
              (TPictureRect{0, 0, 1920, 1080}));
    EXPECT_EQ(PicturePlacement(1920, 1080, 640, 480, TPictureScaling::Fit, false, false),
              (TPictureRect{0, 0, 1440, 1080}));
}

} // namespace
} // namespace tamtara
