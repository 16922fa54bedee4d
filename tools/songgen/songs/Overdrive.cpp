// "Overdrive": ska-punk at 180 BPM in A major. Written on eighth-note grids: quarter-note
// verses to keep up with, off-beat hi-hats and crashes in the choruses, tom runs between.
#include "songgen/Catalogue.h"
#include "songgen/Music.h"

namespace tamtara {

namespace {

const TGroove Intro{{
    {Kit::Ride, "xxxxxxxx"},
    {Kit::Kick, "x...x..."},
    {Kit::Snare, "..x...x."},
}};
const TGroove Verse{{
    {Kit::HatClosed, "x.x.x.x."},
    {Kit::Kick, "x...x.x."},
    {Kit::Snare, "..x...x."},
}};
const TGroove Chorus{{
    {Kit::HatOpen, ".x.x.x.x"},
    {Kit::Kick, "x.x.x.x."},
    {Kit::Snare, "..X...X."},
}};
const TGroove ChorusCrash{{
    {Kit::Crash2, "x......."},
    {Kit::HatOpen, "...x.x.x"},
    {Kit::Kick, "x.x.x.x."},
    {Kit::Snare, "..X...X."},
}};
// The ska bridge: off-beat chops, the foot on the hi-hat and toms on the beat.
const TGroove Bridge{{
    {Kit::HatPedal, ".x.x.x.x"},
    {Kit::Kick, "x...x..."},
    {Kit::TomHighMid, "..x....."},
    {Kit::TomLow, "......x."},
}};
const TGroove TomRun{{
    {Kit::Snare, "xx......"},
    {Kit::TomHigh, "..x....."},
    {Kit::TomHighMid, "...x...."},
    {Kit::TomLowMid, "....x..."},
    {Kit::TomLow, ".....x.."},
    {Kit::FloorHigh, "......x."},
    {Kit::FloorLow, ".......x"},
}};
const TGroove SnareRun{{
    {Kit::Kick, "x...x..."},
    {Kit::Snare, "x.x.xxxx"},
    {Kit::Splash, "......x."},
}};

const char* VerseMelody =
    "A5:4 A5:2 B5:2 C#6:4 A5:4 | B5:4 G#5:4 E5:8 | F#5:4 A5:4 C#6:4 A5:4 | B5:8 A5:4 F#5:4";
const char* ChorusMelody = ">D6:4 A5:4 F#5:4 A5:4 | B5:4 C#6:4 E6:8 | C#6:8 A5:8 | A5:12 r:4 |"
                           " D6:4 E6:4 F#6:4 D6:4 | B5:4 C#6:4 D6:4 E6:4 | C#6:8 A5:8 | B5:16";
const char* BridgeMelody = "F#5:4 r:4 F#5:4 A5:4 | A5:4 r:4 A5:4 F#5:4 | G#5:4 r:4 B5:4 E6:4 | E6:16";

TSection VerseSection(const char* name) {
    return {.Name = name,
            .Bars = 16,
            .Chords = {"A5", "E5", "F#5", "D5"},
            .Drums = {&Verse},
            .Fill = &TomRun,
            .CrashKey = Kit::Crash,
            .Bass = "R.R.R.R.R.R.R.R.",
            .Comp = "x.x.x.x.x.x.x.x.",
            .Lead = VerseMelody,
            .Level = 88};
}

TSection ChorusSection(const char* name, int bars, const TGroove* fill) {
    return {.Name = name,
            .Bars = bars,
            .Chords = {"D", "E", "A", "A", "D", "E", "F#m", "E"},
            .Drums = {&ChorusCrash, &Chorus, &Chorus, &Chorus},
            .Fill = fill,
            .CrashKey = Kit::Crash,
            .Bass = "R.R.R.R.R.R.5.8.",
            .Comp = "x-x-x-x-x-x-x-x-",
            .Lead = ChorusMelody,
            .Pad = true};
}

} // namespace

TSong Overdrive() {
    TSong song{.Folder = "Workout", .FileName = "overdrive", .Title = "Overdrive", .Tempo = 180};
    song.Bass = {.Program = 34, .Volume = 100};
    song.Comp = {.Program = 29, .Volume = 72, .Pan = 36};
    song.Lead = {.Program = 56, .Volume = 92, .Pan = 88};
    song.Pad = {.Program = 61, .Volume = 64};
    song.Sections = {
        {.Name = "Intro",
         .Bars = 8,
         .Chords = {"A5", "E5", "F#5", "D5"},
         .Drums = {&Intro},
         .Fill = &SnareRun,
         .CrashKey = Kit::Crash,
         .Bass = "R.R.R.R.R.R.R.R.",
         .Comp = "x.......x.......",
         .Level = 85},
        VerseSection("Verse 1"),
        ChorusSection("Chorus 1", 16, &TomRun),
        {.Name = "Bridge",
         .Bars = 8,
         .Chords = {"Bm", "D", "E", "E"},
         .Drums = {&Bridge},
         .Fill = &SnareRun,
         .CrashKey = Kit::Splash,
         .Bass = "R...5...R...5...",
         .Comp = "..x...x...x...x.",
         .Lead = BridgeMelody,
         .Level = 90},
        VerseSection("Verse 2"),
        ChorusSection("Chorus 2", 16, &SnareRun),
        ChorusSection("Last chorus", 12, &TomRun),
        {.Name = "Ending",
         .Bars = 4,
         .Chords = {"A5", "E5", "A5", "A5"},
         .Drums = {&Intro},
         .Fill = &TomRun,
         .CrashKey = Kit::Crash2,
         .Bass = "R-------R-------",
         .Comp = "x-------x-------",
         .Lead = "A5:16 | B5:16 | C#6:32"},
    };
    return song;
}

} // namespace tamtara
