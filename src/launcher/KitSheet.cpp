// The kit page: the electronic drum kit's note map per lane, learned by striking a pad on the
// chosen input port, with each lane's softest counted hit and the debounce window.
#include "launcher/ConfigForm.h"
#include "launcher/LauncherWidgets.h"

#include <QComboBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>

#include <algorithm>

namespace tamtara {

namespace {

constexpr int MaxVelocity = 127;
constexpr int MaxDebounceMs = 1000;

QSpinBox* MakeSpin(QWidget* parent, int x, int y, int maximum) {
    auto* spin = MakeChild<QSpinBox>(parent);
    spin->setGeometry(x, y, 46, 22);
    spin->setRange(0, maximum);
    return spin;
}

bool IsNoteOn(const MidiInMessage& message) {
    return (message.Status & 0xF0) == 0x90 && message.Data2 > 0;
}

} // namespace

void TConfigForm::BuildKitSheet() {
    KitSheet = MakeChild<QWidget>();
    auto* notesHeading = MakeChild<QLabel>("ノート番号", KitSheet);
    notesHeading->setGeometry(94, 6, 110, 16);
    auto* velocityHeading = MakeChild<QLabel>("最小ベロシティ", KitSheet);
    velocityHeading->setGeometry(172, 6, 98, 16);
    velocityHeading->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (int lane = 0; lane < LaneCount; ++lane) {
        const int y = 24 + lane * 26;
        const auto index = static_cast<std::size_t>(lane);
        auto* caption = MakeChild<QLabel>(PartCaptions[index], KitSheet);
        caption->setGeometry(12, y + 3, 82, 16);
        KitNotesLabel[index] = MakeChild<QLabel>(KitSheet);
        KitNotesLabel[index]->setGeometry(94, y + 3, 126, 16);
        KitVelocitySpin[index] = MakeSpin(KitSheet, 224, y, MaxVelocity);
        KitLearnBtn[index] = MakeChild<QPushButton>("学習", KitSheet);
        KitLearnBtn[index]->setGeometry(274, y, 42, 22);
        KitLearnBtn[index]->setCheckable(true);
        KitLearnBtn[index]->setAutoDefault(false);
        caption->setBuddy(KitLearnBtn[index]);
        connect(KitLearnBtn[index], &QPushButton::clicked, this,
                [this, lane](bool checked) { KitLearnBtnClick(lane, checked); });
    }
    auto* debounceLabel = MakeChild<QLabel>("二度鳴りとみなす間隔 (ms)(&D):", KitSheet);
    debounceLabel->setGeometry(12, 209, 208, 16);
    KitDebounceSpin = MakeSpin(KitSheet, 224, 206, MaxDebounceMs);
    debounceLabel->setBuddy(KitDebounceSpin);
    KitHintLabel = MakeChild<QLabel>(KitSheet);
    KitHintLabel->setGeometry(12, 232, 301, 16);

    KitDefaultBtn = MakeChild<QPushButton>("初期設定に戻す", KitSheet);
    KitDefaultBtn->setGeometry(208, 252, 105, 24);
    connect(KitDefaultBtn, &QPushButton::clicked, this, [this] { KitDefaultBtnClick(); });
    PageControl->addTab(KitSheet, "キット");
    // The port is open only while this page is learning.
    connect(PageControl, &QTabWidget::currentChanged, this, [this] { StopLearning(); });
}

void TConfigForm::FillMidiInCombo(const std::string& chosen) {
    MidiInNames = Services.MidiInDriver ? Services.MidiInDriver->PortNames() : std::vector<std::string>{};
    MidiInCombo->clear();
    MidiInCombo->addItem(NoMidiInput);
    for (const std::string& name : MidiInNames)
        MidiInCombo->addItem(QString::fromStdString(name));
    int position = MidiInCombo->findText(QString::fromStdString(chosen), Qt::MatchFixedString);
    // A kit unplugged at start-up keeps its name: a save would otherwise forget it.
    if (position < 0) {
        MidiInCombo->addItem(QString::fromStdString(chosen));
        position = MidiInCombo->count() - 1;
    }
    MidiInCombo->setCurrentIndex(position);
}

void TConfigForm::ShowKit(const KitSettings& kit) {
    StopLearning();
    KitMap = kit;
    for (std::size_t lane = 0; lane < LaneCount; ++lane)
        KitVelocitySpin[lane]->setValue(kit.MinVelocity[lane]);
    KitDebounceSpin->setValue(kit.DebounceMs);
    ShowKitNotes();
}

KitSettings TConfigForm::ControlKit() const {
    KitSettings kit = KitMap;
    for (std::size_t lane = 0; lane < LaneCount; ++lane)
        kit.MinVelocity[lane] = KitVelocitySpin[lane]->value();
    kit.DebounceMs = KitDebounceSpin->value();
    return kit;
}

void TConfigForm::ShowKitNotes() {
    for (std::size_t lane = 0; lane < LaneCount; ++lane) {
        const QString text = QString::fromStdString(KitNoteListText(KitMap.Notes[lane]));
        KitNotesLabel[lane]->setText(text.isEmpty() ? QString("-") : text);
        KitNotesLabel[lane]->setToolTip(text);
    }
}

void TConfigForm::UpdateKitLearning() {
    const bool chosen = MidiInCombo->currentIndex() > 0 &&
                        std::find(MidiInNames.begin(), MidiInNames.end(),
                                  MidiInCombo->currentText().toStdString()) != MidiInNames.end();
    for (QPushButton* button : KitLearnBtn)
        button->setEnabled(chosen);
    KitHintLabel->setText(MidiInNames.empty() ? NoMidiInPortText
                          : chosen            ? LearnReadyText
                                              : NoMidiInChosenText);
}

void TConfigForm::KitLearnBtnClick(int lane, bool learn) {
    StopLearning();
    if (!learn || !Services.MidiInDriver) return;
    const std::string port = MidiInCombo->currentText().toStdString();
    // The input thread hands each note over to this thread; a note queued after the form has
    // gone is dropped with it.
    const bool opened = Services.MidiInDriver->Open(port, [this](const MidiInMessage& message) {
        if (!IsNoteOn(message)) return;
        QMetaObject::invokeMethod(
            this, [this, note = message.Data1] { KitNoteOn(note); }, Qt::QueuedConnection);
    });
    if (!opened) {
        KitHintLabel->setText(PortOpenFailedText);
        return;
    }
    LearningLane = lane;
    LearnReplaces = true;
    KitLearnBtn[static_cast<std::size_t>(lane)]->setChecked(true);
    KitHintLabel->setText(LearningText);
}

void TConfigForm::KitNoteOn(std::uint8_t note) {
    if (LearningLane < 0) return;
    AssignKitNote(KitMap, LearningLane, note, LearnReplaces);
    LearnReplaces = false;
    ShowKitNotes();
}

void TConfigForm::StopLearning() {
    if (LearningLane >= 0 && Services.MidiInDriver) Services.MidiInDriver->Close();
    LearningLane = -1;
    for (QPushButton* button : KitLearnBtn)
        if (button) button->setChecked(false);
    if (MidiInCombo && KitHintLabel) UpdateKitLearning();
}

void TConfigForm::KitDefaultBtnClick() {
    ShowKit(DefaultKit());
}

} // namespace tamtara
