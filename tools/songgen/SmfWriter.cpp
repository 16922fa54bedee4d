// Standard MIDI File encoding for the content generators.
#include "songgen/SmfWriter.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>

namespace tamtara {

namespace {

constexpr int RankRelease = 0;
constexpr int RankSetup = 1;
constexpr int RankStrike = 2;

void PutVariableLength(std::vector<std::uint8_t>& out, std::uint32_t value) {
    std::uint8_t groups[5];
    int count = 0;
    do {
        groups[count++] = static_cast<std::uint8_t>(value & 0x7F);
        value >>= 7;
    } while (value != 0);
    while (count > 1)
        out.push_back(static_cast<std::uint8_t>(groups[--count] | 0x80));
    out.push_back(groups[0]);
}

void PutBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int shift = (bytes - 1) * 8; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

std::uint8_t Clamp7(int value) {
    return static_cast<std::uint8_t>(std::clamp(value, 0, 127));
}

} // namespace

void TSmfTrack::Add(int tick, int rank, std::vector<std::uint8_t> bytes) {
    if (tick < 0) throw std::invalid_argument("event before the start of the song");
    Events.push_back({tick, rank, Events.size(), std::move(bytes)});
}

void TSmfTrack::Meta(int tick, std::uint8_t type, std::string_view bytes) {
    std::vector<std::uint8_t> event{0xFF, type};
    PutVariableLength(event, static_cast<std::uint32_t>(bytes.size()));
    event.insert(event.end(), bytes.begin(), bytes.end());
    Add(tick, RankSetup, std::move(event));
}

void TSmfTrack::Tempo(int tick, int beatsPerMinute) {
    std::vector<std::uint8_t> event{0xFF, MetaType::SetTempo, 3};
    PutBigEndian(event, static_cast<std::uint32_t>(60000000 / beatsPerMinute), 3);
    Add(tick, RankSetup, std::move(event));
}

void TSmfTrack::TimeSignature(int tick, int numerator, int denominatorPower) {
    Add(tick, RankSetup,
        {0xFF, MetaType::TimeSignature, 4, Clamp7(numerator), Clamp7(denominatorPower), 24, 8});
}

void TSmfTrack::ProgramChange(int tick, int channel, int program) {
    Add(tick, RankSetup, {static_cast<std::uint8_t>(0xC0 | channel), Clamp7(program)});
}

void TSmfTrack::Controller(int tick, int channel, int controller, int value) {
    Add(tick, RankSetup, {static_cast<std::uint8_t>(0xB0 | channel), Clamp7(controller), Clamp7(value)});
}

void TSmfTrack::Note(int tick, int channel, int key, int velocity, int length) {
    if (velocity <= 0 || length <= 0) return;
    Add(tick, RankStrike,
        {static_cast<std::uint8_t>(0x90 | channel), Clamp7(key), Clamp7(std::max(velocity, 1))});
    Add(tick + length, RankRelease, {static_cast<std::uint8_t>(0x80 | channel), Clamp7(key), 64});
}

int TSmfTrack::LastTick() const {
    int last = 0;
    for (const Event& event : Events)
        last = std::max(last, event.Tick);
    return last;
}

std::vector<std::uint8_t> TSmfTrack::Encode(int endTick) const {
    std::vector<const Event*> sorted;
    sorted.reserve(Events.size());
    for (const Event& event : Events)
        sorted.push_back(&event);
    std::sort(sorted.begin(), sorted.end(), [](const Event* a, const Event* b) {
        if (a->Tick != b->Tick) return a->Tick < b->Tick;
        if (a->Rank != b->Rank) return a->Rank < b->Rank;
        return a->Sequence < b->Sequence;
    });

    std::vector<std::uint8_t> body;
    int previousTick = 0;
    std::uint8_t runningStatus = 0;
    for (const Event* event : sorted) {
        PutVariableLength(body, static_cast<std::uint32_t>(event->Tick - previousTick));
        previousTick = event->Tick;
        const std::uint8_t status = event->Bytes[0];
        const bool isChannelMessage = status < 0xF0;
        std::size_t first = 0;
        if (isChannelMessage && status == runningStatus) first = 1;
        body.insert(body.end(), event->Bytes.begin() + static_cast<std::ptrdiff_t>(first),
                    event->Bytes.end());
        // Meta events leave running status alone in readers, but not every reader agrees; restart it.
        runningStatus = isChannelMessage ? status : 0;
    }
    PutVariableLength(body, static_cast<std::uint32_t>(std::max(endTick, previousTick) - previousTick));
    body.insert(body.end(), {0xFF, MetaType::EndOfTrack, 0});

    std::vector<std::uint8_t> chunk{'M', 'T', 'r', 'k'};
    PutBigEndian(chunk, static_cast<std::uint32_t>(body.size()), 4);
    chunk.insert(chunk.end(), body.begin(), body.end());
    return chunk;
}

std::vector<std::uint8_t> EncodeSmf(const std::vector<TSmfTrack>& tracks, int division, int endTick) {
    std::vector<std::uint8_t> file{'M', 'T', 'h', 'd', 0, 0, 0, 6};
    PutBigEndian(file, 1, 2);
    PutBigEndian(file, static_cast<std::uint32_t>(tracks.size()), 2);
    PutBigEndian(file, static_cast<std::uint32_t>(division), 2);
    for (const TSmfTrack& track : tracks) {
        const std::vector<std::uint8_t> chunk = track.Encode(endTick);
        file.insert(file.end(), chunk.begin(), chunk.end());
    }
    return file;
}

void WriteBinaryFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

} // namespace tamtara
