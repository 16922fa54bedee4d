// What a scan answered, to compare a cached scan with an uncached one of the same tree.
#pragma once

#include "library/SongLibrary.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tamtara::testing {

struct ScanResult {
    std::vector<std::string> Folders, SongFiles, SongTitles, Marks;
};

inline ScanResult Result(const TSongLibrary& library) {
    ScanResult result{library.Folders, library.SongFiles, library.SongTitles, {}};
    for (const SongCheck& check : library.SongChecks)
        result.Marks.push_back(std::to_string(static_cast<int>(check.Mark)) + ":" + check.Problem);
    return result;
}

inline void ExpectSame(const ScanResult& cached, const ScanResult& uncached) {
    EXPECT_EQ(cached.Folders, uncached.Folders);
    EXPECT_EQ(cached.SongFiles, uncached.SongFiles);
    EXPECT_EQ(cached.SongTitles, uncached.SongTitles);
    EXPECT_EQ(cached.Marks, uncached.Marks);
}

} // namespace tamtara::testing
