// LoadSettings and SaveSettings against real ini files: defaults, value forms, hand edits,
// preservation of foreign content, and failed writes.
#include "settings/Choices.h"
#include "settings/Settings.h"
#include "settings/SettingsError.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <grp.h>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace tamtara {
namespace {

namespace fs = std::filesystem;

// Runs action as an unprivileged user, so file permissions apply even when the tests run as
// root, and returns the message of the settings error it raised ("" when none).
std::string AsUnprivileged(const std::function<void()>& action) {
    auto attempt = [&]() -> std::string {
        try {
            action();
        } catch (const ESettingsError& error) {
            return error.what();
        }
        return "";
    };
    if (::geteuid() != 0) return attempt();
    int channel[2];
    if (::pipe(channel) != 0) return "no pipe";
    pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        constexpr uid_t nobody = 65534;
        if (::setgroups(0, nullptr) != 0 || ::setgid(nobody) != 0 || ::setuid(nobody) != 0) ::_exit(2);
        std::string message = attempt();
        ssize_t sent = ::write(channel[1], message.data(), message.size());
        ::_exit(sent == static_cast<ssize_t>(message.size()) ? 0 : 3);
    }
    ::close(channel[1]);
    std::string message;
    char chunk[256];
    for (ssize_t got; (got = ::read(channel[0], chunk, sizeof chunk)) > 0;)
        message.append(chunk, static_cast<std::size_t>(got));
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return "unprivileged run failed";
    return message;
}

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override {
        Dir = fs::path(::testing::TempDir()) /
              ("settings_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(Dir);
        Path = (Dir / "tamtara.ini").string();
    }
    void TearDown() override {
        fs::permissions(Dir, fs::perms::owner_all);
        fs::remove_all(Dir);
    }
    void Write(const std::string& text) { std::ofstream(Path, std::ios::binary) << text; }
    std::string Read() {
        std::ifstream in(Path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::vector<std::string> Lines() {
        std::vector<std::string> lines;
        std::istringstream in(Read());
        for (std::string line; std::getline(in, line);)
            if (!line.empty()) lines.push_back(line);
        return lines;
    }
    fs::path Dir;
    std::string Path;
};

TEST_F(SettingsFile, FirstRunWithoutFileGivesEveryDefault) {
    LauncherSettings settings = LoadSettings(Path);
    EXPECT_EQ(settings.Midi, "MIDI Mapper");
    EXPECT_TRUE(settings.Prev);
    EXPECT_FALSE(settings.NoBank);
    EXPECT_TRUE(settings.DInput);
    EXPECT_TRUE(settings.FullScreen);
    EXPECT_EQ(settings.Level, 3);
    EXPECT_EQ(Levels[3].Text, "3.Normal (-20)");
    EXPECT_TRUE(settings.Demo);
    EXPECT_TRUE(settings.Combo);
    const char* keyA[] = {"A", "F", "スペース", "J", "K", "L", ";"};
    const char* keyB[] = {"S", "D", "(なし)", "I", "O", "P", "(なし)"};
    for (int part = 0; part < LaneCount; ++part) {
        EXPECT_EQ(KeyChoice[static_cast<std::size_t>(settings.KeyA[part])].Text, keyA[part]) << part;
        EXPECT_EQ(KeyChoice[static_cast<std::size_t>(settings.KeyB[part])].Text, keyB[part]) << part;
    }
    EXPECT_FALSE(fs::exists(Path)); // reading creates nothing
}

TEST_F(SettingsFile, SaveWritesEveryKeyInOrderAndForm) {
    SaveSettings(Path, DefaultSettings());
    std::vector<std::string> expected = {"[Version]",
                                         "Mejor=1",
                                         "Minor=8",
                                         "Release=2",
                                         "[Config]",
                                         "Midi=MIDI Mapper",
                                         "Prev=1",
                                         "NoBank=0",
                                         "DInput=1",
                                         "FullScreen=1",
                                         "Scaling=0",
                                         "[GameConfig]",
                                         "Level=3",
                                         "Demo=1",
                                         "Combo=1",
                                         "ExtendedDrumMap=0",
                                         "[KeyConfig]",
                                         "Key1A=2",
                                         "Key2A=7",
                                         "Key3A=1",
                                         "Key4A=11",
                                         "Key5A=12",
                                         "Key6A=13",
                                         "Key7A=28",
                                         "Key1B=20",
                                         "Key2B=5",
                                         "Key3B=0",
                                         "Key4B=10",
                                         "Key5B=16",
                                         "Key6B=17",
                                         "Key7B=0",
                                         "[Input]",
                                         "PreciseInput=1",
                                         "InputOffsetMs=0",
                                         "MidiIn=(なし)",
                                         "[Kit]",
                                         "Lane1Notes=42,46,22,26,23",
                                         "Lane2Notes=38,40,37",
                                         "Lane3Notes=35,36",
                                         "Lane4Notes=48,50",
                                         "Lane5Notes=45,47",
                                         "Lane6Notes=41,43,58",
                                         "Lane7Notes=49,57,55,52,51,59,53",
                                         "Lane1MinVelocity=10",
                                         "Lane2MinVelocity=10",
                                         "Lane3MinVelocity=10",
                                         "Lane4MinVelocity=10",
                                         "Lane5MinVelocity=10",
                                         "Lane6MinVelocity=10",
                                         "Lane7MinVelocity=10",
                                         "DebounceMs=15",
                                         "EnterNote=44",
                                         "[Library]",
                                         "Folders=",
                                         "SongCounts=",
                                         "[Synth]",
                                         "SoundFont="};
    EXPECT_EQ(Lines(), expected);
}

TEST_F(SettingsFile, RoundTripKeepsEveryValue) {
    LauncherSettings settings;
    settings.Midi = "Synth ポート 2";
    settings.Prev = false;
    settings.NoBank = true;
    settings.DInput = false;
    settings.FullScreen = false;
    settings.Level = 7;
    settings.Demo = false;
    settings.Combo = false;
    for (int part = 0; part < LaneCount; ++part) {
        settings.KeyA[part] = 30 + part % 6;
        settings.KeyB[part] = part;
    }
    SaveSettings(Path, settings);
    LauncherSettings loaded = LoadSettings(Path);
    EXPECT_EQ(loaded.Midi, settings.Midi);
    EXPECT_FALSE(loaded.Prev);
    EXPECT_TRUE(loaded.NoBank);
    EXPECT_FALSE(loaded.DInput);
    EXPECT_FALSE(loaded.FullScreen);
    EXPECT_EQ(loaded.Level, 7);
    EXPECT_FALSE(loaded.Demo);
    EXPECT_FALSE(loaded.Combo);
    EXPECT_EQ(loaded.KeyA, settings.KeyA);
    EXPECT_EQ(loaded.KeyB, settings.KeyB);
    // Names with what a read strips (enclosing blanks or quotes) come back as they were.
    for (const char* midi : {" Synth ", "\"Synth\"", "'x'"}) {
        settings.Midi = midi;
        SaveSettings(Path, settings);
        EXPECT_EQ(LoadSettings(Path).Midi, midi);
    }
}

TEST_F(SettingsFile, NoSelectionIsSavedAsMinusOne) {
    LauncherSettings settings = DefaultSettings();
    settings.Level = -1;
    settings.KeyB[6] = -1;
    SaveSettings(Path, settings);
    std::string text = Read();
    EXPECT_NE(text.find("Level=-1\n"), std::string::npos);
    EXPECT_NE(text.find("Key7B=-1\n"), std::string::npos);
}

TEST_F(SettingsFile, SectionsAndKeysMatchWithoutCase) {
    Write("[config]\nMIDI=Other Synth\nprev=0\n[GAMECONFIG]\nlevel=6\n[keyconfig]\nkey3a=1\n");
    LauncherSettings settings = LoadSettings(Path);
    EXPECT_EQ(settings.Midi, "Other Synth");
    EXPECT_FALSE(settings.Prev);
    EXPECT_EQ(settings.Level, 6);
    EXPECT_EQ(settings.KeyA[2], 1);
}

TEST_F(SettingsFile, HexadecimalFormsAreRead) {
    Write("[Config]\nPrev=0x1\nNoBank=$1\n[GameConfig]\nLevel=0x5\n[KeyConfig]\nKey7A=$1C\n");
    LauncherSettings settings = LoadSettings(Path);
    EXPECT_TRUE(settings.Prev);
    EXPECT_TRUE(settings.NoBank);
    EXPECT_EQ(settings.Level, 5);
    EXPECT_EQ(settings.KeyA[6], 28);
}

TEST_F(SettingsFile, HandEditedBadValuesLoadWithDefaults) {
    Write("[Config]\nMidi=\nPrev=yes\nNoBank=on\nDInput=\nFullScreen=0x\n"
          "[GameConfig]\nLevel=Normal\nDemo=1.0\nCombo=--1\n"
          "[KeyConfig]\nKey1A=99\nKey2A=-1\nKey3A=36\nKey4A=J\nKey1B=0x\nKey7B=4294967296\n");
    LauncherSettings settings = LoadSettings(Path);
    LauncherSettings defaults = DefaultSettings();
    EXPECT_EQ(settings.Midi, ""); // an empty name is a value; the launcher then picks the mapper
    EXPECT_TRUE(settings.Prev);
    EXPECT_FALSE(settings.NoBank);
    EXPECT_TRUE(settings.DInput);
    EXPECT_TRUE(settings.FullScreen);
    EXPECT_EQ(settings.Level, 3);
    EXPECT_TRUE(settings.Demo);
    EXPECT_TRUE(settings.Combo);
    EXPECT_EQ(settings.KeyA, defaults.KeyA);
    EXPECT_EQ(settings.KeyB, defaults.KeyB);
}

TEST_F(SettingsFile, LevelOutsideTheListLoadsAsDefault) {
    Write("[GameConfig]\nLevel=8\n");
    EXPECT_EQ(LoadSettings(Path).Level, 3);
    Write("[GameConfig]\nLevel=-1\n");
    EXPECT_EQ(LoadSettings(Path).Level, 3);
    Write("[GameConfig]\nLevel=0\n");
    EXPECT_EQ(LoadSettings(Path).Level, 0);
}

TEST_F(SettingsFile, OverlongDeviceNameIsCut) {
    Write("[Config]\nMidi=" + std::string(2000, 'm') + "\n");
    EXPECT_EQ(LoadSettings(Path).Midi.size(), 1023u);
}

TEST_F(SettingsFile, SaveKeepsUnknownKeysAndComments) {
    Write("; written by hand\n[Config]\n; my synth\nMidi=Old\nColour=blue\n\n[Extra]\nThing=42\n");
    LauncherSettings settings = LoadSettings(Path);
    settings.Midi = "New";
    SaveSettings(Path, settings);
    std::string text = Read();
    EXPECT_NE(text.find("; written by hand"), std::string::npos);
    EXPECT_NE(text.find("; my synth\nMidi=New\n"), std::string::npos);
    EXPECT_NE(text.find("Colour=blue"), std::string::npos);
    EXPECT_NE(text.find("[Extra]\nThing=42"), std::string::npos);
    EXPECT_EQ(text.find("Midi=Old"), std::string::npos);
    EXPECT_EQ(LoadSettings(Path).Midi, "New");
}

TEST_F(SettingsFile, TrailingCommentSurvivesRepeatedSaves) {
    Write("[Config]\nMidi=Old\n; the end\n");
    SaveSettings(Path, DefaultSettings());
    SaveSettings(Path, DefaultSettings());
    std::string text = Read();
    EXPECT_EQ(text.find("; the end"), text.rfind("; the end"));
    EXPECT_NE(
        text.find("EnterNote=44\n\n[Library]\nFolders=\nSongCounts=\n\n[Synth]\nSoundFont=\n; the end\n"),
        std::string::npos)
        << text;
}

TEST_F(SettingsFile, KeyWrittenTwiceReadsFirstAndSavesOnce) {
    Write("[Config]\nMidi=First\nMidi=Second\n");
    EXPECT_EQ(LoadSettings(Path).Midi, "First");
    SaveSettings(Path, DefaultSettings());
    std::string text = Read();
    EXPECT_EQ(text.find("Midi="), text.rfind("Midi="));
}

TEST_F(SettingsFile, SecondCopyOnTheUnterminatedLastLineTakesNoOtherLineWithIt) {
    // A blank line, then a second copy of the key the save writes first, as the last line with
    // no "\n" after it; a foreign key written twice around a comment.
    Write("[Version]\nMejor=1\nColour=blue\n; mine\nColour=blue\n\nMejor=1");
    SaveSettings(Path, LoadSettings(Path));
    const std::string saved = Read();
    EXPECT_TRUE(saved.starts_with("[Version]\nMejor=1\nColour=blue\n; mine\nColour=blue\nMinor=8\n"))
        << saved;
    EXPECT_TRUE(saved.ends_with("SoundFont=\n\n")) << saved; // the blank line is still the last
    EXPECT_EQ(saved.find("Mejor="), saved.rfind("Mejor=")) << saved;
    SaveSettings(Path, LoadSettings(Path));
    EXPECT_EQ(Read(), saved);
}

TEST_F(SettingsFile, SaveRewritesExistingKeysWhateverTheirCase) {
    Write("[config]\nmidi=Old\n");
    SaveSettings(Path, DefaultSettings());
    std::string text = Read();
    EXPECT_EQ(text.find("Old"), std::string::npos);
    EXPECT_EQ(text.find("[Config]"), std::string::npos); // one section, as the file spelled it
    EXPECT_EQ(LoadSettings(Path).Midi, "MIDI Mapper");
}

TEST_F(SettingsFile, FailedWriteNamesThePathAndKeepsTheOldFile) {
    Write("[Config]\nMidi=Kept\n");
    fs::permissions(Dir, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                             fs::perms::others_exec);
    EXPECT_EQ(AsUnprivileged([&] { SaveSettings(Path, DefaultSettings()); }), Path + " に書き込めません");
    EXPECT_EQ(Read(), "[Config]\nMidi=Kept\n");
}

TEST_F(SettingsFile, UnreadableFileIsNeverReplaced) {
    const std::string original = "; mine\n[Config]\nMidi=Kept\n[Mine]\nScore=99\n";
    Write(original);
    fs::permissions(Dir, fs::perms::all); // the folder itself would let anyone replace the file
    fs::permissions(Path, fs::perms::none);
    EXPECT_EQ(AsUnprivileged([&] { SaveSettings(Path, LoadSettings(Path)); }), Path + " に書き込めません");
    // Readable again for the check, when the test itself runs unprivileged.
    fs::permissions(Path, fs::perms::owner_read);
    EXPECT_EQ(Read(), original);
}

TEST_F(SettingsFile, ReadOnlyFileIsNotWrittenAndEveryFileKeepsItsMode) {
    Write("[Config]\nMidi=Kept\n");
    fs::permissions(Path, fs::perms::owner_read | fs::perms::group_read);
    try {
        SaveSettings(Path, DefaultSettings());
        FAIL() << "no error";
    } catch (const ESettingsError& error) {
        EXPECT_EQ(std::string(error.what()), Path + " に書き込めません");
    }
    EXPECT_EQ(Read(), "[Config]\nMidi=Kept\n");
    EXPECT_EQ(fs::status(Path).permissions(), fs::perms::owner_read | fs::perms::group_read);

    const fs::perms shared =
        fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::group_write;
    fs::permissions(Path, shared);
    SaveSettings(Path, DefaultSettings());
    EXPECT_EQ(LoadSettings(Path).Midi, "MIDI Mapper");
    EXPECT_EQ(fs::status(Path).permissions(), shared);
}

TEST_F(SettingsFile, SymbolicLinkIsWrittenThroughToItsTarget) {
    fs::create_directory(Dir / "real");
    const fs::path target = Dir / "real" / "shared.ini";
    std::ofstream(target) << "[Config]\nMidi=Old\n";
    fs::create_symlink(fs::path("real") / "shared.ini", Path);
    LauncherSettings settings = LoadSettings(Path);
    EXPECT_EQ(settings.Midi, "Old");
    settings.Midi = "New";
    SaveSettings(Path, settings);
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(Path)));
    EXPECT_EQ(LoadSettings(target.string()).Midi, "New");
    EXPECT_EQ(fs::directory_iterator(Dir / "real")->path(), target); // no temporary left behind
}

