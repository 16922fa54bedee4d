// TProfileFile: an ini file edited line by line, so that every line the player wrote stays as
// written, and saved so that neither a failure nor a second saver can lose the player's file.
#include "settings/ProfileFile.h"

#include "settings/ProfileText.h"
#include "settings/ProfileValues.h"
#include "settings/SettingsError.h"

#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace tamtara {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view Blanks = " \t\r";

std::string_view Trim(std::string_view text) {
    std::size_t first = text.find_first_not_of(Blanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(Blanks) - first + 1);
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i] >= 'A' && a[i] <= 'Z' ? static_cast<char>(a[i] - 'A' + 'a') : a[i];
        char y = b[i] >= 'A' && b[i] <= 'Z' ? static_cast<char>(b[i] - 'A' + 'a') : b[i];
        if (x != y) return false;
    }
    return true;
}

// One line of the file as read (without its "\n"), and what it means.
struct ProfileLine {
    enum Kind { Other, Section, Key } Type = Other;
    std::string Text;
    std::string Name; // section name, or key name

    explicit ProfileLine(std::string text) : Text(std::move(text)) {
        std::string_view line = Trim(Text);
        if (line.empty() || line[0] == ';' || line[0] == '#') return;
        if (line[0] == '[') {
            // A header whose "]" was forgotten still names its section, as profile readers take it.
            std::size_t close = line.find(']');
            Type = Section;
            Name = Trim(line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
            return;
        }
        std::size_t equals = line.find('=');
        if (equals == std::string_view::npos || equals == 0) return;
        Type = Key;
        Name = Trim(line.substr(0, equals));
    }

    std::string_view Value() const {
        std::string_view line = Trim(Text);
        return Trim(line.substr(line.find('=') + 1));
    }
};

// The file a save replaces: the final target of a chain of links, so a linked ini stays linked.
fs::path FinalTarget(fs::path path) {
    for (int hop = 0; hop < 40; ++hop) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(path, error))) break;
        fs::path next = fs::read_symlink(path, error);
        if (error) break;
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    return path;
}

// The mode a newly created file gets, as fopen would give it.
mode_t NewFileMode() {
    mode_t mask = 022;
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.starts_with("Umask:")) mask = static_cast<mode_t>(std::stoul(line.substr(6), nullptr, 8));
    return 0666 & ~mask;
}

bool WriteAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        ssize_t wrote = ::write(fd, text.data() + done, text.size() - done);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) return false;
        done += static_cast<std::size_t>(wrote);
    }
    return true;
}

void SyncFolder(const fs::path& folder) {
    int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return; // the file itself is already synced; some file systems refuse folders
    ::fsync(fd);
    ::close(fd);
}

// The temporary a save writes beside target: ".NAME.XXXXXX".
bool IsTemporaryOf(const std::string& name, const std::string& targetName) {
    const std::string prefix = "." + targetName + ".";
    if (name.size() != prefix.size() + 6 || !name.starts_with(prefix)) return false;
    for (std::size_t i = prefix.size(); i < name.size(); ++i)
        if (!std::isalnum(static_cast<unsigned char>(name[i]))) return false;
    return true;
}

// Removes the temporaries a save killed before its rename left behind. A save takes far less
// than a minute, so an older one belongs to no saver still at work.
void RemoveStaleTemporaries(const fs::path& target) {
    const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    const std::string targetName = target.filename().string();
    const auto staleBefore = fs::file_time_type::clock::now() - std::chrono::minutes(1);
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
        std::error_code entryError;
        if (!IsTemporaryOf(entry->path().filename().string(), targetName)) continue;
        if (!fs::is_regular_file(entry->symlink_status(entryError))) continue;
        const auto written = fs::last_write_time(entry->path(), entryError);
        if (!entryError && written < staleBefore) fs::remove(entry->path(), entryError);
    }
}

} // namespace

