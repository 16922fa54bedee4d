// The real presenter: an SDL window with a renderer and one streaming RGB565 texture, a real
// 640 x 480 full-screen mode when the display offers one (integer scaling only), else desktop
// full screen with the picture letterboxed by the chosen scaling.
#include "platform/display/DirectDrawSurface.h"
#include "platform/display/PicturePlacement.h"
#include "platform/display/Presenter.h"
#include "platform/display/Rgb565.h"
#include "platform/display/WindowKeyCodes.h"

#include <algorithm>

namespace tamtara {

namespace {

// Starts SDL's video; raises EDirectDrawError when no display answers.
void StartSdlVideo() {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        throw EDirectDrawError("DirectDraw を初期化できません",
                               std::string("no display available: ") + SDL_GetError());
    // SDL falls back to its invisible drivers when no display answers; a game nobody can
    // see is worse than an error, so those count only when asked for by name.
    const std::string driver = SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "";
    const char* requested = SDL_getenv("SDL_VIDEODRIVER");
    if ((driver == "offscreen" || driver == "dummy") &&
        !(requested && std::string(requested).find(driver) != std::string::npos)) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        throw EDirectDrawError("DirectDraw を初期化できません",
                               "no display available: neither X11 nor Wayland answered");
    }
}

class TSdlPresenter final : public IPresenter {
public:
    ~TSdlPresenter() override {
        ReleaseRenderer();
        if (Window) SDL_DestroyWindow(Window);
        if (VideoStarted) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }

    void Open(const TPresenterConfig& config) override {
        std::string caption = config.Caption.empty() ? Config.Caption : config.Caption;
        Config = config;
        Config.Caption = caption;
        StartVideo();
        CreateWindow();
        if (config.FullScreen) {
            // The renderer first: making one may re-create the window (for OpenGL), which would
            // undo the window's size and place for full screen.
            CreateRenderer();
            EnterFullScreen();
        } else {
            LeaveFullScreen();
            CreateRenderer();
        }
        IsLost = false;
        // The launcher's dialog had the keyboard; the game must have it without a click.
        SDL_RaiseWindow(Window);
        SDL_SetWindowInputFocus(Window);
    }

    void Close() override {
        ReleaseRenderer();
        if (Window && CurrentMode != TPresentMode::Windowed && CurrentMode != TPresentMode::Closed)
            SDL_SetWindowFullscreen(Window, 0);
        CurrentMode = TPresentMode::Closed;
    }

    TPresentMode Mode() const override { return CurrentMode; }

    void Present(const TDirectDrawSurface& backBuffer) override {
        SDL_Surface* pixels = backBuffer.Handle();
        if (!Texture || IsLost || !pixels) return;
        if (pixels->w != TextureWidth || pixels->h != TextureHeight) return;
        SDL_UpdateTexture(Texture, nullptr, pixels->pixels, pixels->pitch);
        SDL_SetRenderDrawColor(Renderer, 0, 0, 0, 255);
        SDL_RenderClear(Renderer);
        const TPictureRect place = Placement();
        const SDL_Rect target{place.X, place.Y, place.Width, place.Height};
        SDL_RenderCopy(Renderer, Texture, nullptr, &target);
        SDL_RenderPresent(Renderer);
    }

    bool Lost() const override { return IsLost; }

    bool Restore() override {
        if (!Window) return false;
        try {
            ReleaseRenderer();
            CreateRenderer();
        } catch (const EDirectDrawError&) {
            return false;
        }
        IsLost = false;
        return true;
    }

    bool PollEvent(TDisplayEvent& event) override {
        if (!VideoStarted) return false;
        SDL_Event e;
        while (SDL_PollEvent(&e)) {
            switch (e.type) {
            case SDL_KEYDOWN:
            case SDL_KEYUP:
                event.Kind = e.type == SDL_KEYDOWN ? TDisplayEventKind::KeyDown : TDisplayEventKind::KeyUp;
                event.Scancode = e.key.keysym.scancode;
                event.Key = VirtualKeyOfScancode(e.key.keysym.scancode);
                event.Repeat = e.key.repeat != 0;
                event.Age = AgeOf(e.key.timestamp);
                return true;
            case SDL_QUIT:
                // The window's close button ends in SDL_QUIT (its window event is skipped, so a
                // click asks only once).
                event = TDisplayEvent{TDisplayEventKind::CloseRequest};
                return true;
            case SDL_WINDOWEVENT:
                if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED ||
                    e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
                    HasFocus = e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED;
                    event =
                        TDisplayEvent{HasFocus ? TDisplayEventKind::Activate : TDisplayEventKind::Deactivate};
                    return true;
                }
                break;
            case SDL_RENDER_TARGETS_RESET:
            case SDL_RENDER_DEVICE_RESET:
                IsLost = true;
                break;
            default:
                break;
            }
        }
        return false;
    }

