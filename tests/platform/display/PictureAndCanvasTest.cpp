// Canvas text in the game's two fonts, brushes and rectangles, pictures, and JPEG decoding.
#include "HostileFiles.h"
#include "base/Stream.h"
#include "platform/display/DirectDrawSurface.h"
#include "platform/display/ImageDecoders.h"
#include "platform/display/SurfaceCanvas.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <jpeglib.h>

namespace tamtara {
namespace {

int CountPixels(const TDirectDrawSurface& s, std::uint32_t value) {
    int n = 0;
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x)
            n += s.Pixel(x, y) == value;
    return n;
}

TEST(CanvasFont, WindowsFamiliesResolveToTheirStandIns) {
    TDirectDrawSurface s;
    s.SetSize(8, 8);
    TDirectDrawSurfaceCanvas& canvas = s.Canvas();
    canvas.Font.Name = "ＭＳ Ｐゴシック";
    EXPECT_EQ(canvas.ResolvedFamily(), "IPAPGothic");
    canvas.Font.Name = "Times New Roman";
    EXPECT_EQ(canvas.ResolvedFamily(), "Liberation Serif");
}

TEST(CanvasFont, NegativeHeightIsTheCharacterHeightPositiveTheCell) {
    TDirectDrawSurface s;
    s.SetSize(8, 8);
    TDirectDrawSurfaceCanvas& canvas = s.Canvas();
    canvas.Font.Name = "Times New Roman";
    canvas.Font.Height = 240;
    EXPECT_NEAR(canvas.TextHeight("S"), 240, 6);
    canvas.Font.Height = -240;
    EXPECT_GT(canvas.TextHeight("S"), 250);
}

TEST(CanvasText, ProportionalWidthAndJapaneseText) {
    TDirectDrawSurface s;
    s.SetSize(8, 8);
    TDirectDrawSurfaceCanvas& canvas = s.Canvas();
    canvas.Font.Height = -28;
    EXPECT_LT(canvas.TextWidth("iiii"), canvas.TextWidth("WWWW"));
    EXPECT_EQ(canvas.TextWidth(""), 0);
    const int plain = canvas.TextWidth("演奏時間");
    EXPECT_GT(plain, 4 * 20);
    canvas.Font.Style.Include(TFontStyle::fsBold);
    EXPECT_GE(canvas.TextWidth("演奏時間"), plain);
}

TEST(CanvasText, ClearBrushWritesOnlyGlyphsInTheFontColour) {
    TDirectDrawSurface s;
    s.SetSize(200, 40);
    s.Fill(0x0010);
    TDirectDrawSurfaceCanvas& canvas = s.Canvas();
    canvas.Font.Color = clLime;
    canvas.Font.Height = -22;
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.TextOut(4, 2, "ENTERで決定");
    s.ReleaseCanvas();
    EXPECT_GT(CountPixels(s, 0x07E0), 40);
    EXPECT_EQ(s.Pixel(199, 39), 0x0010u);
    EXPECT_EQ(s.Pixel(1, 1), 0x0010u);
    // Nothing written in another hue: every changed pixel lies between background and lime.
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 200; ++x) {
            TColor c = DeviceToColor(s.Pixel(x, y));
            ASSERT_LE(RedOf(c), 3);
        }
}

TEST(CanvasText, SolidBrushFillsTheTextCell) {
    TDirectDrawSurface s;
    s.SetSize(200, 40);
    TDirectDrawSurfaceCanvas& canvas = s.Canvas();
    canvas.Font.Height = -20;
    canvas.Font.Color = clBlack;
    canvas.Brush.Color = clYellow;
    canvas.TextOut(10, 5, "A");
    const int w = canvas.TextWidth("A"), h = canvas.TextHeight("A");
    EXPECT_EQ(s.Pixel(10, 5), 0xFFE0u);
    EXPECT_EQ(s.Pixel(10 + w - 1, 5 + h - 1), 0xFFE0u);
    EXPECT_EQ(s.Pixel(10 + w, 5), 0u);
    EXPECT_EQ(s.Pixel(10, 5 + h), 0u);
    EXPECT_GT(CountPixels(s, 0), 200 * 40 - w * h);
    EXPECT_EQ(s.Pixel(9, 5), 0u);
}

TEST(CanvasShapes, FillRectAndRectangleUseBrushAndPen) {
    TDirectDrawSurface s;
    s.SetSize(20, 20);
    TDirectDrawSurfaceCanvas& canvas = s.Canvas();
    canvas.Brush.Color = clRed;
    canvas.FillRect(TRect{2, 2, 6, 6});
    EXPECT_EQ(CountPixels(s, 0xF800), 16);
    canvas.Pen.Color = clWhite;
    canvas.Rectangle(10, 10, 15, 15);
    EXPECT_EQ(s.Pixel(10, 10), 0xFFFFu);
    EXPECT_EQ(s.Pixel(14, 12), 0xFFFFu);
    EXPECT_EQ(s.Pixel(12, 12), 0xF800u);
    EXPECT_EQ(s.Pixel(15, 15), 0u);
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.FillRect(TRect{0, 0, 20, 20});
    EXPECT_EQ(s.Pixel(0, 0), 0u);
}

