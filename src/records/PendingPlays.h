// Plays that could not be written into the records (a full disk, a damaged file, another copy of
// the game holding it): kept in the pending-plays file beside the records, or in memory while
// that cannot be written either, and written into the records once they can be.
#pragma once

#include "records/PendingPlaysFile.h"
#include "records/RecordStore.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tamtara {

class TPendingPlays {
public:
    explicit TPendingPlays(std::string dbPath);

    const std::string& Path() const { return FilePath; }
    // Something waits: in the file (as far as this process knows) or in memory.
    bool Waiting() const { return !Held.empty() || FileWaits; }

    struct KeepResult {
        bool InFile = false; // false: held in memory until the file or the records can be written
        std::string Error;   // why the file could not be written
    };
    KeepResult Keep(PendingPlay play);

    struct FlushResult {
        std::int32_t Written = 0;   // plays now in the records
        std::int32_t Remaining = 0; // plays still waiting
        RecordWriteError Error;     // why the first of those could not be written
        // A file with lines that could not be read is moved here whole before anything else.
        std::string DamagedMovedTo;
        std::int32_t Unreadable = 0;
    };
    // Writes what waits into the store, oldest first, until a write fails; the file then holds
    // what is left.
    FlushResult Flush(TRecordStore& store);

private:
    // The file's plays; a damaged file is moved aside, told in damage.
    std::vector<PendingPlay> ReadFile(FlushResult& damage);

    std::string FilePath;
    std::vector<PendingPlay> Held; // not in the file
    bool FileWaits = true;         // an earlier session may have left plays
};

} // namespace tamtara
