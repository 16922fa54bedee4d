// Builds the hostile files through libjpeg's own encoder, then patches the declared size.
#include "HostileFiles.h"

#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>
#include <stdexcept>

namespace tamtara::hostile {

namespace {

void PutBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int size) {
    for (int i = size - 1; i >= 0; --i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

extern "C" void OnEncodeError(j_common_ptr info) {
    char message[JMSG_LENGTH_MAX];
    (*info->err->format_message)(info, message);
    std::fprintf(stderr, "hostile JPEG: %s\n", message);
    std::abort(); // only ever reached through a mistake in the scan scripts below
}

// Encodes a grey-blue gradient of width x height as a progressive JPEG with the given scan script
// (null: the library's standard progression).
std::vector<std::uint8_t> EncodeProgressive(int width, int height, bool fullChroma,
                                            const std::vector<jpeg_scan_info>* scans) {
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    errors.error_exit = OnEncodeError;
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    if (fullChroma) info.comp_info[0].h_samp_factor = info.comp_info[0].v_samp_factor = 1;
    if (scans) {
        info.scan_info = scans->data();
        info.num_scans = static_cast<int>(scans->size());
    } else {
        jpeg_simple_progression(&info);
    }
    jpeg_start_compress(&info, TRUE);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(width) * 3);
    while (info.next_scanline < info.image_height) {
        for (int x = 0; x < width; ++x) {
            row[3 * x] = static_cast<std::uint8_t>(x * 255 / width);
            row[3 * x + 1] = static_cast<std::uint8_t>(info.next_scanline * 255 / info.image_height);
            row[3 * x + 2] = 160;
        }
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&info, &p, 1);
    }
    jpeg_finish_compress(&info);
    std::vector<std::uint8_t> out(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return out;
}

} // namespace

std::vector<std::uint8_t> OneByteEventSong(std::size_t fileBytes) {
    if (fileBytes < 24) throw std::invalid_argument("a one-byte-event song needs at least 24 bytes");
    std::vector<std::uint8_t> out{'M', 'T', 'h', 'd'};
    PutBigEndian(out, 6, 4);
    PutBigEndian(out, 0, 2);  // format 0
    PutBigEndian(out, 1, 2);  // one track
    PutBigEndian(out, 96, 2); // ticks per quarter note
    out.insert(out.end(), {'M', 'T', 'r', 'k'});
    const std::size_t body = fileBytes - 22;
    PutBigEndian(out, static_cast<std::uint32_t>(body), 4);
    out.reserve(fileBytes);
    out.push_back(0x00);
    out.push_back(0xFE);
    out.resize(fileBytes, 0x00);
    return out;
}

std::vector<std::uint8_t> JpegBomb(std::uint16_t width, std::uint16_t height, bool fullChroma) {
    std::vector<std::uint8_t> jpeg = EncodeProgressive(16, 16, fullChroma, nullptr);
    // The progressive frame header: FF C2, length, precision, then height and width.
    for (std::size_t i = 2; i + 8 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC2) {
            jpeg[i + 5] = static_cast<std::uint8_t>(height >> 8);
            jpeg[i + 6] = static_cast<std::uint8_t>(height);
            jpeg[i + 7] = static_cast<std::uint8_t>(width >> 8);
            jpeg[i + 8] = static_cast<std::uint8_t>(width);
            break;
        }
    }
    return jpeg;
}

std::vector<std::uint8_t> ManyScanJpeg(int width, int height) {
    std::vector<jpeg_scan_info> scans;
    scans.push_back(jpeg_scan_info{3, {0, 1, 2, 0}, 0, 0, 0, 0});
    for (int component = 0; component < 3; ++component)
        for (int k = 1; k < 64; ++k)
            scans.push_back(jpeg_scan_info{1, {component, 0, 0, 0}, k, k, 0, 0});
    return EncodeProgressive(width, height, true, &scans);
}

} // namespace tamtara::hostile
