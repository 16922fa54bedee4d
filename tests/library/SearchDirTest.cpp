// The breadth-first directory walk: order, pruning, stopping, loops, vanished directories and
// the data handed with each report.
#include "library/SearchDir.h"

#include "TempTree.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

namespace tamtara {
namespace {

using testing::TempTree;

struct Walk {
    TSearchDir Dir;
    std::vector<std::string> Reported;
    std::vector<TSearchFileData> Data;
    std::function<void(const std::string&, bool&, bool&)> Decide;

    explicit Walk(const std::string& base) {
        Dir.BaseDir = base;
        Dir.OnFind = [this](TSearchDir&, const std::string& name, const TSearchFileData& data,
                            bool& ignoreSubDir, bool& cont) {
            EXPECT_FALSE(ignoreSubDir);
            Reported.push_back(name);
            Data.push_back(data);
            if (Decide) Decide(name, ignoreSubDir, cont);
        };
    }
};

TEST(SearchDir, ReportsBaseThenEachLevelInCaseInsensitiveNameOrder) {
    TempTree tree;
    for (const char* dir : {"b", "A", "a", "C/deep/deeper", "b/x", "A/y", ".hidden/z"})
        tree.Dir(dir);
    tree.File("file.mid");
    tree.File("b/not-a-dir");
    // Names that are not UTF-8 are kept byte for byte.
    const std::string latin1 = "caf\xE9";
    tree.Dir(latin1);

    Walk walk(tree.Path() + "/./");
    EXPECT_TRUE(walk.Dir.Search());
    const std::string r = tree.Path();
    const std::vector<std::string> expected = {
        r,          r + "/.hidden", r + "/A",         r + "/a",
        r + "/b",   r + "/C",       r + "/" + latin1, r + "/.hidden/z",
        r + "/A/y", r + "/b/x",     r + "/C/deep",    r + "/C/deep/deeper"};
    EXPECT_EQ(walk.Reported, expected);
    EXPECT_EQ(walk.Data[1].Name, ".hidden");
    EXPECT_TRUE(walk.Data[1].IsHidden);
    EXPECT_TRUE(walk.Data[1].IsDirectory);
    EXPECT_EQ(walk.Data[0].Name, std::filesystem::path(r).filename().string());
    EXPECT_FALSE(walk.Data[2].IsHidden);
}

TEST(SearchDir, IgnoreSubDirPrunesAndContinueFalseStops) {
    TempTree tree;
    for (const char* dir : {"a/a1", "b/b1", "c"})
        tree.Dir(dir);
    const std::string r = tree.Path();

    Walk baseOnly(r);
    baseOnly.Decide = [](const std::string&, bool& ignoreSubDir, bool&) { ignoreSubDir = true; };
    EXPECT_TRUE(baseOnly.Dir.Search());
    EXPECT_EQ(baseOnly.Reported, std::vector<std::string>{r});

    Walk pruned(r);
    pruned.Decide = [&](const std::string& name, bool& ignoreSubDir, bool&) {
        ignoreSubDir = name == r + "/a";
    };
    EXPECT_TRUE(pruned.Dir.Search());
    EXPECT_EQ(pruned.Reported, (std::vector<std::string>{r, r + "/a", r + "/b", r + "/c", r + "/b/b1"}));

    Walk stopped(r);
    stopped.Decide = [&](const std::string& name, bool&, bool& cont) { cont = name != r + "/b"; };
    EXPECT_FALSE(stopped.Dir.Search());
    EXPECT_EQ(stopped.Reported, (std::vector<std::string>{r, r + "/a", r + "/b"}));

    Walk stoppedAtBase(r);
    stoppedAtBase.Decide = [](const std::string&, bool&, bool& cont) { cont = false; };
    EXPECT_FALSE(stoppedAtBase.Dir.Search());
    EXPECT_EQ(stoppedAtBase.Reported.size(), 1u);
}

TEST(SearchDir, FollowsLinksButReportsADirectoryReachedTwiceOnlyOnce) {
    TempTree tree;
    TempTree outside("-outside");
    tree.Dir("a/b");
    outside.Dir("elsewhere");
    tree.Link(tree.Path("a"), "a/b/loop");       // a loop back up the tree
    tree.Link(outside.Path("elsewhere"), "ext"); // a link out of the tree is followed
    const std::string r = tree.Path();

    Walk walk(r);
    EXPECT_TRUE(walk.Dir.Search());
    EXPECT_EQ(walk.Reported, (std::vector<std::string>{r, r + "/a", r + "/ext", r + "/a/b"}));
}

TEST(SearchDir, ADirectoryThatCannotBeListedIsReportedAndTheWalkGoesOn) {
    TempTree tree;
    for (const char* dir : {"gone/inner", "kept/inner"})
        tree.Dir(dir);
    const std::string r = tree.Path();
    Walk walk(r);
    // Removed after its report and before its listing: the listing fails.
    walk.Decide = [&](const std::string& name, bool&, bool&) {
        if (name == r + "/gone") std::filesystem::remove_all(name);
    };
    EXPECT_TRUE(walk.Dir.Search());
    EXPECT_EQ(walk.Reported, (std::vector<std::string>{r, r + "/gone", r + "/kept", r + "/kept/inner"}));
}

TEST(SearchDir, NothingToWalkReturnsTrueAndFiresNothing) {
    TempTree tree;
    tree.File("plain");
    for (const std::string& base : {tree.Path("missing"), tree.Path("plain")}) {
        Walk walk(base);
        EXPECT_TRUE(walk.Dir.Search());
        EXPECT_TRUE(walk.Reported.empty());
    }
    TSearchDir noHandler;
    noHandler.BaseDir = tree.Path();
    EXPECT_TRUE(noHandler.Search());
}

TEST(SearchFileData, FieldsComeFromTheEntryWithTimesPackedInLocalTime) {
    TempTree tree;
    tree.File("locked.txt", testing::Bytes(7, 'x'));
    const std::string path = tree.Path("locked.txt");
    chmod(path.c_str(), 0444);
    // 2000-01-01 00:00:03 universal time; the packed form keeps 2-second steps.
    const char* oldZone = std::getenv("TZ");
    const std::string savedZone = oldZone ? oldZone : "";
    setenv("TZ", "UTC", 1);
    tzset();
    const timespec times[2] = {{946684803, 0}, {946684803, 0}};
    utimensat(AT_FDCWD, path.c_str(), times, 0);

    const TSearchFileData data = MakeSearchFileData("locked.txt", StatEntry(path));
    EXPECT_EQ(data.Name, "locked.txt");
    EXPECT_EQ(data.ShortName, "locked.txt");
    EXPECT_EQ(data.Size, 7);
    EXPECT_DOUBLE_EQ(data.LastWriteTime, 36526.0 + 2.0 / 86400.0);
    EXPECT_DOUBLE_EQ(data.LastAccessTime, 36526.0 + 2.0 / 86400.0);
    EXPECT_TRUE(data.IsReadOnly);
    EXPECT_FALSE(data.IsDirectory || data.IsHidden || data.IsSystem || data.IsVolumeId || data.IsArchive);
    EXPECT_EQ(FileTimeToDateTime(315532799), 0.0);  // 1979: before the packed range
    EXPECT_EQ(FileTimeToDateTime(4354819200), 0.0); // 2108: after it

    // Only the low 32 bits of a size are kept (writable again: only root may grow it read-only).
    chmod(path.c_str(), 0644);
    std::filesystem::resize_file(path, (std::uint64_t{1} << 32) + 5);
    EXPECT_EQ(MakeSearchFileData("locked.txt", StatEntry(path)).Size, 5);

    if (oldZone)
        setenv("TZ", savedZone.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}

} // namespace
} // namespace tamtara
