// Which of SDL's audio backends the built-in synth asks for, and the quantum it asks a PipeWire
// server for. SDL tries its PulseAudio backend before its PipeWire one, so on a desktop whose
// server is PipeWire (with its PulseAudio front) the game would play through the PulseAudio
// protocol, held at the front's 256-frame minimum; the native backend runs at the period's pace.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace tamtara {

// An environment variable's value; null when it is not set.
using EnvironmentLookup = std::function<const char*(const char* name)>;
// True when the path names a listening Unix socket.
using SocketCheck = std::function<bool(const std::string& path)>;

struct AudioBackendPlan {
    // SDL audio driver names in the order to try them; an empty name is SDL's own choice (which
    // honours the player's SDL_AUDIODRIVER). Never empty.
    std::vector<std::string> Drivers;
    // The value for PIPEWIRE_LATENCY ("128/48000"), set only where the player has not set it;
    // empty: leave it alone.
    std::string PipeWireLatency;
};

// The PipeWire server's socket as its clients find it: PIPEWIRE_REMOTE (a name, or an absolute
// path) in PIPEWIRE_RUNTIME_DIR, else XDG_RUNTIME_DIR; "pipewire-0" by default. Empty when no
// folder is known.
std::string PipeWireSocketPath(const EnvironmentLookup& environment);

// The plan for a stream of `frames` frames at `rate`: a player's own SDL_AUDIODRIVER is kept;
// else where a PipeWire server listens, its native backend first and SDL's own choice after it
// (PulseAudio, ALSA) should it fail to open; else SDL's own choice.
AudioBackendPlan PlanAudioBackend(const EnvironmentLookup& environment, const SocketCheck& isSocket,
                                  int frames, int rate);

// Opens a stream on one driver (empty: SDL's own choice); empty when it opened, else why not.
using DriverOpener = std::function<std::string(const std::string& driver)>;

// The period to play at when the player has set none: 64 frames where the plan starts with
// PipeWire's own backend (bench_latency --server: strike to sound within 6 ms at 64 frames, not
// at 128, without underruns under load), else `otherwise`.
int DefaultPeriodFrames(const AudioBackendPlan& plan, int otherwise);
inline constexpr int PipeWirePeriodFrames = 64;

// Tries the plan's drivers in order until one opens; the index of the one that did, or -1.
// `failures` gets why each one before it failed, in order.
int OpenFirstWorking(const AudioBackendPlan& plan, const DriverOpener& open,
                     std::vector<std::string>& failures);

// The file system's answer: a socket at the path that takes a connection.
bool IsListeningSocket(const std::string& path);

} // namespace tamtara
