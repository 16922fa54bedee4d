// The progress page shown during the song library scan: logo, message and gauge.
#include "launcher/ConfigForm.h"
#include "launcher/LauncherArt.h"
#include "launcher/LauncherWidgets.h"

#include <QFrame>
#include <QProgressBar>
#include <QTabWidget>

namespace tamtara {

void TConfigForm::BuildProgressSheet() {
    ProgressSheet = MakeChild<QWidget>();
    auto* logo = MakeChild<QLabel>(ProgressSheet);
    logo->setPixmap(LauncherLogo(240, 120));
    logo->setGeometry(40, 24, 240, 120);
    MessageLabel = MakeChild<QLabel>(ProgressSheet);
    MessageLabel->setGeometry(16, 168, 289, 18);
    QFont bold = MessageLabel->font();
    bold.setBold(true);
    MessageLabel->setFont(bold);
    auto* panel = MakeChild<QFrame>(ProgressSheet);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setGeometry(16, 192, 289, 22);
    LoadGauge = MakeChild<QProgressBar>(panel);
    LoadGauge->setGeometry(2, 2, 285, 18);
    LoadGauge->setRange(0, 100);
    LoadGauge->setValue(0);
    LoadGauge->setTextVisible(false);
    PageControl->addTab(ProgressSheet, ProgressCaption);
}

} // namespace tamtara
