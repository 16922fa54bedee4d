// Each case: the private server started afresh, then a child process that connects to it, plays
// strikes through the built-in synth and records the sink. A strike is a side stick on the drum
// channel, sent to the synth the moment it is stamped (as a kit's pad sends it), every 180 to 260
// ms, silenced 90 ms later so the next one starts from silence. The note's first sample at the
// sink is its onset in the recording less the onset's own rise (measured on the synth offline).
#include "ServerCases.h"

#include "SinkCapture.h"
#include "WakeProbe.h"

#include "base/Clock.h"
#include "midi/MidiDrive.h"
#include "midi/ThreadPriority.h"
#include "platform/midi/BuiltInSynth.h"
#include "platform/midi/GmSynth.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <random>
#include <thread>

#ifndef TAMTARA_PRIVATE_PIPEWIRE_SCRIPT
#error "the private server's script must be named at build time"
#endif

namespace tamtara::bench {
namespace {

constexpr std::uint8_t StrikeNote = 37; // side stick: a sharp start, a short sound
constexpr float OnsetThreshold = 0.02F;
constexpr int QuietMicros = 40000;

double Quantile(std::vector<double> values, double q) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(q * static_cast<double>(values.size() - 1))];
}

// How long the strike's sound takes from its first sample to the onset threshold.
double OnsetRiseMicros() {
    GmSynth synth(SinkCapture::Rate);
    const std::array<std::uint8_t, 3> on{0x99, StrikeNote, 127};
    synth.Send(on);
    std::vector<std::int16_t> stereo(2 * SinkCapture::Rate / 10);
    synth.Render(stereo.data(), static_cast<int>(stereo.size() / 2));
    for (std::size_t i = 0; i < stereo.size(); ++i)
        if (std::abs(stereo[i]) / 32768.0F > OnsetThreshold)
            return static_cast<double>(i / 2) * 1e6 / SinkCapture::Rate;
    return 0.0;
}

// The variables of the server's env.sh ("export NAME=VALUE" lines), set in this process.
bool TakeServerEnvironment(const std::filesystem::path& base) {
    std::ifstream env(base / "env.sh");
    std::string line;
    bool any = false;
    while (std::getline(env, line)) {
        if (line.rfind("export ", 0) != 0) continue;
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        setenv(line.substr(7, equals - 7).c_str(), line.substr(equals + 1).c_str(), 1);
        any = true;
    }
    unsetenv("DBUS_SESSION_BUS_ADDRESS");
    return any;
}

bool Script(const std::string& action, const std::filesystem::path& base) {
    const std::string command =
        std::string("'") + TAMTARA_PRIVATE_PIPEWIRE_SCRIPT + "' " + action + " '" + base.string() + "' >&2";
    return std::system(command.c_str()) == 0;
}

struct Strikes {
    std::mutex Mutex;
    std::vector<std::int64_t> Stamps;
    std::vector<std::int64_t> Rendered;
};

