// Writes RGB pictures as PNG files: screenshots of the back buffer and contact sheets of the art.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tamtara {

// rgb holds width * height pixels, 3 bytes each (red, green, blue), top row first.
// Returns false (with a message in error) when the file cannot be written.
bool WritePng(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb,
              std::string* error = nullptr);

} // namespace tamtara
