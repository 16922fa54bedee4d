// BMP decoding: file header, OS/2 core and Windows info headers, palettes, bit fields,
// RLE4/RLE8 and top-down images, into RGB565, without trusting any size the file states.
#include "base/Stream.h"
#include "platform/display/DisplayTypes.h"
#include "platform/display/ImageDecoders.h"
#include "platform/display/Rgb565.h"

#include <algorithm>
#include <array>
#include <bit>

namespace tamtara {

namespace {

const char* const BadDib = "不正な DIB です";

[[noreturn]] void Invalid(const std::string& why) {
    throw EInvalidGraphic(BadDib, why);
}

std::uint32_t U16(const std::uint8_t* p) {
    return p[0] | (p[1] << 8);
}
std::uint32_t U32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
           (std::uint32_t(p[3]) << 24);
}

void ReadExactly(TStream& stream, void* buffer, std::size_t count, const char* what) {
    if (stream.Read(buffer, count) != count) Invalid(std::string("truncated ") + what);
}

// Checked before allocating, so a stated size cannot make us reserve memory the stream lacks.
std::int64_t Remaining(TStream& stream) {
    return stream.Size() - stream.Position();
}

// One channel of a bit-field mask: where it sits and how wide it is.
struct TChannel {
    std::uint32_t Mask = 0;
    int Shift = 0;
    int Bits = 0;

