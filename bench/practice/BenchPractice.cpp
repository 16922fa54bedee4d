// bench_practice: the practice timeline on the real clock and the sequencer's own thread, each
// figure the time a message was sent against the time it was due, worked out here from the
// tempo map:
//   tempo_end_error_ms        the song's last note at 50, 73, 125 and 200 % (the worst; each too)
//   loop_seam_error_ms_p99    the loop's first note on each of 50 passes
//   wait_resume_latency_ms_p99 a strike releasing a hold to the next message sent
//   click_error_ms_p99        count-in and metronome clicks under tempo and meter changes
#include "midi/BarMap.h"
#include "midi/MidiDrive.h"
#include "midi/SongEnd.h"

#include "base/Stream.h"

#include "StampingMidiDriver.h"
#include "midi/SmfBuilder.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

using namespace tamtara;
using tamtara::bench::SongMs;
using tamtara::bench::StampedMessage;
using Steady = std::chrono::steady_clock;

namespace {

using tamtara::testing::Bytes;
using tamtara::testing::PutBE;
using tamtara::testing::PutVarLen;

double SteadyMs(Steady::time_point t) {
    return std::chrono::duration<double, std::milli>(t.time_since_epoch()).count();
}

// One track's events at absolute ticks, written with their deltas.
struct TrackWriter {
    Bytes Events;
    std::uint32_t Tick = 0;
    void At(std::uint32_t tick, std::initializer_list<std::uint8_t> bytes) {
        PutVarLen(Events, tick - Tick);
        Tick = tick;
        Events.insert(Events.end(), bytes);
    }
    void Tempo(std::uint32_t tick, std::uint32_t bpm) {
        const std::uint32_t us = 60000000 / bpm;
        At(tick, {0xFF, 0x51, 0x03, static_cast<std::uint8_t>(us >> 16), static_cast<std::uint8_t>(us >> 8),
                  static_cast<std::uint8_t>(us)});
    }
    void Meter(std::uint32_t tick, std::uint8_t numerator, std::uint8_t power) {
        At(tick, {0xFF, 0x58, 0x04, numerator, power, 24, 8});
    }
};

Bytes Smf(const std::vector<TrackWriter>& tracks) {
    Bytes file{'M', 'T', 'h', 'd'};
    PutBE(file, 6, 4);
    PutBE(file, 1, 2);
    PutBE(file, static_cast<std::uint32_t>(tracks.size()), 2);
    PutBE(file, 480, 2);
    for (const TrackWriter& t : tracks) {
        Bytes ev = t.Events;
        ev.insert(ev.end(), {0x00, 0xFF, 0x2F, 0x00});
        file.insert(file.end(), {'M', 'T', 'r', 'k'});
        PutBE(file, static_cast<std::uint32_t>(ev.size()), 4);
        file.insert(file.end(), ev.begin(), ev.end());
    }
    return file;
}

// A drive on the real clock and its own thread, loaded with a song and started with a plan.
struct Session {
    bench::StampingMidiDriver Driver;
    std::unique_ptr<TMidiDrive> Drive = std::make_unique<TMidiDrive>(Driver, SystemClock::Instance());
    double StartMs = 0; // the steady time the timeline counts from

