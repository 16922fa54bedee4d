// What shows the back buffer: a window with a renderer, or a headless stand-in for tests.
// Also the source of the window's events (keys, close requests, focus).
#pragma once

#include "platform/display/PicturePlacement.h"

#include <cstdint>
#include <memory>
#include <string>

namespace tamtara {

class TDirectDrawSurface;

struct TPresenterConfig {
    bool FullScreen = false;
    std::int32_t Width = 640;
    std::int32_t Height = 480;
    std::int32_t BitCount = 16;
    bool WaitVBlank = false;
    bool Stretch = false;
    bool Center = true;
    TPictureScaling Scaling = TPictureScaling::Integer;
    std::string Caption;
};

// How the picture ended up on the screen after Open.
enum class TPresentMode : std::uint8_t {
    Closed,
    Windowed,
    FullScreenMode,    // the display switched to a real Width x Height mode
    FullScreenDesktop, // desktop-sized full screen, letterboxed
};

struct TWindowPlacement {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    bool Maximized = false;
    bool Minimized = false;
};

enum class TDisplayEventKind : std::uint8_t { KeyDown, KeyUp, CloseRequest, Activate, Deactivate };

// Windows virtual-key codes of the keys the window's own key handler acts on.
namespace WindowKeys {
constexpr std::int32_t Back = 0x08, Tab = 0x09, Return = 0x0D, Escape = 0x1B, Space = 0x20, Left = 0x25,
                       Up = 0x26, Right = 0x27, Down = 0x28, F1 = 0x70, F2 = 0x71, F3 = 0x72, F4 = 0x73,
                       F5 = 0x74, F12 = 0x7B;
} // namespace WindowKeys

struct TDisplayEvent {
    TDisplayEventKind Kind = TDisplayEventKind::KeyDown;
    // SDL_Scancode value of the key (key events only).
    std::int32_t Scancode = 0;
    // Virtual-key code: letters, digits, F1-F12, cursor keys, Return, Escape, Space, Tab,
    // Backspace; 0 for other keys.
    std::int32_t Key = 0;
    bool Repeat = false;
    // Milliseconds the event had waited since the system handed it over, when it was taken.
    std::uint32_t Age = 0;
};

class IPresenter {
public:
    virtual ~IPresenter() = default;

    // Creates (or re-uses) the window and the renderer; raises EDirectDrawError / EDXDrawError
    // with a one-line reason when there is no display or the mode cannot be set.
    virtual void Open(const TPresenterConfig& config) = 0;
    // Leaves full screen and releases the renderer; the window itself stays until destruction.
    virtual void Close() = 0;
    virtual TPresentMode Mode() const = 0;
    // Shows the back buffer (640 x 480 RGB565).
    virtual void Present(const TDirectDrawSurface& backBuffer) = 0;
    // True after the renderer lost its textures (render targets or device reset).
    virtual bool Lost() const = 0;
    // Re-creates what was lost; true when the presenter can show frames again.
    virtual bool Restore() = 0;
    // Takes the next window event; false when none is waiting.
    virtual bool PollEvent(TDisplayEvent& event) = 0;
    // Returns when an event is waiting, Wake was called, or timeoutMs have passed.
    virtual void WaitEvent(std::uint32_t timeoutMs) = 0;
    // Ends a WaitEvent early; may be called from any thread.
    virtual void Wake() = 0;
    // Whether the window has input focus.
    virtual bool Active() const = 0;

    virtual void SetCaption(const std::string& caption) = 0;
    virtual void SetCursorVisible(bool visible) = 0;
    // False when there is no window to ask.
    virtual bool GetWindowPlacement(TWindowPlacement& placement) const = 0;
    virtual void SetWindowPlacement(const TWindowPlacement& placement) = 0;
};

// The SDL window, renderer and streaming RGB565 texture. Works with SDL_VIDEODRIVER=dummy too.
std::unique_ptr<IPresenter> CreateSdlPresenter();

// Raises EDirectDrawError with a one-line reason when no real display answers.
void ProbeDisplay();

} // namespace tamtara