    TChannel() = default;
    explicit TChannel(std::uint32_t mask) : Mask(mask) {
        if (!mask) return;
        Shift = std::countr_zero(mask);
        Bits = std::popcount(mask >> Shift);
    }
    std::uint32_t Extract(std::uint32_t pixel) const {
        if (!Bits) return 0;
        std::uint32_t v = (pixel & Mask) >> Shift;
        if (Bits >= 8) return (v >> (Bits - 8)) & 0xFF;
        // Widen by repeating the bits, so a full channel becomes 255.
        std::uint32_t out = 0;
        for (int have = 0; have < 8; have += Bits)
            out = (out << Bits) | v;
        return (out >> (((8 + Bits - 1) / Bits) * Bits - 8)) & 0xFF;
    }
};

struct THeader {
    std::uint32_t DataOffset = 0;
    std::uint32_t InfoSize = 0;
    std::int64_t Width = 0;
    std::int64_t Height = 0;
    bool TopDown = false;
    std::uint32_t BitCount = 0;
    std::uint32_t Compression = 0;
    std::uint32_t ImageSize = 0;
    std::uint32_t ColorsUsed = 0;
    std::array<TChannel, 3> Channels{};
    bool Core = false;
};

constexpr std::uint32_t BiRgb = 0, BiRle8 = 1, BiRle4 = 2, BiBitFields = 3;

THeader ReadHeaders(TStream& stream, const std::uint8_t* fileHeader) {
    THeader h;
    h.DataOffset = U32(fileHeader + 10);
    std::uint8_t sizeBytes[4];
    ReadExactly(stream, sizeBytes, 4, "info header");
    h.InfoSize = U32(sizeBytes);
    // The Windows V2 to V5 headers extend the 40-byte one; current tools write them.
    if (h.InfoSize != 12 && h.InfoSize != 40 && h.InfoSize != 52 && h.InfoSize != 56 && h.InfoSize != 108 &&
        h.InfoSize != 124)
        Invalid("info header of " + std::to_string(h.InfoSize) + " bytes");
    std::array<std::uint8_t, 124> info{};
    ReadExactly(stream, info.data() + 4, h.InfoSize - 4, "info header");
    std::uint32_t planes;
    if (h.InfoSize == 12) {
        h.Core = true;
        h.Width = U16(&info[4]);
        h.Height = std::int16_t(U16(&info[6]));
        planes = U16(&info[8]);
        h.BitCount = U16(&info[10]);
    } else {
        h.Width = std::int32_t(U32(&info[4]));
        h.Height = std::int32_t(U32(&info[8]));
        planes = U16(&info[12]);
        h.BitCount = U16(&info[14]);
        h.Compression = U32(&info[16]);
        h.ImageSize = U32(&info[20]);
        h.ColorsUsed = U32(&info[32]);
    }
    if (planes != 1) Invalid("bitmap with " + std::to_string(planes) + " planes");
    if (h.Height < 0) {
        h.TopDown = true;
        h.Height = -h.Height;
    }
    if (h.Width < 0) Invalid("negative width");
    if (h.Width > MaxImageSide || h.Height > MaxImageSide || h.Width * h.Height > MaxImagePixels)
        Invalid("image of " + std::to_string(h.Width) + " x " + std::to_string(h.Height) +
                " pixels is too large");

    const std::uint32_t bits = h.BitCount;
    const bool paletted = bits == 1 || bits == 4 || bits == 8;
    if (!paletted && bits != 16 && bits != 24 && bits != 32)
        Invalid(std::to_string(bits) + " bits per pixel");
    if (h.Core && (bits == 16 || bits == 32)) Invalid("OS/2 bitmap with " + std::to_string(bits) + " bits");
    switch (h.Compression) {
    case BiRgb:
        break;
    case BiRle8:
        if (bits != 8) Invalid("RLE8 needs 8 bits per pixel");
        break;
    case BiRle4:
        if (bits != 4) Invalid("RLE4 needs 4 bits per pixel");
        break;
    case BiBitFields:
        if (bits != 16 && bits != 32) Invalid("bit fields need 16 or 32 bits per pixel");
        break;
    default:
        Invalid("compression " + std::to_string(h.Compression));
    }
    if (h.TopDown && (h.Compression == BiRle8 || h.Compression == BiRle4)) Invalid("top-down RLE bitmap");

    if (h.Compression == BiBitFields) {
        std::uint8_t masks[12];
        if (h.InfoSize == 40)
            ReadExactly(stream, masks, 12, "bit field masks");
        else
            std::copy(&info[40], &info[52], masks);
        for (int i = 0; i < 3; ++i)
            h.Channels[i] = TChannel(U32(masks + 4 * i));
    } else if (bits == 16) {
        h.Channels = {TChannel(0x7C00), TChannel(0x03E0), TChannel(0x001F)};
    } else if (bits == 32) {
        h.Channels = {TChannel(0xFF0000), TChannel(0x00FF00), TChannel(0x0000FF)};
    }
    return h;
}

// Palette colours already packed to RGB565.
std::vector<std::uint16_t> ReadPalette(TStream& stream, const THeader& h, std::uint32_t& consumed) {
    std::uint32_t count = h.ColorsUsed;
    if (h.BitCount <= 8 && (count == 0 || count > (1u << h.BitCount))) count = 1u << h.BitCount;
    count = std::min<std::uint32_t>(count, 256);
    if (h.Core && h.BitCount > 8) count = 0;
    const std::uint32_t entry = h.Core ? 3 : 4;
    std::vector<std::uint8_t> raw(std::size_t(count) * entry);
    ReadExactly(stream, raw.data(), raw.size(), "palette");
    consumed = std::uint32_t(raw.size());
    std::vector<std::uint16_t> palette(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint8_t* e = &raw[std::size_t(i) * entry];
        palette[i] = rgb565::Pack(e[2], e[1], e[0]);
    }
    return palette;
}

class TPixelSink {
public:
    TPixelSink(TDecodedImage& image, const THeader& h) : Image(image), TopDown(h.TopDown) {}
    // Row counted from the bottom for bottom-up images, as the file stores it.
    std::uint16_t* FileRow(std::int64_t fileRow) {
        std::int64_t y = TopDown ? fileRow : Image.Height - 1 - fileRow;
        return Image.Pixels.data() + y * Image.Width;
    }

private:
    TDecodedImage& Image;
    bool TopDown;
};

std::uint16_t PaletteColor(const std::vector<std::uint16_t>& palette, std::uint32_t index) {
    return index < palette.size() ? palette[index] : 0;
}

void DecodeUncompressed(const std::vector<std::uint8_t>& data, const THeader& h,
                        const std::vector<std::uint16_t>& palette, TDecodedImage& image) {
    const std::size_t stride = ((std::size_t(h.Width) * h.BitCount + 31) / 32) * 4;
    TPixelSink sink(image, h);
    for (std::int64_t row = 0; row < h.Height; ++row) {
        const std::uint8_t* p = data.data() + row * stride;
        std::uint16_t* out = sink.FileRow(row);
        for (std::int64_t x = 0; x < h.Width; ++x) {
            std::uint16_t c = 0;
            switch (h.BitCount) {
            case 1:
                c = PaletteColor(palette, (p[x >> 3] >> (7 - (x & 7))) & 1);
                break;
            case 4:
                c = PaletteColor(palette, (p[x >> 1] >> ((x & 1) ? 0 : 4)) & 15);
                break;
            case 8:
                c = PaletteColor(palette, p[x]);
                break;
            case 24:
                c = rgb565::Pack(p[3 * x + 2], p[3 * x + 1], p[3 * x]);
                break;
            default: {
                std::uint32_t v = h.BitCount == 16 ? U16(p + 2 * x) : U32(p + 4 * x);
                c = rgb565::Pack(h.Channels[0].Extract(v), h.Channels[1].Extract(v),
                                 h.Channels[2].Extract(v));
            }
            }
            out[x] = c;
        }
    }
}

// Run-length data: pixels that the codes skip stay black.
void DecodeRle(const std::vector<std::uint8_t>& data, const THeader& h,
               const std::vector<std::uint16_t>& palette, TDecodedImage& image) {
    const bool four = h.Compression == BiRle4;
    TPixelSink sink(image, h);
    std::size_t i = 0;
    std::int64_t x = 0, row = 0;
    auto put = [&](std::uint32_t index) {
        if (row < h.Height && x < h.Width) sink.FileRow(row)[x] = PaletteColor(palette, index);
        ++x;
    };
    while (i + 1 < data.size() && row < h.Height) {
        std::uint32_t count = data[i], value = data[i + 1];
        i += 2;
        if (count > 0) {
            for (std::uint32_t k = 0; k < count; ++k)
                put(four ? ((k & 1) ? value & 15 : value >> 4) : value);
            continue;
        }
        if (value == 0) {
            x = 0;
            ++row;
            continue;
        }
        if (value == 1) return;
        if (value == 2) {
            if (i + 1 >= data.size()) return;
            x += data[i];
            row += data[i + 1];
            i += 2;
            continue;
        }
        // Absolute run of value pixels, padded to a 16-bit boundary.
        std::size_t bytes = four ? (value + 1) / 2 : value;
        if (i + bytes > data.size()) Invalid("RLE run past the end of the data");
        for (std::uint32_t k = 0; k < value; ++k)
            put(four ? ((k & 1) ? data[i + k / 2] & 15 : data[i + k / 2] >> 4) : data[i + k]);
        i += bytes + (bytes & 1);
    }
}

} // namespace

