// The launcher dialog on a fake game window and a recording MIDI driver: first show, progress
// repaints, the default buttons, the three ways to close, and Start's scan and hand-over.
#include "launcher/ConfigForm.h"
#include "BoxAnswerer.h"
#include "FakeGameWindow.h"
#include "base/Clock.h"
#include "launcher/LauncherTests.h"
#include "settings/Choices.h"
#include "support/doubles/RecordingMidiDriver.h"
#include "support/doubles/ScriptedMidiInDriver.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QFile>
#include <QFontInfo>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>
#include <QTimer>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

namespace tamtara::testing {

namespace {

std::vector<std::uint8_t> ShippedReadme() {
    QFile file(TAMTARA_SOURCE_DIR "/assets/tamtara.rtf");
    file.open(QIODevice::ReadOnly);
    const QByteArray bytes = file.readAll();
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

// Counts the paints of one control.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int Paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++Paints;
        return false;
    }
};

struct Launcher {
    explicit Launcher(std::vector<std::string> devices = {"Dev A", "Dev B"}, bool withReadme = true,
                      bool soundFontFound = true, std::string audioProblem = {})
        : Midi(SystemClock::Instance(), std::move(devices)) {
        IniPath = (std::filesystem::path(Folder.path().toStdString()) / "tamtara.ini").string();
        if (withReadme) Game.DataEntries.push_back({"tamtara.rtf", ShippedReadme()});
        Form = std::make_unique<TConfigForm>(
            TConfigFormServices{&Game, &Midi, IniPath, soundFontFound, &MidiIn, audioProblem});
        ClosedSpy = std::make_unique<QSignalSpy>(Form.get(), &TConfigForm::Closed);
    }
    void Show() {
        Form->show();
        QVERIFY(QTest::qWaitForWindowExposed(Form.get()));
    }
    bool Saved() const { return std::filesystem::exists(IniPath); }
    LauncherSettings SavedSettings() const { return LoadSettings(IniPath); }
    std::vector<bool> VisibleTabs() const {
        std::vector<bool> visible;
        for (int index = 0; index < Form->PageControl->count(); ++index)
            visible.push_back(Form->PageControl->isTabVisible(index));
        return visible;
    }

    QTemporaryDir Folder;
    std::string IniPath;
    RecordingMidiDriver Midi;
    ScriptedMidiInDriver MidiIn{{"Pad In 1", "Pad In 2"}};
    FakeGameWindow Game;
    BoxAnswerer Answerer;
    std::unique_ptr<TConfigForm> Form;
    std::unique_ptr<QSignalSpy> ClosedSpy;
};

} // namespace

class ConfigFormTest : public QObject {
    Q_OBJECT
private slots:
    void FormShowWithoutDevicesShowsTheBoxThenCloses() {
        Launcher launcher(std::vector<std::string>{});
        // The launcher closes before it is ever exposed.
        launcher.Form->show();
        QTRY_COMPARE(launcher.ClosedSpy->count(), 1);
        QCOMPARE(launcher.Answerer.Boxes,
                 QStringList{"Tamtara 起動エラー|MIDI機器が全くインストールされていません。"});
        // The remaining steps still ran: the mapper is listed and the settings loaded.
        QCOMPARE(launcher.Form->MidiCombo->count(), 1);
        QCOMPARE(launcher.Form->LevelCombo->currentIndex(), 3);
        QVERIFY(!launcher.Form->isVisible());
        QVERIFY(!launcher.Saved());
    }

