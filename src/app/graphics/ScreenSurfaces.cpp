// Creation of the fourteen surfaces and the per-screen bitmap table.
#include "app/graphics/ScreenSurfaces.h"

#include "platform/display/DirectDrawSurface.h"
#include "resources/PackageFile.h"

namespace tamtara {

ScreenSurfaces::ScreenSurfaces() = default;
ScreenSurfaces::~ScreenSurfaces() = default;

void ScreenSurfaces::Create() {
    for (auto* surface :
         {&BackSurface, &AnkFont, &Font16, &Font32, &Font06, &MeterSurface, &NoteSurface, &PadSurface,
          &GaugeSurface, &OverlaySurface, &SpriteSurface, &ExplodeSurface, &HitSurface, &ComboFont})
        *surface = std::make_unique<TDirectDrawSurface>();
}

void ScreenSurfaces::Free() {
    for (auto* surface :
         {&BackSurface, &AnkFont, &Font16, &Font32, &Font06, &MeterSurface, &NoteSurface, &PadSurface,
          &GaugeSurface, &OverlaySurface, &SpriteSurface, &ExplodeSurface, &HitSurface, &ComboFont})
        surface->reset();
}

void LoadGraphic(TReadPackageFile& package, TDirectDrawSurface& surface, const std::string& entry,
                 KeyMode key) {
    try {
        TStream* stream = package.SeekEntry(entry);
        if (!stream) throw EMissingGraphic("Graphics.pb has no entry \"" + entry + "\"");
        surface.LoadFromStream(*stream);
    } catch (const EGraphicError&) {
        throw;
    } catch (const std::exception& error) {
        // The decoder's own text says what is wrong but not where: name the package and entry.
        throw EBrokenGraphic("Graphics.pb: the entry \"" + entry + "\" cannot be read: " + error.what());
    }
    if (key == KeyMode::WithKey) surface.SetTransparentColor(surface.Pixel(0, 0));
}

void LoadSharedGraphics(TReadPackageFile& package, ScreenSurfaces& s) {
    const auto load = [&](TDirectDrawSurface& surface, const char* entry, bool systemMemory, KeyMode key) {
        surface.SystemMemory = systemMemory;
        LoadGraphic(package, surface, entry, key);
    };
    LoadGraphic(package, *s.MeterSurface, "TrcMeter.bmp", KeyMode::NoKey);
    load(*s.AnkFont, "Ank.bmp", false, KeyMode::WithKey);
    load(*s.Font16, "Font16T1.bmp", false, KeyMode::WithKey);
    load(*s.Font32, "Font32T1.bmp", false, KeyMode::WithKey);
    load(*s.Font06, "Font06.bmp", false, KeyMode::WithKey);
    load(*s.NoteSurface, "Note2.bmp", false, KeyMode::WithKey);
    load(*s.ExplodeSurface, "Explode.bmp", true, KeyMode::WithKey);
    load(*s.PadSurface, "pad.bmp", false, KeyMode::WithKey);
    load(*s.GaugeSurface, "Gauge.bmp", false, KeyMode::NoKey);
    load(*s.HitSurface, "Hit.bmp", false, KeyMode::WithKey);
    load(*s.ComboFont, "Combo.bmp", false, KeyMode::WithKey);
}

} // namespace tamtara
