// The pattern language the songs are written in: one-bar step grids for drums, bass and
// chords, melody lines as note tokens, grouped into sections that a song lists in order.
#pragma once

#include "songgen/SmfWriter.h"

#include <string>
#include <vector>

namespace tamtara {

constexpr int SongDivision = 480;
constexpr int BarTicks = 4 * SongDivision; // every song is in 4/4

// One drum voice over one bar. Grid characters: 'X' accent, 'x' normal, 'o' soft, '.' rest;
// the grid's length sets the step (16 = sixteenths, 12 = eighth triplets, 32 = flams).
struct TDrumLine {
    int Key{};
    std::string Grid{};
};
struct TGroove {
    std::vector<TDrumLine> Lines{};
};

struct TVoice {
    int Program = 0;
    int Volume = 100;
    int Pan = 64;
    int Reverb = 40;
};

struct TSection {
    std::string Name{}; // written as a marker
    int Bars = 4;
    // One entry per bar, cycled; "Am F" splits the bar between two chords.
    std::vector<std::string> Chords{};
    std::vector<const TGroove*> Drums{}; // cycled bar by bar
    const TGroove* Fill = nullptr;       // replaces the groove of the last bar
    int CrashKey = 0;                    // struck with the low kick on the first downbeat
    // Bass grid: 'R' root (or slash bass), '3', '5', '7', '8' chord degrees, 'L' the fifth below,
    // '-' hold, '.' rest; lower case plays softer.
    std::string Bass{};
    // Chord grid: 'x'/'X'/'o' strike the chord, '1'..'4' a single chord tone, '-' hold, '.' rest.
    std::string Comp{};
    // Melody tokens "E5:4" (pitch and length in sixteenths; the length carries over), "r:2"
    // rests, "|" bar lines for the eye. Cycled to fill the section.
    std::string Lead{};
    bool Pad = false; // sustained chords on the pad voice
    int Tempo = 0;    // 0 keeps the tempo in force
    int Level = 100;  // velocity in percent for the whole section
};

struct TSong {
    std::string Folder{};
    std::string FileName{};
    std::string Title{}; // bytes as the file stores them (Shift_JIS for Japanese)
    int Tempo = 120;
    TVoice Bass{}, Comp{}, Lead{}, Pad{};
    int DrumVolume = 110;
    std::vector<TSection> Sections{};
};

struct TRenderedSong {
    std::vector<std::uint8_t> Bytes{};
    int EndTick = 0;
    double Seconds = 0; // planned length from the tempo map
};

TRenderedSong RenderSong(const TSong& song);

// Seconds from the start to tick under the (tick, beats per minute) changes, earliest first.
struct TTempoPoint {
    int Tick;
    int BeatsPerMinute;
};
double TicksToSeconds(int tick, const std::vector<TTempoPoint>& tempoMap, int division);

} // namespace tamtara