    void WaitEvent(std::uint32_t timeoutMs) override {
        if (!VideoStarted) return;
        SDL_WaitEventTimeout(nullptr, static_cast<int>(timeoutMs));
    }

    void Wake() override {
        if (!VideoStarted) return;
        SDL_Event wake{};
        wake.type = WakeEventType();
        SDL_PushEvent(&wake);
    }

    bool Active() const override { return HasFocus; }

    void SetCaption(const std::string& caption) override {
        Config.Caption = caption;
        if (Window) SDL_SetWindowTitle(Window, caption.c_str());
    }

    // Kept until the video starts: the game hides the cursor before its display exists.
    void SetCursorVisible(bool visible) override {
        CursorShown = visible;
        ApplyCursor();
    }

    bool GetWindowPlacement(TWindowPlacement& placement) const override {
        if (!Window) return false;
        SDL_GetWindowPosition(Window, &placement.X, &placement.Y);
        SDL_GetWindowSize(Window, &placement.Width, &placement.Height);
        Uint32 flags = SDL_GetWindowFlags(Window);
        placement.Maximized = flags & SDL_WINDOW_MAXIMIZED;
        placement.Minimized = flags & SDL_WINDOW_MINIMIZED;
        return true;
    }

    void SetWindowPlacement(const TWindowPlacement& placement) override {
        if (!Window) return;
        // The owner puts the window back where it was; no centring after full screen then.
        CoveredDisplay = false;
        SDL_RestoreWindow(Window);
        SDL_SetWindowSize(Window, placement.Width, placement.Height);
        SDL_SetWindowPosition(Window, placement.X, placement.Y);
        if (placement.Maximized) SDL_MaximizeWindow(Window);
        if (placement.Minimized) SDL_MinimizeWindow(Window);
    }

private:
    // SDL stamps an event with its millisecond counter when it takes it from the system.
    static std::uint32_t AgeOf(Uint32 timestamp) {
        const Uint32 now = SDL_GetTicks();
        return now - timestamp < 1000 ? now - timestamp : 0;
    }

    // A private event type that only ends a wait; PollEvent skips it.
    static Uint32 WakeEventType() {
        static const Uint32 type = SDL_RegisterEvents(1);
        return type;
    }

    void StartVideo() {
        if (VideoStarted) return;
        StartSdlVideo();
        VideoStarted = true;
        ApplyCursor();
    }

    void ApplyCursor() {
        if (VideoStarted) SDL_ShowCursor(CursorShown ? SDL_ENABLE : SDL_DISABLE);
    }

    void CreateWindow() {
        if (Window) return;
        Window = SDL_CreateWindow(Config.Caption.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                  Config.Width, Config.Height, 0);
        if (!Window)
            throw EDXDrawError("プライマリサーフェース を作成できません",
                               std::string("window: ") + SDL_GetError());
    }

    // A display mode of exactly the asked size, if the display lists one.
    bool FindExactMode(SDL_DisplayMode& found) {
        int display = std::max(SDL_GetWindowDisplayIndex(Window), 0);
        for (int i = 0, n = SDL_GetNumDisplayModes(display); i < n; ++i) {
            SDL_DisplayMode mode;
            if (SDL_GetDisplayMode(display, i, &mode) == 0 && mode.w == Config.Width &&
                mode.h == Config.Height) {
                // Modes come sorted by depth, then refresh: the first one is the deepest.
                if (SDL_BITSPERPIXEL(mode.format) == std::uint32_t(Config.BitCount) || !found.w) found = mode;
            }
        }
        return found.w != 0;
    }

