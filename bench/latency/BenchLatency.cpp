// bench_latency: a song played by the sequencer thread through the built-in synth on SDL's audio
// thread (the dummy driver unless SDL_AUDIODRIVER says otherwise), with kit hits, key-downs of the
// key thread and key-downs of the window (the path without one) injected at random moments in
// turn and judged as the game judges them. The synth's probe gives the
// moment each note's first sample was rendered: from a strike's stamp (strike to render) and from
// a song note's due time (lateness at the synth, beyond the synth's fixed look-ahead). Each run
// happens in a child process, as root and as an unprivileged user, quiet and with two busy-loop
// threads.
//
// A probe thread at the audio thread's priority notes the machine's own wake-up lateness beside
// every case. --server adds the cases through a private PipeWire server (ServerCases.h);
// --server-only runs only those, --server-seconds N each.
//
//   bench_latency [--seconds N] [--period FRAMES] [--frame-ms MS] [--only root|user] [--busy-only]
//                 [--server | --server-only] [--server-seconds N]
#include "app/play/Judge.h"
#include "app/play/PlayState.h"
#include "base/Clock.h"
#include "base/Stream.h"
#include "midi/DrumMap.h"
#include "midi/MidiDrive.h"
#include "midi/ThreadPriority.h"
#include "platform/midi/BuiltInSynth.h"
#include "platform/midi/DesktopPriority.h"
#include "platform/midi/SystemMidiDriver.h"

#include "KeyStrikes.h"

#include "midi/SmfBuilder.h"

#include "WakeProbe.h"
#ifdef TAMTARA_SERVER_CASES
#include "ServerCases.h"
#endif

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

using namespace tamtara;

namespace {

struct Options {
    int Seconds = 20;
    int Period = BuiltInSynth::WantedFrames;
    // How long the window's thread is busy each frame: drawing takes well under a millisecond
    // (bench_play), but a present that waits for the vertical blank holds it up to 17 ms.
    int FrameMicros = 0;
    std::string Only;
    bool BusyOnly = false;
    bool Server = false;
    bool ServerOnly = false;
    int ServerSeconds = 60;
};

using tamtara::testing::Bytes;
using tamtara::testing::PutBE;
using tamtara::testing::PutVarLen;

constexpr int Division = 480;
constexpr int Channels = 4;
constexpr int StepTicks = 240;
// 120 beats per minute: ticks to microseconds.
constexpr double MicrosPerTick = 500000.0 / Division;

std::int32_t NoteTick(int channel, int k) {
    return k * StepTicks + channel * 37;
}

// Four melodic channels of short notes in eighths, each channel a little after the one before,
// at 120 beats per minute for `seconds`.
Bytes Song(int seconds) {
    const int notes = seconds * 4;
    Bytes file{'M', 'T', 'h', 'd'};
    PutBE(file, 6, 4);
    PutBE(file, 1, 2);
    PutBE(file, Channels, 2);
    PutBE(file, Division, 2);
    for (int c = 0; c < Channels; ++c) {
        Bytes ev;
        std::uint32_t tick = 0;
        if (c == 0) {
            ev.insert(ev.end(), {0x00, 0xFF, 0x51, 0x03});
            PutBE(ev, 500000, 3);
        }
        const auto on = static_cast<std::uint8_t>(0x90 + c);
        for (int k = 0; k < notes; ++k) {
            const auto at = static_cast<std::uint32_t>(NoteTick(c, k));
            PutVarLen(ev, at - tick);
            ev.insert(ev.end(), {on, static_cast<std::uint8_t>(60 + (k + c * 3) % 12), 90});
            PutVarLen(ev, 60);
            ev.insert(ev.end(), {on, static_cast<std::uint8_t>(60 + (k + c * 3) % 12), 0});
            tick = at + 60;
        }
        ev.insert(ev.end(), {0x00, 0xFF, 0x2F, 0x00});
        file.insert(file.end(), {'M', 'T', 'r', 'k'});
        PutBE(file, static_cast<std::uint32_t>(ev.size()), 4);
        file.insert(file.end(), ev.begin(), ev.end());
    }
    return file;
}

// A thread that sleeps until it is handed work, as the game's window thread waits for events
// and the kit's input thread for messages.
// The window's thread also draws a frame every 33 ms, busy for frameWork; a strike that comes
// meanwhile waits for the frame to end.
class Waiter {
public:
    Waiter(std::function<void(int lane, std::int64_t stamp)> take, std::function<void()> start,
           std::chrono::microseconds frameWork = {})
        : Take(std::move(take)), FrameWork(frameWork) {
        Worker = std::thread([this, start = std::move(start)] {
            start();
            Run();
        });
    }
    ~Waiter() {
        {
            std::lock_guard lock(Mutex);
            Done = true;
        }
        Wake.notify_one();
        Worker.join();
    }
    void Hand(int lane, std::int64_t stamp) {
        {
            std::lock_guard lock(Mutex);
            Work.emplace_back(lane, stamp);
        }
        Wake.notify_one();
    }

private:
    void Run() {
        using Clock = std::chrono::steady_clock;
        constexpr std::chrono::milliseconds framePeriod(33);
        std::unique_lock lock(Mutex);
        Clock::time_point nextFrame = Clock::now() + framePeriod;
        while (!Done) {
            // Work handed over during a frame is taken as soon as the frame ends.
            Wake.wait_until(lock, nextFrame, [this] { return Done || !Work.empty(); });
            while (!Work.empty()) {
                const auto [lane, stamp] = Work.front();
                Work.pop_front();
                lock.unlock();
                Take(lane, stamp);
                lock.lock();
            }
            if (Clock::now() < nextFrame) continue;
            nextFrame += framePeriod;
            lock.unlock();
            for (const Clock::time_point end = Clock::now() + FrameWork; Clock::now() < end;) {
            }
            lock.lock();
        }
    }

