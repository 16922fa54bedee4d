// TConfigForm, the launcher: the about page with the readme, the MIDI, display, input, game and
// key settings, and Start, which saves them, scans the song library on the progress page and
// hands them to the game window before showing it.
#pragma once

#include "launcher/GameWindow.h"
#include "midi/MidiDriver.h"
#include "midi/MidiInDriver.h"
#include "settings/Settings.h"
#include "settings/SoundFonts.h"

#include <QDialog>
#include <QPointer>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QSpinBox;
class QPushButton;
class QTabWidget;
class QTableView;
class QTextEdit;
class QThread;
class QWidget;

namespace tamtara {

class TProgressChart;
class TRecordsModel;
class TTimingChart;

struct TConfigFormServices {
    IGameWindow* GameWindow = nullptr;
    IMidiOutDriver* MidiDriver = nullptr;
    std::string IniPath;
    // False: the built-in synth has no General MIDI SoundFont and would play nothing.
    bool SoundFontFound = true;
    // The kit's input ports; none when absent (a system without a MIDI sequencer).
    IMidiInDriver* MidiInDriver = nullptr;
    // Why the built-in synth cannot be heard (no audio device); empty when it can.
    std::string AudioProblem{};
    // The song folders of a settings file that names none (see DefaultSongFolders).
    std::vector<std::string> DefaultSongFolders{};
    // The SoundFonts installed, best first (see DiscoverSoundFonts).
    std::vector<SoundFontFile> SoundFonts{};
    // Gives the built-in synth the SoundFont to load at Start; none: the synth's own choice.
    std::function<void(const std::string& path)> UseSoundFont{};
    // The folder of the game's shipped data, where Readme.txt lies; empty: the current folder,
    // which the program makes the data folder.
    std::string DataFolder{};
    // Where the game keeps its records database; empty: beside the settings file.
    std::string RecordsFolder{};
    // The built-in synth's frames per period (0: unknown) and the priority its threads obtain.
    int SynthPeriodFrames = 0;
    std::string SynthPriority{};
    // SDL's audio driver the synth's output opened on when it was tried at start ("pipewire",
    // "pulseaudio", "alsa"); empty: unknown or none.
    std::string SynthAudioDriver{};
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
    // The kit page's one-line hints.
    static constexpr const char* NoMidiInPortText = "MIDI入力ポートが見つかりません";
    static constexpr const char* NoMidiInChosenText = "動作設定の「MIDI入力」でポートを選んでください";
    static constexpr const char* LearnReadyText = "「学習」を押してからパッドを叩いてください";
    static constexpr const char* LearningText = "パッドを叩いてください (もう一度押すと終了)";
    static constexpr const char* PortOpenFailedText = "MIDI入力ポートを開けません";
    // The MIDI list's first entry, the default output, as the player reads it; the ini file
    // keeps the device's own name.
    static constexpr const char* DefaultOutputText = "内蔵シンセ (General MIDI)";
    // The about page's line when the built-in synth cannot be heard; its tool tip adds the
    // system's own reason.
    static constexpr const char* NoSoundText = "音が出ません (音声出力装置なし)";
    static constexpr const char* NoSoundDetailText = "詳細: ";
    // The progress page's caption during Start.
    static constexpr const char* ProgressCaption = "読み込み中...";
    // Said once when the settings cannot be written; Start and Close then go on without them.
    static constexpr const char* SettingsNotSavedText =
        "設定を保存できません。今回の設定は保存せずに続けます。";
    // When no program opens a folder or the readme: the path to copy follows.
    static constexpr const char* NoOpenerText =
        "を開くプログラムが見つかりません。次の場所をコピーして開いてください:";
    // The full-screen scaling choices, in the order of their ini values.
    static constexpr const char* ScalingIntegerText = "整数倍 (くっきり)";
    static constexpr const char* ScalingFitText = "画面に合わせる";
    // The records page: its caption and the line above its table.
    static constexpr const char* RecordsCaption = "記録";
    static constexpr const char* RecordsLoadingText = "記録を読んでいます...";
    static constexpr const char* RecordsEmptyText = "記録はまだありません";
    static constexpr const char* RecordsOffText = "記録を開けません: ";
    // Before the song folders that cannot be read, on the song folders page.
    // The SoundFont list's first entry: the best one installed, named after it.
    static constexpr const char* SoundFontAutoText = "自動: ";
    static constexpr const char* FolderUnreadableText = "読めないフォルダ (検索しません): ";

