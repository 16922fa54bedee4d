// Creation of the fourteen surfaces and the per-screen bitmap table.
#include "app/play/ScreenSurfaces.h"

#include "app/play/PlayBackground.h"
#include "platform/display/DirectDrawSurface.h"
#include "resources/PackageFile.h"

namespace tamtara {

ScreenSurfaces::ScreenSurfaces() = default;
ScreenSurfaces::~ScreenSurfaces() = default;

void ScreenSurfaces::Create()
{
    for (auto* surface : {&BackSurface, &AnkFont, &Font16, &Font32, &Font06, &MeterSurface, &NoteSurface,
                          &PadSurface, &GaugeSurface, &OverlaySurface, &SpriteSurface, &ExplodeSurface,
                          &HitSurface, &ComboFont})
        *surface = std::make_unique<TDirectDrawSurface>();
}

void ScreenSurfaces::Free()
{
    for (auto* surface : {&BackSurface, &AnkFont, &Font16, &Font32, &Font06, &MeterSurface, &NoteSurface,
                          &PadSurface, &GaugeSurface, &OverlaySurface, &SpriteSurface, &ExplodeSurface,
                          &HitSurface, &ComboFont})
        surface->reset();
}

void LoadGraphic(TReadPackageFile& package, TDirectDrawSurface& surface, const std::string& entry, KeyMode key)
{
    try {
        TStream* stream = package.SeekEntry(entry);
        if (!stream)
            throw EMissingGraphic("Graphics.pb has no entry \"" + entry + "\"");
        surface.LoadFromStream(*stream);
    } catch (const EGraphicError&) {
        throw;
    } catch (const std::exception& error) {
        // The decoder's own text says what is wrong but not where: name the package and entry.
        throw EBrokenGraphic("Graphics.pb: the entry \"" + entry + "\" cannot be read: " + error.what());
    }
    if (key == KeyMode::WithKey)
        surface.SetTransparentColor(surface.Pixel(0, 0));
}

void LoadSharedGraphics(TReadPackageFile& package, ScreenSurfaces& s)
{
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

void ScreenGraphics(std::uint8_t screenState, TReadPackageFile& package, ScreenSurfaces& s, const PlayPicture& song)
{
    const auto back = [&](const char* entry) { LoadGraphic(package, *s.BackSurface, entry, KeyMode::NoKey); };
    const auto overlay = [&](const char* entry, KeyMode key) { LoadGraphic(package, *s.OverlaySurface, entry, key); };
    const auto sprite = [&](const char* entry, KeyMode key) { LoadGraphic(package, *s.SpriteSurface, entry, key); };
    switch (screenState) {
    case 0: // ssPlay
        ComposePlayBackground(package, s, song);
        break;
    case 1: // ssTitle
        back("Title.bmp");
        sprite("TitleSt.bmp", KeyMode::NoKey);
        break;
    case 2: // ssFailed
        back("PanelPB2.bmp");
        sprite("Failed_t.bmp", KeyMode::WithKey);
        break;
    case 3: // ssPartSelect
        back("back.bmp");
        overlay("partsel3.bmp", KeyMode::NoKey);
        sprite("PartC2.bmp", KeyMode::WithKey);
        break;
    case 4: // ssDiscSelect: the sprite sheet goes first
        back("back.bmp");
        sprite("disk2.bmp", KeyMode::WithKey);
        overlay("MusSelC2.bmp", KeyMode::WithKey);
        break;
    case 5: // ssModeSelect
        back("back.bmp");
        overlay("modesel2.bmp", KeyMode::NoKey);
        sprite("modeC2.bmp", KeyMode::WithKey);
        break;
    case 6: // ssCleared
        back("PanelPB2.bmp");
        sprite("Clear_t.bmp", KeyMode::WithKey);
        break;
    case 7: // ssResult
        back("back.bmp");
        overlay("result.bmp", KeyMode::NoKey);
        break;
    case 8: // ssOpening: the logo sheet is drawn rotated, so it stays in system memory
        s.SpriteSurface->SystemMemory = true;
        sprite("Navor.bmp", KeyMode::WithKey);
        break;
    case 9: // ssFolderSelect
        back("back.bmp");
        overlay("Folder.bmp", KeyMode::WithKey);
        break;
    default:
        break;
    }
}

} // namespace tamtara
