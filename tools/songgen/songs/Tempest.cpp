// "Tempest": hard rock in D minor whose tempo moves with the storm: a 100 BPM intro, verses at
// 128, choruses at 150, a half-time bridge back at 100, a guitar solo and a last chorus at 160.
#include "songgen/Catalogue.h"
#include "songgen/songs/Fills.h"

namespace tamtara {

namespace {

const TGroove Rumble{{
    {Kit::HatPedal, "x...x...x...x..."},
    {Kit::FloorLow, "x.......x......."},
    {Kit::FloorHigh, "....x.......x..."},
}};
const TGroove Verse{{
    {Kit::HatClosed, "x.x.x.x.x.x.x.x."},
    {Kit::Kick, "x.....x.x......."},
    {Kit::Snare, "....x.......x..."},
}};
const TGroove Chorus{{
    {Kit::HatOpen, "x.x.x.x.x.x.x.x."},
    {Kit::Kick, "x..x..x.x..x...."},
    {Kit::Snare, "....X.......X..."},
}};
const TGroove ChorusCrash{{
    {Kit::Crash, "x..............."},
    {Kit::HatOpen, "..x.x.x.x.x.x.x."},
    {Kit::Kick, "x..x..x.x..x...."},
    {Kit::Snare, "....X.......X..."},
}};
// Half time: snare on beat three only, ride keeping the eighths, toms answering.
const TGroove Bridge{{
    {Kit::Ride, "x.x.x.x.x.x.x.x."},
    {Kit::HatPedal, "..x...x...x...x."},
    {Kit::Kick, "x.........x....."},
    {Kit::Snare, "........x......."},
    {Kit::TomHigh, "..............x."},
    {Kit::TomLowMid, "...............x"},
}};
const TGroove Solo{{
    {Kit::HatClosed, "x.x.x.x.x.x.x..."},
    {Kit::Kick, "x..x..x.x.x....."},
    {Kit::Snare, "....x.......x..."},
    {Kit::Splash, "..............x."},
}};

const char* VerseMelody = "D5:4 F5:2 G5:2 A5:8 | A5:4 G5:2 F5:2 D5:8 | Bb4:4 D5:4 F5:4 G5:4 | A5:4 G5:4 E5:8";
const char* ChorusMelody = ">D6:6 C6:2 Bb5:4 F5:4 | C6:6 Bb5:2 A5:4 G5:4 | A5:4 F5:4 D5:8 | D5:8 r:8 |"
                           " D6:6 C6:2 Bb5:4 F5:4 | C6:6 D6:2 E6:8 | C#6:4 A5:4 E5:4 A5:4 | A5:16";
const char* BridgeMelody = "G5:8 Bb5:8 | A5:8 F5:8 | D6:8 Bb5:8 | C#6:16";
const char* SoloMelody = "D6:2 A5:2 F5:2 A5:2 D6:2 A5:2 F5:2 A5:2 | C6:2 A5:2 F5:2 A5:2 C6:4 A5:4 |"
                         " Bb5:2 F5:2 D5:2 F5:2 Bb5:4 D6:4 | E6:4 C#6:4 A5:4 E5:4";

TSection VerseSection(const char* name) {
    return {.Name = name,
            .Bars = 8,
            .Chords = {"D5", "D5", "Bb5", "C5"},
            .Drums = {&Verse},
            .Fill = &Fills::QuarterToms,
            .CrashKey = Kit::Crash,
            .Bass = "R.R.R.R.R.R.R.R.",
            .Comp = "x.x.x.x.x.x.x-x-",
            .Lead = VerseMelody,
            .Tempo = 128,
            .Level = 88};
}

TSection ChorusSection(const char* name, int tempo) {
    return {.Name = name,
            .Bars = 8,
            .Chords = {"Bb", "C", "Dm", "Dm", "Bb", "C", "A", "A"},
            .Drums = {&ChorusCrash, &Chorus},
            .Fill = &Fills::EighthsDown,
            .CrashKey = Kit::Crash2,
            .Bass = "R.R.R.R.R.R.8.R.",
            .Comp = "x-x-x-x-x-x-x-x-",
            .Lead = ChorusMelody,
            .Pad = true,
            .Tempo = tempo};
}

} // namespace

TSong Tempest() {
    TSong song{.Folder = "Workout", .FileName = "tempest", .Title = "Tempest", .Tempo = 100};
    song.Bass = {.Program = 34, .Volume = 100};
    song.Comp = {.Program = 29, .Volume = 76, .Pan = 36};
    song.Lead = {.Program = 30, .Volume = 80, .Pan = 90};
    song.Pad = {.Program = 48, .Volume = 76};
    song.Sections = {
        {.Name = "Intro",
         .Bars = 4,
         .Chords = {"Dm", "Bb", "C", "Dm"},
         .Drums = {&Rumble},
         .Fill = &Fills::SnareBuild,
         .CrashKey = Kit::Crash,
         .Bass = "R-------R-------",
         .Pad = true,
         .Tempo = 100,
         .Level = 85},
        VerseSection("Verse 1"),
        ChorusSection("Chorus 1", 150),
        VerseSection("Verse 2"),
        ChorusSection("Chorus 2", 150),
        {.Name = "Bridge",
         .Bars = 8,
         .Chords = {"Gm", "Dm", "Bb", "A"},
         .Drums = {&Bridge},
         .Fill = &Fills::QuarterTomsLow,
         .CrashKey = Kit::Splash,
         .Bass = "R-------R---5---",
         .Comp = "1-2-3-2-1-2-3-2-",
         .Lead = BridgeMelody,
         .Pad = true,
         .Tempo = 100,
         .Level = 86},
        {.Name = "Solo",
         .Bars = 8,
         .Chords = {"Dm", "F", "Bb", "A"},
         .Drums = {&Solo},
         .Fill = &Fills::SnareBuild,
         .CrashKey = Kit::Crash,
         .Bass = "R.R.R.R.R.R.R.R.",
         .Comp = "x.x.x.x.x.x.x-x-",
         .Lead = SoloMelody,
         .Tempo = 128},
        ChorusSection("Last chorus", 160),
        {.Name = "Ending",
         .Bars = 2,
         .Chords = {"Dm"},
         .CrashKey = Kit::Crash,
         .Bass = "R---------------",
         .Comp = "X---------------",
         .Lead = "D6:16 r:16",
         .Pad = true,
         .Tempo = 90},
    };
    return song;
}

} // namespace tamtara
