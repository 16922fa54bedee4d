// Bounds every wait on a named pipe in a test: once the bound has passed, whatever waits to open
// the pipe for reading is let go (a writer opens it and closes it again at once, so the reader
// sees an empty file), again and again until the guard ends. The path may be a regular file
// until the test swaps the pipe in. A test that would hang on a blocked
// open so runs on and fails on Released() instead.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace tamtara::testing {

class PipeRelease {
public:
    explicit PipeRelease(std::string pipePath, std::chrono::milliseconds bound = std::chrono::seconds(5))
        : Path(std::move(pipePath)), Bound(bound), Worker([this] { Run(); }) {}
    ~PipeRelease() {
        {
            std::lock_guard lock(Mutex);
            Stopping = true;
        }
        Wake.notify_all();
        Worker.join();
    }
    PipeRelease(const PipeRelease&) = delete;
    PipeRelease& operator=(const PipeRelease&) = delete;

    // Whether anything had to be let go: something opened the pipe and waited past the bound.
    bool Released() const { return Lets.load() > 0; }

private:
    void Run() {
        std::unique_lock lock(Mutex);
        if (Wake.wait_for(lock, Bound, [this] { return Stopping; })) return;
        while (!Stopping) {
            // Without a reader waiting, a non-blocking open for writing fails at once.
            const int fd = ::open(Path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            struct stat status {};
            if (fd >= 0 && ::fstat(fd, &status) == 0 && S_ISFIFO(status.st_mode)) Lets.fetch_add(1);
            if (fd >= 0) ::close(fd);
            Wake.wait_for(lock, std::chrono::milliseconds(20), [this] { return Stopping; });
        }
    }

    const std::string Path;
    const std::chrono::milliseconds Bound;
    std::atomic<int> Lets{0};
    std::mutex Mutex;
    std::condition_variable Wake;
    bool Stopping = false;
    std::thread Worker;
};

} // namespace tamtara::testing
