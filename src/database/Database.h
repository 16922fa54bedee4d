// A connection to one SQLite file: opened in WAL mode with a busy timeout, brought to the schema
// version its owner knows by ordered migration steps, with prepared statements and transactions
// that clean up after themselves. Knows nothing of what its owner stores.
#pragma once

#include "database/Statement.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>

struct sqlite3;

namespace tamtara {

// How an open ended.
enum class DatabaseOpen {
    Opened,
    Busy,         // another process held the file for longer than the busy wait
    Corrupt,      // the file was not a database or damaged: moved aside, a new one opened
    NewerVersion, // its schema is newer than the steps given: left as it was, not opened
    ReadOnly,     // the file or its folder cannot be written (ReadOnlyFile tells which)
    Failed,       // anything else (Error tells)
};

// What went wrong with a statement, in the words a caller tells its user in.
enum class DatabaseFault {
    Full,     // the disk (or the file's allowed size) is full
    Corrupt,  // the file is damaged
    ReadOnly, // the file cannot be written
    Busy,     // another connection holds the lock
    Io,       // the system failed to read or write
    Other,
};

// The fault of an SQLite result code (primary or extended).
DatabaseFault FaultOf(int code);

struct TDatabaseOptions {
    // How long a statement waits for another process's lock before it gives up, in ms.
    std::int32_t BusyMs = 1500;
    // Pages kept in memory, and how much of the file is read through a memory map rather than
    // one system call a page.
    std::int32_t CacheKiB = 16384;
    std::int64_t MapBytes = 256LL * 1024 * 1024;
    // The journal is written back into the file by the commit that takes it past this many
    // pages; 0 leaves that to Checkpoint and to the last connection's close, so that no commit
    // pays for it.
    std::int32_t AutoCheckpointPages = 1000;
    // The whole file is checked (SQLite's quick_check: every page's structure, not the indexes'
    // contents) before it is used, and a damaged one is moved aside as one whose first page is
    // damaged. A check that outlasts CheckMs is given up and the file used as it is.
    bool CheckOnOpen = false;
    std::int32_t CheckMs = 3000;
};

class TDatabase;

struct TDatabaseOpenResult {
    DatabaseOpen Outcome = DatabaseOpen::Failed;
    std::unique_ptr<TDatabase> Database; // set for Opened and Corrupt
    std::string MovedTo;                 // Corrupt: where the damaged file went
    std::string Error;                   // SQLite's words, for anything but Opened
    bool ReadOnlyFile = false;           // ReadOnly: the file itself, in a folder that can be written
    bool CheckGivenUp = false;           // CheckOnOpen: the check outlasted its time and was left
};

class TDatabase {
public:
    // Opens (creating) the file at path and runs the migration steps it has not had yet:
    // steps[i] is the SQL that brings schema version i to i + 1, so a file made by this build
    // ends at version steps.size(). Each step runs in a transaction of its own together with
    // the version change. Never throws.
    static TDatabaseOpenResult Open(const std::string& path, std::span<const char* const> steps,
                                    const TDatabaseOptions& options = {});
    ~TDatabase();
    TDatabase(const TDatabase&) = delete;
    TDatabase& operator=(const TDatabase&) = delete;

    const std::string& Path() const { return FilePath; }
    // Runs SQL that returns no rows (may hold several statements); throws EDatabaseError.
    void Execute(const char* sql);
    TStatement Prepare(const char* sql);
    std::int64_t LastInsertId() const;
    std::int32_t UserVersion();
    // Writes the journal back into the file as far as no reader needs it; false when another
    // connection kept part of it.
    bool Checkpoint();
    sqlite3* Handle() const { return Connection; }

private:
    friend class TDatabaseOpener;
    TDatabase(sqlite3* connection, std::string path) : Connection(connection), FilePath(std::move(path)) {}

    sqlite3* Connection;
    std::string FilePath;
};

// BEGIN IMMEDIATE on construction (the write lock is taken at once, waiting as long as the busy
// timeout), ROLLBACK on destruction unless Commit was called.
class TTransaction {
public:
    explicit TTransaction(TDatabase& database);
    ~TTransaction();
    TTransaction(const TTransaction&) = delete;
    TTransaction& operator=(const TTransaction&) = delete;
    void Commit();

private:
    TDatabase& Database;
    bool Done = false;
};

// The name a damaged file is moved to: path + ".corrupt-YYYYMMDD-HHMMSS" in local time.
std::string CorruptFileName(const std::string& path, std::int64_t unixSeconds);

} // namespace tamtara