TEST_F(SettingsFile, HandWrittenLinesAreKeptAsTheyWere) {
    const std::vector<std::string> handWritten = {
        "; my settings", "; second line", "[Config", "Midi=Mine", "[Notes]", "; keep me", "Colour = blue"};
    std::string text;
    for (const std::string& line : handWritten)
        text += line + "\n";
    Write(text);
    SaveSettings(Path, LoadSettings(Path));
    SaveSettings(Path, LoadSettings(Path));
    std::vector<std::string> lines = Lines();
    // Every hand-written line is still there, in its order, with nothing put between them.
    auto first = std::search(lines.begin(), lines.end(), handWritten.begin(), handWritten.begin() + 4);
    EXPECT_NE(first, lines.end()) << Read();
    auto second = std::search(lines.begin(), lines.end(), handWritten.begin() + 4, handWritten.end());
    EXPECT_NE(second, lines.end()) << Read();
    EXPECT_TRUE(Read().starts_with("; my settings\n; second line\n[Config\n")) << Read();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Midi=Mine"), 1);

    Write("; dos\r\n[Config]\r\nMidi=Mine\r\n");
    SaveSettings(Path, LoadSettings(Path));
    const std::string saved = Read();
    EXPECT_EQ(std::count(saved.begin(), saved.end(), '\n'), std::count(saved.begin(), saved.end(), '\r'))
        << saved;
}

