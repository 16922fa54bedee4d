// Which bitmaps each screen loads from Graphics.pb when it is entered (and again after the
// display has been restored); play composes its background from the song instead.
#include "app/ScreenGraphics.h"

#include "app/play/PlayBackground.h"
#include "platform/display/DirectDrawSurface.h"

namespace tamtara {

void ScreenGraphics(ScreenState screenState, TReadPackageFile& package, ScreenSurfaces& s,
                    const PlayPicture& song) {
    const auto back = [&](const char* entry) { LoadGraphic(package, *s.BackSurface, entry, KeyMode::NoKey); };
    const auto overlay = [&](const char* entry, KeyMode key) {
        LoadGraphic(package, *s.OverlaySurface, entry, key);
    };
    const auto sprite = [&](const char* entry, KeyMode key) {
        LoadGraphic(package, *s.SpriteSurface, entry, key);
    };
    switch (screenState) {
    case ssPlay:
        ComposePlayBackground(package, s, song);
        break;
    case ssTitle:
        back("Title.bmp");
        sprite("TitleSt.bmp", KeyMode::NoKey);
        break;
    case ssFailed:
        back("PanelPB2.bmp");
        sprite("Failed_t.bmp", KeyMode::WithKey);
        break;
    case ssPartSelect:
        back("back.bmp");
        overlay("partsel3.bmp", KeyMode::NoKey);
        sprite("PartC2.bmp", KeyMode::WithKey);
        break;
    case ssDiscSelect: // the sprite sheet goes first
        back("back.bmp");
        sprite("disk2.bmp", KeyMode::WithKey);
        overlay("MusSelC2.bmp", KeyMode::WithKey);
        break;
    case ssModeSelect:
    case ssPracticeSetup:
        back("back.bmp");
        overlay("modesel2.bmp", KeyMode::NoKey);
        sprite("modeC2.bmp", KeyMode::WithKey);
        break;
    case ssCleared:
        back("PanelPB2.bmp");
        sprite("Clear_t.bmp", KeyMode::WithKey);
        break;
    case ssResult:
        back("back.bmp");
        overlay("result.bmp", KeyMode::NoKey);
        break;
    case ssOpening: // the logo sheet is drawn rotated, so it stays in system memory
        s.SpriteSurface->SystemMemory = true;
        sprite("Navor.bmp", KeyMode::WithKey);
        break;
    case ssFolderSelect:
        back("back.bmp");
        overlay("Folder.bmp", KeyMode::WithKey);
        break;
    case ssCalibration:
        back("back.bmp");
        overlay("calib.bmp", KeyMode::NoKey);
        break;
    default:
        break;
    }
}

} // namespace tamtara
