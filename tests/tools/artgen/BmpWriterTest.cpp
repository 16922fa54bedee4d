// Checks the 16-bit bitmap encoding against the fields a standard loader reads.
#include <gtest/gtest.h>

#include <cstdint>

#include "BmpWriter.h"

namespace tamtara {
namespace {

std::uint32_t Read32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | std::uint32_t(b[at + 3]) << 24;
}
std::uint16_t Read16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

TEST(BmpWriter, WritesAnInfoHeaderWithRgb565BitFields) {
    const std::vector<std::uint8_t> bmp = EncodeBmp565(Image(3, 2));
    ASSERT_GE(bmp.size(), 66u);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(Read32(bmp, 2), bmp.size());
    EXPECT_EQ(Read32(bmp, 10), 66u); // pixels follow the header and the three masks
    EXPECT_EQ(Read32(bmp, 14), 40u);
    EXPECT_EQ(Read32(bmp, 18), 3u);
    EXPECT_EQ(Read32(bmp, 22), 2u);
    EXPECT_EQ(Read16(bmp, 28), 16u);
    EXPECT_EQ(Read32(bmp, 30), 3u); // BI_BITFIELDS
    EXPECT_EQ(Read32(bmp, 54), 0xF800u);
    EXPECT_EQ(Read32(bmp, 58), 0x07E0u);
    EXPECT_EQ(Read32(bmp, 62), 0x001Fu);
}

TEST(BmpWriter, StoresRowsBottomUpPaddedToFourBytes) {
    Image image(3, 2, Rgb{0, 0, 0});
    image.Set(0, 0, Rgb{255, 0, 255}); // top-left
    image.Set(2, 1, Rgb{0, 255, 0});   // bottom-right
    const std::vector<std::uint8_t> bmp = EncodeBmp565(image);
    ASSERT_EQ(bmp.size(), 66u + 2 * 8);
    EXPECT_EQ(Read16(bmp, 66 + 4), 0x07E0u); // first stored row is the bottom one
    EXPECT_EQ(Read16(bmp, 66 + 8), 0xF81Fu); // second row starts after 6 bytes and 2 of padding
    EXPECT_EQ(Read16(bmp, 66 + 6), 0u);
}

TEST(BmpWriter, KeyColoursRoundTripThroughSixteenBits) {
    EXPECT_EQ(ToRgb565(Rgb{255, 0, 255}), (Rgb{255, 0, 255}));
    EXPECT_EQ(ToRgb565(Rgb{255, 255, 255}), (Rgb{255, 255, 255}));
    EXPECT_EQ(ToRgb565(Rgb{0, 0, 0}), (Rgb{0, 0, 0}));
}

} // namespace
} // namespace tamtara
