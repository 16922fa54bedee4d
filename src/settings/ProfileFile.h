// An ini file held in memory: sections and keys matched without regard to case, every line
// it does not change (other keys, comments, order, spacing) written back as it was read, in the
// file's own form (a UTF-8 byte order mark, UTF-16, lines ended by "\r\n" or by "\r" alone).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace tamtara {

class TProfileFile {
public:
    // Reads path when it exists; a missing file starts empty, an unreadable one (or UTF-16 that
    // does not decode) cannot be saved.
    explicit TProfileFile(std::string path);
    ~TProfileFile();
    TProfileFile(const TProfileFile&) = delete;
    TProfileFile& operator=(const TProfileFile&) = delete;

    const std::string& Path() const { return FilePath; }

    std::optional<std::string> RawValue(const std::string& section, const std::string& key) const;
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& fallback) const;
    std::int32_t ReadInteger(const std::string& section, const std::string& key, std::int32_t fallback) const;
    bool ReadBool(const std::string& section, const std::string& key, bool fallback) const;

    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, std::int32_t value);
    void WriteBool(const std::string& section, const std::string& key, bool value);

    // Replaces the file (the target of a link) through a unique temporary file beside it, with
    // the old file's mode, so a failed or concurrent save leaves a whole file; removes the
    // temporaries of saves killed before their end. Refuses a file that could not be read or is
    // read-only. Raises ESettingsError "<path> に書き込めません", with the reason when it is not
    // the file system's.
    void Save() const;

private:
    struct Impl;
    std::string FilePath;
    std::unique_ptr<Impl> Data;
};

} // namespace tamtara
