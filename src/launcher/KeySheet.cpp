// The key page: two keys per drum part, each chosen from the key choice list.
#include "launcher/ConfigForm.h"
#include "launcher/LauncherWidgets.h"
#include "settings/Choices.h"

#include <QComboBox>
#include <QPushButton>
#include <QTabWidget>

namespace tamtara {

namespace {

QComboBox* MakeKeyCombo(QWidget* parent, int x, int y) {
    auto* combo = MakeChild<QComboBox>(parent);
    combo->setGeometry(x, y, 96, 22);
    for (const KeyChoiceEntry& entry : KeyChoice)
        combo->addItem(QString::fromUtf8(entry.Text.data(), static_cast<qsizetype>(entry.Text.size())));
    return combo;
}

} // namespace

void TConfigForm::BuildKeySheet() {
    KeySheet = MakeChild<QWidget>();
    auto* heading1 = MakeChild<QLabel>("KEY 1", KeySheet);
    heading1->setGeometry(108, 8, 96, 16);
    auto* heading2 = MakeChild<QLabel>("KEY 2", KeySheet);
    heading2->setGeometry(212, 8, 96, 16);
    for (int part = 0; part < LaneCount; ++part) {
        const int y = 28 + part * 30;
        const auto index = static_cast<std::size_t>(part);
        auto* caption = MakeChild<QLabel>(PartCaptions[index], KeySheet);
        caption->setGeometry(12, y + 3, 94, 16);
        KeyComboA[index] = MakeKeyCombo(KeySheet, 108, y);
        KeyComboB[index] = MakeKeyCombo(KeySheet, 212, y);
        caption->setBuddy(KeyComboA[index]);
    }
    KeyDefaultBtn = MakeChild<QPushButton>("初期設定に戻す", KeySheet);
    KeyDefaultBtn->setGeometry(208, 252, 105, 24);
    connect(KeyDefaultBtn, &QPushButton::clicked, this, [this] { KeyDefaultBtnClick(); });
    PageControl->addTab(KeySheet, "キー設定");
}

} // namespace tamtara
