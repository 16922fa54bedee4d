// SoundFont discovery: which files count, the order of preference, one entry per file, the
// saved choice and its fallback; and the song folder list's round trip through the ini file.
#include "settings/SoundFonts.h"
#include "settings/Settings.h"
#include "settings/SongFolderList.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace tamtara {
namespace {

namespace fs = std::filesystem;

class SoundFontDiscovery : public ::testing::Test {
protected:
    void SetUp() override {
        Root = fs::path(::testing::TempDir()) /
               ("soundfonts_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(Root);
        for (const char* folder : {"sf2", "sf3", "home"})
            fs::create_directories(Root / folder);
    }
    void TearDown() override { fs::remove_all(Root); }
    std::string Make(const std::string& relative, std::size_t size) const {
        std::ofstream(Root / relative, std::ios::binary) << std::string(size, 'x');
        return (Root / relative).string();
    }
    std::vector<std::string> Folders() const {
        return {(Root / "sf2").string(), (Root / "sf3").string(), (Root / "home").string(),
                (Root / "missing").string()};
    }
    fs::path Root;
};

TEST_F(SoundFontDiscovery, BestGeneralMidiSetsComeFirstAndEachFileOnce) {
    const std::string tim = Make("sf2/TimGM6mb.sf2", 6);
    const std::string muse = Make("sf3/MuseScore_General.sf3", 40);
    const std::string own = Make("home/Drums.SF2", 3);
    Make("sf2/readme.txt", 1);
    fs::create_directory(Root / "sf2/folder.sf2");
    fs::create_symlink(tim, Root / "sf2/default-GM.sf2"); // the alternative: same file again
    fs::create_symlink(Root / "sf2/gone.sf2", Root / "sf2/broken.sf2");

    std::vector<SoundFontFile> found = DiscoverSoundFonts(Folders());
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0].Path, muse);
    EXPECT_EQ(found[0].Size, 40u);
    EXPECT_EQ(found[1].Path, tim);
    EXPECT_EQ(found[2].Path, own);

    const std::string fluid = Make("sf2/FluidR3_GM.sf2", 141);
    found = DiscoverSoundFonts(Folders());
    ASSERT_EQ(found.size(), 4u);
    EXPECT_EQ(found[0].Path, fluid);
    EXPECT_EQ(found[1].Path, muse);
    EXPECT_EQ(SoundFontCaption({fluid, 148373504}), "FluidR3_GM.sf2 (141.5 MB)");

    // The saved choice while it exists; the best one otherwise; nothing without any.
    EXPECT_EQ(ChosenSoundFont(own, found), own);
    EXPECT_EQ(ChosenSoundFont("", found), fluid);
    fs::remove(own);
    EXPECT_EQ(ChosenSoundFont(own, found), fluid);
    EXPECT_EQ(ChosenSoundFont("", {}), "");
}

TEST(SongFolderListText, FoldersOfTheGameFolderMoveWithIt) {
    const std::vector<std::string> folders{"/game",    "/game/Songs/", "/game/../game/x",
                                           "/gamer/x", "/music",       "rel"};
    const std::vector<std::string> stored = FoldersRelativeTo(folders, "/game/");
    EXPECT_EQ(stored, (std::vector<std::string>{".", "Songs", "x", "/gamer/x", "/music", "rel"}));
    EXPECT_EQ(
        FoldersAbsoluteFrom(stored, "/moved"),
        (std::vector<std::string>{"/moved", "/moved/Songs", "/moved/x", "/gamer/x", "/music", "/moved/rel"}));
    EXPECT_EQ(FoldersAbsoluteFrom(FoldersRelativeTo({"/", "/a"}, "/"), "/"),
              (std::vector<std::string>{"/", "/a"}));
}

TEST(SongFolderListText, AnyPathSurvivesTheIniRoundTrip) {
    const std::vector<std::string> folders{"/music/a;b", "/x\\y", "/plain", "/日本語/曲"};
    EXPECT_EQ(SongFolderListText(folders), "/music/a\\;b;/x\\\\y;/plain;/日本語/曲");
    EXPECT_EQ(ParseSongFolderList(SongFolderListText(folders)), folders);
    EXPECT_EQ(ParseSongFolderList(";;/a;;"), std::vector<std::string>{"/a"});
    EXPECT_EQ(ParseSongCountList("3;x;-2;12"), (std::vector<std::int32_t>{3, -1, -1, 12}));

    const fs::path ini = fs::path(::testing::TempDir()) / ("folders_" + std::to_string(::getpid()) + ".ini");
    fs::remove(ini);
    // No key: the defaults given; an emptied list stays empty.
    EXPECT_EQ(LoadSettings(ini.string(), {"/default"}).SongFolders, std::vector<std::string>{"/default"});
    LauncherSettings settings = DefaultSettings();
    settings.SongFolders = folders;
    settings.SongCounts = {1, 2};
    settings.SoundFont = "/usr/share/sounds/sf2/FluidR3_GM.sf2";
    SaveSettings(ini.string(), settings);
    LauncherSettings loaded = LoadSettings(ini.string(), {"/default"});
    EXPECT_EQ(loaded.SongFolders, folders);
    EXPECT_EQ(loaded.SongCounts, (std::vector<std::int32_t>{1, 2, -1, -1}));
    EXPECT_EQ(loaded.SoundFont, settings.SoundFont);
    SaveSongCounts(ini.string(), {5, 0, 7, 1});
    EXPECT_EQ(LoadSettings(ini.string()).SongCounts, (std::vector<std::int32_t>{5, 0, 7, 1}));
    settings.SongFolders.clear();
    SaveSettings(ini.string(), settings);
    EXPECT_TRUE(LoadSettings(ini.string(), {"/default"}).SongFolders.empty());
    fs::remove(ini);
}

} // namespace
} // namespace tamtara
