// The records page: the songs played in a sortable table, and for the chosen one its progress
// over time and the timing of its last play, in a launcher grown to fit them (RecordsWindowSize).
// Everything is read off the dialog's thread, so the page opens at once however many plays are
// kept.
#include "launcher/ConfigForm.h"
#include "launcher/LauncherWidgets.h"
#include "launcher/RecordCharts.h"
#include "launcher/RecordsModel.h"
#include "launcher/RecordsWindowSize.h"
#include "records/RecordStore.h"

#include <QBoxLayout>
#include <QCoreApplication>
#include <QHeaderView>
#include <QTabWidget>
#include <QTableView>
#include <QThread>

#include <filesystem>
#include <memory>
#include <optional>

namespace tamtara {

namespace {

// Runs work on a thread of its own and hands its result to done on context's thread.
template <class T, class Work, class Done> QThread* RunOffThread(QObject* context, Work work, Done done) {
    auto result = std::make_shared<std::optional<T>>();
    QThread* thread = QThread::create([result, work] { *result = work(); });
    QObject::connect(thread, &QThread::finished, context, [result, done] {
        if (*result) done(std::move(**result));
    });
    QObject::connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start();
    return thread;
}

struct SongsAnswer {
    std::vector<SongSummary> Songs;
    std::string Problem;  // why the records could not be read
    bool Damaged = false; // the file was damaged and moved aside (Problem says where)
};

struct SongAnswer {
    std::vector<PlayPoint> History;
    std::optional<TimingStats> LastTiming;
    bool LastWasPractice = false;
};

// The store when its file is there; a page that only looks never creates one.
std::unique_ptr<TRecordStore> OpenExisting(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) return nullptr;
    return TRecordStore::Open(path);
}

} // namespace

void TConfigForm::BuildRecordsSheet() {
    RecordsSheet = MakeChild<QWidget>();
    auto* page = MakeChild<QVBoxLayout>(RecordsSheet);
    page->setContentsMargins(4, 2, 4, 4);
    page->setSpacing(3);
    RecordsLabel = MakeChild<QLabel>(RecordsSheet);
    page->addWidget(RecordsLabel);
    RecordsModel = MakeChild<TRecordsModel>(RecordsSheet);
    RecordsTable = MakeChild<QTableView>(RecordsSheet);
    page->addWidget(RecordsTable, 3);
    RecordsTable->setModel(RecordsModel);
    RecordsTable->setSortingEnabled(true);
    RecordsTable->sortByColumn(TRecordsModel::LastPlayedColumn, Qt::DescendingOrder);
    RecordsTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    RecordsTable->setSelectionMode(QAbstractItemView::SingleSelection);
    RecordsTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    RecordsTable->verticalHeader()->setVisible(false);
    RecordsTable->verticalHeader()->setDefaultSectionSize(20);
    // The title takes what the numbers leave; every other column is as wide as its heading with
    // the sort arrow, or its widest value: nothing is cut, and the page never scrolls sideways.
    RecordsTable->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    RecordsTable->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    RecordsTable->horizontalHeader()->setSectionResizeMode(TRecordsModel::TitleColumn, QHeaderView::Stretch);
    auto* charts = MakeChild<QHBoxLayout>();
    charts->setSpacing(4);
    page->addLayout(charts, 2);
    ProgressChart = MakeChild<TProgressChart>(RecordsSheet);
    ProgressChart->setMinimumHeight(90);
    charts->addWidget(ProgressChart, 3);
    TimingChart = MakeChild<TTimingChart>(RecordsSheet);
    charts->addWidget(TimingChart, 2);
    PageControl->addTab(RecordsSheet, RecordsCaption);
    connect(RecordsTable->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { ShowSongRecords(current.row()); });
    connect(RecordsModel, &QAbstractItemModel::modelReset, this, [this] { ShowSongRecords(-1); });
    auto* size = MakeChild<TRecordsWindowSize>(*this, *PageControl);
    connect(PageControl, &QTabWidget::currentChanged, this, [this, size](int index) {
        if (PageControl->widget(index) != RecordsSheet) {
            size->Shrink();
            return;
        }
        size->Grow();
        LoadRecords();
    });
}

std::string TConfigForm::RecordsPath() const {
    const std::filesystem::path folder = Services.RecordsFolder.empty()
                                             ? std::filesystem::path(Services.IniPath).parent_path()
                                             : std::filesystem::path(Services.RecordsFolder);
    return (folder / RecordsFileName).string();
}

void TConfigForm::LoadRecords() {
    RecordsLabel->setText(RecordsLoadingText);
    const int read = ++SongsRead;
    std::erase_if(RecordReads, [](const QPointer<QThread>& thread) { return thread.isNull(); });
    RecordReads.push_back(RunOffThread<SongsAnswer>(
        this,
        [path = RecordsPath()] {
            SongsAnswer answer;
            const std::unique_ptr<TRecordStore> store = OpenExisting(path);
            if (store && !store->Enabled()) answer.Problem = store->NoticeTitle();
            // A damaged file was moved aside just now: the new one is empty, the plays are not gone.
            answer.Damaged = store && store->State() == RecordsState::Corrupt;
            if (answer.Damaged)
                answer.Problem = "記録ファイルが壊れていたため " +
                                 std::filesystem::path(store->MovedTo()).filename().string() +
                                 " に移しました";
            if (store && store->Enabled()) answer.Songs = store->Songs();
            return answer;
        },
        [this, read](SongsAnswer answer) {
            if (read != SongsRead) return;
            const std::size_t count = answer.Songs.size();
            RecordsModel->SetSongs(std::move(answer.Songs));
            if (answer.Damaged)
                RecordsLabel->setText(QString::fromStdString(answer.Problem));
            else if (!answer.Problem.empty())
                RecordsLabel->setText(QString(RecordsOffText) + QString::fromStdString(answer.Problem));
            else if (count == 0)
                RecordsLabel->setText(RecordsEmptyText);
            else
                RecordsLabel->setText(QString("%1曲 (見出しで並べ替え、曲を選ぶとグラフ)").arg(count));
        }));
}

void TConfigForm::ShowSongRecords(int row) {
    const SongSummary* song = RecordsModel->SongAt(row);
    const int read = ++SongRead;
    ProgressChart->SetPoints({});
    TimingChart->SetTiming(std::nullopt);
    if (!song) return;
    std::erase_if(RecordReads, [](const QPointer<QThread>& thread) { return thread.isNull(); });
    RecordReads.push_back(RunOffThread<SongAnswer>(
        this,
        [path = RecordsPath(), key = song->Song.Key] {
            SongAnswer answer;
            if (const std::unique_ptr<TRecordStore> store = OpenExisting(path); store && store->Enabled()) {
                answer.History = store->History(key);
                if (const std::optional<PlayRecord> last = store->LastPlay(key)) {
                    answer.LastTiming = ComputeTimingStats(last->Strikes);
                    answer.LastWasPractice = last->PracticeTempo != 0;
                }
            }
            return answer;
        },
        [this, read](SongAnswer answer) {
            if (read != SongRead) return;
            ProgressChart->SetPoints(std::move(answer.History));
            TimingChart->SetTiming(answer.LastTiming, answer.LastWasPractice);
        }));
}

void TConfigForm::WaitForRecordReads() {
    for (const QPointer<QThread>& thread : RecordReads)
        if (thread) thread->wait();
    RecordReads.clear();
    // The finished reads hand over their answers.
    QCoreApplication::sendPostedEvents(this);
}

} // namespace tamtara