std::optional<TDecodedImage> DecodeBmp(TStream& stream) {
    std::uint8_t fileHeader[14];
    std::size_t got = stream.Read(fileHeader, sizeof fileHeader);
    if (got == 0) return std::nullopt;
    if (got < sizeof fileHeader) Invalid("file header of " + std::to_string(got) + " bytes");
    if (fileHeader[0] != 'B' || fileHeader[1] != 'M') Invalid("no \"BM\" signature");

    THeader h = ReadHeaders(stream, fileHeader);
    std::uint32_t paletteBytes = 0;
    std::vector<std::uint16_t> palette = ReadPalette(stream, h, paletteBytes);
    std::uint32_t consumed =
        14 + h.InfoSize + paletteBytes + ((h.Compression == BiBitFields && h.InfoSize == 40) ? 12 : 0);
    // Pixel data begins at the stated offset; an offset inside the headers is ignored, as
    // readers commonly do.
    if (h.DataOffset > consumed) {
        if (std::int64_t(h.DataOffset - consumed) > Remaining(stream))
            Invalid("pixel data offset past the end");
        std::vector<std::uint8_t> gap(h.DataOffset - consumed);
        ReadExactly(stream, gap.data(), gap.size(), "gap before the pixel data");
    }

    TDecodedImage image;
    image.Width = std::int32_t(h.Width);
    image.Height = std::int32_t(h.Height);
    if (h.Width == 0 || h.Height == 0) return image;
    image.Pixels.assign(std::size_t(h.Width * h.Height), 0);

    std::vector<std::uint8_t> data;
    if (h.Compression == BiRle8 || h.Compression == BiRle4) {
        if (h.ImageSize == 0) Invalid("RLE bitmap without an image size");
        if (std::int64_t(h.ImageSize) > Remaining(stream)) Invalid("truncated RLE data");
        data.resize(h.ImageSize);
        ReadExactly(stream, data.data(), data.size(), "RLE data");
        DecodeRle(data, h, palette, image);
    } else {
        const std::size_t stride = ((std::size_t(h.Width) * h.BitCount + 31) / 32) * 4;
        if (std::int64_t(stride * std::size_t(h.Height)) > Remaining(stream)) Invalid("truncated pixel data");
        data.resize(stride * std::size_t(h.Height));
        ReadExactly(stream, data.data(), data.size(), "pixel data");
        DecodeUncompressed(data, h, palette, image);
    }
    return image;
}

} // namespace tamtara
