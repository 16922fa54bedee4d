// The mask search: matching rules, one directory or a tree, Skip, IgnoreSubDir and Continue.
#include "library/SearchFile.h"
#include "library/DirectoryListing.h"

#include "TempTree.h"

#include <fnmatch.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tamtara {
namespace {

using testing::TempTree;

struct Finder {
    TSearchFile Search;
    std::vector<std::string> Found;
    std::vector<bool> FoundDirectory;
    std::vector<std::string> Dirs;
    std::function<bool(const std::string&)> StopAt = [](const std::string&) { return false; };

    Finder(const std::string& directory, const std::string& mask, bool recursive) {
        Search.Directory = directory;
        Search.SearchName = mask;
        Search.Recursive = recursive;
        Search.OnFind = [this](TSearchFile&, const std::string& name, const TSearchFileData& data,
                               bool& cont) {
            Found.push_back(name);
            FoundDirectory.push_back(data.IsDirectory);
            if (StopAt(name)) cont = false;
        };
    }
};

TEST(SearchFile, MasksIgnoreLetterCaseAndEmptyOrStarDotStarMatchEverything) {
    TempTree tree;
    for (const char* file : {"a.mid", "B.MID", "c.Midi", "d.txt", "README", ".hidden.mid"})
        tree.File(file);
    tree.Dir("sub.mid");
    const std::string r = tree.Path();

    Finder songs(r, "*.mid", false);
    EXPECT_TRUE(songs.Search.Search());
    EXPECT_EQ(songs.Found,
              (std::vector<std::string>{r + "/.hidden.mid", r + "/a.mid", r + "/B.MID", r + "/sub.mid"}));
    EXPECT_EQ(songs.FoundDirectory, (std::vector<bool>{false, false, false, true}));

    Finder twoMasks(r + "/", "*.MID;*.midi", false);
    EXPECT_TRUE(twoMasks.Search.Search());
    EXPECT_EQ(twoMasks.Found.size(), 5u);
    EXPECT_EQ(twoMasks.Found[3], r + "/c.Midi");

    for (const char* everything : {"", "*.*"}) {
        Finder all(r, everything, false);
        EXPECT_TRUE(all.Search.Search());
        EXPECT_EQ(all.Found.size(), 7u) << "mask \"" << everything << "\"";
        EXPECT_EQ(all.Found[5], r + "/README");
    }
}

TEST(SearchFile, RecursiveSearchGoesDirectoryByDirectoryBreadthFirst) {
    TempTree tree;
    for (const char* file : {"top.mid", "b/deep/d.mid", "a/a.mid", "b/b.mid", "a/z.mid"})
        tree.File(file);
    const std::string r = tree.Path();
    Finder finder(r, "*.mid", true);
    finder.Search.OnFindDir = [&](TSearchFile&, const std::string& name, const TSearchFileData&, bool& skip,
                                  bool& ignoreSubDir) {
        EXPECT_FALSE(skip);
        EXPECT_FALSE(ignoreSubDir);
        finder.Dirs.push_back(name);
    };
    EXPECT_TRUE(finder.Search.Search());
    EXPECT_EQ(finder.Dirs, (std::vector<std::string>{r, r + "/a", r + "/b", r + "/b/deep"}));
    EXPECT_EQ(finder.Found, (std::vector<std::string>{r + "/top.mid", r + "/a/a.mid", r + "/a/z.mid",
                                                      r + "/b/b.mid", r + "/b/deep/d.mid"}));
}

TEST(SearchFile, SkipLeavesOutFilesAndIgnoreSubDirLeavesOutTheSubtree) {
    TempTree tree;
    for (const char* file : {"skip/s.mid", "skip/below/sb.mid", "prune/p.mid", "prune/below/pb.mid"})
        tree.File(file);
    const std::string r = tree.Path();
    Finder finder(r, "*.mid", true);
    finder.Search.OnFindDir = [&](TSearchFile&, const std::string& name, const TSearchFileData&, bool& skip,
                                  bool& ignoreSubDir) {
        skip = name == r + "/skip";
        ignoreSubDir = name == r + "/prune";
    };
    EXPECT_TRUE(finder.Search.Search());
    EXPECT_EQ(finder.Found, (std::vector<std::string>{r + "/prune/p.mid", r + "/skip/below/sb.mid"}));
}

TEST(SearchFile, ContinueFalseEndsTheWholeSearchAtOnce) {
    TempTree tree;
    for (const char* file : {"a/1.mid", "a/2.mid", "a/3.mid", "b/4.mid"})
        tree.File(file);
    const std::string r = tree.Path();
    for (bool recursive : {true, false}) {
        Finder finder(recursive ? r : r + "/a", "*.mid", recursive);
        finder.StopAt = [&](const std::string& name) { return name == r + "/a/2.mid"; };
        EXPECT_FALSE(finder.Search.Search());
        EXPECT_EQ(finder.Found, (std::vector<std::string>{r + "/a/1.mid", r + "/a/2.mid"}));
    }
}

TEST(SearchFile, NothingToSearchReturnsTrueWithoutEvents) {
    TempTree tree;
    tree.File("a.txt");
    for (bool recursive : {true, false}) {
        Finder missing(tree.Path("missing"), "*.mid", recursive);
        bool dirReported = false;
        missing.Search.OnFindDir = [&](TSearchFile&, const std::string&, const TSearchFileData&, bool&,
                                       bool&) { dirReported = true; };
        EXPECT_TRUE(missing.Search.Search());
        EXPECT_TRUE(missing.Found.empty());
        EXPECT_FALSE(dirReported);
    }
    Finder noMatch(tree.Path(), "*.mid", false);
    EXPECT_TRUE(noMatch.Search.Search());
    EXPECT_TRUE(noMatch.Found.empty());
}

TEST(FileMask, PlainSuffixPatternsAgreeWithTheWildcardMatcher) {
    const std::vector<std::string> patterns = {"*.mid", "*.MIDI", "*d", "*", "*.m?d", "a*.mid", "*[.]mid"};
    const std::vector<std::string> names = {"a.mid", "A.MID",           "x.mid.txt", "mid", ".mid", "a.midi",
                                            "d",     "caf\xC3\xA9.mId", "\xE9.mid",  "abc", ""};
    for (const std::string& pattern : patterns) {
        const TFileMask mask(pattern);
        for (const std::string& name : names) {
            const bool expected = pattern == "*" || fnmatch(pattern.c_str(), name.c_str(), FNM_CASEFOLD) == 0;
            EXPECT_EQ(mask.Matches(name), expected) << pattern << " on " << name;
        }
    }
}

TEST(SearchFile, ASharedListingCacheReadsEachDirectoryOnce) {
    TempTree tree;
    tree.File("d/first.mid");
    TListingCache cache;
    Finder cached(tree.Path(), "*.mid", true);
    cached.Search.Listings = &cache;
    EXPECT_TRUE(cached.Search.Search());
    tree.File("d/second.mid");
    cached.Found.clear();
    EXPECT_TRUE(cached.Search.Search());
    EXPECT_EQ(cached.Found, std::vector<std::string>{tree.Path("d/first.mid")});

    Finder fresh(tree.Path(), "*.mid", true);
    EXPECT_TRUE(fresh.Search.Search());
    EXPECT_EQ(fresh.Found.size(), 2u);
}

} // namespace
} // namespace tamtara
