// The backend rules, kept apart from SDL so they can be checked without a sound server.
#include "platform/midi/AudioBackendChoice.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace tamtara {
namespace {

bool IsSet(const char* value) {
    return value != nullptr && value[0] != '\0';
}

} // namespace

std::string PipeWireSocketPath(const EnvironmentLookup& environment) {
    const char* remote = environment("PIPEWIRE_REMOTE");
    const std::string name = IsSet(remote) ? remote : "pipewire-0";
    if (name[0] == '/') return name;
    const char* folder = environment("PIPEWIRE_RUNTIME_DIR");
    if (!IsSet(folder)) folder = environment("XDG_RUNTIME_DIR");
    if (!IsSet(folder)) return {};
    return std::string(folder) + "/" + name;
}

AudioBackendPlan PlanAudioBackend(const EnvironmentLookup& environment, const SocketCheck& isSocket,
                                  int frames, int rate) {
    AudioBackendPlan plan;
    const char* playersDriver = environment("SDL_AUDIODRIVER");
    const std::string socket = PipeWireSocketPath(environment);
    const bool pipeWire = !socket.empty() && isSocket(socket);
    if (IsSet(playersDriver) || !pipeWire) {
        plan.Drivers = {""};
    } else {
        plan.Drivers = {"pipewire", ""};
    }
    // The graph's quantum follows the smallest request; SDL's native backend asks for its buffer,
    // and the variable makes the same request for every PipeWire stream of the process.
    if (pipeWire && !IsSet(environment("PIPEWIRE_LATENCY")))
        plan.PipeWireLatency = std::to_string(frames) + "/" + std::to_string(rate);
    return plan;
}

int DefaultPeriodFrames(const AudioBackendPlan& plan, int otherwise) {
    return !plan.Drivers.empty() && plan.Drivers.front() == "pipewire" ? PipeWirePeriodFrames : otherwise;
}

int OpenFirstWorking(const AudioBackendPlan& plan, const DriverOpener& open,
                     std::vector<std::string>& failures) {
    for (std::size_t i = 0; i < plan.Drivers.size(); ++i) {
        std::string why = open(plan.Drivers[i]);
        if (why.empty()) return static_cast<int>(i);
        failures.push_back(std::move(why));
    }
    return -1;
}

bool IsListeningSocket(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || !S_ISSOCK(info.st_mode)) return false;
    // A socket left behind by a server that has gone refuses the connection.
    sockaddr_un address{};
    if (path.size() >= sizeof(address.sun_path)) return false;
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, path.size());
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    const bool answered = connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
    close(fd);
    return answered;
}

} // namespace tamtara
