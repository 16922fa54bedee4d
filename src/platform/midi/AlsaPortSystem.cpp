// RtMidi's ALSA back end as an IMidiPortSystem, with every RtMidi error kept off stderr.
#include "platform/midi/AlsaPortSystem.h"

#include <rtmidi/RtMidi.h>

#include <unistd.h>

#include <cctype>
#include <chrono>
#include <mutex>

namespace tamtara {
namespace {

constexpr const char* ClientName = "Tamtara";
constexpr const char* SequencerDevice = "/dev/snd/seq";
// A vanished destination drops events without an error, so an open port checks now and then
// that its destination is still listed.
constexpr auto PresenceCheckInterval = std::chrono::milliseconds(500);

// RtMidi reports warnings through this callback instead of printing them.
void RecordError(RtMidiError::Type, const std::string&, void* user) {
    *static_cast<bool*>(user) = true;
}

std::unique_ptr<RtMidiOut> NewClient(bool& errorFlag) {
    // Without the sequencer device ALSA would print its own complaint before RtMidi throws.
    if (::access(SequencerDevice, R_OK | W_OK) != 0) {
        return nullptr;
    }
    try {
        auto client = std::make_unique<RtMidiOut>(RtMidi::LINUX_ALSA, ClientName);
        client->setErrorCallback(&RecordError, &errorFlag);
        return client;
    } catch (const RtMidiError&) {
        return nullptr;
    }
}

std::vector<std::string> ListPorts(RtMidiOut& client) {
    std::vector<std::string> names;
    const unsigned count = client.getPortCount();
    for (unsigned i = 0; i < count; ++i) {
        names.push_back(client.getPortName(i));
    }
    return names;
}

class AlsaPortConnection final : public IMidiPortConnection {
public:
    AlsaPortConnection(std::unique_ptr<bool> errorFlag, std::unique_ptr<RtMidiOut> client, std::string name)
        : ErrorFlag(std::move(errorFlag)), Client(std::move(client)), Name(std::move(name)),
          LastCheck(std::chrono::steady_clock::now()) {}

    MidiResult Send(std::span<const std::uint8_t> message) override {
        if (Gone || !StillPresent()) {
            Gone = true;
            return MidiError::NoDevice;
        }
        *ErrorFlag = false;
        try {
            Client->sendMessage(message.data(), message.size());
        } catch (const RtMidiError&) {
            *ErrorFlag = true;
        }
        if (*ErrorFlag) {
            Gone = true;
            return MidiError::NoDevice;
        }
        return MidiError::NoError;
    }

private:
    bool StillPresent() {
        const auto now = std::chrono::steady_clock::now();
        if (now - LastCheck < PresenceCheckInterval) {
            return true;
        }
        LastCheck = now;
        for (const std::string& name : ListPorts(*Client)) {
            if (name == Name) {
                return true;
            }
        }
        return false;
    }

    std::unique_ptr<bool> ErrorFlag; // outlives Client, which points at it
    std::unique_ptr<RtMidiOut> Client;
    std::string Name;
    std::chrono::steady_clock::time_point LastCheck;
    bool Gone = false;
};

class AlsaPortSystem final : public IMidiPortSystem {
public:
    AlsaPortSystem() : Lister(NewClient(ListerError)) {}

    std::vector<std::string> PortNames() override {
        if (!Lister) {
            return {};
        }
        const std::lock_guard lock(ListerMutex);
        return ListPorts(*Lister);
    }

    std::unique_ptr<IMidiPortConnection> Open(std::size_t index, MidiResult& result) override {
        const std::vector<std::string> names = PortNames();
        if (index >= names.size()) {
            result = MidiError::BadDeviceId;
            return nullptr;
        }
        auto errorFlag = std::make_unique<bool>(false);
        std::unique_ptr<RtMidiOut> client = NewClient(*errorFlag);
        if (!client) {
            result = MidiError::NoDevice;
            return nullptr;
        }
        try {
            client->openPort(static_cast<unsigned>(index), "Output");
        } catch (const RtMidiError&) {
            *errorFlag = true;
        }
        // The list may have changed since it was read; only the port that was asked for will do.
        if (*errorFlag || !client->isPortOpen() ||
            client->getPortName(static_cast<unsigned>(index)) != names[index]) {
            result = MidiError::NoDevice;
            return nullptr;
        }
        result = MidiError::NoError;
        return std::make_unique<AlsaPortConnection>(std::move(errorFlag), std::move(client), names[index]);
    }

private:
    bool ListerError = false;
    std::unique_ptr<RtMidiOut> Lister;
    // The launcher and the game may list devices from different threads; RtMidi is not
    // thread-safe.
    std::mutex ListerMutex;
};

} // namespace

std::unique_ptr<IMidiPortSystem> CreateAlsaPortSystem() {
    return std::make_unique<AlsaPortSystem>();
}

std::string DisplayPortName(const std::string& alsaName) {
    // Strip one trailing " <digits>:<digits>".
    std::size_t i = alsaName.size();
    auto skipDigits = [&] {
        const std::size_t start = i;
        while (i > 0 && std::isdigit(static_cast<unsigned char>(alsaName[i - 1]))) {
            --i;
        }
        return i < start;
    };
    if (!skipDigits() || i == 0 || alsaName[i - 1] != ':') {
        return alsaName;
    }
    --i;
    if (!skipDigits() || i == 0 || alsaName[i - 1] != ' ') {
        return alsaName;
    }
    return alsaName.substr(0, i - 1);
}

} // namespace tamtara
