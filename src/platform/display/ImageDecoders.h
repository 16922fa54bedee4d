// Bitmap and JPEG decoding into RGB565 pixel arrays (platform-internal).
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace tamtara {

class TStream;

struct TDecodedImage {
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    std::vector<std::uint16_t> Pixels; // RGB565, top row first
};

// Pictures beyond this many pixels on a side are refused rather than allocated.
constexpr std::int32_t MaxImageSide = 16384;
constexpr std::int64_t MaxImagePixels = 64LL * 1024 * 1024;

// Reads one BMP image at the stream's position, consuming only the bytes its headers cover.
// Returns nothing when the stream is at its end; raises EInvalidGraphic "不正な DIB です".
std::optional<TDecodedImage> DecodeBmp(TStream& stream);

// Decodes a JPEG image from the stream's position to its end; raises EInvalidGraphic.
TDecodedImage DecodeJpeg(TStream& stream);

} // namespace tamtara
