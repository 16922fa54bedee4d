// "夕焼けの帰り道" (the way home at sunset): a slow ballad at 80 BPM in A minor with a
// shakuhachi melody; pedal hi-hat and kick only in the intro, sixteenth hi-hats in the chorus.
#include "songgen/Catalogue.h"
#include "songgen/songs/Fills.h"

namespace tamtara {

namespace {

// The title in Shift_JIS, as the game reads titles: 夕焼けの帰り道.
const char* const Title = "\x97\x5b\x8f\xc4\x82\xaf\x82\xcc\x8b\x41\x82\xe8\x93\xb9";

const TGroove Intro{{
    {Kit::HatPedal, "x...x...x...x..."},
    {Kit::Kick, "x.......x......."},
    {Kit::SideStick, "....x.......x..."},
}};
const TGroove Verse{{
    {Kit::HatClosed, "x.x.x.x.x.x.x.x."},
    {Kit::Kick, "x.......x.....x."},
    {Kit::Snare, "....x.......x..."},
    {Kit::Shaker, "xoxoxoxoxoxoxoxo"},
}};
const TGroove PreChorus{{
    {Kit::HatClosed, "x.x.x.x.x.x.x..."},
    {Kit::HatOpen, "..............x."},
    {Kit::Kick, "x.....x.x......."},
    {Kit::Snare, "....x.......x..."},
}};
const TGroove Chorus{{
    {Kit::HatClosed, "x.xxx.xxx.xxx.x."},
    {Kit::HatOpen, "..............x."},
    {Kit::Kick, "x.....x.x.....x."},
    {Kit::Snare, "....X.......X..."},
}};
const TGroove ChorusTurn{{
    {Kit::HatClosed, "x.xxx.xxx.x....."},
    {Kit::Kick, "x.....x.x.x....."},
    {Kit::Snare, "....X.......X..."},
    {Kit::Splash, "............x..."},
    {Kit::TomHigh, "..............x."},
    {Kit::TomLowMid, "...............x"},
}};
// Toms under the strings while the melody rests.
const TGroove Interlude{{
    {Kit::HatPedal, "x...x...x...x..."},
    {Kit::Kick, "x..........x...."},
    {Kit::FloorLow, "......x.......x."},
    {Kit::TomHighMid, "....x..........."},
    {Kit::FloorHigh, "............x..."},
}};

const char* VerseMelody = "A4:4 C5:4 D5:4 E5:4 | G5:6 E5:2 D5:8 | C5:4 D5:4 F5:4 A4:4 | E5:6 D5:2 C5:8 |"
                          " A5:4 G5:4 F5:4 D5:4 | D5:6 E5:2 G5:8 | E5:4 D5:4 B4:4 G4:4 | A4:12 r:4";
const char* PreMelody = "C5:4 D5:4 F5:8 | D5:4 E5:4 G5:8 | F5:4 G5:4 A5:8 | B5:8 r:8";
const char* ChorusMelody =
    ">A5:4 A5:2 G5:2 A5:4 C6:4 | D6:6 C6:2 A5:4 G5:4 | G5:4 E5:4 D5:4 E5:4 | A5:12 r:4 |"
    " A5:4 A5:2 G5:2 A5:4 C6:4 | D6:6 E6:2 D6:4 B5:4 | A5:4 G5:4 E5:4 D5:4 | E5:4 C5:4 A4:8";

TSection ChorusSection(const char* name) {
    return {.Name = name,
            .Bars = 8,
            .Chords = {"F", "G", "Em", "Am"},
            .Drums = {&Chorus, &Chorus, &Chorus, &ChorusTurn},
            .Fill = &Fills::EighthsDown,
            .CrashKey = Kit::Crash,
            .Bass = "R.....R.R...5...",
            .Comp = "x---x---x---x-x-",
            .Lead = ChorusMelody,
            .Pad = true};
}

} // namespace

TSong SunsetRoad() {
    TSong song{.Folder = "Warmup", .FileName = "sunset_road", .Title = Title, .Tempo = 80};
    song.Bass = {.Program = 33, .Volume = 104};
    song.Comp = {.Program = 4, .Volume = 88, .Pan = 44};
    song.Lead = {.Program = 77, .Volume = 100, .Pan = 80, .Reverb = 60};
    song.Pad = {.Program = 49, .Volume = 72};
    song.Sections = {
        {.Name = "Intro",
         .Bars = 4,
         .Chords = {"Am", "F", "G", "C"},
         .Drums = {&Intro},
         .Fill = &Fills::QuarterTomsLow,
         .CrashKey = Kit::Splash,
         .Comp = "1-2-3-2-1-2-3-2-",
         .Pad = true,
         .Level = 80},
        {.Name = "Verse",
         .Bars = 8,
         .Chords = {"Am", "Em", "F", "C", "F", "G", "Em", "Am"},
         .Drums = {&Verse},
         .Fill = &Fills::QuarterToms,
         .CrashKey = Kit::Crash,
         .Bass = "R-------R---5---",
         .Comp = "1.2.3.2.1.2.3.2.",
         .Lead = VerseMelody,
         .Level = 88},
        {.Name = "Pre-chorus",
         .Bars = 4,
         .Chords = {"Dm", "Em", "F", "G"},
         .Drums = {&PreChorus},
         .Fill = &Fills::SnareBuild,
         .Bass = "R...R...R...R...",
         .Comp = "x-x-x-x-x-x-x-x-",
         .Lead = PreMelody,
         .Pad = true,
         .Level = 92},
        ChorusSection("Chorus 1"),
        {.Name = "Interlude",
         .Bars = 4,
         .Chords = {"Am", "F", "G", "C"},
         .Drums = {&Interlude},
         .Fill = &Fills::SnareBuild,
         .CrashKey = Kit::Crash2,
         .Bass = "R-------R-------",
         .Comp = "1-2-3-2-1-2-3-2-",
         .Pad = true,
         .Level = 86},
        ChorusSection("Chorus 2"),
        {.Name = "Outro",
         .Bars = 4,
         .Chords = {"F", "G", "Am", "Am"},
         .Drums = {&Intro},
         .CrashKey = Kit::Crash,
         .Bass = "R---------------",
         .Comp = "1-2-3-2-1-2-3-2-",
         .Lead = "F5:16 | D5:16 | A4:32",
         .Pad = true,
         .Level = 78},
    };
    return song;
}

} // namespace tamtara
