// A real directory tree for the library tests, removed again when the test ends.
#pragma once

#include "midi/SmfBuilder.h"

#include <gtest/gtest.h>
#include <unistd.h>

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
        File(relative, bytes);
    }
    void Link(const std::string& target, const std::string& relative) const {
        std::filesystem::create_directory_symlink(target, Root / relative);
    }

private:
    std::filesystem::path Root;
};

} // namespace tamtara::testing
