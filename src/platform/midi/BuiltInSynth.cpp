// Wiring of the GM synth into the SDL audio callback: messages reach the synth on the audio
// thread, each at its sample of the period being rendered.
#include "platform/midi/BuiltInSynth.h"

#include "base/Clock.h"
#include "midi/MidiDrive.h"
#include "midi/ThreadPriority.h"
#include "platform/midi/DesktopPriority.h"
#include "platform/midi/GmSynth.h"
#include "platform/midi/RenderThreadPriority.h"
#include "platform/midi/SdlAudioOutput.h"

#include <cstdio>

namespace tamtara {

namespace {

std::unique_ptr<GmSynth> SynthAtRate(std::future<std::unique_ptr<GmSynth>> prepared, int rate) {
    if (prepared.valid()) {
        std::unique_ptr<GmSynth> synth = prepared.get();
        if (synth->SampleRate() == rate) return synth;
    }
    return std::make_unique<GmSynth>(rate);
}

} // namespace

BuiltInSynth::BuiltInSynth(int periodFrames) : BuiltInSynth(periodFrames, {}) {}

BuiltInSynth::BuiltInSynth(int periodFrames, std::future<std::unique_ptr<GmSynth>> prepared) {
    // SDL's own audio thread asks for its priority as it starts; the thread that renders asks
    // again as it renders its first period (SDL's PipeWire backend renders on a thread of the
    // stream's, which SDL does not raise). SDL asks for real-time scheduling only through
    // RealtimeKit; without it, a process with the right (or root) still gets it directly, else
    // the best nice level.
    InstallDesktopPriority();
    RenderPriority = std::make_unique<RenderThreadPriority>([] {
        ReportThreadPriority(PriorityRole::Audio,
                             ApplyCurrentThreadPriority(ThreadPriority::TimeCritical, AudioFifoLevel));
    });
    // The device decides the rate, so the stream is opened before the synth is made for it.
    auto audio = std::make_unique<SdlAudioOutput>(WantedRate, periodFrames);
    const int rate = audio->IsOpen() ? audio->SampleRate() : WantedRate;
    Period = audio->IsOpen() ? audio->BufferFrames() : periodFrames;
    Queue = std::make_unique<TimedMessages>(
        rate, BlockFrames, static_cast<std::int64_t>(Period) * 1000000 / rate + LateToleranceMicros);
    Synth = SynthAtRate(std::move(prepared), rate);
    if (!audio->IsOpen()) {
        std::fprintf(stderr, "tamtara: %s; the built-in synth plays silently\n", audio->Error().c_str());
    } else if (!Synth->HasSoundFont()) {
        std::fprintf(stderr, "tamtara: %s; the built-in synth plays silently\n",
                     Synth->SoundFontError().c_str());
    }
    audio->Start([this](std::int16_t* stereo, int frames) { Render(stereo, frames); });
    Audio = std::move(audio);
}

BuiltInSynth::~BuiltInSynth() {
    Audio.reset();
}

std::string BuiltInSynth::AudioDriver() const {
    return Audio->IsOpen() ? Audio->DriverName() : std::string();
}

bool BuiltInSynth::IsAudible() const {
    return Audio->IsOpen() && Synth->HasSoundFont();
}

std::string BuiltInSynth::SilenceReason() const {
    if (!Audio->IsOpen()) return Audio->Error();
    if (!Audio->IsRunning()) return "the audio output device has gone";
    if (!Synth->HasSoundFont()) return Synth->SoundFontError();
    return {};
}

void BuiltInSynth::SetProbe(SynthProbe probe) {
    std::lock_guard lock(ProbeMutex);
    Probe = std::move(probe);
}

void BuiltInSynth::Render(std::int16_t* stereo, int frames) {
    RenderPriority->OnRender();
    const std::int64_t start = MonotonicMicros();
    std::lock_guard lock(ProbeMutex);
    if (Probe.Period) Probe.Period(start, frames);
    Queue->RenderPeriod(
        start, frames, [this](const TimedMessage& message, std::int64_t at) { Apply(message, at); },
        [this, &stereo](int count) {
            Synth->Render(stereo, count);
            stereo += 2 * count;
        });
}

void BuiltInSynth::Apply(const TimedMessage& message, std::int64_t sampleMicros) {
    const std::span<const std::uint8_t> bytes = message.Bytes();
    Synth->Send(bytes);
    if (Probe.Sounded && bytes.size() == 3 && (bytes[0] & 0xF0) == 0x90 && bytes[2] > 0)
        Probe.Sounded(SoundedNote{bytes[0], bytes[1], bytes[2], sampleMicros});
}

bool BuiltInSynth::Accepts() {
    // Unrendered voices never finish their release; with no stream they would pile up.
    if (!Audio->IsOpen()) {
        return false;
    }
    if (!Audio->IsRunning()) {
        if (!LostReported.exchange(true)) {
            std::fprintf(stderr, "tamtara: the audio output device has gone; the built-in synth "
                                 "plays silently\n");
        }
        return false;
    }
    return true;
}

void BuiltInSynth::Send(std::span<const std::uint8_t> message) {
    if (Accepts()) Queue->Post(message, std::nullopt);
}

void BuiltInSynth::SendAt(std::span<const std::uint8_t> message, std::int64_t dueMicros) {
    if (Accepts()) Queue->Post(message, dueMicros);
}

} // namespace tamtara
