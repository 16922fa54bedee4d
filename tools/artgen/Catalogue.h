// Every picture of Graphics.pb by entry name, finished as the game will see it.
#pragma once

#include <string_view>
#include <vector>

#include "Layout.h"
#include "Raster.h"

namespace tamtara {

// Draws the entry's picture, applies its colour key and rounds it to the 16-bit display format.
// Throws std::out_of_range for a name that is not in the layout table.
Image RenderSheet(std::string_view entry);

} // namespace tamtara
