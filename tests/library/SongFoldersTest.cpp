// The scan over several song folders: their order, roots that are missing or nested, labels
// that tell equal subfolder names apart, entries named like songs that are no files, and paths
// longer than the system allows.
#include "library/RootLabels.h"
#include "library/SongLibrary.h"

#include "TempTree.h"
#include "base/PipeRelease.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <climits>
#include <filesystem>

namespace tamtara {
namespace {

using testing::PipeRelease;
using testing::TempTree;

TEST(SongFolders, RootsAreScannedInTheirOrderAndEqualSubfoldersStayApart) {
    TempTree tree;
    tree.Song("home/Music/Tamtara/Rock/a.mid", "A");
    tree.Song("usr/share/tamtara/Rock/b.mid", "B");
    tree.Song("usr/share/tamtara/top.mid", "Top");
    tree.Song("other/Tamtara/Rock/c.mid", "C");
    const std::string music = tree.Path("home/Music/Tamtara");
    const std::string data = tree.Path("usr/share/tamtara");
    const std::string other = tree.Path("other/Tamtara");

    TSongLibrary library;
    library.Scan(std::vector<std::string>{data, music + "/", other, tree.Path("missing")});
    EXPECT_EQ(library.SongFiles, (std::vector<std::string>{data + "/top.mid", data + "/Rock/b.mid",
                                                           music + "/Rock/a.mid", other + "/Rock/c.mid"}));
    EXPECT_EQ(library.SongTitles, (std::vector<std::string>{"Top", "B", "A", "C"}));
    ASSERT_EQ(library.Roots.size(), 4u);
    EXPECT_EQ(library.Roots[1].Folder, music); // normalised
    EXPECT_EQ((std::vector<std::int32_t>{library.Roots[0].SongCount, library.Roots[1].SongCount,
                                         library.Roots[2].SongCount}),
              (std::vector<std::int32_t>{2, 1, 1}));
    EXPECT_TRUE(library.Roots[2].Readable);
    EXPECT_FALSE(library.Roots[3].Readable);

    // Three "Rock" folders, two roots called "Tamtara": every label differs and starts with
    // its root's own name.
    std::vector<std::string> labels;
    for (const std::string& folder : library.Folders)
        labels.push_back(library.FolderLabel(folder));
    std::sort(labels.begin(), labels.end());
    EXPECT_EQ(labels, (std::vector<std::string>{"Music/Tamtara/Rock", "other/Tamtara/Rock", "tamtara",
                                                "tamtara/Rock"}));
}

TEST(SongFolders, RootLabelsGrowOnlyAsFarAsNeeded) {
    EXPECT_EQ(RootLabels({"/a/x/Songs", "/b/x/Songs", "/c/Music", "/"}),
              (std::vector<std::string>{"a/x/Songs", "b/x/Songs", "Music", "/"}));
    const std::vector<std::string> roots{"/srv/Songs", "/srv/Songs/Live"};
    const std::vector<std::string> names = RootLabels(roots);
    // The deeper root names its own folders.
    EXPECT_EQ(FolderLabelBelowRoots("/srv/Songs/Live/2001", roots, names), "Live/2001");
    EXPECT_EQ(FolderLabelBelowRoots("/srv/Songs/Studio", roots, names), "Songs/Studio");
    EXPECT_EQ(FolderLabelBelowRoots("/srv/SongsOld", roots, names), "/srv/SongsOld");
}

TEST(SongFolders, NestedAndRepeatedRootsListEverySongOnce) {
    TempTree tree;
    tree.Song("lib/x.mid", "X");
    tree.Song("lib/inner/y.mid", "Y");
    TSongLibrary library;
    library.Scan(std::vector<std::string>{tree.Path("lib/inner"), tree.Path("lib"), tree.Path("lib")});
    EXPECT_EQ(library.SongFiles,
              (std::vector<std::string>{tree.Path("lib/inner/y.mid"), tree.Path("lib/x.mid")}));
    EXPECT_EQ(library.Folders, (std::vector<std::string>{tree.Path("lib"), tree.Path("lib/inner")}));
    EXPECT_EQ(library.Roots[1].SongCount, 2);
}

TEST(SongFolders, SpecialFilesAreSkippedUnopened) {
    TempTree tree;
    tree.Song("songs/real.mid", "Real");
    ASSERT_EQ(::mkfifo(tree.Path("songs/pipe.mid").c_str(), 0600), 0);
    std::filesystem::create_symlink(tree.Path("songs/pipe.mid"), tree.Path("songs/link.mid"));
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socketPath = tree.Path("songs/sock.mid");
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    socketPath.copy(address.sun_path, socketPath.size());
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);

    // Opening the pipe, or the link to it, for a title would wait for a writer for ever; past
    // the bound every such wait is let go, so the test fails rather than hangs.
    const PipeRelease release(tree.Path("songs/pipe.mid"));
    TSongLibrary library;
    library.Scan(std::vector<std::string>{tree.Path()});
    EXPECT_FALSE(release.Released()) << "the scan opened the pipe";
    EXPECT_EQ(library.SongFiles, std::vector<std::string>{tree.Path("songs/real.mid")});
    ::close(sock);
}

TEST(SongFolders, PathsLongerThanTheSystemAllowsAreLeftOutAndNamed) {
    TempTree tree;
    tree.Song("songs/ok.mid", "OK");
    // A folder whose path is just short enough to be listed: a song of it fits, another's path
    // is too long, and so is the path of a folder beside them, whose song cannot be found.
    const std::string deep = tree.DeepFolder("songs/deep", PATH_MAX - 30);
    tree.DeepFile(deep + "/fits.mid", TempTree::SongBytes("Fits"));
    const std::string longSong = deep + "/" + std::string(40, 's') + ".mid";
    tree.DeepFile(longSong, TempTree::SongBytes("Long"));
    const std::string longFolder = deep + "/" + std::string(30, 'h');
    tree.DeepFile(longFolder + "/hidden.mid", TempTree::SongBytes("Hidden"));

    TSongLibrary library;
    library.Scan(std::vector<std::string>{tree.Path("songs")});
    EXPECT_EQ(library.SongFiles, (std::vector<std::string>{tree.Path("songs/ok.mid"), deep + "/fits.mid"}));
    EXPECT_EQ(library.SongTitles, (std::vector<std::string>{"OK", "Fits"}));
    EXPECT_EQ(library.Folders, (std::vector<std::string>{tree.Path("songs"), deep}));
    EXPECT_EQ(library.TooLongPaths, (std::vector<std::string>{longFolder, longSong}));
}

} // namespace
} // namespace tamtara
