// The notices of the game window: the queue's timing and order, text fitted to a width, and
// the panel drawn over menus and play, closed by Enter or Escape without acting beneath.
#include "NoticeChecks.h"
#include "app/GameMessages.h"
#include "app/graphics/FittedText.h"

#include "base/UserMessage.h"
#include "platform/display/SurfaceCanvas.h"
#include "support/harness/GameHarness.h"

#include <gtest/gtest.h>

namespace tamtara::testing {
namespace {

constexpr int KeyReturn = 13;

TEST(GameMessageQueue, OneAtATimeForItsTimeWithoutRepeatsAndAtMostThreeWaiting) {
    GameMessageQueue queue;
    EXPECT_EQ(queue.Current(), nullptr);
    queue.Post({"A", ""}, 1000);
    queue.Post({"B", "b"}, 2000);
    queue.Post({"B", "b"}, 2100); // already waiting
    queue.Post({"A", ""}, 4000);  // on screen: its time starts again
    ASSERT_NE(queue.Current(), nullptr);
    EXPECT_EQ(queue.Current()->Title, "A");
    EXPECT_EQ(queue.Waiting(), 1u);
    queue.Update(8999);
    EXPECT_EQ(queue.Current()->Title, "A");
    const std::uint64_t serial = queue.Serial();
    queue.Update(9000);
    EXPECT_EQ(queue.Current()->Title, "B");
    EXPECT_EQ(queue.Serial(), serial + 1);
    for (const char* title : {"C", "D", "E", "F"})
        queue.Post({title, ""}, 9100);
    EXPECT_EQ(queue.Waiting(), GameMessageQueue::MaxWaiting); // C was pushed out
    EXPECT_TRUE(queue.Dismiss(9200));
    EXPECT_EQ(queue.Current()->Title, "D");
    queue.Update(9200 + GameMessageQueue::ShowMilliseconds - 1);
    EXPECT_EQ(queue.Current()->Title, "D");
    EXPECT_TRUE(queue.Dismiss(9300));
    EXPECT_TRUE(queue.Dismiss(9300));
    EXPECT_TRUE(queue.Dismiss(9300));
    EXPECT_EQ(queue.Current(), nullptr);
    EXPECT_FALSE(queue.Dismiss(9300));
}

class NoticeGame : public ::testing::Test {
protected:
    NoticeGame() {
        HarnessOptions options;
        options.Settings.FullScreen = false;
        Game = std::make_unique<GameHarness>(Folder.Path(), options);
        Game->Step();
    }
    TMainForm& Form() { return Game->Form(); }

    TestGameFolder Folder{"Notices"};
    std::unique_ptr<GameHarness> Game;
};

TEST_F(NoticeGame, LongTextIsCutOrWrappedWithinItsWidth) {
    TDirectDrawSurfaceCanvas& canvas = Game->Form().DXDraw.Surface().Canvas();
    canvas.Font.Name = "ＭＳ Ｐゴシック";
    canvas.Font.Height = -24;
    EXPECT_EQ(FitText(canvas, "短い曲名", 300), "短い曲名");
    const std::string longTitle = "とても長い曲名がプレートの端を越えてしまう場合 Extended Club Mix Version";
    const std::string cut = FitText(canvas, longTitle, 300);
    EXPECT_LE(canvas.TextWidth(cut), 300);
    EXPECT_GT(canvas.TextWidth(cut), 260);
    EXPECT_EQ(cut.substr(cut.size() - std::string(Ellipsis).size()), Ellipsis);
    EXPECT_EQ(longTitle.compare(0, cut.size() - 3, cut, 0, cut.size() - 3), 0); // whole characters

    const std::string detail = "Songs/Very Long Folder Name/another/song file.mid：" + longTitle;
    const std::vector<std::string> lines = WrapText(canvas, detail, 200, 10);
    std::string joined;
    for (const std::string& line : lines) {
        EXPECT_LE(canvas.TextWidth(line), 200) << line;
        joined += line;
    }
    EXPECT_GT(lines.size(), 3u);
    // Broken at a space or after a "/" when one is near.
    const std::string& first = lines.front();
    EXPECT_EQ(detail.compare(0, first.size(), first), 0);
    EXPECT_TRUE(first.back() == '/' || detail[first.size()] == ' ') << first;
    const std::vector<std::string> three = WrapText(canvas, detail, 200, 3);
    ASSERT_EQ(three.size(), 3u);
    EXPECT_EQ(three[2].substr(three[2].size() - 3), Ellipsis);
    Game->Form().DXDraw.Surface().ReleaseCanvas();
}

TEST_F(NoticeGame, DrawnInTheWindowOverMenusAndPlayAndClosedByEnterOrEscapeOnly) {
    int boxes = 0;
    const UserMessageHandler previous =
        SetUserMessageHandler([&](MessageKind, const std::string&, const std::string&) { ++boxes; });
    Game->ChangeScreenInFrame(ssFolderSelect);
    ::testing::internal::CaptureStderr();
    Form().ShowNotice("設定を保存できません", "tamtara.ini に書き込めません");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "tamtara: 設定を保存できません: tamtara.ini に書き込めません\n");
    Game->Step();
    EXPECT_TRUE(NoticePanelDrawn(*Game));
    // Enter closes it; the folder screen does not take it as choosing the folder.
    Game->TapKey(KeyReturn);
    EXPECT_TRUE(Form().Notice().empty());
    EXPECT_EQ(Form().Screen.LeaveFrame, 0);
    Game->Step();
    EXPECT_FALSE(NoticePanelDrawn(*Game));
    // Escape closes it; the folder screen does not go back to the opening.
    Form().ShowNotice("MIDI入力が見つかりません");
    Game->WindowKey(WindowKeys::Escape);
    Game->Step();
    EXPECT_TRUE(Form().Notice().empty());
    EXPECT_EQ(Game->State(), ssFolderSelect);

    // Over play, frame after frame, until its time is up.
    Game->EnterPlay("Songs/demo.mid");
    Form().ShowNotice("MIDI入力が切断されました", "「Test Kit」が見つかりません。キーボードで演奏を続けます");
    for (int frame = 0; frame < 10; ++frame) {
        Game->Step();
        ASSERT_EQ(Game->State(), ssPlay);
        ASSERT_TRUE(NoticePanelDrawn(*Game)) << frame;
    }
    Game->Step(GameMessageQueue::ShowMilliseconds / 33);
    EXPECT_TRUE(Form().Notice().empty());
    SetUserMessageHandler(previous);
    EXPECT_EQ(boxes, 0);
}

TEST_F(NoticeGame, SettingsThatCannotBeSavedAreToldAndTheGameGoesOn) {
    Game.reset();
    HarnessOptions options;
    options.Settings.FullScreen = false;
    options.SettingsFile = (Folder.Path() / "no-such-folder" / "tamtara.ini").string();
    Game = std::make_unique<GameHarness>(Folder.Path(), options);
    Game->Step();
    // The records beside it cannot be kept either: that is said first, and Enter closes it.
    Form().Records->WaitIdle();
    Game->Step();
    EXPECT_FALSE(Form().Notice().empty());
    Game->TapKey(13);
    EXPECT_TRUE(Form().Notice().empty());
    EXPECT_FALSE(Form().SaveSettingsFile([](const std::string& iniPath) { SaveInputOffset(iniPath, 20); }));
    EXPECT_EQ(Form().Notice(), "設定を保存できません");
    Game->Step();
    EXPECT_TRUE(NoticePanelDrawn(*Game));
}

} // namespace
} // namespace tamtara::testing
