// bench_records: the records file's costs. A store of 10,000 songs with a play each; 50 plays of
// 2,000 strikes written into it one by one (p99 of the 50); the disc screen's badge looked up in
// the cache of all bests; one song's 1,000 plays loaded for its progress chart (median of 5); and
// the file's size per strike for those 1,000 plays of 1,000 strikes. Removes its folder.
#include "records/RecordStore.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

using namespace tamtara;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double ThreadMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
}

std::string KeyOf(int song) {
    char key[65];
    std::snprintf(key, sizeof key, "%064x", song * 2654435761u);
    return key;
}

SongInfo SongOf(int song) {
    return SongInfo{KeyOf(song),
                    "/songs/" + std::to_string(song) + "/song.mid",
                    "曲 " + std::to_string(song),
                    180000,
                    {400, 200, 250, 30, 30, 30, 60}};
}

PlayRecord PlayOf(int song, std::int64_t at, int strikes, std::mt19937& random) {
    PlayRecord play;
    play.SongKey = KeyOf(song);
    play.PlayedAt = at;
    play.Score = static_cast<std::int32_t>(random() % 1000000);
    play.Rank = "A";
    std::normal_distribution<double> error(4, 18);
    for (int i = 0; i < strikes; ++i) {
        const auto e = static_cast<std::int16_t>(std::clamp(error(random), -150.0, 150.0));
        const std::uint8_t grade = std::abs(e) < 20 ? 3 : std::abs(e) < 40 ? 2 : std::abs(e) < 80 ? 1 : 0;
        play.Strikes.push_back(StrikeEntry{static_cast<std::uint8_t>(random() % 7), e, grade});
        (grade == 3 ? play.Perfect : grade == 2 ? play.Great : grade == 1 ? play.Good : play.Miss)++;
    }
    return play;
}

std::uintmax_t FileBytes(const fs::path& path) {
    std::uintmax_t total = 0;
    for (const char* suffix : {"", "-wal", "-shm"}) {
        std::error_code error;
        const auto size = fs::file_size(path.string() + suffix, error);
        if (!error) total += size;
    }
    return total;
}

} // namespace

int main() {
    const fs::path folder = fs::temp_directory_path() / ("tamtara-bench-records-" + std::to_string(getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    std::mt19937 random(7);

    // 10,000 songs, a play each; then 50 plays of 2,000 strikes timed.
    auto store = TRecordStore::Open((folder / "many.db").string());
    if (!store->Enabled()) {
        std::fprintf(stderr, "cannot open the records file: %s\n", store->Error().c_str());
        return 1;
    }
    for (int song = 0; song < 10000; ++song)
        store->RecordPlay(SongOf(song), PlayOf(song, song, 20, random));
    store.reset(); // a new session, as the game starts one
    store = TRecordStore::Open((folder / "many.db").string());
    // Wall time, and the thread's own processor time, which a busy machine does not inflate.
    std::vector<double> writes, processor;
    for (int i = 0; i < 50; ++i) {
        const PlayRecord play = PlayOf(i * 97, 20000 + i, 2000, random);
        const double cpu = ThreadMs();
        const auto start = Clock::now();
        if (store->RecordPlay(SongOf(i * 97), play) == 0) return 1;
        writes.push_back(MsSince(start));
        processor.push_back(ThreadMs() - cpu);
    }
    std::sort(writes.begin(), writes.end());
    std::sort(processor.begin(), processor.end());
    std::printf("record_play_ms: %.2f\n", writes[49]);
    std::printf("record_play_median_ms: %.2f\n", writes[25]);
    std::printf("record_play_cpu_ms: %.2f\n", processor[49]);

    // The badge: one look-up in the cache the game fills from AllBests.
    auto start = Clock::now();
    const auto bests = store->AllBests();
    std::printf("all_bests_load_ms: %.1f\n", MsSince(start));
    const double cpu = ThreadMs();
    store->AllBests();
    std::printf("all_bests_again_cpu_ms: %.1f\n", ThreadMs() - cpu);
    constexpr int Lookups = 100000;
    std::vector<std::string> keys;
    for (int i = 0; i < Lookups; ++i)
        keys.push_back(KeyOf(static_cast<int>(random() % 10000)));
    std::int64_t found = 0;
    start = Clock::now();
    for (const std::string& key : keys) {
        const auto at = bests.find(key);
        if (at != bests.end()) found += at->second.Plays;
    }
    std::printf("best_lookup_us: %.3f\n", MsSince(start) * 1000 / Lookups);
    if (found < Lookups) return 1;
    start = Clock::now();
    const double songsCpu = ThreadMs();
    const auto songs = store->Songs();
    std::printf("songs_list_ms: %.1f\n", MsSince(start));
    std::printf("songs_list_cpu_ms: %.1f\n", ThreadMs() - songsCpu);
    if (songs.size() != 10000) return 1;
    store.reset();

    // One song's 1,000 plays of 1,000 strikes: its history, and the file's bytes per strike.
    const fs::path historyPath = folder / "history.db";
    store = TRecordStore::Open(historyPath.string());
    for (int i = 0; i < 1000; ++i)
        store->RecordPlay(SongOf(1), PlayOf(1, 1000000 + i, 1000, random));
    std::vector<double> loads;
    for (int i = 0; i < 5; ++i) {
        start = Clock::now();
        if (store->History(KeyOf(1)).size() != 1000) return 1;
        loads.push_back(MsSince(start));
    }
    std::sort(loads.begin(), loads.end());
    std::printf("history_load_ms: %.2f\n", loads[2]);
    store.reset(); // the last connection to close writes the journal back into the file
    std::printf("db_bytes_per_strike: %.2f\n", static_cast<double>(FileBytes(historyPath)) / (1000.0 * 1000));

    fs::remove_all(folder);
    return 0;
}
