// Text and numbers drawn from the bitmap font sheets onto the back buffer, one glyph per byte.
#pragma once

#include "platform/display/DisplayTypes.h"

#include <cstdint>
#include <string_view>

namespace tamtara {

class TDirectDrawSurface;
struct ScreenSurfaces;

// Source cells of one byte in each sheet.
TRect AnkGlyph(std::uint8_t c);
TRect Font16Glyph(std::uint8_t c, std::int32_t colour);
TRect Font32Glyph(std::uint8_t c, std::int32_t colour);
TRect Font06Glyph(std::uint8_t c);

class BitmapText {
public:
    BitmapText(TDirectDrawSurface& target, const ScreenSurfaces& surfaces);

    void DrawAnkText(std::int32_t x, std::int32_t y, std::string_view text);
    void DrawText16(std::int32_t x, std::int32_t y, std::string_view text, std::int32_t colour);
    void DrawText16Vertical(std::int32_t x, std::int32_t y, std::string_view text, std::int32_t colour);
    void DrawText32(std::int32_t x, std::int32_t y, std::string_view text, std::int32_t colour);
    void DrawText6(std::int32_t x, std::int32_t y, std::string_view text);
    // Right-aligned in four places 26 pixels apart (only the last four digits), then the label.
    void DrawComboNumber(std::int32_t x, std::int32_t y, std::int32_t n);

private:
    TDirectDrawSurface& Target;
    const ScreenSurfaces& Surfaces;
};

} // namespace tamtara
