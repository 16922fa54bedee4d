// Pixel operations of the art raster: fills, gradients and anti-aliased shapes.
#include "Raster.h"

#include <algorithm>
#include <cmath>

namespace tamtara {

namespace {

std::uint8_t Clamp8(double v) {
    return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}

// Distance from p to the segment a-b.
double SegmentDistance(double px, double py, double ax, double ay, double bx, double by) {
    const double dx = bx - ax, dy = by - ay;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((px - ax) * dx + (py - ay) * dy) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    const double qx = ax + t * dx - px, qy = ay + t * dy - py;
    return std::sqrt(qx * qx + qy * qy);
}

bool InsideRounded(double px, double py, Rect r, double radius) {
    const double cx = std::clamp(px, r.X + radius, r.Right() - radius);
    const double cy = std::clamp(py, r.Y + radius, r.Bottom() - radius);
    const double dx = px - cx, dy = py - cy;
    return px >= r.X && py >= r.Y && px <= r.Right() && py <= r.Bottom() &&
           dx * dx + dy * dy <= radius * radius;
}

} // namespace

Rgb Mix(Rgb a, Rgb b, double t) {
    return {Clamp8(a.R + (b.R - a.R) * t), Clamp8(a.G + (b.G - a.G) * t), Clamp8(a.B + (b.B - a.B) * t)};
}

Rgb Scale(Rgb c, double factor) {
    return {Clamp8(c.R * factor), Clamp8(c.G * factor), Clamp8(c.B * factor)};
}

std::uint16_t Pack565(Rgb c) {
    return static_cast<std::uint16_t>(((c.R >> 3) << 11) | ((c.G >> 2) << 5) | (c.B >> 3));
}

Rgb ToRgb565(Rgb c) {
    // Expands the kept bits by replication, as a 16-bit surface read back to 8 bits does.
    const int r = c.R >> 3, g = c.G >> 2, b = c.B >> 3;
    return {static_cast<std::uint8_t>((r << 3) | (r >> 2)), static_cast<std::uint8_t>((g << 2) | (g >> 4)),
            static_cast<std::uint8_t>((b << 3) | (b >> 2))};
}

Image::Image(int width, int height, Rgb fill)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height, fill) {}

void Image::Blend(int x, int y, Rgb c, double a) {
    if (!Contains(x, y) || a <= 0) return;
    Rgb& p = pixels_[Index(x, y)];
    p = a >= 1 ? c : Mix(p, c, a);
}

void Image::Fill(Rect r, Rgb c) {
    for (int y = std::max(r.Y, 0); y < std::min(r.Bottom(), height_); ++y)
        for (int x = std::max(r.X, 0); x < std::min(r.Right(), width_); ++x)
            pixels_[Index(x, y)] = c;
}

void Image::VerticalGradient(Rect r, Rgb top, Rgb bottom) {
    for (int y = r.Y; y < r.Bottom(); ++y)
        Fill({r.X, y, r.W, 1}, Mix(top, bottom, r.H > 1 ? double(y - r.Y) / (r.H - 1) : 0));
}

void Image::HorizontalGradient(Rect r, Rgb left, Rgb right) {
    for (int x = r.X; x < r.Right(); ++x)
        Fill({x, r.Y, 1, r.H}, Mix(left, right, r.W > 1 ? double(x - r.X) / (r.W - 1) : 0));
}

void Image::Frame(Rect r, Rgb c, int t) {
    Fill({r.X, r.Y, r.W, t}, c);
    Fill({r.X, r.Bottom() - t, r.W, t}, c);
    Fill({r.X, r.Y, t, r.H}, c);
    Fill({r.Right() - t, r.Y, t, r.H}, c);
}

void Image::Bevel(Rect r, Rgb light, Rgb dark, int t) {
    Fill({r.X, r.Bottom() - t, r.W, t}, dark);
    Fill({r.Right() - t, r.Y, t, r.H}, dark);
    Fill({r.X, r.Y, r.W - t, t}, light);
    Fill({r.X, r.Y, t, r.H - t}, light);
}

template <class Coverage> void Image::Shade(Rect b, Rgb c, double alpha, Coverage inside) {
    for (int y = std::max(b.Y, 0); y < std::min(b.Bottom(), height_); ++y)
        for (int x = std::max(b.X, 0); x < std::min(b.Right(), width_); ++x) {
            int hits = 0;
            for (int sy = 0; sy < 4; ++sy)
                for (int sx = 0; sx < 4; ++sx)
                    hits += inside(x + (sx + 0.5) / 4, y + (sy + 0.5) / 4) ? 1 : 0;
            if (hits) Blend(x, y, c, alpha * hits / 16.0);
        }
}

