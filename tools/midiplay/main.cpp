// midiplay [--list] [--device N] [--loop] FILE: plays a song through the sequencer until it
// ends (or Ctrl+C), so the drivers can be heard and recorded outside the game.
#include "DeviceList.h"

#include "base/Clock.h"
#include "base/Stream.h"
#include "midi/MidiDrive.h"
#include "midi/MidiOutput.h"
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

int Play(tamtara::IMidiOutDriver& driver, int deviceId, bool loop, const std::string& path) {
    using namespace tamtara;
    TMidiDrive drive(driver, SystemClock::Instance());
    try {
        drive.LoadFromFile(path);
    } catch (const EStreamError& error) {
        std::fprintf(stderr, "midiplay: %s: %s\n", path.c_str(), error.what());
        return 1;
    }
    if (!drive.Loaded || drive.Division == 0) {
        std::fprintf(stderr, "midiplay: %s: not a playable Standard MIDI File\n", path.c_str());
        return 1;
    }
    // The file first: a song that cannot be read should not start the synth at all.
    try {
        drive.OpenOutput(deviceId);
    } catch (const EmidioutputError& error) {
        std::fprintf(stderr, "midiplay: device %d: %s\n", deviceId, error.what());
        return 1;
    }
    TMidiOutput& port = *drive.Output();
    if (!port.IsOpen()) {
        std::fprintf(stderr, "midiplay: cannot open device %d (%s): %s\n", deviceId,
                     port.ProductName().c_str(), port.ErrorText(port.LastError()).c_str());
        return 1;
    }
    std::printf("playing %s on %s\n", path.c_str(), port.ProductName().c_str());
    std::fflush(stdout);

    drive.LoopPlay = loop;
    // Start from a known state whatever the previous song left in the device.
    drive.GMResetOnPlay = true;
    drive.GSResetOnPlay = true;
    try {
        drive.Play();
    } catch (const EmidioutputError& error) {
        std::fprintf(stderr, "midiplay: %s\n", error.what());
        return 1;
    }
    const std::uint32_t errorsBefore = drive.ErrorCount();
    while (drive.Playing && !Interrupted) {
        drive.ProcessCompletions();
        SystemClock::Instance().Sleep(20);
    }
    try {
        drive.Stop();
    } catch (const EmidioutputError& error) {
        std::fprintf(stderr, "midiplay: %s\n", error.what());
    }
    drive.ProcessCompletions();
    // Let the last notes ring out before the synth's stream closes.
    SystemClock::Instance().Sleep(500);
    if (drive.ErrorCount() != errorsBefore) {
        std::fprintf(stderr, "midiplay: %s\n", drive.LastError().c_str());
        return 1;
    }
    return 0;
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
    return Play(driver, deviceId, loop, path);
}
