// The window's message loop: window events, finished MIDI messages and the frame timer, with
// the error handling of an application's default handler around every handler.
#include "app/MainForm.h"

namespace tamtara {

void TMainForm::Run() {
    while (!Closed()) {
        ProcessMessages();
        if (Closed()) break;
        if (!Settings.PreciseInput) {
            Timer.Idle();
            continue;
        }
        // Between ticks wait on the window's events rather than sleeping, so a key-down is
        // taken (and struck) as it comes.
        Timer.Step();
        if (const std::uint32_t wait = Timer.MillisecondsToNextTick()) DXDraw.WaitEvents(wait);
    }
}

void TMainForm::ProcessMessages() {
    DXDraw.ProcessEvents();
    // The output port hands finished exclusive messages back to the thread that opened it.
    if (MidiDrive) RunHandler([this] { MidiDrive->ProcessCompletions(); });
    if (Input.Kit) RunHandler([this] { ProcessKit(); });
    if (Input.KeyThread) RunHandler([this] { ProcessKeyThread(); });
}

void TMainForm::RunHandler(const std::function<void()>& handler) {
    try {
        handler();
        return;
    } catch (const std::exception& error) {
        // A failure that repeats every frame is reported once, not once per frame.
        if (LastError == error.what()) return;
        LastError = error.what();
    }
    ShowNotice("エラーが発生しました", LastError);
}

} // namespace tamtara
