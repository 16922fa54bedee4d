// JPEG decoding through libjpeg into RGB565; fatal decoder errors become EInvalidGraphic.
#include "base/Stream.h"
#include "platform/display/DisplayTypes.h"
#include "platform/display/ImageDecoders.h"
#include "platform/display/Rgb565.h"

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

namespace tamtara {

namespace {

struct TErrorManager {
    jpeg_error_mgr Base;
    std::jmp_buf Jump;
    char Message[JMSG_LENGTH_MAX];
};

extern "C" void OnJpegError(j_common_ptr info) {
    auto* manager = reinterpret_cast<TErrorManager*>(info->err);
    (*info->err->format_message)(info, manager->Message);
    std::longjmp(manager->Jump, 1);
}

// Corrupt-data warnings are not fatal: the decoder fills what it cannot read.
extern "C" void OnJpegMessage(j_common_ptr, int) {}

// Called as the decoder consumes its input, scans of a progressive file included.
extern "C" void OnJpegProgress(j_common_ptr info) {
    auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    if (decompress->input_scan_number > MaxJpegScans) {
        auto* manager = reinterpret_cast<TErrorManager*>(info->err);
        std::snprintf(manager->Message, sizeof manager->Message, "more than %d scans", MaxJpegScans);
        std::longjmp(manager->Jump, 1);
    }
}

// Kept free of objects with destructors, since an error leaves it by longjmp. Returns an empty
// string on success, else the decoder's message.
std::string DecodeInto(const std::vector<std::uint8_t>& bytes, TKeepWindow keep, TDecodedImage& image,
                       std::vector<std::uint8_t>& line) {
    jpeg_decompress_struct info;
    TErrorManager errors;
    jpeg_progress_mgr progress{};
    info.err = jpeg_std_error(&errors.Base);
    errors.Base.error_exit = OnJpegError;
    errors.Base.emit_message = OnJpegMessage;
    errors.Message[0] = 0;
    if (setjmp(errors.Jump)) {
        jpeg_destroy_decompress(&info);
        return errors.Message[0] ? errors.Message : "decoder error";
    }
    jpeg_create_decompress(&info);
    info.mem->max_memory_to_use = MaxJpegWorkingMemory;
    progress.progress_monitor = OnJpegProgress;
    info.progress = &progress;
    jpeg_mem_src(&info, const_cast<unsigned char*>(bytes.data()), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    if (info.image_width > unsigned(MaxImageSide) || info.image_height > unsigned(MaxImageSide) ||
        std::int64_t(info.image_width) * info.image_height > MaxImagePixels) {
        std::snprintf(errors.Message, sizeof errors.Message, "image of %u x %u pixels is too large",
                      info.image_width, info.image_height);
        jpeg_destroy_decompress(&info);
        return errors.Message;
    }
    jpeg_start_decompress(&info);
    const TKeptSpan columns = KeptSpan(std::int32_t(info.output_width), keep.Width);
    const TKeptSpan rows = KeptSpan(std::int32_t(info.output_height), keep.Height);
    image.Width = columns.Length;
    image.Height = rows.Length;
    image.Pixels.assign(std::size_t(image.Width) * image.Height, 0);
    const int components = info.output_components;
    line.resize(std::size_t(info.output_width) * components);
    const unsigned endRow = unsigned(rows.Start + rows.Length);
    while (info.output_scanline < endRow) {
        JSAMPROW row = line.data();
        const unsigned y = info.output_scanline;
        if (jpeg_read_scanlines(&info, &row, 1) != 1) break;
        if (y < unsigned(rows.Start)) continue;
        std::uint16_t* out = image.Pixels.data() + std::size_t(y - rows.Start) * image.Width;
        for (int x = 0; x < image.Width; ++x) {
            const std::uint8_t* p = &line[std::size_t(x + columns.Start) * components];
            if (cmyk) {
                // Adobe writes CMYK inverted: the stored values are already 255 - ink.
                out[x] = rgb565::Pack(p[0] * p[3] / 255, p[1] * p[3] / 255, p[2] * p[3] / 255);
            } else {
                out[x] = rgb565::Pack(p[0], p[1], p[2]);
            }
        }
    }
    // Rows below the window are never shown: stop without decoding them.
    if (info.output_scanline < info.output_height)
        jpeg_abort_decompress(&info);
    else
        jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return {};
}

} // namespace

TDecodedImage DecodeJpeg(TStream& stream, TKeepWindow keep) {
    std::int64_t left = stream.Size() - stream.Position();
    std::vector<std::uint8_t> bytes(std::size_t(std::max<std::int64_t>(left, 0)));
    bytes.resize(stream.Read(bytes.data(), bytes.size()));
    if (bytes.size() < 4 || bytes[0] != 0xFF || bytes[1] != 0xD8)
        throw EInvalidGraphic("invalid JPEG image", "no JPEG start marker");
    TDecodedImage image;
    std::vector<std::uint8_t> line;
    std::string error = DecodeInto(bytes, keep, image, line);
    if (!error.empty()) throw EInvalidGraphic("invalid JPEG image", error);
    if (image.Width <= 0 || image.Height <= 0) throw EInvalidGraphic("invalid JPEG image", "empty image");
    return image;
}

} // namespace tamtara
