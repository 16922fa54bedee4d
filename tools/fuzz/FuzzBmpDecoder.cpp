// Feeds arbitrary bytes to the BMP decoder that reads the game's sheets and song pictures: it
// must raise or give an image within the limits whose pixel array matches its size.
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
        const std::optional<TDecodedImage> image = DecodeBmp(stream);
        // Nothing comes back only for a stream already at its end.
        if (!image) {
            if (size != 0) std::abort();
            return 0;
        }
        if (image->Width < 0 || image->Height < 0 || image->Width > MaxImageSide ||
            image->Height > MaxImageSide || std::int64_t(image->Width) * image->Height > MaxImagePixels)
            std::abort();
        if (image->Width > 0 && image->Height > 0 &&
            image->Pixels.size() != std::size_t(image->Width) * std::size_t(image->Height))
            std::abort();
        // The decoder reads no further than its headers say, and never past the data.
        if (stream.Position() > std::int64_t(size)) std::abort();
        // What a song picture keeps of it fits the screen.
        const TDecodedImage kept = KeepWindow(*image, TKeepWindow{640, 480});
        if (kept.Width > 640 || kept.Height > 480 ||
            kept.Pixels.size() != std::size_t(kept.Width) * std::size_t(kept.Height))
            std::abort();
    } catch (const EInvalidGraphic&) {
    }
    return 0;
}
