// The display: opens and closes the window or full screen, owns the 640 x 480 back buffer
// that every screen draws on, shows frames, restores after the renderer lost its textures,
// and passes the window's keys, close requests and focus changes to the game window.
#pragma once

#include "platform/display/DXDrawOptions.h"
#include "platform/display/DirectDrawSurface.h"
#include "platform/display/Presenter.h"

#include <functional>
#include <memory>

namespace tamtara {

class TDXDraw;

// The display mode asked for.
class TDXDrawDisplay {
public:
    std::int32_t Width = 640;
    std::int32_t Height = 480;
    bool FixedBitCount = false;
    bool FixedRatio = true;
    bool FixedSize = false;

    std::int32_t BitCount() const { return Bits; }
    // Raises EDirectDrawError "8, 16, 24, 32 のいずれかの値でなければなりません" for other values.
    void SetBitCount(std::int32_t bitCount);

private:
    std::int32_t Bits = 16;
};

using TNotifyEvent = std::function<void(TDXDraw& sender)>;

class TDXDraw {
public:
    // Without a presenter the display has nowhere to show: Initialize raises EDXDrawError.
    explicit TDXDraw(std::unique_ptr<IPresenter> presenter);
    ~TDXDraw();
    TDXDraw(const TDXDraw&) = delete;
    TDXDraw& operator=(const TDXDraw&) = delete;

    TDXDrawDisplay Display;
    bool AutoInitialize = true;
    bool AutoSize = true;
    TColor Color = clBlack;
    // How the picture is enlarged on a display bigger than it; used from the next Initialize.
    TPictureScaling Scaling = TPictureScaling::Integer;

    // Raised after opening (create surfaces), after every restore (load bitmaps), and
    // before closing (free surfaces).
    TNotifyEvent OnInitialize;
    TNotifyEvent OnRestoreSurface;
    TNotifyEvent OnFinalize;
    // Raised by Flip just before the back buffer is shown: the last chance to draw on it.
    TNotifyEvent OnBeforeFlip;

    // Window events, delivered by ProcessEvents on the calling (main) thread.
    std::function<void(TDXDraw& sender, const TDisplayEvent& key)> OnKeyDown;
    std::function<void(TDXDraw& sender, const TDisplayEvent& key)> OnKeyUp;
    // Asked on every close request (window close button or RequestClose); clear canClose to
    // refuse. When allowed, CloseRequested() becomes true and OnClose runs.
    std::function<void(TDXDraw& sender, bool& canClose)> OnCloseQuery;
    TNotifyEvent OnClose;
    // The window gained (true) or lost (false) input focus.
    std::function<void(TDXDraw& sender, bool active)> OnActivate;

    // Options as set; setting them on a closed display derives EffectiveOptions(). On an open
    // display only doWaitVBlank, doStretch and doCenter change.
    TDXDrawOptions Options() const { return RequestedOptions; }
    void SetOptions(TDXDrawOptions options);
    TDXDrawOptions EffectiveOptions() const { return Effective; }
    bool FullScreen() const { return Effective.Contains(TDXDrawOption::doFullScreen); }

    // Opens the display (re-opening when open): OnInitialize, then the restore step with
    // OnRestoreSurface. A failure closes the display again and raises the layer's error.
    void Initialize();
    // Raises OnFinalize and closes; nothing on a closed display.
    void Finalize();
    bool Initialized() const { return IsInitialized; }
    // True when a frame can be drawn; restores lost textures first (raising OnRestoreSurface).
    bool CanDraw();
    // Shows the back buffer.
    void Flip();
    TDirectDrawSurface& Surface() { return BackBuffer; }

    // Drains the window's pending events into the handlers above.
    void ProcessEvents();
    // Waits until a window event is pending, WakeEvents is called or timeoutMs have passed.
    void WaitEvents(std::uint32_t timeoutMs);
    // Ends a WaitEvents early; may be called from any thread.
    void WakeEvents();
    // A programmatic close (Escape on the title screen): asks OnCloseQuery like the window's
    // close button does.
    void RequestClose();
    bool CloseRequested() const { return Closed; }

    // The window title, given to the presenter when the display opens.
    std::string Caption;

    IPresenter& Presenter() { return *PresenterObject; }
    TPresentMode PresentMode() const;

private:
    void RestoreSurfaces();
    void CloseDisplay();

    std::unique_ptr<IPresenter> PresenterObject;
    TDirectDrawSurface BackBuffer;
    TDXDrawOptions RequestedOptions;
    TDXDrawOptions Effective;
    bool IsInitialized = false;
    bool InTransition = false;
    bool Closed = false;
};

} // namespace tamtara
