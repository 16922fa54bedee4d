// The program entry: enters the game folder, reads the settings, creates the game window on
// the real window, keyboard and MIDI output, and runs it until it closes.
#include "app/MainForm.h"
#include "app/ProgramFolder.h"
#include "app/ScanProgressLog.h"
#include "app/SdlMessageBox.h"
#include "app/SettingsHandOver.h"
#include "base/UserMessage.h"
#include "platform/display/Presenter.h"
#include "platform/input/SdlKeySource.h"
#include "platform/midi/AlsaMidiInDriver.h"
#include "platform/midi/SystemMidiDriver.h"

#include <cstdlib>
#include <iostream>

namespace {

constexpr const char* ApplicationTitle = "Tamtara ";
// --trace: every screen change as a line on stdout, for scripts and bug reports.
bool TraceScreens = false;

// Without any display to talk to there is no point in starting the synth first.
bool NoDisplayAtAll() {
    return !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") && !std::getenv("SDL_VIDEODRIVER");
}

int RunGame(const std::string& programPath) {
    using namespace tamtara;
    SystemMidiDriver midiDriver;
    const GameSettings settings = ReadGameSettings(programPath, midiDriver);

    const std::unique_ptr<IMidiInDriver> midiIn = CreateAlsaMidiInDriver(SystemClock::Instance());
    GameServices services;
    services.MidiDriver = &midiDriver;
    services.MidiIn = midiIn.get();
    services.Presenter = CreateSdlPresenter();
    services.Keys = std::make_unique<TSdlKeySource>();
    TMainForm form(std::move(services));
    if (TraceScreens) form.ScreenTrace = &std::cout;
    HandOverSettings(form, settings);
    form.SettingsFile = SettingsPathForProgram(programPath);
    // Until the launcher shows the scan's progress, stderr does.
    TScanProgressLog progressLog(std::cerr);
    form.ScanLibrary(nullptr, [&progressLog](TMainForm&, std::int32_t percent, const std::string& msg) {
        progressLog.Report(percent, msg);
    });
    try {
        form.FormShow();
    } catch (const EDirectDrawError& error) {
        // No display (or no usable mode): one plain line, no box that could not be shown.
        std::cerr << "tamtara: cannot open the game window: " << error.what() << std::endl;
        return 1;
    }
    form.Run();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    using namespace tamtara;
    for (int i = 1; i < argc; ++i) TraceScreens = TraceScreens || std::string(argv[i]) == "--trace";
    if (NoDisplayAtAll()) {
        std::cerr << "tamtara: no display available (neither DISPLAY nor WAYLAND_DISPLAY is set)"
                  << std::endl;
        return 1;
    }
    SetUserMessageHandler(ShowMessageBoxOrPrint);
    try {
        const std::string programPath = ProgramPath(argv[0]);
        EnterProgramFolder(programPath);
        return RunGame(programPath);
    } catch (const std::exception& error) {
        ShowUserMessage(MessageKind::Error, ApplicationTitle, error.what());
        return 1;
    }
}
