// The launcher's window and its handlers: first show, Start with the scan and the hand-over,
// Close, the default buttons and the readme.
#include "launcher/ConfigForm.h"

#include "launcher/LauncherArt.h"
#include "launcher/LauncherWidgets.h"
#include "launcher/RtfReader.h"
#include "launcher/SettingsHandOver.h"
#include "midi/DrumMap.h"
#include "settings/Choices.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QProgressBar>
#include <QProxyStyle>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QUrl>

#include <exception>
#include <filesystem>

namespace tamtara {

namespace {

constexpr int ClientWidth = 345;
constexpr int ClientHeight = 351;
constexpr const char* Caption = "Tamtara";
constexpr const char* NoDeviceText = "MIDI機器が全くインストールされていません。";
constexpr const char* NoDeviceCaption = "Tamtara 起動エラー";

QString FromStd(const std::string& text) {
    return QString::fromStdString(text);
}

// Tabs with a quarter of the style's side padding: the settings pages' captions then fit the
// fixed width without scroll arrows hiding the first one.
class CompactTabStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
        const int value = QProxyStyle::pixelMetric(metric, option, widget);
        return metric == PM_TabBarTabHSpace ? value / 4 : value;
    }
};

void SelectPosition(QComboBox* combo, int position) {
    combo->setCurrentIndex(position >= 0 && position < combo->count() ? position : -1);
}

} // namespace

TConfigForm::TConfigForm(const TConfigFormServices& services, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      Services(services) {
    setWindowTitle(Caption);
    QFont font;
    font.setFamilies({FontName});
    font.setPixelSize(12);
    setFont(font);
    setFixedSize(ClientWidth, ClientHeight);

    PageControl = MakeChild<QTabWidget>(this);
    PageControl->setGeometry(8, 8, 329, 309);
    auto* tabStyle = MakeChild<CompactTabStyle>();
    tabStyle->setParent(PageControl);
    PageControl->tabBar()->setStyle(tabStyle);
    // Eight captions share the fixed width: a pixel smaller, they all stay in view.
    QFont tabFont = font;
    tabFont.setPixelSize(11);
    PageControl->tabBar()->setFont(tabFont);
    BuildAboutSheet();
    BuildConfigSheet();
    BuildGameConfigSheet();
    BuildProgressSheet();
    BuildKeySheet();
    BuildKitSheet();
    BuildRecordsSheet();
    BuildFolderSheet();
    BuildButtons();
    // Return is Start wherever the focus is: no other button takes the default when focused.
    for (QPushButton* button : findChildren<QPushButton*>())
        if (button != StartBtn) button->setAutoDefault(false);
    connect(MidiInCombo, &QComboBox::currentIndexChanged, this, [this] { UpdateKitLearning(); });
    OpenWithDesktop = [](const std::string& path) {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(FromStd(path)));
    };
}

TConfigForm::~TConfigForm() {
    // No note may arrive for a form that is gone.
    StopLearning();
    WaitForRecordReads();
}

void TConfigForm::BuildButtons() {
    StartBtn = MakeChild<QPushButton>("スタート", this);
    StartBtn->setGeometry(120, 321, 113, 26);
    QFont bold = StartBtn->font();
    bold.setBold(true);
    bold.setPixelSize(16);
    StartBtn->setFont(bold);
    StartBtn->setIcon(QIcon(StartPicture(20)));
    StartBtn->setIconSize(QSize(20, 20));
    StartBtn->setDefault(true);
    StartBtn->setAutoDefault(true);
    connect(StartBtn, &QPushButton::clicked, this, [this] { StartBtnClick(); });

    CloseBtn = MakeChild<QPushButton>("閉じる", this);
    CloseBtn->setGeometry(240, 321, 97, 26);
    CloseBtn->setAutoDefault(false);
    connect(CloseBtn, &QPushButton::clicked, this, [this] { CloseBtnClick(); });
}

void TConfigForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (Shown) return;
    Shown = true;
    if (const QScreen* screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    FormShow();
}

