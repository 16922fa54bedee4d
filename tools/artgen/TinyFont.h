// A 5 × 5 pixel glyph table for the 6 × 6 font: far too small for any outline font to stay legible.
#pragma once

#include <array>
#include <string_view>

namespace tamtara {

// Five rows of five characters run together, '#' for a lit pixel; an empty view for bytes without a glyph.
// Lower-case letters share the capitals: at five pixels small letters would not read.
std::string_view TinyGlyph(int byte);

} // namespace tamtara
