// Resolution of system colours to RGB.
#include "platform/display/DisplayTypes.h"

#include <array>

namespace tamtara {

namespace {
// The default desktop scheme's colours (as 0xRRGGBB) for system colour indices 0 to 24.
constexpr std::array<std::uint32_t, 25> SystemColors = {
    0xC8C8C8, 0x000000, 0x99B4D1, 0xBFCDDB, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000, 0x000000,
    0x000000, 0xB4B4B4, 0xF4F7FC, 0xABABAB, 0x3399FF, 0xFFFFFF, 0xF0F0F0, 0xA0A0A0, 0x6D6D6D,
    0x000000, 0x434E54, 0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000, 0xFFFFE1};
} // namespace

TColor ColorToRGB(TColor color) {
    if ((color & 0xFF000000u) == 0x80000000u) {
        std::uint32_t index = color & 0xFFu;
        if (index >= SystemColors.size()) return clBlack;
        std::uint32_t rgb = SystemColors[index];
        return ColorRGB(std::uint8_t(rgb >> 16), std::uint8_t(rgb >> 8), std::uint8_t(rgb));
    }
    return color & 0x00FFFFFFu;
}

} // namespace tamtara
