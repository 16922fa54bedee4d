// The song folders page: the folders the scan walks, each with its song count from the last
// scan, and the buttons that add, remove and open them. A folder that cannot be read is marked
// and named once in the page's warning line.
#include "launcher/ConfigForm.h"
#include "launcher/LauncherWidgets.h"

#include <QFileDialog>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>

#include <algorithm>
#include <filesystem>

namespace tamtara {

namespace {

bool FolderReadable(const std::string& folder) {
    std::error_code error;
    std::filesystem::directory_iterator listing(folder, error);
    return !error;
}

} // namespace

void TConfigForm::BuildFolderSheet() {
    FolderSheet = MakeChild<QWidget>();
    auto* caption = MakeChild<QLabel>("曲を探すフォルダ(&F):", FolderSheet);
    caption->setGeometry(12, 10, 289, 16);
    FolderList = MakeChild<QListWidget>(FolderSheet);
    FolderList->setGeometry(12, 30, 301, 168);
    caption->setBuddy(FolderList);
    FolderProblemLabel = MakeChild<QLabel>(FolderSheet);
    FolderProblemLabel->setGeometry(12, 202, 301, 44);
    FolderProblemLabel->setWordWrap(true);
    QPalette warning = FolderProblemLabel->palette();
    warning.setColor(QPalette::WindowText, QColor(192, 0, 0));
    FolderProblemLabel->setPalette(warning);

    FolderAddBtn = MakeChild<QPushButton>("追加(&A)...", FolderSheet);
    FolderAddBtn->setGeometry(12, 252, 90, 24);
    connect(FolderAddBtn, &QPushButton::clicked, this, [this] { FolderAddBtnClick(); });
    FolderRemoveBtn = MakeChild<QPushButton>("削除(&R)", FolderSheet);
    FolderRemoveBtn->setGeometry(110, 252, 90, 24);
    connect(FolderRemoveBtn, &QPushButton::clicked, this, [this] { FolderRemoveBtnClick(); });
    FolderOpenBtn = MakeChild<QPushButton>("開く(&O)", FolderSheet);
    FolderOpenBtn->setGeometry(208, 252, 105, 24);
    connect(FolderOpenBtn, &QPushButton::clicked, this, [this] { FolderOpenBtnClick(); });
    connect(FolderList, &QListWidget::currentRowChanged, this, [this] { UpdateFolderButtons(); });

    AskFolder = [this] { return QFileDialog::getExistingDirectory(this, "曲フォルダを追加").toStdString(); };
    PageControl->addTab(FolderSheet, "曲フォルダ");
}

void TConfigForm::ShowFolders() {
    const int row = FolderList->currentRow();
    FolderList->clear();
    std::string unreadable;
    for (std::size_t i = 0; i < SongFolders.size(); ++i) {
        const std::string& folder = SongFolders[i];
        const std::int32_t count = i < SongCounts.size() ? SongCounts[i] : -1;
        QString text = QString::fromStdString(folder);
        if (!FolderReadable(folder)) {
            text += "  (読めません)";
            unreadable += (unreadable.empty() ? "" : ", ") + folder;
        } else if (count >= 0) {
            text += QString("  (%1曲)").arg(count);
        } else {
            text += "  (未検索)";
        }
        FolderList->addItem(text);
    }
    FolderProblemLabel->setText(
        unreadable.empty() ? QString() : QString::fromStdString(FolderUnreadableText + unreadable));
    FolderList->setCurrentRow(std::min(row, FolderList->count() - 1));
    UpdateFolderButtons();
}

void TConfigForm::UpdateFolderButtons() {
    const bool chosen = FolderList->currentRow() >= 0;
    FolderRemoveBtn->setEnabled(chosen);
    FolderOpenBtn->setEnabled(chosen);
}

void TConfigForm::FolderAddBtnClick() {
    std::string folder = AskFolder ? AskFolder() : std::string();
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    if (folder.empty()) return;
    const auto known = std::find(SongFolders.begin(), SongFolders.end(), folder);
    if (known == SongFolders.end()) {
        ShownSettings.SongFoldersDefault = false;
        SongFolders.push_back(folder);
        SongCounts.resize(SongFolders.size() - 1, -1);
        SongCounts.push_back(-1);
    }
    ShowFolders();
    FolderList->setCurrentRow(
        static_cast<int>(std::find(SongFolders.begin(), SongFolders.end(), folder) - SongFolders.begin()));
}

void TConfigForm::FolderRemoveBtnClick() {
    const int row = FolderList->currentRow();
    if (row < 0 || static_cast<std::size_t>(row) >= SongFolders.size()) return;
    ShownSettings.SongFoldersDefault = false;
    SongFolders.erase(SongFolders.begin() + row);
    if (static_cast<std::size_t>(row) < SongCounts.size()) SongCounts.erase(SongCounts.begin() + row);
    ShowFolders();
}

void TConfigForm::FolderOpenBtnClick() {
    const int row = FolderList->currentRow();
    if (row < 0 || static_cast<std::size_t>(row) >= SongFolders.size()) return;
    OpenOrShowPath(SongFolders[static_cast<std::size_t>(row)], "フォルダ");
}

void TConfigForm::RememberSongCounts(const std::vector<std::int32_t>& counts) {
    SongCounts = counts;
    SongCounts.resize(SongFolders.size(), -1);
    ShowFolders();
    try {
        tamtara::SaveSongCounts(Services.IniPath, SongCounts);
    } catch (const std::exception&) {
        // The counts only inform the next start; the settings themselves were saved at Start.
    }
}

} // namespace tamtara
