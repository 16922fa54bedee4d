// TConfigForm, the launcher: the about page with the readme, the MIDI, display, input, game and
// key settings, and Start, which saves them, scans the song library on the progress page and
// hands them to the game window before showing it.
#pragma once

#include "launcher/GameWindow.h"
#include "midi/MidiDriver.h"
#include "settings/Settings.h"

#include <QDialog>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTextEdit;
class QWidget;

namespace tamtara {

struct TConfigFormServices {
    IGameWindow* GameWindow = nullptr;
    IMidiOutDriver* MidiDriver = nullptr;
    std::string IniPath;
    // False: the built-in synth has no General MIDI SoundFont and would play nothing.
    bool SoundFontFound = true;
};

class TConfigForm : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* BuildText = "Version 1.82 [2001/05/04]";
    static constexpr const char* FontName = "ＭＳ Ｐゴシック";
    static constexpr const char* ReadmeEntry = "tamtara.rtf";
    static constexpr const char* ReadmeFile = "Readme.txt";
    // One line on the settings page, naming the package that gives the synth its sounds.
    static constexpr const char* SoundFontMissingText = "GM音源なし: timgm6mb-soundfont をインストール";

    explicit TConfigForm(const TConfigFormServices& services, QWidget* parent = nullptr);
    ~TConfigForm() override;

    // Handlers.
    void FormShow();
    void StartBtnClick();
    void ShowProgress(IGameWindow& sender, std::int32_t percentDone, const std::string& msg);
    void StartGame(IGameWindow& sender);
    void CloseBtnClick();
    void AppDefaultBtnClick();
    void GameDefaultBtnClick();
    void KeyDefaultBtnClick();
    void ReadmeBtnClick();

    // The ini file into the controls, and the controls into the ini file.
    void LoadSettings();
    void SaveSettings();
    // What the controls say, as the settings store keeps it.
    LauncherSettings ControlSettings() const;
    void ShowSettings(const LauncherSettings& settings);

    // 1 when the game could not be started or ran into an error the program ends on.
    int ExitCode() const { return Failed ? 1 : 0; }

signals:
    // The launcher has closed: the program ends.
    void Closed();

public:

    // Controls, by their designer names.
    QTabWidget* PageControl = nullptr;
    QWidget* AboutSheet = nullptr;
    QWidget* ConfigSheet = nullptr;
    QWidget* GameConfigSheet = nullptr;
    QWidget* ProgressSheet = nullptr;
    QWidget* KeySheet = nullptr;
    QPushButton* StartBtn = nullptr;
    QPushButton* CloseBtn = nullptr;
    QLabel* BuildLabel = nullptr;
    QTextEdit* RichEdit = nullptr;
    QPushButton* ReadmeBtn = nullptr;
    QComboBox* MidiCombo = nullptr;
    QCheckBox* CheckPrev = nullptr;
    QCheckBox* CheckNoBank = nullptr;
    QLabel* SoundFontLabel = nullptr;
    QCheckBox* CheckDInput = nullptr;
    QCheckBox* CheckFullscreen = nullptr;
    QPushButton* AppDefaultBtn = nullptr;
    QComboBox* LevelCombo = nullptr;
    QCheckBox* CheckDemo = nullptr;
    QCheckBox* CheckCombo = nullptr;
    QPushButton* GameDefaultBtn = nullptr;
    QLabel* MessageLabel = nullptr;
    QProgressBar* LoadGauge = nullptr;
    std::array<QComboBox*, DrumPartCount> KeyComboA{};
    std::array<QComboBox*, DrumPartCount> KeyComboB{};
    QPushButton* KeyDefaultBtn = nullptr;

    // The progress value at the last repaint of the progress page.
    std::int32_t LastShownPercent = -100;
    // Output devices found by FormShow (the mapper not counted).
    unsigned MidiDeviceCount = 0;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // One builder per page, each in its own file.
    void BuildAboutSheet();
    void BuildConfigSheet();
    void BuildGameConfigSheet();
    void BuildProgressSheet();
    void BuildKeySheet();
    void BuildButtons();
    void ShowPages(bool settingsPages);
    void LoadReadme();
    // SaveSettings; a failed write is shown and ends the handler (false).
    bool SaveSettingsOrSay();
    // The application's default error handling: the message in a box.
    void ShowError(const std::string& message);

    TConfigFormServices Services;
    // The settings last shown in the controls, with those no control edits.
    LauncherSettings ShownSettings;
    std::vector<std::string> MidiNames;
    bool Shown = false;
    bool Scanning = false;
    bool Failed = false;
};

} // namespace tamtara
