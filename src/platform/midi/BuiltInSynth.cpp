// Wiring of the GM synth into the SDL audio callback.
#include "platform/midi/BuiltInSynth.h"

#include "platform/midi/GmSynth.h"
#include "platform/midi/SdlAudioOutput.h"

#include <cstdio>

namespace tamtara {

BuiltInSynth::BuiltInSynth() {
    // The device decides the rate, so the stream is opened before the synth is made for it.
    auto audio = std::make_unique<SdlAudioOutput>(WantedRate, WantedFrames);
    const int rate = audio->IsOpen() ? audio->SampleRate() : WantedRate;
    Synth = std::make_unique<GmSynth>(rate);
    if (!audio->IsOpen()) {
        std::fprintf(stderr, "tamtara: %s; the built-in synth plays silently\n", audio->Error().c_str());
    } else if (!Synth->HasSoundFont()) {
        std::fprintf(stderr, "tamtara: %s; the built-in synth plays silently\n",
                     Synth->SoundFontError().c_str());
    }
    GmSynth* synth = Synth.get();
    audio->Start([synth](std::int16_t* stereo, int frames) { synth->Render(stereo, frames); });
    Audio = std::move(audio);
}

BuiltInSynth::~BuiltInSynth() {
    Audio.reset();
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

void BuiltInSynth::Send(std::span<const std::uint8_t> message) {
    // Unrendered voices never finish their release; with no stream they would pile up.
    if (!Audio->IsOpen()) {
        return;
    }
    if (!Audio->IsRunning()) {
        if (!LostReported.exchange(true)) {
            std::fprintf(stderr, "tamtara: the audio output device has gone; the built-in synth "
                                 "plays silently\n");
        }
        return;
    }
    Synth->Send(message);
}

} // namespace tamtara
