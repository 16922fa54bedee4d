// Every play kept in tamtara.db: the songs by drum-part key, the plays with their choices and
// counts, and each play's strikes packed in one blob. Safe to call from several threads; the game
// writes from a thread of its own, never from the frame loop.
#pragma once

#include "records/PlayRecord.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

namespace tamtara {

class TDatabase;
class TRecordStatements;

enum class RecordsState {
    On,
    Busy,
    Corrupt, // the damaged file was moved aside and a new one made: records are on
    NewerVersion,
    ReadOnly,
    Failed,
};

// Why a play could not be written.
enum class WriteProblem {
    None,
    DiskFull,
    Damaged, // the file is damaged: an open moves it aside
    ReadOnly,
    Busy, // another copy of the game held the file for longer than the busy wait
    DiskError,
    RecordsOff, // the store is not open
    Other,
};

struct RecordWriteError {
    WriteProblem Problem = WriteProblem::None;
    std::string Text; // SQLite's words
};

// What the player is told about a play that could not be written, in a few words.
std::string WriteProblemText(const RecordWriteError& error);

// The file name beside the settings file.
constexpr const char* RecordsFileName = "tamtara.db";

// The schema's migration steps, step i bringing version i to i + 1 (see RecordStore.cpp).
std::span<const char* const> RecordsSchemaSteps();

class TRecordStore {
public:
    // Opens (creating) the database file; never throws. Busy: waits briefly, then off.
    static std::unique_ptr<TRecordStore> Open(const std::string& dbPath);
    ~TRecordStore();

    bool Enabled() const; // false = records off for this session
    RecordsState State() const { return Outcome; }
    // The message for the player when records are off or the file was moved aside (Japanese
    // title + detail naming the file(s)); empty when there is nothing to say.
    std::string NoticeTitle() const;
    std::string NoticeDetail() const;
    // Where a damaged file went (Corrupt only), and SQLite's words when records are off.
    const std::string& MovedTo() const { return MovedPath; }
    const std::string& Error() const { return ErrorText; }

    // One transaction: the song row (inserted, or its path, title, length and counts updated) and
    // the play with its strikes. Returns the new play id (0 when records are off or the write
    // failed, with why in error).
    std::int64_t RecordPlay(const SongInfo& song, const PlayRecord& play, RecordWriteError* error = nullptr);
    // RecordPlay for a play kept aside while it could not be written: a play of the same song at
    // the same second with the same counts is already in the file (an earlier session wrote it
    // and ended before it could say so), its id is returned and nothing is written.
    std::int64_t RecordKeptPlay(const SongInfo& song, const PlayRecord& play,
                                RecordWriteError* error = nullptr);
    // Best and counts per song (all modes together, practices apart) for the disc badge cache,
    // keyed by song key.
    std::unordered_map<std::string, SongBest> AllBests();
    // Best of one song in one mode (same PlayTime, Special and Speed; practice plays excluded),
    // with its strikes; the earlier play wins a tie.
    std::optional<PlayRecord> BestPlay(const std::string& songKey, std::int32_t playTime,
                                       std::int32_t special, std::int32_t speed);
    // The launcher's list: every song with a play, by last played, latest first.
    std::vector<SongSummary> Songs();
    // A song's plays that were not practices, oldest first.
    std::vector<PlayPoint> History(const std::string& songKey);
    // The song's latest play (practice too), with its strikes.
    std::optional<PlayRecord> LastPlay(const std::string& songKey);

private:
    TRecordStore(std::string path, RecordsState state);
    std::int64_t Write(const SongInfo& song, const PlayRecord& play, bool unlessKept,
                       RecordWriteError* error);

    std::string DbPath;
    RecordsState Outcome;
    bool ReadOnlyFile = false;
    std::string MovedPath, ErrorText;
    std::mutex Lock;
    std::unique_ptr<TDatabase> Database;
    std::unique_ptr<TRecordStatements> Statements;
};

} // namespace tamtara
