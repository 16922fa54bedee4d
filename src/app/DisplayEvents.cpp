// The display's events: the game's own surfaces are created when the display opens, loaded
// whenever it is (re)opened or restored, and freed when it closes.
#include "app/MainForm.h"
#include "app/ScreenGraphics.h"
#include "app/SelectionLabels.h"

#include "platform/display/DirectDrawSurface.h"
#include "platform/display/SurfaceCanvas.h"

namespace tamtara {

void TMainForm::DXDrawInitialize() {
    if (!FirstFrameShown) ReportStart(55, StartFontsText);
    Art.Surfaces.Create();
    RequireFonts();
}

void TMainForm::RequireFonts() {
    // Without any font every screen fails on its first text and the window stays black:
    // better to stop at once and say which font is missing.
    TDirectDrawSurfaceCanvas& canvas = Art.Surfaces.BackSurface->Canvas();
    for (const char* family : {"ＭＳ Ｐゴシック", "Times New Roman"}) {
        canvas.Font.Name = family;
        try {
            canvas.TextWidth("A");
        } catch (const EDirectDrawError& error) {
            Art.Surfaces.BackSurface->ReleaseCanvas();
            throw EGameStartError(std::string("No font can be used for \"") + family +
                                  "\", and no other font is installed: " + error.what());
        }
    }
    Art.Surfaces.BackSurface->ReleaseCanvas();
}

void TMainForm::DXDrawFinalize() {
    Art.Surfaces.Free();
}

void TMainForm::DXDrawRestoreSurface() {
    if (!FirstFrameShown) ReportStart(70, StartGraphicsText);
    LoadSharedGraphics(Packages.GraphicsPackage, Art.Surfaces);
    if (!ScreenGraphics()) ChangeScreen(ssOpening);
}

bool TMainForm::ScreenGraphics() {
    Play->SetOnPlayScreen(Screen.ScreenState == ssPlay);
    if (!Art.Surfaces.Created()) return true;
    try {
        tamtara::ScreenGraphics(Screen.ScreenState, Packages.GraphicsPackage, Art.Surfaces,
                                PlayPicture{Selection.SongFile, Selection.SongTitle,
                                            [this](const std::string& path, const std::string& reason) {
                                                ShowNotice("曲の画像を表示できません",
                                                           SongPathLabel(path) + "：" + reason);
                                            }});
    } catch (const EGraphicError& error) {
        if (Screen.ScreenState == ssOpening) throw; // nowhere further back to go
        // Reported every time: each attempt is the player's own choice, not a repeating frame.
        LastError = error.what();
        ShowNotice("画像を読み込めません", LastError);
        return false;
    }
    return true;
}

} // namespace tamtara
