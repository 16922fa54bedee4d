// The Standard MIDI File scanner shared by the loader and the title reader. One set of rules
// walks the chunks; a sink decides what is kept. Reads never go past the data: an event cut off
// by the end of the data is dropped and ends the track. Files from the wild are met halfway: a
// RIFF "RMID" wrapper or leading bytes before the header are passed over, and a track that is
// not where the previous chunk's length puts it is looked for further on.
#include "midi/SmfReader.h"

#include "base/Stream.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <memory>

namespace tamtara {
namespace {

constexpr std::int64_t MaxTick = std::numeric_limits<std::int32_t>::max();

class Cursor {
public:
    explicit Cursor(std::span<const std::uint8_t> data) : Data(data) {}

    std::size_t Position() const { return Pos; }
    std::size_t Remaining() const { return Data.size() - Pos; }
    bool AtEnd() const { return Pos >= Data.size(); }
    const std::uint8_t* Here() const { return Data.data() + Pos; }

    bool Byte(std::uint8_t& value) {
        if (AtEnd()) return false;
        value = Data[Pos++];
        return true;
    }
    void StepBack() { --Pos; }
    // Skips count bytes; false (and at the end) when fewer remain.
    bool Skip(std::uint64_t count) {
        if (count > Remaining()) {
            Pos = Data.size();
            return false;
        }
        Pos += static_cast<std::size_t>(count);
        return true;
    }
    bool MatchId(const char* id) {
        if (Remaining() < 4) {
            Pos = Data.size();
            return false;
        }
        const bool match = std::memcmp(Here(), id, 4) == 0;
        Pos += 4;
        return match;
    }
    // Moves past the next occurrence of id at or after the position (normally right there);
    // false, and at the end, when there is none.
    bool SkipPast(const char* id) {
        const auto* begin = Data.data() + Pos;
        const auto* end = Data.data() + Data.size();
        const auto* found = std::search(begin, end, id, id + 4);
        if (found == end) {
            Pos = Data.size();
            return false;
        }
        Pos = static_cast<std::size_t>(found - Data.data()) + 4;
        return true;
    }
    // Big-endian number of 1 to 4 bytes; other sizes read nothing and give 0.
    bool BigEndian(int size, std::uint32_t& value) {
        value = 0;
        if (size < 1 || size > 4) return true;
        for (int i = 0; i < size; ++i) {
            std::uint8_t b;
            if (!Byte(b)) return false;
            value = (value << 8) | b;
        }
        return true;
    }
    // Variable-length quantity. Every continuation byte is consumed however many there are,
    // but the value saturates at the largest tick instead of overflowing.
    bool VarLen(std::uint32_t& value) {
        std::uint64_t result = 0;
        std::uint8_t b;
        do {
            if (!Byte(b)) return false;
            if (result <= static_cast<std::uint64_t>(MaxTick)) result = (result << 7) | (b & 0x7F);
        } while (b & 0x80);
        value = static_cast<std::uint32_t>(std::min<std::uint64_t>(result, MaxTick));
        return true;
    }

private:
    std::span<const std::uint8_t> Data;
    std::size_t Pos = 0;
};

struct Header {
    std::int32_t Format = 0;
    std::int32_t TrackCount = 0;
    std::int32_t Division = 0;
};

// A header cut short counts as no header at all.
Header ReadHeader(Cursor& in) {
    Header header;
    if (!in.MatchId("MThd")) return header;
    std::uint32_t length, format, tracks, division;
    if (in.BigEndian(4, length) && in.BigEndian(2, format) && in.BigEndian(2, tracks) &&
        in.BigEndian(2, division)) {
        header.Format = static_cast<std::int32_t>(format);
        header.TrackCount = std::min<std::int32_t>(static_cast<std::int32_t>(tracks), MaxTracks);
        header.Division = static_cast<std::int32_t>(division);
    }
    return header;
}

bool IsOneDataByteStatus(std::uint8_t status) {
    return (status >= 0xC0 && status <= 0xDF) || status == 0xF1 || status == 0xF3;
}

bool IsNoDataByteStatus(std::uint8_t status) {
    return status >= 0xF8 && status <= 0xFE;
}

class SmfSink {
public:
    virtual ~SmfSink() = default;
    // Set by a sink that has seen all it needs: the scan ends after the event.
    bool Finished = false;
    virtual void Short(int track, std::int32_t tick, std::uint8_t status, std::uint8_t d1,
                       std::uint8_t d2) = 0;
    virtual void Exclusive(int track, std::int32_t tick, std::uint8_t status, const std::uint8_t* data,
                           std::size_t count) = 0;
    // microseconds per quarter note, 1 to 60000000.
    virtual void Tempo(std::int32_t tick, std::int32_t micros) = 0;
    // A time signature: numerator and the denominator as a power of two.
    virtual void Meter(std::int32_t, std::uint8_t, std::uint8_t) {}
    // Returns false to stop the scan.
    virtual bool Text(const std::uint8_t* data, std::size_t available) = 0;
};

// Exclusive blocks count their status byte in a 16-bit length; larger ones cannot be stored.
constexpr std::uint32_t MaxExclusiveData = 0xFFFF - 1;

// Scans one track chunk. Returns false when the scan must stop (end of data or the sink asked).
// Where the bytes are not a track chunk (an unknown chunk, which the format says to skip, or a
// previous chunk whose length was off), the next track chunk further on is read instead; with
// none left the scan stops and the remaining tracks stay empty.
bool ScanTrack(Cursor& in, int track, SmfSink& sink) {
    if (in.Remaining() < 4 || !in.SkipPast("MTrk")) return false;
    std::uint32_t chunkLength = 0;
    if (!in.BigEndian(4, chunkLength)) return false;
    const std::size_t chunkStart = in.Position();
    std::int64_t tick = 0;
    std::uint8_t running = 0;
    std::uint8_t beforeMeta = 0;
    while (in.Position() - chunkStart < chunkLength) {
        std::uint32_t delta;
        if (!in.VarLen(delta)) return false;
        tick = std::min<std::int64_t>(tick + delta, MaxTick);
        const auto at = static_cast<std::int32_t>(tick);

        std::uint8_t b;
        if (!in.Byte(b)) return false;
        if (b & 0x80) {
            running = b;
        } else {
            in.StepBack();
            if (running == 0xFF) running = beforeMeta;
        }

        if (running == 0xF0 || running == 0xF7) {
            std::uint32_t length;
            if (!in.VarLen(length) || length > in.Remaining()) {
                in.Skip(in.Remaining());
                return false;
            }
            if (length <= MaxExclusiveData) sink.Exclusive(track, at, running, in.Here(), length);
            in.Skip(length);
            beforeMeta = running;
        } else if (running == 0xFF) {
            std::uint8_t type;
            std::uint32_t length;
            if (!in.Byte(type) || !in.VarLen(length)) return false;
            if (type >= 1 && type <= 7) {
                // A text cut by the end of the data is dropped like any other cut event.
                if (length > in.Remaining() || !sink.Text(in.Here(), length)) return false;
            }
            if (type == 0x51 && length >= 1 && length <= 4 && length <= in.Remaining()) {
                std::uint32_t value;
                in.BigEndian(static_cast<int>(length), value);
                // A zero tempo value, or one so slow that it rounds to 0 BPM, would stall the
                // song for ever; such an event is ignored.
                if (value != 0 && value <= 60000000u) sink.Tempo(at, static_cast<std::int32_t>(value));
            } else if (type == 0x58 && length >= 2 && length <= in.Remaining()) {
                std::uint8_t numerator = 0, power = 0;
                in.Byte(numerator);
                in.Byte(power);
                sink.Meter(at, numerator, power);
                if (!in.Skip(length - 2)) return false;
            } else if (!in.Skip(length)) {
                return false;
            }
        } else {
            std::uint8_t d1 = 0, d2 = 0;
            if (IsNoDataByteStatus(running)) {
            } else if (IsOneDataByteStatus(running)) {
                if (!in.Byte(d1)) return false;
            } else if (!in.Byte(d1) || !in.Byte(d2)) {
                return false;
            }
            sink.Short(track, at, running, d1, d2);
            if (sink.Finished) return false;
            beforeMeta = running;
        }
    }
    return true;
}

std::uint32_t LittleEndian32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
           (std::uint32_t(p[3]) << 24);
}

bool IdAt(std::span<const std::uint8_t> data, std::size_t pos, const char* id) {
    return data.size() >= 4 && pos <= data.size() - 4 && std::memcmp(data.data() + pos, id, 4) == 0;
}

// The MIDI data inside a wrapped file: the "data" chunk of a RIFF "RMID" file, then, when the
// bytes still do not open with a header, from a header within the first 1024 bytes (MacBinary
// and other wrappers put their own bytes first). A file opening with "MThd" is taken as it is.
std::span<const std::uint8_t> MidiData(std::span<const std::uint8_t> data) {
    if (IdAt(data, 0, "RIFF") && IdAt(data, 8, "RMID")) {
        std::size_t pos = 12;
        while (data.size() >= 8 && pos <= data.size() - 8) {
            const std::size_t size = LittleEndian32(data.data() + pos + 4);
            const std::size_t body = pos + 8;
            const std::size_t available = data.size() - body;
            if (IdAt(data, pos, "data")) {
                data = data.subspan(body, std::min(size, available));
                break;
            }
            if (size >= available) break;
            pos = body + size + (size & 1); // RIFF chunks are padded to even lengths
        }
    }
    if (!IdAt(data, 0, "MThd")) {
        const auto head = data.first(std::min<std::size_t>(data.size(), 1024));
        const char* id = "MThd";
        const auto found = std::search(head.begin(), head.end(), id, id + 4);
        if (found != head.end()) data = data.subspan(static_cast<std::size_t>(found - head.begin()));
    }
    return data;
}

Header Scan(std::span<const std::uint8_t> data, SmfSink& sink) {
    Cursor in(MidiData(data));
    const Header header = ReadHeader(in);
    // The first track chunk is looked for right after the 14 header bytes, whatever length the
    // header claims.
    for (int t = 0; t < header.TrackCount; ++t) {
        if (!ScanTrack(in, t, sink)) break;
    }
    return header;
}

// First pass of a load: how much each track will hold, so that the arrays are sized once.
class CountSink final : public SmfSink {
public:
    struct TrackSize {
        std::int32_t Events = 0;
        std::int32_t ExclusiveEvents = 0;
        std::size_t ExclusiveBytes = 0;
    };
    void Short(int track, std::int32_t, std::uint8_t, std::uint8_t, std::uint8_t) override {
        ++Sizes[track].Events;
    }
    void Exclusive(int track, std::int32_t, std::uint8_t, const std::uint8_t*, std::size_t count) override {
        ++Sizes[track].Events;
        ++Sizes[track].ExclusiveEvents;
        Sizes[track].ExclusiveBytes += count + 1;
    }
    void Tempo(std::int32_t, std::int32_t) override {}
    bool Text(const std::uint8_t*, std::size_t) override { return true; }

