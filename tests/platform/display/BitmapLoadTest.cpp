// Bitmap loading: every pixel format and header kind, run-length data, and bad streams.
#include "base/Stream.h"
#include "platform/display/DirectDrawSurface.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

namespace tamtara {
namespace {

// Colours whose channels survive the trip through 5 and 6 bits unchanged.
const TColor Palette[4] = {ColorRGB(0, 0, 0), ColorRGB(255, 0, 0), ColorRGB(0, 132, 255),
                           ColorRGB(132, 255, 66)};
// The 3 x 2 test picture, top row first, as palette indices.
const int Picture[2][3] = {{1, 2, 3}, {3, 0, 1}};

void Put16(std::vector<std::uint8_t>& b, std::uint32_t v) {
    b.push_back(std::uint8_t(v));
    b.push_back(std::uint8_t(v >> 8));
}
void Put32(std::vector<std::uint8_t>& b, std::uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

struct TBmpSpec {
    int Bits = 24;
    int Compression = 0;
    bool Core = false;
    bool TopDown = false;
    std::vector<std::uint32_t> Masks = {};
    // Pixel data as stored; empty means "encode the picture for Bits".
    std::vector<std::uint8_t> Data = {};
};

std::vector<std::uint8_t> EncodeRows(const TBmpSpec& spec) {
    std::vector<std::uint8_t> data;
    for (int fileRow = 0; fileRow < 2; ++fileRow) {
        const int* row = Picture[spec.TopDown ? fileRow : 1 - fileRow];
        std::vector<std::uint8_t> bytes;
        std::uint32_t acc = 0;
        int accBits = 0;
        for (int x = 0; x < 3; ++x) {
            TColor c = Palette[row[x]];
            switch (spec.Bits) {
            case 1:
            case 4:
            case 8:
                acc = (acc << spec.Bits) | std::uint32_t(row[x] & ((1 << spec.Bits) - 1));
                accBits += spec.Bits;
                if (accBits == 8) {
                    bytes.push_back(std::uint8_t(acc));
                    acc = 0;
                    accBits = 0;
                }
                break;
            case 16:
                if (spec.Masks.empty())
                    Put16(bytes, ((RedOf(c) >> 3) << 10) | ((GreenOf(c) >> 3) << 5) | (BlueOf(c) >> 3));
                else
                    Put16(bytes, ((RedOf(c) >> 3) << 11) | ((GreenOf(c) >> 2) << 5) | (BlueOf(c) >> 3));
                break;
            case 24:
                bytes.insert(bytes.end(), {BlueOf(c), GreenOf(c), RedOf(c)});
                break;
            case 32:
                if (spec.Masks.empty())
                    Put32(bytes, (RedOf(c) << 16) | (GreenOf(c) << 8) | BlueOf(c));
                else
                    Put32(bytes, (std::uint32_t(RedOf(c)) << 24) | (GreenOf(c) << 16) | (BlueOf(c) << 8));
                break;
            }
        }
        if (accBits) bytes.push_back(std::uint8_t(acc << (8 - accBits)));
        while (bytes.size() % 4)
            bytes.push_back(0);
        data.insert(data.end(), bytes.begin(), bytes.end());
    }
    return data;
}

std::vector<std::uint8_t> MakeBmp(const TBmpSpec& spec) {
    std::vector<std::uint8_t> info;
    const int paletteCount = spec.Bits <= 8 ? (1 << spec.Bits) : 0;
    std::vector<std::uint8_t> data = spec.Data.empty() ? EncodeRows(spec) : spec.Data;
    if (spec.Core) {
        Put32(info, 12);
        Put16(info, 3);
        Put16(info, 2);
        Put16(info, 1);
        Put16(info, spec.Bits);
    } else {
        Put32(info, 40);
        Put32(info, 3);
        Put32(info, spec.TopDown ? std::uint32_t(-2) : 2);
        Put16(info, 1);
        Put16(info, spec.Bits);
        Put32(info, spec.Compression);
        Put32(info, std::uint32_t(data.size()));
        Put32(info, 2835);
        Put32(info, 2835);
        Put32(info, 0);
        Put32(info, 0);
        for (std::uint32_t m : spec.Masks)
            Put32(info, m);
    }
    for (int i = 0; i < paletteCount; ++i) {
        TColor c = i < 4 ? Palette[i] : clBlack;
        info.insert(info.end(), {BlueOf(c), GreenOf(c), RedOf(c)});
        if (!spec.Core) info.push_back(0);
    }
    std::vector<std::uint8_t> file{'B', 'M'};
    Put32(file, std::uint32_t(14 + info.size() + data.size()));
    Put32(file, 0);
    Put32(file, std::uint32_t(14 + info.size()));
    file.insert(file.end(), info.begin(), info.end());
    file.insert(file.end(), data.begin(), data.end());
    return file;
}

void ExpectPicture(const TDirectDrawSurface& s) {
    ASSERT_EQ(s.Width(), 3);
    ASSERT_EQ(s.Height(), 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(s.Pixel(x, y), ColorToDevice(Palette[Picture[y][x]])) << "pixel " << x << "," << y;
}

void Load(TDirectDrawSurface& s, const std::vector<std::uint8_t>& bytes) {
    TMemoryStream stream(bytes);
    s.LoadFromStream(stream);
}

struct TVariant {
    const char* Name;
    TBmpSpec Spec;
};

class BitmapVariant : public ::testing::TestWithParam<TVariant> {};

TEST_P(BitmapVariant, DecodesThePicture) {
    TDirectDrawSurface s;
    Load(s, MakeBmp(GetParam().Spec));
    ExpectPicture(s);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, BitmapVariant,
    ::testing::Values(
        TVariant{"Palette4", {.Bits = 4}}, TVariant{"Palette8", {.Bits = 8}},
        TVariant{"Rgb555", {.Bits = 16}}, TVariant{"Rgb24", {.Bits = 24}}, TVariant{"Rgb32", {.Bits = 32}},
        TVariant{"BitFields565", {.Bits = 16, .Compression = 3, .Masks = {0xF800, 0x07E0, 0x001F}}},
        TVariant{"BitFields32", {.Bits = 32, .Compression = 3, .Masks = {0xFF000000, 0xFF0000, 0xFF00}}},
        TVariant{"Os2Core8", {.Bits = 8, .Core = true}}, TVariant{"Os2Core24", {.Bits = 24, .Core = true}},
        TVariant{"TopDown24", {.Bits = 24, .TopDown = true}},
        TVariant{"TopDown4", {.Bits = 4, .TopDown = true}},
        // RLE8: bottom row as runs "3", "0", "1", end of line, top row absolute "1 2 3"
        // (padded to an even length), end of bitmap.
        TVariant{"Rle8",
                 {.Bits = 8, .Compression = 1, .Data = {1, 3, 1, 0, 1, 1, 0, 0, 0, 3, 1, 2, 3, 0, 0, 1}}},
        // RLE4: bottom row as a run of alternating nibbles "3 0" then "1", top row absolute.
        TVariant{"Rle4",
                 {.Bits = 4, .Compression = 2, .Data = {2, 0x30, 1, 0x11, 0, 0, 0, 3, 0x12, 0x30, 0, 1}}}),
    [](const ::testing::TestParamInfo<TVariant>& info) { return std::string(info.param.Name); });

// The 1-bit picture only has indices 0 and 1; the variant above wraps the others.
TEST(BitmapLoad, OneBitPaletteUsesItsTwoColours) {
    TDirectDrawSurface s;
    Load(s, MakeBmp({.Bits = 1}));
    EXPECT_EQ(s.Pixel(0, 0), ColorToDevice(Palette[1]));
    EXPECT_EQ(s.Pixel(1, 1), ColorToDevice(Palette[0]));
}

TEST(BitmapLoad, StreamAtItsEndLeavesTheSurfaceUnchanged) {
    TDirectDrawSurface s;
    s.SetSize(5, 5);
    s.Fill(0x1234);
    TMemoryStream stream(MakeBmp({}));
    stream.Seek(0, SeekOrigin::End);
    s.LoadFromStream(stream);
    EXPECT_EQ(s.Width(), 5);
    EXPECT_EQ(s.Pixel(4, 4), 0x1234u);
}

TEST(BitmapLoad, ReadsOnlyTheBitmapsOwnBytes) {
    // Two bitmaps back to back, as entries of a package sit: each load stops at its end.
    std::vector<std::uint8_t> bytes = MakeBmp({.Bits = 8});
    std::vector<std::uint8_t> second = MakeBmp({.Bits = 24});
    const auto firstSize = bytes.size();
    bytes.insert(bytes.end(), second.begin(), second.end());
    TMemoryStream stream(bytes);
    TDirectDrawSurface a, b;
    a.LoadFromStream(stream);
    EXPECT_EQ(stream.Position(), std::int64_t(firstSize));
    b.LoadFromStream(stream);
    ExpectPicture(a);
    ExpectPicture(b);
}

void ExpectInvalid(const std::vector<std::uint8_t>& bytes) {
    TDirectDrawSurface s;
    try {
        Load(s, bytes);
        ADD_FAILURE() << "accepted a bad bitmap";
    } catch (const EInvalidGraphic& error) {
        EXPECT_EQ(error.Text(), "不正な DIB です");
        EXPECT_EQ(std::string(error.what()).find('\n'), std::string::npos);
    }
}

std::vector<std::uint8_t> Patched(std::vector<std::uint8_t> bytes, std::size_t at, std::uint32_t value,
                                  int size = 4) {
    if (at + std::size_t(size) > bytes.size()) return bytes;
    for (int i = 0; i < size; ++i)
        bytes[at + i] = std::uint8_t(value >> (8 * i));
    return bytes;
}

TEST(BitmapLoad, BadStreamsRaiseInvalidDib) {
    const std::vector<std::uint8_t> good = MakeBmp({.Bits = 8});
    ExpectInvalid({'B', 'M', 0, 0});                                        // short file header
    ExpectInvalid(Patched(good, 0, 'X' | ('M' << 8), 2));                   // signature
    ExpectInvalid(Patched(good, 14, 20));                                   // info header size
    ExpectInvalid(Patched(good, 14 + 14, 7, 2));                            // bit count
    ExpectInvalid(Patched(good, 14 + 12, 2, 2));                            // planes
    ExpectInvalid(Patched(good, 14 + 16, 9));                               // compression
    ExpectInvalid(Patched(good, 14 + 16, 2));                               // RLE4 on an 8-bit image
    ExpectInvalid(Patched(good, 14 + 4, 0x7FFFFFFF));                       // absurd width
    ExpectInvalid(Patched(good, 14 + 4, std::uint32_t(-3)));                // negative width
    ExpectInvalid(Patched(good, 10, 0x7FFFFFF0));                           // pixel data offset past the end
    ExpectInvalid(std::vector<std::uint8_t>(good.begin(), good.end() - 3)); // truncated pixels
    ExpectInvalid(std::vector<std::uint8_t>(good.begin(), good.begin() + 30)); // truncated header
    // An RLE absolute run that claims more bytes than there are.
    ExpectInvalid(MakeBmp({.Bits = 8, .Compression = 1, .Data = {0, 200, 1, 2}}));
}

TEST(BitmapLoad, OutOfRangeRunsAndIndicesStayInsideThePicture) {
    // Runs longer than a row, deltas past the end and palette indices beyond the palette.
    TDirectDrawSurface s;
    Load(s, MakeBmp({.Bits = 8, .Compression = 1, .Data = {255, 1, 0, 2, 200, 200, 9, 255, 0, 1}}));
    EXPECT_EQ(s.Width(), 3);
    EXPECT_EQ(s.Pixel(0, 1), ColorToDevice(Palette[1]));
    std::vector<std::uint8_t> small = MakeBmp({.Bits = 8});
    small = Patched(small, 14 + 32, 2); // two palette entries used, indices up to 3 in the data
    small.erase(small.begin() + 14 + 40 + 8, small.begin() + 14 + 40 + 1024);
    small = Patched(small, 10, 14 + 40 + 8);
    Load(s, small);
    EXPECT_EQ(s.Pixel(0, 0), ColorToDevice(Palette[1]));
    EXPECT_EQ(s.Pixel(1, 0), 0u);
}

TEST(BitmapLoad, MutatedBitmapsLoadOrRaiseButNeverReadOutside) {
    std::mt19937 random(12345);
    const std::vector<std::vector<std::uint8_t>> seeds = {
        MakeBmp({.Bits = 4}), MakeBmp({.Bits = 16, .Compression = 3, .Masks = {0xF800, 0x07E0, 0x001F}}),
        MakeBmp({.Bits = 8, .Compression = 1, .Data = {1, 3, 1, 0, 1, 1, 0, 0, 0, 3, 1, 2, 3, 0, 0, 1}}),
        MakeBmp({.Bits = 24, .Core = true})};
    for (int round = 0; round < 3000; ++round) {
        std::vector<std::uint8_t> bytes = seeds[round % seeds.size()];
        for (int k = 0, n = 1 + int(random() % 4); k < n; ++k)
            bytes[random() % bytes.size()] = std::uint8_t(random());
        if (round % 5 == 0) bytes.resize(random() % bytes.size());
        TDirectDrawSurface s;
        try {
            Load(s, bytes);
        } catch (const EInvalidGraphic&) {
        } catch (const EDirectDrawSurfaceError&) {
        }
    }
}

TEST(BitmapLoad, EmptyImageLeavesTheSurfaceUnchanged) {
    TDirectDrawSurface s;
    s.SetSize(2, 2);
    Load(s, Patched(MakeBmp({.Bits = 24}), 14 + 4, 0));
    EXPECT_EQ(s.Width(), 2);
}

} // namespace
} // namespace tamtara
