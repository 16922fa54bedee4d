// The system driver's device list, capabilities, handles and error codes, over a fake port
// system; and the real ALSA back end where the machine has no sequencer.
#include "platform/midi/SystemMidiDriver.h"

#include "midi/MidiOutput.h"
#include "platform/midi/AlsaPortSystem.h"
#include "platform/midi/SdlAudioOutput.h"

#include <SDL.h>

#include <gtest/gtest.h>

#include <unistd.h>

#include <memory>
#include <vector>

namespace tamtara {
namespace {

// Ports that record what they are sent and can be unplugged.
struct FakePorts {
    std::vector<std::string> Names;
    std::vector<std::vector<std::uint8_t>> Sent;
    bool Unplugged = false;
};

class FakeConnection final : public IMidiPortConnection {
public:
    explicit FakeConnection(FakePorts& ports) : Ports(ports) {}
    MidiResult Send(std::span<const std::uint8_t> message) override {
        if (Ports.Unplugged) {
            return MidiError::NoDevice;
        }
        Ports.Sent.emplace_back(message.begin(), message.end());
        return MidiError::NoError;
    }

private:
    FakePorts& Ports;
};

class FakePortSystem final : public IMidiPortSystem {
public:
    explicit FakePortSystem(FakePorts& ports) : Ports(ports) {}
    std::vector<std::string> PortNames() override {
        return Ports.Unplugged ? std::vector<std::string>{} : Ports.Names;
    }
    std::unique_ptr<IMidiPortConnection> Open(std::size_t index, MidiResult& result) override {
        if (index >= PortNames().size()) {
            result = MidiError::BadDeviceId;
            return nullptr;
        }
        result = MidiError::NoError;
        return std::make_unique<FakeConnection>(Ports);
    }

private:
    FakePorts& Ports;
};

class SystemMidiDriverTest : public ::testing::Test {
protected:
    FakePorts Ports{{"Keyboard:Synth Port 20:0", "Module:In 24:1"}, {}, false};
    SystemMidiDriver Driver{std::make_unique<FakePortSystem>(Ports)};

