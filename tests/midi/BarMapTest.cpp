// Bars and beats from time signatures: changes on and off bar lines, a pick-up, the pre-roll.
#include "midi/BarMap.h"
#include "midi/SmfBuilder.h"
#include "midi/SmfReader.h"
#include "midi/SongEnd.h"

#include <gtest/gtest.h>

#include <memory>

namespace tamtara {
namespace {

using namespace tamtara::testing;

Bytes TimeSignature(std::uint32_t delta, std::uint8_t numerator, std::uint8_t power) {
    return Meta(delta, 0x58, {numerator, power, 24, 8});
}

struct Song {
    explicit Song(const Bytes& track) {
        ParseSmf(Smf(480, {track}), *Model);
        Bars = BarMap::FromSong(*Model, SongEndTick(*Model));
    }
    std::unique_ptr<TSongModel> Model = std::make_unique<TSongModel>();
    BarMap Bars;
};

TEST(BarMap, CountsBarsThroughMeterChanges) {
    // Two bars of 4/4 (1920 ticks), two of 7/8 (1680), three of 3/4 (1440), ending on a bar line.
    const Song song(Cat({TimeSignature(0, 4, 2), TimeSignature(3840, 7, 3), TimeSignature(3360, 3, 2),
                         Ev(4320, {0xB0, 1, 0})}));
    const BarMap& bars = song.Bars;
    EXPECT_EQ(SongEndTick(*song.Model), 11520);
    EXPECT_EQ(bars.BarCount(), 7);
    EXPECT_FALSE(bars.HasPickup());
    const std::int32_t starts[] = {0, 1920, 3840, 5520, 7200, 8640, 10080, 11520};
    for (int bar = 1; bar <= 7; ++bar) {
        EXPECT_EQ(bars.BarStartTick(bar), starts[bar - 1]) << bar;
        EXPECT_EQ(bars.BarEndTick(bar), starts[bar]) << bar;
        EXPECT_EQ(bars.BarOfTick(starts[bar - 1]), bar);
        EXPECT_EQ(bars.BarOfTick(starts[bar] - 1), bar);
    }
    EXPECT_EQ(bars.BeatTicks(4000), 240);
    EXPECT_EQ(bars.MeterAt(4000).Numerator, 7);
    EXPECT_EQ(bars.MeterAt(4000).Denominator, 8);
    EXPECT_EQ(bars.MeterAt(9000).Numerator, 3);
    EXPECT_EQ(bars.BeatTicks(9000), 480);
    // Beats run from each bar line; the first beat of a bar is its downbeat.
    EXPECT_EQ(bars.BeatAtOrAfter(3841).Tick, 4080);
    EXPECT_FALSE(bars.BeatAtOrAfter(3841).Downbeat);
    EXPECT_EQ(bars.BeatAtOrAfter(5521 + 5 * 240).Tick, 5520 + 6 * 240);
    EXPECT_EQ(bars.BeatAtOrAfter(5520 + 6 * 240 + 1).Tick, 7200);
    EXPECT_TRUE(bars.BeatAtOrAfter(5520 + 6 * 240 + 1).Downbeat);
    // The pre-roll counts back in the first meter.
    EXPECT_EQ(bars.BarOfTick(-1), 0);
    EXPECT_EQ(bars.BarOfTick(-1921), -1);
    EXPECT_EQ(bars.BarStartTick(0), -1920);
}

TEST(BarMap, ChangeInsideABarCutsItShort) {
    // 3/4 arrives 1480 ticks into the first 7/8 bar: that bar ends there and 3/4 starts a bar.
    const Song song(Cat({TimeSignature(0, 4, 2), TimeSignature(3840, 7, 3), TimeSignature(1480, 3, 2),
                         Ev(1440, {0xB0, 1, 0})}));
    EXPECT_EQ(song.Bars.BarStartTick(4), 5320);
    EXPECT_EQ(song.Bars.BarOfTick(5319), 3);
    EXPECT_EQ(song.Bars.BarOfTick(5320), 4);
    EXPECT_EQ(song.Bars.BarCount(), 4);
    EXPECT_EQ(song.Bars.BeatAtOrAfter(5100).Tick, 5280);
    EXPECT_EQ(song.Bars.BeatAtOrAfter(5281).Tick, 5320);
}

TEST(BarMap, PickupIsTheFirstBar) {
    // A one-beat pick-up in 3/4, written as a 3/4 that only starts at the second beat...
    const Song late(Cat({TimeSignature(480, 3, 2), Ev(2880, {0x80, 60, 0})}));
    // ...or as a 1/4 bar followed by 3/4.
    const Song written(Cat({TimeSignature(0, 1, 2), TimeSignature(480, 3, 2), Ev(2880, {0x80, 60, 0})}));
    for (const BarMap* bars : {&late.Bars, &written.Bars}) {
        EXPECT_TRUE(bars->HasPickup());
        EXPECT_EQ(bars->BarStartTick(1), 0);
        EXPECT_EQ(bars->BarEndTick(1), 480);
        EXPECT_EQ(bars->BarOfTick(479), 1);
        EXPECT_EQ(bars->BarStartTick(2), 480);
        EXPECT_EQ(bars->BarStartTick(3), 1920);
        EXPECT_EQ(bars->BarCount(), 3);
    }
    // Without any time signature the song is in 4/4.
    const Song plain(Ev(3000, {0x80, 60, 0}));
    EXPECT_EQ(plain.Bars.BarCount(), 2);
    EXPECT_EQ(plain.Bars.MeterAt(0).Numerator, 4);
    EXPECT_FALSE(plain.Bars.HasPickup());
}

} // namespace
} // namespace tamtara
