// "Neon Highway": synth rock at 140 BPM in E minor; sixteenth arpeggios over driving eighth
// hi-hats, a tom breakdown and an eight-bar drive section with cymbals on every downbeat.
#include "songgen/Catalogue.h"
#include "songgen/songs/Fills.h"

namespace tamtara {

namespace {

const TGroove Intro{{
    {Kit::HatClosed, "x.x.x.x.x.x.x.x."},
    {Kit::Kick, "x...x...x...x..."},
}};
const TGroove Verse{{
    {Kit::HatClosed, "x.x.x.x.x.x.x.x."},
    {Kit::Kick, "x.....x.x......."},
    {Kit::Snare, "....x.......x..."},
}};
const TGroove PreChorus{{
    {Kit::HatOpen, "..x...x...x...x."},
    {Kit::Kick, "x...x...x...x..."},
    {Kit::Snare, "....x.......x..."},
}};
const TGroove Chorus{{
    {Kit::HatClosed, "x.x.x.x.x.x.x..."},
    {Kit::HatOpen, "..............x."},
    {Kit::Kick, "x...x...x...x.x."},
    {Kit::Snare, "....X.......X..."},
    {Kit::Clap, "....x.......x..."},
}};
const TGroove Breakdown{{
    {Kit::HatPedal, "x...x...x...x..."},
    {Kit::Kick, "x..........x...."},
    {Kit::Snare, "........x......."},
    {Kit::TomHighMid, "......x........."},
    {Kit::FloorHigh, "..............x."},
}};
const TGroove BreakdownLow{{
    {Kit::HatPedal, "x...x...x...x..."},
    {Kit::Kick, "x..........x...."},
    {Kit::Snare, "........x......."},
    {Kit::TomLow, "......x........."},
    {Kit::FloorLow, "..............x."},
}};
// The busiest part of the song: kick on the dotted eighths and a cymbal every bar.
const TGroove Drive{{
    {Kit::Crash2, "x..............."},
    {Kit::Ride, "..x.x.x.x.x.x.x."},
    {Kit::HatPedal, "....x.......x..."},
    {Kit::Kick, "x..x..x.x..x..x."},
    {Kit::Snare, "....X.......X..."},
}};

const char* VerseMelody = "E5:4 G5:4 B5:6 A5:2 | G5:4 E5:4 C5:8 | D5:4 G5:4 B5:4 D6:4 | A5:12 r:4";
const char* PreMelody = "C5:4 E5:4 G5:4 C6:4 | D6:8 C6:4 B5:4 | A5:4 C6:4 E6:4 A5:4 | B5:16";
const char* ChorusMelody = ">E6:6 D6:2 C6:4 G5:4 | A5:6 B5:2 D6:8 | D6:4 B5:4 F#5:4 B5:4 | E5:12 r:4 |"
                           " E6:6 D6:2 C6:4 E6:4 | F#6:6 E6:2 D6:8 | B5:4 D6:4 F#6:4 D6:4 | E6:16";

TSection VerseSection(const char* name) {
    return {.Name = name,
            .Bars = 8,
            .Chords = {"Em", "C", "G", "D"},
            .Drums = {&Verse},
            .Fill = &Fills::QuarterToms,
            .CrashKey = Kit::Crash,
            .Bass = "R.R.R.R.R.R.R.R.",
            .Comp = "1234323412343234",
            .Lead = VerseMelody,
            .Level = 88};
}

TSection PreSection() {
    return {.Name = "Pre-chorus",
            .Bars = 4,
            .Chords = {"Am", "D", "C", "D"},
            .Drums = {&PreChorus},
            .Fill = &Fills::SnareBuild,
            .Bass = "R.R.R.R.R.R.R.R.",
            .Comp = "1234323412343234",
            .Lead = PreMelody,
            .Pad = true,
            .Level = 92};
}

TSection ChorusSection(const char* name) {
    return {.Name = name,
            .Bars = 8,
            .Chords = {"C", "D", "Bm", "Em"},
            .Drums = {&Chorus},
            .Fill = &Fills::EighthsDown,
            .CrashKey = Kit::Crash2,
            .Bass = "R.R.R.R.R.R.8.R.",
            .Comp = "1234323412343234",
            .Lead = ChorusMelody,
            .Pad = true};
}

} // namespace

TSong NeonHighway() {
    TSong song{.Folder = "Workout", .FileName = "neon_highway", .Title = "Neon Highway", .Tempo = 140};
    song.Bass = {.Program = 38, .Volume = 96};
    song.Comp = {.Program = 80, .Volume = 58, .Pan = 40, .Reverb = 60};
    song.Lead = {.Program = 81, .Volume = 78, .Pan = 84};
    song.Pad = {.Program = 89, .Volume = 78};
    song.Sections = {
        {.Name = "Intro",
         .Bars = 4,
         .Chords = {"Em", "C", "G", "D"},
         .Drums = {&Intro},
         .Fill = &Fills::QuarterTomsLow,
         .CrashKey = Kit::Splash,
         .Bass = "R.R.R.R.R.R.R.R.",
         .Comp = "1234323412343234",
         .Pad = true,
         .Level = 85},
        VerseSection("Verse 1"),
        PreSection(),
        ChorusSection("Chorus 1"),
        VerseSection("Verse 2"),
        PreSection(),
        ChorusSection("Chorus 2"),
        {.Name = "Breakdown",
         .Bars = 8,
         .Chords = {"Am", "Em", "C", "D"},
         .Drums = {&Breakdown, &BreakdownLow},
         .Fill = &Fills::SnareBuild,
         .CrashKey = Kit::Crash,
         .Bass = "R-------R-------",
         .Comp = "1-3-2-4-1-3-2-4-",
         .Pad = true,
         .Level = 86},
        {.Name = "Drive",
         .Bars = 8,
         .Chords = {"Em", "C", "G", "D"},
         .Drums = {&Drive},
         .Fill = &Fills::EighthsDown,
         .Bass = "R.R.R.R.8.R.R.R.",
         .Comp = "1234323412343234",
         .Lead = VerseMelody,
         .Pad = true},
        ChorusSection("Last chorus"),
        {.Name = "Ending",
         .Bars = 2,
         .Chords = {"Em"},
         .CrashKey = Kit::Crash,
         .Bass = "R---------------",
         .Comp = "X---------------",
         .Lead = "E6:16 r:16",
         .Pad = true},
    };
    return song;
}

} // namespace tamtara
