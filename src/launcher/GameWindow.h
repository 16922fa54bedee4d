// What the launcher needs of the game window: the song library scan with its progress, the
// readme entry of the data package, the settings hand-over and the modal run with the progress
// of its start. TMainForm stands
// behind it in the program (MainFormGameWindow), a fake in the launcher's tests.
#pragma once

#include "midi/DrumMap.h"
#include "settings/Settings.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tamtara {

class IGameWindow {
public:
    using CompleteEvent = std::function<void(IGameWindow& sender)>;
    using ProgressEvent =
        std::function<void(IGameWindow& sender, std::int32_t percentDone, const std::string& msg)>;

    virtual ~IGameWindow() = default;

    // Walks the song folders (none: the game folder), marking the songs for the lanes the play
    // will use and reporting progress; onComplete runs at the end, inside this call.
    virtual void ScanLibrary(const std::vector<std::string>& songFolders, LaneMap lanes,
                             const CompleteEvent& onComplete, const ProgressEvent& onProgress) = 0;
    // The songs each song folder of the last scan held, in the folders' order; -1 for a folder
    // that could not be read.
    virtual std::vector<std::int32_t> SongCounts() const = 0;
    // The bytes of an entry of Data.pb; nothing when the package or the entry is missing.
    virtual std::optional<std::vector<std::uint8_t>> ReadDataEntry(const std::string& name) = 0;

    // The launcher's settings in one hand-over, before ShowModal. The window applies them in
    // the order Prev, Demo, MidiDevice, Combo, NoBank, the display (full screen off: arrow
    // cursor, single border, 640 x 480 client area), DInput, MissPenalty, Level, the player's
    // keys (slot 0 of inButton1+i gets KeyA[i], of inButton11+i KeyB[i]), then precise input,
    // the input offset and the kit.
    virtual void HandOver(const GameSettings& settings) = 0;

    // Shows the window and runs it until it has closed. onStart hears what the window's start
    // is doing until its first frame, then once more with 100 just before that frame is shown.
    virtual void ShowModal(const ProgressEvent& onStart) = 0;
};

} // namespace tamtara
