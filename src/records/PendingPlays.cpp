#include "records/PendingPlays.h"

#include "database/Database.h"

#include <ctime>
#include <filesystem>
#include <iostream>

namespace tamtara {

TPendingPlays::TPendingPlays(std::string dbPath) : FilePath(PendingPlaysPath(dbPath)) {}

std::vector<PendingPlay> TPendingPlays::ReadFile(FlushResult& damage) {
    PendingRead read = ReadPendingPlays(FilePath);
    if (read.Unreadable > 0) {
        // Kept whole beside the records: what could not be read is not thrown away.
        const std::string aside = CorruptFileName(FilePath, static_cast<std::int64_t>(std::time(nullptr)));
        std::error_code error;
        std::filesystem::rename(FilePath, aside, error);
        std::cerr << "records: " << FilePath << ": " << read.Unreadable << " unreadable line(s)"
                  << (error ? ", left in place" : ", moved to " + aside) << '\n';
        if (!error) {
            damage.DamagedMovedTo = aside;
            damage.Unreadable = read.Unreadable;
        }
    }
    return std::move(read.Plays);
}

TPendingPlays::KeepResult TPendingPlays::Keep(PendingPlay play) {
    TPendingPlaysLock lock(FilePath);
    FlushResult damage;
    std::vector<PendingPlay> plays = ReadFile(damage);
    // A damaged file was moved aside: its readable plays are no longer at the path.
    const std::size_t inFile = damage.DamagedMovedTo.empty() ? plays.size() : 0;
    plays.insert(plays.end(), Held.begin(), Held.end());
    plays.push_back(std::move(play));
    KeepResult result;
    result.Error = WritePendingPlays(FilePath, plays);
    result.InFile = result.Error.empty();
    if (result.InFile) {
        Held.clear();
        FileWaits = true;
    } else {
        Held.assign(std::make_move_iterator(plays.begin() + static_cast<std::ptrdiff_t>(inFile)),
                    std::make_move_iterator(plays.end()));
    }
    return result;
}

TPendingPlays::FlushResult TPendingPlays::Flush(TRecordStore& store) {
    FlushResult result;
    TPendingPlaysLock lock(FilePath);
    std::vector<PendingPlay> fromFile = ReadFile(result);
    const bool fileHadPlays = !fromFile.empty() || !result.DamagedMovedTo.empty();
    // The file's plays are older than the ones held here.
    std::vector<PendingPlay> plays = std::move(fromFile);
    const std::size_t inFile = plays.size();
    plays.insert(plays.end(), Held.begin(), Held.end());
    std::size_t written = 0;
    while (written < plays.size() &&
           store.RecordKeptPlay(plays[written].Song, plays[written].Play, &result.Error) != 0)
        ++written;
    result.Written = static_cast<std::int32_t>(written);
    result.Remaining = static_cast<std::int32_t>(plays.size() - written);
    if (written == 0 && Held.empty() && !fileHadPlays) {
        FileWaits = false;
        return result;
    }
    const std::vector<PendingPlay> left(
        std::make_move_iterator(plays.begin() + static_cast<std::ptrdiff_t>(written)),
        std::make_move_iterator(plays.end()));
    if (WritePendingPlays(FilePath, left).empty()) {
        Held.clear();
        FileWaits = !left.empty();
    } else {
        // The file keeps what it held (plays written meanwhile are known to the records and
        // skipped when it is read again); what was held here stays held.
        if (!result.DamagedMovedTo.empty()) {
            Held = left;
        } else {
            const std::size_t heldWritten = written > inFile ? written - inFile : 0;
            Held.erase(Held.begin(), Held.begin() + static_cast<std::ptrdiff_t>(heldWritten));
        }
        FileWaits = true;
    }
    return result;
}

} // namespace tamtara
