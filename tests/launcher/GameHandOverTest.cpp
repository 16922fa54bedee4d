// The launcher's Start on the real game window (headless): full screen off gives a 640 x 480
// window with the cursor shown, and the window gets every setting the player chose.
#include "BoxAnswerer.h"
#include "launcher/ConfigForm.h"
#include "launcher/LauncherTests.h"
#include "platform/input/InputStates.h"
#include "program/MainFormGameWindow.h"
#include "settings/Choices.h"
#include "support/doubles/RecordingMidiDriver.h"
#include "support/harness/GameHarness.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace tamtara::testing {

class GameHandOverTest : public QObject {
    Q_OBJECT
private slots:
    void StartWithoutFullScreenShowsTheGameInAWindowWithTheCursor() {
        TestGameFolder folder("LauncherHandOver");
        HarnessOptions options;
        options.Show = false;
        GameHarness game(folder.Path(), options);
        // The test folder's data package has no readme; the launcher says so and goes on.
        BoxAnswerer answerer;
        MainFormGameWindow window(game.Form());
        QTemporaryDir settingsFolder;
        TConfigForm form(TConfigFormServices{&window, &game.MidiDriver(),
                                             settingsFolder.filePath("tamtara.ini").toStdString(), true});
        QSignalSpy closed(&form, &TConfigForm::Closed);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.CheckFullscreen->setChecked(false);
        form.LevelCombo->setCurrentIndex(7);
        form.KeyComboA[0]->setCurrentIndex(KeyChoicePosition("Z"));
        // The game closes at its first message pass: it is on its opening screen.
        game.RequestClose();

        form.StartBtn->click();

        THeadlessPresenter& display = game.Display();
        QCOMPARE(display.Mode(), TPresentMode::Windowed);
        QCOMPARE(display.Config().Width, 640);
        QCOMPARE(display.Config().Height, 480);
        QVERIFY(display.CursorVisible);
        QVERIFY(game.Closed());
        QCOMPARE(game.Form().Settings.Level, 7);
        QCOMPARE(game.Form().Settings.MissPenalty, 250);
        QCOMPARE(game.Form().Input.DXInput.Keyboard.Assigns[inButton1][0], 'Z');
        // The scan ran: its first folder is the base folder itself.
        QVERIFY(!game.Form().Library.Folders.empty());
        QTRY_COMPARE(closed.count(), 1);
    }
};

static const bool Registered = RegisterLauncherTest<GameHandOverTest>();

} // namespace tamtara::testing

#include "GameHandOverTest.moc"
