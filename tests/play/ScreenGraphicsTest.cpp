// Screen graphics: missing bitmaps are named, the play background's picture choice, centring,
// and a broken song picture falling back to the default background.
#include "HostileFiles.h"
#include "app/graphics/ScreenSurfaces.h"
#include "app/play/PlayBackground.h"
#include "base/Stream.h"
#include "platform/display/DirectDrawSurface.h"
#include "platform/display/DisplayTypes.h"
#include "resources/PackageFile.h"
#include "resources/PackageWriter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

namespace tamtara::testing {

namespace {

// A 24-bit bottom-up bitmap of one colour.
std::vector<std::uint8_t> SolidBmp(int width, int height, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    const int stride = (width * 3 + 3) / 4 * 4;
    const std::uint32_t size = 54 + std::uint32_t(stride * height);
    std::vector<std::uint8_t> out(size, 0);
    const auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out[at + i] = std::uint8_t(v >> (8 * i));
    };
    out[0] = 'B';
    out[1] = 'M';
    put32(2, size);
    put32(10, 54);
    put32(14, 40);
    put32(18, std::uint32_t(width));
    put32(22, std::uint32_t(height));
    out[26] = 1;
    out[28] = 24;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::size_t at = 54 + std::size_t(y * stride + x * 3);
            out[at] = b;
            out[at + 1] = g;
            out[at + 2] = r;
        }
    return out;
}

void WriteFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

} // namespace

class ScreenGraphicsTest : public ::testing::Test {
protected:
    ScreenGraphicsTest() {
        std::filesystem::create_directories(Folder);
        Surfaces.Create();
    }
    ~ScreenGraphicsTest() override { std::filesystem::remove_all(Folder); }

    void OpenPackage(const std::vector<PackageSource>& entries) {
        WritePackage((Folder / "Graphics.pb").string(), entries);
        Package.OpenFile((Folder / "Graphics.pb").string());
    }

    // A skin of nothing but its colour key, over a blue default background.
    void OpenPlayPackage() {
        std::vector<std::uint8_t> skin = SolidBmp(640, 480, 255, 0, 255);
        OpenPackage({{"skin2.bmp", skin}, {"Back.bmp", SolidBmp(640, 480, 0, 0, 255)}});
    }

    // One folder per process: ctest runs the cases of this fixture side by side.
    std::filesystem::path Folder =
        std::filesystem::temp_directory_path() / ("tamtara-play-graphics-" + std::to_string(::getpid()));
    TReadPackageFile Package;
    ScreenSurfaces Surfaces;
};

TEST_F(ScreenGraphicsTest, MissingBitmapStopsWithItsName) {
    OpenPackage({{"TrcMeter.bmp", SolidBmp(8, 8, 1, 2, 3)}});
    try {
        LoadSharedGraphics(Package, Surfaces);
        FAIL() << "no error";
    } catch (const EMissingGraphic& error) {
        EXPECT_NE(std::string(error.what()).find("\"Ank.bmp\""), std::string::npos) << error.what();
    }
}

TEST_F(ScreenGraphicsTest, SongPictureIsTheBmpTwinElseTheJpgOne) {
    const std::string song = (Folder / "song.mid").string();
    EXPECT_EQ(SongPicturePath(song), "");
    WriteFile(Folder / "song.jpg", {0xFF, 0xD8});
    EXPECT_EQ(SongPicturePath(song), (Folder / "song.jpg").string());
    WriteFile(Folder / "song.bmp", SolidBmp(2, 2, 0, 0, 0));
    EXPECT_EQ(SongPicturePath(song), (Folder / "song.bmp").string());
}

TEST_F(ScreenGraphicsTest, SmallPictureIsCentredOnBlack) {
    OpenPlayPackage();
    WriteFile(Folder / "song.bmp", SolidBmp(320, 240, 255, 255, 0));
    ComposePlayBackground(Package, Surfaces, PlayPicture{(Folder / "song.mid").string(), "Title"});
    const TDirectDrawSurface& back = *Surfaces.BackSurface;
    EXPECT_EQ(back.Pixel(600, 240), 0u); // border, right of the picture
    EXPECT_EQ(back.Pixel(159, 450), 0u); // border, below and left
    EXPECT_EQ(back.Pixel(160, 120), ColorToDevice(clYellow));
    EXPECT_EQ(back.Pixel(479, 359), ColorToDevice(clYellow));
    EXPECT_EQ(back.Pixel(480, 360), 0u);
}

TEST_F(ScreenGraphicsTest, BrokenPictureFallsBackToTheDefaultBackground) {
    OpenPlayPackage();
    ComposePlayBackground(Package, Surfaces, PlayPicture{(Folder / "none.mid").string(), "Title"});
    const std::vector<std::uint8_t> expected = Surfaces.BackSurface->ToRgb();
    WriteFile(Folder / "song.bmp", {'B', 'M', 0, 0, 1});
    ComposePlayBackground(Package, Surfaces, PlayPicture{(Folder / "song.mid").string(), "Title"});
    EXPECT_EQ(Surfaces.BackSurface->ToRgb(), expected);
    EXPECT_EQ(Surfaces.BackSurface->Pixel(600, 450), ColorToDevice(clBlue));
}

