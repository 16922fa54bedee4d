#include "records/PendingPlaysFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace tamtara {

namespace {

namespace fs = std::filesystem;

constexpr const char* FirstLine = "tamtara pending plays 1";
// Far more than any number of plays a session could fail to write.
constexpr std::size_t MaxFileBytes = 64u << 20;

bool WriteAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t wrote = ::write(fd, text.data() + done, text.size() - done);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) return false;
        done += static_cast<std::size_t>(wrote);
    }
    return true;
}

std::string FolderOf(const std::string& path) {
    const fs::path folder = fs::path(path).parent_path();
    return folder.empty() ? "." : folder.string();
}

void SyncFolder(const std::string& path) {
    const int fd = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

std::string TemporaryPrefix(const std::string& path) {
    return fs::path(path).filename().string() + ".tmp-";
}

// Temporaries a killed writer left; called with the lock held, so no other writer is busy.
void RemoveStaleTemporaries(const std::string& path) {
    const std::string prefix = TemporaryPrefix(path);
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(FolderOf(path), error)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with(prefix)) fs::remove(entry.path(), error);
    }
}

} // namespace

std::string PendingPlaysPath(const std::string& dbPath) {
    return dbPath + ".pending";
}

PendingRead ReadPendingPlays(const std::string& path) {
    PendingRead read;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno != ENOENT) read.Unreadable = 1;
        return read;
    }
    struct stat status {};
    std::string text;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        read.Unreadable = 1;
    } else {
        char buffer[65536];
        for (;;) {
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) read.Unreadable = 1;
            if (got <= 0) break;
            text.append(buffer, static_cast<std::size_t>(got));
            if (text.size() > MaxFileBytes) {
                read.Unreadable = 1;
                break;
            }
        }
    }
    ::close(fd);
    std::string_view rest = text;
    bool first = true;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        const std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        const bool header = first && line == FirstLine;
        first = false;
        if (header || line.empty()) continue;
        PendingPlay play;
        if (end != std::string_view::npos && DecodePendingPlay(line, play))
            read.Plays.push_back(std::move(play));
        else
            read.Unreadable += 1;
    }
    return read;
}

std::string WritePendingPlays(const std::string& path, std::span<const PendingPlay> plays) {
    RemoveStaleTemporaries(path);
    if (plays.empty()) {
        if (::unlink(path.c_str()) != 0 && errno != ENOENT) return std::strerror(errno);
        SyncFolder(path);
        return {};
    }
    std::string text = std::string(FirstLine) + "\n";
    for (const PendingPlay& play : plays)
        text += EncodePendingPlay(play) + "\n";
    std::string temporary = (fs::path(FolderOf(path)) / (TemporaryPrefix(path) + "XXXXXX")).string();
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) return std::strerror(errno);
    bool written = ::fchmod(fd, 0600) == 0;
    written = WriteAll(fd, text) && written;
    int failure = written ? 0 : errno;
    written = ::fsync(fd) == 0 && written;
    if (!written && failure == 0) failure = errno;
    written = ::close(fd) == 0 && written;
    if (written && std::rename(temporary.c_str(), path.c_str()) != 0) {
        written = false;
        failure = errno;
    }
    if (!written) {
        ::unlink(temporary.c_str());
        return std::strerror(failure != 0 ? failure : EIO);
    }
    SyncFolder(path);
    return {};
}

TPendingPlaysLock::TPendingPlaysLock(const std::string& path)
    : Folder(::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    // Without the folder there is no file to share either.
    if (Folder >= 0)
        while (::flock(Folder, LOCK_EX) != 0 && errno == EINTR) {
        }
}

TPendingPlaysLock::~TPendingPlaysLock() {
    if (Folder >= 0) ::close(Folder);
}

} // namespace tamtara
