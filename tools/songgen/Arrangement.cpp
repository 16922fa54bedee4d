// Renders a song written in the pattern language into a format 1 Standard MIDI File.
#include "songgen/Arrangement.h"

#include "app/play/PlayState.h"
#include "songgen/Music.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <sstream>
#include <stdexcept>

namespace tamtara {

namespace {

constexpr int DrumChannel = 9, BassChannel = 0, CompChannel = 1, LeadChannel = 2, PadChannel = 3;
constexpr int Sixteenth = SongDivision / 4;

// The chord in force at every tick, from the chord lists of the sections.
class TChordTimeline {
public:
    void Add(int tick, TChord chord) { Changes.push_back({tick, std::move(chord)}); }
    const TChord& At(int tick) const {
        auto it = std::upper_bound(Changes.begin(), Changes.end(), tick,
                                   [](int t, const Change& change) { return t < change.Tick; });
        if (it == Changes.begin()) throw std::logic_error("no chord before tick " + std::to_string(tick));
        return std::prev(it)->Chord;
    }
    bool ChangesAt(int tick) const {
        return std::any_of(Changes.begin(), Changes.end(),
                           [tick](const Change& c) { return c.Tick == tick; });
    }

private:
    struct Change {
        int Tick;
        TChord Chord;
    };
    std::vector<Change> Changes;
};

struct TGridNote {
    int Tick;
    int Length;
    char Symbol;
};

int StepTicks(const std::string& grid, int span = BarTicks) {
    if (grid.empty() || span % static_cast<int>(grid.size()) != 0)
        throw std::invalid_argument("grid length must divide the bar: \"" + grid + "\"");
    return span / static_cast<int>(grid.size());
}

// Notes of a held-note grid over one bar: '-' holds, '.' rests, a held note is struck again
// where the chord changes so bass and chords follow the harmony.
std::vector<TGridNote> ReadHeldGrid(const std::string& grid, int barStart, const TChordTimeline& chords,
                                    int span = BarTicks) {
    const int step = StepTicks(grid, span);
    std::vector<TGridNote> notes;
    bool sounding = false;
    for (std::size_t i = 0; i < grid.size(); ++i) {
        const int tick = barStart + static_cast<int>(i) * step;
        const char c = grid[i];
        if (c == '.') {
            sounding = false;
        } else if (c == '-') {
            if (!sounding) continue;
            if (chords.ChangesAt(tick))
                notes.push_back({tick, step, notes.back().Symbol});
            else
                notes.back().Length += step;
        } else {
            notes.push_back({tick, step, c});
            sounding = true;
        }
    }
    return notes;
}

int DrumVelocity(char c) {
    switch (c) {
    case 'X':
        return 118;
    case 'x':
        return 96;
    case 'o':
        return 62;
    case '.':
        return 0;
    default:
        throw std::invalid_argument(std::string("unknown drum grid symbol ") + c);
    }
}

int Scale(int velocity, int level) {
    return std::clamp(velocity * level / 100, 1, 127);
}

// The bass register runs from E1 up to D#2 for the root.
int BassRoot(int pitchClass) {
    return 28 + (pitchClass - 4 + 12) % 12;
}

int BassPitch(char symbol, const TChord& chord) {
    const int root = BassRoot(chord.Root);
    switch (std::toupper(static_cast<unsigned char>(symbol))) {
    case 'R':
        return BassRoot(chord.Bass);
    case '3':
        return root + chord.ThirdInterval();
    case '5':
        return root + 7;
    case '7':
        return root + chord.SeventhInterval();
    case '8':
        return root + 12;
    case 'L':
        return root - 5 >= 28 ? root - 5 : root + 7;
    default:
        throw std::invalid_argument(std::string("unknown bass grid symbol ") + symbol);
    }
}

// Close voicing with the root between G3 and F#4.
std::vector<int> CompTones(const TChord& chord) {
    const int root = 55 + (chord.Root - 7 + 12) % 12;
    std::vector<int> tones;
    for (int interval : chord.Intervals)
        tones.push_back(root + interval);
    return tones;
}

// Open voicing for sustained strings: root, fifth, then the third and seventh an octave up.
std::vector<int> PadTones(const TChord& chord) {
    const int root = 48 + chord.Root;
    std::vector<int> tones{root, root + 7, root + 12 + chord.ThirdInterval()};
    if (chord.HasSeventh()) tones.push_back(root + 12 + chord.SeventhInterval());
    return tones;
}

struct TLeadNote {
    int Pitch; // -1 is a rest
    int Steps;
    bool Accent;
};

std::vector<TLeadNote> ReadLead(const std::string& text) {
    std::vector<TLeadNote> notes;
    std::istringstream in(text);
    std::string token;
    int steps = 4;
    while (in >> token) {
        if (token == "|") continue;
        bool accent = false;
        if (token[0] == '>') {
            accent = true;
            token.erase(0, 1);
        }
        const std::size_t colon = token.find(':');
        const std::string name = token.substr(0, colon);
        if (colon != std::string::npos) steps = std::stoi(token.substr(colon + 1));
        if (steps <= 0) throw std::invalid_argument("melody note without length: " + token);
        notes.push_back({name == "r" ? -1 : ParsePitch(name), steps, accent});
    }
    return notes;
}

void SetUpChannel(TSmfTrack& track, int channel, const TVoice& voice) {
    track.Controller(0, channel, 0, 0);
    track.ProgramChange(0, channel, voice.Program);
    track.Controller(0, channel, 7, voice.Volume);
    track.Controller(0, channel, 10, voice.Pan);
    track.Controller(0, channel, 91, voice.Reverb);
    track.Controller(0, channel, 93, 0);
    track.Controller(0, channel, 11, 127);
}

struct TDrumNote {
    int Tick;
    int Key;
    int Velocity;
    int Length;
};

// A lane of the play screen takes one strike per chart note: of two notes of one lane within a
// tick of each other only the first written is kept (the section's crash accent before the
// groove, the earlier grid line before the later).
void KeepOnePerLane(std::vector<TDrumNote>& notes) {
    std::vector<TDrumNote> kept;
    for (const TDrumNote& note : notes) {
        const int lane = LaneMap::Standard().LaneOf(note.Key);
        const bool taken = lane >= 0 && std::any_of(kept.begin(), kept.end(), [&](const TDrumNote& k) {
                               return LaneMap::Standard().LaneOf(k.Key) == lane &&
                                      std::abs(k.Tick - note.Tick) <= LayerTicks;
                           });
        if (!taken) kept.push_back(note);
    }
    notes = std::move(kept);
}

void RenderDrums(TSmfTrack& track, const TSection& section, int sectionStart) {
    std::vector<TDrumNote> notes;
    if (section.CrashKey != 0) {
        notes.push_back({sectionStart, section.CrashKey, Scale(115, section.Level), 120});
        notes.push_back({sectionStart, Kit::Kick2, Scale(112, section.Level), 120});
    }
    for (int bar = 0; bar < section.Bars && !section.Drums.empty(); ++bar) {
        const bool lastBar = bar == section.Bars - 1;
        const TGroove& groove = lastBar && section.Fill
                                    ? *section.Fill
                                    : *section.Drums[static_cast<std::size_t>(bar) % section.Drums.size()];
        const int barStart = sectionStart + bar * BarTicks;
        for (const TDrumLine& line : groove.Lines) {
            const int step = StepTicks(line.Grid);
            for (std::size_t i = 0; i < line.Grid.size(); ++i) {
                const int velocity = DrumVelocity(line.Grid[i]);
                if (velocity == 0) continue;
                notes.push_back({barStart + static_cast<int>(i) * step, line.Key,
                                 Scale(velocity, section.Level), std::min(step, Sixteenth) - 10});
            }
        }
    }
    KeepOnePerLane(notes);
    for (const TDrumNote& note : notes)
        track.Note(note.Tick, DrumChannel, note.Key, note.Velocity, note.Length);
}

void RenderBass(TSmfTrack& track, const TSection& section, int sectionStart, const TChordTimeline& chords) {
    if (section.Bass.empty()) return;
    for (int bar = 0; bar < section.Bars; ++bar) {
        for (const TGridNote& note : ReadHeldGrid(section.Bass, sectionStart + bar * BarTicks, chords)) {
            const int velocity = std::isupper(static_cast<unsigned char>(note.Symbol)) ? 104 : 80;
            track.Note(note.Tick, BassChannel, BassPitch(note.Symbol, chords.At(note.Tick)),
                       Scale(velocity, section.Level), note.Length - 12);
        }
    }
}

void RenderComp(TSmfTrack& track, const TSection& section, int sectionStart, const TChordTimeline& chords) {
    if (section.Comp.empty()) return;
    for (int bar = 0; bar < section.Bars; ++bar) {
        for (const TGridNote& note : ReadHeldGrid(section.Comp, sectionStart + bar * BarTicks, chords)) {
            const std::vector<int> tones = CompTones(chords.At(note.Tick));
            const int length = note.Length - 12;
            if (note.Symbol >= '1' && note.Symbol <= '9') {
                const int index = note.Symbol - '1';
                const int size = static_cast<int>(tones.size());
                track.Note(note.Tick, CompChannel,
                           tones[static_cast<std::size_t>(index % size)] + 12 * (index / size),
                           Scale(82, section.Level), length);
                continue;
            }
            const int velocity = note.Symbol == 'X'   ? 100
                                 : note.Symbol == 'o' ? 62
                                 : note.Symbol == 'x' ? 84
                                                      : -1;
            if (velocity < 0)
                throw std::invalid_argument(std::string("unknown chord grid symbol ") + note.Symbol);
            for (int tone : tones)
                track.Note(note.Tick, CompChannel, tone, Scale(velocity, section.Level), length);
        }
    }
}

void RenderPad(TSmfTrack& track, const TSection& section, int sectionStart, const TChordTimeline& chords) {
    if (!section.Pad) return;
    // One chord held through the whole section, struck again only where the harmony moves,
    // so the strings do not re-bow at every bar line.
    const std::string held = "x" + std::string(static_cast<std::size_t>(section.Bars * 16 - 1), '-');
    for (const TGridNote& note : ReadHeldGrid(held, sectionStart, chords, section.Bars * BarTicks)) {
        for (int tone : PadTones(chords.At(note.Tick)))
            track.Note(note.Tick, PadChannel, tone, Scale(72, section.Level), note.Length - 6);
    }
}

void RenderLead(TSmfTrack& track, const TSection& section, int sectionStart) {
    if (section.Lead.empty()) return;
    const std::vector<TLeadNote> notes = ReadLead(section.Lead);
    const int sectionEnd = sectionStart + section.Bars * BarTicks;
    int tick = sectionStart;
    for (std::size_t i = 0; tick < sectionEnd; i = (i + 1) % notes.size()) {
        const TLeadNote& note = notes[i];
        const int length = std::min(note.Steps * Sixteenth, sectionEnd - tick);
        if (note.Pitch >= 0)
            track.Note(tick, LeadChannel, note.Pitch, Scale(note.Accent ? 112 : 94, section.Level),
                       std::max(length - 20, 40));
        tick += note.Steps * Sixteenth;
    }
}

} // namespace

double TicksToSeconds(int tick, const std::vector<TTempoPoint>& tempoMap, int division) {
    double seconds = 0;
    int from = 0;
    int bpm = 120; // a file without tempo events runs at the SMF default
    for (const TTempoPoint& point : tempoMap) {
        if (point.Tick >= tick) break;
        seconds += static_cast<double>(point.Tick - from) / division * 60.0 / bpm;
        from = point.Tick;
        bpm = point.BeatsPerMinute;
    }
    return seconds + static_cast<double>(tick - from) / division * 60.0 / bpm;
}

TRenderedSong RenderSong(const TSong& song) {
    TSmfTrack conductor, drums, bass, comp, lead, pad;
    conductor.Meta(0, MetaType::TrackName, song.Title);
    conductor.Meta(0, MetaType::Copyright, "Tamtara demo song. Free to play, copy and share.");
    conductor.TimeSignature(0, 4, 2);
    conductor.Tempo(0, song.Tempo);
    std::vector<TTempoPoint> tempoMap{{0, song.Tempo}};

    drums.Meta(0, MetaType::TrackName, "Drums");
    drums.ProgramChange(0, DrumChannel, 0);
    drums.Controller(0, DrumChannel, 7, song.DrumVolume);
    drums.Controller(0, DrumChannel, 10, 64);
    drums.Controller(0, DrumChannel, 91, 30);
    bass.Meta(0, MetaType::TrackName, "Bass");
    SetUpChannel(bass, BassChannel, song.Bass);
    comp.Meta(0, MetaType::TrackName, "Chords");
    SetUpChannel(comp, CompChannel, song.Comp);
    lead.Meta(0, MetaType::TrackName, "Melody");
    SetUpChannel(lead, LeadChannel, song.Lead);
    pad.Meta(0, MetaType::TrackName, "Pad");
    SetUpChannel(pad, PadChannel, song.Pad);

    TChordTimeline chords;
    int tick = 0;
    for (const TSection& section : song.Sections) {
        if (section.Chords.empty()) throw std::invalid_argument("section without chords: " + section.Name);
        for (int bar = 0; bar < section.Bars; ++bar) {
            std::istringstream in(section.Chords[static_cast<std::size_t>(bar) % section.Chords.size()]);
            std::vector<std::string> symbols;
            for (std::string symbol; in >> symbol;)
                symbols.push_back(symbol);
            const int share = BarTicks / static_cast<int>(symbols.size());
            for (std::size_t i = 0; i < symbols.size(); ++i)
                chords.Add(tick + bar * BarTicks + static_cast<int>(i) * share, ParseChord(symbols[i]));
        }
        tick += section.Bars * BarTicks;
    }

    tick = 0;
    for (const TSection& section : song.Sections) {
        conductor.Meta(tick, MetaType::Marker, section.Name);
        if (section.Tempo > 0 && section.Tempo != tempoMap.back().BeatsPerMinute) {
            conductor.Tempo(tick, section.Tempo);
            if (tick == 0)
                tempoMap.back().BeatsPerMinute = section.Tempo;
            else
                tempoMap.push_back({tick, section.Tempo});
        }
        RenderDrums(drums, section, tick);
        RenderBass(bass, section, tick, chords);
        RenderComp(comp, section, tick, chords);
        RenderPad(pad, section, tick, chords);
        RenderLead(lead, section, tick);
        tick += section.Bars * BarTicks;
    }

    // The game's reader keeps no End of Track, so a song ends at its last stored event. An
    // expression controller at the value it already has marks the closing bar line, so songs
    // end on the beat and the selection jingle loops back to its start without a gap.
    conductor.Controller(tick, BassChannel, 11, 127);

    TRenderedSong rendered;
    rendered.EndTick = tick;
    rendered.Bytes = EncodeSmf({conductor, drums, bass, comp, lead, pad}, SongDivision, tick);
    rendered.Seconds = TicksToSeconds(tick, tempoMap, SongDivision);
    return rendered;
}

} // namespace tamtara
