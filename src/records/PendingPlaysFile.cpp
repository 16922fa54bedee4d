#include "records/PendingPlaysFile.h"

#include "records/StrikePacking.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <type_traits>

namespace tamtara {

namespace {

namespace fs = std::filesystem;

constexpr const char* FirstLine = "tamtara pending plays 1";
// Far more than any number of plays a session could fail to write.
constexpr std::size_t MaxFileBytes = 64u << 20;

// Every field of a pending play in the line's order, for writing and reading alike.
template <class Play, class Field> void ForEachField(Play& p, Field&& field) {
    field(p.Song.Key);
    field(p.Song.LastPath);
    field(p.Song.Title);
    field(p.Song.LengthMs);
    for (auto& count : p.Song.LaneCounts)
        field(count);
    auto& play = p.Play;
    field(play.PlayedAt);
    field(play.PlayTime);
    field(play.Special);
    field(play.Speed);
    field(play.HideLower);
    field(play.HideUpper);
    field(play.Level);
    field(play.AutoLanes);
    field(play.Input);
    field(play.OffsetMs);
    field(play.PracticeTempo);
    field(play.LoopFromBar);
    field(play.LoopToBar);
    field(play.Score);
    field(play.Rank);
    field(play.Perfect);
    field(play.Great);
    field(play.Good);
    field(play.Miss);
    field(play.MaxCombo);
    field(play.Cleared);
    field(play.Failed);
    field(play.Strikes);
}

std::uint32_t CheckOf(std::string_view text) {
    std::uint32_t hash = 2166136261u;
    for (char c : text) {
        hash ^= static_cast<std::uint8_t>(c);
        hash *= 16777619u;
    }
    return hash;
}

constexpr char Hex[] = "0123456789abcdef";

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

class LineWriter {
public:
    void operator()(const std::string& text) {
        Start();
        for (char c : text) {
            if (c == '\\' || c == '\t' || c == '\n' || c == '\r') {
                Line += '\\';
                Line += c == '\t' ? 't' : c == '\n' ? 'n' : c == '\r' ? 'r' : '\\';
            } else {
                Line += c;
            }
        }
    }
    void operator()(const std::vector<StrikeEntry>& strikes) {
        Start();
        for (std::uint8_t byte : PackStrikes(strikes)) {
            Line += Hex[byte >> 4];
            Line += Hex[byte & 15];
        }
    }
    template <class Value> void operator()(const Value& value) {
        Start();
        Line += std::to_string(static_cast<std::int64_t>(value));
    }
    std::string Line;

private:
    void Start() {
        if (!First) Line += '\t';
        First = false;
    }
    bool First = true;
};

class LineReader {
public:
    explicit LineReader(std::string_view line) : Rest(line) {}

    void operator()(std::string& text) {
        const std::string_view field = Next();
        text.clear();
        for (std::size_t i = 0; i < field.size(); ++i) {
            if (field[i] != '\\') {
                text += field[i];
                continue;
            }
            const char escaped = ++i < field.size() ? field[i] : '?';
            if (escaped == 't' || escaped == 'n' || escaped == 'r' || escaped == '\\')
                text += escaped == 't' ? '\t' : escaped == 'n' ? '\n' : escaped == 'r' ? '\r' : '\\';
            else
                Whole = false;
        }
    }
    void operator()(std::vector<StrikeEntry>& strikes) {
        const std::string_view field = Next();
        std::vector<std::uint8_t> bytes;
        if (field.size() % 2 != 0) Whole = false;
        for (std::size_t i = 0; i + 1 < field.size(); i += 2) {
            const int high = HexValue(field[i]), low = HexValue(field[i + 1]);
            if (high < 0 || low < 0) Whole = false;
            bytes.push_back(static_cast<std::uint8_t>((high << 4) | (low & 15)));
        }
        strikes = UnpackStrikes(bytes);
    }
    template <class Value> void operator()(Value& value) {
        using Number = typename std::conditional_t<std::is_enum_v<Value>, std::underlying_type<Value>,
                                                   std::type_identity<Value>>::type;
        const std::string_view field = Next();
        std::int64_t number = 0;
        const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), number);
        if (error != std::errc() || end != field.data() + field.size() ||
            number < static_cast<std::int64_t>(std::numeric_limits<Number>::min()) ||
            number > static_cast<std::int64_t>(std::numeric_limits<Number>::max()))
            Whole = false;
        else
            value = static_cast<Value>(number);
    }
    // Every field read and nothing left over.
    bool Done() const { return Whole && AtEnd; }

private:
    std::string_view Next() {
        if (AtEnd) {
            Whole = false;
            return {};
        }
        const std::size_t tab = Rest.find('\t');
        const std::string_view field = Rest.substr(0, tab);
        if (tab == std::string_view::npos)
            AtEnd = true;
        else
            Rest.remove_prefix(tab + 1);
        return field;
    }
    std::string_view Rest;
    bool AtEnd = false;
    bool Whole = true;
};

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

std::string EncodePendingPlay(const PendingPlay& play) {
    LineWriter writer;
    ForEachField(play, writer);
    char check[9];
    std::snprintf(check, sizeof check, "%08x", static_cast<unsigned>(CheckOf(writer.Line)));
    return std::string(check) + " " + writer.Line;
}

bool DecodePendingPlay(std::string_view line, PendingPlay& play) {
    if (line.size() < 9 || line[8] != ' ') return false;
    std::uint32_t check = 0;
    const auto [end, error] = std::from_chars(line.data(), line.data() + 8, check, 16);
    const std::string_view fields = line.substr(9);
    if (error != std::errc() || end != line.data() + 8 || check != CheckOf(fields)) return false;
    LineReader reader(fields);
    ForEachField(play, reader);
    play.Play.SongKey = play.Song.Key;
    return reader.Done();
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
