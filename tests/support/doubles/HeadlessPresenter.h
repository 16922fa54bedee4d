// A presenter without a window: keeps a copy of every shown frame and hands out events that a
// test queued, so the game window can be driven frame by frame.
#pragma once

#include "platform/display/DirectDrawSurface.h"
#include "platform/display/Presenter.h"

#include <deque>
#include <optional>

namespace tamtara {

class THeadlessPresenter final : public IPresenter {
public:
    void Open(const TPresenterConfig& config) override;
    void Close() override;
    TPresentMode Mode() const override { return CurrentMode; }
    void Present(const TDirectDrawSurface& backBuffer) override;
    bool Lost() const override { return IsLost; }
    bool Restore() override;
    bool PollEvent(TDisplayEvent& event) override;
    // The harness moves the clock itself: waiting returns at once.
    void WaitEvent(std::uint32_t) override {}
    void Wake() override {}
    bool Active() const override { return HasFocus; }
    void SetCaption(const std::string& caption) override { Caption = caption; }
    void SetCursorVisible(bool visible) override { CursorVisible = visible; }
    bool GetWindowPlacement(TWindowPlacement& placement) const override;
    void SetWindowPlacement(const TWindowPlacement& placement) override { Placement = placement; }

    // The last frame shown (absent before the first Present).
    const TDirectDrawSurface& Frame() const { return LastFrame; }
    int PresentCount() const { return Presents; }
    const TPresenterConfig& Config() const { return LastConfig; }

    // Test controls.
    void PushEvent(const TDisplayEvent& event) { Events.push_back(event); }
    // A key press and its release, with the virtual-key code derived from the scancode.
    void PushKey(std::int32_t scancode);
    void PushCloseRequest();
    // Gains or loses focus, queueing the matching event.
    void SetFocus(bool focused);
    // The renderer loses its textures; Restore succeeds unless FailRestore is set.
    void SimulateLoss() { IsLost = true; }
    bool FailRestore = false;
    // When set, the next Open raises EDirectDrawError with this reason.
    std::optional<std::string> FailOpen;

    std::string Caption;
    bool CursorVisible = true;
    TWindowPlacement Placement{0, 0, 640, 480, false, false};

private:
    TPresentMode CurrentMode = TPresentMode::Closed;
    TPresenterConfig LastConfig;
    TDirectDrawSurface LastFrame;
    std::deque<TDisplayEvent> Events;
    int Presents = 0;
    bool IsLost = false;
    bool HasFocus = true;
};

} // namespace tamtara
