// The picture's rectangle per scaling choice, in integer arithmetic so no size is off by a rounding.
#include "platform/display/PicturePlacement.h"

#include <algorithm>

namespace tamtara {

TPictureRect PicturePlacement(std::int32_t outWidth, std::int32_t outHeight, std::int32_t pictureWidth,
                              std::int32_t pictureHeight, TPictureScaling scaling, bool stretch,
                              bool centre) {
    if (stretch || pictureWidth <= 0 || pictureHeight <= 0) return TPictureRect{0, 0, outWidth, outHeight};
    std::int64_t width = 0, height = 0;
    const std::int64_t wholeFactor = std::min(outWidth / pictureWidth, outHeight / pictureHeight);
    if (scaling == TPictureScaling::Integer && wholeFactor >= 1) {
        width = std::int64_t(pictureWidth) * wholeFactor;
        height = std::int64_t(pictureHeight) * wholeFactor;
    } else if (std::int64_t(outWidth) * pictureHeight <= std::int64_t(outHeight) * pictureWidth) {
        // The output is narrower than the picture's shape: full width, bars above and below.
        width = outWidth;
        height = std::int64_t(outWidth) * pictureHeight / pictureWidth;
    } else {
        height = outHeight;
        width = std::int64_t(outHeight) * pictureWidth / pictureHeight;
    }
    TPictureRect rect{0, 0, std::int32_t(width), std::int32_t(height)};
    if (centre) {
        rect.X = (outWidth - rect.Width) / 2;
        rect.Y = (outHeight - rect.Height) / 2;
    }
    return rect;
}

} // namespace tamtara