// Song pictures come from anywhere: a bomb or an oversized file is refused like a broken picture,
// play goes on over the default, and a large picture keeps only the part the screen shows.
TEST_F(ScreenGraphicsTest, PictureBombOrOversizedFileFallsBackToTheDefaultBackground) {
    OpenPlayPackage();
    ComposePlayBackground(Package, Surfaces, PlayPicture{(Folder / "none.mid").string(), "Title"});
    const std::vector<std::uint8_t> expected = Surfaces.BackSurface->ToRgb();

    WriteFile(Folder / "bomb.jpg", hostile::JpegBomb(16384, 4096));
    TDirectDrawSurface picture;
    EXPECT_THROW(LoadSongPicture((Folder / "bomb.jpg").string(), picture), EInvalidGraphic);
    ComposePlayBackground(Package, Surfaces, PlayPicture{(Folder / "bomb.mid").string(), "Title"});
    EXPECT_EQ(Surfaces.BackSurface->ToRgb(), expected);

    const auto big = Folder / "big.bmp";
    WriteFile(big, SolidBmp(2, 2, 255, 255, 0));
    std::filesystem::resize_file(big, MaxSongPictureBytes + 1); // sparse: nothing is written
    try {
        LoadSongPicture(big.string(), picture);
        ADD_FAILURE() << "an oversized picture file was read";
    } catch (const EInvalidGraphic& error) {
        EXPECT_NE(std::string(error.what()).find("32 MB"), std::string::npos) << error.what();
    }
    ComposePlayBackground(Package, Surfaces, PlayPicture{(Folder / "big.mid").string(), "Title"});
    EXPECT_EQ(Surfaces.BackSurface->ToRgb(), expected);
}

TEST_F(ScreenGraphicsTest, LargePictureKeepsOnlyTheCentredScreenArea) {
    OpenPlayPackage();
    // 801 x 601: a red frame 80 and 60 pixels wide (plus the odd pixel) around a yellow middle.
    std::vector<std::uint8_t> bmp = SolidBmp(801, 601, 255, 0, 0);
    const int stride = (801 * 3 + 3) / 4 * 4;
    for (int y = 60; y < 540; ++y)
        for (int x = 80; x < 720; ++x) {
            const std::size_t at = 54 + std::size_t((600 - y) * stride + x * 3);
            bmp[at] = 0;
            bmp[at + 1] = 255;
        }
    WriteFile(Folder / "wide.bmp", bmp);
    TDirectDrawSurface picture;
    LoadSongPicture((Folder / "wide.bmp").string(), picture);
    EXPECT_EQ(picture.Width(), 640);
    EXPECT_EQ(picture.Height(), 480);
    EXPECT_EQ(picture.Pixel(0, 0), ColorToDevice(clYellow));
    EXPECT_EQ(picture.Pixel(639, 479), ColorToDevice(clYellow));
    ComposePlayBackground(Package, Surfaces, PlayPicture{(Folder / "wide.mid").string(), "Title"});
    EXPECT_EQ(Surfaces.BackSurface->Pixel(0, 479), ColorToDevice(clYellow));
    EXPECT_EQ(Surfaces.BackSurface->Pixel(639, 0), ColorToDevice(clYellow));
}

TEST_F(ScreenGraphicsTest, LaneStripesTintTheBackground) {
    OpenPlayPackage();
    ComposePlayBackground(Package, Surfaces, PlayPicture{"", "Title"});
    const TColor kickLane = DeviceToColor(Surfaces.BackSurface->Pixel(259 + 20, 200));
    EXPECT_GT(RedOf(kickLane), 0); // grey blended over blue
    EXPECT_LT(BlueOf(kickLane), 255);
    EXPECT_EQ(Surfaces.BackSurface->Pixel(259 + 20, 391), ColorToDevice(clBlue));
}

TEST_F(ScreenGraphicsTest, TitleStripLeaves108BlankPixelsBeforeTheTitle) {
    ComposeTitleStrip(*Surfaces.SpriteSurface, "");
    EXPECT_EQ(Surfaces.SpriteSurface->Width(), 114);
    EXPECT_EQ(Surfaces.SpriteSurface->Height(), 32);
    ComposeTitleStrip(*Surfaces.SpriteSurface, "ドラム Title");
    const TDirectDrawSurface& strip = *Surfaces.SpriteSurface;
    EXPECT_GT(strip.Width(), 114 + 40);
    bool lit = false;
    for (std::int32_t y = 0; y < 32; ++y) {
        for (std::int32_t x = 0; x < 108; ++x)
            ASSERT_EQ(strip.Pixel(x, y), 0u);
        for (std::int32_t x = 108; x < strip.Width(); ++x)
            lit = lit || GreenOf(DeviceToColor(strip.Pixel(x, y))) > 100;
    }
    EXPECT_TRUE(lit);
}

TEST_F(ScreenGraphicsTest, ShiftJisTitleStripMatchesItsUtf8Form) {
    OpenPlayPackage();
    ComposePlayBackground(Package, Surfaces, PlayPicture{"", "ドラム"});
    const std::vector<std::uint8_t> utf8Strip = Surfaces.SpriteSurface->ToRgb();
    ComposePlayBackground(Package, Surfaces, PlayPicture{"", "\x83\x68\x83\x89\x83\x80"});
    EXPECT_EQ(Surfaces.SpriteSurface->ToRgb(), utf8Strip);
}

} // namespace tamtara::testing
