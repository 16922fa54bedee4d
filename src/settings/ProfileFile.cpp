// TProfileFile on SimpleIni, byte strings only (no encoding conversion).
#ifndef SI_NO_CONVERSION
#define SI_NO_CONVERSION 1 // byte strings; Debian ships no converter header
#endif
#include <SimpleIni.h>

#include "settings/ProfileFile.h"

#include "settings/ProfileValues.h"
#include "settings/SettingsError.h"

#include <cstdio>
#include <string_view>
#include <unistd.h>

namespace tamtara {

namespace {

// Comment lines after the last key, which SimpleIni would drop, so they can be put back.
std::string TrailingComments(const std::string& text) {
    std::size_t end = text.size();
    std::size_t keep = end;
    while (end > 0) {
        std::size_t start = text.rfind('\n', end - 1);
        start = start == std::string::npos ? 0 : start + 1;
        std::string_view line(text.data() + start, end - start);
        std::size_t first = line.find_first_not_of(" \t\r\n");
        if (first != std::string_view::npos && line[first] != ';' && line[first] != '#') break;
        keep = start;
        end = start > 0 ? start - 1 : 0;
    }
    std::string trailing = text.substr(keep);
    return trailing.find_first_of(";#") == std::string::npos ? std::string() : trailing;
}

} // namespace

struct TProfileFile::Impl {
    // Multi-key so that a key written twice by hand reads as its first value, as profile
    // readers do; writing replaces every copy with one.
    CSimpleIniA Ini{false, true, false};
    std::string Trailing;
};

TProfileFile::TProfileFile(std::string path) : FilePath(std::move(path)), Data(std::make_unique<Impl>()) {
    Data->Ini.SetSpaces(false);
    std::FILE* file = std::fopen(FilePath.c_str(), "rb");
    if (!file) return;
    std::string text;
    char chunk[4096];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) text.append(chunk, got);
    bool failed = std::ferror(file) != 0; // e.g. a folder of that name
    std::fclose(file);
    if (failed) return;
    Data->Ini.LoadData(text);
    Data->Trailing = TrailingComments(text);
}

TProfileFile::~TProfileFile() = default;

std::optional<std::string> TProfileFile::RawValue(const std::string& section, const std::string& key) const {
    const char* value = Data->Ini.GetValue(section.c_str(), key.c_str(), nullptr);
    if (!value) return std::nullopt;
    return std::string(value);
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
    Data->Ini.SetValue(section.c_str(), key.c_str(), value.c_str(), nullptr, true);
}

void TProfileFile::WriteInteger(const std::string& section, const std::string& key, std::int32_t value) {
    WriteString(section, key, std::to_string(value));
}

void TProfileFile::WriteBool(const std::string& section, const std::string& key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

void TProfileFile::Save() const {
    const std::string failure = FilePath + " に書き込めません";
    std::string text;
    if (Data->Ini.Save(text) < 0) throw ESettingsError(failure);
    if (!Data->Trailing.empty()) {
        if (!text.empty() && text.back() != '\n') text += '\n';
        text += Data->Trailing;
    }

    std::string temporary = FilePath + ".tmp";
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file) throw ESettingsError(failure);
    bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    written = std::fflush(file) == 0 && written;
    written = ::fsync(::fileno(file)) == 0 && written;
    written = std::fclose(file) == 0 && written;
    if (!written || std::rename(temporary.c_str(), FilePath.c_str()) != 0) {
        std::remove(temporary.c_str());
        throw ESettingsError(failure);
    }
}

} // namespace tamtara
