// The four short pieces the menus play: entering a screen, the selection loop, failing and clearing.
#include "songgen/Catalogue.h"
#include "songgen/Music.h"

namespace tamtara {

namespace {

// A bar at 240 BPM lasts one second: a quick rising arpeggio and a hit.
TSong Enter() {
    static const TGroove hit{{
        {Kit::Snare, "xxxx............"},
        {Kit::Kick, "....x..........."},
        {Kit::Crash, "....x..........."},
    }};
    TSong song{.FileName = "_enter", .Title = "Tamtara - enter", .Tempo = 240};
    song.Bass = {.Program = 38};
    song.Comp = {.Program = 61, .Volume = 90};
    song.Lead = {.Program = 80, .Volume = 80};
    song.Sections = {{.Name = "Enter",
                      .Bars = 1,
                      .Chords = {"C"},
                      .Drums = {&hit},
                      .Bass = "....R-----......",
                      .Comp = "....x-----......",
                      .Lead = "C5:1 E5:1 G5:1 C6:1 >E6:6 r:6"}};
    return song;
}

// Four bars at 96 BPM (ten seconds). No cymbal on the downbeat and nothing rings past the
// last bar, so the loop point cannot be heard.
TSong Select() {
    static const TGroove groove{{
        {Kit::Ride, "x.x.x.x.x.x.x.x."},
        {Kit::Kick, "x.......x.x....."},
        {Kit::SideStick, "....x.......x..."},
        {Kit::Shaker, "oooooooooooooooo"},
    }};
    TSong song{.FileName = "_select", .Title = "Tamtara - select", .Tempo = 96, .DrumVolume = 100};
    song.Bass = {.Program = 33, .Volume = 108};
    song.Comp = {.Program = 4, .Volume = 100, .Pan = 44};
    song.Lead = {.Program = 11, .Volume = 100, .Pan = 84};
    song.Sections = {{.Name = "Loop",
                      .Bars = 4,
                      .Chords = {"Fmaj7", "Em7", "Dm7", "Cmaj7"},
                      .Drums = {&groove},
                      .Bass = "R-----R-5---R---",
                      .Comp = "1.2.3.4.3.2.1.2.",
                      .Lead = "A5:6 G5:2 E5:8 | G5:6 E5:2 D5:8 | F5:4 E5:4 D5:4 C5:4 | E5:8 G5:6 r:2",
                      .Level = 96}};
    return song;
}

// One slow bar (three seconds) sliding down in A minor.
TSong Failed() {
    static const TGroove fall{{
        {Kit::Kick, "x..............."},
        {Kit::FloorLow, "x..............."},
        {Kit::TomHigh, "........x......."},
        {Kit::TomLow, "..........x....."},
        {Kit::FloorHigh, "............x..."},
    }};
    TSong song{.FileName = "_failed", .Title = "Tamtara - failed", .Tempo = 80};
    song.Bass = {.Program = 32};
    song.Comp = {.Program = 19, .Volume = 80};
    song.Lead = {.Program = 57, .Volume = 96};
    song.Sections = {{.Name = "Failed",
                      .Bars = 1,
                      .Chords = {"Am Fm"},
                      .Drums = {&fall},
                      .Bass = "R-------R-------",
                      .Comp = "x------.x------.",
                      .Lead = "E5:3 D#5:3 D5:2 C#5:3 C5:3 r:2"}};
    return song;
}

// Two bars at 150 BPM (3.2 seconds): a brass fanfare over a snare roll.
TSong Cleared() {
    static const TGroove roll{{
        {Kit::Snare, "x.x.x.x.xxxxxxxx"},
        {Kit::Kick, "x.......x......."},
    }};
    static const TGroove hit{{
        {Kit::Kick, "x..............."},
        {Kit::Crash, "x..............."},
        {Kit::Crash2, "........x......."},
    }};
    TSong song{.FileName = "_cleared", .Title = "Tamtara - cleared", .Tempo = 150};
    song.Bass = {.Program = 33};
    song.Comp = {.Program = 61, .Volume = 92};
    song.Lead = {.Program = 56, .Volume = 96};
    song.Sections = {{.Name = "Cleared",
                      .Bars = 2,
                      .Chords = {"C G", "C"},
                      .Drums = {&roll, &hit},
                      .Bass = "R.R.R.R.R.R.R.R.",
                      .Comp = "x.x.x.x.x-x-x-x-",
                      .Lead = "G4:2 C5:2 E5:2 G5:4 E5:2 G5:4 | >C6:12 r:4"}};
    return song;
}

} // namespace

std::vector<TSong> Jingles() {
    return {Enter(), Select(), Failed(), Cleared()};
}

} // namespace tamtara