    std::array<TrackSize, MaxTracks> Sizes{};
};

class LoadSink final : public SmfSink {
public:
    explicit LoadSink(TSongModel& song) : Song(song) {}
    void Short(int track, std::int32_t tick, std::uint8_t status, std::uint8_t d1, std::uint8_t d2) override {
        Song.Tracks[track].AppendShort(tick, status, d1, d2);
    }
    void Exclusive(int track, std::int32_t tick, std::uint8_t status, const std::uint8_t* data,
                   std::size_t count) override {
        Song.Tracks[track].AppendExclusive(tick, status, std::span<const std::uint8_t>(data, count));
    }
    void Tempo(std::int32_t tick, std::int32_t micros) override {
        // The map has a fixed size; further tempo changes are dropped.
        if (Song.TempoCount < MaxTempoEntries)
            Song.TempoMap[Song.TempoCount++] = TempoEntry{tick, 60000000 / micros, micros};
    }
    void Meter(std::int32_t tick, std::uint8_t numerator, std::uint8_t power) override {
        // A meter of no beats, or of notes shorter than a 64th, cannot be counted in; dropped.
        if (numerator == 0 || power > 6 || Song.MeterCount >= MaxMeterEntries) return;
        Song.MeterMap[Song.MeterCount++] = MeterEntry{tick, numerator, 1 << power};
    }
    bool Text(const std::uint8_t*, std::size_t) override { return true; }

private:
    TSongModel& Song;
};

class TitleSink final : public SmfSink {
public:
    void Short(int, std::int32_t, std::uint8_t, std::uint8_t, std::uint8_t) override {}
    void Exclusive(int, std::int32_t, std::uint8_t, const std::uint8_t*, std::size_t) override {}
    void Tempo(std::int32_t, std::int32_t) override {}
    bool Text(const std::uint8_t* data, std::size_t available) override {
        const std::size_t count = std::min<std::size_t>(available, 255);
        const auto* end = std::find(data, data + count, 0);
        Title.assign(reinterpret_cast<const char*>(data), static_cast<std::size_t>(end - data));
        return false;
    }
    std::string Title;
};

// The title as TitleSink finds it, and whether any drum note the sequencer would announce is
// there; the scan ends as soon as both are known.
class SummarySink final : public SmfSink {
public:
    explicit SummarySink(LaneMap lanes) : Lanes(lanes) {}
    void Short(int, std::int32_t, std::uint8_t status, std::uint8_t d1, std::uint8_t d2) override {
        if (status == 0x99 && d2 > 0 && Lanes.HasLane(d1)) {
            HasDrumNotes = true;
            Finished = TitleFound;
        }
    }
    void Exclusive(int, std::int32_t, std::uint8_t, const std::uint8_t*, std::size_t) override {}
    void Tempo(std::int32_t, std::int32_t) override {}
    bool Text(const std::uint8_t* data, std::size_t available) override {
        if (!TitleFound) TitleFound = !Title.Text(data, available);
        return !HasDrumNotes;
    }
    LaneMap Lanes;
    TitleSink Title;
    bool TitleFound = false;
    bool HasDrumNotes = false;
};

} // namespace

