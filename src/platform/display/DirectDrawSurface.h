// One off-screen picture in the display's 16-bit RGB565 format, with the blits, fills and
// software effects the screens draw with, bitmap and JPEG loading, and PNG output.
#pragma once

#include "platform/display/DisplayTypes.h"

#include <memory>
#include <string>
#include <vector>

struct SDL_Surface;

namespace tamtara {

class TStream;
class TDirectDrawSurfaceCanvas;

class TDirectDrawSurface {
public:
    TDirectDrawSurface();
    ~TDirectDrawSurface();
    TDirectDrawSurface(const TDirectDrawSurface&) = delete;
    TDirectDrawSurface& operator=(const TDirectDrawSurface&) = delete;

    // Kept for the game's sake (sheets drawn with the software effects ask for it); every
    // surface here lives in system memory anyway.
    bool SystemMemory = false;

    std::int32_t Width() const;
    std::int32_t Height() const;
    // True while no platform surface exists (before SetSize or a load, or after SetSize(0, 0)).
    bool Absent() const;

    // (Re)creates the surface, black; a size of 0 or less releases it.
    // Raises EDirectDrawSurfaceError "サーフェース を作成できません".
    void SetSize(std::int32_t width, std::int32_t height);

    // Reads a BMP image at the stream's position and becomes a copy of it. A stream at its end
    // leaves the surface as it was; anything that is not a bitmap raises EInvalidGraphic
    // "不正な DIB です". Reads no further than the bitmap's own headers say.
    // With keepWidth / keepHeight, only the centred part of the picture that a draw centred on a
    // surface of that size can show is kept (a side of 0 keeps all of it).
    void LoadFromStream(TStream& stream, std::int32_t keepWidth = 0, std::int32_t keepHeight = 0);
    // Decodes a JPEG image from the stream's position to its end; raises EInvalidGraphic.
    void LoadJpegFromStream(TStream& stream, std::int32_t keepWidth = 0, std::int32_t keepHeight = 0);

    // Copies source's srcRect to (x, y), clipped on every edge; with transparent, source
    // pixels equal to source's colour key are skipped.
    void Draw(std::int32_t x, std::int32_t y, const TRect& srcRect, const TDirectDrawSurface& source,
              bool transparent);
    // Adds srcRect of source, stretched to destRect, channel by channel (saturating), scaled by
    // alpha / 255 below 255.
    void DrawAdd(const TRect& destRect, const TRect& srcRect, const TDirectDrawSurface& source,
                 bool transparent, std::int32_t alpha);
    // Draws srcRect scaled to width x height, with the picture point (centerX * width,
    // centerY * height) placed at (x, y), turned clockwise by angle / 256 of a full turn.
    void DrawRotate(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                    const TRect& srcRect, const TDirectDrawSurface& source, double centerX, double centerY,
                    bool transparent, std::int32_t angle);

    void Fill(std::uint32_t deviceColor);
    void FillRect(const TRect& rect, std::uint32_t deviceColor);
    // Blends color over rect with opacity alpha / 255.
    void FillRectAlpha(const TRect& rect, TColor color, std::int32_t alpha);

    // The device (RGB565) value of color; 0 for an absent surface.
    std::uint32_t ColorMatch(TColor color) const;
    // The raw pixel; 0 outside the surface or when absent.
    std::uint32_t Pixel(std::int32_t x, std::int32_t y) const;
    void SetPixel(std::int32_t x, std::int32_t y, std::uint32_t deviceColor);

    void SetTransparentColor(std::uint32_t deviceColor);
    std::uint32_t TransparentColor() const { return ColorKey; }
    bool HasTransparentColor() const { return ColorKeySet; }

    TDirectDrawSurfaceCanvas& Canvas();
    void ReleaseCanvas();

    // The picture as red, green, blue bytes, top row first (channels widened from 5/6 bits).
    std::vector<std::uint8_t> ToRgb() const;
    // Writes the picture as a PNG file; false (with a reason in error) when it cannot.
    bool SaveToPng(const std::string& path, std::string* error = nullptr) const;

    // The platform surface (RGB565), or null while absent; for the platform layer only.
    SDL_Surface* Handle() const { return Surface.get(); }

private:
    struct SurfaceDeleter {
        void operator()(SDL_Surface* surface) const;
    };
    void Adopt(SDL_Surface* surface);

    std::unique_ptr<SDL_Surface, SurfaceDeleter> Surface;
    std::unique_ptr<TDirectDrawSurfaceCanvas> CanvasObject;
    std::uint32_t ColorKey = 0;
    bool ColorKeySet = false;
};

// The RGB value a device (RGB565) value stands for, each channel widened to 8 bits.
TColor DeviceToColor(std::uint32_t deviceColor);
// The RGB565 value of an RGB colour, as GDI packs it (the top bits of each channel).
std::uint32_t ColorToDevice(TColor color);

} // namespace tamtara
