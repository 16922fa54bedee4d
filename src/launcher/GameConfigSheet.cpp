// The game page: difficulty, demonstration and combo.
#include "launcher/ConfigForm.h"
#include "launcher/LauncherWidgets.h"
#include "settings/Choices.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTabWidget>

namespace tamtara {

void TConfigForm::BuildGameConfigSheet() {
    GameConfigSheet = MakeChild<QWidget>();
    auto* levelLabel = MakeChild<QLabel>("難易度(&D):", GameConfigSheet);
    levelLabel->setGeometry(12, 16, 70, 16);
    LevelCombo = MakeChild<QComboBox>(GameConfigSheet);
    LevelCombo->setGeometry(84, 12, 170, 22);
    for (const LevelEntry& level : Levels)
        LevelCombo->addItem(QString::fromUtf8(level.Text.data(), static_cast<qsizetype>(level.Text.size())));
    levelLabel->setBuddy(LevelCombo);
    CheckDemo = MakeChild<QCheckBox>("デモプレイを有効にする(&D)", GameConfigSheet);
    CheckDemo->setGeometry(12, 48, 290, 18);
    CheckCombo = MakeChild<QCheckBox>("COMBO機能を使用する(&C)", GameConfigSheet);
    CheckCombo->setGeometry(12, 70, 290, 18);
    CheckExtendedDrumMap = MakeChild<QCheckBox>("拡張ドラムマップ(&X)", GameConfigSheet);
    CheckExtendedDrumMap->setGeometry(12, 92, 290, 18);
    CheckExtendedDrumMap->setToolTip("ライド、チャイナ、サイドスティックなどもレーンに流す");
    GameDefaultBtn = MakeChild<QPushButton>("初期設定に戻す", GameConfigSheet);
    GameDefaultBtn->setGeometry(208, 252, 105, 24);
    connect(GameDefaultBtn, &QPushButton::clicked, this, [this] { GameDefaultBtnClick(); });
    PageControl->addTab(GameConfigSheet, "ゲーム設定");
}

} // namespace tamtara
