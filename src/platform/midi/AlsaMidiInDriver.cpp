// RtMidi's ALSA input as an IMidiInDriver: messages stamped on RtMidi's input thread.
#include "platform/midi/AlsaMidiInDriver.h"

#include "platform/midi/AlsaPortSystem.h"

#include <rtmidi/RtMidi.h>

#include <mutex>

#include <unistd.h>

namespace tamtara {
namespace {

constexpr const char* ClientName = "Tamtara";
constexpr const char* SequencerDevice = "/dev/snd/seq";

void IgnoreError(RtMidiError::Type, const std::string&, void*) {}

std::unique_ptr<RtMidiIn> NewClient() {
    // Without the sequencer device ALSA would print its own complaint before RtMidi throws.
    if (::access(SequencerDevice, R_OK | W_OK) != 0) return nullptr;
    try {
        auto client = std::make_unique<RtMidiIn>(RtMidi::LINUX_ALSA, ClientName);
        client->setErrorCallback(&IgnoreError, nullptr);
        return client;
    } catch (const RtMidiError&) {
        return nullptr;
    }
}

// The ports as the system lists them, and as the player sees them. The game's own output port
// is readable too, but it is no kit.
std::vector<std::string> RawNames(RtMidiIn& client) {
    std::vector<std::string> names;
    const unsigned count = client.getPortCount();
    for (unsigned i = 0; i < count; ++i)
        names.push_back(client.getPortName(i));
    return names;
}

bool OwnPort(const std::string& name) {
    return name.rfind(std::string(ClientName) + ":", 0) == 0;
}

class AlsaMidiInDriver final : public IMidiInDriver {
public:
    explicit AlsaMidiInDriver(IClock& clock) : Clock(clock), Lister(NewClient()) {}
    ~AlsaMidiInDriver() override { Close(); }

    std::vector<std::string> PortNames() override {
        std::vector<std::string> names;
        const std::lock_guard lock(ListerMutex);
        if (!Lister) return names;
        for (const std::string& raw : RawNames(*Lister))
            if (!OwnPort(raw)) names.push_back(DisplayPortName(raw));
        return names;
    }

    bool Open(const std::string& name, MidiInCallback onMessage) override {
        Close();
        std::unique_ptr<RtMidiIn> client = NewClient();
        if (!client) return false;
        const std::vector<std::string> raw = RawNames(*client);
        for (unsigned i = 0; i < raw.size(); ++i) {
            if (OwnPort(raw[i]) || (DisplayPortName(raw[i]) != name && raw[i] != name)) continue;
            Receiver = std::move(onMessage);
            client->ignoreTypes(true, true, true); // exclusive, clock, active sensing
            client->setCallback(&AlsaMidiInDriver::Incoming, this);
            try {
                client->openPort(i, "Kit");
            } catch (const RtMidiError&) {
                return false;
            }
            if (!client->isPortOpen()) return false;
            Client = std::move(client);
            PortName = name;
            return true;
        }
        return false;
    }

    void Close() override {
        if (!Client) return;
        Client->cancelCallback();
        Client->closePort();
        Client.reset();
        PortName.clear();
    }

    bool Connected() override {
        if (!Client) return false;
        for (const std::string& name : PortNames())
            if (name == PortName) return true;
        return false;
    }

private:
    static void Incoming(double, std::vector<unsigned char>* bytes, void* self) {
        auto* driver = static_cast<AlsaMidiInDriver*>(self);
        if (!bytes || bytes->empty()) return;
        MidiInMessage message;
        message.Time = driver->Clock.Now();
        message.Status = (*bytes)[0];
        if (bytes->size() > 1) message.Data1 = (*bytes)[1];
        if (bytes->size() > 2) message.Data2 = (*bytes)[2];
        if (driver->Receiver) driver->Receiver(message);
    }

    IClock& Clock;
    std::mutex ListerMutex;
    std::unique_ptr<RtMidiIn> Lister;
    std::unique_ptr<RtMidiIn> Client;
    std::string PortName;
    MidiInCallback Receiver;
};

} // namespace

std::unique_ptr<IMidiInDriver> CreateAlsaMidiInDriver(IClock& clock) {
    return std::make_unique<AlsaMidiInDriver>(clock);
}

} // namespace tamtara
