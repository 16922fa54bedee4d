// bench_library: builds a library of 10,000 small songs in 500 folders (three levels) among
// 100,000 other files under the temporary folder, then times the whole scan against merely
// reading the songs, the scan of the tree once the songs are gone, and scans through the library
// cache (how many directories the last of them listed). Removes the tree.
#include "library/SongLibrary.h"

#include "base/Stream.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

using namespace tamtara;
namespace fs = std::filesystem;

namespace {

constexpr int TopFolders = 5;
constexpr int SecondFolders = 9; // per top folder
constexpr int ThirdFolders = 10; // per second-level folder: 5 + 45 + 450 = 500 folders
constexpr int SongsPerFolder = 20;
constexpr int OthersPerFolder = 200;
constexpr int Repeats = 7;

using Bytes = std::vector<std::uint8_t>;

void PutBE(Bytes& out, std::uint32_t value, int size) {
    for (int i = size - 1; i >= 0; --i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// A one-track song of about size bytes: a title, then drum notes a sixteenth apart.
Bytes SongBytes(const std::string& title, std::size_t size) {
    Bytes events{0x00, 0xFF, 0x03, static_cast<std::uint8_t>(title.size())};
    for (char c : title)
        events.push_back(static_cast<std::uint8_t>(c));
    events.insert(events.end(), {0x00, 0x99});
    static const std::uint8_t drums[] = {36, 42, 38, 42};
    for (std::size_t n = 0; events.size() + 24 < size; ++n) {
        const std::uint8_t note = drums[n % 4];
        events.insert(events.end(), {0x00, note, 100, 0x30, note, 0});
    }
    events.insert(events.end(), {0x00, 0xFF, 0x2F, 0x00});
    Bytes bytes{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96, 'M', 'T', 'r', 'k'};
    PutBE(bytes, static_cast<std::uint32_t>(events.size()), 4);
    bytes.insert(bytes.end(), events.begin(), events.end());
    return bytes;
}

void WriteFile(const fs::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<fs::path> MakeFolders(const fs::path& root) {
    std::vector<fs::path> folders;
    for (int a = 0; a < TopFolders; ++a) {
        const fs::path top = root / ("Artist " + std::to_string(a));
        folders.push_back(top);
        for (int b = 0; b < SecondFolders; ++b) {
            const fs::path second = top / ("Album " + std::to_string(b));
            folders.push_back(second);
            for (int c = 0; c < ThirdFolders; ++c)
                folders.push_back(second / ("Disc " + std::to_string(c)));
        }
    }
    for (const fs::path& folder : folders)
        fs::create_directories(folder);
    return folders;
}

std::vector<std::string> MakeSongs(const std::vector<fs::path>& folders) {
    std::vector<std::string> songs;
    int number = 0;
    for (const fs::path& folder : folders) {
        for (int s = 0; s < SongsPerFolder; ++s, ++number) {
            // 4 to 40 KB, spread evenly.
            const std::size_t size = 4096 + static_cast<std::size_t>(number * 7919 % 36865);
            const fs::path path = folder / ("Track " + std::to_string(s) + (s % 5 == 0 ? ".MID" : ".mid"));
            WriteFile(path, SongBytes("Song number " + std::to_string(number), size));
            songs.push_back(path.string());
        }
        for (int o = 0; o < OthersPerFolder; ++o) {
            static const char* extensions[] = {".txt", ".jpg", ".wav", ".mp3", ".png"};
            WriteFile(folder / ("other " + std::to_string(o) + extensions[o % 5]), Bytes(o % 7, 'x'));
        }
    }
    return songs;
}

double Ms(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// The fastest of several runs of each, in milliseconds, the runs of the two taken in turns so
// that a busy moment of the machine weighs on both alike; a first run of each warms the cache.
std::pair<double, double> BestMs(const std::function<void()>& first, const std::function<void()>& second) {
    double bestFirst = 1e300;
    double bestSecond = 1e300;
    for (int r = 0; r <= Repeats; ++r) {
        const double a = Ms(first);
        const double b = second ? Ms(second) : 0;
        if (r == 0) continue;
        bestFirst = std::min(bestFirst, a);
        bestSecond = std::min(bestSecond, b);
    }
    return {bestFirst, bestSecond};
}

} // namespace

int main() {
    const fs::path root = fs::temp_directory_path() / ("tamtara-bench-library-" + std::to_string(getpid()));
    fs::remove_all(root);
    const std::vector<fs::path> folders = MakeFolders(root);
    const std::vector<std::string> songs = MakeSongs(folders);
    std::uintmax_t songBytes = 0;
    for (const std::string& song : songs)
        songBytes += fs::file_size(song);

    std::size_t found = 0;
    std::size_t bytesRead = 0;
    const auto [scanMs, readMs] = BestMs(
        [&] {
            TSongLibrary library;
            library.Scan(root.string());
            found = library.SongFiles.size();
        },
        [&] {
            bytesRead = 0;
            for (const std::string& song : songs)
                bytesRead += ReadFileBytes(song).size();
        });
    // One of the five top folders holds a fifth of everything: a linear scan takes a fifth
    // of the time there.
    const double fifthMs = BestMs(
                               [&] {
                                   TSongLibrary library;
                                   library.Scan((root / "Artist 0").string());
                               },
                               {})
                               .first;
    // The cache: a first scan that fills it, then scans of a new library (as a new start of the
    // game makes one) after one song changed each time.
    const fs::path cacheFile = root.string() + "-cache.db";
    fs::remove(cacheFile);
    const double firstCachedMs = Ms([&] {
        TSongLibrary library;
        library.UseCache(cacheFile.string());
        library.Scan(root.string());
    });
    double cachedMs = 1e300;
    std::int32_t cachedReads = -1;
    std::int32_t cachedListings = -1;
    for (int r = 0; r <= Repeats; ++r) {
        const fs::path changed = songs[static_cast<std::size_t>(r) * 997 % songs.size()];
        fs::last_write_time(changed, fs::last_write_time(changed) + std::chrono::seconds(1 + r));
        const double ms = Ms([&] {
            TSongLibrary library;
            library.UseCache(cacheFile.string());
            library.Scan(root.string());
            cachedReads = library.Cache ? library.Cache->Reads : -1;
            cachedListings = library.Cache ? library.Cache->Listings.Listed : -1;
        });
        if (r > 0) cachedMs = std::min(cachedMs, ms);
    }
    const double openMs = Ms([&] {
        TSongLibrary library;
        library.UseCache(cacheFile.string());
    });
    std::printf("cache_open_ms: %.1f\n", openMs);
    for (const char* suffix : {"", "-wal", "-shm"})
        fs::remove(cacheFile.string() + suffix);

    for (const std::string& song : songs)
        fs::remove(song);
    std::size_t foldersLeft = 0;
    const double walkMs = BestMs(
                              [&] {
                                  TSongLibrary library;
                                  library.Scan(root.string());
                                  foldersLeft = library.Folders.size();
                              },
                              {})
                              .first;
    fs::remove_all(root);

    if (cachedReads != 1) {
        std::fprintf(stderr, "bench_library: the cached scan read %d songs, not the one changed\n",
                     cachedReads);
        return 1;
    }
    if (found != songs.size() || bytesRead != songBytes || foldersLeft != 0) {
        std::fprintf(stderr, "bench_library: the scan found %zu of %zu songs\n", found, songs.size());
        return 1;
    }
    std::printf("songs: %zu\n", songs.size());
    std::printf("folders: %zu\n", folders.size());
    std::printf("other_files: %d\n", static_cast<int>(folders.size()) * OthersPerFolder);
    std::printf("song_mb: %.1f\n", static_cast<double>(songBytes) / (1024.0 * 1024.0));
    std::printf("scan_ms: %.1f\n", scanMs);
    std::printf("read_ms: %.1f\n", readMs);
    std::printf("scan_vs_read_ratio: %.2f\n", scanMs / readMs);
    std::printf("scan_fifth_ms: %.1f\n", fifthMs);
    std::printf("scan_vs_five_fifths_ratio: %.2f\n", scanMs / (5 * fifthMs));
    std::printf("walk_ms: %.1f\n", walkMs);
    std::printf("first_cached_scan_ms: %.1f\n", firstCachedMs);
    std::printf("cached_scan_ms: %.1f\n", cachedMs);
    std::printf("cached_scan_listings: %d\n", cachedListings);
    std::printf("cached_vs_first_ratio: %.3f\n", cachedMs / scanMs);
    return 0;
}
