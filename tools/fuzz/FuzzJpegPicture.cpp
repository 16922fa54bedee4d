// Feeds arbitrary bytes to the song picture's JPEG path with the game's limits: it must raise
// or give at most the 640 x 480 the play background shows, within the decoder's memory cap
// (libFuzzer's -rss_limit_mb catches a cap that does not hold).
#include "base/Stream.h"
#include "platform/display/DisplayTypes.h"
#include "platform/display/ImageDecoders.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tamtara;
    TMemoryStream stream(std::vector<std::uint8_t>(data, data + size));
    try {
        const TDecodedImage image = DecodeJpeg(stream, TKeepWindow{640, 480});
        if (image.Width <= 0 || image.Height <= 0 || image.Width > 640 || image.Height > 480 ||
            image.Pixels.size() != std::size_t(image.Width) * std::size_t(image.Height))
            std::abort();
    } catch (const EInvalidGraphic&) {
    }
    return 0;
}
