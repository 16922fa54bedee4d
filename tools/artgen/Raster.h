// A small RGB raster and the drawing operations every sheet of the art is built from.
#pragma once

#include <cstdint>
#include <vector>

namespace tamtara {

struct Rgb {
    std::uint8_t R = 0, G = 0, B = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

struct Rect {
    int X = 0, Y = 0, W = 0, H = 0;
    int Right() const { return X + W; }
    int Bottom() const { return Y + H; }
};

Rgb Mix(Rgb a, Rgb b, double t); // t = 0 gives a, 1 gives b
Rgb Scale(Rgb c, double factor); // brightness, clamped
Rgb ToRgb565(Rgb c);             // what the 16-bit display makes of c
std::uint16_t Pack565(Rgb c);

class Image {
public:
    Image() = default;
    Image(int width, int height, Rgb fill = {});

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    Rgb At(int x, int y) const { return pixels_[Index(x, y)]; }
    void Set(int x, int y, Rgb c) {
        if (Contains(x, y)) pixels_[Index(x, y)] = c;
    }
    // Mixes c over the pixel with coverage a (0..1); outside pixels are ignored.
    void Blend(int x, int y, Rgb c, double a);

    void Fill(Rect r, Rgb c);
    void VerticalGradient(Rect r, Rgb top, Rgb bottom);
    void HorizontalGradient(Rect r, Rgb left, Rgb right);
    void Frame(Rect r, Rgb c, int thickness = 1);
    // Raised edge: light top-left, dark bottom-right, like a pressed metal plate.
    void Bevel(Rect r, Rgb light, Rgb dark, int thickness = 1);
    // Anti-aliased shapes; coverage is estimated on a 4 × 4 subpixel grid.
    void RoundedRect(Rect r, double radius, Rgb c, double alpha = 1.0);
    void RoundedGradient(Rect r, double radius, Rgb top, Rgb bottom);
    void Disc(double cx, double cy, double radius, Rgb c, double alpha = 1.0);
    void Ring(double cx, double cy, double inner, double outer, Rgb c, double alpha = 1.0);
    void Line(double x0, double y0, double x1, double y1, double width, Rgb c, double alpha = 1.0);
    void Polygon(const std::vector<double>& xy, Rgb c, double alpha = 1.0);

    // Copies src (all of it) with its top-left corner at (x, y).
    void Paste(const Image& src, int x, int y);
    // Copies src except pixels equal to key.
    void PasteKeyed(const Image& src, int x, int y, Rgb key);
    Image Crop(Rect r) const;

    // Rounds every pixel to RGB565 and moves any pixel other than the key off the key's value,
    // so that the game's colour key removes exactly the pixels meant to be transparent.
    void QuantiseForKey(const Rgb* key);

    const std::vector<Rgb>& Pixels() const { return pixels_; }
    std::vector<std::uint8_t> ToRgbBytes() const;

private:
    std::size_t Index(int x, int y) const { return static_cast<std::size_t>(y) * width_ + x; }
    template <class Coverage> void Shade(Rect bounds, Rgb c, double alpha, Coverage coverage);

    int width_ = 0, height_ = 0;
    std::vector<Rgb> pixels_;
};

} // namespace tamtara
