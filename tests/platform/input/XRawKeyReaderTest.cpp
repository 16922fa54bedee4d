// The X reader against a real X server of its own (Xvfb, skipped where it is not installed):
// keys pressed through the XTEST extension (xdotool) arrive mapped, once per press; no display
// at all is refused with the reason; a server that goes away ends the thread, not the program.
// (Xvfb keeps its X Input extension whatever it is told, so the refusal of a server without
// one is only checked in the game window, with a scripted reader.)
#include "platform/input/XRawKeyReader.h"

#include <gtest/gtest.h>

#include <SDL_scancode.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace tamtara {
namespace {

using namespace std::chrono_literals;

bool OnPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "/usr/bin:/bin";
    for (std::size_t start = 0; start <= folders.size();) {
        const std::size_t end = std::min(folders.find(':', start), folders.size());
        if (access((folders.substr(start, end - start) + "/" + program).c_str(), X_OK) == 0) return true;
        start = end + 1;
    }
    return false;
}

// Runs a program with arguments, its output to /dev/null; the child's id.
pid_t Spawn(const std::vector<std::string>& arguments, int keepFd = -1) {
    const pid_t child = fork();
    if (child != 0) return child;
    const int null = open("/dev/null", O_RDWR);
    dup2(null, STDOUT_FILENO);
    dup2(null, STDERR_FILENO);
    for (int fd = 3; fd < 256; ++fd)
        if (fd != keepFd) close(fd);
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
}

// Waits at most timeout for the child; its exit status, none when it still runs (then killed).
std::optional<int> Reap(pid_t child, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > end) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return std::nullopt;
        }
        std::this_thread::sleep_for(5ms);
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// An Xvfb of the test's own on a free display number, which it writes to a pipe when ready.
class OwnXServer {
public:
    explicit OwnXServer(const std::vector<std::string>& extra = {}) {
        int ready[2];
        if (pipe(ready) != 0) return;
        std::vector<std::string> arguments = {
            "Xvfb", "-displayfd", std::to_string(ready[1]), "-nolisten", "tcp", "-screen", "0", "320x240x24"};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        Server = Spawn(arguments, ready[1]);
        close(ready[1]);
        pollfd wait{ready[0], POLLIN, 0};
        std::string number;
        char c = 0;
        while (poll(&wait, 1, 10000) > 0 && read(ready[0], &c, 1) == 1 && c != '\n')
            number += c;
        close(ready[0]);
        if (!number.empty()) Name = ":" + number;
    }
    ~OwnXServer() { Kill(); }
    void Kill() {
        if (Server <= 0) return;
        kill(Server, SIGTERM);
        Reap(Server, 5000ms);
        Server = -1;
    }
    // ":N", empty when the server did not start.
    std::string Name;

private:
    pid_t Server = -1;
};

// DISPLAY set for one test and put back after it.
class DisplayVariable {
public:
    explicit DisplayVariable(const std::string& value) {
        if (const char* old = std::getenv("DISPLAY")) Old = old;
        if (value.empty())
            unsetenv("DISPLAY");
        else
            setenv("DISPLAY", value.c_str(), 1);
    }
    ~DisplayVariable() {
        if (Old)
            setenv("DISPLAY", Old->c_str(), 1);
        else
            unsetenv("DISPLAY");
    }

private:
    std::optional<std::string> Old;
};

// What the reader's thread delivered.
struct Delivered {
    std::mutex Mutex;
    std::condition_variable Changed;
    std::vector<int> Keys;
    bool Lost = false;

    RawKeyEvents Events() {
        RawKeyEvents events;
        events.KeyDown = [this](int sdl, std::uint32_t) {
            std::lock_guard lock(Mutex);
            Keys.push_back(sdl);
            Changed.notify_all();
        };
        events.Lost = [this] {
            std::lock_guard lock(Mutex);
            Lost = true;
            Changed.notify_all();
        };
        return events;
    }
    template <typename Done> bool WaitFor(Done done) {
        std::unique_lock lock(Mutex);
        return Changed.wait_for(lock, 10s, done);
    }
};

bool Type(const std::string& display, const std::vector<std::string>& keys) {
    std::vector<std::string> arguments = {"env", "DISPLAY=" + display, "xdotool"};
    arguments.insert(arguments.end(), keys.begin(), keys.end());
    return Reap(Spawn(arguments), 10000ms) == 0;
}

TEST(XRawKeyReader, WithoutADisplayTheKeysStayWithTheWindow) {
    Delivered delivered;
    for (const char* display : {"", ":4093"}) {
        DisplayVariable variable(display);
        const auto reader = CreateXRawKeyReader(SystemClock::Instance());
        EXPECT_EQ(reader->Start(delivered.Events()), "no X display") << display;
        reader->Stop();
    }
}

TEST(XRawKeyReader, KeysArriveMappedOncePerPressAndALostServerEndsOnlyTheThread) {
    if (!OnPath("Xvfb") || !OnPath("xdotool")) GTEST_SKIP() << "Xvfb or xdotool is not installed";
    OwnXServer server;
    if (server.Name.empty()) GTEST_SKIP() << "Xvfb did not start";
    DisplayVariable variable(server.Name);
    Delivered delivered;
    const auto reader = CreateXRawKeyReader(SystemClock::Instance());
    ASSERT_EQ(reader->Start(delivered.Events()), "");
    // The second press of s without a release is what a held key's repeat looks like.
    ASSERT_TRUE(Type(server.Name, {"key", "a", "keydown", "s", "keydown", "s", "keyup", "s", "key", "Up",
                                   "key", "semicolon"}));
    const std::vector<int> expected = {SDL_SCANCODE_A, SDL_SCANCODE_S, SDL_SCANCODE_UP,
                                       SDL_SCANCODE_SEMICOLON};
    EXPECT_TRUE(delivered.WaitFor([&] { return delivered.Keys.size() >= expected.size(); }));
    std::this_thread::sleep_for(100ms);
    {
        std::lock_guard lock(delivered.Mutex);
        EXPECT_EQ(delivered.Keys, expected);
    }
    server.Kill();
    EXPECT_TRUE(delivered.WaitFor([&] { return delivered.Lost; }));
    reader->Stop();
}

} // namespace
} // namespace tamtara
