// The record the search components hand with every event, filled from the file system's
// description of one entry.
#pragma once

#include <cstdint>
#include <string>

namespace tamtara {

// A day count from 1899-12-30 whose fraction is the time of day; 0 when unknown.
using TDateTime = double;

struct TSearchFileData {
    std::string Name;
    // This file system has no 8.3 alternate names: a copy of Name.
    std::string ShortName;
    // The low 32 bits of the size.
    std::int32_t Size = 0;
    TDateTime CreationTime = 0;
    TDateTime LastWriteTime = 0;
    TDateTime LastAccessTime = 0;
    bool IsDirectory = false;
    // A pipe, socket or device (after following links): nothing to read a song from.
    bool IsSpecialFile = false;
    // The owner may not write it.
    bool IsReadOnly = false;
    // The name starts with ".".
    bool IsHidden = false;
    // No such notions here: always false.
    bool IsSystem = false;
    bool IsVolumeId = false;
    bool IsArchive = false;
    // This platform's own: the whole size and the write time to the nanosecond, which tell a
    // cache whether the file changed.
    std::int64_t FullSize = 0;
    std::int64_t WriteTimeNs = 0;
};

// What one stat of an entry tells the walkers (symbolic links followed where they lead
// somewhere; a dangling link describes itself).
struct TEntryStat {
    bool Found = false;
    bool IsDirectory = false;
    std::uint64_t Device = 0;
    std::uint64_t Inode = 0;
    std::uint64_t Size = 0;
    std::uint32_t Mode = 0;
    // Seconds since 1970 in universal time; BirthTime 0 when the file system keeps none.
    std::int64_t BirthTime = 0;
    std::int64_t WriteTime = 0;
    std::int64_t AccessTime = 0;
    // The write time to the nanosecond.
    std::int64_t WriteTimeNs = 0;
};

TEntryStat StatEntry(const std::string& path);
// The same for name inside the directory open as directoryFd: no walk along the whole path.
TEntryStat StatEntryAt(int directoryFd, const std::string& name);

// A directory held open for StatEntryAt; when it cannot be opened, Stat falls back to the path.
class TOpenDirectory {
public:
    explicit TOpenDirectory(const std::string& path);
    ~TOpenDirectory();
    TOpenDirectory(const TOpenDirectory&) = delete;
    TOpenDirectory& operator=(const TOpenDirectory&) = delete;
    TEntryStat Stat(const std::string& name) const;

private:
    std::string Path;
    int Fd;
};
// name is the entry's name as listed; a stat that found nothing leaves every other field zero.
TSearchFileData MakeSearchFileData(const std::string& name, const TEntryStat& stat);
// Universal time in seconds to local time, through the packed 2-second date and time of
// years 1980 to 2107; 0 when it cannot be packed.
TDateTime FileTimeToDateTime(std::int64_t universalSeconds);

} // namespace tamtara
