// Tom fills shared by the songs: each is one bar and walks every tom the kit has.
#pragma once

#include "songgen/Arrangement.h"
#include "songgen/Music.h"

namespace tamtara::Fills {

// Quarter notes on the high, mid and low toms: an easy fill for quiet songs.
inline const TGroove QuarterToms{{
    {Kit::Kick, "x..............."},
    {Kit::Snare, "x..............."},
    {Kit::TomHigh, "....x..........."},
    {Kit::TomLowMid, "........x......."},
    {Kit::FloorHigh, "............x..."},
}};
// The same walk on the other three toms, so a song that alternates the two uses all six.
inline const TGroove QuarterTomsLow{{
    {Kit::Kick, "x..............."},
    {Kit::Snare, "x..............."},
    {Kit::TomHighMid, "....x..........."},
    {Kit::TomLow, "........x......."},
    {Kit::FloorLow, "............x..."},
}};
// Eighths down all six toms in the second half of the bar.
inline const TGroove EighthsDown{{
    {Kit::HatClosed, "x.x.x.x........."},
    {Kit::Kick, "x.....x........."},
    {Kit::Snare, "....x..........."},
    {Kit::TomHigh, "........x......."},
    {Kit::TomHighMid, ".........x......"},
    {Kit::TomLowMid, "..........x....."},
    {Kit::TomLow, "...........x...."},
    {Kit::FloorHigh, "............x.x."},
    {Kit::FloorLow, ".............x.x"},
}};
// Snare build-up into a chorus, toms at the end.
inline const TGroove SnareBuild{{
    {Kit::Kick, "x...x...x...x..."},
    {Kit::Snare, "x.x.x.x.xxxx...."},
    {Kit::TomHigh, "............x..."},
    {Kit::TomLowMid, ".............x.."},
    {Kit::FloorLow, "..............x."},
    {Kit::FloorHigh, "...............x"},
}};
} // namespace tamtara::Fills
