// The MIDI output driver interface: the small set of platform operations the output port
// (TMidiOutput) is built on. Implementations: the built-in synth and ALSA ports (platform/midi)
// and a recorder for tests (tests/support/doubles).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tamtara {

// Result of a driver call; 0 is success. The values follow the classic multimedia codes so the
// error texts and tests can name them.
using MidiResult = std::uint16_t;
namespace MidiError {
constexpr MidiResult NoError = 0;
constexpr MidiResult Error = 1;         // unspecified error
constexpr MidiResult BadDeviceId = 2;   // device id out of range
constexpr MidiResult NotEnabled = 3;    // driver failed enable
constexpr MidiResult Allocated = 4;     // device already allocated
constexpr MidiResult InvalidHandle = 5; // device handle is invalid (also the null handle)
constexpr MidiResult NoDriver = 6;      // no device driver present
constexpr MidiResult NoMemory = 7;      // memory allocation error
constexpr MidiResult NotSupported = 8;  // function isn't supported
constexpr MidiResult InvalidParam = 11; // invalid parameter passed
constexpr MidiResult Unprepared = 64;   // header not prepared
constexpr MidiResult StillPlaying = 65; // header still queued
constexpr MidiResult NotReady = 67;     // hardware is still busy
constexpr MidiResult NoDevice = 68;     // port no longer connected
} // namespace MidiError

// The mapper: the default device, always present whatever the device count.
constexpr int MidiMapperId = -1;

// Capabilities of one output device.
struct MidiOutCaps {
    std::string ProductName;
    std::uint32_t DriverVersion = 0;
    std::uint8_t Technology = 0;
    std::uint16_t Voices = 0;
    std::uint16_t Notes = 0;
    std::uint16_t ChannelMask = 0;
    std::uint32_t Support = 0;
};

// One long (exclusive) message in flight: the bytes and the caller's tag. The driver sets
// Prepared and Done; the buffer must stay alive until the completion callback has run.
struct MidiLongBuffer {
    std::vector<std::uint8_t> Data;
    void* User = nullptr;
    bool Prepared = false;
    bool Done = false;
};

// Opaque handle of an open device; 0 is the null handle.
using MidiOutHandle = std::uintptr_t;

// Called by the driver, on any thread, once a long message has been played.
using MidiDoneCallback = std::function<void(MidiLongBuffer*)>;

class IMidiOutDriver {
public:
    virtual ~IMidiOutDriver() = default;

    // Numbered devices 0 .. DeviceCount()-1; the mapper (-1) comes on top of them.
    virtual unsigned DeviceCount() = 0;
    virtual MidiResult GetDevCaps(int deviceId, MidiOutCaps& caps) = 0;
    // Starts, where it can run while the caller does other work, what opening deviceId will
    // need (the built-in synth loads its SoundFont on a thread of its own); Open then waits for
    // it. Nothing is heard before Open, and Open reports what failed as it always does.
    virtual void Prepare(int deviceId) { static_cast<void>(deviceId); }
    virtual MidiResult Open(MidiOutHandle& handle, int deviceId, MidiDoneCallback onDone) = 0;
    virtual MidiResult Close(MidiOutHandle handle) = 0;
    // status | data1 << 8 | data2 << 16
    virtual MidiResult ShortMsg(MidiOutHandle handle, std::uint32_t message) = 0;
    // The same message with the moment it fell due (steady-clock microseconds, at or before
    // now): a device that renders its own sound places it at that moment's sample; the others
    // send it at once, as ShortMsg.
    virtual MidiResult ShortMsgAt(MidiOutHandle handle, std::uint32_t message, std::int64_t dueMicros) {
        static_cast<void>(dueMicros);
        return ShortMsg(handle, message);
    }
    virtual MidiResult PrepareHeader(MidiOutHandle handle, MidiLongBuffer& buffer) = 0;
    // Returns at once; completion arrives through the device's MidiDoneCallback.
    virtual MidiResult LongMsg(MidiOutHandle handle, MidiLongBuffer& buffer) = 0;
    virtual MidiResult UnprepareHeader(MidiOutHandle handle, MidiLongBuffer& buffer) = 0;
    // False when the code has no text.
    virtual bool GetErrorText(MidiResult code, std::string& text) = 0;
    // Why an open device plays nothing although it takes every message (the built-in synth
    // without an audio device); empty when it sounds.
    virtual std::string SilenceReason(MidiOutHandle) { return {}; }
};

// The texts of the codes above, shared by every driver; false for an unknown code.
bool StandardMidiErrorText(MidiResult code, std::string& text);

} // namespace tamtara
