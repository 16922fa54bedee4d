// The software effects on locked pixels: additive stretch, rotated draw and translucent fill.
#include "platform/display/DirectDrawSurface.h"
#include "platform/display/Rgb565.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace tamtara {

namespace {

bool Inside(const TRect& rect, const TDirectDrawSurface& surface) {
    return !rect.Empty() && rect.Left >= 0 && rect.Top >= 0 && rect.Right <= surface.Width() &&
           rect.Bottom <= surface.Height();
}

// cos(i * 2 pi / 256) in 16.16 fixed point.
const std::array<std::int32_t, 256>& CosTable() {
    static const std::array<std::int32_t, 256> table = [] {
        std::array<std::int32_t, 256> t{};
        for (int i = 0; i < 256; ++i)
            t[i] = std::int32_t(std::lround(std::cos(i * 2 * std::numbers::pi / 256) * 65536));
        return t;
    }();
    return table;
}

// x / 255 for 0 <= x < 65536, without a division.
constexpr std::uint32_t Div255(std::uint32_t x) {
    return (x + 1 + (x >> 8)) >> 8;
}

// Source channels scaled by alpha / 255, looked up per pixel (6-bit index covers all three).
struct TAddTable {
    explicit TAddTable(std::uint32_t alpha) {
        for (std::uint32_t v = 0; v < 64; ++v)
            Scaled[v] = std::uint8_t(alpha >= 255 ? v : v * alpha / 255);
    }
    std::uint16_t Add(std::uint16_t dest, std::uint16_t source) const {
        std::uint32_t r = std::min<std::uint32_t>((dest >> 11) + Scaled[source >> 11], 31);
        std::uint32_t g = std::min<std::uint32_t>(((dest >> 5) & 63) + Scaled[(source >> 5) & 63], 63);
        std::uint32_t b = std::min<std::uint32_t>((dest & 31) + Scaled[source & 31], 31);
        return std::uint16_t((r << 11) | (g << 5) | b);
    }
    std::array<std::uint8_t, 64> Scaled{};
};

} // namespace

void TDirectDrawSurface::DrawAdd(const TRect& destRect, const TRect& srcRect,
                                 const TDirectDrawSurface& source, bool transparent, std::int32_t alpha) {
    if (!Surface || !source.Surface || alpha <= 0) return;
    if (destRect.Empty() || !Inside(srcRect, source)) return;
    const std::int64_t destW = std::int64_t(destRect.Right) - destRect.Left;
    const std::int64_t destH = std::int64_t(destRect.Bottom) - destRect.Top;
    const std::int64_t stepX = std::int64_t(srcRect.Width()) * 65536 / destW;
    const std::int64_t stepY = std::int64_t(srcRect.Height()) * 65536 / destH;
    const int left = std::max(destRect.Left, 0), top = std::max(destRect.Top, 0);
    const int right = std::min(destRect.Right, Width()), bottom = std::min(destRect.Bottom, Height());
    if (right <= left || bottom <= top) return;
    const TAddTable table(std::uint32_t(std::min(alpha, 255)));
    const bool keyed = transparent && source.ColorKeySet;
    const auto key = std::uint16_t(source.ColorKey);
    const SDL_Surface* src = source.Surface.get();
    for (int y = top; y < bottom; ++y) {
        int sy = srcRect.Top + int(((y - destRect.Top) * stepY) >> 16);
        const std::uint16_t* from = rgb565::Row(src, sy) + srcRect.Left;
        std::uint16_t* to = rgb565::Row(Surface.get(), y);
        std::int64_t fx = (left - std::int64_t(destRect.Left)) * stepX;
        for (int x = left; x < right; ++x, fx += stepX) {
            std::uint16_t s = from[fx >> 16];
            if (keyed && s == key) continue;
            to[x] = table.Add(to[x], s);
        }
    }
}

