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
#include "platform/midi/SystemMidiDriver.h"

#include <cstdlib>
#include <iostream>

namespace {

constexpr const char* ApplicationTitle = "Tamtara ";

// Without any display to talk to there is no point in starting the synth first.
bool NoDisplayAtAll() {
    return !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") && !std::getenv("SDL_VIDEODRIVER");
}

int RunGame(const std::string& programPath) {
    using namespace tamtara;
    SystemMidiDriver midiDriver;
    const GameSettings settings = ReadGameSettings(programPath, midiDriver);

    GameServices services;
    services.MidiDriver = &midiDriver;
    services.Presenter = CreateSdlPresenter();
    services.Keys = std::make_unique<TSdlKeySource>();
    TMainForm form(std::move(services));
    HandOverSettings(form, settings);
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

int main(int, char** argv) {
    using namespace tamtara;
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