TEST_F(SettingsFile, SavesAtTheSameTimeKeepThePlayersKeysAndComments) {
    const std::string original = "; my own notes\n[Config]\nMidi=Mine\n[Scores]\nBest=12345\n";
    for (int run = 0; run < 40; ++run) {
        Write(original);
        std::atomic<int> ready{0};
        std::atomic<int> failures{0};
        auto launcher = [&] {
            LauncherSettings settings = LoadSettings(Path);
            ready.fetch_add(1);
            while (ready.load() < 2) {
            }
            try {
                SaveSettings(Path, settings);
            } catch (const ESettingsError&) {
                failures.fetch_add(1);
            }
        };
        std::thread one(launcher), two(launcher);
        one.join();
        two.join();
        EXPECT_EQ(failures.load(), 0) << "run " << run;
        std::string text = Read();
        ASSERT_TRUE(text.starts_with("; my own notes\n[Config]\nMidi=Mine\n")) << "run " << run << "\n"
                                                                               << text;
        ASSERT_NE(text.find("[Scores]\nBest=12345\n"), std::string::npos) << "run " << run << "\n" << text;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(Dir), fs::directory_iterator()), 1); // only the ini
}

TEST_F(SettingsFile, FailedReplaceRemovesTheTemporaryFile) {
    fs::create_directory(Path); // a folder where the file should be: the rename fails
    try {
        SaveSettings(Path, DefaultSettings());
        FAIL() << "no error";
    } catch (const ESettingsError& error) {
        EXPECT_EQ(std::string(error.what()), Path + " に書き込めません");
    }
    EXPECT_TRUE(fs::is_directory(Path));
    EXPECT_EQ(std::distance(fs::directory_iterator(Dir), fs::directory_iterator()), 1); // no temporary
}

