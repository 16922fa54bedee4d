// Drawing the icon in proportions of its size.
#include "Icon.h"

namespace tamtara {

Image DrawIcon(int size) {
    const double s = size;
    Image icon(size, size, Rgb{24, 24, 40});
    icon.RoundedGradient(Rect{0, 0, size, size}, s * 0.18, Rgb{40, 48, 96}, Rgb{12, 12, 32});
    // The drum: shell, rim and head, seen slightly from above.
    icon.RoundedGradient(Rect{int(s * 0.16), int(s * 0.42), int(s * 0.68), int(s * 0.40)}, s * 0.08,
                         Rgb{220, 40, 40}, Rgb{110, 10, 20});
    icon.Disc(s * 0.50, s * 0.44, s * 0.34, Rgb{200, 200, 210});
    icon.Disc(s * 0.50, s * 0.44, s * 0.30, Rgb{250, 245, 225});
    icon.Ring(s * 0.50, s * 0.44, s * 0.10, s * 0.13, Rgb{255, 220, 0}, 0.8);
    // The sticks, crossing above the head.
    icon.Line(s * 0.12, s * 0.08, s * 0.58, s * 0.40, s * 0.05, Rgb{230, 190, 120});
    icon.Line(s * 0.88, s * 0.08, s * 0.42, s * 0.40, s * 0.05, Rgb{230, 190, 120});
    icon.Disc(s * 0.58, s * 0.40, s * 0.04, Rgb{255, 240, 200});
    icon.Disc(s * 0.42, s * 0.40, s * 0.04, Rgb{255, 240, 200});
    return icon;
}

} // namespace tamtara