TEST(CanvasPicture, SmallPictureIsCentredLargeOneCropped) {
    TDirectDrawSurface back, small, large;
    back.SetSize(640, 480);
    small.SetSize(320, 240);
    small.Fill(0xFFFF);
    back.Canvas().Draw(320 - 320 / 2, 240 - 240 / 2, small);
    EXPECT_EQ(back.Pixel(159, 119), 0u);
    EXPECT_EQ(back.Pixel(160, 120), 0xFFFFu);
    EXPECT_EQ(back.Pixel(479, 359), 0xFFFFu);
    EXPECT_EQ(back.Pixel(480, 360), 0u);
    large.SetSize(800, 600);
    large.Fill(0x001F);
    large.SetPixel(80, 60, 0xF800);
    back.Canvas().Draw(320 - 800 / 2, 240 - 600 / 2, large);
    EXPECT_EQ(back.Pixel(0, 0), 0xF800u);
    EXPECT_EQ(back.Pixel(639, 479), 0x001Fu);
}

TEST(CanvasPicture, StretchDrawScalesByNearestPixel) {
    TDirectDrawSurface back, picture;
    back.SetSize(10, 10);
    picture.SetSize(2, 1);
    picture.SetPixel(0, 0, 0xF800);
    picture.SetPixel(1, 0, 0x001F);
    back.Canvas().StretchDraw(TRect{0, 0, 4, 2}, picture);
    EXPECT_EQ(back.Pixel(1, 1), 0xF800u);
    EXPECT_EQ(back.Pixel(2, 0), 0x001Fu);
    EXPECT_EQ(back.Pixel(4, 0), 0u);
}

std::vector<std::uint8_t> EncodeJpeg(int width, int height, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<std::uint8_t> row(std::size_t(width) * 3);
    for (int x = 0; x < width; ++x) {
        row[3 * x] = r;
        row[3 * x + 1] = g;
        row[3 * x + 2] = b;
    }
    while (info.next_scanline < info.image_height) {
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&info, &p, 1);
    }
    jpeg_finish_compress(&info);
    std::vector<std::uint8_t> bytes(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return bytes;
}

TEST(JpegLoad, DecodesColourAndSize) {
    TMemoryStream stream(EncodeJpeg(33, 17, 200, 40, 40));
    TDirectDrawSurface s;
    s.LoadJpegFromStream(stream);
    ASSERT_EQ(s.Width(), 33);
    ASSERT_EQ(s.Height(), 17);
    TColor c = DeviceToColor(s.Pixel(16, 8));
    EXPECT_NEAR(RedOf(c), 200, 10);
    EXPECT_NEAR(GreenOf(c), 40, 10);
    EXPECT_NEAR(BlueOf(c), 40, 10);
}

TEST(JpegLoad, CorruptFilesRaiseOrDecodeButNeverCrash) {
    const std::vector<std::uint8_t> good = EncodeJpeg(64, 64, 10, 200, 10);
    TDirectDrawSurface s;
    TMemoryStream notJpeg(std::vector<std::uint8_t>{'B', 'M', 0, 0, 0});
    EXPECT_THROW(s.LoadJpegFromStream(notJpeg), EInvalidGraphic);
    TMemoryStream header(std::vector<std::uint8_t>(good.begin(), good.begin() + 40));
    EXPECT_THROW(s.LoadJpegFromStream(header), EInvalidGraphic);
    // Truncated or scribbled-over scan data: libjpeg fills in what it cannot read.
    for (std::size_t cut : {good.size() / 2, good.size() - 2}) {
        TMemoryStream truncated(std::vector<std::uint8_t>(good.begin(), good.begin() + std::ptrdiff_t(cut)));
        try {
            s.LoadJpegFromStream(truncated);
        } catch (const EInvalidGraphic&) {
        }
    }
    std::vector<std::uint8_t> scribbled = good;
    for (std::size_t i = good.size() / 3; i < good.size(); i += 7)
        scribbled[i] ^= 0x5A;
    TMemoryStream bad(scribbled);
    try {
        s.LoadJpegFromStream(bad);
    } catch (const EInvalidGraphic&) {
    }
}

// Pictures that cost far more to decode than their size suggests are refused, each for its own
// reason, while an honest progressive picture of the same kind still decodes.
TEST(JpegLoad, PictureBombsAreRefusedByTheLimits) {
    const struct {
        const char* Name;
        std::vector<std::uint8_t> Bytes;
        const char* Reason;
    } bombs[] = {
        {"declares 16384 x 4096", hostile::JpegBomb(16384, 4096), "too large"},
        {"needs over 60 MB of decoder memory", hostile::JpegBomb(4096, 4000, true), "Backing store"},
        {"190 scans", hostile::ManyScanJpeg(64, 64), "scans"},
    };
    for (const auto& bomb : bombs) {
        TMemoryStream stream(bomb.Bytes);
        TDirectDrawSurface s;
        try {
            s.LoadJpegFromStream(stream);
            ADD_FAILURE() << bomb.Name << ": decoded " << s.Width() << " x " << s.Height();
        } catch (const EInvalidGraphic& error) {
            EXPECT_NE(std::string(error.what()).find(bomb.Reason), std::string::npos) << error.what();
        }
    }
    TMemoryStream honest(hostile::JpegBomb(16, 16));
    TDirectDrawSurface s;
    s.LoadJpegFromStream(honest);
    EXPECT_EQ(s.Width(), 16);
}

TEST(JpegLoad, KeepsOnlyTheCentredWindowAsked) {
    TMemoryStream stream(EncodeJpeg(101, 51, 200, 40, 40));
    TDirectDrawSurface s;
    s.LoadJpegFromStream(stream, 64, 0);
    EXPECT_EQ(s.Width(), 64);
    EXPECT_EQ(s.Height(), 51);
    EXPECT_EQ(KeptSpan(101, 64).Start, 50 - 32);
    EXPECT_EQ(KeptSpan(48, 64).Length, 48);
}

} // namespace
} // namespace tamtara