TEST_F(SettingsFile, WriteIntoMissingFolderFails) {
    std::string path = (Dir / "missing" / "tamtara.ini").string();
    try {
        SaveSettings(path, DefaultSettings());
        FAIL() << "no error";
    } catch (const ESettingsError& error) {
        EXPECT_EQ(std::string(error.what()), path + " に書き込めません");
    }
    EXPECT_TRUE(fs::is_empty(Dir));
}

// UTF-16 bytes of text, as a Windows editor saves an ini file.
std::string Utf16(const std::u16string& text, bool littleEndian, bool mark) {
    std::string bytes;
    std::u16string units = mark ? u"\uFEFF" + text : text;
    for (char16_t unit : units) {
        const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
        bytes += littleEndian ? low : high;
        bytes += littleEndian ? high : low;
    }
    return bytes;
}

TEST_F(SettingsFile, FilesOfOtherEditorsAreReadWholeAndSavedInTheirOwnForm) {
    // A UTF-8 byte order mark before the first section.
    const std::string mark = "\xEF\xBB\xBF";
    Write(mark + "[GameConfig]\nLevel=4\n");
    LauncherSettings settings = LoadSettings(Path);
    EXPECT_EQ(settings.Level, 4);
    SaveSettings(Path, settings);
    std::string saved = Read();
    EXPECT_TRUE(saved.starts_with(mark + "[GameConfig]\nLevel=4\n")) << saved;
    EXPECT_EQ(saved.find("[GameConfig]"), saved.rfind("[GameConfig]")) << saved;

    // Lines ended by a carriage return alone.
    Write("[GameConfig]\rLevel=5\r[Config]\rMidi=Mine\r");
    settings = LoadSettings(Path);
    EXPECT_EQ(settings.Level, 5);
    EXPECT_EQ(settings.Midi, "Mine");
    SaveSettings(Path, settings);
    saved = Read();
    EXPECT_TRUE(saved.starts_with("[GameConfig]\rLevel=5\r")) << saved;
    EXPECT_EQ(saved.find('\n'), std::string::npos);
    EXPECT_EQ(saved.find("[GameConfig]"), saved.rfind("[GameConfig]")) << saved;
    EXPECT_EQ(LoadSettings(Path).KeyA, settings.KeyA);

    // UTF-16 either way round, with its mark or without.
    for (const bool littleEndian : {true, false}) {
        for (const bool withMark : {true, false}) {
            SCOPED_TRACE(std::to_string(littleEndian) + std::to_string(withMark));
            Write(Utf16(u"; 私の設定\r\n[Config]\r\nMidi=シンセ 2\r\n[GameConfig]\r\nLevel=6\r\n",
                        littleEndian, withMark));
            settings = LoadSettings(Path);
            EXPECT_EQ(settings.Midi, "シンセ 2");
            EXPECT_EQ(settings.Level, 6);
            settings.Level = 1;
            SaveSettings(Path, settings);
            saved = Read();
            EXPECT_TRUE(saved.starts_with(
                Utf16(u"; 私の設定\r\n[Config]\r\nMidi=シンセ 2\r\n", littleEndian, withMark)));
            EXPECT_NE(saved.find(Utf16(u"\r\nLevel=1\r\n", littleEndian, false)), std::string::npos);
            EXPECT_EQ(LoadSettings(Path).Level, 1);
        }
    }
}

