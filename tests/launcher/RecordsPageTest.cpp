// The launcher's records page on a database of real plays: the table's rows and sorting, the
// page opening before a large database is read, and a chosen song's progress and timing.
#include "BoxAnswerer.h"
#include "FakeGameWindow.h"
#include "base/Clock.h"
#include "launcher/ConfigForm.h"
#include "launcher/LauncherTests.h"
#include "launcher/RecordCharts.h"
#include "launcher/RecordsModel.h"
#include "records/RecordStore.h"
#include "support/doubles/RecordingMidiDriver.h"

#include <QApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <fstream>

namespace tamtara::testing {

namespace {

SongInfo Song(const std::string& key, const std::string& title) {
    SongInfo song;
    song.Key = std::string(64 - key.size(), '0') + key;
    song.Title = title;
    song.LastPath = "/songs/" + title + ".mid";
    song.LengthMs = 60000;
    song.LaneCounts[1] = 10;
    return song;
}

PlayRecord Play(std::int64_t at, std::int32_t score, std::int32_t perfect, std::int32_t miss,
                std::string rank) {
    PlayRecord play;
    play.PlayedAt = at;
    play.Score = score;
    play.Perfect = perfect;
    play.Miss = miss;
    play.Rank = std::move(rank);
    play.Cleared = true;
    play.Strikes = {{1, -12, 3}, {1, 8, 3}, {1, 33, 2}};
    return play;
}

struct RecordsLauncher {
    RecordsLauncher() : Midi(SystemClock::Instance(), {"Dev A"}) {
        IniPath = (std::filesystem::path(Folder.path().toStdString()) / "tamtara.ini").string();
        // The records in a folder of their own, as an installed game keeps them.
        RecordsFolder = (std::filesystem::path(Folder.path().toStdString()) / "data").string();
        std::filesystem::create_directories(RecordsFolder);
        DbPath = (std::filesystem::path(RecordsFolder) / RecordsFileName).string();
    }
    void Open() {
        TConfigFormServices services{&Game, &Midi, IniPath, true};
        services.RecordsFolder = RecordsFolder;
        Form = std::make_unique<TConfigForm>(services);
        Form->PageControl->setCurrentWidget(Form->RecordsSheet);
    }
    QTemporaryDir Folder;
    std::string IniPath, RecordsFolder, DbPath;
    RecordingMidiDriver Midi;
    FakeGameWindow Game;
    // Shown, the launcher says that this test's game has no readme.
    BoxAnswerer Answerer;
    std::unique_ptr<TConfigForm> Form;
};

// With TAMTARA_SHOTS set, the window as a PNG there, to look at.
void SaveShot(QWidget& window, const QString& name) {
    const QByteArray folder = qgetenv("TAMTARA_SHOTS");
    if (!folder.isEmpty()) window.grab().save(QString::fromLocal8Bit(folder) + "/" + name + ".png");
}

} // namespace

class RecordsPageTest : public QObject {
    Q_OBJECT
private slots:
    void CloseScoresStillRiseAndFallOnTheChart() {
        const ChartSpan close = SpanOf({900, 905, 910}, 910 * 1.25);
        QVERIFY(close.Low < 900 && close.High > 910);
        QVERIFY((910 - 900) / (close.High - close.Low) >= 0.8);
        const ChartSpan wide = SpanOf({0, 400, 1000}, 1250);
        QCOMPARE(wide.Low, 0.0);
        QVERIFY(wide.High >= 1000 && wide.High <= 1250);
        const ChartSpan full = SpanOf({99.5, 100.0}, 100.0);
        QCOMPARE(full.High, 100.0);
        QVERIFY(full.Low < 99.5);
        const ChartSpan one = SpanOf({0.0}, 100.0);
        QVERIFY(one.Low == 0.0 && one.High > 0.0);
    }

