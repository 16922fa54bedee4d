// "First Steps": a gentle pop-rock song at 96 BPM for learning the lanes; quarter-note hi-hat
// at first, eighths in the verses, open hi-hats and a busier kick in the choruses.
#include "songgen/Catalogue.h"
#include "songgen/songs/Fills.h"

namespace tamtara {

namespace {

const TGroove Intro{{
    {Kit::HatClosed, "x...x...x...x..."},
    {Kit::Kick, "x.......x......."},
    {Kit::Snare, "....x.......x..."},
}};
const TGroove Verse{{
    {Kit::HatClosed, "x.x.x.x.x.x.x.x."},
    {Kit::Kick, "x.......x.x....."},
    {Kit::Snare, "....x.......x..."},
}};
const TGroove VerseTurn{{
    {Kit::HatClosed, "x.x.x.x.x.x.x..."},
    {Kit::HatOpen, "..............x."},
    {Kit::Kick, "x.....x.x......."},
    {Kit::Snare, "....x.......x..."},
}};
const TGroove Chorus{{
    {Kit::HatClosed, "x.x.x.x.x.x.x..."},
    {Kit::HatOpen, "..............x."},
    {Kit::Kick, "x..x....x.x....."},
    {Kit::Snare, "....X.......X..."},
}};
const TGroove ChorusSplash{{
    {Kit::HatClosed, "x.x.x.x.x.x....."},
    {Kit::HatOpen, "............x..."},
    {Kit::Kick, "x..x....x.x....."},
    {Kit::Snare, "....X.......X..."},
    {Kit::Splash, "..............x."},
}};
// Foot on the hi-hat and a tom groove: the quiet bridge before the last chorus.
const TGroove Bridge{{
    {Kit::HatPedal, "x...x...x...x..."},
    {Kit::Kick, "x.......x......."},
    {Kit::TomLow, "....x.......x..."},
    {Kit::FloorLow, "......x.......x."},
}};

const char* VerseMelody =
    "E5:4 G5:4 E5:2 D5:2 C5:4 | D5:4 B4:4 D5:4 G5:4 | C5:4 E5:4 A5:6 G5:2 | F5:4 A5:4 G5:4 r:4";
const char* ChorusMelody =
    ">A5:6 G5:2 F5:4 A5:4 | G5:6 F5:2 D5:4 B4:4 | E5:4 G5:4 C6:6 B5:2 | A5:8 E5:4 r:4 |"
    " A5:6 G5:2 F5:4 A5:4 | B5:6 A5:2 G5:4 D5:4 | E5:4 G5:4 >C6:8 | C6:12 r:4";
const char* BridgeMelody = "D5:8 F5:8 | E5:8 G5:8 | F5:8 A5:8 | B5:12 r:4";

TSection VerseSection(const char* name) {
    return {.Name = name,
            .Bars = 8,
            .Chords = {"C", "G", "Am", "F"},
            .Drums = {&Verse, &Verse, &Verse, &VerseTurn},
            .Fill = &Fills::QuarterToms,
            .CrashKey = Kit::Crash,
            .Bass = "R.......R...5...",
            .Comp = "x.x.x.x.x.x.x.x.",
            .Lead = VerseMelody,
            .Level = 90};
}

TSection ChorusSection(const char* name, const TGroove* fill) {
    return {.Name = name,
            .Bars = 8,
            .Chords = {"F", "G", "C", "Am"},
            .Drums = {&Chorus, &Chorus, &Chorus, &ChorusSplash},
            .Fill = fill,
            .CrashKey = Kit::Crash2,
            .Bass = "R.R.R.R.R.R.5.8.",
            .Comp = "x..x..x.x..x..x.",
            .Lead = ChorusMelody,
            .Pad = true};
}

} // namespace

TSong FirstSteps() {
    TSong song{.Folder = "Warmup", .FileName = "first_steps", .Title = "First Steps", .Tempo = 96};
    song.Bass = {.Program = 33, .Volume = 100};
    song.Comp = {.Program = 0, .Volume = 80, .Pan = 48};
    song.Lead = {.Program = 80, .Volume = 78, .Pan = 76};
    song.Pad = {.Program = 48, .Volume = 70, .Pan = 64};
    song.Sections = {
        {.Name = "Intro",
         .Bars = 4,
         .Chords = {"C", "G", "Am", "F"},
         .Drums = {&Intro},
         .Fill = &Fills::QuarterTomsLow,
         .CrashKey = Kit::Crash,
         .Bass = "R-------R-------",
         .Comp = "x---------------",
         .Level = 85},
        VerseSection("Verse 1"),
        ChorusSection("Chorus 1", &Fills::EighthsDown),
        VerseSection("Verse 2"),
        ChorusSection("Chorus 2", &Fills::QuarterTomsLow),
        {.Name = "Bridge",
         .Bars = 4,
         .Chords = {"Dm", "Em", "F", "G"},
         .Drums = {&Bridge},
         .Fill = &Fills::SnareBuild,
         .CrashKey = Kit::Splash,
         .Bass = "R-------5-------",
         .Comp = "1.2.3.2.1.2.3.2.",
         .Lead = BridgeMelody,
         .Pad = true,
         .Level = 85},
        ChorusSection("Last chorus", &Fills::EighthsDown),
        {.Name = "Ending",
         .Bars = 2,
         .Chords = {"C"},
         .CrashKey = Kit::Crash,
         .Bass = "R---------------",
         .Comp = "X---------------",
         .Lead = "C6:16 r:16",
         .Pad = true},
    };
    return song;
}

} // namespace tamtara
