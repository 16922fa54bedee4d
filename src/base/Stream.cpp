// Memory and file streams.
#include "base/Stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace tamtara {

void TStream::ReadBuffer(void* buffer, std::size_t count) {
    if (Read(buffer, count) != count) throw EStreamError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, std::size_t count) {
    if (Write(buffer, count) != count) throw EStreamError("Stream write error");
}

std::int64_t TStream::CopyFrom(TStream& source, std::int64_t count) {
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    std::vector<std::uint8_t> chunk(static_cast<std::size_t>(std::min<std::int64_t>(count, 65536)));
    std::int64_t left = count;
    while (left > 0) {
        std::size_t n = static_cast<std::size_t>(std::min<std::int64_t>(left, chunk.size()));
        source.ReadBuffer(chunk.data(), n);
        WriteBuffer(chunk.data(), n);
        left -= static_cast<std::int64_t>(n);
    }
    return count;
}

std::vector<std::uint8_t> TStream::ReadAll() {
    std::int64_t size = Size();
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(std::max<std::int64_t>(size, 0)));
    SetPosition(0);
    std::size_t got = Read(bytes.data(), bytes.size());
    bytes.resize(got);
    return bytes;
}

std::size_t TMemoryStream::Read(void* buffer, std::size_t count) {
    std::int64_t available = Size() - Cursor;
    if (available <= 0 || count == 0) return 0;
    std::size_t n = std::min<std::size_t>(count, static_cast<std::size_t>(available));
    std::memcpy(buffer, Bytes.data() + Cursor, n);
    Cursor += static_cast<std::int64_t>(n);
    return n;
}

std::size_t TMemoryStream::Write(const void* buffer, std::size_t count) {
    if (count == 0) return 0;
    std::size_t end = static_cast<std::size_t>(Cursor) + count;
    if (end > Bytes.size()) Bytes.resize(end);
    std::memcpy(Bytes.data() + Cursor, buffer, count);
    Cursor = static_cast<std::int64_t>(end);
    return count;
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, SeekOrigin origin) {
    std::int64_t base = origin == SeekOrigin::Begin ? 0 : origin == SeekOrigin::Current ? Cursor : Size();
    Cursor = std::max<std::int64_t>(0, base + offset);
    return Cursor;
}

std::vector<std::string> TMemoryStream::Lines() const {
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < Bytes.size(); ++i) {
        char c = static_cast<char>(Bytes[i]);
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            if (c == '\r' && i + 1 < Bytes.size() && Bytes[i + 1] == '\n') ++i;
        } else {
            line.push_back(c);
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

namespace {

// What a file that is no regular file is, in the words of the refusal.
const char* NonRegularKind(mode_t mode) {
    if (S_ISDIR(mode)) return "a folder";
    if (S_ISFIFO(mode)) return "a named pipe";
    if (S_ISSOCK(mode)) return "a socket";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
    return "a special file";
}

// Opens path as a regular file. The open itself never waits: a named pipe would wait for a
// writer, a device for its hardware, so the file is opened without blocking, refused unless
// the opened file is a regular one, and only then made an ordinary blocking descriptor.
int OpenRegularFile(const std::string& path, FileMode mode) {
    const int flags = mode == FileMode::OpenRead ? O_RDONLY : O_RDWR | O_CREAT | O_TRUNC;
    const int fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd < 0) throw EStreamError("Cannot open file \"" + path + "\". " + std::strerror(errno));
    struct stat status {};
    std::string refusal;
    if (::fstat(fd, &status) != 0)
        refusal = std::strerror(errno);
    else if (!S_ISREG(status.st_mode))
        refusal = std::string("It is ") + NonRegularKind(status.st_mode) + ", not a regular file";
    else if (const int now = ::fcntl(fd, F_GETFL); now < 0 || ::fcntl(fd, F_SETFL, now & ~O_NONBLOCK) != 0)
        refusal = std::strerror(errno);
    if (refusal.empty()) return fd;
    ::close(fd);
    throw EStreamError("Cannot open file \"" + path + "\". " + refusal);
}

} // namespace

TFileStream::TFileStream(const std::string& path, FileMode mode)
    : FilePath(path), Writable(mode != FileMode::OpenRead) {
    const int fd = OpenRegularFile(path, mode);
    File = ::fdopen(fd, mode == FileMode::OpenRead ? "rb" : "w+b");
    if (File) return;
    const int error = errno;
    ::close(fd);
    throw EStreamError("Cannot open file \"" + path + "\". " + std::strerror(error));
}

TFileStream::~TFileStream() {
    if (File) std::fclose(File);
}

std::size_t TFileStream::Read(void* buffer, std::size_t count) {
    return std::fread(buffer, 1, count, File);
}

std::size_t TFileStream::Write(const void* buffer, std::size_t count) {
    return std::fwrite(buffer, 1, count, File);
}

std::int64_t TFileStream::Seek(std::int64_t offset, SeekOrigin origin) {
    int whence = origin == SeekOrigin::Begin ? SEEK_SET : origin == SeekOrigin::Current ? SEEK_CUR : SEEK_END;
    if (std::fseek(File, offset, whence) != 0) std::fseek(File, 0, SEEK_SET);
    return std::ftell(File);
}

std::int64_t TFileStream::Size() const {
    // A file open for reading holds no bytes of its own in the buffer: the file system's size is
    // the stream's. Seeking to the end and back instead costs three system calls and makes the
    // buffer read the file's first block again.
    if (!Writable) {
        struct stat status {};
        if (::fstat(::fileno(File), &status) == 0) return static_cast<std::int64_t>(status.st_size);
    }
    long here = std::ftell(File);
    std::fseek(File, 0, SEEK_END);
    long size = std::ftell(File);
    std::fseek(File, here, SEEK_SET);
    return size;
}

std::vector<std::uint8_t> ReadFileBytes(const std::string& path) {
    TFileStream file(path);
    return file.ReadAll();
}

} // namespace tamtara
