// The part of a decoded picture that a centred draw on a surface of a given size can show.
#include "platform/display/ImageDecoders.h"

#include <algorithm>

namespace tamtara {

TKeptSpan KeptSpan(std::int32_t size, std::int32_t keep) {
    if (keep <= 0 || size <= keep) return {0, size};
    return {size / 2 - keep / 2, keep};
}

TDecodedImage KeepWindow(TDecodedImage image, TKeepWindow keep) {
    const TKeptSpan columns = KeptSpan(image.Width, keep.Width);
    const TKeptSpan rows = KeptSpan(image.Height, keep.Height);
    if (columns.Length == image.Width && rows.Length == image.Height) return image;
    TDecodedImage kept;
    kept.Width = columns.Length;
    kept.Height = rows.Length;
    kept.Pixels.resize(std::size_t(kept.Width) * kept.Height);
    for (std::int32_t y = 0; y < kept.Height; ++y) {
        const auto* from = image.Pixels.data() + std::size_t(y + rows.Start) * image.Width + columns.Start;
        std::copy(from, from + kept.Width, kept.Pixels.data() + std::size_t(y) * kept.Width);
    }
    return kept;
}

} // namespace tamtara
