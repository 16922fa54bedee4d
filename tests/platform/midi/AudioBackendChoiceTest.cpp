// Which SDL audio backend the built-in synth asks for and what quantum it asks a PipeWire server
// for: the rules on a made-up environment, and SdlAudioOutput's fallback and request on SDL's
// dummy driver. No sound server is needed.
#include "platform/midi/AudioBackendChoice.h"
#include "platform/midi/SdlAudioOutput.h"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>

namespace tamtara {
namespace {

using Variables = std::map<std::string, std::string>;

EnvironmentLookup Lookup(const Variables& variables) {
    return [&variables](const char* name) -> const char* {
        const auto it = variables.find(name);
        return it == variables.end() ? nullptr : it->second.c_str();
    };
}

SocketCheck SocketsAt(std::vector<std::string> paths) {
    return [paths = std::move(paths)](const std::string& path) {
        return std::find(paths.begin(), paths.end(), path) != paths.end();
    };
}

TEST(AudioBackendChoice, PrefersPipeWiresOwnBackendWhereItsServerListensThenSdlsOwnChoice) {
    const Variables desktop{{"XDG_RUNTIME_DIR", "/run/user/1000"}};
    const AudioBackendPlan plan =
        PlanAudioBackend(Lookup(desktop), SocketsAt({"/run/user/1000/pipewire-0"}), 128, 48000);
    EXPECT_EQ(plan.Drivers, (std::vector<std::string>{"pipewire", ""}));
    EXPECT_EQ(plan.PipeWireLatency, "128/48000");

    // The server's own variables name its socket.
    const Variables named{{"XDG_RUNTIME_DIR", "/run/user/1000"},
                          {"PIPEWIRE_RUNTIME_DIR", "/tmp/pw"},
                          {"PIPEWIRE_REMOTE", "other-0"}};
    EXPECT_EQ(PipeWireSocketPath(Lookup(named)), "/tmp/pw/other-0");
    EXPECT_EQ(PlanAudioBackend(Lookup(named), SocketsAt({"/tmp/pw/other-0"}), 64, 48000).Drivers.front(),
              "pipewire");
    const Variables absolute{{"PIPEWIRE_REMOTE", "/srv/pw.sock"}};
    EXPECT_EQ(PipeWireSocketPath(Lookup(absolute)), "/srv/pw.sock");
}

TEST(AudioBackendChoice, LeavesSdlsOwnChoiceWithoutPipeWireOrWhenThePlayerChose) {
    const Variables pulseDesktop{{"XDG_RUNTIME_DIR", "/run/user/1000"}};
    const AudioBackendPlan noServer =
        PlanAudioBackend(Lookup(pulseDesktop), SocketsAt({"/run/user/1000/pulse/native"}), 128, 48000);
    EXPECT_EQ(noServer.Drivers, (std::vector<std::string>{""}));
    EXPECT_EQ(noServer.PipeWireLatency, "");
    // No runtime folder: nothing to look for.
    EXPECT_EQ(PlanAudioBackend(Lookup({}), SocketsAt({"/pipewire-0"}), 128, 48000).Drivers,
              (std::vector<std::string>{""}));

    // A player's own SDL_AUDIODRIVER is SDL's to honour, PipeWire or not.
    const Variables chosen{{"XDG_RUNTIME_DIR", "/run/user/1000"}, {"SDL_AUDIODRIVER", "alsa"}};
    EXPECT_EQ(PlanAudioBackend(Lookup(chosen), SocketsAt({"/run/user/1000/pipewire-0"}), 128, 48000).Drivers,
              (std::vector<std::string>{""}));
}

TEST(AudioBackendChoice, AsksForTheQuantumOfThePeriodUnlessThePlayerAskedForOne) {
    const Variables desktop{{"XDG_RUNTIME_DIR", "/run/user/1000"}};
    const SocketCheck server = SocketsAt({"/run/user/1000/pipewire-0"});
    EXPECT_EQ(PlanAudioBackend(Lookup(desktop), server, 64, 48000).PipeWireLatency, "64/48000");
    EXPECT_EQ(PlanAudioBackend(Lookup(desktop), server, 256, 44100).PipeWireLatency, "256/44100");
    const Variables own{{"XDG_RUNTIME_DIR", "/run/user/1000"}, {"PIPEWIRE_LATENCY", "512/48000"}};
    EXPECT_EQ(PlanAudioBackend(Lookup(own), server, 64, 48000).PipeWireLatency, "");
}

TEST(AudioBackendChoice, PlaysAtSixtyFourFramesByDefaultOnlyThroughPipeWiresOwnBackend) {
    EXPECT_EQ(DefaultPeriodFrames(AudioBackendPlan{{"pipewire", ""}, "64/48000"}, 128), 64);
    EXPECT_EQ(DefaultPeriodFrames(AudioBackendPlan{{""}, ""}, 128), 128);
    // A player who named a driver keeps the ordinary default, whatever the server.
    const Variables chosen{{"XDG_RUNTIME_DIR", "/run/user/1000"}, {"SDL_AUDIODRIVER", "pipewire"}};
    EXPECT_EQ(
        DefaultPeriodFrames(
            PlanAudioBackend(Lookup(chosen), SocketsAt({"/run/user/1000/pipewire-0"}), 128, 48000), 128),
        128);
}

TEST(AudioBackendChoice, FallsBackInOrderAndSaysWhyEachBackendBeforeFailed) {
    const AudioBackendPlan plan{{"pipewire", ""}, ""};
    std::vector<std::string> tried;
    std::vector<std::string> failures;
    const int opened = OpenFirstWorking(
        plan,
        [&tried](const std::string& driver) -> std::string {
            tried.push_back(driver);
            return driver == "pipewire" ? "no pipewire audio output: refused" : "";
        },
        failures);
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(tried, (std::vector<std::string>{"pipewire", ""}));
    EXPECT_EQ(failures, (std::vector<std::string>{"no pipewire audio output: refused"}));

    tried.clear();
    failures.clear();
    EXPECT_EQ(OpenFirstWorking(
                  plan,
                  [&tried](const std::string& driver) -> std::string {
                      tried.push_back(driver);
                      return "";
                  },
                  failures),
              0);
    EXPECT_EQ(tried, (std::vector<std::string>{"pipewire"}));

    failures.clear();
    EXPECT_EQ(OpenFirstWorking(
                  plan, [](const std::string& d) { return "no " + d; }, failures),
              -1);
    EXPECT_EQ(failures.size(), 2u);
}

// Sets a variable for one test and puts back what was there.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : Name(name) {
        if (const char* old = std::getenv(name)) Old = old;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedVariable() {
        if (Old)
            setenv(Name.c_str(), Old->c_str(), 1);
        else
            unsetenv(Name.c_str());
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    std::string Name;
    std::optional<std::string> Old;
};

// A folder of its own holding a listening Unix socket named like PipeWire's.
class FakeServerFolder {
public:
    FakeServerFolder() {
        char pattern[] = "/tmp/tamtara-pw-XXXXXX";
        Folder = mkdtemp(pattern);
        Socket = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const std::string path = Folder + "/pipewire-0";
        path.copy(address.sun_path, path.size());
        if (bind(Socket, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0 ||
            listen(Socket, 4) != 0)
            ADD_FAILURE() << "cannot listen on " << path;
    }
    ~FakeServerFolder() {
        close(Socket);
        std::filesystem::remove_all(Folder);
    }
    FakeServerFolder(const FakeServerFolder&) = delete;
    FakeServerFolder& operator=(const FakeServerFolder&) = delete;
    // The server goes; its socket file stays behind, as after a crash.
    void StopListening() {
        close(Socket);
        Socket = -1;
    }

    std::string Folder;
    int Socket = -1;
};

TEST(AudioBackendChoice, FindsOnlyASocketThatAnswers) {
    FakeServerFolder server;
    EXPECT_TRUE(IsListeningSocket(server.Folder + "/pipewire-0"));
    EXPECT_FALSE(IsListeningSocket(server.Folder));
    EXPECT_FALSE(IsListeningSocket(server.Folder + "/missing"));
    server.StopListening();
    EXPECT_FALSE(IsListeningSocket(server.Folder + "/pipewire-0"));
}

TEST(SdlAudioOutputBackend, OpensTheNextBackendWhenTheFirstCannotStart) {
    const ScopedVariable noChoice("SDL_AUDIODRIVER", nullptr);
    {
        const SdlAudioOutput output(48000, 128, AudioBackendPlan{{"no-such-driver", "dummy"}, ""});
        ASSERT_TRUE(output.IsOpen()) << output.Error();
        EXPECT_EQ(output.DriverName(), "dummy");
        EXPECT_EQ(output.BufferFrames(), 128);
    }
    // SDL audio that runs already keeps its driver: another one is not forced on it.
    {
        const SdlAudioOutput running(48000, 128, AudioBackendPlan{{"dummy"}, ""});
        ASSERT_TRUE(running.IsOpen());
        const SdlAudioOutput second(48000, 128, AudioBackendPlan{{"disk"}, ""});
        EXPECT_FALSE(second.IsOpen());
        EXPECT_NE(second.Error().find("already runs on dummy"), std::string::npos) << second.Error();
        EXPECT_TRUE(running.IsRunning());
    }

    const SdlAudioOutput none(48000, 128, AudioBackendPlan{{"no-such-driver"}, ""});
    EXPECT_FALSE(none.IsOpen());
    EXPECT_NE(none.Error().find("no-such-driver"), std::string::npos) << none.Error();
}

TEST(SdlAudioOutputBackend, AsksPipeWireForThePeriodAndKeepsThePlayersOwnRequest) {
    FakeServerFolder server;
    const ScopedVariable runtime("XDG_RUNTIME_DIR", server.Folder.c_str());
    const ScopedVariable pipeWireRuntime("PIPEWIRE_RUNTIME_DIR", nullptr);
    const ScopedVariable remote("PIPEWIRE_REMOTE", nullptr);
    // The player's driver: opens on dummy while the fake server is there.
    const ScopedVariable driver("SDL_AUDIODRIVER", "dummy");
    const ScopedVariable latency("PIPEWIRE_LATENCY", nullptr);
    {
        const SdlAudioOutput output(48000, 64);
        EXPECT_EQ(output.DriverName(), "dummy");
        ASSERT_NE(std::getenv("PIPEWIRE_LATENCY"), nullptr);
        EXPECT_STREQ(std::getenv("PIPEWIRE_LATENCY"), "64/48000");
    }
    {
        // The game's own request follows a new period.
        const SdlAudioOutput output(48000, 128);
        EXPECT_STREQ(std::getenv("PIPEWIRE_LATENCY"), "128/48000");
    }
    setenv("PIPEWIRE_LATENCY", "333/48000", 1);
    {
        const SdlAudioOutput output(48000, 64);
        EXPECT_STREQ(std::getenv("PIPEWIRE_LATENCY"), "333/48000");
    }
}

} // namespace
} // namespace tamtara
