// The built-in General MIDI synthesizer: FluidSynth with a GM SoundFont, fed raw MIDI messages
// and rendered on demand, so one engine serves the audio callback, the tests and the benchmark.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace tamtara {

class GmSynth {
public:
    // Loads the SoundFont at soundFontPath (FindGmSoundFont() when empty). Without a usable
    // SoundFont the synth still accepts messages and renders silence; SoundFontError() says why.
    explicit GmSynth(int sampleRate = 48000, const std::string& soundFontPath = {});
    ~GmSynth();
    GmSynth(const GmSynth&) = delete;
    GmSynth& operator=(const GmSynth&) = delete;

    bool HasSoundFont() const;
    const std::string& SoundFontPath() const;
    const std::string& SoundFontError() const;
    int SampleRate() const;

    // One whole message: a short message (status byte first) or an exclusive message F0 … F7.
    // GM System On and GS Reset reset every channel's program and controllers. Safe to call
    // from any thread while another renders.
    void Send(std::span<const std::uint8_t> message);
    // Interleaved stereo S16 into stereo[0 .. frames*2).
    void Render(std::int16_t* stereo, int frames);

    // Current state, for checks: the program of a channel (-1 when none) and a controller value.
    int Program(int channel) const;
    int Controller(int channel, int number) const;
    int ActiveVoices() const;

    static constexpr int Polyphony = 256;

private:
    struct Impl;
    std::unique_ptr<Impl> P;
};

} // namespace tamtara
