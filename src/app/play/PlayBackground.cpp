// Play background and title strip composition.
#include "app/play/PlayBackground.h"

#include "base/Stream.h"
#include "platform/display/DirectDrawSurface.h"
#include "platform/display/SurfaceCanvas.h"
#include "platform/text/SongText.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace tamtara {

namespace {

struct LaneStripe {
    std::int32_t X;
    std::int32_t Width;
    TColor Colour;
};

constexpr std::array<LaneStripe, 7> LaneStripes{{
    {163, 45, ColorRGB(128, 96, 0)},
    {211, 45, ColorRGB(128, 0, 0)},
    {259, 58, ColorRGB(96, 96, 96)},
    {320, 31, ColorRGB(0, 96, 0)},
    {354, 31, ColorRGB(0, 32, 128)},
    {385, 31, ColorRGB(0, 0, 160)},
    {418, 59, ColorRGB(128, 96, 0)},
}};

bool IsFile(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

// Draws the song picture centred (a larger one cropped); false when there is none or it cannot
// be read, in which case the caller falls back to the default background.
bool DrawSongPicture(TDirectDrawSurface& back, const PlayPicture& song) {
    const std::string path = SongPicturePath(song.SongFile);
    if (path.empty()) return false;
    TDirectDrawSurface picture;
    try {
        LoadSongPicture(path, picture);
    } catch (const std::exception& error) {
        // A broken picture must not make its song unplayable: say so and play over the default.
        if (song.OnPictureRefused)
            song.OnPictureRefused(path, error.what());
        else
            std::fprintf(stderr, "Tamtara: cannot read the song picture \"%s\": %s\n", path.c_str(),
                         error.what());
        return false;
    }
    if (picture.Absent()) return false;
    back.SetSize(640, 480);
    back.Fill(0);
    back.Canvas().Draw(320 - picture.Width() / 2, 240 - picture.Height() / 2, picture);
    back.ReleaseCanvas();
    return true;
}

} // namespace

std::string SongPicturePath(const std::string& songFile) {
    if (songFile.empty()) return {};
    std::filesystem::path path(songFile);
    for (const char* extension : {".bmp", ".jpg"}) {
        path.replace_extension(extension);
        if (IsFile(path)) return path.string();
    }
    return {};
}

void LoadSongPicture(const std::string& path, TDirectDrawSurface& picture) {
    TFileStream stream(path);
    const std::int64_t size = stream.Size();
    if (size > MaxSongPictureBytes)
        throw EInvalidGraphic("picture file too large",
                              std::to_string(size) + " bytes, over the 32 MB limit for a song picture");
    // Drawn centred on the 640 x 480 background: only that much of a larger picture is kept.
    if (std::filesystem::path(path).extension() == ".bmp")
        picture.LoadFromStream(stream, 640, 480);
    else
        picture.LoadJpegFromStream(stream, 640, 480);
}

void ComposePlayBackground(TReadPackageFile& package, ScreenSurfaces& s, const PlayPicture& song) {
    LoadGraphic(package, *s.OverlaySurface, "skin2.bmp", KeyMode::WithKey);
    TDirectDrawSurface& back = *s.BackSurface;
    if (!DrawSongPicture(back, song)) LoadGraphic(package, back, "Back.bmp", KeyMode::NoKey);
    for (const LaneStripe& stripe : LaneStripes)
        back.FillRectAlpha(Bounds(stripe.X, 0, stripe.Width, 391), stripe.Colour, 96);
    back.Draw(0, 0, TRect{0, 0, 640, 480}, *s.OverlaySurface, true);
    ComposeTitleStrip(*s.SpriteSurface, SongLabel(song.SongTitle, song.SongFile));
}

void ComposeTitleStrip(TDirectDrawSurface& strip, const std::string& title) {
    const auto setFont = [](TDirectDrawSurfaceCanvas& canvas) {
        canvas.Font.Name = "ＭＳ Ｐゴシック";
        canvas.Font.Charset = SHIFTJIS_CHARSET;
        canvas.Font.Color = clLime;
        canvas.Font.Height = -28;
        canvas.Font.Style = TFontStyles{};
    };
    strip.SetSize(8, 8);
    setFont(strip.Canvas());
    const std::int32_t w = title.empty() ? 0 : strip.Canvas().TextWidth(title);
    strip.ReleaseCanvas();

    strip.SetSize(w + 114, 32);
    strip.Fill(0);
    TDirectDrawSurfaceCanvas& canvas = strip.Canvas();
    setFont(canvas);
    canvas.Brush.Style = TBrushStyle::bsClear;
    if (!title.empty()) canvas.TextOut(108, 0, title);
    strip.ReleaseCanvas();
    for (std::int32_t i = 0; i <= 16; ++i)
        strip.FillRectAlpha(Bounds(0, 2 * i, strip.Width(), 1), clBlack, 80);
}

} // namespace tamtara
