// Encoders for the song pictures: BMP written by hand, JPEG through libjpeg.
#include "songgen/Picture.h"

#include <algorithm>
#include <cstdlib>
#include <jpeglib.h>
#include <stdexcept>

namespace tamtara {

namespace {

std::uint8_t ToByte(double value) {
    return static_cast<std::uint8_t>(std::clamp(value, 0.0, 255.0) + 0.5);
}

void PutLittleEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

} // namespace

void TPicture::Set(int x, int y, double r, double g, double b) {
    if (x < 0 || y < 0 || x >= Width || y >= Height) return;
    std::uint8_t* pixel = &Rgb[static_cast<std::size_t>((y * Width + x) * 3)];
    pixel[0] = ToByte(r);
    pixel[1] = ToByte(g);
    pixel[2] = ToByte(b);
}

void TPicture::Blend(int x, int y, double r, double g, double b, double alpha) {
    if (x < 0 || y < 0 || x >= Width || y >= Height) return;
    const std::uint8_t* pixel = &Rgb[static_cast<std::size_t>((y * Width + x) * 3)];
    alpha = std::clamp(alpha, 0.0, 1.0);
    Set(x, y, pixel[0] + (r - pixel[0]) * alpha, pixel[1] + (g - pixel[1]) * alpha,
        pixel[2] + (b - pixel[2]) * alpha);
}

std::vector<std::uint8_t> EncodeBmp(const TPicture& picture) {
    const int rowBytes = (picture.Width * 3 + 3) / 4 * 4;
    const std::uint32_t imageBytes = static_cast<std::uint32_t>(rowBytes * picture.Height);
    std::vector<std::uint8_t> out{'B', 'M'};
    PutLittleEndian(out, 54 + imageBytes, 4);
    PutLittleEndian(out, 0, 4);
    PutLittleEndian(out, 54, 4);
    PutLittleEndian(out, 40, 4);
    PutLittleEndian(out, static_cast<std::uint32_t>(picture.Width), 4);
    PutLittleEndian(out, static_cast<std::uint32_t>(picture.Height), 4);
    PutLittleEndian(out, 1, 2);
    PutLittleEndian(out, 24, 2);
    PutLittleEndian(out, 0, 4);
    PutLittleEndian(out, imageBytes, 4);
    PutLittleEndian(out, 2835, 4); // 72 dots per inch
    PutLittleEndian(out, 2835, 4);
    PutLittleEndian(out, 0, 4);
    PutLittleEndian(out, 0, 4);
    for (int y = picture.Height - 1; y >= 0; --y) {
        const std::uint8_t* row = &picture.Rgb[static_cast<std::size_t>(y * picture.Width * 3)];
        for (int x = 0; x < picture.Width; ++x)
            out.insert(out.end(), {row[3 * x + 2], row[3 * x + 1], row[3 * x]});
        out.resize(out.size() + static_cast<std::size_t>(rowBytes - picture.Width * 3), 0);
    }
    return out;
}

std::vector<std::uint8_t> EncodeJpeg(const TPicture& picture, int quality) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    errors.error_exit = [](j_common_ptr) { throw std::runtime_error("JPEG encoding failed"); };
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_create_compress(&info);
    try {
        jpeg_mem_dest(&info, &buffer, &size);
        info.image_width = static_cast<JDIMENSION>(picture.Width);
        info.image_height = static_cast<JDIMENSION>(picture.Height);
        info.input_components = 3;
        info.in_color_space = JCS_RGB;
        jpeg_set_defaults(&info);
        jpeg_set_quality(&info, quality, TRUE);
        jpeg_start_compress(&info, TRUE);
        while (info.next_scanline < info.image_height) {
            JSAMPROW row = const_cast<JSAMPROW>(
                &picture.Rgb[static_cast<std::size_t>(info.next_scanline) * picture.Width * 3]);
            jpeg_write_scanlines(&info, &row, 1);
        }
        jpeg_finish_compress(&info);
    } catch (...) {
        jpeg_destroy_compress(&info);
        std::free(buffer);
        throw;
    }
    jpeg_destroy_compress(&info);
    std::vector<std::uint8_t> out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

} // namespace tamtara
