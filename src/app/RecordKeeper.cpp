// The records' thread: the store, the queue of plays and look-ups, and the cache of bests.
#include "app/RecordKeeper.h"

#include "midi/DrumPartKey.h"
#include "midi/SmfReader.h"
#include "midi/SongModel.h"
#include "records/PendingPlays.h"
#include "records/RecordStore.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <iostream>

namespace tamtara {

namespace {

// How long plays kept earlier wait before the thread tries them again on its own.
constexpr auto KeptPlaysRetry = std::chrono::seconds(30);

std::string AbsolutePath(const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.string();
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

std::uint64_t RecordKeeper::Record(const std::string& songPath, SongInfo song, PlayRecord play) {
    std::uint64_t ticket = 0;
    {
        std::lock_guard lock(Mutex);
        if (!Worker.joinable()) return 0;
        ticket = NextTicket++;
        Jobs.push_back(Job{songPath, std::move(song), std::move(play), ticket});
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
    if (Notices.empty()) return std::nullopt;
    RecordsNotice notice = std::move(Notices.front());
    Notices.pop_front();
    return notice;
}

void RecordKeeper::Tell(std::string title, std::string detail) {
    std::cerr << "records: " << title << ": " << detail << '\n';
    std::lock_guard lock(Mutex);
    Notices.push_back(RecordsNotice{std::move(title), std::move(detail)});
}

void RecordKeeper::WaitIdle() {
    std::unique_lock lock(Mutex);
    Idle.wait(lock, [this] { return !Busy && Jobs.empty(); });
}

void RecordKeeper::SetLaneMap(LaneMap lanes) {
    std::lock_guard lock(Mutex);
    if (lanes == Lanes) return;
    Lanes = lanes;
    Keys.clear();
}

std::string RecordKeeper::KeyFor(const std::string& songPath) {
    LaneMap lanes = LaneMap::Standard();
    {
        std::lock_guard lock(Mutex);
        const auto known = Keys.find(songPath);
        if (known != Keys.end()) return known->second;
        lanes = Lanes;
    }
    std::string key;
    try {
        const std::vector<std::uint8_t> bytes = ReadSongFile(songPath);
        // Far too large for the thread's stack.
        auto song = std::make_unique<TSongModel>();
        ParseSmf(bytes, *song);
        key = DrumPartKey(*song, lanes);
    } catch (const std::exception& error) {
        std::cerr << "records: " << songPath << ": " << error.what() << '\n';
    }
    std::lock_guard lock(Mutex);
    // Worked out under a map since replaced: not kept.
    if (lanes == Lanes) Keys[songPath] = key;
    return key;
}

void RecordKeeper::Run(std::string dbPath) {
    DbPath = std::move(dbPath);
    std::unique_ptr<TRecordStore> store = TRecordStore::Open(DbPath);
    if (!store->NoticeTitle().empty()) Tell(store->NoticeTitle(), store->NoticeDetail());
    Store = std::move(store);
    Pending = std::make_unique<TPendingPlays>(DbPath);
    // The plays an earlier session could not write come first, so the bests count them.
    WriteKeptPlays();
    {
        std::lock_guard lock(Mutex);
        if (Store->Enabled()) Bests = Store->AllBests();
        Busy = false;
    }
    Idle.notify_all();
    for (;;) {
        Job job;
        {
            std::unique_lock lock(Mutex);
            const auto ready = [this] { return Stopping || !Jobs.empty(); };
            if (Pending->Waiting())
                Wake.wait_for(lock, KeptPlaysRetry, ready);
            else
                Wake.wait(lock, ready);
            if (Jobs.empty() && Stopping) break;
            Busy = true;
            if (!Jobs.empty()) {
                job = std::move(Jobs.front());
                Jobs.pop_front();
            }
        }
        WriteKeptPlays();
        if (job.Play)
            WritePlay(job);
        else if (!job.SongPath.empty())
            KeyFor(job.SongPath);
        {
            std::lock_guard lock(Mutex);
            Busy = false;
        }
        Idle.notify_all();
    }
    // The last chance this session has: what is still held in memory only is lost after it.
    WriteKeptPlays();
    std::lock_guard lock(Mutex);
    Busy = false;
    Idle.notify_all();
}

void RecordKeeper::WritePlay(Job& job) {
    PlayRecord& play = *job.Play;
    SongInfo& song = job.Song;
    song.LastPath = AbsolutePath(job.SongPath);
    play.SongKey = song.Key;
    PlayComparison comparison;
    if (Store->Enabled()) {
        comparison.Best = Store->BestPlay(song.Key, play.PlayTime, play.Special, play.Speed);
        RecordWriteError error;
        comparison.Recorded = Store->RecordPlay(song, play, &error) != 0;
        if (!comparison.Recorded) {
            comparison.Best.reset();
            const TPendingPlays::KeepResult kept = Pending->Keep(PendingPlay{song, play});
            Tell("プレイを記録できませんでした",
                 WriteProblemText(error) + "。" +
                     (kept.InFile ? "このプレイは " + Pending->Path() + " に取っておき、"
                                  : "このプレイはゲームを終えるまで取っておき（" + kept.Error + "）、") +
                     "書き込めるようになったら記録します。");
            if (error.Problem == WriteProblem::Damaged) ReopenDamaged();
        }
    }
    std::lock_guard lock(Mutex);
    // A look-up of the file made earlier stands: the badge follows the file, the play what was played.
    Keys.emplace(job.SongPath, song.Key);
    if (comparison.Recorded) CountPlay(play, song.Key);
    Comparisons[job.Ticket] = std::move(comparison);
}

void RecordKeeper::WriteKeptPlays() {
    if (!Store->Enabled() || !Pending->Waiting()) return;
    const TPendingPlays::FlushResult flushed = Pending->Flush(*Store);
    if (!flushed.DamagedMovedTo.empty())
        Tell("記録待ちのファイルが壊れていました",
             "記録待ちのプレイのうち " + std::to_string(flushed.Unreadable) +
                 " 件を読めなかったため、ファイルを " + flushed.DamagedMovedTo + " に移しました。");
    if (flushed.Written == 0) return;
    Tell("記録できなかったプレイを記録しました",
         std::to_string(flushed.Written) + " 回分のプレイを記録ファイル " + DbPath + " に書き込みました。" +
             (flushed.Remaining > 0 ? "まだ " + std::to_string(flushed.Remaining) + " 回分が残っています。"
                                    : ""));
    std::unordered_map<std::string, SongBest> bests = Store->AllBests();
    std::lock_guard lock(Mutex);
    Bests = std::move(bests);
}

void RecordKeeper::ReopenDamaged() {
    Store.reset();
    Store = TRecordStore::Open(DbPath);
    if (!Store->NoticeTitle().empty()) Tell(Store->NoticeTitle(), Store->NoticeDetail());
    WriteKeptPlays();
    std::unordered_map<std::string, SongBest> bests =
        Store->Enabled() ? Store->AllBests() : std::unordered_map<std::string, SongBest>{};
    std::lock_guard lock(Mutex);
    Bests = std::move(bests);
}

// The cache after a play was written; call with the lock held.
void RecordKeeper::CountPlay(const PlayRecord& play, const std::string& key) {
    CountPlayIn(Bests[key], play);
}

} // namespace tamtara
