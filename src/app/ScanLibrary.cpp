// The game window's song library scan: the library's own components over the song folders,
// reading each song's title and check the way the sequencer reads a title: playback stopped.
#include "app/MainForm.h"
#include "app/SelectionLabels.h"
#include "platform/text/SongText.h"

#include <filesystem>

namespace tamtara {

void TMainForm::ScanLibrary(const std::function<void(TMainForm& Sender)>& OnComplete,
                            const std::function<void(TMainForm& Sender, std::int32_t PercentDone,
                                                     const std::string& Msg)>& OnProgress) {
    TScanProgress progress;
    if (OnProgress) {
        progress = [this, &OnProgress](std::int32_t percent, const std::string& msg) {
            OnProgress(*this, percent, msg);
        };
    }
    const TSongReader readSong = [this](const std::string& path) {
        MidiDrive->Stop();
        return ReadScannedSong(path, Library.Lanes);
    };
    if (SongFolders.empty()) {
        // The program entry made the game folder the current directory.
        Library.Scan(std::filesystem::current_path().string(), progress, readSong);
    } else {
        Library.Scan(SongFolders, progress, readSong);
        for (const TScanRoot& root : Library.Roots)
            if (!root.Readable) ShowNotice(UnreadableSongFolderText, FileNameToUtf8(root.Folder));
    }
    if (!Library.TooLongPaths.empty()) ShowNotice(TooLongPathText, TooLongPathsLabel(Library.TooLongPaths));
    if (OnComplete) OnComplete(*this);
}

} // namespace tamtara
