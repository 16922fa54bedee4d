// The display's life cycle, options, restore after a loss, flipping and window events, on the
// headless presenter and on the real one under SDL's dummy video driver.
#include "platform/display/DXDraw.h"
#include "support/doubles/HeadlessPresenter.h"

#include <SDL.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace tamtara {
namespace {

using enum TDXDrawOption;

constexpr int ScancodeF4 = 61, ScancodeEscape = 41, ScancodeA = 4; // SDL_SCANCODE_* values

TEST(DXDrawOptionsTest, GameOptionsInFullScreenAndInAWindow) {
    EXPECT_EQ(
        DeriveEffectiveOptions(GameDisplayOptions),
        (TDXDrawOptions{doFullScreen, doAllowReboot, doWaitVBlank, doAllowPalette256, doCenter, doFlip}));
    EXPECT_EQ(DeriveEffectiveOptions(GameDisplayOptions - TDXDrawOptions{doFullScreen}),
              (TDXDrawOptions{doWaitVBlank, doCenter}));
}

TEST(DXDrawOptionsTest, SystemMemoryRulesOutFlippingAndHardwareIsNeverKept) {
    EXPECT_FALSE(DeriveEffectiveOptions({doFullScreen, doFlip, doSystemMemory}).Contains(doFlip));
    TDXDrawOptions with3D = DeriveEffectiveOptions({do3D, doHardware, doZBuffer, doRetainedMode});
    EXPECT_EQ(with3D, (TDXDrawOptions{do3D, doZBuffer, doRetainedMode}));
}

class DXDrawTest : public ::testing::Test {
protected:
    DXDrawTest() {
        auto presenter = std::make_unique<THeadlessPresenter>();
        Headless = presenter.get();
        Display = std::make_unique<TDXDraw>(std::move(presenter));
        Display->OnInitialize = [this](TDXDraw&) { Log.push_back("initialize"); };
        Display->OnRestoreSurface = [this](TDXDraw& d) {
            Log.push_back("restore");
            d.Surface().Fill(0x1111);
        };
        Display->OnFinalize = [this](TDXDraw&) { Log.push_back("finalize"); };
    }
    THeadlessPresenter* Headless;
    std::unique_ptr<TDXDraw> Display;
    std::vector<std::string> Log;
};

TEST_F(DXDrawTest, InitializeRaisesInitializeThenRestoreOnA640x480BackBuffer) {
    Display->Initialize();
    EXPECT_TRUE(Display->Initialized());
    EXPECT_EQ(Log, (std::vector<std::string>{"initialize", "restore"}));
    EXPECT_EQ(Display->Surface().Width(), 640);
    EXPECT_EQ(Display->Surface().Height(), 480);
    EXPECT_TRUE(Headless->Config().FullScreen);
    EXPECT_TRUE(Display->CanDraw());
}

TEST_F(DXDrawTest, FlipShowsTheBackBuffer) {
    Display->Initialize();
    Display->Surface().SetPixel(7, 9, 0xABCD);
    Display->Flip();
    ASSERT_EQ(Headless->PresentCount(), 1);
    EXPECT_EQ(Headless->Frame().Pixel(7, 9), 0xABCDu);
    EXPECT_EQ(Headless->Frame().Pixel(0, 0), 0x1111u);
}

TEST_F(DXDrawTest, FinalizeOnceAndReopenRaisesAllEventsAgain) {
    Display->Initialize();
    Display->Finalize();
    Display->Finalize();
    EXPECT_FALSE(Display->Initialized());
    EXPECT_FALSE(Display->CanDraw());
    Display->Flip();
    EXPECT_EQ(Headless->PresentCount(), 0);
    EXPECT_TRUE(Display->Surface().Absent());
    Display->SetOptions(Display->Options() - TDXDrawOptions{doFullScreen});
    Display->Initialize();
    EXPECT_FALSE(Headless->Config().FullScreen);
    EXPECT_EQ(Display->EffectiveOptions(), (TDXDrawOptions{doWaitVBlank, doCenter}));
    EXPECT_EQ(Log, (std::vector<std::string>{"initialize", "restore", "finalize", "initialize", "restore"}));
}

TEST_F(DXDrawTest, OpenDisplayChangesOnlyTheLiveOptions) {
    Display->Initialize();
    Display->SetOptions({doStretch});
    EXPECT_EQ(Display->EffectiveOptions(),
              (TDXDrawOptions{doFullScreen, doAllowReboot, doAllowPalette256, doFlip, doStretch}));
}

TEST_F(DXDrawTest, LostTexturesAreRestoredByCanDraw) {
    Display->Initialize();
    Log.clear();
    Headless->SimulateLoss();
    EXPECT_TRUE(Display->CanDraw());
    EXPECT_EQ(Log, (std::vector<std::string>{"restore"}));
    Headless->SimulateLoss();
    Headless->FailRestore = true;
    EXPECT_FALSE(Display->CanDraw());
    Display->Flip();
    EXPECT_EQ(Headless->PresentCount(), 0);
}

TEST_F(DXDrawTest, FailedOpenLeavesTheDisplayClosed) {
    Headless->FailOpen = "no display";
    try {
        Display->Initialize();
        FAIL();
    } catch (const EDirectDrawError& error) {
        EXPECT_EQ(error.Text(), "DirectDraw を初期化できません");
        EXPECT_EQ(std::string(error.what()), "DirectDraw を初期化できません (no display)");
    }
    EXPECT_FALSE(Display->Initialized());
    EXPECT_TRUE(Log.empty());
}

TEST_F(DXDrawTest, FailingInitializeHandlerClosesTheDisplay) {
    Display->OnInitialize = [](TDXDraw&) { throw EDirectDrawSurfaceError("サーフェース を作成できません"); };
    EXPECT_THROW(Display->Initialize(), EDirectDrawSurfaceError);
    EXPECT_FALSE(Display->Initialized());
    EXPECT_EQ(Headless->Mode(), TPresentMode::Closed);
}

TEST(DXDrawErrors, NoPresenterAndBadBitCounts) {
    TDXDraw display(nullptr);
    try {
        display.Initialize();
        FAIL();
    } catch (const EDXDrawError& error) {
        EXPECT_EQ(std::string(error.what()), "フォームが見つかりません");
    }
    try {
        display.Display.SetBitCount(12);
        FAIL();
    } catch (const EDirectDrawError& error) {
        EXPECT_EQ(std::string(error.what()), "8, 16, 24, 32 のいずれかの値でなければなりません");
    }
    EXPECT_EQ(display.Display.BitCount(), 16);
    display.Display.SetBitCount(32);
    EXPECT_EQ(display.Display.BitCount(), 32);
}

TEST_F(DXDrawTest, KeysReachTheKeyHandlerWithVirtualKeyCodes) {
    std::vector<int> down, up;
    Display->OnKeyDown = [&](TDXDraw&, const TDisplayEvent& e) { down.push_back(e.Key); };
    Display->OnKeyUp = [&](TDXDraw&, const TDisplayEvent& e) { up.push_back(e.Scancode); };
    Headless->PushKey(ScancodeF4);
    Headless->PushKey(ScancodeEscape);
    Headless->PushKey(ScancodeA);
    Display->ProcessEvents();
    EXPECT_EQ(down, (std::vector<int>{WindowKeys::F4, WindowKeys::Escape, 'A'}));
    EXPECT_EQ(up, (std::vector<int>{ScancodeF4, ScancodeEscape, ScancodeA}));
}

TEST_F(DXDrawTest, CloseRequestsAskTheCloseQuery) {
    bool allow = false;
    int queries = 0, closes = 0;
    Display->OnCloseQuery = [&](TDXDraw&, bool& canClose) {
        ++queries;
        canClose = allow;
    };
    Display->OnClose = [&](TDXDraw&) { ++closes; };
    Headless->PushCloseRequest();
    Display->ProcessEvents();
    EXPECT_FALSE(Display->CloseRequested());
    allow = true;
    Display->RequestClose();
    EXPECT_TRUE(Display->CloseRequested());
    EXPECT_EQ(queries, 2);
    EXPECT_EQ(closes, 1);
}

TEST_F(DXDrawTest, FocusChangesReachTheShellAndAnInactiveFullScreenShowsNothing) {
    std::vector<bool> focus;
    Display->OnActivate = [&](TDXDraw&, bool active) { focus.push_back(active); };
    Display->Initialize();
    Headless->SetFocus(false);
    Display->ProcessEvents();
    Display->Flip();
    EXPECT_EQ(Headless->PresentCount(), 0);
    Headless->SetFocus(true);
    Display->ProcessEvents();
    Display->Flip();
    EXPECT_EQ(Headless->PresentCount(), 1);
    EXPECT_EQ(focus, (std::vector<bool>{false, true}));
}

// The real presenter with SDL's dummy video driver (the test environment sets it).
TEST(SdlPresenterTest, OpensWindowedAndFullScreenAndFlips) {
    TDXDraw display(CreateSdlPresenter());
    display.Caption = "Tamtara test";
    display.SetOptions(GameDisplayOptions - TDXDrawOptions{doFullScreen});
    display.Initialize();
    EXPECT_EQ(display.PresentMode(), TPresentMode::Windowed);
    display.Surface().Fill(0xF800);
    display.Flip();
    display.ProcessEvents();
    display.Finalize();
    display.SetOptions(GameDisplayOptions);
    display.Initialize();
    EXPECT_TRUE(display.PresentMode() == TPresentMode::FullScreenMode ||
                display.PresentMode() == TPresentMode::FullScreenDesktop);
    EXPECT_TRUE(display.CanDraw());
    display.Flip();
    TWindowPlacement placement;
    EXPECT_TRUE(display.Presenter().GetWindowPlacement(placement));
    display.Finalize();
}

// The game hides the cursor for full screen before its display exists; the choice must hold
// from the first frame, not only after the next toggle.
TEST(SdlPresenterTest, CursorChosenBeforeTheDisplayOpensHoldsOnceItIsOpen) {
    TDXDraw display(CreateSdlPresenter());
    display.Presenter().SetCursorVisible(false);
    display.Initialize();
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    display.Presenter().SetCursorVisible(true);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
    display.Finalize();
}

// Restores an environment variable when the test ends.
class TEnvironmentOverride {
public:
    explicit TEnvironmentOverride(const char* name) : Name(name) {
        if (const char* value = std::getenv(name)) Saved = value;
        unsetenv(name);
    }
    ~TEnvironmentOverride() {
        if (Saved)
            setenv(Name, Saved->c_str(), 1);
        else
            unsetenv(Name);
    }

private:
    const char* Name;
    std::optional<std::string> Saved;
};

TEST(SdlPresenterTest, NoDisplayGivesAOneLineErrorInsteadOfAnInvisibleWindow) {
    TEnvironmentOverride driver("SDL_VIDEODRIVER"), x11("DISPLAY"), wayland("WAYLAND_DISPLAY");
    TDXDraw display(CreateSdlPresenter());
    try {
        display.Initialize();
        ADD_FAILURE() << "opened without a display";
    } catch (const EDirectDrawError& error) {
        EXPECT_EQ(error.Text(), "DirectDraw を初期化できません");
        EXPECT_EQ(std::string(error.what()).find('\n'), std::string::npos);
        EXPECT_FALSE(error.Detail().empty());
    }
    EXPECT_FALSE(display.Initialized());
}

} // namespace
} // namespace tamtara
