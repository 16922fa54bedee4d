// The game page: difficulty, demonstration and combo.
#include "launcher/ConfigForm.h"
#include "launcher/LauncherWidgets.h"
#include "settings/Choices.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTabWidget>

namespace tamtara {

namespace {

// What the play's gauge does (app/play/Judge.cpp): the list's numbers are what a miss takes.
constexpr const char* GaugeTip = "ゲージは満タンで始まり、Perfect で 10、Great で 5 回復します (Good は"
                                 "そのまま)。\nミスするとかっこの数だけ減り、0 より下がると演奏失敗です。\n"
                                 "0.No Miss はミスしても減らない、いちばんやさしい難易度です。";

QString LevelTip(std::int32_t missPenalty) {
    if (missPenalty == 0) return "ミスしてもゲージは減りません。演奏失敗にはなりません (いちばんやさしい)";
    return QString("ミス 1 回でゲージが %1 減ります").arg(missPenalty);
}

} // namespace

void TConfigForm::BuildGameConfigSheet() {
    GameConfigSheet = MakeChild<QWidget>();
    auto* levelLabel = MakeChild<QLabel>("難易度(&D):", GameConfigSheet);
    levelLabel->setGeometry(12, 16, 70, 16);
    LevelCombo = MakeChild<QComboBox>(GameConfigSheet);
    LevelCombo->setGeometry(84, 12, 170, 22);
    for (const LevelEntry& level : Levels) {
        LevelCombo->addItem(QString::fromUtf8(level.Text.data(), static_cast<qsizetype>(level.Text.size())));
        LevelCombo->setItemData(LevelCombo->count() - 1, LevelTip(level.MissPenalty), Qt::ToolTipRole);
    }
    LevelCombo->setToolTip(GaugeTip);
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
