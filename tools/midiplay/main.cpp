// midiplay [--list] [--device N] [--loop] FILE: plays a song through the sequencer until it
// ends (or Ctrl+C), so the drivers can be heard and recorded outside the game.
#include "DeviceList.h"
#include "PlaySong.h"

#include "platform/midi/SystemMidiDriver.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::atomic<bool> Interrupted{false};

void OnSignal(int) {
    Interrupted = true;
}

int Usage() {
    std::fprintf(stderr, "usage: midiplay [--list] [--device N] [--loop] FILE\n");
    return 2;
}

bool ParseDevice(const char* text, int& id) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || value < -1 || value > 0xFFFF) {
        return false;
    }
    id = static_cast<int>(value);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    bool list = false;
    bool loop = false;
    int deviceId = tamtara::BuiltInSynthId;
    std::string path;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--list") {
            list = true;
        } else if (arg == "--loop") {
            loop = true;
        } else if (arg == "--device") {
            if (i + 1 >= argc || !ParseDevice(argv[i + 1], deviceId)) {
                std::fprintf(stderr, "midiplay: --device needs a device number (-1 for the mapper)\n");
                return 2;
            }
            ++i;
        } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
            std::fprintf(stderr, "midiplay: unknown option %s\n", arg.c_str());
            return Usage();
        } else if (path.empty()) {
            path = arg;
        } else {
            return Usage();
        }
    }

    tamtara::SystemMidiDriver driver;
    if (list) {
        for (const tamtara::MidiDeviceEntry& entry : tamtara::ListMidiDevices(driver)) {
            std::printf("%3d  %s\n", entry.DeviceId, entry.Name.c_str());
        }
        if (path.empty()) {
            return 0;
        }
    }
    if (path.empty()) {
        return Usage();
    }
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    return tamtara::PlaySong(driver, tamtara::SystemClock::Instance(),
                             tamtara::PlaySongOptions{deviceId, loop, path}, Interrupted);
}
