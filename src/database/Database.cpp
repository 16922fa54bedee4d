#include "database/Database.h"

#include <sqlite3.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <ctime>
#include <exception>
#include <filesystem>
#include <mutex>
#include <thread>

namespace tamtara {

namespace {

// Why an attempt ended, before the caller decides what to do about a damaged file.
struct Attempt {
    DatabaseOpen Outcome = DatabaseOpen::Failed;
    std::unique_ptr<TDatabase> Database;
    std::string Error;
    bool CheckGivenUp = false;
};

DatabaseOpen OutcomeOf(int code) {
    switch (code & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return DatabaseOpen::Busy;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return DatabaseOpen::Corrupt;
    case SQLITE_READONLY:
    case SQLITE_PERM:
        return DatabaseOpen::ReadOnly;
    default:
        return DatabaseOpen::Failed;
    }
}

std::string FolderOf(const std::string& path) {
    const std::string folder = std::filesystem::path(path).parent_path().string();
    return folder.empty() ? "." : folder;
}

// The folder must be writable, as SQLite makes and removes the journal files there.
bool FolderWritable(const std::string& path) {
    return access(FolderOf(path).c_str(), W_OK) == 0;
}

bool FileWritable(const std::string& path) {
    return access(path.c_str(), F_OK) != 0 || access(path.c_str(), W_OK) == 0;
}

// SQLite's check of every page's structure. Throws EDatabaseError(SQLITE_CORRUPT) for what it
// finds; false when the time ran out first. The check is interrupted from a thread of its own
// (the page walk does not call the progress handler), and what an interrupted walk reports is
// not believed: it stops short and sees the pages it did not reach as never used.
bool CheckPages(TDatabase& database, std::int32_t budgetMs) {
    // No time at all: given up before it starts, rather than a race with the watchdog.
    if (budgetMs <= 0) return false;
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false, interrupted = false;
    std::thread watchdog([&] {
        std::unique_lock lock(mutex);
        if (!finished.wait_for(lock, std::chrono::milliseconds(budgetMs), [&] { return done; })) {
            interrupted = true;
            sqlite3_interrupt(database.Handle());
        }
    });
    std::string findings;
    std::exception_ptr failure;
    try {
        TStatement check = database.Prepare("PRAGMA quick_check");
        while (check.Step()) {
            const std::string line = check.Text(0);
            if (line != "ok") findings += (findings.empty() ? "" : "; ") + line;
        }
    } catch (const EDatabaseError&) {
        failure = std::current_exception();
    }
    // No statement runs now: an interrupt that comes late touches nothing.
    {
        std::lock_guard lock(mutex);
        done = true;
    }
    finished.notify_all();
    watchdog.join();
    if (interrupted) return false;
    if (failure) std::rethrow_exception(failure);
    if (!findings.empty()) throw EDatabaseError("damaged: " + findings, SQLITE_CORRUPT);
    return true;
}

bool Exists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(path, error);
}

// Moves the file and its journal files to the dated name; returns the new name, empty when the
// main file could not be moved.
std::string MoveAside(const std::string& path) {
    const std::string base = CorruptFileName(path, static_cast<std::int64_t>(std::time(nullptr)));
    std::string target = base;
    for (int n = 2; Exists(target) && n < 100; ++n)
        target = base + "-" + std::to_string(n);
    std::error_code error;
    std::filesystem::rename(path, target, error);
    if (error) return {};
    for (const char* suffix : {"-wal", "-shm"}) {
        if (Exists(path + suffix)) std::filesystem::rename(path + suffix, target + suffix, error);
    }
    return target;
}

} // namespace

DatabaseFault FaultOf(int code) {
    switch (code & 0xFF) {
    case SQLITE_FULL:
        return DatabaseFault::Full;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return DatabaseFault::Corrupt;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_CANTOPEN:
        return DatabaseFault::ReadOnly;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return DatabaseFault::Busy;
    case SQLITE_IOERR:
        return DatabaseFault::Io;
    default:
        return DatabaseFault::Other;
    }
}

