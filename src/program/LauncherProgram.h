// The program's run from the launcher's first show to the game window's close (no Qt in this
// header: the program entry includes it).
#pragma once

#include "app/MainForm.h"
#include "midi/MidiDriver.h"
#include "midi/MidiInDriver.h"
#include "settings/GamePaths.h"
#include "settings/SoundFonts.h"

#include <functional>
#include <future>
#include <iosfwd>
#include <memory>
#include <string>

namespace tamtara {

struct LauncherStart {
    // Every folder and file the game uses, as DecideGamePaths chose them.
    GamePaths Paths;
    std::string IniPath;
    IMidiOutDriver* MidiDriver = nullptr;
    // The kit's input ports, for the launcher's input combo and learning.
    IMidiInDriver* MidiInDriver = nullptr;
    // The SoundFonts installed, best first.
    std::vector<SoundFontFile> SoundFonts;
    // False: the built-in synth has no General MIDI SoundFont and would play nothing.
    bool SoundFontFound = true;
    // Why the built-in synth cannot be heard, once known (empty: it can); the launcher waits
    // for it before its first show.
    std::future<std::string> AudioProblem;
    // The built-in synth's frames per period, and the priority a time-critical thread obtains
    // (ApplyCurrentThreadPriority's words), for the settings page.
    int SynthPeriodFrames = 0;
    std::future<std::string> SynthPriority;
    // SDL's audio driver the probe behind AudioProblem opened on; read once that is ready.
    std::string SynthAudioDriver;
    // Where the steps from Start to the first frame are timed; null: nowhere.
    std::ostream* StartTimes = nullptr;
    // Creates the game window (FormCreate); may raise EGameStartError.
    std::function<std::unique_ptr<TMainForm>()> CreateGameWindow;
};

// Starts the toolkit, shows the launcher and runs until it has closed; the process's exit code.
// Raises what the game window's creation raises.
int RunLauncher(int& argc, char** argv, LauncherStart& start);

} // namespace tamtara
