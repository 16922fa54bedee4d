// The display's events: the game's own surfaces are created when the display opens, loaded
// whenever it is (re)opened or restored, and freed when it closes.
#include "app/MainForm.h"

namespace tamtara {

void TMainForm::DXDrawInitialize() {
    // play screen: create the game's surfaces.
    Play->Surfaces.Create();
}

void TMainForm::DXDrawFinalize() {
    // play screen: free the game's surfaces.
    Play->Surfaces.Free();
}

void TMainForm::DXDrawRestoreSurface() {
    // play screen: load the bitmaps every screen shares.
    LoadSharedGraphics(GraphicsPackage, Play->Surfaces);
    ScreenGraphics();
}

void TMainForm::ScreenGraphics() {
    // play screen: load the bitmaps of ScreenState.
    Play->SetOnPlayScreen(ScreenState == ssPlay);
    if (Play->Surfaces.Created())
        tamtara::ScreenGraphics(ScreenState, GraphicsPackage, Play->Surfaces, PlayPicture{SongFile, SongTitle});
}

} // namespace tamtara
