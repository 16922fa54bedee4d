// Song pictures drawn in code and the two file formats the game reads beside a song.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tamtara {

struct TPicture {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Rgb; // 3 bytes a pixel, top row first

    TPicture(int width, int height)
        : Width(width), Height(height), Rgb(static_cast<std::size_t>(width * height * 3)) {}
    void Set(int x, int y, double r, double g, double b);
    // Mixes a colour over the pixel; alpha 0..1.
    void Blend(int x, int y, double r, double g, double b, double alpha);
};

// 24-bit uncompressed Windows bitmap, bottom-up as most readers expect.
std::vector<std::uint8_t> EncodeBmp(const TPicture& picture);
// Baseline JPEG through libjpeg. Raises std::runtime_error on failure.
std::vector<std::uint8_t> EncodeJpeg(const TPicture& picture, int quality);

// A sun going down behind hills, a country road running towards it.
TPicture DrawSunsetRoad();
// A striped sun over a glowing perspective grid and a night sky.
TPicture DrawNeonHighway();

} // namespace tamtara
