// The fourteen off-screen surfaces of the game window and the loading of their bitmaps from
// Graphics.pb: the shared set on every restore and each screen's own sheets.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

namespace tamtara {

class TDirectDrawSurface;
class TReadPackageFile;

// A bitmap the game needs cannot be loaded from Graphics.pb; the message names the entry.
class EGraphicError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The entry is not in the package.
class EMissingGraphic : public EGraphicError {
public:
    using EGraphicError::EGraphicError;
};

// The entry is there but cannot be read or decoded; the message says why.
class EBrokenGraphic : public EGraphicError {
public:
    using EGraphicError::EGraphicError;
};

struct ScreenSurfaces {
    ScreenSurfaces();
    ~ScreenSurfaces();

    // Created when the display opens, freed when it closes (DXDrawInitialize / DXDrawFinalize).
    void Create();
    void Free();
    bool Created() const { return BackSurface != nullptr; }

    std::unique_ptr<TDirectDrawSurface> BackSurface;
    std::unique_ptr<TDirectDrawSurface> AnkFont;
    std::unique_ptr<TDirectDrawSurface> Font16;
    std::unique_ptr<TDirectDrawSurface> Font32;
    std::unique_ptr<TDirectDrawSurface> Font06;
    std::unique_ptr<TDirectDrawSurface> MeterSurface;
    std::unique_ptr<TDirectDrawSurface> NoteSurface;
    std::unique_ptr<TDirectDrawSurface> PadSurface;
    std::unique_ptr<TDirectDrawSurface> GaugeSurface;
    std::unique_ptr<TDirectDrawSurface> OverlaySurface;
    std::unique_ptr<TDirectDrawSurface> SpriteSurface;
    std::unique_ptr<TDirectDrawSurface> ExplodeSurface;
    std::unique_ptr<TDirectDrawSurface> HitSurface;
    std::unique_ptr<TDirectDrawSurface> ComboFont;
};

enum class KeyMode { NoKey, WithKey };

// Positions the package at the entry and loads the bitmap; with a key the top-left pixel becomes
// the colour key. Raises EMissingGraphic when the entry is absent, EBrokenGraphic when it cannot
// be read or decoded.
void LoadGraphic(TReadPackageFile& package, TDirectDrawSurface& surface, const std::string& entry,
                 KeyMode key);

// The sheets every screen shares, loaded whenever the display's surfaces are (re)created.
void LoadSharedGraphics(TReadPackageFile& package, ScreenSurfaces& surfaces);

} // namespace tamtara
