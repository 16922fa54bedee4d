// Text for the art: glyph coverage rendered through FreeType from installed free fonts, and
// painting of that coverage with gradient fills, outlines and shadows.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Raster.h"

namespace tamtara {

// Coverage 0..1 per pixel; reads outside the mask give 0.
struct Mask {
    int W = 0, H = 0;
    std::vector<float> A;

    Mask() = default;
    Mask(int w, int h) : W(w), H(h), A(static_cast<std::size_t>(w) * h, 0.0f) {}
    float At(int x, int y) const {
        return x < 0 || y < 0 || x >= W || y >= H ? 0.0f : A[std::size_t(y) * W + x];
    }
    void Max(int x, int y, float v);
    // The smallest rectangle holding every covered pixel; empty (W = 0) for an empty mask.
    Rect Ink() const;
};

Mask Dilate(const Mask& m, double radius);  // grows the mask by radius on every side (same size)
Mask Threshold(const Mask& m, float level); // hard edges, for fonts too small to smooth
Mask Pad(const Mask& m, int border);

class FontFace {
public:
    explicit FontFace(const std::string& path); // throws std::runtime_error when it cannot load
    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    // Pixel size of the em square; a width below the height condenses the letters.
    void SetPixelSize(int width, int height);
    int Ascender() const;  // pixels above the baseline of the current size
    int Descender() const; // pixels below it (positive)

    // One glyph's coverage with its top-left at (originX + left bearing, baseline - top bearing).
    void AddGlyph(Mask& into, char32_t c, int originX, int baseline);
    Rect GlyphInk(char32_t c); // ink box relative to (origin, baseline)
    int Advance(char32_t c);
    bool HasGlyph(char32_t c) const;

    // A line of text whose box is the current ascender to descender; tracking widens the spacing.
    Mask Line(std::u32string_view text, int tracking = 0);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

std::u32string Widen(std::string_view ascii);

// Installed font files the art is drawn with (all from fonts-liberation and fonts-ipafont-gothic).
namespace Fonts {
inline constexpr const char* SansBold = "/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf";
inline constexpr const char* SansBoldItalic =
    "/usr/share/fonts/truetype/liberation/LiberationSans-BoldItalic.ttf";
inline constexpr const char* NarrowBold =
    "/usr/share/fonts/truetype/liberation/LiberationSansNarrow-Bold.ttf";
inline constexpr const char* SerifBoldItalic =
    "/usr/share/fonts/truetype/liberation/LiberationSerif-BoldItalic.ttf";
inline constexpr const char* Mono = "/usr/share/fonts/truetype/liberation/LiberationMono-Regular.ttf";
inline constexpr const char* Gothic = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf";
} // namespace Fonts

// How a mask is painted: a vertical gradient over the mask's ink, an outline around it and an
// optional drop shadow below it.
struct TextStyle {
    Rgb Top{255, 255, 255};
    Rgb Bottom{255, 255, 255};
    Rgb Outline{12, 12, 20};
    double OutlineWidth = 0; // 0: none
    int ShadowX = 0, ShadowY = 0;
    Rgb Shadow{0, 0, 0};
    double ShadowAlpha = 0; // 0: no shadow
    double Gloss = 0;       // lightens the upper half by this much, like a lit plastic face
};

// Paints m with its top-left at (x, y).
void PaintMask(Image& image, const Mask& m, int x, int y, const TextStyle& style);
// Renders a line and paints it so that its ink is centred on (cx, cy).
void DrawTextCentred(Image& image, FontFace& face, std::string_view text, int cx, int cy,
                     const TextStyle& style, int tracking = 0);
// Renders a line and paints it with its ink's left edge at x and vertically centred on cy.
void DrawTextLeft(Image& image, FontFace& face, std::string_view text, int x, int cy, const TextStyle& style,
                  int tracking = 0);

} // namespace tamtara