    // The settings page's line on the built-in synth: its period, the sound server it plays
    // through and the priority obtained.
    static QString SoundLatencyText(int periodFrames, const std::string& priority,
                                    const std::string& audioDriver = {});

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
    // The kit page: a learn button toggled, a note-on from the open port (on this thread), the
    // default button.
    void KitLearnBtnClick(int lane, bool learn);
    void KitNoteOn(std::uint8_t note);
    void KitDefaultBtnClick();
    // The records page: the songs read (off the dialog's thread) each time it is opened, and a
    // chosen song's progress and last timing.
    void LoadRecords();
    void ShowSongRecords(int row);
    // tamtara.db in the records folder.
    std::string RecordsPath() const;
    // Until the record reads under way have finished (tests, and closing).
    void WaitForRecordReads();
    // The song folders page.
    void FolderAddBtnClick();
    void FolderRemoveBtnClick();
    void FolderOpenBtnClick();
    // Keeps the song counts of a scan (one per folder) for the page and the settings file.
    void RememberSongCounts(const std::vector<std::int32_t>& counts);

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
    QWidget* KitSheet = nullptr;
    QPushButton* StartBtn = nullptr;
    QPushButton* CloseBtn = nullptr;
    QLabel* BuildLabel = nullptr;
    QTextEdit* RichEdit = nullptr;
    QPushButton* ReadmeBtn = nullptr;
    QComboBox* MidiCombo = nullptr;
    QComboBox* MidiInCombo = nullptr;
    QCheckBox* CheckPrev = nullptr;
    QCheckBox* CheckNoBank = nullptr;
    QLabel* SoundFontLabel = nullptr;
    // The built-in synth's SoundFont: automatic, then every one installed; hidden when none is.
    QComboBox* SoundFontCombo = nullptr;
    QLabel* SoundLatencyLabel = nullptr;
    QCheckBox* CheckDInput = nullptr;
    QCheckBox* CheckFullscreen = nullptr;
    QComboBox* ScalingCombo = nullptr;
    // The reason nothing will be heard, red; hidden when the synth can be heard.
    QLabel* AudioLabel = nullptr;
    QPushButton* AppDefaultBtn = nullptr;
    QComboBox* LevelCombo = nullptr;
    QCheckBox* CheckDemo = nullptr;
    QCheckBox* CheckCombo = nullptr;
    QCheckBox* CheckExtendedDrumMap = nullptr;
    QPushButton* GameDefaultBtn = nullptr;
    QLabel* MessageLabel = nullptr;
    QProgressBar* LoadGauge = nullptr;
    std::array<QComboBox*, LaneCount> KeyComboA{};
    std::array<QComboBox*, LaneCount> KeyComboB{};
    QPushButton* KeyDefaultBtn = nullptr;
    std::array<QLabel*, LaneCount> KitNotesLabel{};
    std::array<QSpinBox*, LaneCount> KitVelocitySpin{};
    std::array<QPushButton*, LaneCount> KitLearnBtn{};
    QSpinBox* KitDebounceSpin = nullptr;
    QLabel* KitHintLabel = nullptr;
    QPushButton* KitDefaultBtn = nullptr;
    QWidget* RecordsSheet = nullptr;
    QLabel* RecordsLabel = nullptr;
    QTableView* RecordsTable = nullptr;
    TRecordsModel* RecordsModel = nullptr;
    TProgressChart* ProgressChart = nullptr;
    TTimingChart* TimingChart = nullptr;
    QWidget* FolderSheet = nullptr;
    QListWidget* FolderList = nullptr;
    QLabel* FolderProblemLabel = nullptr;
    QPushButton* FolderAddBtn = nullptr;
    QPushButton* FolderRemoveBtn = nullptr;
    QPushButton* FolderOpenBtn = nullptr;
    // Asks the player for a folder to add; empty when none was chosen. The folder dialog.
    std::function<std::string()> AskFolder;
    // Opens a folder or file with the desktop's program for it; false when there is none.
    std::function<bool(const std::string& path)> OpenWithDesktop;
    // The song folders as the page shows them, with their counts (-1 unknown).
    std::vector<std::string> SongFolders;
    std::vector<std::int32_t> SongCounts;

    // The progress value at the last repaint of the progress page.
    std::int32_t LastShownPercent = -100;
    // Output devices found by FormShow (the mapper not counted).
    unsigned MidiDeviceCount = 0;
    // The lane learning from the open input port, or -1 (no port open).
    int LearningLane = -1;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // One builder per page, each in its own file.
    void BuildAboutSheet();
    void BuildConfigSheet();
    void BuildSoundLatencyLine();
    void BuildGameConfigSheet();
    void BuildProgressSheet();
    void BuildKeySheet();
    void BuildKitSheet();
    void BuildRecordsSheet();
    void BuildFolderSheet();
    void ShowFolders();
    void UpdateFolderButtons();
    void BuildButtons();
    void ShowPages(bool settingsPages);
    void LoadReadme();
    // The input combo: "(なし)", the ports, and a saved port absent now (kept, not lost).
    void FillMidiInCombo(const std::string& chosen);
    void ShowKit(const KitSettings& kit);
    KitSettings ControlKit() const;
    void ShowKitNotes();
    // Learn buttons enabled only with a port chosen, and the hint saying why not.
    void UpdateKitLearning();
    // Ends learning and closes the input port.
    void StopLearning();
    // SaveSettings; a failed write is said, and the handler goes on all the same.
    void SaveSettingsOrSay();
    // Opens path (what: "フォルダ", "Readme.txt") or, without a program for it, shows the path.
    void OpenOrShowPath(const std::string& path, const QString& what);
    // The application's default error handling: the message in a box.
    void ShowError(const std::string& message);

    TConfigFormServices Services;
    // The settings last shown in the controls, with those no control edits.
    LauncherSettings ShownSettings;
    std::vector<std::string> MidiNames;
    std::vector<std::string> MidiInNames;
    // The kit map as learned so far (the spin boxes hold velocities and debounce).
    KitSettings KitMap = DefaultKit();
    // The next hit of the learning lane replaces its notes; later ones add zones.
    bool LearnReplaces = true;
    bool Shown = false;
    bool Scanning = false;
    // The reads of the records under way, and the latest of each kind (older answers are dropped).
    std::vector<QPointer<QThread>> RecordReads;
    int SongsRead = 0;
    int SongRead = 0;
    bool Failed = false;
};

} // namespace tamtara
