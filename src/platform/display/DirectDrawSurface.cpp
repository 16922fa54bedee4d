// Surface creation, loading, the clipped blit, fills, pixel access and PNG output.
#include "platform/display/DirectDrawSurface.h"

#include "base/PngWriter.h"
#include "platform/display/ImageDecoders.h"
#include "platform/display/Rgb565.h"
#include "platform/display/SurfaceCanvas.h"

#include <algorithm>
#include <cstring>

namespace tamtara {

TColor DeviceToColor(std::uint32_t deviceColor) {
    auto p = std::uint16_t(deviceColor);
    return ColorRGB(rgb565::Red8(p), rgb565::Green8(p), rgb565::Blue8(p));
}

std::uint32_t ColorToDevice(TColor color) {
    TColor rgb = ColorToRGB(color);
    return rgb565::Pack(RedOf(rgb), GreenOf(rgb), BlueOf(rgb));
}

void TDirectDrawSurface::SurfaceDeleter::operator()(SDL_Surface* surface) const {
    SDL_FreeSurface(surface);
}

TDirectDrawSurface::TDirectDrawSurface() = default;
TDirectDrawSurface::~TDirectDrawSurface() = default;

std::int32_t TDirectDrawSurface::Width() const {
    return Surface ? Surface->w : 0;
}
std::int32_t TDirectDrawSurface::Height() const {
    return Surface ? Surface->h : 0;
}
bool TDirectDrawSurface::Absent() const {
    return !Surface;
}

void TDirectDrawSurface::Adopt(SDL_Surface* surface) {
    Surface.reset(surface);
}

void TDirectDrawSurface::SetSize(std::int32_t width, std::int32_t height) {
    if (width <= 0 || height <= 0) {
        Surface.reset();
        return;
    }
    SDL_Surface* created = nullptr;
    if (width <= MaxImageSide && height <= MaxImageSide) created = rgb565::Create(width, height);
    if (!created)
        throw EDirectDrawSurfaceError("サーフェース を作成できません", std::to_string(width) + " x " +
                                                                           std::to_string(height) + ": " +
                                                                           SDL_GetError());
    Adopt(created);
}

namespace {
void CopyIntoSurface(TDirectDrawSurface& target, const TDecodedImage& image) {
    target.SetSize(image.Width, image.Height);
    SDL_Surface* s = target.Handle();
    for (int y = 0; y < image.Height; ++y)
        std::memcpy(rgb565::Row(s, y), image.Pixels.data() + std::size_t(y) * image.Width,
                    std::size_t(image.Width) * 2);
}
} // namespace

void TDirectDrawSurface::LoadFromStream(TStream& stream, std::int32_t keepWidth, std::int32_t keepHeight) {
    std::optional<TDecodedImage> image = DecodeBmp(stream);
    if (image && image->Width > 0 && image->Height > 0)
        CopyIntoSurface(*this, KeepWindow(std::move(*image), TKeepWindow{keepWidth, keepHeight}));
}

void TDirectDrawSurface::LoadJpegFromStream(TStream& stream, std::int32_t keepWidth,
                                            std::int32_t keepHeight) {
    TDecodedImage image = DecodeJpeg(stream, TKeepWindow{keepWidth, keepHeight});
    CopyIntoSurface(*this, image);
}

void TDirectDrawSurface::Draw(std::int32_t x, std::int32_t y, const TRect& srcRect,
                              const TDirectDrawSurface& source, bool transparent) {
    if (!Surface || !source.Surface || x > Width() || y > Height()) return;
    // 64-bit so that extreme coordinates cannot overflow while clipping.
    std::int64_t sl = srcRect.Left, st = srcRect.Top, sr = srcRect.Right, sb = srcRect.Bottom;
    std::int64_t dl = x, dt = y, dr = dl + (sr - sl), db = dt + (sb - st);
    if (dl < 0) {
        sl -= dl;
        dl = 0;
    }
    if (dt < 0) {
        st -= dt;
        dt = 0;
    }
    if (sl < 0) {
        dl -= sl;
        sl = 0;
    }
    if (st < 0) {
        dt -= st;
        st = 0;
    }
    if (dr > Width()) {
        sr -= dr - Width();
        dr = Width();
    }
    if (db > Height()) {
        sb -= db - Height();
        db = Height();
    }
    if (sr > source.Width()) {
        dr -= sr - source.Width();
        sr = source.Width();
    }
    if (sb > source.Height()) {
        db -= sb - source.Height();
        sb = source.Height();
    }
    if (dr <= dl || db <= dt || sr <= sl || sb <= st) return;
    // Every clipping step moves one edge of both rectangles by the same amount, so they
    // keep the same size.
    const int w = int(dr - dl), h = int(db - dt);

    const SDL_Surface* src = source.Surface.get();
    SDL_Surface* dst = Surface.get();
    std::vector<std::uint16_t> copy;
    int srcX = int(sl), srcY = int(st);
    if (src == dst) {
        // Overlapping self-copies read from a snapshot of the source rectangle.
        copy.resize(std::size_t(w) * h);
        for (int row = 0; row < h; ++row)
            std::memcpy(&copy[std::size_t(row) * w], rgb565::Row(src, srcY + row) + srcX, std::size_t(w) * 2);
    }
    auto sourceRow = [&](int row) -> const std::uint16_t* {
        return copy.empty() ? rgb565::Row(src, srcY + row) + srcX : &copy[std::size_t(row) * w];
    };
    const bool keyed = transparent && source.ColorKeySet;
    const auto key = std::uint16_t(source.ColorKey);
    for (int row = 0; row < h; ++row) {
        const std::uint16_t* from = sourceRow(row);
        std::uint16_t* to = rgb565::Row(dst, int(dt) + row) + dl;
        if (!keyed) {
            std::memcpy(to, from, std::size_t(w) * 2);
        } else {
            // Written as a select so the compiler can vectorise it.
            for (int i = 0; i < w; ++i)
                to[i] = from[i] == key ? to[i] : from[i];
        }
    }
}

void TDirectDrawSurface::Fill(std::uint32_t deviceColor) {
    if (Surface) SDL_FillRect(Surface.get(), nullptr, deviceColor & 0xFFFF);
}

void TDirectDrawSurface::FillRect(const TRect& rect, std::uint32_t deviceColor) {
    if (!Surface) return;
    TRect r{std::max(rect.Left, 0), std::max(rect.Top, 0), std::min(rect.Right, Width()),
            std::min(rect.Bottom, Height())};
    if (r.Empty()) return;
    SDL_Rect area{r.Left, r.Top, r.Width(), r.Height()};
    SDL_FillRect(Surface.get(), &area, deviceColor & 0xFFFF);
}

std::uint32_t TDirectDrawSurface::ColorMatch(TColor color) const {
    // GDI on a 16-bit surface keeps the top bits of each channel; that is all the round trip
    // through pixel (0, 0) would find out, so it is computed directly and (0, 0) is untouched.
    if (!Surface) return 0;
    return ColorToDevice(color);
}

std::uint32_t TDirectDrawSurface::Pixel(std::int32_t x, std::int32_t y) const {
    if (!Surface || x < 0 || y < 0 || x >= Width() || y >= Height()) return 0;
    return rgb565::Row(Surface.get(), y)[x];
}

void TDirectDrawSurface::SetPixel(std::int32_t x, std::int32_t y, std::uint32_t deviceColor) {
    if (!Surface || x < 0 || y < 0 || x >= Width() || y >= Height()) return;
    rgb565::Row(Surface.get(), y)[x] = std::uint16_t(deviceColor);
}

void TDirectDrawSurface::SetTransparentColor(std::uint32_t deviceColor) {
    ColorKey = deviceColor & 0xFFFF;
    ColorKeySet = true;
}

TDirectDrawSurfaceCanvas& TDirectDrawSurface::Canvas() {
    if (!CanvasObject) CanvasObject = std::make_unique<TDirectDrawSurfaceCanvas>(*this);
    return *CanvasObject;
}

void TDirectDrawSurface::ReleaseCanvas() {
    if (CanvasObject) CanvasObject->Release();
}

std::vector<std::uint8_t> TDirectDrawSurface::ToRgb() const {
    std::vector<std::uint8_t> rgb;
    if (!Surface) return rgb;
    rgb.reserve(std::size_t(Width()) * Height() * 3);
    for (int y = 0; y < Height(); ++y) {
        const std::uint16_t* row = rgb565::Row(Surface.get(), y);
        for (int x = 0; x < Width(); ++x) {
            rgb.push_back(rgb565::Red8(row[x]));
            rgb.push_back(rgb565::Green8(row[x]));
            rgb.push_back(rgb565::Blue8(row[x]));
        }
    }
    return rgb;
}

bool TDirectDrawSurface::SaveToPng(const std::string& path, std::string* error) const {
    if (!Surface) {
        if (error) *error = "cannot write " + path + ": the surface has no picture";
        return false;
    }
    return WritePng(path, Width(), Height(), ToRgb(), error);
}

} // namespace tamtara