struct TProfileFile::Impl {
    std::vector<ProfileLine> Lines;
    bool EndsWithNewline = true;
    // Lines the save adds end as the file's first line does ("\r\n" files stay "\r\n").
    std::string LineEnd;
    // The file exists but could not be read: saving would replace what we never saw.
    bool Unreadable = false;
    // Why, when the file was read but its text could not be made out; said with the refusal.
    std::string Refusal;
    // What the file's lines end with: "\n" ("\r\n" lines keep their "\r"), or "\r" alone in a
    // file that holds no "\n" at all.
    char Newline = '\n';
    // The file's encoding and byte order mark, which a save keeps.
    ProfileTextForm Form;

    // Calls visit with the index of each line of key in every section named section, in file
    // order, until visit returns false.
    template <class Visit>
    void ForEachKeyLine(const std::string& section, const std::string& key, Visit visit) {
        bool inside = false;
        for (std::size_t i = 0; i < Lines.size(); ++i) {
            if (Lines[i].Type == ProfileLine::Section)
                inside = EqualNoCase(Lines[i].Name, section);
            else if (inside && Lines[i].Type == ProfileLine::Key && EqualNoCase(Lines[i].Name, key)) {
                if (!visit(i)) return;
            }
        }
    }
};

TProfileFile::TProfileFile(std::string path) : FilePath(std::move(path)), Data(std::make_unique<Impl>()) {
    std::FILE* file = std::fopen(FilePath.c_str(), "rb");
    if (!file) {
        Data->Unreadable = errno != ENOENT && errno != ENOTDIR;
        return;
    }
    std::string text;
    char chunk[4096];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        text.append(chunk, got);
    Data->Unreadable = std::ferror(file) != 0; // e.g. a folder of that name
    std::fclose(file);
    if (Data->Unreadable) return;
    const std::optional<std::string> decoded = DecodeProfileText(text, Data->Form);
    if (!decoded) {
        Data->Unreadable = true;
        Data->Refusal = "UTF-16 として読めない文字があるため、このファイルは変更しません";
        return;
    }
    text = *decoded;
    if (text.find('\n') == std::string::npos && text.find('\r') != std::string::npos) Data->Newline = '\r';

    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(Data->Newline, start);
        if (end == std::string::npos) {
            Data->Lines.emplace_back(text.substr(start));
            Data->EndsWithNewline = false;
            break;
        }
        Data->Lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    if (!Data->Lines.empty() && Data->Lines.front().Text.ends_with('\r')) Data->LineEnd = "\r";
}

TProfileFile::~TProfileFile() = default;

std::optional<std::string> TProfileFile::RawValue(const std::string& section, const std::string& key) const {
    std::optional<std::string> value;
    Data->ForEachKeyLine(section, key, [&](std::size_t i) {
        value = std::string(Data->Lines[i].Value());
        return false; // a key written twice by hand reads as its first value
    });
    return value;
}

std::string TProfileFile::ReadString(const std::string& section, const std::string& key,
                                     const std::string& fallback) const {
    std::optional<std::string> value = RawValue(section, key);
    return ProfileString(value ? *value : fallback);
}

std::int32_t TProfileFile::ReadInteger(const std::string& section, const std::string& key,
                                       std::int32_t fallback) const {
    std::optional<std::string> value = RawValue(section, key);
    return value ? ParseProfileInt(ProfileString(*value), fallback) : fallback;
}

