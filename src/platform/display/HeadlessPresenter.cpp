// The windowless presenter, and the scancode to virtual-key mapping both presenters share.
#include "platform/display/HeadlessPresenter.h"

#include "platform/display/Rgb565.h"

#include <cstring>

namespace tamtara {

std::int32_t VirtualKeyOfScancode(std::int32_t scancode) {
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) return 'A' + (scancode - SDL_SCANCODE_A);
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9) return '1' + (scancode - SDL_SCANCODE_1);
    if (scancode == SDL_SCANCODE_0) return '0';
    if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F12)
        return WindowKeys::F1 + (scancode - SDL_SCANCODE_F1);
    switch (scancode) {
    case SDL_SCANCODE_RETURN: case SDL_SCANCODE_KP_ENTER: return WindowKeys::Return;
    case SDL_SCANCODE_ESCAPE: return WindowKeys::Escape;
    case SDL_SCANCODE_BACKSPACE: return WindowKeys::Back;
    case SDL_SCANCODE_TAB: return WindowKeys::Tab;
    case SDL_SCANCODE_SPACE: return WindowKeys::Space;
    case SDL_SCANCODE_LEFT: return WindowKeys::Left;
    case SDL_SCANCODE_UP: return WindowKeys::Up;
    case SDL_SCANCODE_RIGHT: return WindowKeys::Right;
    case SDL_SCANCODE_DOWN: return WindowKeys::Down;
    default: return 0;
    }
}

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

void THeadlessPresenter::Close() { CurrentMode = TPresentMode::Closed; }

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
