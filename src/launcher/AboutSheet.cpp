// The about page: logo, build and release labels, the readme and the button that opens the
// readme file.
#include "launcher/ConfigForm.h"
#include "launcher/LauncherArt.h"
#include "launcher/LauncherWidgets.h"

#include <QPushButton>
#include <QTabWidget>
#include <QTextEdit>

namespace tamtara {

namespace {

ShadowLabel* MakeShadowLabel(const QString& text, QWidget* parent, const QRect& place, QColor colour,
                             bool bold) {
    auto* label = MakeChild<ShadowLabel>(text, parent);
    label->setGeometry(place);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    QFont font = label->font();
    font.setBold(bold);
    label->setFont(font);
    return label;
}

} // namespace

void TConfigForm::BuildAboutSheet() {
    AboutSheet = MakeChild<QWidget>();
    auto* logo = MakeChild<QLabel>(AboutSheet);
    logo->setPixmap(LauncherLogo(120, 60));
    logo->setGeometry(8, 8, 120, 60);
    BuildLabel =
        MakeShadowLabel("", AboutSheet, QRect(136, 10, 180, 16), palette().color(QPalette::WindowText), true);
    MakeShadowLabel("インターネット・リリース", AboutSheet, QRect(136, 30, 180, 16), QColor(255, 0, 0), true);
    MakeShadowLabel("Tamtaraはフリーソフトウェアです", AboutSheet, QRect(136, 50, 180, 16), QColor(0, 0, 255),
                    false);
    RichEdit = MakeChild<QTextEdit>(AboutSheet);
    RichEdit->setGeometry(8, 76, 305, 170);
    RichEdit->setReadOnly(true);
    RichEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ReadmeBtn = MakeChild<QPushButton>("Readmeを表示", AboutSheet);
    ReadmeBtn->setGeometry(208, 252, 105, 24);
    AudioLabel = MakeChild<QLabel>(AboutSheet);
    AudioLabel->setGeometry(8, 252, 196, 24);
    QPalette warning = AudioLabel->palette();
    warning.setColor(QPalette::WindowText, QColor(192, 0, 0));
    AudioLabel->setPalette(warning);
    if (!Services.AudioProblem.empty()) {
        // The label says it in the player's words; the tool tip adds the system's own reason.
        AudioLabel->setText(NoSoundText);
        AudioLabel->setToolTip(QString(NoSoundText) + "\n" + NoSoundDetailText +
                               QString::fromStdString(Services.AudioProblem));
    }
    AudioLabel->setVisible(!Services.AudioProblem.empty());
    connect(ReadmeBtn, &QPushButton::clicked, this, [this] { ReadmeBtnClick(); });
    PageControl->addTab(AboutSheet, "Tamtara");
}

} // namespace tamtara
