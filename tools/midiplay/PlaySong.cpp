// midiplay's play of one song.
#include "PlaySong.h"

#include "base/Stream.h"
#include "midi/MidiDrive.h"
#include "midi/MidiOutput.h"

#include <cstdio>

namespace tamtara {

int PlaySong(IMidiOutDriver& driver, IClock& clock, const PlaySongOptions& options,
             const std::atomic<bool>& interrupted) {
    const char* path = options.Path.c_str();
    TMidiDrive drive(driver, clock);
    try {
        drive.LoadFromFile(options.Path);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "midiplay: %s: %s\n", path, error.what());
        return 1;
    }
    if (!drive.IsLoaded() || drive.Division() == 0) {
        std::fprintf(stderr, "midiplay: %s: not a playable Standard MIDI File\n", path);
        return 1;
    }
    // The file first: a song that cannot be read should not start the synth at all.
    try {
        drive.OpenOutput(options.DeviceId);
    } catch (const EmidioutputError& error) {
        std::fprintf(stderr, "midiplay: device %d: %s\n", options.DeviceId, error.what());
        return 1;
    }
    TMidiOutput& port = *drive.Output();
    if (!port.IsOpen()) {
        std::fprintf(stderr, "midiplay: cannot open device %d (%s): %s\n", options.DeviceId,
                     port.ProductName().c_str(), port.ErrorText(port.LastError()).c_str());
        return 1;
    }
    std::printf("playing %s on %s\n", path, port.ProductName().c_str());
    std::fflush(stdout);

    // Start from a known state whatever the previous song left in the device.
    PlaySetup play;
    play.Style = PlayStyle{.Loop = options.Loop, .GMReset = true, .GSReset = true};
    // Counted before the song starts: its first cycle may fail before Play has returned.
    const std::uint32_t errorsBefore = drive.ErrorCount();
    bool failed = false;
    try {
        drive.Play(play);
    } catch (const EmidioutputError& error) {
        std::fprintf(stderr, "midiplay: %s\n", error.what());
        return 1;
    }
    while (drive.IsPlaying() && !interrupted) {
        drive.ProcessCompletions();
        clock.Sleep(20);
    }
    try {
        drive.Stop();
    } catch (const EmidioutputError& error) {
        std::fprintf(stderr, "midiplay: %s\n", error.what());
        failed = true;
    }
    drive.ProcessCompletions();
    // Let the last notes ring out before the synth's stream closes.
    clock.Sleep(500);
    if (drive.ErrorCount() != errorsBefore) {
        std::fprintf(stderr, "midiplay: %s\n", drive.LastError().c_str());
        failed = true;
    }
    return failed ? 1 : 0;
}

} // namespace tamtara