void Image::RoundedRect(Rect r, double radius, Rgb c, double alpha) {
    Shade(r, c, alpha, [&](double px, double py) { return InsideRounded(px, py, r, radius); });
}

void Image::RoundedGradient(Rect r, double radius, Rgb top, Rgb bottom) {
    for (int y = r.Y; y < r.Bottom(); ++y) {
        const Rgb c = Mix(top, bottom, r.H > 1 ? double(y - r.Y) / (r.H - 1) : 0);
        Shade({r.X, y, r.W, 1}, c, 1.0,
              [&](double px, double py) { return InsideRounded(px, py, r, radius); });
    }
}

void Image::Disc(double cx, double cy, double radius, Rgb c, double alpha) {
    Ring(cx, cy, -1, radius, c, alpha);
}

void Image::Ring(double cx, double cy, double inner, double outer, Rgb c, double alpha) {
    const Rect b{int(std::floor(cx - outer)) - 1, int(std::floor(cy - outer)) - 1, int(outer * 2) + 3,
                 int(outer * 2) + 3};
    Shade(b, c, alpha, [&](double px, double py) {
        const double d2 = (px - cx) * (px - cx) + (py - cy) * (py - cy);
        return d2 <= outer * outer && (inner < 0 || d2 >= inner * inner);
    });
}

void Image::Line(double x0, double y0, double x1, double y1, double width, Rgb c, double alpha) {
    const double h = width / 2;
    const Rect b{int(std::floor(std::min(x0, x1) - h)) - 1, int(std::floor(std::min(y0, y1) - h)) - 1,
                 int(std::abs(x1 - x0) + width) + 3, int(std::abs(y1 - y0) + width) + 3};
    Shade(b, c, alpha, [&](double px, double py) { return SegmentDistance(px, py, x0, y0, x1, y1) <= h; });
}

void Image::Polygon(const std::vector<double>& xy, Rgb c, double alpha) {
    double minX = 1e9, minY = 1e9, maxX = -1e9, maxY = -1e9;
    for (std::size_t i = 0; i + 1 < xy.size(); i += 2) {
        minX = std::min(minX, xy[i]), maxX = std::max(maxX, xy[i]);
        minY = std::min(minY, xy[i + 1]), maxY = std::max(maxY, xy[i + 1]);
    }
    const Rect b{int(std::floor(minX)), int(std::floor(minY)), int(maxX - minX) + 2, int(maxY - minY) + 2};
    const std::size_t n = xy.size() / 2;
    Shade(b, c, alpha, [&](double px, double py) {
        bool in = false; // even-odd rule
        for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
            const double xi = xy[2 * i], yi = xy[2 * i + 1], xj = xy[2 * j], yj = xy[2 * j + 1];
            if ((yi > py) != (yj > py) && px < (xj - xi) * (py - yi) / (yj - yi) + xi) in = !in;
        }
        return in;
    });
}

void Image::Paste(const Image& src, int x, int y) {
    for (int sy = 0; sy < src.Height(); ++sy)
        for (int sx = 0; sx < src.Width(); ++sx)
            Set(x + sx, y + sy, src.At(sx, sy));
}

void Image::PasteKeyed(const Image& src, int x, int y, Rgb key) {
    for (int sy = 0; sy < src.Height(); ++sy)
        for (int sx = 0; sx < src.Width(); ++sx)
            if (!(src.At(sx, sy) == key)) Set(x + sx, y + sy, src.At(sx, sy));
}

Image Image::Crop(Rect r) const {
    Image out(r.W, r.H);
    for (int y = 0; y < r.H; ++y)
        for (int x = 0; x < r.W; ++x)
            if (Contains(r.X + x, r.Y + y)) out.Set(x, y, At(r.X + x, r.Y + y));
    return out;
}

void Image::QuantiseForKey(const Rgb* key) {
    const std::uint16_t keyValue = key ? Pack565(*key) : 0;
    for (Rgb& p : pixels_) {
        if (key && p == *key) continue;
        if (key && Pack565(p) == keyValue) {
            // One green step keeps the look and takes the pixel off the key.
            p.G = p.G >= 8 ? p.G - 4 : p.G + 4;
        }
        p = ToRgb565(p);
    }
}

std::vector<std::uint8_t> Image::ToRgbBytes() const {
    std::vector<std::uint8_t> out;
    out.reserve(pixels_.size() * 3);
    for (const Rgb& p : pixels_)
        out.insert(out.end(), {p.R, p.G, p.B});
    return out;
}

} // namespace tamtara
