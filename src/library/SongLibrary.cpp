// The stand-alone library binds its components the way the game window binds its own.
#include "library/SongLibrary.h"

#include "library/Difficulty.h"
#include "library/DirectoryListing.h"
#include "library/RootLabels.h"
#include "midi/DrumMap.h"
#include "midi/SmfReader.h"

#include <chrono>

namespace tamtara {

ScannedSong ReadScannedSong(const std::string& path, LaneMap lanes) {
    const TSmfSummary summary = ReadSmfSummary(ReadSongFile(path), lanes);
    ScannedSong song{summary.Title, {}};
    if (std::string problem = TimingProblem(summary.Division, summary.TrackCount); !problem.empty())
        song.Check = SongCheck{SongMark::Unplayable, std::move(problem)};
    else if (!summary.HasDrumNotes)
        song.Check = SongCheck{SongMark::NoDrumNotes, NoDrumNotesText};
    return song;
}

TSongLibrary::TSongLibrary() {
    SearchDir.OnFind = [this](TSearchDir&, const std::string& name, const TSearchFileData&, bool&, bool&) {
        AddScannedFolder(Folders, name);
    };
    SearchFile.OnFind = [this](TSearchFile&, const std::string& name, const TSearchFileData& data, bool&) {
        AddScannedSong(SongFiles, name, data);
        if (Cache && !data.IsDirectory) Cache->NoteStamp(name, data.FullSize, data.WriteTimeNs);
    };
}

void TSongLibrary::Scan(const std::string& baseDir, const TScanProgress& onProgress,
                        const TSongReader& readSong) {
    Difficulties.clear();
    const TSongReader reader = ScanReader(readSong);
    ScanSongLibrary({SearchDir, SearchFile, Folders, SongFiles, SongTitles, SongChecks, DiscFiles, DiscTitles,
                     DiscChecks, TooLongPaths, Cache ? &Cache->Listings : nullptr},
                    baseDir, reader, onProgress);
    if (Cache) Cache->FinishScan();
    Roots = {TScanRoot{AbsoluteDirectory(baseDir), true, static_cast<std::int32_t>(SongFiles.size())}};
    RootNames = RootLabels({Roots.front().Folder});
}

void TSongLibrary::Scan(const std::vector<std::string>& roots, const TScanProgress& onProgress,
                        const TSongReader& readSong) {
    Difficulties.clear();
    const TSongReader reader = ScanReader(readSong);
    Roots = ScanSongLibrary({SearchDir, SearchFile, Folders, SongFiles, SongTitles, SongChecks, DiscFiles,
                             DiscTitles, DiscChecks, TooLongPaths, Cache ? &Cache->Listings : nullptr},
                            roots, reader, onProgress);
    if (Cache) Cache->FinishScan();
    std::vector<std::string> folders;
    for (const TScanRoot& root : Roots)
        folders.push_back(root.Folder);
    RootNames = RootLabels(folders);
}

TSongReader TSongLibrary::ScanReader(const TSongReader& readSong) {
    TSongReader reader = readSong;
    if (!reader) reader = [lanes = Lanes](const std::string& path) { return ReadScannedSong(path, lanes); };
    return Cache ? Cache->Reader(std::move(reader), Lanes.IsExtended()) : reader;
}

std::optional<double> TSongLibrary::Difficulty(const std::string& songFile) {
    const auto known = Difficulties.find(songFile);
    if (known != Difficulties.end()) return known->second;
    if (const std::optional<SongFacts> cached =
            Cache ? Cache->Facts(songFile, Lanes.IsExtended()) : std::nullopt) {
        const double difficulty = cached->DifficultyTenths / 10.0;
        Difficulties.emplace(songFile, difficulty);
        return difficulty;
    }
    if (!TakeFinishedRead(false)) return std::nullopt;
    // The read just finished may have been this very song's.
    if (const auto read = Difficulties.find(songFile); read != Difficulties.end()) return read->second;
    ReadingSong = songFile;
    Reading =
        std::async(std::launch::async, [songFile, lanes = Lanes] { return ReadSongFacts(songFile, lanes); });
    return std::nullopt;
}

void TSongLibrary::FinishDifficultyRead() {
    TakeFinishedRead(true);
}

bool TSongLibrary::TakeFinishedRead(bool wait) {
    if (!Reading.valid()) return true;
    if (!wait && Reading.wait_for(std::chrono::seconds(0)) != std::future_status::ready) return false;
    const SongFacts facts = Reading.get();
    // The cache's facts and the kept rating belong to the map the read was made under.
    if (Cache) Cache->StoreFacts(ReadingSong, facts);
    Difficulties.emplace(ReadingSong, facts.DifficultyTenths / 10.0);
    return true;
}

bool TSongLibrary::UseCache(const std::string& path) {
    Cache = TLibraryCache::Open(path);
    return Cache != nullptr;
}

std::string TSongLibrary::FolderLabel(const std::string& folder) const {
    std::vector<std::string> folders;
    for (const TScanRoot& root : Roots)
        folders.push_back(root.Folder);
    return FolderLabelBelowRoots(folder, folders, RootNames);
}

void TSongLibrary::Scan(const std::string& baseDir, const TScanProgress& onProgress,
                        const TTitleReader& readTitle) {
    Scan(baseDir, onProgress, [&readTitle](const std::string& path) {
        return ScannedSong{readTitle(path), {}};
    });
}

void TSongLibrary::CollectDiscs(const std::string& folder) {
    tamtara::CollectDiscs(folder, SongFiles, SongTitles, SongChecks, DiscFiles, DiscTitles, DiscChecks);
}

} // namespace tamtara
