// Note-name and chord-symbol parsing for the pattern definitions of the songs.
#include "songgen/Music.h"

#include <stdexcept>

namespace tamtara {

namespace {

int PitchClass(char letter) {
    switch (letter) {
    case 'C':
        return 0;
    case 'D':
        return 2;
    case 'E':
        return 4;
    case 'F':
        return 5;
    case 'G':
        return 7;
    case 'A':
        return 9;
    case 'B':
        return 11;
    default:
        throw std::invalid_argument(std::string("not a note letter: ") + letter);
    }
}

// Reads the letter and an optional accidental from the front of text.
int TakePitchClass(std::string_view& text) {
    if (text.empty()) throw std::invalid_argument("empty note name");
    int pc = PitchClass(text[0]);
    text.remove_prefix(1);
    if (!text.empty() && (text[0] == '#' || text[0] == 'b')) {
        pc += text[0] == '#' ? 1 : -1;
        text.remove_prefix(1);
    }
    return (pc + 12) % 12;
}

} // namespace

int ParsePitch(std::string_view name) {
    if (name.size() < 2) throw std::invalid_argument("note without octave: " + std::string(name));
    // The octave belongs to the written letter, so Cb4 is B3 and B#3 is C4.
    int key = PitchClass(name[0]);
    std::string_view rest = name.substr(1);
    if (rest[0] == '#' || rest[0] == 'b') {
        key += rest[0] == '#' ? 1 : -1;
        rest.remove_prefix(1);
    }
    if (rest.empty()) throw std::invalid_argument("note without octave: " + std::string(name));
    return (std::stoi(std::string(rest)) + 1) * 12 + key;
}

bool TChord::HasSeventh() const {
    return Intervals.size() > 3 && (Intervals[3] == 10 || Intervals[3] == 11);
}

int TChord::SeventhInterval() const {
    return HasSeventh() ? Intervals[3] : 10;
}

int TChord::ThirdInterval() const {
    return Intervals.size() > 1 ? Intervals[1] : 4;
}

TChord ParseChord(std::string_view symbol) {
    TChord chord;
    std::string_view rest = symbol;
    const std::size_t slash = rest.find('/');
    std::string_view bass;
    if (slash != std::string_view::npos) {
        bass = rest.substr(slash + 1);
        rest = rest.substr(0, slash);
    }
    chord.Root = TakePitchClass(rest);
    const std::string quality(rest);
    if (quality.empty())
        chord.Intervals = {0, 4, 7};
    else if (quality == "m")
        chord.Intervals = {0, 3, 7};
    else if (quality == "7")
        chord.Intervals = {0, 4, 7, 10};
    else if (quality == "m7")
        chord.Intervals = {0, 3, 7, 10};
    else if (quality == "maj7")
        chord.Intervals = {0, 4, 7, 11};
    else if (quality == "sus4")
        chord.Intervals = {0, 5, 7};
    else if (quality == "sus2")
        chord.Intervals = {0, 2, 7};
    else if (quality == "dim")
        chord.Intervals = {0, 3, 6};
    else if (quality == "add9")
        chord.Intervals = {0, 4, 7, 14};
    else if (quality == "madd9")
        chord.Intervals = {0, 3, 7, 14};
    else if (quality == "5")
        chord.Intervals = {0, 7, 12};
    else
        throw std::invalid_argument("unknown chord quality: " + std::string(symbol));
    chord.Bass = chord.Root;
    if (!bass.empty()) chord.Bass = TakePitchClass(bass);
    return chord;
}

} // namespace tamtara
