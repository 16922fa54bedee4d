// Where the 640 x 480 picture goes on a window or display of any size: stretched, at the largest
// whole scale, or at the largest scale that keeps its shape (smoothly filtered).
#pragma once

#include <cstdint>

namespace tamtara {

enum class TPictureScaling : std::uint8_t {
    // The largest whole factor that fits (sharp pixels; a fraction only when even 1 does not).
    Integer,
    // The largest size that keeps the aspect, any factor, shown with linear filtering.
    Fit,
};

struct TPictureRect {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    bool operator==(const TPictureRect&) const = default;
};

// The picture's rectangle in an output of outWidth x outHeight pixels; stretch fills the output
// whatever the shape, centre puts the picture in the middle rather than at the top-left corner.
TPictureRect PicturePlacement(std::int32_t outWidth, std::int32_t outHeight, std::int32_t pictureWidth,
                              std::int32_t pictureHeight, TPictureScaling scaling, bool stretch, bool centre);

} // namespace tamtara
