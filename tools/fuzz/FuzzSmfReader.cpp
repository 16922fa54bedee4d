// Feeds arbitrary bytes to the MIDI file reader and the title scan, and checks the model it builds.
#include "midi/SmfReader.h"

#include <cstdlib>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tamtara;
    static auto song = std::make_unique<TSongModel>();
    const std::span<const std::uint8_t> bytes(data, size);
    ParseSmf(bytes, *song);
    if (song->TrackCount < 0 || song->TrackCount > MaxTracks || song->TempoCount > MaxTempoEntries)
        std::abort();
    for (int t = 0; t < song->TrackCount; ++t) {
        const TMidiTrack& track = song->Tracks[t];
        for (std::int32_t i = 1; i < track.Count(); ++i)
            if (track[i].Tick < track[i - 1].Tick) std::abort();
    }
    if (ReadSmfTitle(bytes).size() > 255) std::abort();
    return 0;
}
