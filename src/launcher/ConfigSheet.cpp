// The settings page: MIDI output device and kit input port, preview and bank select, keyboard input, full
// screen and its scaling.
#include "launcher/ConfigForm.h"
#include "launcher/LauncherWidgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QTabWidget>

namespace tamtara {

void TConfigForm::BuildConfigSheet() {
    ConfigSheet = MakeChild<QWidget>();
    auto* midiGroup = MakeChild<QGroupBox>("MIDI 設定", ConfigSheet);
    midiGroup->setGeometry(8, 6, 305, 132);
    // Output and input each take one row: label left, combo right.
    auto* midiLabel = MakeChild<QLabel>("使用するMIDI(&M):", midiGroup);
    midiLabel->setGeometry(12, 23, 100, 16);
    MidiCombo = MakeChild<QComboBox>(midiGroup);
    MidiCombo->setGeometry(112, 20, 181, 22);
    midiLabel->setBuddy(MidiCombo);
    auto* midiInLabel = MakeChild<QLabel>("MIDI入力(&N):", midiGroup);
    midiInLabel->setGeometry(12, 49, 100, 16);
    MidiInCombo = MakeChild<QComboBox>(midiGroup);
    MidiInCombo->setGeometry(112, 46, 181, 22);
    midiInLabel->setBuddy(MidiInCombo);
    CheckPrev = MakeChild<QCheckBox>("曲セレクト時のプレビュー(&P)", midiGroup);
    CheckPrev->setGeometry(12, 72, 281, 18);
    CheckNoBank = MakeChild<QCheckBox>("バンクセレクトを送信しない(&B)", midiGroup);
    CheckNoBank->setGeometry(12, 92, 281, 18);
    SoundFontLabel = MakeChild<QLabel>(midiGroup);
    SoundFontLabel->setGeometry(12, 112, 289, 16);
    QPalette warning = SoundFontLabel->palette();
    warning.setColor(QPalette::WindowText, QColor(192, 0, 0));
    SoundFontLabel->setPalette(warning);
    SoundFontLabel->setVisible(!Services.SoundFontFound);
    SoundFontLabel->setText(SoundFontMissingText);
    SoundFontCombo = MakeChild<QComboBox>(midiGroup);
    // Wider than the rows above: "自動: " and a file name with its size.
    SoundFontCombo->setGeometry(72, 109, 221, 22);
    SoundFontCombo->setToolTip("内蔵シンセの音色 (SoundFont)");
    if (!Services.SoundFonts.empty())
        SoundFontCombo->addItem(QString(SoundFontAutoText) +
                                QString::fromStdString(SoundFontCaption(Services.SoundFonts.front())));
    for (const SoundFontFile& file : Services.SoundFonts) {
        SoundFontCombo->addItem(QString::fromStdString(SoundFontCaption(file)));
        SoundFontCombo->setItemData(SoundFontCombo->count() - 1, QString::fromStdString(file.Path),
                                    Qt::ToolTipRole);
    }
    const bool soundFontChoice = Services.SoundFontFound && !Services.SoundFonts.empty();
    SoundFontCombo->setVisible(soundFontChoice);
    auto* soundFontLabel = MakeChild<QLabel>("音色(&S):", midiGroup);
    soundFontLabel->setGeometry(12, 112, 58, 16);
    soundFontLabel->setBuddy(SoundFontCombo);
    // Not isVisible(): the page is not shown yet while it is built.
    soundFontLabel->setVisible(soundFontChoice);

    auto* inputGroup = MakeChild<QGroupBox>("DirectInput 設定", ConfigSheet);
    inputGroup->setGeometry(8, 144, 305, 46);
    CheckDInput = MakeChild<QCheckBox>("Direct Inputを使用する(&I)", inputGroup);
    CheckDInput->setGeometry(12, 20, 281, 18);
    // The name is the game's; here it chooses how the keyboard is read (platform/input/DXInput).
    const QString inputTip = "ここではキーボードの読み方を切り替えます。\n"
                             "オン: すべてのキーをキーボード上の位置で読みます (配列に関係なく同じ場所)。\n"
                             "オフ: 記号のキー (; : [ ] @ , . /) は、いまの配列で打たれる文字で読みます。\n"
                             "英字・数字・スペースなどはどちらでも同じです。";
    inputGroup->setToolTip(inputTip);
    CheckDInput->setToolTip(inputTip);

    auto* screenGroup = MakeChild<QGroupBox>("画面設定", ConfigSheet);
    screenGroup->setGeometry(8, 196, 305, 46);
    CheckFullscreen = MakeChild<QCheckBox>("フルスクリーンモード(&F)", screenGroup);
    CheckFullscreen->setGeometry(12, 20, 150, 18);
    ScalingCombo = MakeChild<QComboBox>(screenGroup);
    ScalingCombo->setGeometry(166, 18, 127, 22);
    ScalingCombo->addItems({ScalingIntegerText, ScalingFitText});
    ScalingCombo->setToolTip("フルスクリーンでの拡大方法");

    AppDefaultBtn = MakeChild<QPushButton>("初期設定に戻す", ConfigSheet);
    AppDefaultBtn->setGeometry(208, 252, 105, 24);
    connect(AppDefaultBtn, &QPushButton::clicked, this, [this] { AppDefaultBtnClick(); });
    BuildSoundLatencyLine();
    PageControl->addTab(ConfigSheet, "動作設定");
}

} // namespace tamtara
