// The game window's song library scan: its search components bound to its handlers, and the
// scan run over the game folder with the sequencer's title reader.
#include "app/MainForm.h"

#include "library/LibraryScan.h"

#include <filesystem>

namespace tamtara {

void TMainForm::ConnectLibrarySearch() {
    SearchDir.OnFind = [this](TSearchDir& sender, const std::string& name,
                              const TSearchFileData& data, bool& ignoreSubDir, bool& cont) {
        SearchDirFind(sender, name, data, ignoreSubDir, cont);
    };
    SearchFile.OnFind = [this](TSearchFile& sender, const std::string& name,
                               const TSearchFileData& data, bool& cont) {
        SearchFileFind(sender, name, data, cont);
    };
}

void TMainForm::SearchDirFind(TSearchDir&, const std::string& Name, const TSearchFileData&,
                              bool&, bool&) {
    AddScannedFolder(Folders, Name);
}

void TMainForm::SearchFileFind(TSearchFile&, const std::string& Name, const TSearchFileData& Data,
                               bool&) {
    AddScannedSong(SongFiles, Name, Data);
}

void TMainForm::ScanLibrary(
    const std::function<void(TMainForm& Sender)>& OnComplete,
    const std::function<void(TMainForm& Sender, std::int32_t PercentDone, const std::string& Msg)>&
        OnProgress) {
    // The program entry made the program's folder the current directory.
    const std::string baseDir = std::filesystem::current_path().string();
    TScanProgress progress;
    if (OnProgress) {
        progress = [this, &OnProgress](std::int32_t percent, const std::string& msg) {
            OnProgress(*this, percent, msg);
        };
    }
    ScanSongLibrary({SearchDir, SearchFile, Folders, SongFiles, SongTitles, DiscFiles, DiscTitles},
                    baseDir, [this](const std::string& path) { return MidiDrive->ReadTitle(path); },
                    progress);
    if (OnComplete) OnComplete(*this);
}

} // namespace tamtara