bool TProfileFile::ReadBool(const std::string& section, const std::string& key, bool fallback) const {
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

void TProfileFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
    std::vector<ProfileLine>& lines = Data->Lines;
    // A line break in a value would make lines of its own; quotes keep what a read would strip
    // (enclosing blanks, one pair of enclosing quotes), so the value reads back as written.
    std::string text = value.substr(0, value.find('\n'));
    if (!text.empty() && (Trim(text).size() != text.size() || ProfileString(text).size() != text.size()))
        text = '"' + text + '"';

    std::vector<std::size_t> copies;
    Data->ForEachKeyLine(section, key, [&](std::size_t i) {
        copies.push_back(i);
        return true;
    });
    if (!copies.empty()) {
        // The first copy takes the value in the key's own spelling; other copies go.
        ProfileLine& line = lines[copies[0]];
        bool crlf = line.Text.ends_with('\r');
        line.Text = line.Name + "=" + text + (crlf ? "\r" : "");
        for (std::size_t n = copies.size(); n-- > 1;) {
            // The line before an unterminated last line kept its "\n"; were the file still to
            // end without one, a blank line written before that copy would vanish on save.
            if (copies[n] + 1 == lines.size()) Data->EndsWithNewline = true;
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(copies[n]));
        }
        return;
    }

    // A new key goes after the last key of the section's first appearance.
    std::size_t header = lines.size();
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i].Type == ProfileLine::Section && EqualNoCase(lines[i].Name, section)) {
            header = i;
            break;
        }
    if (header < lines.size()) {
        std::size_t after = header + 1;
        for (std::size_t i = header + 1; i < lines.size() && lines[i].Type != ProfileLine::Section; ++i)
            if (lines[i].Type == ProfileLine::Key) after = i + 1;
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(after),
                     ProfileLine(key + "=" + text + Data->LineEnd));
        return;
    }

    // A new section goes before the comments that close the file, so they stay at its end.
    std::size_t at = lines.size();
    while (at > 0 && lines[at - 1].Type == ProfileLine::Other)
        --at;
    if (at == 0) at = lines.size(); // a file of comments only: they head it
    std::vector<ProfileLine> added;
    if (at > 0 && !Trim(lines[at - 1].Text).empty()) added.emplace_back(Data->LineEnd);
    added.emplace_back("[" + section + "]" + Data->LineEnd);
    added.emplace_back(key + "=" + text + Data->LineEnd);
    if (at == lines.size() && !Data->EndsWithNewline) Data->EndsWithNewline = true;
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), added.begin(), added.end());
}

void TProfileFile::WriteInteger(const std::string& section, const std::string& key, std::int32_t value) {
    WriteString(section, key, std::to_string(value));
}

void TProfileFile::WriteBool(const std::string& section, const std::string& key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

void TProfileFile::Save() const {
    const std::string failure = FilePath + " に書き込めません";
    if (Data->Unreadable)
        throw ESettingsError(Data->Refusal.empty() ? failure : failure + " (" + Data->Refusal + ")");

    const fs::path target = FinalTarget(FilePath);
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    // Root may write anything, so the write bits themselves also mark a read-only file.
    if (exists && (::access(target.c_str(), W_OK) != 0 || (old.st_mode & 0222) == 0))
        throw ESettingsError(failure);

    std::string text;
    for (std::size_t i = 0; i < Data->Lines.size(); ++i) {
        text += Data->Lines[i].Text;
        if (i + 1 < Data->Lines.size() || Data->EndsWithNewline) text += Data->Newline;
    }
    const std::optional<std::string> bytes = EncodeProfileText(text, Data->Form);
    if (!bytes) throw ESettingsError(failure + " (UTF-16 で書けない文字があります)");
    RemoveStaleTemporaries(target);

    // A temporary of its own in the target's folder: another saver cannot truncate it, and the
    // rename replaces the file in one step.
    std::string temporary = (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
    int fd = ::mkstemp(temporary.data());
    if (fd < 0) throw ESettingsError(failure);
    bool written = ::fchmod(fd, exists ? old.st_mode & 07777 : NewFileMode()) == 0;
    if (exists && (old.st_uid != ::geteuid() || old.st_gid != ::getegid())) {
        // Root saving a player's file gives it back to the player; others cannot, and need not.
        [[maybe_unused]] int owned = ::fchown(fd, old.st_uid, old.st_gid);
    }
    written = WriteAll(fd, *bytes) && written;
    written = ::fsync(fd) == 0 && written;
    written = ::close(fd) == 0 && written;
    if (!written || std::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        throw ESettingsError(failure);
    }
    SyncFolder(target.parent_path());
}

} // namespace tamtara
