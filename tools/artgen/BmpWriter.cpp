// Encoding of 16-bit RGB565 Windows bitmaps.
#include "BmpWriter.h"

#include <fstream>

namespace tamtara {

namespace {

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kMaskSize = 12;
constexpr std::uint32_t kBiBitfields = 3;

} // namespace

std::vector<std::uint8_t> EncodeBmp565(const Image& image) {
    const std::uint32_t rowBytes = (static_cast<std::uint32_t>(image.Width()) * 2 + 3) & ~3u;
    const std::uint32_t dataOffset = kFileHeaderSize + kInfoHeaderSize + kMaskSize;
    const std::uint32_t dataSize = rowBytes * static_cast<std::uint32_t>(image.Height());
    std::vector<std::uint8_t> out;
    out.reserve(dataOffset + dataSize);
    out.push_back('B');
    out.push_back('M');
    Put32(out, dataOffset + dataSize);
    Put32(out, 0); // reserved
    Put32(out, dataOffset);
    Put32(out, kInfoHeaderSize);
    Put32(out, static_cast<std::uint32_t>(image.Width()));
    Put32(out, static_cast<std::uint32_t>(image.Height())); // positive: bottom row first
    Put16(out, 1);                                          // planes
    Put16(out, 16);                                         // bits per pixel
    Put32(out, kBiBitfields);
    Put32(out, dataSize);
    Put32(out, 2835); // 72 dpi, in pixels per metre
    Put32(out, 2835);
    Put32(out, 0); // no palette
    Put32(out, 0);
    Put32(out, 0xF800); // red, green and blue masks
    Put32(out, 0x07E0);
    Put32(out, 0x001F);
    for (int y = image.Height() - 1; y >= 0; --y) {
        for (int x = 0; x < image.Width(); ++x)
            Put16(out, Pack565(image.At(x, y)));
        for (std::uint32_t pad = static_cast<std::uint32_t>(image.Width()) * 2; pad < rowBytes; ++pad)
            out.push_back(0);
    }
    return out;
}

bool WriteBmp565(const std::string& path, const Image& image, std::string* error) {
    const std::vector<std::uint8_t> bytes = EncodeBmp565(image);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!file.good()) {
        if (error) *error = "cannot write " + path;
        return false;
    }
    return true;
}

} // namespace tamtara
