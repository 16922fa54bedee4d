// The program entry: decides the game's folders, enters the data folder, then runs the launcher, which scans
// the songs and shows the game window on the real window, keyboard and MIDI output until it closes.
#include "app/MainForm.h"
#include "base/UserMessage.h"
#include "midi/MidiDrive.h"
#include "midi/ThreadPriority.h"
#include "platform/display/Presenter.h"
#include "platform/input/SdlKeySource.h"
#include "platform/input/XRawKeyReader.h"
#include "platform/midi/AlsaMidiInDriver.h"
#include "platform/midi/DesktopPriority.h"
#include "platform/midi/SdlAudioOutput.h"
#include "platform/midi/SoundFontLocator.h"
#include "platform/midi/SystemMidiDriver.h"
#include "program/LauncherProgram.h"
#include "program/ProgramFolder.h"
#include "program/SdlMessageBox.h"
#include "settings/GamePaths.h"
#include "settings/ProfileFile.h"
#include "settings/Settings.h"
#include "settings/SoundFonts.h"
#include "settings/SynthSettings.h"

#include <cstdlib>
#include <future>
#include <iostream>

namespace {

constexpr const char* ApplicationTitle = "Tamtara ";
// --trace: every screen change and every graded strike as a line on stdout, for scripts and
// bug reports.
bool TraceScreens = false;
// --start-times: the steps from Start to the game's first frame, with their times, on stderr.
bool TraceStartTimes = false;

// Without any display to talk to there is no point in starting the synth first.
bool NoDisplayAtAll() {
    return !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") && !std::getenv("QT_QPA_PLATFORM");
}

} // namespace

int main(int argc, char** argv) {
    using namespace tamtara;
    for (int i = 1; i < argc; ++i) {
        TraceScreens = TraceScreens || std::string(argv[i]) == "--trace";
        TraceStartTimes = TraceStartTimes || std::string(argv[i]) == "--start-times";
    }
    if (NoDisplayAtAll()) {
        std::cerr << "tamtara: no display available (neither DISPLAY nor WAYLAND_DISPLAY is set)"
                  << std::endl;
        return 1;
    }
    // Ctrl+C in the terminal ends the program as it ends any other; SDL would turn it into a
    // close request, which the game refuses outside the title and opening screens.
    setenv("SDL_NO_SIGNAL_HANDLERS", "1", 1);
    try {
        // A display that is named but does not answer: the same one line, before the toolkit
        // would abort with a page of its own.
        ProbeDisplay();
    } catch (const EDirectDrawError& error) {
        std::cerr << "tamtara: cannot open the game window: " << error.what() << std::endl;
        return 1;
    }
    SetUserMessageHandler(ShowMessageBoxOrPrint);
    try {
        const GamePaths paths =
            DecideGamePaths(ProgramPath(argv[0]), ProcessPathEnvironment(), TAMTARA_INSTALLED_DATA);
        MakeWritableFolders(paths);
        EnterGameFolder(paths.DataFolder);
        SystemMidiDriver midiDriver;
        LauncherStart start;
        start.Paths = paths;
        start.IniPath = paths.SettingsFile;
        start.MidiDriver = &midiDriver;
        start.SoundFonts = DiscoverSoundFonts(paths.SoundFontFolders);
        start.SoundFontFound = !start.SoundFonts.empty() || !FindGmSoundFont().empty();
        // Asked while the toolkit starts; the device is closed again at once.
        start.AudioProblem =
            std::async(std::launch::async, [&start] { return ProbeAudioOutput(&start.SynthAudioDriver); });
        // The sequencer, audio and strike threads ask the desktop for their priority.
        InstallDesktopPriority();
        start.SynthPeriodFrames =
            ReadSynthPeriod(TProfileFile(start.IniPath), DesktopDefaultPeriodFrames(DefaultSynthPeriod));
        midiDriver.SetSynthPeriod(start.SynthPeriodFrames);
        // What the sequencer's thread will obtain, asked on a thread of its own that ends at once.
        start.SynthPriority = std::async(
            std::launch::async, [] { return ApplyCurrentThreadPriority(ThreadPriority::TimeCritical); });
        if (TraceStartTimes) start.StartTimes = &std::cerr;
        const std::unique_ptr<IMidiInDriver> midiIn = CreateAlsaMidiInDriver(SystemClock::Instance());
        start.MidiInDriver = midiIn.get();
        start.CreateGameWindow = [&midiDriver, &midiIn, &paths, iniPath = start.IniPath] {
            GameServices services;
            services.MidiDriver = &midiDriver;
            services.MidiIn = midiIn.get();
            services.Presenter = CreateSdlPresenter();
            services.Keys = std::make_unique<TSdlKeySource>();
            // Keys struck on a thread of their own where the X server gives raw key events.
            services.RawKeys = CreateXRawKeyReader(SystemClock::Instance());
            services.KeyPathLog = &std::cerr;
            if (TraceScreens) services.ScreenTrace = &std::cout;
            // The calibration saves the measured offset there.
            services.SettingsFile = iniPath;
            services.RecordsFolder = paths.RecordsFolder;
            services.CacheFolder = paths.CacheFolder;
            return std::make_unique<TMainForm>(std::move(services));
        };
        return RunLauncher(argc, argv, start);
    } catch (const std::exception& error) {
        ShowUserMessage(MessageKind::Error, ApplicationTitle, error.what());
        return 1;
    }
}
