// Small helpers for the display tests: surfaces filled with distinct pixel values.
#pragma once

#include "platform/display/DirectDrawSurface.h"

namespace tamtara::testing {

// A surface whose every pixel holds a value unique to its position (never 0).
inline void FillPattern(TDirectDrawSurface& surface, int width, int height) {
    surface.SetSize(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            surface.SetPixel(x, y, std::uint32_t(1 + x + y * width));
}

inline std::uint32_t PatternAt(int x, int y, int width) {
    return std::uint32_t(1 + x + y * width);
}

} // namespace tamtara::testing
