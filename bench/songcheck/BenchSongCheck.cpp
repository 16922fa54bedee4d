// bench_songcheck: songcheck on a folder holding a 50 MB song of one-byte events whose picture
// is the 16384 x 4096 JPEG bomb; prints its wall time and peak memory.
#include "HostileFiles.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

void Write(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

} // namespace

int main() {
    namespace fs = std::filesystem;
    const fs::path folder =
        fs::temp_directory_path() / ("tamtara-bench-songcheck-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    Write(folder / "big.mid", tamtara::hostile::OneByteEventSong(50u * 1024 * 1024));
    Write(folder / "big.jpg", tamtara::hostile::JpegBomb(16384, 4096));

    const auto start = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        ::freopen("/dev/null", "w", stdout);
        ::execl(SONGCHECK_PROGRAM, "songcheck", folder.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    rusage usage{};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    fs::remove_all(folder);

    std::printf("songcheck_exit_code: %d\n", WIFEXITED(status) ? WEXITSTATUS(status) : -1);
    std::printf("songcheck_wall_seconds: %.2f\n", seconds);
    std::printf("songcheck_cpu_seconds: %.2f\n", usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
                                                     (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6);
    std::printf("songcheck_peak_rss_mb: %.1f\n", usage.ru_maxrss / 1024.0);
    return 0;
}
