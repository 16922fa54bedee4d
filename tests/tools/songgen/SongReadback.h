// Reads generated files back through the game's own SMF reader, for the songgen tests.
#pragma once

#include "midi/SmfReader.h"
#include "songgen/Arrangement.h"

#include <memory>
#include <vector>

namespace tamtara {

struct TDrumHit {
    int Tick;
    int Key;
};

struct TNoteSpan {
    int Start;
    int End;
    int Channel; // 0-based
    int Key;
};

struct TReadback {
    std::unique_ptr<TSongModel> Song = std::make_unique<TSongModel>();
    std::vector<TDrumHit> DrumHits; // note-ons with velocity on channel 10, in tick order
    std::vector<TTempoPoint> Tempos;
    std::vector<TNoteSpan> Notes; // every note-on matched with its note-off, any channel
    int LastTick = 0;
    double Seconds() const { return TicksToSeconds(LastTick, Tempos, Song->Division); }
};

TReadback ReadBack(const std::vector<std::uint8_t>& bytes);

// The lane a table key belongs to, or -1 for a key the game does not turn into notes.
int LaneOf(int key);

} // namespace tamtara
