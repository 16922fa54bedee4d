// FreeType glyph rendering and the painting of text coverage masks.
#include "Glyphs.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace tamtara {

void Mask::Max(int x, int y, float v) {
    if (x < 0 || y < 0 || x >= W || y >= H) return;
    float& a = A[std::size_t(y) * W + x];
    a = std::max(a, v);
}

Rect Mask::Ink() const {
    int minX = W, minY = H, maxX = -1, maxY = -1;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            if (At(x, y) > 0.02f)
                minX = std::min(minX, x), maxX = std::max(maxX, x), minY = std::min(minY, y),
                maxY = std::max(maxY, y);
    if (maxX < 0) return {};
    return {minX, minY, maxX - minX + 1, maxY - minY + 1};
}

Mask Dilate(const Mask& m, double radius) {
    Mask out(m.W, m.H);
    const int r = int(std::ceil(radius));
    for (int y = 0; y < m.H; ++y)
        for (int x = 0; x < m.W; ++x) {
            float best = 0;
            for (int dy = -r; dy <= r; ++dy)
                for (int dx = -r; dx <= r; ++dx) {
                    const double d = std::sqrt(double(dx * dx + dy * dy));
                    if (d > radius + 0.5) continue;
                    // Pixels at the rim count partly, so the outline stays smooth.
                    const float weight = d <= radius - 0.5 ? 1.0f : float(radius + 0.5 - d);
                    best = std::max(best, m.At(x + dx, y + dy) * weight);
                }
            out.A[std::size_t(y) * m.W + x] = best;
        }
    return out;
}

Mask Threshold(const Mask& m, float level) {
    Mask out = m;
    for (float& a : out.A)
        a = a >= level ? 1.0f : 0.0f;
    return out;
}

Mask Pad(const Mask& m, int border) {
    Mask out(m.W + 2 * border, m.H + 2 * border);
    for (int y = 0; y < m.H; ++y)
        for (int x = 0; x < m.W; ++x)
            out.Max(x + border, y + border, m.At(x, y));
    return out;
}

struct FontFace::Impl {
    FT_Library Library = nullptr;
    FT_Face Face = nullptr;
    ~Impl() {
        if (Face) FT_Done_Face(Face);
        if (Library) FT_Done_FreeType(Library);
    }
    void Load(char32_t c) {
        if (FT_Load_Char(Face, c, FT_LOAD_RENDER)) throw std::runtime_error("cannot render a glyph");
    }
};

FontFace::FontFace(const std::string& path) : impl_(std::make_unique<Impl>()) {
    if (FT_Init_FreeType(&impl_->Library)) throw std::runtime_error("cannot start FreeType");
    if (FT_New_Face(impl_->Library, path.c_str(), 0, &impl_->Face))
        throw std::runtime_error("cannot load font " + path);
}

FontFace::~FontFace() = default;

void FontFace::SetPixelSize(int width, int height) {
    FT_Set_Pixel_Sizes(impl_->Face, static_cast<FT_UInt>(width), static_cast<FT_UInt>(height));
}

int FontFace::Ascender() const {
    return int(impl_->Face->size->metrics.ascender >> 6);
}
int FontFace::Descender() const {
    return int(-(impl_->Face->size->metrics.descender >> 6));
}

bool FontFace::HasGlyph(char32_t c) const {
    return FT_Get_Char_Index(impl_->Face, c) != 0;
}

void FontFace::AddGlyph(Mask& into, char32_t c, int originX, int baseline) {
    impl_->Load(c);
    const FT_GlyphSlot g = impl_->Face->glyph;
    const FT_Bitmap& b = g->bitmap;
    for (unsigned y = 0; y < b.rows; ++y)
        for (unsigned x = 0; x < b.width; ++x) {
            const std::uint8_t v = b.buffer[y * b.pitch + x];
            if (v) into.Max(originX + g->bitmap_left + int(x), baseline - g->bitmap_top + int(y), v / 255.0f);
        }
}

Rect FontFace::GlyphInk(char32_t c) {
    impl_->Load(c);
    const FT_GlyphSlot g = impl_->Face->glyph;
    return {g->bitmap_left, -g->bitmap_top, int(g->bitmap.width), int(g->bitmap.rows)};
}

int FontFace::Advance(char32_t c) {
    impl_->Load(c);
    return int(impl_->Face->glyph->advance.x >> 6);
}

Mask FontFace::Line(std::u32string_view text, int tracking) {
    int width = 0;
    for (char32_t c : text)
        width += Advance(c) + tracking;
    Mask m(std::max(width + 4, 1), Ascender() + Descender() + 2);
    int x = 2;
    for (char32_t c : text) {
        AddGlyph(m, c, x, Ascender() + 1);
        x += Advance(c) + tracking;
    }
    return m;
}

std::u32string Widen(std::string_view ascii) {
    return std::u32string(ascii.begin(), ascii.end());
}

void PaintMask(Image& image, const Mask& m, int x, int y, const TextStyle& s) {
    const Rect ink = m.Ink();
    if (ink.W == 0) return;
    const int border =
        int(std::ceil(s.OutlineWidth)) + std::max(std::abs(s.ShadowX), std::abs(s.ShadowY)) + 1;
    const Mask padded = Pad(m, border);
    const Mask outline = s.OutlineWidth > 0 ? Dilate(padded, s.OutlineWidth) : padded;
    const int ox = x - border, oy = y - border;
    if (s.ShadowAlpha > 0)
        for (int py = 0; py < outline.H; ++py)
            for (int px = 0; px < outline.W; ++px)
                image.Blend(ox + px + s.ShadowX, oy + py + s.ShadowY, s.Shadow,
                            s.ShadowAlpha * outline.At(px, py));
    if (s.OutlineWidth > 0)
        for (int py = 0; py < outline.H; ++py)
            for (int px = 0; px < outline.W; ++px)
                image.Blend(ox + px, oy + py, s.Outline, outline.At(px, py));
    for (int py = 0; py < padded.H; ++py) {
        const double t = ink.H > 1 ? std::clamp(double(py - border - ink.Y) / (ink.H - 1), 0.0, 1.0) : 0.0;
        Rgb c = Mix(s.Top, s.Bottom, t);
        if (s.Gloss > 0 && t < 0.5) c = Mix(c, Rgb{255, 255, 255}, s.Gloss * (1 - 2 * t));
        for (int px = 0; px < padded.W; ++px)
            image.Blend(ox + px, oy + py, c, padded.At(px, py));
    }
}

void DrawTextCentred(Image& image, FontFace& face, std::string_view text, int cx, int cy,
                     const TextStyle& style, int tracking) {
    const Mask m = face.Line(Widen(text), tracking);
    const Rect ink = m.Ink();
    PaintMask(image, m, cx - ink.X - ink.W / 2, cy - ink.Y - ink.H / 2, style);
}

void DrawTextLeft(Image& image, FontFace& face, std::string_view text, int x, int cy, const TextStyle& style,
                  int tracking) {
    const Mask m = face.Line(Widen(text), tracking);
    const Rect ink = m.Ink();
    PaintMask(image, m, x - ink.X, cy - ink.Y - ink.H / 2, style);
}

} // namespace tamtara