    // The window itself covers the display before full screen is asked for: without a window
    // manager nobody acts on the full-screen request, SDL still reports the display's size, and
    // the picture would be placed for a window that never grew.
    void CoverDisplay() {
        SDL_Rect bounds{};
        if (SDL_GetDisplayBounds(std::max(SDL_GetWindowDisplayIndex(Window), 0), &bounds) != 0) return;
        SDL_SetWindowBordered(Window, SDL_FALSE);
        // Size first: a resize of a fixed-size window moves it back to where SDL last saw it.
        SDL_SetWindowSize(Window, bounds.w, bounds.h);
        SDL_SetWindowPosition(Window, bounds.x, bounds.y);
        CoveredDisplay = true;
    }

    void EnterFullScreen() {
        CoverDisplay();
        SDL_DisplayMode mode{};
        // A real mode switch gives whole pixels by itself; the smooth fit is drawn on the desktop.
        if (Config.Scaling == TPictureScaling::Integer && FindExactMode(mode) &&
            SDL_SetWindowDisplayMode(Window, &mode) == 0 &&
            SDL_SetWindowFullscreen(Window, SDL_WINDOW_FULLSCREEN) == 0) {
            CurrentMode = TPresentMode::FullScreenMode;
            return;
        }
        if (SDL_SetWindowFullscreen(Window, SDL_WINDOW_FULLSCREEN_DESKTOP) == 0) {
            CurrentMode = TPresentMode::FullScreenDesktop;
            return;
        }
        throw EDXDrawError("ディスプレイモードを変更できません (" + std::to_string(Config.Width) + "x" +
                               std::to_string(Config.Height) + " " + std::to_string(Config.BitCount) + "bit)",
                           SDL_GetError());
    }

    void LeaveFullScreen() {
        SDL_SetWindowFullscreen(Window, 0);
        SDL_SetWindowBordered(Window, SDL_TRUE);
        SDL_SetWindowSize(Window, Config.Width, Config.Height);
        // The window covered the display; without a window manager nobody moves it back.
        if (CoveredDisplay) SDL_SetWindowPosition(Window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
        CoveredDisplay = false;
        CurrentMode = TPresentMode::Windowed;
    }

    void CreateRenderer() {
        Uint32 vsync = Config.WaitVBlank ? SDL_RENDERER_PRESENTVSYNC : 0;
        Renderer = SDL_CreateRenderer(Window, -1, SDL_RENDERER_ACCELERATED | vsync);
        if (!Renderer) Renderer = SDL_CreateRenderer(Window, -1, SDL_RENDERER_SOFTWARE);
        if (!Renderer)
            throw EDXDrawError("プライマリサーフェース を作成できません",
                               std::string("renderer: ") + SDL_GetError());
        Texture = SDL_CreateTexture(Renderer, rgb565::Format, SDL_TEXTUREACCESS_STREAMING, Config.Width,
                                    Config.Height);
        if (!Texture) {
            std::string why = SDL_GetError();
            ReleaseRenderer();
            throw EDXDrawError("プライマリサーフェース を作成できません", "texture: " + why);
        }
        TextureWidth = Config.Width;
        TextureHeight = Config.Height;
        SDL_SetTextureScaleMode(Texture, Config.Scaling == TPictureScaling::Fit ? SDL_ScaleModeLinear
                                                                                : SDL_ScaleModeNearest);
        SDL_ShowWindow(Window);
    }

    void ReleaseRenderer() {
        if (Texture) SDL_DestroyTexture(Texture);
        if (Renderer) SDL_DestroyRenderer(Renderer);
        Texture = nullptr;
        Renderer = nullptr;
    }

    TPictureRect Placement() const {
        int outW = TextureWidth, outH = TextureHeight;
        SDL_GetRendererOutputSize(Renderer, &outW, &outH);
        return PicturePlacement(outW, outH, TextureWidth, TextureHeight, Config.Scaling, Config.Stretch,
                                Config.Center);
    }

    TPresenterConfig Config;
    SDL_Window* Window = nullptr;
    SDL_Renderer* Renderer = nullptr;
    SDL_Texture* Texture = nullptr;
    int TextureWidth = 0;
    int TextureHeight = 0;
    TPresentMode CurrentMode = TPresentMode::Closed;
    bool VideoStarted = false;
    bool IsLost = false;
    bool CoveredDisplay = false;
    bool HasFocus = true;
    bool CursorShown = true;
};

} // namespace

std::unique_ptr<IPresenter> CreateSdlPresenter() {
    return std::make_unique<TSdlPresenter>();
}

void ProbeDisplay() {
    StartSdlVideo();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

} // namespace tamtara