void TConfigForm::FormShow() {
    BuildLabel->setText(BuildText);
    LastShownPercent = -100;
    ShowPages(true);
    PageControl->setCurrentWidget(AboutSheet);

    IMidiOutDriver& midi = *Services.MidiDriver;
    MidiDeviceCount = midi.DeviceCount();
    const bool noDevice = MidiDeviceCount == 0;
    if (noDevice) QMessageBox::information(this, NoDeviceCaption, NoDeviceText);

    MidiNames = MidiDeviceNames(midi);
    MidiCombo->clear();
    for (std::size_t entry = 0; entry < MidiNames.size(); ++entry)
        MidiCombo->addItem(entry == 0 ? QString(DefaultOutputText) : FromStd(MidiNames[entry]));

    // A missing readme is reported, but the settings are still loaded: otherwise the next Save
    // would overwrite the player's ini file with the defaults.
    LoadReadme();
    LoadSettings();

    // The close comes once this show has finished.
    if (noDevice) QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void TConfigForm::LoadReadme() {
    const std::optional<std::vector<std::uint8_t>> readme = Services.GameWindow->ReadDataEntry(ReadmeEntry);
    if (!readme) {
        ShowError(std::string("\"") + ReadmeEntry + "\" が見つかりません");
        return;
    }
    const QByteArray rtf(reinterpret_cast<const char*>(readme->data()),
                         static_cast<qsizetype>(readme->size()));
    RichEdit->setHtml(RtfToHtml(rtf));
}

void TConfigForm::ShowPages(bool settingsPages) {
    const int progress = PageControl->indexOf(ProgressSheet);
    for (int index = 0; index < PageControl->count(); ++index) {
        const bool visible = (index == progress) != settingsPages;
        PageControl->setTabVisible(index, visible);
        // Ctrl+Tab would still reach a hidden page that is enabled.
        PageControl->setTabEnabled(index, visible);
    }
}

void TConfigForm::LoadSettings() {
    ShowSettings(tamtara::LoadSettings(Services.IniPath, Services.DefaultSongFolders));
}

void TConfigForm::SaveSettings() {
    tamtara::SaveSettings(Services.IniPath, ControlSettings());
}

LauncherSettings TConfigForm::ControlSettings() const {
    // Settings without a control here (input timing, the kit's Enter note) keep what was loaded,
    // so a save does not reset the player's calibration.
    LauncherSettings settings = ShownSettings;
    // The device's own name, not the text shown for it.
    const int midiEntry = MidiCombo->currentIndex();
    settings.Midi = midiEntry >= 0 && std::size_t(midiEntry) < MidiNames.size()
                        ? MidiNames[std::size_t(midiEntry)]
                        : ShownSettings.Midi;
    settings.MidiIn = MidiInCombo->currentText().toStdString();
    settings.Kit = ControlKit();
    settings.Prev = CheckPrev->isChecked();
    settings.NoBank = CheckNoBank->isChecked();
    settings.DInput = CheckDInput->isChecked();
    settings.FullScreen = CheckFullscreen->isChecked();
    settings.Scaling = ScalingCombo->currentIndex() == ScalingFit ? ScalingFit : ScalingInteger;
    settings.Level = LevelCombo->currentIndex();
    settings.Demo = CheckDemo->isChecked();
    settings.Combo = CheckCombo->isChecked();
    settings.ExtendedDrumMap = CheckExtendedDrumMap->isChecked();
    const int soundFont = SoundFontCombo->currentIndex();
    settings.SoundFont = soundFont > 0 && std::size_t(soundFont) <= Services.SoundFonts.size()
                             ? Services.SoundFonts[std::size_t(soundFont - 1)].Path
                             : std::string();
    settings.SongFolders = SongFolders;
    settings.SongCounts = SongCounts;
    for (std::size_t part = 0; part < LaneCount; ++part) {
        settings.KeyA[part] = KeyComboA[part]->currentIndex();
        settings.KeyB[part] = KeyComboB[part]->currentIndex();
    }
    return settings;
}

void TConfigForm::ShowSettings(const LauncherSettings& settings) {
    ShownSettings = settings;
    MidiCombo->setCurrentIndex(FindMidiEntry(MidiNames, settings.Midi));
    FillMidiInCombo(settings.MidiIn);
    ShowKit(settings.Kit);
    CheckPrev->setChecked(settings.Prev);
    CheckNoBank->setChecked(settings.NoBank);
    CheckDInput->setChecked(settings.DInput);
    CheckFullscreen->setChecked(settings.FullScreen);
    ScalingCombo->setCurrentIndex(settings.Scaling == ScalingFit ? ScalingFit : ScalingInteger);
    SelectPosition(LevelCombo, settings.Level);
    CheckDemo->setChecked(settings.Demo);
    CheckCombo->setChecked(settings.Combo);
    CheckExtendedDrumMap->setChecked(settings.ExtendedDrumMap);
    int soundFont = 0;
    for (std::size_t i = 0; i < Services.SoundFonts.size(); ++i)
        if (Services.SoundFonts[i].Path == settings.SoundFont) soundFont = static_cast<int>(i + 1);
    SelectPosition(SoundFontCombo, soundFont);
    SongFolders = settings.SongFolders;
    SongCounts = settings.SongCounts;
    ShowFolders();
    for (std::size_t part = 0; part < LaneCount; ++part) {
        SelectPosition(KeyComboA[part], settings.KeyA[part]);
        SelectPosition(KeyComboB[part], settings.KeyB[part]);
    }
}

void TConfigForm::SaveSettingsOrSay() {
    try {
        SaveSettings();
    } catch (const std::exception& error) {
        // A read-only file must not lock the player in or out: Start and Close, the only saves,
        // both leave the launcher, so this is said once.
        ShowError(std::string(SettingsNotSavedText) + "\n" + error.what());
    }
}

void TConfigForm::StartBtnClick() {
    SaveSettingsOrSay();
    ShowPages(false);
    PageControl->setCurrentWidget(ProgressSheet);
    StartBtn->setEnabled(false);
    CloseBtn->setEnabled(false);
    Scanning = true;
    try {
        // The scan marks the songs without drum notes under the lane map the play will use.
        Services.GameWindow->ScanLibrary(
            SongFolders, LaneMap::Chosen(ControlSettings().ExtendedDrumMap),
            [this](IGameWindow& sender) { StartGame(sender); },
            [this](IGameWindow& sender, std::int32_t percentDone, const std::string& msg) {
                ShowProgress(sender, percentDone, msg);
            });
    } catch (const std::exception& error) {
        // The scan or the game failed in a way the game window could not go on from.
        Scanning = false;
        Failed = true;
        ShowError(error.what());
        close();
    }
    Scanning = false;
}

void TConfigForm::ShowProgress(IGameWindow&, std::int32_t percentDone, const std::string& msg) {
    LoadGauge->setValue(percentDone);
    MessageLabel->setText(FromStd(msg));
    if (percentDone - LastShownPercent <= 5) return;
    MessageLabel->repaint();
    QCoreApplication::processEvents();
    LastShownPercent = percentDone;
}

void TConfigForm::StartGame(IGameWindow& sender) {
    RememberSongCounts(sender.SongCounts());
    const LauncherSettings settings = ControlSettings();
    if (Services.UseSoundFont)
        Services.UseSoundFont(ChosenSoundFont(settings.SoundFont, Services.SoundFonts));
    GameSettings game = MakeGameSettings(settings, MidiNames);
    // The chosen row, not the first device of its name: identical interfaces share one.
    game.MidiDevice = MidiDeviceOfEntry(MidiCombo->currentIndex());
    HandOverSettings(sender, game);
    Scanning = false;
    // The progress page stays up through the window's start and goes with its first frame, so
    // the player never looks at nothing.
    LastShownPercent = -100;
    sender.ShowModal([this](IGameWindow& window, std::int32_t percentDone, const std::string& msg) {
        if (percentDone < 100) {
            ShowProgress(window, percentDone, msg);
            return;
        }
        hide();
        QCoreApplication::processEvents();
    });
    hide();
    close();
}

void TConfigForm::CloseBtnClick() {
    SaveSettingsOrSay();
    close();
}

void TConfigForm::AppDefaultBtnClick() {
    LauncherSettings settings = ControlSettings();
    ResetAppDefaults(settings);
    ShowSettings(settings);
    // The mapper is the first entry whatever its product name.
    MidiCombo->setCurrentIndex(MidiCombo->count() > 0 ? 0 : -1);
}

void TConfigForm::GameDefaultBtnClick() {
    const LauncherSettings defaults = DefaultSettings();
    SelectPosition(LevelCombo, defaults.Level);
    CheckDemo->setChecked(defaults.Demo);
    CheckCombo->setChecked(defaults.Combo);
    CheckExtendedDrumMap->setChecked(defaults.ExtendedDrumMap);
}

void TConfigForm::KeyDefaultBtnClick() {
    LauncherSettings settings = ControlSettings();
    ResetKeyDefaults(settings);
    ShowSettings(settings);
}

void TConfigForm::ReadmeBtnClick() {
    // The shipped data folder: beside the program in a portable copy, <prefix>/share/tamtara
    // in an installed one.
    const std::string folder =
        Services.DataFolder.empty() ? std::filesystem::current_path().string() : Services.DataFolder;
    const std::string path = (std::filesystem::path(folder) / ReadmeFile).string();
    if (!std::filesystem::is_regular_file(path)) {
        ShowError(std::string(ReadmeFile) + " が見つかりません: " + path);
        return;
    }
    OpenOrShowPath(path, ReadmeFile);
}

void TConfigForm::OpenOrShowPath(const std::string& path, const QString& what) {
    if (OpenWithDesktop(path)) return;
    QMessageBox box(QMessageBox::Information, windowTitle(), what + NoOpenerText + "\n\n" + FromStd(path),
                    QMessageBox::Ok, this);
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    box.exec();
}

void TConfigForm::ShowError(const std::string& message) {
    QMessageBox::critical(this, windowTitle(), FromStd(message));
}

void TConfigForm::closeEvent(QCloseEvent* event) {
    // During the scan the player has no way out but the scan's end; the buttons are disabled too.
    if (Scanning) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
    if (event->isAccepted()) emit Closed();
}

void TConfigForm::hideEvent(QHideEvent* event) {
    StopLearning();
    QDialog::hideEvent(event);
}

void TConfigForm::keyPressEvent(QKeyEvent* event) {
    // Esc presses the cancel button, which saves; the dialog's own Esc would close unsaved.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (CloseBtn->isEnabled()) CloseBtn->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace tamtara