void ParseSmf(std::span<const std::uint8_t> data, TSongModel& song) {
    for (auto& track : song.Tracks)
        track.Clear();
    song.TempoCount = 0;
    song.MeterCount = 0;
    auto counts = std::make_unique<CountSink>();
    const Header header = Scan(data, *counts);
    song.Format = header.Format;
    song.TrackCount = header.TrackCount;
    song.Division = header.Division;
    for (int t = 0; t < header.TrackCount; ++t) {
        const auto& size = counts->Sizes[t];
        song.Tracks[t].Reserve(size.Events, size.ExclusiveEvents, size.ExclusiveBytes);
    }
    LoadSink sink(song);
    Scan(data, sink);
}

std::string ReadSmfTitle(std::span<const std::uint8_t> data) {
    TitleSink sink;
    Scan(data, sink);
    return sink.Title;
}

TSmfSummary ReadSmfSummary(std::span<const std::uint8_t> data, LaneMap lanes) {
    SummarySink sink(lanes);
    const Header header = Scan(data, sink);
    return TSmfSummary{sink.Title.Title, header.Division, header.TrackCount, sink.HasDrumNotes};
}

void CheckSongFileSize(std::int64_t size, const std::string& path) {
    if (size > MaxSongFileBytes)
        throw ESongFileError("\"" + path + "\" is " + std::to_string(size) +
                             " bytes, over the 64 MB limit for a song file");
}

std::vector<std::uint8_t> ReadSongFile(TStream& stream, const std::string& path) {
    CheckSongFileSize(stream.Size(), path);
    return stream.ReadAll();
}

std::vector<std::uint8_t> ReadSongFile(const std::string& path) {
    TFileStream stream(path);
    return ReadSongFile(stream, path);
}

} // namespace tamtara
