// bench_midi: how late the sequencer sends on the real clock (idle and with the other core busy),
// how fast the reader parses, and the built-in synth's cost.
#include "midi/MidiDrive.h"
#include "midi/SmfReader.h"
#include "midi/ThreadPriority.h"

#include "base/Stream.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "StampingMidiDriver.h"
#include "SynthCost.h"
#include "WakeProbe.h"
#include "midi/SmfBuilder.h"

using namespace tamtara;
using Clock = std::chrono::steady_clock;

namespace {

using tamtara::testing::Bytes;
using tamtara::testing::PutBE;
using tamtara::testing::PutVarLen;

// tracks tracks of note-ons, one channel each, every step ticks with a per-track offset;
// the first track also carries a tempo change halfway so the tempo map matters.
Bytes DenseSong(int tracks, int division, int step, int events, bool tempoChange) {
    Bytes file{'M', 'T', 'h', 'd'};
    PutBE(file, 6, 4);
    PutBE(file, 1, 2);
    PutBE(file, static_cast<std::uint32_t>(tracks), 2);
    PutBE(file, static_cast<std::uint32_t>(division), 2);
    for (int t = 0; t < tracks; ++t) {
        Bytes ev;
        std::uint32_t tick = 0;
        if (t == 0) {
            ev.insert(ev.end(), {0x00, 0xFF, 0x51, 0x03});
            PutBE(ev, 500000, 3);
        }
        const auto status = static_cast<std::uint8_t>(0x90 + (t % 9));
        for (int k = 0; k < events; ++k) {
            const std::uint32_t at = static_cast<std::uint32_t>(k * step + t);
            if (t == 0 && tempoChange && k == events / 2) {
                PutVarLen(ev, at - tick);
                ev.insert(ev.end(), {0xFF, 0x51, 0x03});
                PutBE(ev, 400000, 3);
                tick = at;
            }
            PutVarLen(ev, at - tick);
            tick = at;
            ev.insert(ev.end(), {status, static_cast<std::uint8_t>(36 + k % 40),
                                 static_cast<std::uint8_t>(k % 2 ? 0 : 90)});
        }
        ev.insert(ev.end(), {0x00, 0xFF, 0x2F, 0x00});
        file.insert(file.end(), {'M', 'T', 'r', 'k'});
        PutBE(file, static_cast<std::uint32_t>(ev.size()), 4);
        file.insert(file.end(), ev.begin(), ev.end());
    }
    return file;
}

struct Lateness {
    double P50, P99, Max;
    // The machine's own wake-up lateness at the sequencer's priority meanwhile.
    bench::WakeFigures Probe;
};

Lateness MeasureLateness(bool busyOtherCore) {
    const int tracks = 8, division = 480, step = 60;
    const int events = 420; // 420 × 60 ticks ≈ 24 s at 120 then 150 BPM
    const Bytes file = DenseSong(tracks, division, step, events, true);

    std::atomic<bool> stopBusy{false};
    std::thread busy;
    if (busyOtherCore)
        busy = std::thread([&] {
            volatile std::uint64_t x = 0;
            while (!stopBusy.load(std::memory_order_relaxed))
                x = x + 1;
        });

    bench::WakeProbe probe([] { ApplyCurrentThreadPriority(ThreadPriority::TimeCritical); });
    bench::StampingMidiDriver driver;
    auto drive = std::make_unique<TMidiDrive>(driver, SystemClock::Instance());
    drive->OpenOutput(MidiMapperId);
    TMemoryStream stream(file);
    drive->LoadFromStream(stream);
    drive->Play();
    // Play stamps its start on the millisecond clock just before it returns.
    const auto start = Clock::now();
    while (drive->IsPlaying())
        std::this_thread::sleep_for(std::chrono::milliseconds(50));

    // The note-ons sent, per channel in order.
    std::vector<Clock::time_point> sent[16];
    for (const bench::StampedMessage& m : driver.Take())
        if ((m.Message & 0xF0) == 0x90) sent[m.Message & 0x0F].push_back(m.At);
    std::vector<double> late;
    for (int t = 0; t < tracks; ++t) {
        const TMidiTrack& track = drive->Song().Tracks[t];
        std::vector<std::int32_t> ticks;
        for (int i = 0; i < track.Count(); ++i)
            if ((track[i].Event.Status & 0xF0) == 0x90) ticks.push_back(track[i].Tick);
        const auto& sends = sent[t % 9];
        for (std::size_t k = 0; k < std::min(ticks.size(), sends.size()); ++k) {
            const double sentMs = std::chrono::duration<double, std::milli>(sends[k] - start).count();
            late.push_back(sentMs - bench::SongMs(drive->Song(), ticks[k]));
        }
    }
    drive.reset();
    const bench::WakeFigures machine = probe.Stop();
    stopBusy = true;
    if (busy.joinable()) busy.join();
    std::sort(late.begin(), late.end());
    if (late.empty()) return {0, 0, 0, machine};
    auto at = [&](double q) { return late[static_cast<std::size_t>(q * (late.size() - 1))]; };
    return {at(0.50), at(0.99), late.back(), machine};
}

template <class F> double BestSeconds(int runs, F&& f) {
    double best = 1e9;
    for (int i = 0; i < runs; ++i) {
        const auto t0 = Clock::now();
        f();
        best = std::min(best, std::chrono::duration<double>(Clock::now() - t0).count());
    }
    return best;
}

void MeasureReader() {
    const Bytes file = DenseSong(16, 480, 10, 100000, false);
    const auto path = std::filesystem::temp_directory_path() / "tamtara-bench-reader.mid";
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()), file.size());
    auto song = std::make_unique<TSongModel>();
    const double readOnly = BestSeconds(3, [&] { ReadFileBytes(path.string()); });
    const double readAndParse = BestSeconds(3, [&] { ParseSmf(ReadFileBytes(path.string()), *song); });
    std::filesystem::remove(path);
    std::printf("reader_mb_per_s: %.1f\n", file.size() / 1e6 / readAndParse);
    std::printf("reader_vs_read_ratio: %.2f\n", readAndParse / readOnly);
}

} // namespace

int main() {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const Lateness idle = MeasureLateness(false);
    std::printf("lateness_p50_ms: %.3f\nlateness_p99_ms: %.3f\nlateness_max_ms: %.3f\n", idle.P50, idle.P99,
                idle.Max);
    bench::PrintWakeFigures("lateness", idle.Probe, {{"lateness_p99", idle.P99}});
    const Lateness busy = MeasureLateness(true);
    std::printf("lateness_busy_p50_ms: %.3f\nlateness_busy_p99_ms: %.3f\nlateness_busy_max_ms: %.3f\n",
                busy.P50, busy.P99, busy.Max);
    bench::PrintWakeFigures("lateness_busy", busy.Probe, {{"lateness_busy_p99", busy.P99}});
    MeasureReader();
    std::printf("synth_cpu_s_per_audio_s: %.3f\n", tamtara::bench::SynthCpuSecondsPerAudioSecond());
    return 0;
}
