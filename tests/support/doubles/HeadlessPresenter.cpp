// The windowless presenter.
#include "support/doubles/HeadlessPresenter.h"

#include "platform/display/WindowKeyCodes.h"

namespace tamtara {

void THeadlessPresenter::Open(const TPresenterConfig& config) {
    if (FailOpen) {
        std::string reason = *FailOpen;
        FailOpen.reset();
        throw EDirectDrawError("DirectDraw を初期化できません", reason);
    }
    LastConfig = config;
    Caption = config.Caption;
    CurrentMode = config.FullScreen ? TPresentMode::FullScreenMode : TPresentMode::Windowed;
    IsLost = false;
}

void THeadlessPresenter::Close() {
    CurrentMode = TPresentMode::Closed;
}

void THeadlessPresenter::Present(const TDirectDrawSurface& backBuffer) {
    if (CurrentMode == TPresentMode::Closed || IsLost || backBuffer.Absent()) return;
    if (LastFrame.Width() != backBuffer.Width() || LastFrame.Height() != backBuffer.Height())
        LastFrame.SetSize(backBuffer.Width(), backBuffer.Height());
    LastFrame.Draw(0, 0, TRect{0, 0, backBuffer.Width(), backBuffer.Height()}, backBuffer, false);
    ++Presents;
}

bool THeadlessPresenter::Restore() {
    if (FailRestore) return false;
    IsLost = false;
    return true;
}

bool THeadlessPresenter::PollEvent(TDisplayEvent& event) {
    if (Events.empty()) return false;
    event = Events.front();
    Events.pop_front();
    return true;
}

bool THeadlessPresenter::GetWindowPlacement(TWindowPlacement& placement) const {
    placement = Placement;
    return true;
}

void THeadlessPresenter::PushKey(std::int32_t scancode) {
    TDisplayEvent event;
    event.Scancode = scancode;
    event.Key = VirtualKeyOfScancode(scancode);
    event.Kind = TDisplayEventKind::KeyDown;
    Events.push_back(event);
    event.Kind = TDisplayEventKind::KeyUp;
    Events.push_back(event);
}

void THeadlessPresenter::PushCloseRequest() {
    TDisplayEvent event;
    event.Kind = TDisplayEventKind::CloseRequest;
    Events.push_back(event);
}

void THeadlessPresenter::SetFocus(bool focused) {
    HasFocus = focused;
    TDisplayEvent event;
    event.Kind = focused ? TDisplayEventKind::Activate : TDisplayEventKind::Deactivate;
    Events.push_back(event);
}

} // namespace tamtara