// In the child: one case, its figures printed under `name`.
int Measure(const std::string& name, const std::string& driver, int period, bool busy, int seconds) {
    setenv("SDL_AUDIODRIVER", driver.c_str(), 1);
    const double riseMicros = OnsetRiseMicros();
    std::atomic<bool> stop{false};
    std::vector<std::thread> spinners;
    if (busy)
        for (int i = 0; i < 2; ++i)
            spinners.emplace_back([&stop] {
                volatile std::uint64_t x = 0;
                while (!stop.load(std::memory_order_relaxed))
                    x = x + 1;
            });
    WakeProbe machine([] { ApplyCurrentThreadPriority(ThreadPriority::TimeCritical, AudioFifoLevel); });
    SinkCapture capture("bench-null-sink", OnsetThreshold, QuietMicros);
    if (!capture.Error().empty() || !capture.WaitForCycles(5000)) {
        std::fprintf(stderr, "bench_latency: %s\n",
                     capture.Error().empty() ? "the sink records nothing" : capture.Error().c_str());
        return 1;
    }
    auto synth = std::make_unique<BuiltInSynth>(period);
    if (!synth->IsAudible() || synth->AudioDriver() != driver) {
        std::fprintf(stderr, "bench_latency: the synth does not sound through %s: %s (driver %s)\n",
                     driver.c_str(), synth->SilenceReason().c_str(), synth->AudioDriver().c_str());
        return 1;
    }
    Strikes strikes;
    SynthProbe probe;
    probe.Sounded = [&strikes](const SoundedNote& note) {
        std::lock_guard lock(strikes.Mutex);
        strikes.Rendered.push_back(note.SampleMicros);
    };
    synth->SetProbe(probe);
    // No reverb or chorus tail to keep the sink from falling quiet between strikes.
    for (const std::uint8_t controller : {91, 93}) {
        const std::array<std::uint8_t, 3> dry{0xB9, controller, 0};
        synth->Send(dry);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const std::int64_t xrunsBefore = capture.GraphXruns();
    if (xrunsBefore < 0) {
        std::fprintf(stderr, "bench_latency: the server's profiler reports nothing\n");
        return 1;
    }

    std::mt19937 random(2026);
    std::uniform_int_distribution<int> gap(90, 170);
    const std::int64_t end = MonotonicMicros() + static_cast<std::int64_t>(seconds) * 1000000;
    while (MonotonicMicros() < end) {
        const std::array<std::uint8_t, 3> on{0x99, StrikeNote, 127};
        {
            std::lock_guard lock(strikes.Mutex);
            strikes.Stamps.push_back(MonotonicMicros());
        }
        synth->Send(on);
        std::this_thread::sleep_for(std::chrono::milliseconds(90));
        const std::array<std::uint8_t, 3> silence{0xB9, 120, 0};
        synth->Send(silence);
        std::this_thread::sleep_for(std::chrono::milliseconds(gap(random)));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const std::int64_t xruns = capture.GraphXruns() - xrunsBefore;
    const int quantum = capture.QuantumFrames();
    synth->SetProbe({});
    const std::string priority = ReportedThreadPriority(PriorityRole::Audio);
    synth.reset();
    const WakeFigures wake = machine.Stop();
    stop = true;
    for (std::thread& t : spinners)
        t.join();

    // Each strike against the first onset after it, no later than 150 ms.
    const std::vector<std::int64_t> onsets = capture.Onsets();
    std::vector<double> toSound, toRender, renderToSink;
    std::lock_guard lock(strikes.Mutex);
    std::size_t rendered = 0;
    for (const std::int64_t stamp : strikes.Stamps) {
        const auto onset = std::upper_bound(onsets.begin(), onsets.end(), stamp);
        while (rendered < strikes.Rendered.size() && strikes.Rendered[rendered] < stamp)
            ++rendered;
        if (onset == onsets.end() || *onset - stamp > 150000) continue;
        const double sink = static_cast<double>(*onset) - riseMicros;
        toSound.push_back((sink - static_cast<double>(stamp)) / 1000.0);
        if (rendered < strikes.Rendered.size()) {
            toRender.push_back(static_cast<double>(strikes.Rendered[rendered] - stamp) / 1000.0);
            renderToSink.push_back((sink - static_cast<double>(strikes.Rendered[rendered])) / 1000.0);
        }
    }
    const double p99 = Quantile(toSound, 0.99);
    const char* n = name.c_str();
    std::printf("%s_driver: %s\n", n, driver.c_str());
    std::printf("%s_render_thread: %s\n", n, priority.c_str());
    std::printf("%s_graph_quantum: %d\n", n, quantum);
    std::printf("%s_seconds: %d\n", n, seconds);
    std::printf("%s_strikes: %zu\n", n, strikes.Stamps.size());
    std::printf("%s_heard: %zu\n", n, toSound.size());
    std::printf("%s_strike_to_render_ms_p99: %.3f\n", n, Quantile(toRender, 0.99));
    std::printf("%s_render_to_sink_ms_p50: %.3f\n", n, Quantile(renderToSink, 0.5));
    std::printf("%s_server_strike_to_sound_ms_p50: %.3f\n", n, Quantile(toSound, 0.5));
    std::printf("%s_server_strike_to_sound_ms_p99: %.3f\n", n, p99);
    std::printf("%s_server_strike_to_sound_ms_max: %.3f\n", n, Quantile(toSound, 1.0));
    std::printf("%s_underruns: %lld\n", n, static_cast<long long>(xruns));
    std::printf("%s_underruns_per_10min: %.1f\n", n, static_cast<double>(xruns) * 600.0 / seconds);
    PrintWakeFigures(name, wake, {{name + "_server_strike_to_sound_ms_p99", p99}});
    std::fflush(stdout);
    return 0;
}

// What the game itself opens on this server when the player names no driver.
int ReportGamesDriver() {
    unsetenv("SDL_AUDIODRIVER");
    unsetenv("PIPEWIRE_LATENCY");
    const BuiltInSynth synth;
    std::printf("server_game_driver: %s\n", synth.AudioDriver().c_str());
    return 0;
}

template <class Body> bool InChild(const std::filesystem::path& base, Body body) {
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        if (!TakeServerEnvironment(base)) _exit(1);
        _exit(body());
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (WIFSIGNALED(status))
        std::fprintf(stderr, "bench_latency: a server case died of signal %d\n", WTERMSIG(status));
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

bool RunServerCases(const ServerCaseOptions& options) {
    char pattern[] = "/tmp/tamtara-bench-pw-XXXXXX";
    if (mkdtemp(pattern) == nullptr) return false;
    const std::filesystem::path base = pattern;
    bool started = true;
    if (Script("start", base)) {
        InChild(base, ReportGamesDriver);
        Script("stop", base);
    } else {
        started = false;
    }
    for (const std::string& driver : options.Drivers)
        for (const int period : options.Periods)
            for (const bool busy : {false, true}) {
                if (!started || (options.BusyOnly && !busy)) continue;
                const std::string name =
                    "server_" + driver + "_" + std::to_string(period) + (busy ? "_busy" : "_quiet");
                // A fresh server each time: nothing left of the case before.
                if (!Script("start", base)) {
                    started = false;
                    continue;
                }
                if (!InChild(base, [&] { return Measure(name, driver, period, busy, options.Seconds); }))
                    std::printf("%s_failed: 1\n", name.c_str());
                Script("stop", base);
            }
    std::filesystem::remove_all(base);
    if (!started) std::printf("server_cases_failed: the private PipeWire did not start\n");
    return started;
}

} // namespace tamtara::bench
