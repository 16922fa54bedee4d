// Writes art sheets as Windows bitmaps the game's package loader reads.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Raster.h"

namespace tamtara {

// A bottom-up 16-bit bitmap with a BITMAPINFOHEADER and RGB565 bit-field masks: the display's
// own pixel format, so loading it changes no colour (the colour key above all) and each sheet
// takes two thirds of the space of a 24-bit one.
std::vector<std::uint8_t> EncodeBmp565(const Image& image);

// Returns false with a message in error when the file cannot be written.
bool WriteBmp565(const std::string& path, const Image& image, std::string* error = nullptr);

} // namespace tamtara
