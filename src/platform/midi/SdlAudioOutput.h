// An SDL2 audio stream (S16 stereo, small buffer) that pulls its samples from a render function
// on SDL's audio thread. It initialises only SDL's audio subsystem, reference-counted, so it
// coexists with display code that initialises video.
#pragma once

#include "platform/midi/AudioBackendChoice.h"

#include <cstdint>
#include <functional>
#include <string>

namespace tamtara {

// Opens the default output device as the synth would and closes it at once: empty when it
// opens, else why not; `driver`, when given, gets SDL's audio driver that opened it. Holds
// nothing open afterwards.
std::string ProbeAudioOutput(std::string* driver = nullptr);

// The period the built-in synth plays at on this desktop when the player has set none.
int DesktopDefaultPeriodFrames(int otherwise);

class SdlAudioOutput {
public:
    // Called on the audio thread: fill stereo[0 .. frames*2) with interleaved samples.
    using RenderFunction = std::function<void(std::int16_t* stereo, int frames)>;

    // Opens the default output device, paused, on the backend PlanAudioBackend chooses for this
    // process. When there is none (no sound card), the stream stays closed: IsOpen() is false and
    // Error() says why; nothing is thrown.
    SdlAudioOutput(int wantedRate, int wantedFrames);
    // The same on the given plan's backends, the first that opens.
    SdlAudioOutput(int wantedRate, int wantedFrames, const AudioBackendPlan& plan);
    ~SdlAudioOutput();
    SdlAudioOutput(const SdlAudioOutput&) = delete;
    SdlAudioOutput& operator=(const SdlAudioOutput&) = delete;

    bool IsOpen() const { return Device != 0; }
    // False once an open device has stopped, e.g. because it was unplugged.
    bool IsRunning() const;
    const std::string& Error() const { return ErrorText; }
    int SampleRate() const { return Rate; }
    int BufferFrames() const { return Frames; }
    const std::string& DriverName() const { return Driver; }

    // Installs the render function and starts the stream; the function must stay valid until
    // this object is destroyed.
    void Start(RenderFunction render);

private:
    static void Callback(void* user, std::uint8_t* stream, int bytes);
    // Starts SDL audio on the driver (empty: SDL's own choice) and opens the device; empty when
    // it opened, else why not, with SDL audio stopped again.
    std::string OpenOn(const std::string& driver, int wantedRate, int wantedFrames);

    std::uint32_t Device = 0;
    bool SubsystemUp = false;
    int Rate = 0;
    int Frames = 0;
    std::string Driver;
    std::string ErrorText;
    RenderFunction Render;
};

} // namespace tamtara
