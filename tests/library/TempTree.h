// A real directory tree for the library tests, removed again when the test ends.
#pragma once

#include "midi/SmfBuilder.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

namespace tamtara::testing {

class TempTree {
public:
    // suffix tells apart two trees of one test.
    explicit TempTree(const std::string& suffix = "") {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        Root =
            std::filesystem::temp_directory_path() / ("tamtara-library-" + std::to_string(getpid()) + "-" +
                                                      info->test_suite_name() + "-" + info->name() + suffix);
        std::filesystem::remove_all(Root);
        std::filesystem::create_directories(Root);
    }
    ~TempTree() {
        std::error_code ignored;
        std::filesystem::remove_all(Root, ignored);
    }
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    // Root as the walkers give it: absolute, no trailing "/".
    std::string Path() const { return Root.string(); }
    std::string Path(const std::string& relative) const { return (Root / relative).string(); }

    void Dir(const std::string& relative) const { std::filesystem::create_directories(Root / relative); }
    void File(const std::string& relative, const Bytes& bytes = {}) const {
        std::filesystem::create_directories((Root / relative).parent_path());
        std::ofstream out(Root / relative, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    // A song whose first text event is title (none when empty), with one drum note (a kick).
    void Song(const std::string& relative, const std::string& title, std::uint8_t drumNote = 36) const {
        File(relative, SongBytes(title, drumNote));
    }
    static Bytes SongBytes(const std::string& title, std::uint8_t drumNote = 36) {
        Bytes events;
        if (!title.empty()) {
            events.insert(events.end(), {0x00, 0xFF, 0x03});
            PutVarLen(events, static_cast<std::uint32_t>(title.size()));
            events.insert(events.end(), title.begin(), title.end());
        }
        events.insert(events.end(),
                      {0x00, 0x99, drumNote, 100, 0x60, 0x89, drumNote, 0, 0x00, 0xFF, 0x2F, 0x00});
        Bytes bytes = Header(0, 1, 96);
        const Bytes track = TrackChunk(events);
        bytes.insert(bytes.end(), track.begin(), track.end());
        return bytes;
    }
    // A chain of folders below relative whose whole path is exactly length bytes long, which may
    // be more than the system lets a path be; returns that path.
    std::string DeepFolder(const std::string& relative, std::size_t length) const {
        std::string path = Path(relative);
        while (path.size() < length) {
            // Names of up to 200 bytes; the last one fills the length up exactly.
            const std::size_t left = length - path.size();
            const std::size_t name = left <= 201 ? left - 1 : std::min<std::size_t>(200, left - 3);
            path += "/" + std::string(std::max<std::size_t>(name, 1), 'd');
        }
        ::close(OpenFolders(path));
        return path;
    }
    // A file at path below Root, however long the path: the folders on its way are made and
    // opened one by one, as the system takes no path that long whole.
    void DeepFile(const std::string& path, const Bytes& bytes) const {
        const std::size_t slash = path.rfind('/');
        const int folder = OpenFolders(path.substr(0, slash));
        const int fd =
            ::openat(folder, path.substr(slash + 1).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        ::close(folder);
        ASSERT_GE(fd, 0) << path;
        EXPECT_EQ(::write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
        ::close(fd);
    }
    void Link(const std::string& target, const std::string& relative) const {
        std::filesystem::create_directory_symlink(target, Root / relative);
    }

private:
    // Makes and opens, one by one, the folders of path, which lies below Root.
    int OpenFolders(const std::string& path) const {
        int fd = ::open(Root.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        std::size_t from = Root.string().size() + 1;
        while (fd >= 0 && from < path.size()) {
            const std::size_t end = std::min(path.find('/', from), path.size());
            const std::string name = path.substr(from, end - from);
            ::mkdirat(fd, name.c_str(), 0755);
            const int next = ::openat(fd, name.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
            ::close(fd);
            fd = next;
            from = end + 1;
        }
        EXPECT_GE(fd, 0) << path;
        return fd;
    }

    std::filesystem::path Root;
};

} // namespace tamtara::testing
