// Value types shared by the display services: rectangles, colours, small enum sets and the
// layer's exceptions. Free of SDL so the game logic can include it.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <stdexcept>
#include <string>

namespace tamtara {

// Left, Top, Right, Bottom; Right and Bottom are exclusive.
struct TRect {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Right = 0;
    std::int32_t Bottom = 0;

    constexpr std::int32_t Width() const { return Right - Left; }
    constexpr std::int32_t Height() const { return Bottom - Top; }
    constexpr bool Empty() const { return Right <= Left || Bottom <= Top; }
    friend constexpr bool operator==(const TRect&, const TRect&) = default;
};

constexpr TRect Bounds(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height) {
    return TRect{left, top, left + width, top + height};
}

// A colour as the drawing code names it: 0x00BBGGRR (red in the low byte), or a system colour
// (high byte 0x80, low byte the system colour index) that is resolved to RGB before use.
using TColor = std::uint32_t;

constexpr TColor ColorRGB(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return TColor(red) | (TColor(green) << 8) | (TColor(blue) << 16);
}
constexpr std::uint8_t RedOf(TColor rgb) {
    return std::uint8_t(rgb & 0xFF);
}
constexpr std::uint8_t GreenOf(TColor rgb) {
    return std::uint8_t((rgb >> 8) & 0xFF);
}
constexpr std::uint8_t BlueOf(TColor rgb) {
    return std::uint8_t((rgb >> 16) & 0xFF);
}

constexpr TColor clBlack = ColorRGB(0, 0, 0);
constexpr TColor clWhite = ColorRGB(255, 255, 255);
constexpr TColor clRed = ColorRGB(255, 0, 0);
constexpr TColor clLime = ColorRGB(0, 255, 0);
constexpr TColor clBlue = ColorRGB(0, 0, 255);
constexpr TColor clYellow = ColorRGB(255, 255, 0);
constexpr TColor clFuchsia = ColorRGB(255, 0, 255);
constexpr TColor clAqua = ColorRGB(0, 255, 255);
constexpr TColor clGray = ColorRGB(128, 128, 128);
constexpr TColor clSilver = ColorRGB(192, 192, 192);
constexpr TColor clWindowText = 0x80000008;
constexpr TColor clWindow = 0x80000005;
constexpr TColor clBtnFace = 0x8000000F;

// Turns a system colour into its RGB value; plain RGB values pass through (upper byte dropped).
TColor ColorToRGB(TColor color);

// A set of enumerators (at most 32) of a small enum, as the option and style sets are.
template <typename E> class TSet {
public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> items) {
        for (E item : items)
            Include(item);
    }
    constexpr bool Contains(E item) const { return (Bits >> unsigned(item)) & 1u; }
    constexpr TSet& Include(E item) {
        Bits |= 1u << unsigned(item);
        return *this;
    }
    constexpr TSet& Exclude(E item) {
        Bits &= ~(1u << unsigned(item));
        return *this;
    }
    constexpr TSet operator|(TSet other) const { return FromBits(Bits | other.Bits); }
    constexpr TSet operator&(TSet other) const { return FromBits(Bits & other.Bits); }
    constexpr TSet operator-(TSet other) const { return FromBits(Bits & ~other.Bits); }
    constexpr bool Empty() const { return Bits == 0; }
    constexpr std::uint32_t ToBits() const { return Bits; }
    static constexpr TSet FromBits(std::uint32_t bits) {
        TSet s;
        s.Bits = bits;
        return s;
    }
    friend constexpr bool operator==(TSet, TSet) = default;

private:
    std::uint32_t Bits = 0;
};

// The display layer's errors. The message is the platform text, used exactly; Detail() adds
// what the underlying library said, so what() reads as one line a program can print.
class EDirectDrawError : public std::runtime_error {
public:
    explicit EDirectDrawError(const std::string& text, const std::string& detail = {})
        : std::runtime_error(detail.empty() ? text : text + " (" + detail + ")"), MessageText(text),
          DetailText(detail) {}
    const std::string& Text() const { return MessageText; }
    const std::string& Detail() const { return DetailText; }

private:
    std::string MessageText;
    std::string DetailText;
};

// Opening the display: no window to show on, display mode, primary surface.
class EDXDrawError : public EDirectDrawError {
public:
    using EDirectDrawError::EDirectDrawError;
};

// An off-screen surface could not be created.
class EDirectDrawSurfaceError : public EDirectDrawError {
public:
    using EDirectDrawError::EDirectDrawError;
};

// A bitmap or picture stream that cannot be decoded: "不正な DIB です" for bitmaps.
class EInvalidGraphic : public EDirectDrawError {
public:
    using EDirectDrawError::EDirectDrawError;
};

} // namespace tamtara