TEST_F(SettingsFile, Utf16ThatDoesNotDecodeIsRefusedWithItsReasonAndLeftAlone) {
    for (const std::string& broken :
         {Utf16(u"[GameConfig]\nLevel=6\n", true, true) + "x",
          Utf16(u"[Config]\nMidi=", true, true) + std::string("\x00\xDC", 2) + Utf16(u"\n", true, false)}) {
        Write(broken);
        try {
            SaveSettings(Path, LoadSettings(Path));
            FAIL() << "no error";
        } catch (const ESettingsError& error) {
            EXPECT_TRUE(std::string(error.what()).starts_with(Path + " に書き込めません (UTF-16"))
                << error.what();
        }
        EXPECT_EQ(Read(), broken);
    }
}

TEST_F(SettingsFile, AStrayNulByteInAnEightBitFileIsNotTakenForUtf16) {
    const std::string file = std::string("[GameConfig]\nLevel=6\n; a note\0with a NUL\n", 41);
    Write(file);
    const LauncherSettings loaded = LoadSettings(Path);
    EXPECT_EQ(loaded.Level, 6);
    SaveSettings(Path, loaded);
    EXPECT_NE(Read().find(std::string("; a note\0with a NUL\n", 20)), std::string::npos);
}

TEST_F(SettingsFile, SaveRemovesOnlyTheStaleTemporariesOfKilledSaves) {
    const auto touch = [&](const std::string& name, std::chrono::minutes age) {
        std::ofstream(Dir / name) << "[Config]\n";
        fs::last_write_time(Dir / name, fs::file_time_type::clock::now() - age);
    };
    touch(".tamtara.ini.a1B2c3", std::chrono::minutes(90)); // a save killed long ago
    touch(".tamtara.ini.Zz9yX8", std::chrono::minutes(0));  // a save at work this moment
    touch(".tamtara.ini.bak", std::chrono::minutes(90));    // the player's own
    touch(".other.ini.a1B2c3", std::chrono::minutes(90));   // another file's
    fs::create_directory(Dir / ".tamtara.ini.d4E5f6");      // not a file
    fs::last_write_time(Dir / ".tamtara.ini.d4E5f6",
                        fs::file_time_type::clock::now() - std::chrono::minutes(90));
    SaveSettings(Path, DefaultSettings());
    std::set<std::string> left;
    for (const fs::directory_entry& entry : fs::directory_iterator(Dir))
        left.insert(entry.path().filename().string());
    EXPECT_EQ(left, (std::set<std::string>{"tamtara.ini", ".tamtara.ini.Zz9yX8", ".tamtara.ini.bak",
                                           ".other.ini.a1B2c3", ".tamtara.ini.d4E5f6"}));
}

TEST_F(SettingsFile, DefaultSongFoldersAreNotWrittenSoLaterDefaultsApply) {
    // First run: the shipped songs only; the music folder is made afterwards.
    LauncherSettings settings = LoadSettings(Path, {"/data"});
    EXPECT_TRUE(settings.SongFoldersDefault);
    SaveSettings(Path, settings);
    EXPECT_EQ(Read().find("Folders="), std::string::npos) << Read();
    settings = LoadSettings(Path, {"/data", "/music"});
    EXPECT_EQ(settings.SongFolders, (std::vector<std::string>{"/data", "/music"}));

    // Once the player changes the list it is theirs, empty or not.
    settings.SongFolders = {"/music"};
    settings.SongFoldersDefault = false;
    SaveSettings(Path, settings);
    settings = LoadSettings(Path, {"/data", "/music", "/more"});
    EXPECT_FALSE(settings.SongFoldersDefault);
    EXPECT_EQ(settings.SongFolders, std::vector<std::string>{"/music"});
}

} // namespace
} // namespace tamtara
