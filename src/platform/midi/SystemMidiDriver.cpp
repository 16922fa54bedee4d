// Device numbering, handles and long-message bookkeeping of the system MIDI driver.
#include "platform/midi/SystemMidiDriver.h"

#include "platform/midi/AlsaPortSystem.h"
#include "platform/midi/BuiltInSynth.h"
#include "platform/midi/GmSynth.h"
#include "platform/midi/MidiMessageBytes.h"

#include <future>
#include <map>
#include <mutex>
#include <new>
#include <optional>
#include <stdexcept>
#include <system_error>

namespace tamtara {
namespace {

constexpr std::uint32_t DriverVersion = 0x0100;
constexpr std::uint16_t AllChannels = 0xFFFF;

// One open device: either the shared synth or a port connection.
struct OpenDevice {
    std::shared_ptr<BuiltInSynth> Synth;
    std::unique_ptr<IMidiPortConnection> Port;
    MidiDoneCallback OnDone;

    MidiResult Send(std::span<const std::uint8_t> message, std::optional<std::int64_t> due = std::nullopt) {
        if (Synth) {
            if (due)
                Synth->SendAt(message, *due);
            else
                Synth->Send(message);
            return MidiError::NoError;
        }
        return Port->Send(message);
    }
};

} // namespace

struct SystemMidiDriver::Impl {
    std::unique_ptr<IMidiPortSystem> Ports;
    std::mutex Mutex;
    std::weak_ptr<BuiltInSynth> Synth;
    std::map<MidiOutHandle, OpenDevice> Devices;
    MidiOutHandle NextHandle = 1;
    int SynthPeriod = BuiltInSynth::WantedFrames;
    // The synth being made ahead of the first open, if any.
    std::future<std::unique_ptr<GmSynth>> Preparing;

    OpenDevice* Find(MidiOutHandle handle) {
        auto it = Devices.find(handle);
        return it == Devices.end() ? nullptr : &it->second;
    }