std::string CorruptFileName(const std::string& path, std::int64_t unixSeconds) {
    const auto seconds = static_cast<std::time_t>(unixSeconds);
    std::tm local{};
    localtime_r(&seconds, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    return path + ".corrupt-" + stamp;
}

class TDatabaseOpener {
public:
    static Attempt Try(const std::string& path, std::span<const char* const> steps,
                       const TDatabaseOptions& options) {
        Attempt attempt;
        sqlite3* connection = nullptr;
        const int code =
            sqlite3_open_v2(path.c_str(), &connection, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        if (code != SQLITE_OK) {
            attempt.Outcome = OutcomeOf(code);
            attempt.Error = connection ? sqlite3_errmsg(connection) : sqlite3_errstr(code);
            sqlite3_close(connection);
            return attempt;
        }
        std::unique_ptr<TDatabase> database(new TDatabase(connection, path));
        sqlite3_extended_result_codes(connection, 0);
        sqlite3_busy_timeout(connection, options.BusyMs);
        try {
            // The version is read before anything is written: a newer file stays byte for byte.
            const auto target = static_cast<std::int32_t>(steps.size());
            if (database->UserVersion() > target) {
                attempt.Outcome = DatabaseOpen::NewerVersion;
                return attempt;
            }
            database->Execute("PRAGMA journal_mode=WAL");
            // In WAL mode a commit written without a sync survives the process being killed; only
            // a power cut can lose the last commits, and never leaves a damaged file.
            database->Execute("PRAGMA synchronous=NORMAL");
            database->Execute(("PRAGMA cache_size=-" + std::to_string(options.CacheKiB)).c_str());
            database->Execute(("PRAGMA mmap_size=" + std::to_string(options.MapBytes)).c_str());
            sqlite3_wal_autocheckpoint(connection, options.AutoCheckpointPages);
            // Reads the schema: a damaged first page shows here rather than in the first play.
            {
                TStatement schema = database->Prepare("SELECT count(*) FROM sqlite_master");
                schema.Step();
            }
            // The rest of the file before anything is written into it.
            if (options.CheckOnOpen) attempt.CheckGivenUp = !CheckPages(*database, options.CheckMs);
            Migrate(*database, steps);
        } catch (const EDatabaseError& error) {
            attempt.Outcome = OutcomeOf(error.Code);
            attempt.Error = error.what();
            return attempt;
        } catch (const std::exception& error) {
            attempt.Error = error.what();
            return attempt;
        }
        attempt.Outcome = DatabaseOpen::Opened;
        attempt.Database = std::move(database);
        return attempt;
    }

private:
    static void Migrate(TDatabase& database, std::span<const char* const> steps) {
        const auto target = static_cast<std::int32_t>(steps.size());
        while (database.UserVersion() < target) {
            TTransaction transaction(database);
            // Another process may have migrated between the read and the lock.
            const std::int32_t version = database.UserVersion();
            if (version >= target) break;
            database.Execute(steps[static_cast<std::size_t>(version)]);
            database.Execute(("PRAGMA user_version=" + std::to_string(version + 1)).c_str());
            transaction.Commit();
        }
    }
};

namespace {

// SQLite gives up at once, without its busy wait, where waiting could deadlock: two connections
// turning a new file to WAL, or one reading the journal index while another rebuilds it. Such an
// open is tried again until the busy wait is spent.
Attempt TryWhileBusy(const std::string& path, std::span<const char* const> steps,
                     const TDatabaseOptions& options) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(options.BusyMs);
    for (;;) {
        Attempt attempt = TDatabaseOpener::Try(path, steps, options);
        if (attempt.Outcome != DatabaseOpen::Busy || std::chrono::steady_clock::now() >= until)
            return attempt;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

} // namespace

TDatabaseOpenResult TDatabase::Open(const std::string& path, std::span<const char* const> steps,
                                    const TDatabaseOptions& options) {
    TDatabaseOpenResult result;
    if (!FolderWritable(path) || !FileWritable(path)) {
        result.Outcome = DatabaseOpen::ReadOnly;
        result.ReadOnlyFile = FolderWritable(path);
        result.Error = "cannot write " + (result.ReadOnlyFile ? path : "in " + FolderOf(path));
        return result;
    }
    Attempt attempt = TryWhileBusy(path, steps, options);
    if (attempt.Outcome == DatabaseOpen::Corrupt) {
        attempt.Database.reset();
        result.MovedTo = MoveAside(path);
        if (result.MovedTo.empty()) {
            result.Outcome = DatabaseOpen::Failed;
            result.Error = attempt.Error + "; the file could not be moved aside";
            return result;
        }
        const std::string firstError = attempt.Error;
        attempt = TryWhileBusy(path, steps, options);
        if (attempt.Outcome == DatabaseOpen::Opened) attempt.Outcome = DatabaseOpen::Corrupt;
        if (attempt.Error.empty()) attempt.Error = firstError;
    }
    result.Outcome = attempt.Outcome;
    result.Database = std::move(attempt.Database);
    result.Error = attempt.Error;
    result.CheckGivenUp = attempt.CheckGivenUp;
    return result;
}

TDatabase::~TDatabase() {
    sqlite3_close_v2(Connection);
}

void TDatabase::Execute(const char* sql) {
    char* message = nullptr;
    const int code = sqlite3_exec(Connection, sql, nullptr, nullptr, &message);
    if (code != SQLITE_OK) {
        const std::string text = message ? message : sqlite3_errstr(code);
        sqlite3_free(message);
        throw EDatabaseError(text, code & 0xFF);
    }
}

TStatement TDatabase::Prepare(const char* sql) {
    return TStatement(Connection, sql);
}

std::int64_t TDatabase::LastInsertId() const {
    return sqlite3_last_insert_rowid(Connection);
}

std::int32_t TDatabase::UserVersion() {
    TStatement statement = Prepare("PRAGMA user_version");
    statement.Step();
    return static_cast<std::int32_t>(statement.Int(0));
}

bool TDatabase::Checkpoint() {
    int logPages = 0, written = 0;
    const int code =
        sqlite3_wal_checkpoint_v2(Connection, nullptr, SQLITE_CHECKPOINT_PASSIVE, &logPages, &written);
    return code == SQLITE_OK && logPages == written;
}

TTransaction::TTransaction(TDatabase& database) : Database(database) {
    Database.Execute("BEGIN IMMEDIATE");
}

TTransaction::~TTransaction() {
    if (!Done) sqlite3_exec(Database.Handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void TTransaction::Commit() {
    Database.Execute("COMMIT");
    Done = true;
}

} // namespace tamtara
