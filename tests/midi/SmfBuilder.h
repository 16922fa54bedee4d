// Builds Standard MIDI File bytes for tests: a header and track chunks of raw event bytes.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace tamtara::testing {

using Bytes = std::vector<std::uint8_t>;

inline void PutBE(Bytes& out, std::uint32_t value, int size) {
    for (int i = size - 1; i >= 0; --i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

inline void PutVarLen(Bytes& out, std::uint32_t value) {
    Bytes groups{static_cast<std::uint8_t>(value & 0x7F)};
    while (value >>= 7)
        groups.insert(groups.begin(), static_cast<std::uint8_t>(0x80 | (value & 0x7F)));
    out.insert(out.end(), groups.begin(), groups.end());
}

inline Bytes Header(int format, int tracks, int division) {
    Bytes out{'M', 'T', 'h', 'd'};
    PutBE(out, 6, 4);
    PutBE(out, format, 2);
    PutBE(out, tracks, 2);
    PutBE(out, division, 2);
    return out;
}

inline Bytes TrackChunk(const Bytes& events) {
    Bytes out{'M', 'T', 'r', 'k'};
    PutBE(out, static_cast<std::uint32_t>(events.size()), 4);
    out.insert(out.end(), events.begin(), events.end());
    return out;
}

inline Bytes Smf(int division, std::initializer_list<Bytes> tracks, int format = 1) {
    Bytes out = Header(format, static_cast<int>(tracks.size()), division);
    for (const Bytes& t : tracks) {
        Bytes chunk = TrackChunk(t);
        out.insert(out.end(), chunk.begin(), chunk.end());
    }
    return out;
}

inline Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

// delta, then the event's bytes.
inline Bytes Ev(std::uint32_t delta, std::initializer_list<std::uint8_t> bytes) {
    Bytes out;
    PutVarLen(out, delta);
    out.insert(out.end(), bytes);
    return out;
}

inline Bytes Tempo(std::uint32_t delta, std::uint32_t microseconds) {
    Bytes out;
    PutVarLen(out, delta);
    out.insert(out.end(), {0xFF, 0x51, 0x03});
    PutBE(out, microseconds, 3);
    return out;
}

inline Bytes Meta(std::uint32_t delta, std::uint8_t type, const Bytes& data) {
    Bytes out;
    PutVarLen(out, delta);
    out.push_back(0xFF);
    out.push_back(type);
    PutVarLen(out, static_cast<std::uint32_t>(data.size()));
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

inline Bytes EndOfTrack() {
    return {0x00, 0xFF, 0x2F, 0x00};
}

} // namespace tamtara::testing