    std::shared_ptr<BuiltInSynth> SharedSynth() {
        std::shared_ptr<BuiltInSynth> synth = Synth.lock();
        if (!synth) {
            synth = std::make_shared<BuiltInSynth>(SynthPeriod, std::move(Preparing));
            Synth = synth;
        }
        return synth;
    }
};

SystemMidiDriver::SystemMidiDriver() : SystemMidiDriver(CreateAlsaPortSystem()) {}

SystemMidiDriver::SystemMidiDriver(std::unique_ptr<IMidiPortSystem> ports) : P(std::make_unique<Impl>()) {
    P->Ports = std::move(ports);
}

SystemMidiDriver::~SystemMidiDriver() = default;

unsigned SystemMidiDriver::DeviceCount() {
    return 1 + static_cast<unsigned>(P->Ports->PortNames().size());
}

MidiResult SystemMidiDriver::GetDevCaps(int deviceId, MidiOutCaps& caps) {
    caps = MidiOutCaps{};
    caps.DriverVersion = DriverVersion;
    caps.ChannelMask = AllChannels;
    if (deviceId == MidiMapperId || deviceId == BuiltInSynthId) {
        caps.ProductName = deviceId == MidiMapperId ? MidiMapperName : BuiltInSynthName;
        caps.Technology = deviceId == MidiMapperId ? MidiTechnology::Mapper : MidiTechnology::SoftwareSynth;
        caps.Voices = GmSynth::Polyphony;
        caps.Notes = GmSynth::Polyphony;
        return MidiError::NoError;
    }
    if (deviceId < 0) {
        return MidiError::BadDeviceId;
    }
    const std::vector<std::string> names = P->Ports->PortNames();
    const auto index = static_cast<std::size_t>(deviceId - 1);
    if (index >= names.size()) {
        return MidiError::BadDeviceId;
    }
    caps.ProductName = DisplayPortName(names[index]);
    caps.Technology = MidiTechnology::Port;
    return MidiError::NoError;
}

void SystemMidiDriver::Prepare(int deviceId) {
    if (deviceId != MidiMapperId && deviceId != BuiltInSynthId) return;
    std::lock_guard lock(P->Mutex);
    if (!P->Synth.expired() || P->Preparing.valid()) return;
    try {
        P->Preparing = std::async(std::launch::async,
                                  [] { return std::make_unique<GmSynth>(BuiltInSynth::WantedRate); });
    } catch (const std::system_error&) {
        // No thread to spare: the first open makes the synth itself.
    }
}

MidiResult SystemMidiDriver::Open(MidiOutHandle& handle, int deviceId, MidiDoneCallback onDone) {
    handle = 0;
    OpenDevice device;
    device.OnDone = std::move(onDone);
    std::lock_guard lock(P->Mutex);
    if (deviceId == MidiMapperId || deviceId == BuiltInSynthId) {
        try {
            device.Synth = P->SharedSynth();
        } catch (const std::bad_alloc&) {
            return MidiError::NoMemory;
        } catch (const std::runtime_error&) {
            return MidiError::NotEnabled;
        }
    } else {
        if (deviceId < 0) {
            return MidiError::BadDeviceId;
        }
        MidiResult result = MidiError::NoError;
        device.Port = P->Ports->Open(static_cast<std::size_t>(deviceId - 1), result);
        if (!device.Port) {
            return result == MidiError::NoError ? MidiError::Error : result;
        }
    }
    handle = P->NextHandle++;
    P->Devices.emplace(handle, std::move(device));
    return MidiError::NoError;
}

MidiResult SystemMidiDriver::Close(MidiOutHandle handle) {
    OpenDevice closing;
    {
        std::lock_guard lock(P->Mutex);
        auto it = P->Devices.find(handle);
        if (it == P->Devices.end()) {
            return MidiError::InvalidHandle;
        }
        closing = std::move(it->second);
        P->Devices.erase(it);
    }
    // The last close of the synth stops its audio stream here, outside the lock.
    return MidiError::NoError;
}

MidiResult SystemMidiDriver::ShortMsg(MidiOutHandle handle, std::uint32_t message) {
    return SendShort(handle, message, std::nullopt);
}

MidiResult SystemMidiDriver::ShortMsgAt(MidiOutHandle handle, std::uint32_t message, std::int64_t dueMicros) {
    return SendShort(handle, message, dueMicros);
}

MidiResult SystemMidiDriver::SendShort(MidiOutHandle handle, std::uint32_t message,
                                       std::optional<std::int64_t> due) {
    std::lock_guard lock(P->Mutex);
    OpenDevice* device = P->Find(handle);
    if (device == nullptr) {
        return MidiError::InvalidHandle;
    }
    const ShortMessageBytes bytes = UnpackShortMessage(message);
    if (bytes.Length == 0) {
        return MidiError::InvalidParam;
    }
    return device->Send(std::span(bytes.Bytes.data(), bytes.Length), due);
}

MidiResult SystemMidiDriver::PrepareHeader(MidiOutHandle handle, MidiLongBuffer& buffer) {
    std::lock_guard lock(P->Mutex);
    if (P->Find(handle) == nullptr) {
        return MidiError::InvalidHandle;
    }
    if (buffer.Data.empty()) {
        return MidiError::InvalidParam;
    }
    buffer.Prepared = true;
    buffer.Done = false;
    return MidiError::NoError;
}

MidiResult SystemMidiDriver::LongMsg(MidiOutHandle handle, MidiLongBuffer& buffer) {
    MidiDoneCallback onDone;
    {
        std::lock_guard lock(P->Mutex);
        OpenDevice* device = P->Find(handle);
        if (device == nullptr) {
            return MidiError::InvalidHandle;
        }
        if (!buffer.Prepared) {
            return MidiError::Unprepared;
        }
        if (buffer.Data.empty()) {
            return MidiError::InvalidParam;
        }
        const MidiResult result = device->Send(buffer.Data);
        if (result != MidiError::NoError) {
            return result;
        }
        buffer.Done = true;
        onDone = device->OnDone;
    }
    // Outside the lock: the callback may well call back into the driver.
    if (onDone) {
        onDone(&buffer);
    }
    return MidiError::NoError;
}

MidiResult SystemMidiDriver::UnprepareHeader(MidiOutHandle handle, MidiLongBuffer& buffer) {
    std::lock_guard lock(P->Mutex);
    if (P->Find(handle) == nullptr) {
        return MidiError::InvalidHandle;
    }
    buffer.Prepared = false;
    return MidiError::NoError;
}

std::string SystemMidiDriver::SilenceReason(MidiOutHandle handle) {
    std::lock_guard lock(P->Mutex);
    const OpenDevice* device = P->Find(handle);
    return device && device->Synth ? device->Synth->SilenceReason() : std::string();
}

void SystemMidiDriver::SetSynthPeriod(int frames) {
    std::lock_guard lock(P->Mutex);
    P->SynthPeriod = frames;
}

std::shared_ptr<BuiltInSynth> SystemMidiDriver::OpenBuiltInSynth() {
    std::lock_guard lock(P->Mutex);
    return P->Synth.lock();
}

bool SystemMidiDriver::GetErrorText(MidiResult code, std::string& text) {
    return StandardMidiErrorText(code, text);
}

} // namespace tamtara
