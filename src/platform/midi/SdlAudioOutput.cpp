// SDL2 audio device handling for the built-in synth.
#include "platform/midi/SdlAudioOutput.h"

#include <SDL.h>
#include <alsa/asoundlib.h>

#include <cstring>

namespace tamtara {
namespace {

void IgnoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

// ALSA prints its own lines ("Unknown PCM default") when there is no sound card; our one
// warning already says so, in words a player can act on.
class QuietAlsa {
public:
    QuietAlsa() { snd_lib_error_set_handler(&IgnoreAlsaError); }
    ~QuietAlsa() { snd_lib_error_set_handler(nullptr); }
    QuietAlsa(const QuietAlsa&) = delete;
    QuietAlsa& operator=(const QuietAlsa&) = delete;
};

} // namespace

SdlAudioOutput::SdlAudioOutput(int wantedRate, int wantedFrames) {
    const QuietAlsa quiet;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        ErrorText = std::string("cannot start SDL audio: ") + SDL_GetError();
        return;
    }
    SubsystemUp = true;
    if (const char* name = SDL_GetCurrentAudioDriver()) {
        Driver = name;
    }

    SDL_AudioSpec wanted{};
    wanted.freq = wantedRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = static_cast<Uint16>(wantedFrames);
    wanted.callback = &SdlAudioOutput::Callback;
    wanted.userdata = this;
    SDL_AudioSpec obtained{};
    // Only the rate may differ: the synth renders at whatever the device runs at, while SDL
    // keeps the small buffer and the sample format we render.
    Device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
    if (Device == 0) {
        ErrorText = std::string("no audio output device: ") + SDL_GetError();
        return;
    }
    Rate = obtained.freq;
    Frames = obtained.samples;
}

SdlAudioOutput::~SdlAudioOutput() {
    if (Device != 0) {
        // Returns only once the callback has finished, so Render is not used afterwards.
        SDL_CloseAudioDevice(Device);
    }
    if (SubsystemUp) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
}

std::string ProbeAudioOutput() {
    const SdlAudioOutput probe(48000, 256);
    return probe.Error();
}

bool SdlAudioOutput::IsRunning() const {
    return Device != 0 && SDL_GetAudioDeviceStatus(Device) != SDL_AUDIO_STOPPED;
}

void SdlAudioOutput::Start(RenderFunction render) {
    if (Device == 0) {
        return;
    }
    SDL_LockAudioDevice(Device);
    Render = std::move(render);
    SDL_UnlockAudioDevice(Device);
    SDL_PauseAudioDevice(Device, 0);
}

void SdlAudioOutput::Callback(void* user, std::uint8_t* stream, int bytes) {
    auto* self = static_cast<SdlAudioOutput*>(user);
    const int frames = bytes / static_cast<int>(2 * sizeof(std::int16_t));
    if (!self->Render) {
        std::memset(stream, 0, static_cast<std::size_t>(bytes));
        return;
    }
    self->Render(reinterpret_cast<std::int16_t*>(stream), frames);
}

} // namespace tamtara