    void FormShowListsDevicesLoadsSettingsAndLooksAsDesigned() {
        Launcher launcher;
        {
            std::ofstream ini(launcher.IniPath);
            ini << "[Config]\nMidi=dev b\nFullScreen=0\n[GameConfig]\nLevel=7\n[KeyConfig]\nKey3A=1\n";
        }
        launcher.Show();
        TConfigForm& form = *launcher.Form;
        QCOMPARE(form.BuildLabel->text(), QString("Version 1.82 [2001/05/04]"));
        QCOMPARE(launcher.VisibleTabs(),
                 (std::vector<bool>{true, true, true, false, true, true, true, true}));
        QCOMPARE(form.PageControl->currentWidget(), form.AboutSheet);
        // Ctrl+Tab walks the settings pages only.
        std::vector<QWidget*> walked;
        for (int step = 0; step < 7; ++step) {
            QTest::keyClick(form.PageControl, Qt::Key_Tab, Qt::ControlModifier);
            walked.push_back(form.PageControl->currentWidget());
        }
        QCOMPARE(walked,
                 (std::vector<QWidget*>{form.ConfigSheet, form.GameConfigSheet, form.KeySheet, form.KitSheet,
                                        form.RecordsSheet, form.FolderSheet, form.AboutSheet}));
        QCOMPARE(form.MidiCombo->count(), 3);
        QCOMPARE(form.MidiCombo->itemText(0), QString(TConfigForm::DefaultOutputText));
        QCOMPARE(form.MidiCombo->itemText(1), QString("Dev A"));
        QCOMPARE(form.MidiCombo->itemText(2), QString("Dev B"));
        // The stored name matches without regard to case.
        QCOMPARE(form.MidiCombo->currentIndex(), 2);
        QVERIFY(!form.CheckFullscreen->isChecked());
        QCOMPARE(form.LevelCombo->currentText(), QString("7.Hell (-250)"));
        QCOMPARE(form.KeyComboA[2]->currentText(), QString("スペース"));
        QVERIFY(form.RichEdit->toPlainText().startsWith("Tamtara  Version 1.82"));
        QVERIFY(launcher.Answerer.Boxes.isEmpty());

        QCOMPARE(form.size(), QSize(345, 351));
        // Every settings page's tab is in view, none behind scroll arrows.
        const QTabBar& tabs = *form.PageControl->tabBar();
        QVERIFY(tabs.tabRect(form.PageControl->indexOf(form.FolderSheet)).right() < tabs.width());
        QCOMPARE(tabs.tabRect(0).left(), 0);
        QCOMPARE(QFontInfo(form.font()).family(), QString("IPAPGothic"));
        QCOMPARE(form.font().pixelSize(), 12);
        QVERIFY(form.StartBtn->font().bold());
        QCOMPARE(form.StartBtn->font().pixelSize(), 16);
        QVERIFY(!form.StartBtn->icon().isNull());
        QVERIFY(form.StartBtn->isDefault());
        QVERIFY(!(form.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    }

    void StartSavesScansOnTheProgressPageAndHandsOverInOrder() {
        Launcher launcher;
        launcher.Show();
        TConfigForm& form = *launcher.Form;
        form.MidiCombo->setCurrentIndex(2);
        form.CheckPrev->setChecked(false);
        form.CheckNoBank->setChecked(true);
        form.CheckDInput->setChecked(false);
        form.CheckFullscreen->setChecked(false);
        form.LevelCombo->setCurrentIndex(5);
        form.CheckDemo->setChecked(false);
        form.KeyComboB[6]->setCurrentIndex(KeyChoicePosition("/"));

        bool buttonsDuringScan = true;
        std::vector<bool> tabsDuringScan;
        bool savedBeforeScan = false;
        launcher.Game.AfterReport = [&](std::int32_t) {
            buttonsDuringScan = form.StartBtn->isEnabled() || form.CloseBtn->isEnabled();
            tabsDuringScan = launcher.VisibleTabs();
            savedBeforeScan = launcher.Saved();
            QCOMPARE(form.PageControl->currentWidget(), form.ProgressSheet);
        };
        bool launcherHiddenWhileGameRuns = false;
        launcher.Game.WhileShown = [&] { launcherHiddenWhileGameRuns = !form.isVisible(); };

        // Return presses Start, the default button.
        QTest::keyClick(&form, Qt::Key_Return);

        QVERIFY(savedBeforeScan);
        QVERIFY(!buttonsDuringScan);
        QCOMPARE(tabsDuringScan, (std::vector<bool>{false, false, false, true, false, false, false, false}));
        const std::vector<std::string> expected = {"Scan",
                                                   "Prev=0",
                                                   "Demo=0",
                                                   "MidiDevice=1",
                                                   "Combo=1",
                                                   "NoBank=1",
                                                   "LeaveFullScreen",
                                                   "DInput=0",
                                                   "MissPenalty=50",
                                                   "Level=5",
                                                   "Keys=65,70,32,74,75,76,59,/83,68,0,73,79,80,47,",
                                                   "ShowModal"};
        QCOMPARE(launcher.Game.Calls, expected);
        QVERIFY(launcherHiddenWhileGameRuns);
        QTRY_COMPARE(launcher.ClosedSpy->count(), 1);
        const LauncherSettings saved = launcher.SavedSettings();
        QCOMPARE(QString::fromStdString(saved.Midi), QString("Dev B"));
        QCOMPARE(saved.Level, 5);
        QCOMPARE(saved.FullScreen, false);
    }

    void SecondOfTwoOutputsWithOneNameIsTheOneHandedOver() {
        Launcher launcher(std::vector<std::string>{"USB MIDI Interface", "USB MIDI Interface"});
        launcher.Show();
        TConfigForm& form = *launcher.Form;
        form.MidiCombo->setCurrentIndex(2);
        QTest::keyClick(&form, Qt::Key_Return);
        const std::vector<std::string>& calls = launcher.Game.Calls;
        QCOMPARE(std::count(calls.begin(), calls.end(), std::string("MidiDevice=1")), 1);
        QTRY_COMPARE(launcher.ClosedSpy->count(), 1);
        QCOMPARE(launcher.SavedSettings().Midi, std::string("USB MIDI Interface"));
    }

    void ProgressRepaintsOnlyAfterMoreThanFivePercent() {
        Launcher launcher;
        launcher.Show();
        TConfigForm& form = *launcher.Form;
        launcher.Game.Progress = {
            {0, "フォルダ検索中..."}, {3, "a"}, {6, "b"}, {11, "c"}, {12, "d"}, {100, "e"}};
        PaintCounter counter(form.MessageLabel);
        std::vector<std::int32_t> repainted;
        std::vector<std::int32_t> gauge;
        QStringList labels;
        std::int32_t lastShown = 0;
        launcher.Game.AfterReport = [&](std::int32_t percent) {
            lastShown = form.LastShownPercent;
            if (counter.Paints > 0) repainted.push_back(percent);
            counter.Paints = 0;
            gauge.push_back(form.LoadGauge->value());
            labels.push_back(form.MessageLabel->text());
        };
        form.StartBtn->click();
        QCOMPARE(repainted, (std::vector<std::int32_t>{0, 6, 12, 100}));
        QCOMPARE(gauge, (std::vector<std::int32_t>{0, 3, 6, 11, 12, 100}));
        QCOMPARE(labels, (QStringList{"フォルダ検索中...", "a", "b", "c", "d", "e"}));
        QCOMPARE(lastShown, 100);
    }

    void DefaultButtonsResetTheirOwnPageWithoutSaving() {
        Launcher launcher;
        launcher.Show();
        TConfigForm& form = *launcher.Form;
        form.MidiCombo->setCurrentIndex(2);
        form.CheckPrev->setChecked(false);
        form.CheckNoBank->setChecked(true);
        form.CheckDInput->setChecked(false);
        form.CheckFullscreen->setChecked(false);
        form.LevelCombo->setCurrentIndex(0);
        form.CheckDemo->setChecked(false);
        form.CheckCombo->setChecked(false);
        for (QComboBox* combo : form.KeyComboA)
            combo->setCurrentIndex(0);
        form.KeyComboB[0]->setCurrentIndex(-1);

        form.AppDefaultBtn->click();
        QCOMPARE(form.MidiCombo->currentIndex(), 0);
        QVERIFY(form.CheckPrev->isChecked() && !form.CheckNoBank->isChecked());
        QVERIFY(form.CheckDInput->isChecked() && form.CheckFullscreen->isChecked());
        QCOMPARE(form.LevelCombo->currentIndex(), 0);
        QCOMPARE(form.KeyComboA[0]->currentIndex(), 0);

        form.GameDefaultBtn->click();
        QCOMPARE(form.LevelCombo->currentText(), QString("3.Normal (-20)"));
        QVERIFY(form.CheckDemo->isChecked() && form.CheckCombo->isChecked());
        QCOMPARE(form.KeyComboA[0]->currentIndex(), 0);

        form.KeyDefaultBtn->click();
        const QStringList firstKeys = {"A", "F", "スペース", "J", "K", "L", ";"};
        const QStringList secondKeys = {"S", "D", "(なし)", "I", "O", "P", "(なし)"};
        for (std::size_t part = 0; part < 7; ++part) {
            QCOMPARE(form.KeyComboA[part]->currentText(), firstKeys[static_cast<qsizetype>(part)]);
            QCOMPARE(form.KeyComboB[part]->currentText(), secondKeys[static_cast<qsizetype>(part)]);
        }
        QVERIFY(!launcher.Saved());
        QVERIFY(form.isVisible());
    }

    void EscSavesAndCloses() {
        Launcher launcher;
        launcher.Show();
        launcher.Form->CheckCombo->setChecked(false);
        QTest::keyClick(launcher.Form.get(), Qt::Key_Escape);
        QTRY_COMPARE(launcher.ClosedSpy->count(), 1);
        QVERIFY(launcher.Saved());
        QCOMPARE(launcher.SavedSettings().Combo, false);
        QVERIFY(launcher.Game.Calls.empty());
    }

    void SaveKeepsTheCalibratedOffsetAndTheLearnedKitMap() {
        Launcher launcher;
        LauncherSettings stored = DefaultSettings();
        stored.InputOffsetMs = 37;
        stored.PreciseInput = false;
        stored.MidiIn = "Kit Port";
        AssignKitNote(stored.Kit, 4, 60, true);
        SaveSettings(launcher.IniPath, stored);
        launcher.Show();
        launcher.Form->CheckCombo->setChecked(false);
        QTest::keyClick(launcher.Form.get(), Qt::Key_Escape);
        QTRY_COMPARE(launcher.ClosedSpy->count(), 1);
        const LauncherSettings saved = launcher.SavedSettings();
        QCOMPARE(saved.Combo, false);
        QCOMPARE(saved.InputOffsetMs, 37);
        QCOMPARE(saved.PreciseInput, false);
        QCOMPARE(saved.MidiIn, std::string("Kit Port"));
        QVERIFY(saved.Kit.Notes == stored.Kit.Notes);
    }

    void MidiInComboListsNoneThenThePortsAndSavesTheChosenName() {
        Launcher launcher;
        launcher.Show();
        TConfigForm& form = *launcher.Form;
        QCOMPARE(form.MidiInCombo->count(), 3);
        QCOMPARE(form.MidiInCombo->itemText(0), QString("(なし)"));
        QCOMPARE(form.MidiInCombo->itemText(1), QString("Pad In 1"));
        QCOMPARE(form.MidiInCombo->itemText(2), QString("Pad In 2"));
        QCOMPARE(form.MidiInCombo->currentIndex(), 0);
        // Ports exist but none is chosen: nothing to learn from, and the hint says where to choose.
        QVERIFY(!form.KitLearnBtn[0]->isEnabled());
        QCOMPARE(form.KitHintLabel->text(), QString(TConfigForm::NoMidiInChosenText));
        form.MidiInCombo->setCurrentIndex(2);
        QVERIFY(form.KitLearnBtn[0]->isEnabled());
        QTest::keyClick(launcher.Form.get(), Qt::Key_Escape);
        QTRY_COMPARE(launcher.ClosedSpy->count(), 1);
        QCOMPARE(launcher.SavedSettings().MidiIn, std::string("Pad In 2"));
        QVERIFY(launcher.MidiIn.OpenPort().empty());
    }

    void LearningAPadAssignsItsNotesAndSurvivesSaveAndReload() {
        Launcher launcher;
        {
            std::ofstream ini(launcher.IniPath);
            ini << "[Input]\nMidiIn=Pad In 1\n";
        }
        launcher.Show();
        TConfigForm& form = *launcher.Form;
        form.PageControl->setCurrentWidget(form.KitSheet);
        QCOMPARE(form.KitNotesLabel[3]->text(), QString("48,50"));
        QVERIFY(launcher.MidiIn.OpenPort().empty());
        QTest::mouseClick(form.KitLearnBtn[3], Qt::LeftButton);
        QCOMPARE(launcher.MidiIn.OpenPort(), std::string("Pad In 1"));
        // A note-on of velocity 0 and a note-off are releases; the first hit replaces, later hits
        // add zones, and a note taken from another lane leaves it.
        launcher.MidiIn.Receive({0, 0x99, 70, 0});
        launcher.MidiIn.Receive({0, 0x89, 71, 64});
        launcher.MidiIn.Receive({0, 0x99, 60, 100});
        launcher.MidiIn.Receive({0, 0x90, 38, 90});
        QTRY_COMPARE(form.KitNotesLabel[3]->text(), QString("60,38"));
        QCOMPARE(form.KitNotesLabel[1]->text(), QString("40,37"));
        form.KitVelocitySpin[3]->setValue(30);
        form.KitDebounceSpin->setValue(20);
        // Leaving the page ends learning and closes the port.
        form.PageControl->setCurrentWidget(form.KeySheet);
        QVERIFY(launcher.MidiIn.OpenPort().empty());
        QVERIFY(!form.KitLearnBtn[3]->isChecked());

        QTest::keyClick(launcher.Form.get(), Qt::Key_Escape);
        QTRY_COMPARE(launcher.ClosedSpy->count(), 1);
        const KitSettings saved = launcher.SavedSettings().Kit;
        QVERIFY((saved.Notes[3] == std::vector<std::uint8_t>{60, 38}));
        QVERIFY((saved.Notes[1] == std::vector<std::uint8_t>{40, 37}));
        QCOMPARE(saved.MinVelocity[3], 30);
        QCOMPARE(saved.DebounceMs, 20);

        launcher.Form = std::make_unique<TConfigForm>(
            TConfigFormServices{&launcher.Game, &launcher.Midi, launcher.IniPath, true, &launcher.MidiIn});
        launcher.Show();
        TConfigForm& reloaded = *launcher.Form;
        QCOMPARE(reloaded.KitNotesLabel[3]->text(), QString("60,38"));
        QCOMPARE(reloaded.KitVelocitySpin[3]->value(), 30);
        // The default button restores the map on screen only; a form gone while learning
        // closes the port, and a late note reaches nothing.
        reloaded.PageControl->setCurrentWidget(reloaded.KitSheet);
        reloaded.KitDefaultBtn->click();
        QCOMPARE(reloaded.KitNotesLabel[3]->text(), QString("48,50"));
        QCOMPARE(launcher.SavedSettings().Kit.Notes[3], saved.Notes[3]);
        reloaded.KitLearnBtn[0]->click();
        QCOMPARE(launcher.MidiIn.OpenPort(), std::string("Pad In 1"));
        launcher.Form.reset();
        QVERIFY(launcher.MidiIn.OpenPort().empty());
        launcher.MidiIn.Receive({0, 0x99, 60, 100});
        QCoreApplication::processEvents();
    }

    void WithoutInputPortsLearningIsDisabledAndSaysSo() {
        Launcher launcher;
        ScriptedMidiInDriver noPorts;
        launcher.Form = std::make_unique<TConfigForm>(
            TConfigFormServices{&launcher.Game, &launcher.Midi, launcher.IniPath, true, &noPorts});
        launcher.Show();
        TConfigForm& form = *launcher.Form;
        QCOMPARE(form.MidiInCombo->count(), 1);
        QCOMPARE(form.MidiInCombo->currentText(), QString("(なし)"));
        form.PageControl->setCurrentWidget(form.KitSheet);
        for (QPushButton* learn : form.KitLearnBtn)
            QVERIFY(!learn->isEnabled());
        QCOMPARE(form.KitHintLabel->text(), QString(TConfigForm::NoMidiInPortText));
        QVERIFY(form.KitHintLabel->isVisible());
        QVERIFY(form.KitHintLabel->fontMetrics().horizontalAdvance(form.KitHintLabel->text()) <=
                form.KitHintLabel->width());
    }

    void SettingsThatCannotBeSavedAreSaidOnceAndStartEscapeAndCloseGoOn() {
        // A read-only file (refused by its mode even for root), and a folder that is not there.
        for (const int way : {0, 1, 2}) {
            Launcher launcher;
            std::ofstream(launcher.IniPath) << "[GameConfig]\nLevel=5\n";
            std::filesystem::permissions(launcher.IniPath, std::filesystem::perms::owner_read);
            if (way == 2) launcher.IniPath += "/missing-folder/tamtara.ini";
            launcher.Form = std::make_unique<TConfigForm>(
                TConfigFormServices{&launcher.Game, &launcher.Midi, launcher.IniPath, true});
            launcher.ClosedSpy = std::make_unique<QSignalSpy>(launcher.Form.get(), &TConfigForm::Closed);
            launcher.Show();
            if (way == 0) launcher.Form->StartBtn->click();
            if (way == 1) QTest::keyClick(launcher.Form.get(), Qt::Key_Escape);
            if (way == 2) launcher.Form->CloseBtn->click();
            QTRY_COMPARE(launcher.ClosedSpy->count(), 1);
            QCOMPARE(launcher.Answerer.Boxes.size(), 1);
            QVERIFY(launcher.Answerer.Boxes[0].contains(TConfigForm::SettingsNotSavedText));
            QVERIFY(launcher.Answerer.Boxes[0].contains("に書き込めません"));
            QCOMPARE(launcher.Game.Calls.empty(), way != 0);
        }
    }

    void CloseBoxClosesWithoutSaving() {
        Launcher launcher;
        launcher.Show();
        launcher.Form->close();
        QTRY_COMPARE(launcher.ClosedSpy->count(), 1);
        QVERIFY(!launcher.Saved());
        QVERIFY(launcher.Game.Calls.empty());
    }

    void MissingSoundFontIsNamedInOneLineOnTheSettingsPage() {
        Launcher withSoundFont;
        withSoundFont.Show();
        withSoundFont.Form->PageControl->setCurrentWidget(withSoundFont.Form->ConfigSheet);
        QVERIFY(!withSoundFont.Form->SoundFontLabel->isVisible());

        Launcher withoutSoundFont({"Dev A"}, true, false);
        withoutSoundFont.Show();
        TConfigForm& form = *withoutSoundFont.Form;
        form.PageControl->setCurrentWidget(form.ConfigSheet);
        QVERIFY(form.SoundFontLabel->isVisible());
        QVERIFY(form.SoundFontLabel->text().contains("timgm6mb-soundfont"));
        // One line, whole: the text fits the label, the label fits its group.
        const QLabel& label = *form.SoundFontLabel;
        QVERIFY(label.fontMetrics().horizontalAdvance(label.text()) <= label.width());
        QVERIFY(label.geometry().right() < label.parentWidget()->width());
    }

    void ReturnStartsAfterTheReadmeAndTheDefaultButtonsWereUsed() {
        Launcher launcher;
        launcher.Show();
        TConfigForm& form = *launcher.Form;
        QTest::mouseClick(form.ReadmeBtn, Qt::LeftButton);
        form.ReadmeBtn->setFocus();
        QTest::keyClick(form.ReadmeBtn, Qt::Key_Return);
        QVERIFY(form.StartBtn->isDefault());
        QCOMPARE(launcher.Game.Calls.front(), std::string("Scan"));
        QCOMPARE(launcher.Game.Calls.back(), std::string("ShowModal"));

        Launcher another;
        another.Show();
        TConfigForm& second = *another.Form;
        second.PageControl->setCurrentWidget(second.KitSheet);
        QTest::mouseClick(second.KitDefaultBtn, Qt::LeftButton);
        second.KitDefaultBtn->setFocus();
        QTest::keyClick(second.KitDefaultBtn, Qt::Key_Return);
        QCOMPARE(another.Game.Calls.back(), std::string("ShowModal"));
    }

    void DefaultOutputIsNamedForThePlayerAndSavedByItsDeviceName() {
        Launcher launcher;
        {
            std::ofstream ini(launcher.IniPath);
            ini << "[Config]\nMidi=MIDI Mapper\nScaling=1\n";
        }
        launcher.Show();
        TConfigForm& form = *launcher.Form;
        QCOMPARE(form.MidiCombo->currentIndex(), 0);
        QCOMPARE(form.MidiCombo->currentText(), QString("内蔵シンセ (General MIDI)"));
        QCOMPARE(form.ScalingCombo->currentText(), QString(TConfigForm::ScalingFitText));
        form.CloseBtn->click();
        QTRY_COMPARE(launcher.ClosedSpy->count(), 1);
        QCOMPARE(launcher.SavedSettings().Midi, std::string("MIDI Mapper"));
        QCOMPARE(launcher.SavedSettings().Scaling, ScalingFit);

        // An ini file from before the choice, or with a value no build wrote, scales by whole factors.
        Launcher older;
        {
            std::ofstream ini(older.IniPath);
            ini << "[Config]\nMidi=Dev A\nScaling=7\n";
        }
        older.Show();
        QCOMPARE(older.Form->ScalingCombo->currentIndex(), ScalingInteger);
        QCOMPARE(older.Form->MidiCombo->currentText(), QString("Dev A"));
    }

    void ProgressPageStaysThroughTheGamesStartUntilItsFirstFrame() {
        Launcher launcher;
        launcher.Show();
        TConfigForm& form = *launcher.Form;
        QStringList shown;
        std::vector<bool> visible;
        launcher.Game.AfterStartReport = [&](std::int32_t) {
            visible.push_back(form.isVisible() && form.PageControl->currentWidget() == form.ProgressSheet);
            shown.push_back(form.MessageLabel->text());
        };
        PaintCounter counter(form.MessageLabel);
        form.StartBtn->click();
        QCOMPARE(visible, (std::vector<bool>{true, true, false}));
        QCOMPARE(shown.mid(0, 2), (QStringList{"音源を準備しています...", "画面を開いています..."}));
        QVERIFY(counter.Paints >= 2);
        QTRY_COMPARE(launcher.ClosedSpy->count(), 1);
    }

    void NoAudioDeviceIsSaidOnTheFirstPage() {
        Launcher silent({"Dev A"}, true, true, "ALSA: Couldn't open audio device");
        silent.Show();
        const QLabel& label = *silent.Form->AudioLabel;
        QVERIFY(label.isVisible());
        // Said in Japanese and whole; the system's English reason only in the details.
        QCOMPARE(label.text(), QString(TConfigForm::NoSoundText));
        QVERIFY(!label.text().contains(QRegularExpression("[A-Za-z]")));
        QVERIFY(label.toolTip().startsWith(label.text()));
        QVERIFY(label.toolTip().endsWith("ALSA: Couldn't open audio device"));
        QVERIFY(label.fontMetrics().horizontalAdvance(label.text()) <= label.width());

        Launcher sounding;
        sounding.Show();
        QVERIFY(!sounding.Form->AudioLabel->isVisible());
    }

    void ReadmeTablesLineUpAndItsParagraphsWrapAsWholes() {
        Launcher launcher;
        launcher.Show();
        QTextDocument& readme = *launcher.Form->RichEdit->document();
        readme.setTextWidth(launcher.Form->RichEdit->viewport()->width());
        // A sentence the text file breaks for its own width is one paragraph here.
        QVERIFY(readme.toPlainText().contains("ハイハット・スネア・キック"));
        // Table rows never wrap, and columns that start at one character position start at one
        // x, whatever the characters before them.
        const QRegularExpression gap("\\S {2,}(\\S)");
        std::map<qsizetype, std::set<int>> columnX;
        int rows = 0;
        for (QTextBlock block = readme.begin(); block.isValid(); block = block.next()) {
            // The readme's lines are line breaks of a block; runs of spaces are no-break spaces.
            const QString text = block.text().replace(QChar::Nbsp, ' ');
            QTextLayout& layout = *block.layout();
            qsizetype start = 0;
            for (const QString& row : text.split(QChar::LineSeparator)) {
                const qsizetype rowStart = start;
                start += row.size() + 1;
                const QRegularExpressionMatch column = gap.match(row);
                if (!row.startsWith("  ") || !column.hasMatch()) continue;
                ++rows;
                const QTextLine line = layout.lineForTextPosition(int(rowStart));
                QCOMPARE(qsizetype(line.textStart()), rowStart);
                QVERIFY2(line.textLength() >= row.size(), qPrintable(row));
                qsizetype position = 0;
                for (qsizetype i = 0; i < column.capturedStart(1); ++i)
                    position += row[i].unicode() < 0x2000 ? 1 : 2;
                columnX[position].insert(qRound(line.cursorToX(int(rowStart + column.capturedStart(1)))));
            }
        }
        QCOMPARE(rows, 26);
        for (const auto& [position, xs] : columnX)
            QVERIFY2(xs.size() == 1,
                     qPrintable(QString("column %1 starts at %2 places").arg(position).arg(xs.size())));
    }

    void MissingReadmeIsReportedAndTheSettingsStillLoad() {
        Launcher launcher({"Dev A"}, false);
        {
            std::ofstream ini(launcher.IniPath);
            ini << "[GameConfig]\nLevel=6\n";
        }
        launcher.Show();
        QTRY_COMPARE(launcher.Answerer.Boxes.size(), 1);
        QVERIFY(launcher.Answerer.Boxes[0].contains("tamtara.rtf"));
        QCOMPARE(launcher.Form->LevelCombo->currentIndex(), 6);
        QVERIFY(launcher.Form->isVisible());
    }

    void SongFoldersPageAddsRemovesOpensAndKeepsTheLastScansCounts() {
        Launcher launcher;
        const std::string base = launcher.Folder.path().toStdString();
        const std::string songs = base + "/Songs", gone = base + "/Gone", added = base + "/Added";
        std::filesystem::create_directories(songs);
        std::filesystem::create_directories(added);
        {
            std::ofstream ini(launcher.IniPath);
            ini << "[Library]\nFolders=" << songs << ";" << gone << "\nSongCounts=12;3\n";
        }
        launcher.Show();
        TConfigForm& form = *launcher.Form;
        QCOMPARE(form.FolderList->count(), 2);
        QVERIFY(form.FolderList->item(0)->text().endsWith("(12曲)"));
        QVERIFY(form.FolderList->item(1)->text().endsWith("(読めません)"));
        QCOMPARE(form.FolderProblemLabel->text(),
                 QString(TConfigForm::FolderUnreadableText) + QString::fromStdString(gone));
        QVERIFY(!form.FolderRemoveBtn->isEnabled());

        // The folder dialog's answer is added once, however often it is chosen.
        form.AskFolder = [&added] { return added + "/"; };
        form.FolderAddBtn->click();
        form.FolderAddBtn->click();
        QCOMPARE(form.FolderList->count(), 3);
        QVERIFY(form.FolderList->item(2)->text().endsWith("(未検索)"));
        QCOMPARE(form.FolderList->currentRow(), 2);
        QDesktopServices::setUrlHandler("file", this, "OpenUrl");
        form.FolderOpenBtn->click();
        QDesktopServices::unsetUrlHandler("file");
        QCOMPARE(OpenedUrls, QList<QUrl>{QUrl::fromLocalFile(QString::fromStdString(added))});
        form.FolderList->setCurrentRow(1);
        form.FolderRemoveBtn->click();
        QCOMPARE(form.FolderList->count(), 2);
        QVERIFY(form.FolderProblemLabel->text().isEmpty());

        // Start scans exactly these folders and keeps what the scan counted in each.
        launcher.Game.Counts = {4, 0};
        form.StartBtn->click();
        QCOMPARE(launcher.Game.ScannedFolders, (std::vector<std::string>{songs, added}));
        QTRY_COMPARE(launcher.ClosedSpy->count(), 1);
        const LauncherSettings saved = launcher.SavedSettings();
        QCOMPARE(saved.SongFolders, (std::vector<std::string>{songs, added}));
        QCOMPARE(saved.SongCounts, (std::vector<std::int32_t>{4, 0}));
    }

    void SoundFontListOffersTheBestFirstAndSavesTheChoice() {
        Launcher launcher;
        launcher.Form.reset();
        std::string used = "unset";
        TConfigFormServices services{&launcher.Game, &launcher.Midi, launcher.IniPath, true,
                                     &launcher.MidiIn};
        services.SoundFonts = {{"/sf/FluidR3_GM.sf2", 148373504}, {"/sf/TimGM6mb.sf2", 6 * 1024 * 1024}};
        services.UseSoundFont = [&used](const std::string& path) { used = path; };
        launcher.Form = std::make_unique<TConfigForm>(services);
        launcher.ClosedSpy = std::make_unique<QSignalSpy>(launcher.Form.get(), &TConfigForm::Closed);
        launcher.Show();
        TConfigForm& form = *launcher.Form;
        QCOMPARE(form.SoundFontCombo->count(), 3);
        QCOMPARE(form.SoundFontCombo->itemText(0), QString("自動: FluidR3_GM.sf2 (141.5 MB)"));
        QCOMPARE(form.SoundFontCombo->itemText(2), QString("TimGM6mb.sf2 (6.0 MB)"));
        QCOMPARE(form.SoundFontCombo->currentIndex(), 0);
        // Named by its label and wide enough for the automatic choice's whole caption.
        form.PageControl->setCurrentWidget(form.ConfigSheet);
        const QList<QLabel*> labels = form.ConfigSheet->findChildren<QLabel*>();
        const auto named = std::find_if(labels.begin(), labels.end(), [&form](QLabel* label) {
            return label->buddy() == form.SoundFontCombo;
        });
        QVERIFY(named != labels.end() && (*named)->isVisible() && (*named)->text().startsWith("音色"));
        QVERIFY(form.SoundFontCombo->isVisible());
        QVERIFY(form.SoundFontCombo->fontMetrics().horizontalAdvance(form.SoundFontCombo->itemText(0)) <
                form.SoundFontCombo->width() - 24);
        QVERIFY(form.CheckExtendedDrumMap->text().startsWith("拡張ドラムマップ"));
        QVERIFY(!form.CheckExtendedDrumMap->isChecked());
        form.SoundFontCombo->setCurrentIndex(2);
        form.CheckExtendedDrumMap->setChecked(true);
        form.StartBtn->click();
        QTRY_COMPARE(launcher.ClosedSpy->count(), 1);
        // The files do not exist here, so the best one stands in for the missing choice.
        QCOMPARE(used, std::string("/sf/FluidR3_GM.sf2"));
        QCOMPARE(launcher.SavedSettings().SoundFont, std::string("/sf/TimGM6mb.sf2"));
        QVERIFY(launcher.SavedSettings().ExtendedDrumMap);
        // The scan marked the songs for the map the play will use.
        QVERIFY(launcher.Game.ScannedLanes.IsExtended());
    }

    void SettingsPageSaysTheSynthPeriodAndThePriorityObtained() {
        Launcher launcher;
        TConfigFormServices services{&launcher.Game, &launcher.Midi,   launcher.IniPath,
                                     true,           &launcher.MidiIn, {}};
        services.SynthPeriodFrames = 128;
        services.SynthPriority = "real-time (SCHED_RR 20) through RealtimeKit";
        TConfigForm form(services);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.PageControl->setCurrentWidget(form.ConfigSheet);
        const QLabel& label = *form.SoundLatencyLabel;
        QVERIFY(label.isVisible());
        QCOMPARE(label.text(),
                 QString("内蔵シンセ: 128 サンプル (2.7 ms)\n優先度: リアルタイム (RealtimeKit)"));
        // Both lines whole, beside the default button and not under it.
        for (const QString& line : label.text().split('\n'))
            QVERIFY(label.fontMetrics().horizontalAdvance(line) <= label.width());
        QVERIFY(!label.geometry().intersects(form.AppDefaultBtn->geometry()));
        QVERIFY(label.geometry().bottom() < form.ConfigSheet->height());

        QCOMPARE(TConfigForm::SoundLatencyText(256, "nice -11"),
                 QString("内蔵シンセ: 256 サンプル (5.3 ms)\n優先度: nice -11"));
        QCOMPARE(TConfigForm::SoundLatencyText(64, "normal"),
                 QString("内蔵シンセ: 64 サンプル (1.3 ms)\n優先度: 通常 (リアルタイム不可)"));
    }

    void SettingsPageSaysTheSoundServerTheSynthPlaysThrough() {
        Launcher launcher;
        TConfigFormServices services{&launcher.Game, &launcher.Midi,   launcher.IniPath,
                                     true,           &launcher.MidiIn, {}};
        services.SynthPeriodFrames = 64;
        services.SynthPriority = "real-time (SCHED_RR 20) through RealtimeKit";
        services.SynthAudioDriver = "pipewire";
        TConfigForm form(services);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.PageControl->setCurrentWidget(form.ConfigSheet);
        const QLabel& label = *form.SoundLatencyLabel;
        QCOMPARE(label.text(), QString("PipeWire: 64 サンプル (1.3 ms)\n優先度: リアルタイム (RealtimeKit)"));
        // Every line whole and seen: beside the default button, inside the page.
        for (const QString& line : label.text().split('\n'))
            QVERIFY(label.fontMetrics().horizontalAdvance(line) <= label.width());
        QVERIFY(label.fontMetrics().lineSpacing() * 2 <= label.height());
        QVERIFY(!label.geometry().intersects(form.AppDefaultBtn->geometry()));
        QVERIFY(label.geometry().bottom() < form.ConfigSheet->height());

        QCOMPARE(TConfigForm::SoundLatencyText(128, "nice -11", "pulseaudio"),
                 QString("PulseAudio: 128 サンプル (2.7 ms)\n優先度: nice -11"));
        QCOMPARE(TConfigForm::SoundLatencyText(256, "", "alsa"), QString("ALSA: 256 サンプル (5.3 ms)"));
    }

    void StartWithTheDefaultSongFoldersLeavesThemToTheDefaults() {
        Launcher launcher;
        const std::string data = launcher.Folder.path().toStdString() + "/data";
        const std::string music = launcher.Folder.path().toStdString() + "/Music/Tamtara";
        TConfigFormServices services{&launcher.Game, &launcher.Midi, launcher.IniPath, true,
                                     &launcher.MidiIn};
        services.DefaultSongFolders = {data};
        launcher.Form = std::make_unique<TConfigForm>(services);
        launcher.ClosedSpy = std::make_unique<QSignalSpy>(launcher.Form.get(), &TConfigForm::Closed);
        launcher.Show();
        launcher.Form->StartBtn->click();
        QTRY_COMPARE(launcher.ClosedSpy->count(), 1);
        QCOMPARE(launcher.Game.ScannedFolders, std::vector<std::string>{data});
        // The music folder made after the first Start is found at the next.
        QCOMPARE(LoadSettings(launcher.IniPath, {data, music}).SongFolders,
                 (std::vector<std::string>{data, music}));

        // A list the player changed is kept as it is.
        services.DefaultSongFolders = {data, music};
        TConfigForm changed(services);
        changed.show();
        QVERIFY(QTest::qWaitForWindowExposed(&changed));
        changed.FolderList->setCurrentRow(1);
        changed.FolderRemoveBtn->click();
        changed.CloseBtn->click();
        QCOMPARE(LoadSettings(launcher.IniPath, {data, music}).SongFolders, std::vector<std::string>{data});
    }

    void ButtonsThatOpenAFolderOrTheReadmeSayWhereItIsWhenNothingOpensIt() {
        Launcher launcher;
        QTemporaryDir data;
        std::ofstream(data.path().toStdString() + "/Readme.txt") << "Tamtara\n";
        TConfigFormServices services{&launcher.Game, &launcher.Midi, launcher.IniPath, true,
                                     &launcher.MidiIn};
        services.DataFolder = data.path().toStdString();
        services.DefaultSongFolders = {data.path().toStdString()};
        launcher.Form = std::make_unique<TConfigForm>(services);
        launcher.Show();
        TConfigForm& form = *launcher.Form;
        std::vector<std::string> opened;
        bool opens = true;
        form.OpenWithDesktop = [&](const std::string& path) {
            opened.push_back(path);
            return opens;
        };
        // The readme of the data folder, wherever the program lies.
        form.ReadmeBtn->click();
        QCOMPARE(opened, std::vector<std::string>{data.path().toStdString() + "/Readme.txt"});
        QVERIFY(launcher.Answerer.Boxes.empty());

        // Without a program for them, a box names the place to copy.
        opens = false;
        form.ReadmeBtn->click();
        form.PageControl->setCurrentWidget(form.FolderSheet);
        form.FolderList->setCurrentRow(0);
        form.FolderOpenBtn->click();
        QCOMPARE(launcher.Answerer.Boxes.size(), 2);
        QVERIFY(launcher.Answerer.Boxes[0].contains("Readme.txt" + QString(TConfigForm::NoOpenerText)));
        QVERIFY(launcher.Answerer.Boxes[0].endsWith(data.path() + "/Readme.txt"));
        QVERIFY(launcher.Answerer.Boxes[1].contains("フォルダ" + QString(TConfigForm::NoOpenerText)));
        QVERIFY(launcher.Answerer.Boxes[1].endsWith(data.path()));

        // A readme that is not there is named too.
        std::filesystem::remove(data.path().toStdString() + "/Readme.txt");
        form.ReadmeBtn->click();
        QCOMPARE(launcher.Answerer.Boxes.size(), 3);
        QVERIFY(launcher.Answerer.Boxes[2].contains("見つかりません"));
    }

    void WordsOfTheProgressTabAndTheTipsOfInputAndDifficulty() {
        Launcher launcher;
        launcher.Show();
        TConfigForm& form = *launcher.Form;
        const QString progressCaption =
            form.PageControl->tabText(form.PageControl->indexOf(form.ProgressSheet));
        QVERIFY(!progressCaption.contains(QRegularExpression("[A-Za-z]")));
        // What the DirectInput box changes on this system.
        QVERIFY(form.CheckDInput->toolTip().contains("キーボード"));
        // Each level says what a miss does to the gauge; No Miss is the mildest, not the strictest.
        QVERIFY(form.LevelCombo->itemData(0, Qt::ToolTipRole).toString().contains("減りません"));
        for (int level = 1; level < LevelCount; ++level)
            QVERIFY(form.LevelCombo->itemData(level, Qt::ToolTipRole)
                        .toString()
                        .contains(QString(" %1 減ります").arg(Levels[std::size_t(level)].MissPenalty)));
        QVERIFY(form.LevelCombo->toolTip().contains("演奏失敗"));
    }

public slots:
    // The desktop's stand-in for opening a folder.
    void OpenUrl(const QUrl& url) { OpenedUrls.push_back(url); }

private:
    QList<QUrl> OpenedUrls;
};

static const bool Registered = RegisterLauncherTest<ConfigFormTest>();

} // namespace tamtara::testing

#include "ConfigFormTest.moc"
