// smfdump: prints a MIDI file as the reader sees it, one item a line, or the title it reads.
#include "midi/SmfReader.h"

#include "base/Stream.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

using namespace tamtara;

namespace {

int Usage() {
    std::fprintf(stderr, "usage: smfdump [--title] FILE\n");
    return 2;
}

void Dump(const TSongModel& song) {
    std::printf("format %d\ntracks %d\ndivision %d\n", song.Format, song.TrackCount, song.Division.load());
    for (int i = 0; i < song.TempoCount; ++i)
        std::printf("tempo %d %d\n", song.TempoMap[i].Tick, song.TempoMap[i].Bpm);
    for (int t = 0; t < song.TrackCount; ++t) {
        const TMidiTrack& track = song.Tracks[t];
        for (std::int32_t i = 0; i < track.Count(); ++i) {
            const SequencerEvent& slot = track[i];
            const TMyMidiEvent& e = slot.Event;
            if (e.IsExclusive()) {
                std::printf("%d %d %02X %d%s", t, slot.Tick, e.Status, e.ExclusiveLength - 1,
                            e.ExclusiveLength > 1 ? " " : "");
                for (int b = 1; b < e.ExclusiveLength; ++b)
                    std::printf("%02X", e.ExclusiveData[b]);
                std::printf("\n");
            } else {
                std::printf("%d %d %02X %d %d\n", t, slot.Tick, e.Status, e.Data1, e.Data2);
            }
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    bool title = false;
    std::string path;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--title") == 0)
            title = true;
        else if (path.empty())
            path = argv[i];
        else
            return Usage();
    }
    if (path.empty()) return Usage();
    try {
        const auto bytes = ReadSongFile(path);
        if (title) {
            const std::string text = ReadSmfTitle(bytes);
            std::fwrite(text.data(), 1, text.size(), stdout);
            std::fputc('\n', stdout);
        } else {
            auto song = std::make_unique<TSongModel>();
            ParseSmf(bytes, *song);
            Dump(*song);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "smfdump: %s\n", e.what());
        return 1;
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}
