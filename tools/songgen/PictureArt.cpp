// The two song pictures, drawn pixel by pixel from simple shapes so they need no source files.
#include "songgen/Picture.h"

#include <cmath>
#include <cstdint>

namespace tamtara {

namespace {

constexpr int Width = 640, Height = 480;

double Mix(double a, double b, double t) {
    return a + (b - a) * t;
}

// A repeatable scatter of stars: a small integer hash per pixel.
bool IsStar(int x, int y, int rarity) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 73856093u ^ static_cast<std::uint32_t>(y) * 19349663u;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    return h % static_cast<std::uint32_t>(rarity) == 0;
}

} // namespace

TPicture DrawSunsetRoad() {
    TPicture picture(Width, Height);
    const int horizon = 300;
    const double sunX = 320, sunY = 292, sunRadius = 64;
    for (int y = 0; y < Height; ++y) {
        for (int x = 0; x < Width; ++x) {
            if (y < horizon) {
                // Sky from deep violet at the top to orange at the horizon, glowing round the sun.
                const double t = static_cast<double>(y) / horizon;
                double r = Mix(48, 250, t), g = Mix(24, 140, t * t), b = Mix(96, 60, t);
                const double d = std::hypot(x - sunX, y - sunY);
                const double glow = std::exp(-d / 140.0);
                r += 40 * glow;
                g += 70 * glow;
                b += 20 * glow;
                if (d < sunRadius) {
                    r = 255;
                    g = Mix(236, 190, (y - (sunY - sunRadius)) / (2 * sunRadius));
                    b = 120;
                }
                picture.Set(x, y, r, g, b);
            } else {
                // Fields in the shade, lighter towards the horizon.
                const double t = static_cast<double>(y - horizon) / (Height - horizon);
                picture.Set(x, y, Mix(110, 40, t), Mix(60, 34, t), Mix(40, 30, t));
            }
        }
    }
    // Two ranges of hills in front of the sun.
    for (int x = 0; x < Width; ++x) {
        const double far = horizon - 40 - 24 * std::sin(x / 70.0) - 12 * std::sin(x / 23.0 + 1.0);
        const double near = horizon - 10 - 18 * std::sin(x / 110.0 + 2.0) - 6 * std::sin(x / 31.0);
        for (int y = static_cast<int>(far); y < horizon; ++y)
            picture.Blend(x, y, 90, 40, 80, 0.85);
        for (int y = static_cast<int>(near); y < horizon + 2; ++y)
            picture.Set(x, y, 52, 26, 50);
    }
    // The road narrows to a point below the sun, with a dashed centre line.
    for (int y = horizon; y < Height; ++y) {
        const double t = static_cast<double>(y - horizon) / (Height - horizon);
        const double half = 4 + 260 * t;
        for (int x = static_cast<int>(sunX - half); x <= static_cast<int>(sunX + half); ++x) {
            const double edge = std::abs(x - sunX) / half;
            picture.Set(x, y, Mix(120, 60, t) - 20 * edge, Mix(90, 50, t), Mix(90, 60, t));
        }
        const double dash = std::fmod(std::log(1 + 40 * t) * 6.0, 1.0);
        if (dash < 0.5)
            for (int x = static_cast<int>(sunX - 1 - 3 * t); x <= static_cast<int>(sunX + 1 + 3 * t); ++x)
                picture.Set(x, y, 250, 220, 150);
    }
    // Telegraph poles along the left side of the road and the wire between them.
    for (int pole = 0; pole < 5; ++pole) {
        const double t = 0.12 + pole * 0.2;
        const int baseY = horizon + static_cast<int>(t * (Height - horizon));
        const int x = static_cast<int>(sunX - 40 - 330 * t);
        const int height = static_cast<int>(40 + 260 * t);
        const int thickness = 1 + static_cast<int>(5 * t);
        for (int y = baseY - height; y < baseY; ++y)
            for (int dx = 0; dx < thickness; ++dx)
                picture.Set(x + dx, y, 30, 16, 28);
        for (int dx = -3 * thickness; dx <= 3 * thickness; ++dx)
            for (int dy = 0; dy < thickness; ++dy)
                picture.Set(x + dx, baseY - height + 6 * thickness + dy, 30, 16, 28);
    }
    return picture;
}

TPicture DrawNeonHighway() {
    TPicture picture(Width, Height);
    const int horizon = 270;
    const double sunX = 320, sunY = 200, sunRadius = 110;
    for (int y = 0; y < Height; ++y) {
        for (int x = 0; x < Width; ++x) {
            if (y < horizon) {
                const double t = static_cast<double>(y) / horizon;
                double r = Mix(10, 120, t * t), g = Mix(4, 20, t), b = Mix(40, 110, t);
                if (IsStar(x, y, 700) && t < 0.7) r = g = b = 230;
                const double d = std::hypot(x - sunX, y - sunY);
                if (d < sunRadius) {
                    // Stripes cut into the lower half of the sun, wider towards the horizon.
                    const double s = (y - sunY) / sunRadius;
                    const bool cut = s > 0 && std::fmod(y - sunY, 18.0) < 3 + 8 * s;
                    if (!cut) {
                        r = 255;
                        g = Mix(220, 40, (s + 1) / 2);
                        b = Mix(80, 150, (s + 1) / 2);
                    }
                } else {
                    const double glow = std::exp(-(d - sunRadius) / 40.0);
                    r += 90 * glow;
                    g += 10 * glow;
                    b += 60 * glow;
                }
                picture.Set(x, y, r, g, b);
            } else {
                const double t = static_cast<double>(y - horizon) / (Height - horizon);
                picture.Set(x, y, Mix(40, 12, t), Mix(0, 0, t), Mix(60, 30, t));
            }
        }
    }
    // Perspective grid: lines fanning out from the vanishing point and rows closing up towards it.
    for (int y = horizon; y < Height; ++y) {
        const double depth = static_cast<double>(y - horizon + 1) / (Height - horizon);
        for (int line = -14; line <= 14; ++line) {
            const int x = static_cast<int>(sunX + line * 60 * depth * 3.2);
            for (int dx = -1; dx <= 1; ++dx)
                picture.Blend(x + dx, y, 255, 60, 220, dx == 0 ? 1.0 : 0.4);
        }
        // Rows closer than a few pixels would merge into bands near the horizon; leave them out.
        const double row = std::fmod(1.0 / depth, 1.0);
        if (depth > 0.12 && row < 0.06 * depth + 0.02)
            for (int x = 0; x < Width; ++x)
                picture.Blend(x, y, 255, 60, 220, 0.9);
    }
    // Glow line along the horizon.
    for (int x = 0; x < Width; ++x)
        for (int dy = -3; dy <= 3; ++dy)
            picture.Blend(x, horizon + dy, 255, 120, 240, 0.6 - std::abs(dy) * 0.18);
    return picture;
}

} // namespace tamtara
