// The game's records, kept on a thread of their own so that no frame waits on the disk: the
// store is opened there, finished plays are queued to it and written one transaction each, and
// the songs' keys and bests are looked up there into a cache the screens read at once.
#pragma once

#include "records/PlayRecord.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <unordered_map>

namespace tamtara {

class TRecordStore;

// The best play of the same song and mode before a play, for the result screen.
struct PlayComparison {
    // False when records are off (or the song could not be read): nothing was compared.
    bool Recorded = false;
    // Nothing when the song had no play in that mode before (or records are off).
    std::optional<PlayRecord> Best;
};

// What the thread has to say to the player once: records are off, or the file was moved aside.
struct RecordsNotice {
    std::string Title, Detail;
};

class RecordKeeper {
public:
    // Opens (creating) the store at dbPath on the thread; an empty path keeps nothing.
    explicit RecordKeeper(std::string dbPath);
    // Writes what is queued, then closes the store.
    ~RecordKeeper();
    RecordKeeper(const RecordKeeper&) = delete;
    RecordKeeper& operator=(const RecordKeeper&) = delete;

    // Queues a finished play of the song file (its key is worked out on the thread); returns
    // the ticket its comparison is asked for with.
    std::uint64_t Record(const std::string& songPath, const std::string& title, PlayRecord play);
    // Asks for a song file's key, so that BestOf can answer for it.
    void LookUp(const std::string& songPath);
    // The cached best of a song file: nothing while its key is not known yet, a zero count when
    // it has not been played. Never waits on the disk.
    std::optional<SongBest> BestOf(const std::string& songPath) const;
    // The best before the play of ticket, once the thread has written that play.
    std::optional<PlayComparison> ComparisonFor(std::uint64_t ticket) const;
    // The notice the thread left, once (the store's own wording).
    std::optional<RecordsNotice> TakeNotice();
    // Until the queue is empty and the thread waits (tests, and the end).
    void WaitIdle();
    // The song key of a song file as the thread worked it out; empty when unknown or unreadable.
    std::string KeyOf(const std::string& songPath) const;

private:
    struct Job {
        std::string SongPath;
        std::string Title;
        std::optional<PlayRecord> Play; // none: a look-up
        std::uint64_t Ticket = 0;
    };
    void Run(std::string dbPath);
    // The cache counts a written play; call with the lock held.
    void CountPlay(const Job& job, const std::string& key);
    // The key of a song file, worked out once per path (empty when it cannot be read).
    std::string KeyFor(const std::string& songPath, SongInfo* info);

    mutable std::mutex Mutex;
    std::condition_variable Wake;
    std::condition_variable Idle;
    std::deque<Job> Jobs;
    bool Busy = false;
    bool Stopping = false;
    std::uint64_t NextTicket = 1;
    // Guarded by Mutex: what the screens read.
    std::map<std::string, std::string> Keys; // song path -> key
    std::unordered_map<std::string, SongBest> Bests;
    std::map<std::uint64_t, PlayComparison> Comparisons;
    std::optional<RecordsNotice> Notice;
    // The thread's own.
    std::unique_ptr<TRecordStore> Store;
    std::thread Worker;
};

} // namespace tamtara
