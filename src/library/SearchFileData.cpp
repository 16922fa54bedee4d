// Entry descriptions from statx, with times passed through the packed date/time the walkers'
// callers expect (2-second resolution, local time).
#include "library/SearchFileData.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <ctime>

namespace tamtara {

namespace {

// Days from 1970-01-01 to the given civil date (proleptic Gregorian).
std::int64_t DaysFromCivil(std::int64_t year, std::int64_t month, std::int64_t day) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

// 1899-12-30 is day 0 of the date-time; 1970-01-01 is day 25569.
constexpr std::int64_t DateTimeEpochOffset = 25569;

bool StatPath(int directoryFd, const std::string& path, int flags, struct statx& result) {
    return statx(directoryFd, path.c_str(), flags, STATX_BASIC_STATS | STATX_BTIME, &result) == 0;
}

} // namespace

TDateTime FileTimeToDateTime(std::int64_t universalSeconds) {
    const std::time_t seconds = static_cast<std::time_t>(universalSeconds);
    std::tm local{};
    if (!localtime_r(&seconds, &local)) return 0;
    const std::int32_t year = local.tm_year + 1900;
    if (year < 1980 || year > 2107) return 0;
    const std::uint32_t date = (static_cast<std::uint32_t>(year - 1980) << 9) |
                               (static_cast<std::uint32_t>(local.tm_mon + 1) << 5) |
                               static_cast<std::uint32_t>(local.tm_mday);
    // A leap second has no packed form.
    if (local.tm_sec > 59) return 0;
    const std::uint32_t time = (static_cast<std::uint32_t>(local.tm_hour) << 11) |
                               (static_cast<std::uint32_t>(local.tm_min) << 5) |
                               static_cast<std::uint32_t>(local.tm_sec / 2);
    if (((date << 16) | time) == 0) return 0;
    const std::int64_t days =
        DaysFromCivil(1980 + (date >> 9), (date >> 5) & 15, date & 31) + DateTimeEpochOffset;
    const std::int64_t daySeconds = (time >> 11) * 3600 + ((time >> 5) & 63) * 60 + (time & 31) * 2;
    return static_cast<double>(days) + static_cast<double>(daySeconds) / 86400.0;
}

TEntryStat StatEntry(const std::string& path) {
    return StatEntryAt(AT_FDCWD, path);
}

TOpenDirectory::TOpenDirectory(const std::string& path)
    : Path(path), Fd(open(path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC)) {}

TOpenDirectory::~TOpenDirectory() {
    if (Fd >= 0) close(Fd);
}

TEntryStat TOpenDirectory::Stat(const std::string& name) const {
    if (Fd >= 0) return StatEntryAt(Fd, name);
    return StatEntry(Path.empty() || Path.back() == '/' ? Path + name : Path + "/" + name);
}

TEntryStat StatEntryAt(int directoryFd, const std::string& path) {
    struct statx result {};
    TEntryStat stat;
    if (!StatPath(directoryFd, path, 0, result) && !StatPath(directoryFd, path, AT_SYMLINK_NOFOLLOW, result))
        return stat;
    stat.Found = true;
    stat.IsDirectory = S_ISDIR(result.stx_mode);
    stat.Device = makedev(result.stx_dev_major, result.stx_dev_minor);
    stat.Inode = result.stx_ino;
    stat.Size = result.stx_size;
    stat.Mode = result.stx_mode;
    stat.BirthTime = (result.stx_mask & STATX_BTIME) ? result.stx_btime.tv_sec : 0;
    stat.WriteTime = result.stx_mtime.tv_sec;
    stat.AccessTime = result.stx_atime.tv_sec;
    stat.WriteTimeNs = result.stx_mtime.tv_sec * 1000000000LL + result.stx_mtime.tv_nsec;
    return stat;
}

TSearchFileData MakeSearchFileData(const std::string& name, const TEntryStat& stat) {
    TSearchFileData data;
    data.Name = name;
    data.ShortName = name;
    data.IsHidden = !name.empty() && name.front() == '.';
    if (!stat.Found) return data;
    data.Size = static_cast<std::int32_t>(static_cast<std::uint32_t>(stat.Size & 0xFFFFFFFFu));
    data.CreationTime = stat.BirthTime != 0 ? FileTimeToDateTime(stat.BirthTime) : 0;
    data.LastWriteTime = FileTimeToDateTime(stat.WriteTime);
    data.LastAccessTime = FileTimeToDateTime(stat.AccessTime);
    data.IsDirectory = stat.IsDirectory;
    data.IsSpecialFile =
        S_ISFIFO(stat.Mode) || S_ISSOCK(stat.Mode) || S_ISCHR(stat.Mode) || S_ISBLK(stat.Mode);
    data.IsReadOnly = (stat.Mode & S_IWUSR) == 0;
    data.FullSize = static_cast<std::int64_t>(stat.Size);
    data.WriteTimeNs = stat.WriteTimeNs;
    return data;
}

} // namespace tamtara
