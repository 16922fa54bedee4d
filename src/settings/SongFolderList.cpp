// Writing and reading the folder and count lists of the [Library] section.
#include "settings/SongFolderList.h"

#include <charconv>
#include <filesystem>

namespace tamtara {

std::vector<std::string> FoldersRelativeTo(const std::vector<std::string>& folders, const std::string& base) {
    namespace fs = std::filesystem;
    const fs::path from = fs::path(base).lexically_normal();
    std::vector<std::string> result;
    for (const std::string& folder : folders) {
        const fs::path path(folder);
        const fs::path relative =
            path.is_absolute() ? path.lexically_normal().lexically_relative(from) : fs::path();
        const bool below = !relative.empty() && *relative.begin() != "..";
        std::string text = below ? relative.string() : folder;
        // "a/b/" and "a/b" are one folder; "." stands for base itself.
        while (below && text.size() > 1 && text.back() == '/')
            text.pop_back();
        result.push_back(below && text.empty() ? "." : text);
    }
    return result;
}

std::vector<std::string> FoldersAbsoluteFrom(const std::vector<std::string>& folders,
                                             const std::string& base) {
    namespace fs = std::filesystem;
    std::vector<std::string> result;
    for (const std::string& folder : folders) {
        const fs::path path(folder);
        if (path.is_absolute() || folder.empty()) {
            result.push_back(folder);
            continue;
        }
        std::string text = (fs::path(base) / path).lexically_normal().string();
        while (text.size() > 1 && text.back() == '/')
            text.pop_back();
        result.push_back(text);
    }
    return result;
}

std::string SongFolderListText(const std::vector<std::string>& folders) {
    std::string text;
    for (const std::string& folder : folders) {
        if (folder.empty()) continue;
        if (!text.empty()) text += ';';
        for (char c : folder) {
            if (c == ';' || c == '\\') text += '\\';
            text += c;
        }
    }
    return text;
}

std::vector<std::string> ParseSongFolderList(const std::string& text) {
    std::vector<std::string> folders;
    std::string folder;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            folder += text[++i];
        } else if (text[i] == ';') {
            if (!folder.empty()) folders.push_back(std::move(folder));
            folder.clear();
        } else {
            folder += text[i];
        }
    }
    if (!folder.empty()) folders.push_back(std::move(folder));
    return folders;
}

std::string SongCountListText(const std::vector<std::int32_t>& counts) {
    std::string text;
    for (std::size_t i = 0; i < counts.size(); ++i)
        text += (i ? ";" : "") + std::to_string(counts[i]);
    return text;
}

std::vector<std::int32_t> ParseSongCountList(const std::string& text) {
    std::vector<std::int32_t> counts;
    if (text.empty()) return counts;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find(';', start);
        const std::string item =
            text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        std::int32_t value = -1;
        const auto result = std::from_chars(item.data(), item.data() + item.size(), value);
        counts.push_back(
            result.ec == std::errc() && result.ptr == item.data() + item.size() && value >= 0 ? value : -1);
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return counts;
}

} // namespace tamtara
