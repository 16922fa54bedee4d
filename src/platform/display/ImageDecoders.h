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

// Pictures beyond this many pixels on a side, or in all, are refused before any pixel is
// allocated: the game never shows more than 640 x 480 of one, and a few hundred bytes of JPEG can
// declare gigapixels.
constexpr std::int32_t MaxImageSide = 16384;
constexpr std::int64_t MaxImagePixels = 16LL * 1024 * 1024;
// libjpeg's own working memory (progressive coefficient buffers above all); a picture that
// needs more is refused instead of decoded.
constexpr long MaxJpegWorkingMemory = 60L * 1024 * 1024;
// More scans than any encoder writes; a file with more is built to burn time.
constexpr int MaxJpegScans = 100;

// Which part of a picture to keep: a window of at most Width x Height pixels, centred where a
// picture drawn centred on a surface of that size would show it. 0 keeps the whole side.
struct TKeepWindow {
    std::int32_t Width = 0;
    std::int32_t Height = 0;
};

// Reads one BMP image at the stream's position, consuming only the bytes its headers cover.
// Returns nothing when the stream is at its end; raises EInvalidGraphic "不正な DIB です".
std::optional<TDecodedImage> DecodeBmp(TStream& stream);

// Decodes a JPEG image from the stream's position to its end, keeping only the window's part;
// raises EInvalidGraphic.
TDecodedImage DecodeJpeg(TStream& stream, TKeepWindow keep = {});

// Where a side of length size starts to be kept, and how much of it, for a window of keep.
struct TKeptSpan {
    std::int32_t Start = 0;
    std::int32_t Length = 0;
};
TKeptSpan KeptSpan(std::int32_t size, std::int32_t keep);
// The image cut down to the window (itself when it already fits).
TDecodedImage KeepWindow(TDecodedImage image, TKeepWindow keep);

} // namespace tamtara
