// The records' thread: the store, the queue of plays and look-ups, and the cache of bests.
#include "app/RecordKeeper.h"

#include "app/PlayCapture.h"
#include "midi/DrumMap.h"
#include "midi/DrumPartKey.h"
#include "midi/MidiDrive.h"
#include "midi/SmfReader.h"
#include "midi/TempoTimeline.h"
#include "records/RecordStore.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <iostream>

namespace tamtara {

namespace {

// The song's length to its last event and its notes per lane.
void DescribeSong(const TSongModel& song, SongInfo& info) {
    std::int32_t lastTick = 0;
    for (std::int32_t t = 0; t < song.TrackCount; ++t) {
        const TMidiTrack& track = song.Tracks[static_cast<std::size_t>(t)];
        for (std::int32_t i = 0; i < track.Count(); ++i) {
            const SequencerEvent event = track[i];
            lastTick = std::max(lastTick, event.Tick);
            if (event.Event.IsDrumHit()) {
                const int lane = LaneOfNote(event.Event.Data1);
                if (lane >= 0) ++info.LaneCounts[static_cast<std::size_t>(lane)];
            }
        }
    }
    info.LengthMs =
        static_cast<std::int32_t>(std::lround(TempoTimeline(song, DefaultTempo).Milliseconds(0, lastTick)));
}

} // namespace

RecordKeeper::RecordKeeper(std::string dbPath) {
    if (dbPath.empty()) return;
    Busy = true;
    Worker = std::thread([this, path = std::move(dbPath)] { Run(path); });
}

RecordKeeper::~RecordKeeper() {
    {
        std::lock_guard lock(Mutex);
        Stopping = true;
    }
    Wake.notify_all();
    if (Worker.joinable()) Worker.join();
}

std::uint64_t RecordKeeper::Record(const std::string& songPath, const std::string& title, PlayRecord play) {
    std::uint64_t ticket = 0;
    {
        std::lock_guard lock(Mutex);
        if (!Worker.joinable()) return 0;
        ticket = NextTicket++;
        Jobs.push_back(Job{songPath, title, std::move(play), ticket});
    }
    Wake.notify_one();
    return ticket;
}

void RecordKeeper::LookUp(const std::string& songPath) {
    {
        std::lock_guard lock(Mutex);
        if (!Worker.joinable() || Keys.count(songPath) > 0) return;
        for (const Job& job : Jobs)
            if (!job.Play && job.SongPath == songPath) return;
        Jobs.push_back(Job{songPath, {}, std::nullopt, 0});
    }
    Wake.notify_one();
}

std::optional<SongBest> RecordKeeper::BestOf(const std::string& songPath) const {
    std::lock_guard lock(Mutex);
    const auto key = Keys.find(songPath);
    if (key == Keys.end() || key->second.empty()) return std::nullopt;
    const auto best = Bests.find(key->second);
    return best == Bests.end() ? SongBest{} : best->second;
}

std::string RecordKeeper::KeyOf(const std::string& songPath) const {
    std::lock_guard lock(Mutex);
    const auto key = Keys.find(songPath);
    return key == Keys.end() ? std::string() : key->second;
}

std::optional<PlayComparison> RecordKeeper::ComparisonFor(std::uint64_t ticket) const {
    std::lock_guard lock(Mutex);
    const auto found = Comparisons.find(ticket);
    if (found == Comparisons.end()) return std::nullopt;
    return found->second;
}

std::optional<RecordsNotice> RecordKeeper::TakeNotice() {
    std::lock_guard lock(Mutex);
    std::optional<RecordsNotice> notice;
    notice.swap(Notice);
    return notice;
}

void RecordKeeper::WaitIdle() {
    std::unique_lock lock(Mutex);
    Idle.wait(lock, [this] { return !Busy && Jobs.empty(); });
}

std::string RecordKeeper::KeyFor(const std::string& songPath, SongInfo* info) {
    {
        std::lock_guard lock(Mutex);
        const auto known = Keys.find(songPath);
        if (known != Keys.end() && !info) return known->second;
    }
    std::string key;
    try {
        const std::vector<std::uint8_t> bytes = ReadSongFile(songPath);
        // Far too large for the thread's stack.
        auto song = std::make_unique<TSongModel>();
        ParseSmf(bytes, *song);
        key = DrumPartKey(*song);
        if (info) DescribeSong(*song, *info);
    } catch (const std::exception& error) {
        std::cerr << "records: " << songPath << ": " << error.what() << '\n';
    }
    std::lock_guard lock(Mutex);
    Keys[songPath] = key;
    return key;
}

void RecordKeeper::Run(std::string dbPath) {
    std::unique_ptr<TRecordStore> store = TRecordStore::Open(dbPath);
    {
        std::lock_guard lock(Mutex);
        if (!store->NoticeTitle().empty())
            Notice = RecordsNotice{store->NoticeTitle(), store->NoticeDetail()};
        if (store->Enabled()) Bests = store->AllBests();
        Store = std::move(store);
        Busy = false;
    }
    Idle.notify_all();
    for (;;) {
        Job job;
        {
            std::unique_lock lock(Mutex);
            Wake.wait(lock, [this] { return Stopping || !Jobs.empty(); });
            if (Jobs.empty()) break;
            job = std::move(Jobs.front());
            Jobs.pop_front();
            Busy = true;
        }
        if (job.Play) {
            SongInfo info;
            const std::string key = KeyFor(job.SongPath, &info);
            if (!key.empty()) {
                info.Key = key;
                std::error_code error;
                const std::filesystem::path absolute = std::filesystem::absolute(job.SongPath, error);
                info.LastPath = error ? job.SongPath : absolute.string();
                info.Title = job.Title;
                job.Play->SongKey = key;
                PlayComparison comparison;
                if (Store->Enabled()) {
                    comparison.Best =
                        Store->BestPlay(key, job.Play->PlayTime, job.Play->Special, job.Play->Speed);
                    comparison.Recorded = Store->RecordPlay(info, *job.Play) != 0;
                }
                std::lock_guard lock(Mutex);
                if (comparison.Recorded) CountPlay(job, key);
                Comparisons[job.Ticket] = std::move(comparison);
            } else {
                std::lock_guard lock(Mutex);
                Comparisons[job.Ticket] = PlayComparison{};
            }
        } else {
            KeyFor(job.SongPath, nullptr);
        }
        {
            std::lock_guard lock(Mutex);
            Busy = false;
        }
        Idle.notify_all();
    }
    std::lock_guard lock(Mutex);
    Busy = false;
    Idle.notify_all();
}

// The cache after a play was written; call with the lock held.
void RecordKeeper::CountPlay(const Job& job, const std::string& key) {
    CountPlayIn(Bests[key], *job.Play);
}

} // namespace tamtara
