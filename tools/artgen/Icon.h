// The program's icon for the desktop's menus: a drum and two sticks on the game's dark plate.
#pragma once

#include "Raster.h"

namespace tamtara {

// The icon at size × size pixels, drawn afresh for each size so small ones stay sharp.
Image DrawIcon(int size);

} // namespace tamtara
