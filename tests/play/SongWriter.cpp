// Standard MIDI File writer for the play tests.
#include "SongWriter.h"

#include <algorithm>
#include <fstream>

namespace tamtara::testing {

namespace {

void VarLen(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    std::uint8_t bytes[5];
    int n = 0;
    bytes[n++] = value & 0x7F;
    while ((value >>= 7) != 0)
        bytes[n++] = static_cast<std::uint8_t>(0x80 | (value & 0x7F));
    while (n > 0)
        out.push_back(bytes[--n]);
}

void Be32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(v >> shift));
}

struct RawEvent {
    std::int32_t Tick;
    int Order;
    std::vector<std::uint8_t> Bytes;
};

} // namespace

std::vector<std::uint8_t> SongFileBytes(std::vector<SongNote> notes)
{
    std::vector<RawEvent> events;
    events.push_back({0, 0, {0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20}}); // 500000 us per quarter
    events.push_back({0, 0, {0xC0, 0x00}});
    for (const SongNote& n : notes) {
        events.push_back({n.Tick, 2, {std::uint8_t(0x90 | n.Channel), n.Note, n.Velocity}});
        events.push_back({n.Tick + 120, 1, {std::uint8_t(0x80 | n.Channel), n.Note, 0}});
    }
    std::stable_sort(events.begin(), events.end(), [](const RawEvent& a, const RawEvent& b) {
        return a.Tick != b.Tick ? a.Tick < b.Tick : a.Order < b.Order;
    });
    std::vector<std::uint8_t> track;
    std::int32_t last = 0;
    for (const RawEvent& e : events) {
        VarLen(track, std::uint32_t(e.Tick - last));
        last = e.Tick;
        track.insert(track.end(), e.Bytes.begin(), e.Bytes.end());
    }
    VarLen(track, 0);
    track.insert(track.end(), {0xFF, 0x2F, 0x00});

    std::vector<std::uint8_t> file{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x01, 0xE0};
    file.insert(file.end(), {'M', 'T', 'r', 'k'});
    Be32(file, std::uint32_t(track.size()));
    file.insert(file.end(), track.begin(), track.end());
    return file;
}

void WriteSong(const std::string& path, const std::vector<SongNote>& notes)
{
    const std::vector<std::uint8_t> bytes = SongFileBytes(notes);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

} // namespace tamtara::testing
