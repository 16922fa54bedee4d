// Glyph arithmetic of the five bitmap fonts and the six drawing routines.
#include "app/graphics/BitmapText.h"

#include "app/graphics/ScreenSurfaces.h"
#include "platform/display/DirectDrawSurface.h"

namespace tamtara {

namespace {

char UpperCase(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Font16 and Font32 hold codes 32 to 95 per colour block of 64; a byte above 95 falls into the
// next block on purpose, which is why callers pass upper-case text.
std::int32_t BlockIndex(std::uint8_t c, std::int32_t colour) {
    return c - 32 + 64 * colour;
}

} // namespace

TRect AnkGlyph(std::uint8_t c) {
    return Bounds(c % 32 * 8, c / 32 * 16, 8, 16);
}

TRect Font16Glyph(std::uint8_t c, std::int32_t colour) {
    const std::int32_t d = BlockIndex(c, colour);
    return Bounds(d % 16 * 16, d / 16 * 16, 16, 16);
}

TRect Font32Glyph(std::uint8_t c, std::int32_t colour) {
    const std::int32_t d = BlockIndex(c, colour);
    return Bounds(d % 16 * 16, d / 16 * 32, 16, 32);
}

TRect Font06Glyph(std::uint8_t c) {
    return Bounds(c % 16 * 6, c / 16 * 6, 6, 6);
}

BitmapText::BitmapText(TDirectDrawSurface& target, const ScreenSurfaces& surfaces)
    : Target(target), Surfaces(surfaces) {}

void BitmapText::DrawAnkText(std::int32_t x, std::int32_t y, std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i)
        Target.Draw(x + 8 * std::int32_t(i), y, AnkGlyph(std::uint8_t(text[i])), *Surfaces.AnkFont, true);
}

void BitmapText::DrawText16(std::int32_t x, std::int32_t y, std::string_view text, std::int32_t colour) {
    for (std::size_t i = 0; i < text.size(); ++i)
        Target.Draw(x + 16 * std::int32_t(i), y, Font16Glyph(std::uint8_t(text[i]), colour), *Surfaces.Font16,
                    true);
}

void BitmapText::DrawText16Vertical(std::int32_t x, std::int32_t y, std::string_view text,
                                    std::int32_t colour) {
    for (std::size_t i = 0; i < text.size(); ++i)
        Target.Draw(x, y + 16 * std::int32_t(i), Font16Glyph(std::uint8_t(UpperCase(text[i])), colour),
                    *Surfaces.Font16, true);
}

void BitmapText::DrawText32(std::int32_t x, std::int32_t y, std::string_view text, std::int32_t colour) {
    for (std::size_t i = 0; i < text.size(); ++i)
        Target.Draw(x + 16 * std::int32_t(i), y, Font32Glyph(std::uint8_t(UpperCase(text[i])), colour),
                    *Surfaces.Font32, true);
}

void BitmapText::DrawText6(std::int32_t x, std::int32_t y, std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i)
        Target.Draw(x + 6 * std::int32_t(i), y, Font06Glyph(std::uint8_t(text[i])), *Surfaces.Font06, true);
}

void BitmapText::DrawComboNumber(std::int32_t x, std::int32_t y, std::int32_t n) {
    std::int32_t p = 3;
    for (;;) {
        const std::int32_t digit = n % 10;
        Target.Draw(x + 26 * p, y, Bounds(32 * digit, 0, 32, 48), *Surfaces.ComboFont, true);
        n /= 10;
        if (n == 0 || p == 0) break;
        --p;
    }
    Target.Draw(x + 104, y, Bounds(320, 0, 64, 48), *Surfaces.ComboFont, true);
}

} // namespace tamtara
