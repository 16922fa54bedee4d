// The shipped music: every demo song and jingle as the game will read it.
#include "SongReadback.h"
#include "app/play/PlayState.h"
#include "app/play/PreRoll.h"
#include "base/Stream.h"
#include "platform/display/ImageDecoders.h"
#include "songgen/Catalogue.h"
#include "songgen/Picture.h"
#include "songgen/SongFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iconv.h>
#include <map>
#include <set>

namespace tamtara {
namespace {

std::string ToShiftJis(const std::string& utf8) {
    iconv_t cd = iconv_open("SHIFT_JIS", "UTF-8");
    std::string in = utf8, out(utf8.size() * 2, '\0');
    char* inPtr = in.data();
    char* outPtr = out.data();
    std::size_t inLeft = in.size(), outLeft = out.size();
    iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out;
}

// Strikes the player must make per lane, pairing notes a thirty-second apart as the game does.
std::map<int, std::vector<int>> StrikesByLane(const TReadback& back) {
    const int half = back.Song->Division / 8;
    std::map<int, std::vector<int>> strikes;
    std::map<int, bool> partnered;
    for (const TDrumHit& hit : back.DrumHits) {
        const int lane = LaneOf(hit.Key);
        if (lane < 0) continue;
        std::vector<int>& ticks = strikes[lane];
        if (!ticks.empty() && !partnered[lane] && ticks.back() >= hit.Tick - half) {
            partnered[lane] = true;
            continue;
        }
        ticks.push_back(hit.Tick);
        partnered[lane] = false;
    }
    return strikes;
}

class DemoSong : public testing::TestWithParam<TSong> {};

TEST_P(DemoSong, UsesEveryKeyOfEveryLane) {
    const TReadback back = ReadBack(RenderSong(GetParam()).Bytes);
    std::set<int> keys;
    for (const TDrumHit& hit : back.DrumHits)
        keys.insert(hit.Key);
    // Closed, pedal and open hi-hat, snare, both kicks, all six toms, both crashes and the splash.
    for (int key : {42, 44, 46, 38, 35, 36, 50, 48, 47, 45, 43, 41, 49, 55, 57})
        EXPECT_TRUE(keys.count(key)) << GetParam().FileName << " never plays key " << key;
    EXPECT_EQ(StrikesByLane(back).size(), 7u);
}

TEST_P(DemoSong, LastsAsPlannedBetweenNinetySecondsAndThreeMinutes) {
    const TRenderedSong rendered = RenderSong(GetParam());
    const TReadback back = ReadBack(rendered.Bytes);
    EXPECT_EQ(back.Song->Division, 480);
    EXPECT_GE(back.Seconds(), 90.0);
    EXPECT_LE(rendered.Seconds, 180.0);
    // The song ends, for the sequencer, with its last stored event: exactly the planned end.
    EXPECT_EQ(back.LastTick, rendered.EndTick);
    EXPECT_NEAR(back.Seconds(), rendered.Seconds, 1e-9);
}

TEST_P(DemoSong, HasATitleAndSoundsBassChordsAndMelodyWithPrograms) {
    const std::vector<std::uint8_t> bytes = RenderSong(GetParam()).Bytes;
    EXPECT_EQ(ReadSmfTitle(bytes), GetParam().Title);
    const TReadback back = ReadBack(bytes);
    std::set<int> programmed, sounding;
    for (int t = 0; t < back.Song->TrackCount; ++t) {
        const TMidiTrack& track = back.Song->Tracks[static_cast<std::size_t>(t)];
        for (int i = 0; i < track.Count(); ++i) {
            const int status = track[i].Event.Status;
            if ((status & 0xF0) == 0xC0) programmed.insert(status & 0x0F);
            if ((status & 0xF0) == 0x90 && track[i].Event.Data2 > 0) sounding.insert(status & 0x0F);
        }
    }
    for (int channel : {0, 1, 2}) {
        EXPECT_TRUE(sounding.count(channel)) << "channel " << channel + 1 << " is silent";
        EXPECT_TRUE(programmed.count(channel));
    }
}

// Playable: no lane asks for strikes closer than a sixteenth or more than nine in any second, and the busiest
// part of a song is clearly busier than its quietest, so every difficulty has room to breathe and to work.
TEST_P(DemoSong, StaysPlayableWithEasyAndBusyParts) {
    const TReadback back = ReadBack(RenderSong(GetParam()).Bytes);
    const auto strikes = StrikesByLane(back);
    for (const auto& [lane, ticks] : strikes) {
        // Nothing faster than sixteenths on one lane, and no note left over from a pairing.
        for (std::size_t i = 1; i < ticks.size(); ++i)
            EXPECT_GE(ticks[i] - ticks[i - 1], back.Song->Division / 4)
                << GetParam().FileName << " lane " << lane;
        for (std::size_t i = 0; i + 9 < ticks.size(); ++i) {
            const double window =
                TicksToSeconds(ticks[i + 9], back.Tempos, 480) - TicksToSeconds(ticks[i], back.Tempos, 480);
            EXPECT_GT(window, 1.0) << GetParam().FileName << " lane " << lane << " at tick " << ticks[i];
        }
    }
    std::map<int, int> perFourBars;
    for (const auto& [lane, ticks] : strikes)
        for (int tick : ticks)
            ++perFourBars[tick / (4 * BarTicks)];
    int busiest = 0, quietest = 1 << 30;
    for (const auto& [block, count] : perFourBars) {
        busiest = std::max(busiest, count);
        quietest = std::min(quietest, count);
    }
    EXPECT_GE(busiest, 2 * quietest) << GetParam().FileName;
}

// A held melody note a semitone from a chord tone sounds wrong unless it is a chord tone
// itself (the seventh of a major seventh chord).
TEST_P(DemoSong, HeldMelodyNotesAgreeWithTheChords) {
    const TReadback back = ReadBack(RenderSong(GetParam()).Bytes);
    constexpr int Lead = 2, Comp = 1, Pad = 3;
    for (const TNoteSpan& note : back.Notes) {
        if (note.Channel != Lead || note.End - note.Start < 400) continue;
        std::set<int> chord;
        for (const TNoteSpan& other : back.Notes)
            if ((other.Channel == Comp || other.Channel == Pad) && other.Start <= note.Start + 10 &&
                other.End > note.Start + 10)
                chord.insert(other.Key % 12);
        if (chord.count(note.Key % 12)) continue;
        for (int pc : chord) {
            const int distance = (note.Key - pc + 12) % 12;
            EXPECT_TRUE(distance != 1 && distance != 11)
                << GetParam().FileName << ": key " << note.Key << " at bar " << note.Start / BarTicks + 1;
        }
    }
}

// The play screen's two mends are never needed by a shipped song: its first lane note comes
// late enough to scroll in from above the lanes at every speed, and no lane has two notes
// within a tick of each other (which play would merge into one).
TEST_P(DemoSong, NeedsNoPreRollAndHasNoMergedNotes) {
    const TReadback back = ReadBack(RenderSong(GetParam()).Bytes);
    EXPECT_GE(FirstLaneNoteTick(*back.Song, LaneMap::Standard()), LeadInBars * BarTicks);
    for (std::int32_t speed : {75, 100, 150, 200})
        EXPECT_EQ(SongPreRoll(*back.Song, LaneMap::Standard(), speed, 33), 0)
            << GetParam().FileName << " at " << speed;
    std::map<int, std::vector<int>> ticks;
    for (const TDrumHit& hit : back.DrumHits)
        if (LaneOf(hit.Key) >= 0) ticks[LaneOf(hit.Key)].push_back(hit.Tick);
    for (auto& [lane, list] : ticks) {
        std::sort(list.begin(), list.end());
        for (std::size_t i = 1; i < list.size(); ++i)
            EXPECT_GT(list[i] - list[i - 1], LayerTicks)
                << GetParam().FileName << " lane " << lane << " at " << list[i];
    }
}

INSTANTIATE_TEST_SUITE_P(Catalogue, DemoSong, testing::ValuesIn(DemoSongs()),
                         [](const testing::TestParamInfo<TSong>& info) { return info.param.FileName; });

TEST(DemoSongs, SixSongsInTwoFoldersFromEightyToOneEightyBpmOneWithTempoChanges) {
    const std::vector<TSong> songs = DemoSongs();
    EXPECT_GE(songs.size(), 6u);
    std::set<std::string> folders;
    int slowest = 1000, fastest = 0, withChanges = 0;
    for (const TSong& song : songs) {
        folders.insert(song.Folder);
        EXPECT_NE(song.FileName[0], '_');
        const TReadback back = ReadBack(RenderSong(song).Bytes);
        std::set<int> tempos;
        for (const TTempoPoint& point : back.Tempos)
            tempos.insert(point.BeatsPerMinute);
        slowest = std::min(slowest, *tempos.begin());
        fastest = std::max(fastest, *tempos.rbegin());
        withChanges += tempos.size() > 1;
    }
    EXPECT_GE(folders.size(), 2u);
    EXPECT_EQ(slowest, 80);
    EXPECT_EQ(fastest, 180);
    EXPECT_GE(withChanges, 1);
}

TEST(DemoSongs, JapaneseTitleIsStoredAsShiftJis) {
    const TSong song = SunsetRoad();
    EXPECT_EQ(ReadSmfTitle(RenderSong(song).Bytes), ToShiftJis("夕焼けの帰り道"));
}

TEST(Jingles, AreNamedForTheGameAndLastAsLongAsTheirScreens) {
    std::map<std::string, double> seconds;
    for (const TSong& jingle : Jingles()) {
        EXPECT_TRUE(jingle.Folder.empty());
        const TRenderedSong rendered = RenderSong(jingle);
        const TReadback back = ReadBack(rendered.Bytes);
        EXPECT_FALSE(back.DrumHits.empty());
        EXPECT_EQ(back.LastTick, rendered.EndTick);
        seconds[SongPath(jingle)] = rendered.Seconds;
    }
    ASSERT_EQ(seconds.size(), 4u);
    EXPECT_NEAR(seconds["_enter.mid"], 1.0, 0.2);
    EXPECT_GE(seconds["_select.mid"], 8.0);
    EXPECT_LE(seconds["_select.mid"], 16.0);
    for (const char* name : {"_failed.mid", "_cleared.mid"}) {
        EXPECT_GE(seconds[name], 2.0) << name;
        EXPECT_LE(seconds[name], 4.0) << name;
    }
}

// The selection loop restarts from its first tick: nothing may still sound at the loop point,
// and no cymbal marks the restart.
TEST(Jingles, SelectionLoopClosesCleanly) {
    const std::vector<TSong> jingles = Jingles();
    const auto select =
        std::find_if(jingles.begin(), jingles.end(), [](const TSong& s) { return s.FileName == "_select"; });
    ASSERT_NE(select, jingles.end());
    const TRenderedSong rendered = RenderSong(*select);
    EXPECT_EQ(rendered.EndTick % BarTicks, 0);
    const TReadback back = ReadBack(rendered.Bytes);
    EXPECT_EQ(back.LastTick, rendered.EndTick); // the loop restarts on the bar line
    for (const TDrumHit& hit : back.DrumHits)
        EXPECT_FALSE(hit.Tick == 0 && LaneOf(hit.Key) == 6);
    for (int t = 0; t < back.Song->TrackCount; ++t) {
        std::map<int, int> open;
        const TMidiTrack& track = back.Song->Tracks[static_cast<std::size_t>(t)];
        for (int i = 0; i < track.Count(); ++i) {
            const auto& e = track[i].Event;
            const int key = ((e.Status & 0x0F) << 8) | e.Data1;
            if ((e.Status & 0xF0) == 0x90 && e.Data2 > 0) ++open[key];
            if ((e.Status & 0xF0) == 0x80) --open[key];
        }
        for (const auto& [key, count] : open)
            EXPECT_EQ(count, 0) << "note " << (key & 0x7F) << " left sounding";
    }
}

TEST(SongPictures, AreSixFortyByFourEightyInBothFormats) {
    const std::vector<std::uint8_t> bmp = EncodeBmp(DrawNeonHighway());
    ASSERT_GE(bmp.size(), 54u);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(bmp[18] | bmp[19] << 8, 640);
    EXPECT_EQ(bmp[22] | bmp[23] << 8, 480);
    EXPECT_EQ(bmp[28], 24);
    EXPECT_EQ(bmp.size(), 54u + 640u * 480u * 3u);

    const std::vector<std::uint8_t> jpeg = EncodeJpeg(DrawSunsetRoad(), 90);
    ASSERT_GE(jpeg.size(), 4u);
    EXPECT_EQ(jpeg[0], 0xFF);
    EXPECT_EQ(jpeg[1], 0xD8);
    EXPECT_EQ(jpeg[jpeg.size() - 2], 0xFF);
    EXPECT_EQ(jpeg.back(), 0xD9);
    EXPECT_LT(jpeg.size(), 300000u);
}

// The game's own decoders read both pictures back at full size, the sun where it was drawn.
TEST(SongPictures, DecodeWithTheGamesDecoders) {
    TMemoryStream bmp(EncodeBmp(DrawNeonHighway()));
    const std::optional<TDecodedImage> neon = DecodeBmp(bmp);
    ASSERT_TRUE(neon.has_value());
    EXPECT_EQ(neon->Width, 640);
    EXPECT_EQ(neon->Height, 480);
    const std::uint16_t sunTop = neon->Pixels[static_cast<std::size_t>(120 * 640 + 320)];
    EXPECT_EQ(sunTop >> 11, 31); // full red at the top of the sun

    TMemoryStream jpeg(EncodeJpeg(DrawSunsetRoad(), 90));
    const TDecodedImage sunset = DecodeJpeg(jpeg);
    EXPECT_EQ(sunset.Width, 640);
    EXPECT_EQ(sunset.Height, 480);
    EXPECT_GE(sunset.Pixels[static_cast<std::size_t>(260 * 640 + 320)] >> 11, 29);
}

// The game folder as the build leaves it: every song where the scan finds it, each picture beside
// its song under the song's base name, and all of it well inside the content budget.
TEST(GameFolder, HoldsEverySongWithItsPictureWithinBudget) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::path(testing::TempDir()) / "songgen_game";
    fs::remove_all(dir);
    WriteGameMusic(dir.string());
    std::uintmax_t total = 0;
    for (const auto& entry : fs::recursive_directory_iterator(dir))
        if (entry.is_regular_file()) total += entry.file_size();
    EXPECT_LT(total, 2u * 1024 * 1024);
    for (const TSong& song : DemoSongs()) {
        const std::vector<std::uint8_t> bytes = ReadFileBytes((dir / SongPath(song)).string());
        EXPECT_EQ(ReadSmfTitle(bytes), song.Title);
    }
    for (const TSong& jingle : Jingles())
        EXPECT_TRUE(fs::exists(dir / SongPath(jingle)));
    EXPECT_TRUE(fs::exists(dir / "Warmup/sunset_road.mid"));
    EXPECT_TRUE(fs::exists(dir / "Warmup/sunset_road.jpg"));
    EXPECT_TRUE(fs::exists(dir / "Workout/neon_highway.mid"));
    EXPECT_TRUE(fs::exists(dir / "Workout/neon_highway.bmp"));
    fs::remove_all(dir);
}

} // namespace
} // namespace tamtara