void TDirectDrawSurface::DrawRotate(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                                    const TRect& srcRect, const TDirectDrawSurface& source, double centerX,
                                    double centerY, bool transparent, std::int32_t angle) {
    // Negative sizes (the opening's last frames) draw nothing, like a size of zero.
    if (!Surface || !source.Surface || width <= 0 || height <= 0) return;
    if (!Inside(srcRect, source) || !std::isfinite(centerX) || !std::isfinite(centerY)) return;
    const auto& table = CosTable();
    const int a = angle & 255;
    const std::int64_t cosA = table[a], sinA = table[(a + 192) & 255]; // sin a = cos(a - 64)

    // Bounding box of the turned picture's corners.
    const double cx = centerX * width, cy = centerY * height;
    const double c = cosA / 65536.0, s = sinA / 65536.0;
    double minX = 1e18, maxX = -1e18, minY = 1e18, maxY = -1e18;
    for (double dx : {-cx, width - cx})
        for (double dy : {-cy, height - cy}) {
            double px = x + dx * c - dy * s, py = y + dx * s + dy * c;
            minX = std::min(minX, px);
            maxX = std::max(maxX, px);
            minY = std::min(minY, py);
            maxY = std::max(maxY, py);
        }
    const int left = int(std::max(std::floor(minX), 0.0));
    const int top = int(std::max(std::floor(minY), 0.0));
    const int right = int(std::min(std::ceil(maxX), double(Width())));
    const int bottom = int(std::min(std::ceil(maxY), double(Height())));
    if (right <= left || bottom <= top) return;

    // Inverse rotation from destination pixel centres back into the picture, then scaled to
    // source pixels, all in 16.16 fixed point (the products fit easily in 64 bits).
    const std::int64_t srcW = srcRect.Width(), srcH = srcRect.Height();
    const std::int64_t cx16 = std::llround(cx * 65536), cy16 = std::llround(cy * 65536);
    const std::int64_t stepUx = cosA * srcW / width, stepVx = -sinA * srcH / height;
    const bool keyed = transparent && source.ColorKeySet;
    const auto key = std::uint16_t(source.ColorKey);
    const SDL_Surface* src = source.Surface.get();
    for (int py = top; py < bottom; ++py) {
        const std::int64_t oy = (std::int64_t(py) - y) * 65536 + 32768;
        const std::int64_t ox = (std::int64_t(left) - x) * 65536 + 32768;
        // Picture coordinates (16.16) of the row's first pixel.
        const std::int64_t pu = ((ox * cosA + oy * sinA) >> 16) + cx16;
        const std::int64_t pv = ((-ox * sinA + oy * cosA) >> 16) + cy16;
        std::int64_t u = pu * srcW / width, v = pv * srcH / height;
        std::uint16_t* to = rgb565::Row(Surface.get(), py);
        for (int px = left; px < right; ++px, u += stepUx, v += stepVx) {
            const std::int64_t su = u >> 16, sv = v >> 16;
            if (su < 0 || sv < 0 || su >= srcW || sv >= srcH) continue;
            std::uint16_t pixel = rgb565::Row(src, srcRect.Top + int(sv))[srcRect.Left + su];
            if (keyed && pixel == key) continue;
            to[px] = pixel;
        }
    }
}

void TDirectDrawSurface::FillRectAlpha(const TRect& rect, TColor color, std::int32_t alpha) {
    if (!Surface) return;
    const int left = std::max(rect.Left, 0), top = std::max(rect.Top, 0);
    const int right = std::min(rect.Right, Width()), bottom = std::min(rect.Bottom, Height());
    if (right <= left || bottom <= top) return;
    const auto a = std::uint32_t(std::clamp(alpha, 0, 255)), keep = 255 - a;
    const auto c = std::uint16_t(ColorToDevice(color));
    // Every channel value the destination can hold, blended once; the loop only looks up.
    std::array<std::uint16_t, 32> red{}, blue{};
    std::array<std::uint16_t, 64> green{};
    for (std::uint32_t v = 0; v < 64; ++v) {
        green[v] = std::uint16_t(Div255(((c >> 5) & 63) * a + v * keep) << 5);
        if (v < 32) {
            red[v] = std::uint16_t(Div255((c >> 11) * a + v * keep) << 11);
            blue[v] = std::uint16_t(Div255((c & 31) * a + v * keep));
        }
    }
    for (int y = top; y < bottom; ++y) {
        std::uint16_t* row = rgb565::Row(Surface.get(), y);
        for (int x = left; x < right; ++x) {
            const std::uint16_t d = row[x];
            row[x] = std::uint16_t(red[d >> 11] | green[(d >> 5) & 63] | blue[d & 31]);
        }
    }
}

} // namespace tamtara
