// The program's MIDI output driver: the built-in GM synth as the mapper (-1) and as device 0,
// then every ALSA output port as devices 1, 2, …
#pragma once

#include "midi/MidiDriver.h"
#include "platform/midi/MidiPortSystem.h"

#include <memory>
#include <optional>

namespace tamtara {

class BuiltInSynth;

inline constexpr const char* MidiMapperName = "MIDI Mapper";
inline constexpr const char* BuiltInSynthName = "Tamtara GM Synth";
inline constexpr int BuiltInSynthId = 0;

// Capability values of the devices, in the classic multimedia numbering.
namespace MidiTechnology {
constexpr std::uint8_t Port = 1;
constexpr std::uint8_t Mapper = 5;
constexpr std::uint8_t SoftwareSynth = 7;
} // namespace MidiTechnology

class SystemMidiDriver final : public IMidiOutDriver {
public:
    // The real system: the built-in synth and the ALSA ports.
    SystemMidiDriver();
    // Another port system, e.g. a fake one for tests.
    explicit SystemMidiDriver(std::unique_ptr<IMidiPortSystem> ports);
    ~SystemMidiDriver() override;
    SystemMidiDriver(const SystemMidiDriver&) = delete;
    SystemMidiDriver& operator=(const SystemMidiDriver&) = delete;

    unsigned DeviceCount() override;
    MidiResult GetDevCaps(int deviceId, MidiOutCaps& caps) override;
    // The mapper and device 0 share one synth, started by the first open and stopped by the
    // last close; it may be opened any number of times.
    MidiResult Open(MidiOutHandle& handle, int deviceId, MidiDoneCallback onDone) override;
    // For the mapper and device 0 while no synth runs: makes the synth and loads its SoundFont
    // on a thread of its own, which the synth's start (the first Open) waits for.
    void Prepare(int deviceId) override;
    MidiResult Close(MidiOutHandle handle) override;
    MidiResult ShortMsg(MidiOutHandle handle, std::uint32_t message) override;
    // The built-in synth sounds it at its due time's sample; a port gets it at once.
    MidiResult ShortMsgAt(MidiOutHandle handle, std::uint32_t message, std::int64_t dueMicros) override;
    MidiResult PrepareHeader(MidiOutHandle handle, MidiLongBuffer& buffer) override;
    // The bytes are handed over at once; the completion callback runs before this returns.
    MidiResult LongMsg(MidiOutHandle handle, MidiLongBuffer& buffer) override;
    MidiResult UnprepareHeader(MidiOutHandle handle, MidiLongBuffer& buffer) override;
    bool GetErrorText(MidiResult code, std::string& text) override;
    // The built-in synth's: why its audio stream could not be opened, or has stopped.
    std::string SilenceReason(MidiOutHandle handle) override;
    // Frames per audio period of the built-in synth from its next start on.
    void SetSynthPeriod(int frames);
    // The built-in synth while some handle holds it open; null otherwise.
    std::shared_ptr<BuiltInSynth> OpenBuiltInSynth();

private:
    MidiResult SendShort(MidiOutHandle handle, std::uint32_t message, std::optional<std::int64_t> due);

    struct Impl;
    std::unique_ptr<Impl> P;
};

} // namespace tamtara
