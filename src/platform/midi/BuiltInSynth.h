// The built-in synth as the game hears it: a GmSynth rendered by an SDL audio stream. Without a
// sound card it runs silent, with one warning line, and drops what it is sent.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <span>

namespace tamtara {

class GmSynth;
class SdlAudioOutput;

class BuiltInSynth {
public:
    static constexpr int WantedRate = 48000;
    static constexpr int WantedFrames = 256; // about 5 ms at 48 kHz

    BuiltInSynth();
    ~BuiltInSynth();
    BuiltInSynth(const BuiltInSynth&) = delete;
    BuiltInSynth& operator=(const BuiltInSynth&) = delete;

    bool IsAudible() const;
    // Why nothing is heard: no audio device, a device that went away, no SoundFont; empty when
    // the synth sounds.
    std::string SilenceReason() const;
    void Send(std::span<const std::uint8_t> message);

private:
    // Destroyed in reverse order: the audio stream stops before the synth it renders goes.
    std::unique_ptr<GmSynth> Synth;
    std::unique_ptr<SdlAudioOutput> Audio;
    std::atomic<bool> LostReported{false};
};

} // namespace tamtara
