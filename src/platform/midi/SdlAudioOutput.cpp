// SDL2 audio device handling for the built-in synth.
#include "platform/midi/SdlAudioOutput.h"

#include <SDL.h>
#include <alsa/asoundlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <vector>

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

std::mutex OwnLatencyMutex;
// The PIPEWIRE_LATENCY this process set itself: a later stream with another period replaces it,
// while a player's own value is never touched.
std::string OwnLatency;

const char* EnvironmentBesideOwnLatency(const char* name) {
    std::lock_guard lock(OwnLatencyMutex);
    const char* value = std::getenv(name);
    if (value != nullptr && std::strcmp(name, "PIPEWIRE_LATENCY") == 0 && OwnLatency == value) return nullptr;
    return value;
}

void AskPipeWireLatency(const std::string& latency) {
    if (latency.empty()) return;
    std::lock_guard lock(OwnLatencyMutex);
    // Read by every PipeWire stream as it is made.
    setenv("PIPEWIRE_LATENCY", latency.c_str(), 1);
    OwnLatency = latency;
}

} // namespace

SdlAudioOutput::SdlAudioOutput(int wantedRate, int wantedFrames)
    : SdlAudioOutput(
          wantedRate, wantedFrames,
          PlanAudioBackend(&EnvironmentBesideOwnLatency, &IsListeningSocket, wantedFrames, wantedRate)) {}

SdlAudioOutput::SdlAudioOutput(int wantedRate, int wantedFrames, const AudioBackendPlan& plan) {
    const QuietAlsa quiet;
    AskPipeWireLatency(plan.PipeWireLatency);
    std::vector<std::string> failures;
    const int opened = OpenFirstWorking(
        plan, [&](const std::string& driver) { return OpenOn(driver, wantedRate, wantedFrames); }, failures);
    if (opened < 0) {
        // The last try is SDL's own choice: its reason is the one a player can act on.
        ErrorText = failures.empty() ? std::string("no audio output device") : failures.back();
    } else if (opened > 0) {
        std::fprintf(stderr, "tamtara: %s; the built-in synth plays through SDL's %s output\n",
                     failures.front().c_str(), Driver.c_str());
    }
}

std::string SdlAudioOutput::OpenOn(const std::string& driver, int wantedRate, int wantedFrames) {
    if (!driver.empty()) {
        // SDL audio that is already running keeps the driver it started on.
        if (SDL_WasInit(SDL_INIT_AUDIO) != 0) {
            const char* running = SDL_GetCurrentAudioDriver();
            if (running == nullptr || driver != running)
                return "SDL audio already runs on " + std::string(running ? running : "nothing");
        }
        // A hint gives way to the player's SDL_AUDIODRIVER, should one be set meanwhile.
        SDL_SetHint(SDL_HINT_AUDIODRIVER, driver.c_str());
    }
    const int started = SDL_InitSubSystem(SDL_INIT_AUDIO);
    if (!driver.empty()) SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    if (started != 0) {
        return (driver.empty() ? std::string("cannot start SDL audio: ")
                               : "cannot start SDL's " + driver + " audio: ") +
               SDL_GetError();
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
        std::string why =
            (driver.empty() ? std::string("no audio output device: ") : "no " + driver + " audio output: ") +
            SDL_GetError();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        SubsystemUp = false;
        Driver.clear();
        return why;
    }
    Rate = obtained.freq;
    Frames = obtained.samples;
    return {};
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

std::string ProbeAudioOutput(std::string* driver) {
    const SdlAudioOutput probe(48000, 256);
    if (driver != nullptr) *driver = probe.DriverName();
    return probe.Error();
}

int DesktopDefaultPeriodFrames(int otherwise) {
    return DefaultPeriodFrames(
        PlanAudioBackend(&EnvironmentBesideOwnLatency, &IsListeningSocket, otherwise, 48000), otherwise);
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