    MidiOutCaps Caps(int id) {
        MidiOutCaps caps;
        EXPECT_EQ(Driver.GetDevCaps(id, caps), MidiError::NoError) << "device " << id;
        return caps;
    }
};

TEST_F(SystemMidiDriverTest, ListsTheSynthThenEveryPort) {
    EXPECT_EQ(Driver.DeviceCount(), 3u);
    EXPECT_EQ(Caps(MidiMapperId).ProductName, "MIDI Mapper");
    EXPECT_EQ(Caps(0).ProductName, "Tamtara GM Synth");
    EXPECT_EQ(Caps(1).ProductName, "Keyboard:Synth Port");
    EXPECT_EQ(Caps(2).ProductName, "Module:In");
}

TEST_F(SystemMidiDriverTest, CapabilitiesNameTheKindOfDevice) {
    EXPECT_EQ(Caps(MidiMapperId).Technology, MidiTechnology::Mapper);
    EXPECT_EQ(Caps(0).Technology, MidiTechnology::SoftwareSynth);
    EXPECT_EQ(Caps(0).Voices, 256);
    EXPECT_EQ(Caps(1).Technology, MidiTechnology::Port);
    EXPECT_EQ(Caps(1).ChannelMask, 0xFFFF);
}

TEST_F(SystemMidiDriverTest, BadDeviceIdsGiveErrorCodes) {
    MidiOutCaps caps;
    EXPECT_EQ(Driver.GetDevCaps(3, caps), MidiError::BadDeviceId);
    EXPECT_EQ(Driver.GetDevCaps(-2, caps), MidiError::BadDeviceId);
    MidiOutHandle handle = 99;
    EXPECT_EQ(Driver.Open(handle, 3, nullptr), MidiError::BadDeviceId);
    EXPECT_EQ(handle, 0u);
    EXPECT_EQ(Driver.Open(handle, -2, nullptr), MidiError::BadDeviceId);
    EXPECT_EQ(Driver.Open(handle, 1 << 30, nullptr), MidiError::BadDeviceId);
}

TEST_F(SystemMidiDriverTest, UnknownAndClosedHandlesAreRejected) {
    MidiLongBuffer buffer{{0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7}};
    EXPECT_EQ(Driver.ShortMsg(0, 0x90), MidiError::InvalidHandle);
    EXPECT_EQ(Driver.PrepareHeader(0, buffer), MidiError::InvalidHandle);
    EXPECT_EQ(Driver.LongMsg(12345, buffer), MidiError::InvalidHandle);
    EXPECT_EQ(Driver.Close(12345), MidiError::InvalidHandle);

    MidiOutHandle handle = 0;
    ASSERT_EQ(Driver.Open(handle, 1, nullptr), MidiError::NoError);
    ASSERT_EQ(Driver.Close(handle), MidiError::NoError);
    EXPECT_EQ(Driver.ShortMsg(handle, 0x90), MidiError::InvalidHandle);
    EXPECT_EQ(Driver.Close(handle), MidiError::InvalidHandle);
}

TEST_F(SystemMidiDriverTest, ShortMessagesReachThePortAsTheirBytes) {
    MidiOutHandle handle = 0;
    ASSERT_EQ(Driver.Open(handle, 2, nullptr), MidiError::NoError);
    EXPECT_EQ(Driver.ShortMsg(handle, 0x99 | (38 << 8) | (100 << 16)), MidiError::NoError);
    EXPECT_EQ(Driver.ShortMsg(handle, 0xC1 | (5 << 8)), MidiError::NoError);
    EXPECT_EQ(Driver.ShortMsg(handle, 0x40), MidiError::InvalidParam); // no status byte
    const std::vector<std::vector<std::uint8_t>> expected{{0x99, 38, 100}, {0xC1, 5}};
    EXPECT_EQ(Ports.Sent, expected);
}

TEST_F(SystemMidiDriverTest, LongMessageCompletesOnceTheBytesAreHandedOver) {
    std::vector<MidiLongBuffer*> done;
    MidiOutHandle handle = 0;
    ASSERT_EQ(Driver.Open(handle, 1, [&](MidiLongBuffer* b) { done.push_back(b); }), MidiError::NoError);
    MidiLongBuffer buffer{{0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7}};
    EXPECT_EQ(Driver.LongMsg(handle, buffer), MidiError::Unprepared);
    ASSERT_EQ(Driver.PrepareHeader(handle, buffer), MidiError::NoError);
    ASSERT_EQ(Driver.LongMsg(handle, buffer), MidiError::NoError);
    ASSERT_EQ(done.size(), 1u);
    EXPECT_EQ(done[0], &buffer);
    EXPECT_TRUE(buffer.Done);
    ASSERT_EQ(Ports.Sent.size(), 1u);
    EXPECT_EQ(Ports.Sent[0], buffer.Data);
    EXPECT_EQ(Driver.UnprepareHeader(handle, buffer), MidiError::NoError);
    EXPECT_FALSE(buffer.Prepared);
}

TEST_F(SystemMidiDriverTest, VanishedPortGivesNoDeviceInsteadOfCrashing) {
    MidiOutHandle handle = 0;
    ASSERT_EQ(Driver.Open(handle, 1, nullptr), MidiError::NoError);
    Ports.Unplugged = true;
    EXPECT_EQ(Driver.ShortMsg(handle, 0x90 | (60 << 8) | (100 << 16)), MidiError::NoDevice);
    MidiLongBuffer buffer{{0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7}};
    ASSERT_EQ(Driver.PrepareHeader(handle, buffer), MidiError::NoError);
    EXPECT_EQ(Driver.LongMsg(handle, buffer), MidiError::NoDevice);
    EXPECT_EQ(Driver.DeviceCount(), 1u);
    EXPECT_EQ(Driver.Close(handle), MidiError::NoError);
}

TEST_F(SystemMidiDriverTest, MapperAndSynthShareOneEngineAndOpenMoreThanOnce) {
    int completions = 0;
    MidiOutHandle mapper = 0;
    MidiOutHandle synth = 0;
    ASSERT_EQ(Driver.Open(mapper, MidiMapperId, [&](MidiLongBuffer*) { ++completions; }), MidiError::NoError);
    ASSERT_EQ(Driver.Open(synth, 0, nullptr), MidiError::NoError);
    EXPECT_NE(mapper, synth);
    EXPECT_EQ(Driver.ShortMsg(synth, 0x99 | (38 << 8) | (100 << 16)), MidiError::NoError);
    MidiLongBuffer reset{{0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7}};
    ASSERT_EQ(Driver.PrepareHeader(mapper, reset), MidiError::NoError);
    EXPECT_EQ(Driver.LongMsg(mapper, reset), MidiError::NoError);
    EXPECT_EQ(completions, 1);
    EXPECT_EQ(Driver.Close(synth), MidiError::NoError);
    EXPECT_EQ(Driver.ShortMsg(mapper, 0x80 | (38 << 8)), MidiError::NoError);
    EXPECT_EQ(Driver.Close(mapper), MidiError::NoError);
}

TEST_F(SystemMidiDriverTest, WithoutAnAudioDeviceTheSynthSaysWhyAndThePortsDoNot) {
    // A driver SDL does not have fails as a machine without a sound card does: at the start of
    // the audio subsystem, before any device.
    const char* before = SDL_getenv("SDL_AUDIODRIVER");
    const std::string saved = before ? before : "";
    SDL_setenv("SDL_AUDIODRIVER", "no-such-audio", 1);
    const std::string probed = ProbeAudioOutput();
    EXPECT_NE(probed, "");
    // The probe holds nothing open.
    EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);

