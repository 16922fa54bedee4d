// The built-in synth as the game hears it: a GmSynth rendered by an SDL audio stream. Without a
// sound card it runs silent, with one warning line, and drops what it is sent.
#pragma once

#include "platform/midi/TimedMessages.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

namespace tamtara {

class GmSynth;
class RenderThreadPriority;
class SdlAudioOutput;

// A note-on as the audio callback started it: its bytes and the steady-clock time of its first
// sample.
struct SoundedNote {
    std::uint8_t Status = 0;
    std::uint8_t Note = 0;
    std::uint8_t Velocity = 0;
    std::int64_t SampleMicros = 0;
};

// What a benchmark watches on the audio thread; both run inside the callback and must be quick.
struct SynthProbe {
    // Every period as its callback starts: steady-clock microseconds and the frames asked for.
    std::function<void(std::int64_t startMicros, int frames)> Period;
    std::function<void(const SoundedNote&)> Sounded;
};

class BuiltInSynth {
public:
    static constexpr int WantedRate = 48000;
    // 128 frames, about 2.7 ms at 48 kHz, two periods queued: 64 underran more often on a busy
    // two-core machine (bench_latency). [Synth] Period raises it on a weak one.
    static constexpr int WantedFrames = 128;
    // How late a message with a due time may arrive and still sound at its exact sample.
    static constexpr std::int64_t LateToleranceMicros = 3000;
    // The synth's own block: voices start on its boundaries.
    static constexpr int BlockFrames = 64;

    // With prepared: a synth being made for WantedRate on another thread (see
    // SystemMidiDriver::Prepare), taken once the audio device has opened at that rate; what its
    // making raised is raised here. Without one, or at another rate, the synth is made here.
    explicit BuiltInSynth(int periodFrames = WantedFrames);
    BuiltInSynth(int periodFrames, std::future<std::unique_ptr<GmSynth>> prepared);
    ~BuiltInSynth();
    BuiltInSynth(const BuiltInSynth&) = delete;
    BuiltInSynth& operator=(const BuiltInSynth&) = delete;

    bool IsAudible() const;
    // Why nothing is heard: no audio device, a device that went away, no SoundFont; empty when
    // the synth sounds.
    std::string SilenceReason() const;
    // At once: the message takes effect at the start of the next rendered period.
    void Send(std::span<const std::uint8_t> message);
    // At its due time on the steady clock (MonotonicMicros) plus TimedLeadMicros(), at that
    // sample of the period rendered then.
    void SendAt(std::span<const std::uint8_t> message, std::int64_t dueMicros);
    std::int64_t TimedLeadMicros() const { return Queue->LeadMicros(); }
    // The frames of one period the device asked for (the wanted ones until it opens).
    int PeriodFrames() const { return Period; }
    // SDL's audio driver that plays it ("pipewire", "pulseaudio", "alsa"); empty when closed.
    std::string AudioDriver() const;

    // Installs (or, empty, removes) the probe; waits for a running callback to finish.
    void SetProbe(SynthProbe probe);

private:
    void Render(std::int16_t* stereo, int frames);
    bool Accepts();
    void Apply(const TimedMessage& message, std::int64_t sampleMicros);

    // Destroyed in reverse order: the audio stream stops before the synth it renders goes.
    std::unique_ptr<GmSynth> Synth;
    std::unique_ptr<SdlAudioOutput> Audio;
    std::atomic<bool> LostReported{false};
    int Period = WantedFrames;
    std::unique_ptr<TimedMessages> Queue;
    std::unique_ptr<RenderThreadPriority> RenderPriority;
    SynthProbe Probe;
    std::mutex ProbeMutex;
};

} // namespace tamtara