    void SongsAreListedSortedAndAChosenOneIsCharted() {
        RecordsLauncher launcher;
        {
            const auto store = TRecordStore::Open(launcher.DbPath);
            QVERIFY(store->Enabled());
            const SongInfo alpha = Song("a", "Alpha"), beta = Song("b", "Beta"), gamma = Song("c", "Gamma");
            QVERIFY(store->RecordPlay(alpha, Play(1000, 500, 5, 0, "S")) != 0);
            QVERIFY(store->RecordPlay(alpha, Play(2000, 300, 3, 2, "C")) != 0);
            QVERIFY(store->RecordPlay(alpha, Play(5000, 450, 4, 1, "B")) != 0);
            QVERIFY(store->RecordPlay(beta, Play(3000, 800, 8, 0, "A")) != 0);
            QVERIFY(store->RecordPlay(gamma, Play(4000, 100, 1, 5, "E")) != 0);
            // Two practices of Alpha's, one of them its latest play: counted apart.
            for (std::int64_t at : {1500, 6000}) {
                PlayRecord practice = Play(at, 9000, 50, 0, "");
                practice.PracticeTempo = 65;
                QVERIFY(store->RecordPlay(alpha, practice) != 0);
            }
        }
        launcher.Open();
        TConfigForm& form = *launcher.Form;
        QTRY_COMPARE(form.RecordsModel->rowCount(), 3);
        TRecordsModel& model = *form.RecordsModel;
        // Latest played first, as the page opens.
        QCOMPARE(model.SongAt(0)->Song.Title, std::string("Alpha"));
        QCOMPARE(model.data(model.index(0, TRecordsModel::PlaysColumn)).toInt(), 3);
        QCOMPARE(model.data(model.index(0, TRecordsModel::PracticesColumn)).toInt(), 2);
        QCOMPARE(model.data(model.index(0, TRecordsModel::RankColumn)).toString(), QString("S"));
        QCOMPARE(model.data(model.index(0, TRecordsModel::ScoreColumn)).toInt(), 500);
        // Every column in view, whole: its heading beside the sort arrow, its date, and nothing
        // to scroll sideways to.
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.PageControl->setCurrentWidget(form.RecordsSheet);
        form.WaitForRecordReads();
        QCOMPARE(form.RecordsModel->rowCount(), 3);
        QApplication::processEvents();
        const QHeaderView& header = *form.RecordsTable->horizontalHeader();
        QVERIFY(header.length() <= form.RecordsTable->viewport()->width());
        const QString day = model.data(model.index(0, TRecordsModel::LastPlayedColumn)).toString();
        QVERIFY(form.RecordsTable->fontMetrics().horizontalAdvance(day) <
                header.sectionSize(TRecordsModel::LastPlayedColumn) - 4);
        for (int column = TRecordsModel::PlaysColumn; column < TRecordsModel::ColumnCount; ++column) {
            const QString heading = model.headerData(column, Qt::Horizontal).toString();
            // The arrow takes about a header's height beside the heading.
            QVERIFY2(header.fontMetrics().horizontalAdvance(heading) + header.height() <=
                         header.sectionSize(column),
                     qPrintable(heading));
        }
        QVERIFY(header.sectionSize(TRecordsModel::TitleColumn) >= 200);
        SaveShot(form, "records_page");

        const auto titles = [&model] {
            std::vector<std::string> order;
            for (int row = 0; row < model.rowCount(); ++row)
                order.push_back(model.SongAt(row)->Song.Title);
            return order;
        };
        form.RecordsTable->sortByColumn(TRecordsModel::ScoreColumn, Qt::DescendingOrder);
        QCOMPARE(titles(), (std::vector<std::string>{"Beta", "Alpha", "Gamma"}));
        form.RecordsTable->sortByColumn(TRecordsModel::RankColumn, Qt::AscendingOrder);
        QCOMPARE(titles(), (std::vector<std::string>{"Alpha", "Beta", "Gamma"}));
        form.RecordsTable->sortByColumn(TRecordsModel::TitleColumn, Qt::DescendingOrder);
        QCOMPARE(titles(), (std::vector<std::string>{"Gamma", "Beta", "Alpha"}));
        form.RecordsTable->sortByColumn(TRecordsModel::PlaysColumn, Qt::DescendingOrder);
        QCOMPARE(titles().front(), std::string("Alpha"));

        // Choosing Alpha charts its three plays oldest first and its last play's timing.
        form.RecordsTable->selectionModel()->setCurrentIndex(
            model.index(0, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        QTRY_COMPARE(form.ProgressChart->Points().size(), std::size_t(3));
        QCOMPARE(form.ProgressChart->Points()[0].Score, 500);
        QCOMPARE(form.ProgressChart->Points()[2].Score, 450);
        QTRY_VERIFY(form.TimingChart->Timing().has_value());
        QCOMPARE(form.TimingChart->Timing()->Graded, 3);
        QCOMPARE(form.TimingChart->Timing()->Late, 2);

        // A sort moves the highlighted row with its song, which the charts still show.
        const auto chosen = [&] {
            const QModelIndexList rows = form.RecordsTable->selectionModel()->selectedRows();
            const int current = form.RecordsTable->currentIndex().row();
            return rows.size() == 1 && rows[0].row() == current ? model.SongAt(current)->Song.Title
                                                                : std::string("?");
        };
        QCOMPARE(chosen(), std::string("Alpha"));
        form.RecordsTable->sortByColumn(TRecordsModel::ScoreColumn, Qt::DescendingOrder);
        QCOMPARE(titles(), (std::vector<std::string>{"Beta", "Alpha", "Gamma"}));
        QCOMPARE(chosen(), std::string("Alpha"));
        form.RecordsTable->sortByColumn(TRecordsModel::TitleColumn, Qt::DescendingOrder);
        QCOMPARE(chosen(), std::string("Alpha"));
        QCOMPARE(form.ProgressChart->Points().size(), std::size_t(3));
        // Another song replaces both charts.
        const int betaRow = 1;
        QCOMPARE(model.SongAt(betaRow)->Song.Title, std::string("Beta"));
        form.RecordsTable->selectionModel()->setCurrentIndex(
            model.index(betaRow, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        QTRY_COMPARE(form.ProgressChart->Points().size(), std::size_t(1));
        QCOMPARE(form.ProgressChart->Points()[0].Score, 800);
    }

    void TheLauncherGrowsForThePageAndComesBackToItsSizeAfter() {
        RecordsLauncher launcher;
        launcher.Open();
        TConfigForm& form = *launcher.Form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QSize fixed = form.size();
        const QRect start = form.StartBtn->geometry();
        const QRect pages = form.PageControl->geometry();
        QCOMPARE(form.minimumSize(), form.maximumSize());

        form.PageControl->setCurrentWidget(form.RecordsSheet);
        QVERIFY(form.width() >= 700 && form.height() >= 500);
        QVERIFY2(form.maximumWidth() > form.minimumWidth(), "the player may resize it");
        form.resize(900, 640);
        QApplication::processEvents();
        QCOMPARE(form.PageControl->geometry(),
                 pages.adjusted(0, 0, 900 - fixed.width(), 640 - fixed.height()));
        QCOMPARE(form.StartBtn->geometry(), start.translated(900 - fixed.width(), 640 - fixed.height()));
        QVERIFY(form.RecordsTable->height() > 200);

        form.PageControl->setCurrentWidget(form.AboutSheet);
        QCOMPARE(form.size(), fixed);
        QCOMPARE(form.minimumSize(), form.maximumSize());
        QCOMPARE(form.StartBtn->geometry(), start);
        QCOMPARE(form.PageControl->geometry(), pages);
        // Back on the page, it has the size the player gave it.
        form.PageControl->setCurrentWidget(form.RecordsSheet);
        QCOMPARE(form.size(), QSize(900, 640));
    }

    void WithoutAFileThePageSaysSoAndMakesNone() {
        RecordsLauncher launcher;
        launcher.Open();
        QTRY_COMPARE(launcher.Form->RecordsLabel->text(), QString(TConfigForm::RecordsEmptyText));
        QVERIFY(!std::filesystem::exists(launcher.DbPath));
    }

    // Damaged past its first page: the file is moved aside and the page says so, not that there
    // are no records.
    void ADamagedFileIsSaidToBeDamaged() {
        RecordsLauncher launcher;
        {
            const auto store = TRecordStore::Open(launcher.DbPath);
            for (int play = 0; play < 300; ++play)
                store->RecordPlay(Song(std::to_string(play % 7), "Song"), Play(play, play, 5, 1, "C"));
        }
        {
            std::fstream file(launcher.DbPath, std::ios::binary | std::ios::in | std::ios::out);
            file.seekp(4096);
            file << std::string(4096, '\0');
        }
        launcher.Open();
        QTRY_VERIFY(launcher.Form->RecordsLabel->text() != QString(TConfigForm::RecordsLoadingText));
        QVERIFY2(launcher.Form->RecordsLabel->text().contains("壊れていた"),
                 qPrintable(launcher.Form->RecordsLabel->text()));
    }

    void ALargeDatabaseDoesNotHoldThePageUp() {
        RecordsLauncher launcher;
        {
            const auto store = TRecordStore::Open(launcher.DbPath);
            for (int song = 0; song < 40; ++song)
                for (int play = 0; play < 50; ++play)
                    store->RecordPlay(Song(std::to_string(song), "Song " + std::to_string(song)),
                                      Play(song * 1000 + play, play, play % 10, 1, "C"));
        }
        // The page is up and says it is reading before the songs arrive.
        launcher.Open();
        QCOMPARE(launcher.Form->RecordsLabel->text(), QString(TConfigForm::RecordsLoadingText));
        QCOMPARE(launcher.Form->RecordsModel->rowCount(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(launcher.Form->RecordsModel->rowCount(), 40, 20000);
    }
};

static const bool Registered = RegisterLauncherTest<RecordsPageTest>();

} // namespace tamtara::testing

#include "RecordsPageTest.moc"