    std::function<void(int, std::int64_t)> Take;
    std::chrono::microseconds FrameWork;
    std::mutex Mutex;
    std::condition_variable Wake;
    std::deque<std::pair<int, std::int64_t>> Work;
    bool Done = false;
    std::thread Worker;
};

enum StrikeKind { PadStrike, KeyThreadStrike, WindowKeyStrike, StrikeKinds };

struct Samples {
    std::mutex Mutex;
    // Each strike's stamp, and its kind.
    std::deque<std::pair<std::int64_t, StrikeKind>> StrikeStamps;
    std::vector<double> StrikeToRender;
    std::array<std::vector<double>, StrikeKinds> KindToRender;
    std::vector<double> Lateness;
    std::array<int, Channels> NextNote{};
    std::int64_t SongStart = 0;
    std::int64_t LastPeriod = 0;
    int Underruns = 0;
    int Periods = 0;
};

double Quantile(std::vector<double> values, double q) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(q * static_cast<double>(values.size() - 1))];
}

void Measure(const Options& options, const std::string& name, bool busy) {
    // As the game does first thing: the sequencer's thread asks as soon as it starts.
    InstallDesktopPriority();
    bench::WakeProbe machine(
        [] { ApplyCurrentThreadPriority(ThreadPriority::TimeCritical, AudioFifoLevel); });
    std::atomic<bool> stop{false};
    std::vector<std::thread> spinners;
    if (busy)
        for (int i = 0; i < 2; ++i)
            spinners.emplace_back([&stop] {
                volatile std::uint64_t x = 0;
                while (!stop.load(std::memory_order_relaxed))
                    x = x + 1;
            });

    SystemMidiDriver driver;
    driver.SetSynthPeriod(options.Period);
    TMidiDrive drive(driver, SystemClock::Instance());
    drive.OpenOutput(MidiMapperId);
    const std::shared_ptr<BuiltInSynth> synth = driver.OpenBuiltInSynth();
    if (!synth || !synth->IsAudible()) {
        std::fprintf(stderr, "bench_latency: the built-in synth cannot sound: %s\n",
                     synth ? synth->SilenceReason().c_str() : "not open");
        std::exit(1);
    }
    const double periodMs = options.Period * 1000.0 / BuiltInSynth::WantedRate;
    Samples samples;
    SynthProbe probe;
    probe.Period = [&samples, periodMs](std::int64_t start, int) {
        std::lock_guard lock(samples.Mutex);
        // With two periods queued, a callback more than two periods after the last one means the
        // device ran dry.
        if (samples.LastPeriod != 0 && start - samples.LastPeriod > 2000 * periodMs) ++samples.Underruns;
        samples.LastPeriod = start;
        ++samples.Periods;
    };
    probe.Sounded = [&samples](const SoundedNote& note) {
        std::lock_guard lock(samples.Mutex);
        if (note.Status == 0x99) {
            if (samples.StrikeStamps.empty()) return;
            const auto [stamp, kind] = samples.StrikeStamps.front();
            samples.StrikeStamps.pop_front();
            const double ms = (note.SampleMicros - stamp) / 1000.0;
            samples.StrikeToRender.push_back(ms);
            samples.KindToRender[kind].push_back(ms);
            return;
        }
        const int channel = note.Status & 0x0F;
        if (channel >= Channels || samples.SongStart == 0) return;
        const int k = samples.NextNote[static_cast<std::size_t>(channel)]++;
        const double due = static_cast<double>(samples.SongStart) + NoteTick(channel, k) * MicrosPerTick;
        samples.Lateness.push_back((static_cast<double>(note.SampleMicros) - due) / 1000.0);
    };
    synth->SetProbe(probe);

    PlayState state;
    state.AutoLane.fill(false);
    Judge judge(state, drive);
    // As in play: a key is struck on the window's thread; a pad sounds on the kit's input thread,
    // which then wakes the window (lane -1 here) to grade it.
    judge.OpenStrikes(true);
    const auto onWindow = [&judge](int lane, std::int64_t stamp) {
        if (lane < 0)
            judge.GradeSounded();
        else
            judge.StrikeAt(lane, static_cast<std::uint32_t>(stamp / 1000));
    };
    // The window's thread raises itself as the game's does when it shows; the kit's input
    // thread is an ordinary one.
    Waiter window(
        onWindow, [] { ReportThreadPriority(PriorityRole::Strikes, RaiseCurrentThread()); },
        std::chrono::microseconds(options.FrameMicros));
    Waiter kitInput(
        [&judge, &window](int lane, std::int64_t stamp) {
            window.Hand(judge.StrikeFromInputThread(lane, static_cast<std::uint32_t>(stamp / 1000), 0) ? -1
                                                                                                       : lane,
                        stamp);
        },
        [] {});
    // A key sounds on the key thread, which then wakes the window to grade it, as a pad does.
    bench::BenchKeyThread keyThread(
        [&judge](int lane, std::uint32_t time) { return judge.StrikeFromInputThread(lane, time, 0); },
        [&window] { window.Hand(-1, 0); });

    const Bytes song = Song(options.Seconds);
    TMemoryStream stream(song);
    drive.LoadFromStream(stream);
    {
        // Tick 0 plays at the cycle time Play stamps; read before the sequencer moves it on.
        auto driveLock = drive.ScopedLock();
        PlaySetup setup;
        setup.Style.AnnounceNotes = true;
        drive.Play(setup);
        std::lock_guard lock(samples.Mutex);
        samples.SongStart = drive.LastCycleMicros() + synth->TimedLeadMicros();
    }

    std::mt19937 random(12345);
    std::uniform_int_distribution<int> gap(15000, 60000);
    std::uniform_int_distribution<int> lanes(1, LaneCount - 1);
    int strikes = 0;
    while (drive.IsPlaying()) {
        std::this_thread::sleep_for(std::chrono::microseconds(gap(random)));
        const int lane = lanes(random);
        const std::int64_t stamp = MonotonicMicros();
        const auto kind = static_cast<StrikeKind>(strikes++ % StrikeKinds);
        {
            std::lock_guard lock(samples.Mutex);
            samples.StrikeStamps.emplace_back(stamp, kind);
        }
        if (kind == PadStrike)
            kitInput.Hand(lane, stamp);
        else if (kind == KeyThreadStrike)
            keyThread.Hand(lane, stamp);
        else
            window.Hand(lane, stamp);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    synth->SetProbe({});
    stop = true;
    for (std::thread& t : spinners)
        t.join();

    std::lock_guard lock(samples.Mutex);
    const double queuedMs = 2 * periodMs;
    const double p99 = Quantile(samples.StrikeToRender, 0.99);
    std::printf("%s_strikes: %zu\n", name.c_str(), samples.StrikeToRender.size());
    std::printf("%s_song_lead_ms: %.3f\n", name.c_str(), synth->TimedLeadMicros() / 1000.0);
    std::printf("%s_strike_to_render_ms_p50: %.3f\n", name.c_str(), Quantile(samples.StrikeToRender, 0.5));
    std::printf("%s_strike_to_render_ms_p99: %.3f\n", name.c_str(), p99);
    const double padP99 = Quantile(samples.KindToRender[PadStrike], 0.99);
    const double keyP99 = Quantile(samples.KindToRender[KeyThreadStrike], 0.99);
    std::printf("%s_key_to_render_ms_p99: %.3f\n", name.c_str(), keyP99);
    std::printf("%s_window_key_to_render_ms_p99: %.3f\n", name.c_str(),
                Quantile(samples.KindToRender[WindowKeyStrike], 0.99));
    std::printf("%s_pad_to_render_ms_p99: %.3f\n", name.c_str(), padP99);
    std::printf("%s_key_over_pad_ms_p99: %.3f\n", name.c_str(), keyP99 - padP99);
    std::printf("%s_queued_ms: %.3f\n", name.c_str(), queuedMs);
    std::printf("%s_strike_to_sound_ms_p99: %.3f\n", name.c_str(), p99 + queuedMs);
    std::printf("%s_underruns: %d\n", name.c_str(), samples.Underruns);
    std::printf("%s_sequencer_lateness_ms_p99: %.3f\n", name.c_str(), Quantile(samples.Lateness, 0.99));
    std::printf("%s_sequencer_lateness_ms_max: %.3f\n", name.c_str(), Quantile(samples.Lateness, 1.0));
    bench::PrintWakeFigures(name, machine.Stop(),
                            {{name + "_strike_to_render_ms_p99", p99},
                             {name + "_sequencer_lateness_ms_p99", Quantile(samples.Lateness, 0.99)}});
    std::fflush(stdout);
}

// One measurement in a child process, as root or with the privileges of nobody.
void RunChild(const Options& options, bool unprivileged, bool busy) {
    const std::string name = std::string(unprivileged ? "user" : "root") + (busy ? "_busy" : "_quiet");
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        if (unprivileged &&
            (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0 || getuid() == 0)) {
            std::fprintf(stderr, "bench_latency: cannot drop privileges: %s\n", std::strerror(errno));
            _exit(1);
        }
        Measure(options, name, busy);
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) std::printf("%s_failed: 1\n", name.c_str());
}

} // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--seconds" && i + 1 < argc) options.Seconds = std::max(2, std::atoi(argv[++i]));
        if (arg == "--period" && i + 1 < argc) options.Period = std::max(16, std::atoi(argv[++i]));
        if (arg == "--only" && i + 1 < argc) options.Only = argv[++i];
        if (arg == "--busy-only") options.BusyOnly = true;
        if (arg == "--server") options.Server = true;
        if (arg == "--server-only") options.Server = options.ServerOnly = true;
        if (arg == "--server-seconds" && i + 1 < argc)
            options.ServerSeconds = std::max(5, std::atoi(argv[++i]));
        if (arg == "--frame-ms" && i + 1 < argc)
            options.FrameMicros = std::max(0, std::atoi(argv[++i]) * 1000);
    }
    if (options.Server) {
#ifdef TAMTARA_SERVER_CASES
        bench::ServerCaseOptions server;
        server.Seconds = options.ServerSeconds;
        server.BusyOnly = options.BusyOnly;
        bench::RunServerCases(server);
#else
        std::printf("server_cases_failed: built without libpipewire-0.3-dev "
                    "(bench/latency/pipewire/private-pipewire.sh install, then build again)\n");
#endif
        if (options.ServerOnly) return 0;
    }
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    std::printf("period_frames: %d\n", options.Period);
    std::printf("frame_work_ms: %.1f\n", options.FrameMicros / 1000.0);
    const bool root = geteuid() == 0;
    for (const bool unprivileged : {false, true}) {
        if (unprivileged && !root) continue;
        if (!options.Only.empty() && options.Only != (unprivileged ? "user" : "root")) continue;
        for (const bool busy : {false, true})
            if (busy || !options.BusyOnly) RunChild(options, unprivileged, busy);
    }
    return 0;
}
