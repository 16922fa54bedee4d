// Musical vocabulary of the generators: drum kit keys, note names and chord symbols.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tamtara {

// General MIDI percussion keys (channel 10). The first group are the keys the game turns
// into notes to strike; the second only ever sound as accompaniment.
namespace Kit {
constexpr int Kick2 = 35, Kick = 36, Snare = 38, SnareElectric = 40;
constexpr int HatClosed = 42, HatPedal = 44, HatOpen = 46;
constexpr int TomHigh = 50, TomHighMid = 48, TomLowMid = 47, TomLow = 45, FloorHigh = 43, FloorLow = 41;
constexpr int Crash = 49, Splash = 55, Crash2 = 57;

constexpr int SideStick = 37, Clap = 39, Ride = 51, RideBell = 53, Tambourine = 54, Cowbell = 56;
constexpr int Shaker = 70, Conga = 63, CongaLow = 64, WoodBlock = 76;
} // namespace Kit

// "C4" is 60; accepts "#" and "b" after the letter. Raises std::invalid_argument.
int ParsePitch(std::string_view name);

// A chord symbol such as "Am", "F#m7", "Bbmaj7", "Gsus4", "C/E", "D7", "Edim", "Cadd9".
struct TChord {
    int Root = 0;               // pitch class 0..11
    int Bass = 0;               // pitch class of the bass note (the root unless a slash chord)
    std::vector<int> Intervals; // semitones above the root, 0 first
    bool HasSeventh() const;
    // The interval a bass line uses for "7": the chord's seventh, else a minor seventh.
    int SeventhInterval() const;
    int ThirdInterval() const;
};
TChord ParseChord(std::string_view symbol);

} // namespace tamtara
