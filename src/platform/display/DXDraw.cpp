// Opening, closing, restoring and flipping the display, and the window's event pump.
#include "platform/display/DXDraw.h"

namespace tamtara {

void TDXDrawDisplay::SetBitCount(std::int32_t bitCount) {
    if (bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
        throw EDirectDrawError("8, 16, 24, 32 のいずれかの値でなければなりません");
    Bits = bitCount;
}

TDXDraw::TDXDraw(std::unique_ptr<IPresenter> presenter) : PresenterObject(std::move(presenter)) {
    SetOptions(GameDisplayOptions);
}

// The owner's surfaces may already be gone when the display is destroyed, so OnFinalize is
// not raised here; Finalize it explicitly to have it raised.
TDXDraw::~TDXDraw() {
    CloseDisplay();
}

void TDXDraw::SetOptions(TDXDrawOptions options) {
    if (!IsInitialized) {
        RequestedOptions = options;
        Effective = DeriveEffectiveOptions(options);
        return;
    }
    RequestedOptions = (RequestedOptions - LiveOptions) | (options & LiveOptions);
    Effective = (Effective - LiveOptions) | (options & LiveOptions);
}

TPresentMode TDXDraw::PresentMode() const {
    return PresenterObject ? PresenterObject->Mode() : TPresentMode::Closed;
}

void TDXDraw::Initialize() {
    if (IsInitialized) Finalize();
    if (!PresenterObject) throw EDXDrawError("フォームが見つかりません");
    using enum TDXDrawOption;
    TPresenterConfig config;
    config.FullScreen = Effective.Contains(doFullScreen);
    config.Width = Display.Width;
    config.Height = Display.Height;
    config.BitCount = Display.BitCount();
    config.WaitVBlank = Effective.Contains(doWaitVBlank);
    config.Stretch = Effective.Contains(doStretch);
    config.Center = Effective.Contains(doCenter);
    config.Scaling = Scaling;
    config.Caption = Caption;
    InTransition = true;
    try {
        PresenterObject->Open(config);
        // With AutoSize the back buffer takes the display's size; the control is that size too.
        BackBuffer.SetSize(Display.Width, Display.Height);
    } catch (...) {
        CloseDisplay();
        throw;
    }
    InTransition = false;
    IsInitialized = true;
    try {
        if (OnInitialize) OnInitialize(*this);
        RestoreSurfaces();
    } catch (...) {
        Finalize();
        throw;
    }
}

void TDXDraw::RestoreSurfaces() {
    InTransition = true;
    BackBuffer.Fill(0);
    InTransition = false;
    if (OnRestoreSurface) OnRestoreSurface(*this);
}

void TDXDraw::Finalize() {
    if (!IsInitialized) return;
    InTransition = true;
    try {
        if (OnFinalize) OnFinalize(*this);
    } catch (...) {
        CloseDisplay();
        throw;
    }
    CloseDisplay();
}

void TDXDraw::CloseDisplay() {
    BackBuffer.SetSize(0, 0);
    if (PresenterObject) PresenterObject->Close();
    IsInitialized = false;
    InTransition = false;
}

bool TDXDraw::CanDraw() {
    if (!IsInitialized || InTransition || BackBuffer.Absent()) return false;
    if (!PresenterObject->Lost()) return true;
    InTransition = true;
    bool restored = PresenterObject->Restore();
    InTransition = false;
    if (!restored) return false;
    RestoreSurfaces();
    return !PresenterObject->Lost();
}

void TDXDraw::Flip() {
    if (!CanDraw()) return;
    // A page-flipping full screen shows nothing while the window is in the background.
    if (Effective.Contains(TDXDrawOption::doFlip) && !PresenterObject->Active()) return;
    if (OnBeforeFlip) OnBeforeFlip(*this);
    PresenterObject->Present(BackBuffer);
}

void TDXDraw::ProcessEvents() {
    if (!PresenterObject) return;
    TDisplayEvent event;
    while (PresenterObject->PollEvent(event)) {
        switch (event.Kind) {
        case TDisplayEventKind::KeyDown:
            if (OnKeyDown) OnKeyDown(*this, event);
            break;
        case TDisplayEventKind::KeyUp:
            if (OnKeyUp) OnKeyUp(*this, event);
            break;
        case TDisplayEventKind::CloseRequest:
            RequestClose();
            break;
        case TDisplayEventKind::Activate:
        case TDisplayEventKind::Deactivate:
            if (OnActivate) OnActivate(*this, event.Kind == TDisplayEventKind::Activate);
            break;
        }
    }
}

void TDXDraw::WaitEvents(std::uint32_t timeoutMs) {
    if (PresenterObject) PresenterObject->WaitEvent(timeoutMs);
}

void TDXDraw::WakeEvents() {
    if (PresenterObject) PresenterObject->Wake();
}

void TDXDraw::RequestClose() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(*this, canClose);
    if (!canClose) return;
    Closed = true;
    if (OnClose) OnClose(*this);
}

} // namespace tamtara
