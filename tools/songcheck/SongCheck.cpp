// The checks behind songcheck: the sequencer's reader, the play screen's lane table and song
// picture loader, and the shared text decoding.
#include "SongCheck.h"

#include "app/play/PlayBackground.h"
#include "app/play/PlayTables.h"
#include "library/Difficulty.h"
#include "midi/DrumPartKey.h"
#include "midi/MidiDrive.h"
#include "midi/SmfReader.h"
#include "midi/SongEnd.h"
#include "platform/display/DirectDrawSurface.h"
#include "platform/text/SongText.h"

#include <cstdio>
#include <filesystem>
#include <vector>

namespace tamtara {

namespace {

// A title is shown on a terminal: escape sequences or line breaks in it must not act.
std::string PrintableTitle(const std::string& bytes) {
    std::string text = SongTextToUtf8(bytes);
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
    return text;
}

// The notes the game turns into lane notes: channel 10 note-ons of the drum table with a
// velocity, in the lane the play screen gives them under the game's own table; and the share
// of all drum notes either map gives a lane.
void CountLaneNotes(const TSongModel& song, TSongReport& report) {
    ForEachDrumHit(song, [&report](std::int32_t, std::uint8_t note) {
        ++report.DrumNotes;
        if (const int lane = StandardLaneOfNote(note); lane >= 0) {
            ++report.LaneNotes[lane];
            ++report.StandardMapNotes;
        }
        if (ExtendedLaneOfNote(note) >= 0) ++report.ExtendedMapNotes;
    });
}

std::string Share(std::int32_t part, std::int32_t whole) {
    char text[16];
    std::snprintf(text, sizeof text, "%.1f%%", whole > 0 ? 100.0 * part / whole : 0.0);
    return text;
}

std::string PictureState(const std::string& songPath) {
    const std::string path = SongPicturePath(songPath);
    if (path.empty()) return "none";
    try {
        TDirectDrawSurface picture;
        LoadSongPicture(path, picture);
    } catch (const std::exception& error) {
        return std::string("refused: ") + error.what();
    }
    return std::filesystem::path(path).extension() == ".bmp" ? "bmp" : "jpg";
}

} // namespace

TSongReport CheckSong(const std::string& path, TSongModel& song) {
    TSongReport report;
    report.Path = path;
    report.Picture = PictureState(path);
    std::vector<std::uint8_t> bytes;
    try {
        bytes = ReadSongFile(path);
    } catch (const std::exception& error) {
        report.Problem = error.what();
        return report;
    }
    ParseSmf(bytes, song);
    report.Title = PrintableTitle(ReadSmfTitle(bytes));
    bytes = {};
    // The sequencer will not start a song it cannot time.
    if (song.Division <= 0) {
        report.Problem = song.TrackCount == 0 ? "not a MIDI file (no \"MThd\" header)"
                                              : "no ticks per quarter note (division 0)";
    } else {
        report.Playable = true;
        report.Seconds = SongLengthMs(song) / 1000.0;
        CountLaneNotes(song, report);
        report.Key = DrumPartKey(song, LaneMap::Standard());
        report.Difficulty = ChartDifficulty(ChartNotes(song, LaneMap::Standard()));
    }
    for (auto& track : song.Tracks)
        track.Clear();
    return report;
}

std::string FormatReport(const TSongReport& report) {
    std::string line =
        report.Path + "\t" + (report.Playable ? "ok" : report.Problem) + "\t\"" + report.Title + "\"\t";
    char number[32];
    if (report.Playable) {
        std::snprintf(number, sizeof number, "%.1f s", report.Seconds);
        line += number;
    } else {
        line += "-";
    }
    line += "\t";
    for (int lane = 0; lane < LaneCount; ++lane) {
        std::snprintf(number, sizeof number, "%s%s %d", lane ? " " : "", DrumPartLabels[lane],
                      report.LaneNotes[lane]);
        line += number;
    }
    if (report.Playable) {
        line += "\tin lanes " + Share(report.StandardMapNotes, report.DrumNotes) + " extended " +
                Share(report.ExtendedMapNotes, report.DrumNotes);
        std::snprintf(number, sizeof number, "\tdifficulty %.1f", report.Difficulty);
        line += number;
    } else {
        line += "\t-\t-";
    }
    return line + "\tpicture " + report.Picture;
}

} // namespace tamtara
