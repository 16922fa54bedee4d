// The game window's song library scan: the library's own components over the game folder,
// reading each song's title and check the way the sequencer reads a title: playback stopped.
#include "app/MainForm.h"

#include <filesystem>

namespace tamtara {

void TMainForm::ScanLibrary(const std::function<void(TMainForm& Sender)>& OnComplete,
                            const std::function<void(TMainForm& Sender, std::int32_t PercentDone,
                                                     const std::string& Msg)>& OnProgress) {
    // The program entry made the program's folder the current directory.
    const std::string baseDir = std::filesystem::current_path().string();
    TScanProgress progress;
    if (OnProgress) {
        progress = [this, &OnProgress](std::int32_t percent, const std::string& msg) {
            OnProgress(*this, percent, msg);
        };
    }
    Library.Scan(baseDir, progress, [this](const std::string& path) {
        MidiDrive->Stop();
        return ReadScannedSong(path);
    });
    if (OnComplete) OnComplete(*this);
}

} // namespace tamtara
