// The game's records, kept on a thread of their own so that no frame waits on the disk: the
// store is opened there, finished plays are queued to it and written one transaction each, and
// the songs' keys and bests are looked up there into a cache the screens read at once. A play
// that cannot be written is kept in the pending-plays file beside the records and written when
// writing works again: with the next play, every half minute, and at the next start.
#pragma once

#include "midi/DrumMap.h"
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
class TPendingPlays;

// The best play of the same song and mode before a play, for the result screen.
struct PlayComparison {
    // False when records are off or the play could not be written (it waits to be): nothing was
    // compared.
    bool Recorded = false;
    // Nothing when the song had no play in that mode before (or records are off).
    std::optional<PlayRecord> Best;
};

// What the thread has to say to the player once: records are off, the file was moved aside, a
// play could not be written, or plays kept earlier were written.
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

    // Queues a finished play of the song file, described as it was loaded for the play (key,
    // length and lane counts; the title too); returns the ticket its comparison is asked for with.
    std::uint64_t Record(const std::string& songPath, SongInfo song, PlayRecord play);
    // The lanes song keys are worked out for (the map the plays use); keys known under another
    // map are forgotten.
    void SetLaneMap(LaneMap lanes);
    // Asks for a song file's key, so that BestOf can answer for it.
    void LookUp(const std::string& songPath);
    // The cached best of a song file: nothing while its key is not known yet, a zero count when
    // it has not been played. Never waits on the disk.
    std::optional<SongBest> BestOf(const std::string& songPath) const;
    // The best before the play of ticket, once the thread has written that play.
    std::optional<PlayComparison> ComparisonFor(std::uint64_t ticket) const;
    // The oldest notice the thread left, once.
    std::optional<RecordsNotice> TakeNotice();
    // Until the queue is empty and the thread waits (tests, and the end).
    void WaitIdle();
    // The song key of a song file as the thread worked it out; empty when unknown or unreadable.
    std::string KeyOf(const std::string& songPath) const;

private:
    struct Job {
        std::string SongPath;
        SongInfo Song;
        std::optional<PlayRecord> Play; // none: a look-up
        std::uint64_t Ticket = 0;
    };
    void Run(std::string dbPath);
    void WritePlay(Job& job);
    // Writes the plays kept earlier, if any wait; says so when some were.
    void WriteKeptPlays();
    // Opens the store again after a write found it damaged: the open moves it aside.
    void ReopenDamaged();
    void Tell(std::string title, std::string detail);
    // The cache counts a written play; call with the lock held.
    void CountPlay(const PlayRecord& play, const std::string& key);
    // The key of a song file, worked out once per path (empty when it cannot be read).
    std::string KeyFor(const std::string& songPath);

    mutable std::mutex Mutex;
    std::condition_variable Wake;
    std::condition_variable Idle;
    std::deque<Job> Jobs;
    bool Busy = false;
    bool Stopping = false;
    std::uint64_t NextTicket = 1;
    // Guarded by Mutex: what the screens read.
    std::map<std::string, std::string> Keys; // song path -> key
    LaneMap Lanes = LaneMap::Standard();
    std::unordered_map<std::string, SongBest> Bests;
    std::map<std::uint64_t, PlayComparison> Comparisons;
    std::deque<RecordsNotice> Notices;
    // The thread's own.
    std::string DbPath;
    std::unique_ptr<TRecordStore> Store;
    std::unique_ptr<TPendingPlays> Pending;
    std::thread Worker;
};

} // namespace tamtara
