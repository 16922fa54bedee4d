// The drawing canvas of a surface: proportional text in a named system font, solid
// rectangles, and pictures drawn onto the surface.
#pragma once

#include "platform/display/DisplayTypes.h"

#include <string>

namespace tamtara {

class TDirectDrawSurface;

enum class TFontStyle : std::uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;

constexpr std::int32_t DEFAULT_CHARSET = 1;
constexpr std::int32_t ANSI_CHARSET = 0;
constexpr std::int32_t SHIFTJIS_CHARSET = 128;

struct TFont {
    // A family name, resolved through fontconfig ("ＭＳ Ｐゴシック" and "Times New Roman" included).
    std::string Name = "ＭＳ Ｐゴシック";
    // Negative: character height in pixels (the em); positive: cell height including leading.
    std::int32_t Height = -12;
    TColor Color = clBlack;
    TFontStyles Style;
    // Accepted for the drawing code's sake; text is UTF-8 whatever the character set.
    std::int32_t Charset = DEFAULT_CHARSET;
};

enum class TBrushStyle : std::uint8_t { bsSolid, bsClear };

struct TBrush {
    TColor Color = clWhite;
    TBrushStyle Style = TBrushStyle::bsSolid;
};

enum class TPenStyle : std::uint8_t { psSolid, psClear };

struct TPen {
    TColor Color = clBlack;
    TPenStyle Style = TPenStyle::psSolid;
};

class TDirectDrawSurfaceCanvas {
public:
    explicit TDirectDrawSurfaceCanvas(TDirectDrawSurface& owner) : Owner(owner) {}

    TFont Font;
    TBrush Brush;
    TPen Pen;

    // Width and height in pixels of text (UTF-8) in the current font.
    std::int32_t TextWidth(const std::string& text);
    std::int32_t TextHeight(const std::string& text);
    // Writes text with the top-left of its cell at (x, y); a solid brush fills the cell first,
    // a clear brush leaves the background.
    void TextOut(std::int32_t x, std::int32_t y, const std::string& text);
    // Fills rect (clipped) with the brush colour; nothing with a clear brush.
    void FillRect(const TRect& rect);
    // A pen outline of one pixel around a brush-filled interior.
    void Rectangle(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom);
    // Draws picture unscaled with its top-left at (x, y), opaque and clipped.
    void Draw(std::int32_t x, std::int32_t y, const TDirectDrawSurface& picture);
    // Draws picture stretched to rect (nearest sampling), opaque and clipped.
    void StretchDraw(const TRect& rect, const TDirectDrawSurface& picture);

    // The family fontconfig gave for Font (after the alias), for checking what is drawn with.
    std::string ResolvedFamily();

    // Whether the canvas holds the surface's context (between a drawing call and Release).
    bool Holding() const { return Held; }
    void Release() { Held = false; }

private:
    TDirectDrawSurface& Owner;
    bool Held = false;
};

} // namespace tamtara
