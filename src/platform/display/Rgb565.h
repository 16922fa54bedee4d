// Pixel access and channel packing for the RGB565 surfaces (platform-internal).
#pragma once

#include <SDL.h>

#include <cstdint>

namespace tamtara::rgb565 {

constexpr std::uint32_t Format = SDL_PIXELFORMAT_RGB565;

inline std::uint16_t* Row(SDL_Surface* surface, int y) {
    return reinterpret_cast<std::uint16_t*>(static_cast<std::uint8_t*>(surface->pixels) +
                                            std::ptrdiff_t(y) * surface->pitch);
}
inline const std::uint16_t* Row(const SDL_Surface* surface, int y) {
    return reinterpret_cast<const std::uint16_t*>(static_cast<const std::uint8_t*>(surface->pixels) +
                                                  std::ptrdiff_t(y) * surface->pitch);
}

constexpr std::uint16_t Pack(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
    return std::uint16_t(((red >> 3) << 11) | ((green >> 2) << 5) | (blue >> 3));
}
// Channels widened to 8 bits by repeating their top bits, so white stays 255.
constexpr std::uint8_t Red8(std::uint16_t p) {
    return std::uint8_t(((p >> 11) << 3) | (p >> 13));
}
constexpr std::uint8_t Green8(std::uint16_t p) {
    return std::uint8_t((((p >> 5) & 63) << 2) | ((p >> 9) & 3));
}
constexpr std::uint8_t Blue8(std::uint16_t p) {
    return std::uint8_t(((p & 31) << 3) | ((p >> 2) & 7));
}

// A new black RGB565 surface, or null when it cannot be created.
inline SDL_Surface* Create(int width, int height) {
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, width, height, 16, Format);
    if (surface) SDL_FillRect(surface, nullptr, 0);
    return surface;
}

} // namespace tamtara::rgb565
