// The database room on real files: migrations step by step, a newer file left alone, a damaged
// file moved aside, another process's lock, two processes writing, a read-only folder, and a
// transaction that is not committed.
#include "database/Database.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace tamtara::testing {
namespace {

namespace fs = std::filesystem;

constexpr std::array<const char*, 2> Steps{
    "CREATE TABLE notes(id INTEGER PRIMARY KEY, text TEXT NOT NULL);",
    "ALTER TABLE notes ADD COLUMN weight INTEGER NOT NULL DEFAULT 7; CREATE INDEX notes_by_weight ON "
    "notes(weight);",
};

class DatabaseFolder : public ::testing::Test {
protected:
    void SetUp() override {
        Folder =
            fs::temp_directory_path() / ("tamtara-database-" + std::to_string(getpid()) + "-" +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(Folder);
        fs::create_directories(Folder);
        Path = (Folder / "tamtara.db").string();
    }
    void TearDown() override {
        std::error_code ignored;
        fs::permissions(Folder, fs::perms::owner_all, ignored);
        fs::remove_all(Folder, ignored);
    }
    std::string Bytes(const std::string& path) const {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    std::int64_t Count(TDatabase& db, const char* sql) {
        TStatement statement = db.Prepare(sql);
        statement.Step();
        return statement.Int(0);
    }

    fs::path Folder;
    std::string Path;
};

TEST_F(DatabaseFolder, MigratesStepByStepAndLeavesANewerFileUntouched) {
    {
        TDatabaseOpenResult v1 = TDatabase::Open(Path, std::span(Steps).first(1));
        ASSERT_EQ(v1.Outcome, DatabaseOpen::Opened) << v1.Error;
        EXPECT_EQ(v1.Database->UserVersion(), 1);
        v1.Database->Execute("INSERT INTO notes(text) VALUES('kept')");
        TStatement mode = v1.Database->Prepare("PRAGMA journal_mode");
        ASSERT_TRUE(mode.Step());
        EXPECT_EQ(mode.Text(0), "wal");
    }
    {
        TDatabaseOpenResult v2 = TDatabase::Open(Path, Steps);
        ASSERT_EQ(v2.Outcome, DatabaseOpen::Opened) << v2.Error;
        EXPECT_EQ(v2.Database->UserVersion(), 2);
        TStatement row = v2.Database->Prepare("SELECT text, weight FROM notes");
        ASSERT_TRUE(row.Step());
        EXPECT_EQ(row.Text(0), "kept");
        EXPECT_EQ(row.Int(1), 7);
        EXPECT_EQ(Count(*v2.Database, "SELECT count(*) FROM sqlite_master WHERE name = 'notes_by_weight'"),
                  1);
    }
    // An older build knows only the first step: it refuses the file and changes no byte of it.
    const std::string before = Bytes(Path);
    TDatabaseOpenResult old = TDatabase::Open(Path, std::span(Steps).first(1));
    EXPECT_EQ(old.Outcome, DatabaseOpen::NewerVersion);
    EXPECT_FALSE(old.Database);
    EXPECT_EQ(Bytes(Path), before);
    EXPECT_FALSE(fs::exists(Path + "-wal"));
}

TEST_F(DatabaseFolder, MovesADamagedFileAsideWithItsDateAndStartsANewOne) {
    { std::ofstream(Path, std::ios::binary) << std::string(4096, 'x'); }
    TDatabaseOpenResult opened = TDatabase::Open(Path, Steps);
    ASSERT_EQ(opened.Outcome, DatabaseOpen::Corrupt) << opened.Error;
    ASSERT_TRUE(opened.Database);
    EXPECT_EQ(opened.Database->UserVersion(), 2);
    // path.corrupt-YYYYMMDD-HHMMSS
    const std::string prefix = Path + ".corrupt-20";
    const std::string stamp = opened.MovedTo.substr(std::min(prefix.size(), opened.MovedTo.size()));
    EXPECT_EQ(opened.MovedTo.rfind(prefix, 0), 0u) << opened.MovedTo;
    EXPECT_EQ(stamp.size(), 13u) << opened.MovedTo;
    for (std::size_t i = 0; i < stamp.size(); ++i)
        EXPECT_TRUE(i == 6 ? stamp[i] == '-' : std::isdigit(static_cast<unsigned char>(stamp[i])))
            << opened.MovedTo;
    EXPECT_EQ(Bytes(opened.MovedTo), std::string(4096, 'x'));

    // A file with a good header whose schema page is overwritten is damaged too.
    opened.Database.reset();
    {
        std::fstream file(Path, std::ios::binary | std::ios::in | std::ios::out);
        file.seekp(100);
        file << std::string(3000, '\xEE');
    }
    fs::remove(Path + "-wal");
    TDatabaseOpenResult again = TDatabase::Open(Path, Steps);
    EXPECT_EQ(again.Outcome, DatabaseOpen::Corrupt) << again.Error;
    EXPECT_NE(again.MovedTo, opened.MovedTo);
    EXPECT_TRUE(fs::exists(again.MovedTo));
}

TEST_F(DatabaseFolder, GivesUpAfterTheBusyWaitWhileAnotherProcessHoldsTheFile) {
    ASSERT_EQ(TDatabase::Open(Path, Steps).Outcome, DatabaseOpen::Opened);
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t holder = fork();
    if (holder == 0) {
        sqlite3* db = nullptr;
        sqlite3_open(Path.c_str(), &db);
        sqlite3_exec(db,
                     "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE; INSERT INTO notes(text) VALUES('x');",
                     nullptr, nullptr, nullptr);
        (void)!write(ready[1], "r", 1);
        pause();
        _exit(0);
    }
    char signal = 0;
    ASSERT_EQ(read(ready[0], &signal, 1), 1);
    const auto start = std::chrono::steady_clock::now();
    TDatabaseOpenResult opened = TDatabase::Open(Path, Steps, TDatabaseOptions{.BusyMs = 300});
    const auto waited = std::chrono::steady_clock::now() - start;
    kill(holder, SIGKILL);
    waitpid(holder, nullptr, 0);
    EXPECT_EQ(opened.Outcome, DatabaseOpen::Busy) << opened.Error;
    EXPECT_GE(waited, std::chrono::milliseconds(250));
    EXPECT_LT(waited, std::chrono::seconds(3));
    // Once the other process is gone the file opens with nothing of its lost transaction.
    TDatabaseOpenResult after = TDatabase::Open(Path, Steps);
    ASSERT_EQ(after.Outcome, DatabaseOpen::Opened) << after.Error;
    EXPECT_EQ(Count(*after.Database, "SELECT count(*) FROM notes"), 0);
}

TEST_F(DatabaseFolder, TwoProcessesOpenAndWriteAtOnce) {
    constexpr int Rows = 200;
    auto writer = [&](const char* text) {
        TDatabaseOpenResult opened = TDatabase::Open(Path, Steps);
        if (!opened.Database) {
            std::fprintf(stderr, "opening: %s\n", opened.Error.c_str());
            return 1;
        }
        try {
            for (int i = 0; i < Rows; ++i) {
                TTransaction transaction(*opened.Database);
                TStatement insert = opened.Database->Prepare("INSERT INTO notes(text) VALUES(?)");
                insert.Bind(1, std::string_view(text)).Run();
                transaction.Commit();
            }
        } catch (const EDatabaseError& error) {
            std::fprintf(stderr, "writing: %s\n", error.what());
            return 2;
        }
        return 0;
    };
    pid_t children[2];
    const char* names[] = {"one", "two"};
    for (int c = 0; c < 2; ++c) {
        children[c] = fork();
        if (children[c] == 0) _exit(writer(names[c]));
    }
    for (pid_t child : children) {
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }
    TDatabaseOpenResult opened = TDatabase::Open(Path, Steps);
    ASSERT_TRUE(opened.Database);
    EXPECT_EQ(Count(*opened.Database, "SELECT count(*) FROM notes WHERE text = 'one'"), Rows);
    EXPECT_EQ(Count(*opened.Database, "SELECT count(*) FROM notes WHERE text = 'two'"), Rows);
}

TEST_F(DatabaseFolder, RefusesAReadOnlyFolder) {
    if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders; the refusal cannot be seen";
    fs::permissions(Folder, fs::perms::owner_read | fs::perms::owner_exec);
    TDatabaseOpenResult opened = TDatabase::Open(Path, Steps);
    EXPECT_EQ(opened.Outcome, DatabaseOpen::ReadOnly);
    EXPECT_FALSE(opened.ReadOnlyFile);
    EXPECT_FALSE(opened.Database);
    EXPECT_FALSE(fs::exists(Path));

    // A read-only file in a folder that can be written is the file's fault.
    fs::permissions(Folder, fs::perms::owner_all);
    TDatabase::Open(Path, Steps).Database.reset();
    fs::permissions(Path, fs::perms::owner_read);
    opened = TDatabase::Open(Path, Steps);
    EXPECT_EQ(opened.Outcome, DatabaseOpen::ReadOnly);
    EXPECT_TRUE(opened.ReadOnlyFile);
}

TEST_F(DatabaseFolder, TheCheckAtOpenFindsDamageBeyondTheFirstPageWithinItsTime) {
    {
        TDatabaseOpenResult opened = TDatabase::Open(Path, Steps);
        ASSERT_TRUE(opened.Database);
        opened.Database->Execute(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 20000) "
            "INSERT INTO notes(text) SELECT printf('note %08d', i) FROM n");
    }
    TDatabaseOptions checked;
    checked.CheckOnOpen = true;
    // Far too little time for 20,000 rows: the file is used unchecked rather than the open waiting.
    TDatabaseOptions hurried = checked;
    hurried.CheckMs = 0;
    TDatabaseOpenResult opened = TDatabase::Open(Path, Steps, hurried);
    EXPECT_EQ(opened.Outcome, DatabaseOpen::Opened) << opened.Error;
    EXPECT_TRUE(opened.CheckGivenUp);
    opened = TDatabase::Open(Path, Steps, checked);
    EXPECT_EQ(opened.Outcome, DatabaseOpen::Opened) << opened.Error;
    EXPECT_FALSE(opened.CheckGivenUp);
    opened.Database.reset();

    const std::uintmax_t pages = fs::file_size(Path) / 4096;
    {
        std::fstream file(Path, std::ios::binary | std::ios::in | std::ios::out);
        file.seekp(static_cast<std::streamoff>((pages - 2) * 4096));
        file << std::string(4096, '\0');
    }
    const std::string damaged = Bytes(Path);
    opened = TDatabase::Open(Path, Steps, checked);
    EXPECT_EQ(opened.Outcome, DatabaseOpen::Corrupt) << opened.Error;
    EXPECT_EQ(Bytes(opened.MovedTo), damaged);
    ASSERT_TRUE(opened.Database);
    EXPECT_EQ(Count(*opened.Database, "SELECT count(*) FROM notes"), 0);
}

TEST_F(DatabaseFolder, AnUncommittedTransactionLeavesNothing) {
    TDatabaseOpenResult opened = TDatabase::Open(Path, Steps);
    ASSERT_TRUE(opened.Database);
    {
        TTransaction transaction(*opened.Database);
        opened.Database->Execute("INSERT INTO notes(text) VALUES('dropped')");
    }
    {
        TTransaction transaction(*opened.Database);
        opened.Database->Execute("INSERT INTO notes(text) VALUES('kept')");
        transaction.Commit();
    }
    EXPECT_EQ(Count(*opened.Database, "SELECT count(*) FROM notes"), 1);
    EXPECT_THROW(opened.Database->Execute("INSERT INTO nowhere VALUES(1)"), EDatabaseError);
}

} // namespace
} // namespace tamtara::testing
