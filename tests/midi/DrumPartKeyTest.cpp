// The drum-part key on variants of one song: what must keep it, and what must change it.
#include "midi/DrumPartKey.h"
#include "midi/SmfBuilder.h"
#include "midi/SmfReader.h"
#include "midi/SongModel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace tamtara::testing {
namespace {

// How a variant differs from the plain song.
struct Variant {
    int Scale = 1;               // division and every tick multiplied
    bool OneTrack = false;       // format 0: everything in one track, running status
    bool RepeatedTempo = false;  // the tempo at the start written again in bar 1
    bool NoteOffsAsZero = false; // note-offs written as note-ons of velocity 0
    bool Renamed = false;        // other track names
    bool OtherParts = false;     // another program and other notes on channel 1
    std::uint8_t Velocity = 100;
    std::uint8_t Kick = 36; // 35 is the same lane
    bool Moved = false, Added = false, Removed = false;
    std::uint32_t SecondTempo = 400000;
    bool DrumsOnChannelOne = false;
};

struct At {
    std::uint32_t Tick;
    Bytes Event; // status and data, or a meta event's FF type length data
};

Bytes TrackOf(std::vector<At> events, bool runningStatus) {
    std::stable_sort(events.begin(), events.end(), [](const At& a, const At& b) { return a.Tick < b.Tick; });
    Bytes out;
    std::uint32_t last = 0;
    std::uint8_t running = 0;
    for (const At& e : events) {
        PutVarLen(out, e.Tick - last);
        last = e.Tick;
        auto from = e.Event.begin();
        if (runningStatus && e.Event[0] < 0xF0 && e.Event[0] == running) ++from;
        running = e.Event[0] < 0xF0 ? e.Event[0] : 0;
        out.insert(out.end(), from, e.Event.end());
    }
    const Bytes end = EndOfTrack();
    out.insert(out.end(), end.begin(), end.end());
    return out;
}

Bytes Name(const std::string& text) {
    Bytes out{0xFF, 0x03, static_cast<std::uint8_t>(text.size())};
    for (char c : text)
        out.push_back(static_cast<std::uint8_t>(c));
    return out;
}

Bytes TempoEvent(std::uint32_t micros) {
    return {0xFF,
            0x51,
            0x03,
            static_cast<std::uint8_t>(micros >> 16),
            static_cast<std::uint8_t>(micros >> 8),
            static_cast<std::uint8_t>(micros)};
}

// Four bars of a beat at 96 ticks per quarter, 100 beats per minute with a change in bar 2, a
// bass part and a note that has no lane (39, hand clap).
Bytes Song(const Variant& v) {
    const std::uint32_t s = static_cast<std::uint32_t>(v.Scale);
    std::vector<At> conductor{{0, Name(v.Renamed ? "Tempo" : "Conductor")},
                              {0, TempoEvent(600000)},
                              {384 * s, TempoEvent(v.SecondTempo)}};
    if (v.RepeatedTempo) conductor.push_back({192 * s, TempoEvent(600000)});
    const std::uint8_t drum = v.DrumsOnChannelOne ? 0x90 : 0x99;
    const std::uint8_t off = v.NoteOffsAsZero ? drum : static_cast<std::uint8_t>(drum - 0x10);
    const std::uint8_t offVelocity = v.NoteOffsAsZero ? 0 : 64;
    std::vector<At> drums{{0, Name(v.Renamed ? "Kit" : "Drums")}};
    auto hit = [&](std::uint32_t tick, std::uint8_t note) {
        drums.push_back({tick * s, {drum, note, v.Velocity}});
        drums.push_back({(tick + 12) * s, {off, note, offVelocity}});
    };
    for (std::uint32_t beat = 0; beat < 16; ++beat) {
        hit(beat * 96, 42);
        hit(beat * 96 + 48, 42);
        if (beat % 2 == 0) hit(beat * 96, v.Kick);
        if (beat % 2 == 1 && !(v.Removed && beat == 5)) hit(beat * 96, 38);
    }
    hit(v.Moved ? 1500 : 1488, 49); // a crash on the last eighth, or a 96th later
    if (v.Added) hit(200, 45);
    hit(100, 39);
    std::vector<At> bass{{0, Name(v.Renamed ? "Bass 2" : "Bass")},
                         {0, {0xC1, std::uint8_t(v.OtherParts ? 35 : 33)}}};
    for (std::uint32_t beat = 0; beat < 16; beat += v.OtherParts ? 2 : 1) {
        bass.push_back({beat * 96 * s, {0x91, std::uint8_t(v.OtherParts ? 40 : 28), 90}});
        bass.push_back({(beat * 96 + 80) * s, {0x81, std::uint8_t(v.OtherParts ? 40 : 28), 0}});
    }
    const int division = 96 * v.Scale;
    if (v.OneTrack) {
        std::vector<At> all = conductor;
        all.insert(all.end(), drums.begin(), drums.end());
        all.insert(all.end(), bass.begin(), bass.end());
        return Smf(division, {TrackOf(all, true)}, 0);
    }
    return Smf(division, {TrackOf(conductor, false), TrackOf(drums, false), TrackOf(bass, false)});
}

std::string KeyOf(const Variant& v) {
    auto song = std::make_unique<TSongModel>();
    ParseSmf(Song(v), *song);
    return DrumPartKey(*song, LaneMap::Standard());
}

TEST(DrumPartKey, IsSixtyFourLowercaseHexDigits) {
    const std::string key = KeyOf({});
    ASSERT_EQ(key.size(), 64u);
    EXPECT_EQ(key.find_first_not_of("0123456789abcdef"), std::string::npos) << key;
}

TEST(DrumPartKey, StaysWhenTheChartStays) {
    const std::string plain = KeyOf({});
    struct Case {
        const char* What;
        Variant V;
    };
    const Case cases[] = {
        {"re-saved as format 0 with running status", {.OneTrack = true}},
        {"the start tempo written again", {.RepeatedTempo = true}},
        {"note-offs as silent note-ons", {.NoteOffsAsZero = true}},
        {"tracks renamed", {.Renamed = true}},
        {"other parts and programs edited", {.OtherParts = true}},
        {"division and ticks doubled", {.Scale = 2}},
        {"division and ticks times five", {.Scale = 5}},
        {"velocities changed", {.Velocity = 31}},
        {"kick 36 moved to 35", {.Kick = 35}},
        {"all of it at once",
         {.Scale = 3,
          .OneTrack = true,
          .RepeatedTempo = true,
          .Renamed = true,
          .OtherParts = true,
          .Velocity = 1,
          .Kick = 35}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(KeyOf(c.V), plain) << c.What;
    EXPECT_EQ(KeyOf({.Scale = 2, .Moved = true}), KeyOf({.Moved = true})) << "a changed chart, scaled";
}

TEST(DrumPartKey, ChangesWhenTheChartChanges) {
    const std::string plain = KeyOf({});
    struct Case {
        const char* What;
        Variant V;
    };
    const Case cases[] = {
        {"a note moved", {.Moved = true}},
        {"a note added", {.Added = true}},
        {"a note removed", {.Removed = true}},
        {"the tempo changed", {.SecondTempo = 400001}},
        {"the kick moved to another lane", {.Kick = 38}},
        {"the drums off channel 10", {.DrumsOnChannelOne = true}},
    };
    std::vector<std::string> keys{plain};
    for (const Case& c : cases) {
        const std::string key = KeyOf(c.V);
        EXPECT_EQ(std::find(keys.begin(), keys.end(), key), keys.end()) << c.What;
        keys.push_back(key);
    }
}

} // namespace
} // namespace tamtara::testing