    Session(const Bytes& song, const PracticePlan& plan,
            const std::function<void(TMidiDrive&, PlaySetup&)>& configure = {}) {
        Drive->OpenOutput(MidiMapperId);
        TMemoryStream stream(song);
        Drive->LoadFromStream(stream);
        PlaySetup options;
        options.Practice = plan;
        if (configure) configure(*Drive, options);
        auto lock = Drive->ScopedLock();
        Drive->Play(options);
        Driver.Take();
        // Play stamps its start on the millisecond clock: the same count as the steady clock's.
        const double now = SteadyMs(Steady::now());
        const auto wrapped = static_cast<std::uint32_t>(static_cast<std::uint64_t>(now));
        StartMs = std::floor(now) - static_cast<double>(wrapped - Drive->LastCycleTime());
    }
    void WaitForEnd(double seconds) {
        const auto until = Steady::now() + std::chrono::duration<double>(seconds);
        while (Drive->IsPlaying() && Steady::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
};

double Percentile(std::vector<double> values, double q) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(q * (values.size() - 1))];
}

// A 6 s song: 3 s at 120, 3 s at 90 BPM after a change, one note through it.
void TempoEnd() {
    TrackWriter t;
    t.Tempo(0, 120);
    t.At(0, {0x90, 60, 100});
    t.Tempo(2880, 90);
    t.At(2880 + 2160, {0x80, 60, 0});
    const Bytes song = Smf({t});
    double worst = 0;
    for (double scale : {0.5, 0.73, 1.25, 2.0}) {
        PracticePlan plan;
        plan.TempoScale = scale;
        Session s(song, plan);
        s.WaitForEnd(20);
        double error = 1e9;
        for (const StampedMessage& m : s.Driver.Take())
            if (m.Message == 0x3C80) error = std::abs(SteadyMs(m.At) - s.StartMs - 6000.0 / scale);
        worst = std::max(worst, error);
        std::printf("tempo_end_error_ms_%d: %.3f\n", static_cast<int>(std::lround(scale * 100)), error);
    }
    std::printf("tempo_end_error_ms: %.3f\n", worst);
}

// A one-beat loop at 240 BPM played at 80 %: 50 passes of 312.5 ms.
void LoopSeam() {
    TrackWriter t;
    t.Tempo(0, 240);
    for (std::uint8_t k = 0; k < 8; ++k) {
        t.At(k * 240u, {0x90, static_cast<std::uint8_t>(60 + k), 100});
        t.At(k * 240u + 200, {0x80, static_cast<std::uint8_t>(60 + k), 0});
    }
    const Bytes song = Smf({t});
    PracticePlan plan;
    plan.TempoScale = 0.8;
    plan.LoopFromTick = 960;
    plan.LoopToTick = 1440;
    std::atomic<int> passes{0};
    Session s(song, plan,
              [&](TMidiDrive&, PlaySetup& options) { options.OnLoopEnd = [&](TMidiDrive&) { ++passes; }; });
    while (passes < 50)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    s.Drive->Stop();
    const double length = SongMs(s.Drive->Song(), 1440) - SongMs(s.Drive->Song(), 960);
    std::vector<double> errors;
    int pass = 0;
    for (const StampedMessage& m : s.Driver.Take())
        if (m.Message == (0x90u | 64u << 8 | 100u << 16) && pass < 50)
            errors.push_back(std::abs(SteadyMs(m.At) - s.StartMs - pass++ * length / 0.8));
    std::printf("loop_seam_error_ms_p99: %.3f\n", Percentile(errors, 0.99));
}

// A drum note on every eighth at 240 BPM, each held until a strike 5 to 20 ms later; a bass
// note on the same tick is the message the strike lets through.
void WaitResume() {
    TrackWriter drums, bass;
    drums.Tempo(0, 240);
    const int holds = 60;
    for (int k = 0; k < holds; ++k) {
        const auto tick = static_cast<std::uint32_t>(480 + k * 240);
        drums.At(tick, {0x99, 38, 100});
        bass.At(tick, {0x90, 40, 100});
        bass.At(tick + 100, {0x80, 40, 0});
    }
    const Bytes song = Smf({drums, bass});
    std::vector<double> strikes;
    Session s(song, PracticePlan{}, [](TMidiDrive& drive, PlaySetup& options) {
        options.Style.AnnounceNotes = true;
        drive.Hooks.DrumNote = [](const SequencerEvent*) {};
        options.HoldsAt = [](const SequencerEvent&) { return true; };
    });
    std::mt19937 random(7);
    std::uniform_int_distribution<int> delay(5, 20);
    while (s.Drive->IsPlaying() && static_cast<int>(strikes.size()) < holds) {
        if (!s.Drive->IsHolding()) {
            std::this_thread::sleep_for(std::chrono::microseconds(200));
            continue;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(delay(random)));
        strikes.push_back(SteadyMs(Steady::now()));
        s.Drive->ReleaseHold();
    }
    s.WaitForEnd(5);
    const std::vector<StampedMessage> sent = s.Driver.Take();
    std::vector<double> latency;
    for (double strike : strikes) {
        const auto next = std::find_if(sent.begin(), sent.end(),
                                       [&](const StampedMessage& m) { return SteadyMs(m.At) >= strike; });
        if (next != sent.end()) latency.push_back(SteadyMs(next->At) - strike);
    }
    std::printf("wait_resume_latency_ms_p99: %.3f\n", Percentile(latency, 0.99));
}

// Two bars of count-in and the metronome through tempo changes every bar and a 3/4 section.
void Clicks() {
    TrackWriter t;
    const std::uint32_t bpm[] = {120, 150, 97, 180, 133, 88};
    std::uint32_t tick = 0;
    for (int bar = 0; bar < 6; ++bar) {
        if (bar == 3) t.Meter(tick, 3, 2);
        t.Tempo(tick, bpm[bar]);
        tick += bar < 3 ? 1920 : 1440;
    }
    t.At(tick, {0x80, 1, 0});
    const Bytes song = Smf({t});
    PracticePlan plan;
    plan.TempoScale = 0.9;
    plan.CountInBars = 2;
    plan.Metronome = true;
    Session s(song, plan);
    s.WaitForEnd(20);
    const BarMap bars = BarMap::FromSong(s.Drive->Song(), SongEndTick(s.Drive->Song()));
    std::vector<double> due;
    for (std::int32_t beat = -2 * 1920; beat < 0; beat += 480)
        due.push_back(SongMs(s.Drive->Song(), beat));
    for (std::int32_t beat = 0; beat < static_cast<std::int32_t>(tick);)
        due.push_back(SongMs(s.Drive->Song(), beat)), beat = bars.BeatAtOrAfter(beat + 1).Tick;
    const double lead = -SongMs(s.Drive->Song(), -2 * 1920);
    std::vector<double> errors;
    std::size_t k = 0;
    for (const StampedMessage& m : s.Driver.Take())
        if ((m.Message & 0xFF) == 0x99 && k < due.size())
            errors.push_back(std::abs(SteadyMs(m.At) - s.StartMs - (due[k++] + lead) / 0.9));
    if (k != due.size()) std::printf("click_count_mismatch: %zu of %zu\n", k, due.size());
    std::printf("click_error_ms_p99: %.3f\n", Percentile(errors, 0.99));
}

} // namespace

int main() {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    TempoEnd();
    LoopSeam();
    WaitResume();
    Clicks();
    return 0;
}
