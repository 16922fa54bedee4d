// The pending-plays file beside the records: plays that could not be written into them yet, one
// a line, each line with a check of its own so that a damaged line costs only itself. Replaced
// whole and safely (a temporary file synced, then renamed over it); read leniently.
#pragma once

#include "records/PendingPlayLine.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tamtara {

// dbPath + ".pending".
std::string PendingPlaysPath(const std::string& dbPath);

struct PendingRead {
    std::vector<PendingPlay> Plays;
    // Lines that could not be read (a line cut short, bytes changed, a file too large to be
    // one this game wrote, or anything but a regular file).
    std::int32_t Unreadable = 0;
};

// A file that is not there holds no plays. Never throws and never blocks on a pipe.
PendingRead ReadPendingPlays(const std::string& path);

// Replaces the file with plays; no plays removes it. Returns what went wrong, empty when the
// file is written.
std::string WritePendingPlays(const std::string& path, std::span<const PendingPlay> plays);

// Holds the folder of the file for one process at a time (another copy of the game may keep
// plays in the same file).
class TPendingPlaysLock {
public:
    explicit TPendingPlaysLock(const std::string& path);
    ~TPendingPlaysLock();
    TPendingPlaysLock(const TPendingPlaysLock&) = delete;
    TPendingPlaysLock& operator=(const TPendingPlaysLock&) = delete;

private:
    int Folder = -1;
};

} // namespace tamtara
