// "City Lights": disco-funk at 112 BPM in D dorian; four on the floor, open hi-hats on the
// off-beats, electric snare and sixteenth hi-hats in the choruses, a tom break in the middle.
#include "songgen/Catalogue.h"
#include "songgen/songs/Fills.h"

namespace tamtara {

namespace {

const TGroove Intro{{
    {Kit::HatOpen, "..x...x...x...x."},
    {Kit::Kick, "x...x...x...x..."},
    {Kit::Clap, "....x.......x..."},
}};
const TGroove Verse{{
    {Kit::HatClosed, "x...x...x...x..."},
    {Kit::HatOpen, "..x...x...x...x."},
    {Kit::Kick, "x...x...x...x..."},
    {Kit::Snare, "....x.......x..."},
    {Kit::Cowbell, "x.x.x.x.x.x.x.x."},
}};
const TGroove Chorus{{
    {Kit::HatClosed, "xx..xx..xx..xx.."},
    {Kit::HatOpen, "..x...x...x...x."},
    {Kit::Kick, "x...x...x...x..."},
    {Kit::SnareElectric, "....X.......X..."},
    {Kit::Tambourine, "oxoxoxoxoxoxoxox"},
}};
const TGroove ChorusTurn{{
    {Kit::HatClosed, "xx..xx..xx......"},
    {Kit::HatOpen, "..x...x...x....."},
    {Kit::Kick, "x...x...x...x..."},
    {Kit::SnareElectric, "....X.......X.x."},
    {Kit::Splash, "............x..."},
}};
// Drums alone in the middle: toms over the pedal hi-hat.
const TGroove Break{{
    {Kit::HatPedal, "..x...x...x...x."},
    {Kit::Kick, "x..x..x...x....."},
    {Kit::TomHigh, "....x..........."},
    {Kit::TomHighMid, ".....x.........."},
    {Kit::TomLowMid, "..........x....."},
    {Kit::TomLow, "...........x...."},
    {Kit::FloorHigh, "............x..."},
    {Kit::FloorLow, "..............x."},
}};

const char* VerseMelody =
    "D5:2 F5:2 A5:4 G5:2 F5:2 D5:4 | r:2 B4:2 D5:2 F5:2 E5:4 D5:4 | A5:4 C6:2 A5:2 G5:4 F5:4 |"
    " E5:2 F5:2 G5:4 D5:8";
const char* ChorusMelody =
    ">D6:4 C6:2 A5:2 F5:4 A5:4 | G5:4 E5:2 G5:2 C6:8 | C6:4 A5:2 G5:2 E5:4 G5:4 | A5:4 F5:4 D5:8";

TSection VerseSection(const char* name) {
    return {.Name = name,
            .Bars = 8,
            .Chords = {"Dm7", "G7"},
            .Drums = {&Verse},
            .Fill = &Fills::EighthsDown,
            .CrashKey = Kit::Crash,
            .Bass = "R..R..8.R.5.8.R.",
            .Comp = "..x...x...x...x.",
            .Lead = VerseMelody,
            .Level = 90};
}

TSection ChorusSection(const char* name, const TGroove* fill) {
    return {.Name = name,
            .Bars = 8,
            .Chords = {"Bbmaj7", "C", "Am7", "Dm7"},
            .Drums = {&Chorus, &Chorus, &Chorus, &ChorusTurn},
            .Fill = fill,
            .CrashKey = Kit::Crash2,
            .Bass = "R.8.R.8.R.8.R.8.",
            .Comp = "..x...x...x...x.",
            .Lead = ChorusMelody,
            .Pad = true};
}

} // namespace

TSong CityLights() {
    TSong song{.Folder = "Warmup", .FileName = "city_lights", .Title = "City Lights", .Tempo = 112};
    song.Bass = {.Program = 36, .Volume = 96};
    song.Comp = {.Program = 27, .Volume = 84, .Pan = 40};
    song.Lead = {.Program = 61, .Volume = 86, .Pan = 84};
    song.Pad = {.Program = 48, .Volume = 68};
    song.Sections = {
        {.Name = "Intro",
         .Bars = 4,
         .Chords = {"Dm7", "G7"},
         .Drums = {&Intro},
         .Fill = &Fills::QuarterToms,
         .CrashKey = Kit::Crash,
         .Bass = "R.......R.......",
         .Comp = "..x...x...x...x.",
         .Level = 85},
        VerseSection("Verse 1"),
        ChorusSection("Chorus 1", &Fills::QuarterTomsLow),
        {.Name = "Break",
         .Bars = 4,
         .Chords = {"Dm7"},
         .Drums = {&Break},
         .Fill = &Fills::SnareBuild,
         .CrashKey = Kit::Splash,
         .Bass = "R..R..8.R.5.8.R.",
         .Level = 90},
        VerseSection("Verse 2"),
        ChorusSection("Chorus 2", &Fills::SnareBuild),
        ChorusSection("Chorus 3", &Fills::QuarterToms),
        {.Name = "Outro",
         .Bars = 3,
         .Chords = {"Dm7", "G7"},
         .Drums = {&Intro},
         .CrashKey = Kit::Crash,
         .Bass = "R.......R.......",
         .Comp = "..x...x...x...x.",
         .Lead = "D6:8 A5:8 | C6:8 G5:8 | F5:16",
         .Level = 80},
        {.Name = "End",
         .Bars = 1,
         .Chords = {"Dm7"},
         .CrashKey = Kit::Crash2,
         .Bass = "R-----------....",
         .Comp = "X-----------....",
         .Lead = "D6:12 r:4",
         .Pad = true},
    };
    return song;
}

} // namespace tamtara
