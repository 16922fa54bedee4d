// The path decision: portable and installed copies, with and without the XDG variables, an
// installed copy in a read-only prefix, and a settings file left beside an installed program;
// every folder a test names or makes lies inside its own.
#include "settings/GamePaths.h"
#include "settings/Settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <utility>
#include <vector>

namespace tamtara {
namespace {

namespace fs = std::filesystem;

class GamePathDecision : public ::testing::Test {
protected:
    void SetUp() override {
        Root = fs::path(::testing::TempDir()) /
               ("paths_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(Root);
        fs::create_directories(Root / "prefix/bin");
        fs::create_directories(Root / "prefix/share/tamtara");
        fs::create_directories(Root / "home");
        std::ofstream(Root / "prefix/bin/tamtara") << "program";
        Home = (Root / "home").string();
        // Should the decision wrongly read this process's environment, what it makes of it
        // still lies inside the test's folder (and differs from what the tests expect).
        for (const char* name : EnvironmentNames) {
            const char* value = std::getenv(name);
            Saved.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
            ::setenv(name, (Root / "process-environment" / name).c_str(), 1);
        }
    }
    void TearDown() override {
        for (const auto& [name, value] : Saved)
            value ? ::setenv(name.c_str(), value->c_str(), 1) : ::unsetenv(name.c_str());
        for (const auto& entry : fs::recursive_directory_iterator(Root))
            if (entry.is_directory())
                fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(Root);
    }
    std::string Program() const { return (Root / "prefix/bin/tamtara").string(); }
    GamePaths Decide(const PathEnvironment& environment) const {
        return DecideGamePaths(Program(), environment, "../share/tamtara");
    }
    static unsigned Mode(const std::string& path) {
        struct stat info {};
        return ::stat(path.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0;
    }
    static constexpr const char* EnvironmentNames[] = {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME",
                                                       "XDG_CACHE_HOME"};
    fs::path Root;
    std::string Home;
    std::vector<std::pair<std::string, std::optional<std::string>>> Saved;
};

TEST_F(GamePathDecision, PortableMarkerKeepsEverythingBesideTheProgram) {
    std::ofstream(Root / "prefix/bin" / PortableMarkerName);
    const std::string bin = (Root / "prefix/bin").string();
    // Absolute XDG folders inside the test's own folder: a copy that wrongly made them makes
    // nothing outside it.
    const fs::path elsewhere = Root / "elsewhere";
    const GamePaths paths = Decide({Home, (elsewhere / "config").string(), (elsewhere / "data").string(),
                                    (elsewhere / "cache").string()});
    EXPECT_TRUE(paths.Portable);
    EXPECT_EQ(paths.ProgramFolder, bin);
    EXPECT_EQ(paths.DataFolder, bin);
    EXPECT_EQ(paths.SettingsFile, bin + "/tamtara.ini");
    EXPECT_EQ(paths.RecordsFolder, bin);
    EXPECT_EQ(paths.CacheFolder, bin);
    EXPECT_EQ(DefaultSongFolders(paths), std::vector<std::string>{bin});
    MakeWritableFolders(paths); // makes nothing for a portable copy
    EXPECT_FALSE(fs::exists(elsewhere));
}

TEST_F(GamePathDecision, InstalledCopyTakesTheXdgVariablesOrTheirDefaults) {
    const std::string data = (Root / "prefix/share/tamtara").string();
    const std::string x = (Root / "x").string();
    const GamePaths set = Decide({Home, x + "/config", x + "/data/", x + "/cache"});
    EXPECT_FALSE(set.Portable);
    EXPECT_EQ(set.DataFolder, data);
    EXPECT_EQ(set.SettingsFile, x + "/config/tamtara/tamtara.ini");
    EXPECT_EQ(set.RecordsFolder, x + "/data/tamtara");
    EXPECT_EQ(set.CacheFolder, x + "/cache/tamtara");

    // Unset and relative values both fall back to the defaults below home.
    for (const std::string& value : {std::string(), std::string("relative/dir")}) {
        const GamePaths unset = Decide({Home, value, value, value});
        EXPECT_EQ(unset.SettingsFile, Home + "/.config/tamtara/tamtara.ini") << value;
        EXPECT_EQ(unset.RecordsFolder, Home + "/.local/share/tamtara") << value;
        EXPECT_EQ(unset.CacheFolder, Home + "/.cache/tamtara") << value;
        EXPECT_EQ(unset.MusicSongFolder, Home + "/Music/Tamtara") << value;
    }
}

TEST_F(GamePathDecision, MusicFolderComesFromUserDirsAndCountsOnlyWhenItExists) {
    fs::create_directories(Root / "home/.config");
    std::ofstream(Root / "home/.config/user-dirs.dirs")
        << "# written by "
           "xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\nXDG_MUSIC_DIR=\"$HOME/Klänge\"\n";
    const GamePaths paths = Decide({Home, "", "", ""});
    EXPECT_EQ(paths.MusicSongFolder, Home + "/Klänge/Tamtara");
    EXPECT_EQ(DefaultSongFolders(paths), std::vector<std::string>{paths.DataFolder});
    fs::create_directories(paths.MusicSongFolder);
    EXPECT_EQ(DefaultSongFolders(paths), (std::vector<std::string>{paths.DataFolder, paths.MusicSongFolder}));
}

TEST_F(GamePathDecision, InstalledInReadOnlyPrefixWritesOnlyToPrivateXdgFolders) {
    fs::permissions(Root / "prefix/bin", fs::perms::owner_read | fs::perms::owner_exec);
    fs::permissions(Root / "prefix/share/tamtara", fs::perms::owner_read | fs::perms::owner_exec);
    const GamePaths paths = Decide({Home, "", "", ""});
    MakeWritableFolders(paths);
    for (const std::string& folder : {paths.ConfigFolder, paths.RecordsFolder, paths.CacheFolder}) {
        EXPECT_TRUE(fs::is_directory(folder)) << folder;
        EXPECT_EQ(Mode(folder), 0700u) << folder;
    }
    // The parents made on the way are private too.
    EXPECT_EQ(Mode(Home + "/.local"), 0700u);
    SaveSettings(paths.SettingsFile, DefaultSettings());
    EXPECT_TRUE(fs::exists(paths.SettingsFile));
    EXPECT_EQ(std::distance(fs::directory_iterator(Root / "prefix/bin"), fs::directory_iterator()), 1);
    EXPECT_TRUE(fs::is_empty(Root / "prefix/share/tamtara"));
}

TEST_F(GamePathDecision, OldSettingsBesideAnInstalledProgramAreNeitherReadNorTouched) {
    const fs::path old = Root / "prefix/bin/tamtara.ini";
    std::ofstream(old) << "[Config]\nMidi=Old Port\n";
    const auto oldTime = fs::last_write_time(old);
    const GamePaths paths = Decide({Home, "", "", ""});
    EXPECT_NE(paths.SettingsFile, old.string());
    MakeWritableFolders(paths);
    LauncherSettings settings = LoadSettings(paths.SettingsFile);
    EXPECT_EQ(settings.Midi, DefaultSettings().Midi);
    settings.Midi = "New Port";
    SaveSettings(paths.SettingsFile, settings);
    std::ifstream in(old);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "[Config]\nMidi=Old Port\n");
    EXPECT_EQ(fs::last_write_time(old), oldTime);
}

} // namespace
} // namespace tamtara