    MidiOutHandle synth = 0;
    MidiOutHandle port = 0;
    ASSERT_EQ(Driver.Open(synth, MidiMapperId, nullptr), MidiError::NoError);
    ASSERT_EQ(Driver.Open(port, 1, nullptr), MidiError::NoError);
    EXPECT_EQ(Driver.SilenceReason(synth), probed);
    EXPECT_EQ(Driver.SilenceReason(port), "");
    // Messages are still taken, silently.
    EXPECT_EQ(Driver.ShortMsg(synth, 0x99 | (38 << 8) | (100 << 16)), MidiError::NoError);
    EXPECT_EQ(Driver.Close(synth), MidiError::NoError);
    EXPECT_EQ(Driver.SilenceReason(synth), "");
    EXPECT_EQ(Driver.Close(port), MidiError::NoError);
    if (before)
        SDL_setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
    else
        unsetenv("SDL_AUDIODRIVER");
}

TEST_F(SystemMidiDriverTest, ErrorTextsAreTheStandardOnes) {
    std::string text;
    std::string standard;
    ASSERT_TRUE(Driver.GetErrorText(MidiError::NoDevice, text));
    ASSERT_TRUE(StandardMidiErrorText(MidiError::NoDevice, standard));
    EXPECT_EQ(text, standard);
    EXPECT_FALSE(Driver.GetErrorText(999, text));
}

TEST_F(SystemMidiDriverTest, OutputPortFindsTheMapperByNameAndGetsCompletions) {
    TMidiOutput port(Driver);
    port.SetProductName("MIDI Mapper");
    EXPECT_EQ(port.DeviceID(), MidiMapperId);
    port.SetDeviceID(2);
    EXPECT_EQ(port.ProductName(), "Module:In");
    ASSERT_TRUE(port.Open());
    const std::uint8_t gmOn[] = {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};
    port.SendLong(gmOn, sizeof gmOn);
    EXPECT_EQ(port.ProcessCompletions(), 1);
    EXPECT_TRUE(port.Close());
}

TEST(DisplayPortName, DropsTheClientAndPortNumbers) {
    EXPECT_EQ(DisplayPortName("Midi Through:Midi Through Port-0 14:0"), "Midi Through:Midi Through Port-0");
    EXPECT_EQ(DisplayPortName("Port 2"), "Port 2");
    EXPECT_EQ(DisplayPortName("Odd 1:"), "Odd 1:");
    EXPECT_EQ(DisplayPortName(" 1:2"), "");
    EXPECT_EQ(DisplayPortName(""), "");
}

TEST(AlsaPortSystem, WithoutASequencerThereAreNoPortsAndNoMessage) {
    if (::access("/dev/snd/seq", F_OK) == 0) {
        GTEST_SKIP() << "this machine has an ALSA sequencer";
    }
    ::testing::internal::CaptureStderr();
    std::unique_ptr<IMidiPortSystem> ports = CreateAlsaPortSystem();
    EXPECT_TRUE(ports->PortNames().empty());
    MidiResult result = MidiError::NoError;
    EXPECT_EQ(ports->Open(0, result), nullptr);
    EXPECT_EQ(result, MidiError::BadDeviceId);
    SystemMidiDriver driver;
    EXPECT_EQ(driver.DeviceCount(), 1u);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

} // namespace
} // namespace tamtara
