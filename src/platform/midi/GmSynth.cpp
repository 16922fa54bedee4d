// FluidSynth behind the GmSynth interface: settings, SoundFont loading and message dispatch.
#include "platform/midi/GmSynth.h"

#include "platform/midi/SoundFontLocator.h"
#include "platform/midi/SynthLog.h"

#include <fluidsynth.h>

#include <array>
#include <atomic>
#include <stdexcept>

namespace tamtara {

namespace {

// GM System On (or GM2 On) and GS Reset, without F0 and F7, for any device id.
bool IsResetMessage(std::span<const std::uint8_t> body) {
    const bool gmOn =
        body.size() == 4 && body[0] == 0x7E && body[2] == 0x09 && (body[3] == 0x01 || body[3] == 0x03);
    const bool gsReset = body.size() == 9 && body[0] == 0x41 && body[2] == 0x42 && body[3] == 0x12 &&
                         body[4] == 0x40 && body[5] == 0x00 && body[6] == 0x7F;
    return gmOn || gsReset;
}

} // namespace

struct GmSynth::Impl {
    fluid_settings_t* Settings = nullptr;
    fluid_synth_t* Synth = nullptr;
    std::string SoundFontPath;
    std::string SoundFontError;
    int SampleRate = 0;
    bool HasSoundFont = false;
    // FluidSynth 2.3 brings a killed voice back into its release phase when a note-off reaches
    // it after All Sound Off (a stopped song's crash cymbal rings on). Until a channel plays a
    // new note there is nothing to release on it, so its note-offs are dropped.
    std::array<std::atomic<bool>, 16> Silenced{};

    void SilenceAll() {
        for (std::atomic<bool>& flag : Silenced) {
            flag = true;
        }
    }

    ~Impl() {
        if (Synth != nullptr) {
            delete_fluid_synth(Synth);
        }
        if (Settings != nullptr) {
            delete_fluid_settings(Settings);
        }
    }
};

GmSynth::GmSynth(int sampleRate, const std::string& soundFontPath) : P(std::make_unique<Impl>()) {
    InstallSynthLog();
    P->SampleRate = sampleRate;
    P->Settings = new_fluid_settings();
    if (P->Settings == nullptr) {
        throw std::runtime_error("cannot create the synth settings");
    }
    fluid_settings_setnum(P->Settings, "synth.sample-rate", sampleRate);
    fluid_settings_setint(P->Settings, "synth.polyphony", Polyphony);
    // A little above FluidSynth's default of 0.2, so a sparse song is not faint, while a loud
    // dense arrangement with the bundled SoundFont still peaks about 3 dB below clipping.
    fluid_settings_setnum(P->Settings, "synth.gain", 0.3);
    // GS messages are addressed to device 0x10; with the default id FluidSynth ignores a GS Reset.
    fluid_settings_setint(P->Settings, "synth.device-id", 0x10);
    // Every message must act at once and in order, from whichever thread sends it.
    fluid_settings_setint(P->Settings, "synth.threadsafe-api", 1);
    fluid_settings_setint(P->Settings, "synth.cpu-cores", 1);
    P->Synth = new_fluid_synth(P->Settings);
    if (P->Synth == nullptr) {
        throw std::runtime_error("cannot create the synth");
    }

    P->SoundFontPath = soundFontPath.empty() ? FindGmSoundFont() : soundFontPath;
    if (P->SoundFontPath.empty()) {
        P->SoundFontError = "no General MIDI SoundFont found (install timgm6mb-soundfont or "
                            "fluid-soundfont-gm)";
    } else if (fluid_synth_sfload(P->Synth, P->SoundFontPath.c_str(), 1) == FLUID_FAILED) {
        P->SoundFontError = "cannot load the SoundFont " + P->SoundFontPath;
    } else {
        P->HasSoundFont = true;
    }
}

GmSynth::~GmSynth() = default;

bool GmSynth::HasSoundFont() const {
    return P->HasSoundFont;
}
const std::string& GmSynth::SoundFontPath() const {
    return P->SoundFontPath;
}
const std::string& GmSynth::SoundFontError() const {
    return P->SoundFontError;
}
int GmSynth::SampleRate() const {
    return P->SampleRate;
}

void GmSynth::Send(std::span<const std::uint8_t> message) {
    if (message.empty()) {
        return;
    }
    fluid_synth_t* synth = P->Synth;
    const std::uint8_t status = message[0];
    if (status == 0xF0) {
        // FluidSynth wants the bytes between F0 and F7; it handles GM System On, GS Reset and
        // GS part settings, and ignores what it does not know.
        std::size_t length = message.size() - 1;
        if (length > 0 && message.back() == 0xF7) {
            --length;
        }
        if (length > 0) {
            const std::span<const std::uint8_t> body = message.subspan(1, length);
            fluid_synth_sysex(synth, reinterpret_cast<const char*>(body.data()), static_cast<int>(length),
                              nullptr, nullptr, nullptr, 0);
            if (IsResetMessage(body)) {
                P->SilenceAll();
            }
        }
        return;
    }
    if (status == 0xFF) {
        fluid_synth_system_reset(synth);
        P->SilenceAll();
        return;
    }
    if (status < 0x80 || status >= 0xF0) {
        return; // data without status, and system messages a synth has no use for
    }
    const int channel = status & 0x0F;
    const int data1 = message.size() > 1 ? message[1] & 0x7F : 0;
    const int data2 = message.size() > 2 ? message[2] & 0x7F : 0;
    std::atomic<bool>& silenced = P->Silenced[static_cast<std::size_t>(channel)];
    const int type = status & 0xF0;
    const bool releases = type == 0x80 || (type == 0x90 && data2 == 0) || (type == 0xB0 && data1 == 123);
    if (releases && silenced) {
        return;
    }
    switch (type) {
    case 0x80:
        fluid_synth_noteoff(synth, channel, data1);
        break;
    case 0x90:
        if (data2 == 0) {
            fluid_synth_noteoff(synth, channel, data1);
        } else {
            silenced = false;
            fluid_synth_noteon(synth, channel, data1, data2);
        }
        break;
    case 0xA0:
        fluid_synth_key_pressure(synth, channel, data1, data2);
        break;
    case 0xB0:
        fluid_synth_cc(synth, channel, data1, data2);
        if (data1 == 120) {
            silenced = true;
        }
        break;
    case 0xC0:
        fluid_synth_program_change(synth, channel, data1);
        break;
    case 0xD0:
        fluid_synth_channel_pressure(synth, channel, data1);
        break;
    case 0xE0:
        fluid_synth_pitch_bend(synth, channel, data1 | (data2 << 7));
        break;
    default:
        break;
    }
}

void GmSynth::Render(std::int16_t* stereo, int frames) {
    if (frames <= 0) {
        return;
    }
    fluid_synth_write_s16(P->Synth, frames, stereo, 0, 2, stereo, 1, 2);
}

int GmSynth::Program(int channel) const {
    int soundFont = 0;
    int bank = 0;
    int program = 0;
    if (fluid_synth_get_program(P->Synth, channel, &soundFont, &bank, &program) != FLUID_OK) {
        return -1;
    }
    return program;
}

int GmSynth::Controller(int channel, int number) const {
    int value = 0;
    if (fluid_synth_get_cc(P->Synth, channel, number, &value) != FLUID_OK) {
        return -1;
    }
    return value;
}

int GmSynth::ActiveVoices() const {
    return fluid_synth_get_active_voice_count(P->Synth);
}

} // namespace tamtara
