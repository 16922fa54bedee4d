// What the launcher needs of the game window: the song library scan with its progress, the
// readme entry of the data package, the settings hand-over and the modal run. TMainForm stands
// behind it in the program (MainFormGameWindow), a fake in the launcher's tests.
#pragma once

#include "settings/KitSettings.h"

#include <array>
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

    // Walks the song folders, reporting progress; onComplete runs at the end, inside this call.
    virtual void ScanLibrary(const CompleteEvent& onComplete, const ProgressEvent& onProgress) = 0;
    // The bytes of an entry of Data.pb; nothing when the package or the entry is missing.
    virtual std::optional<std::vector<std::uint8_t>> ReadDataEntry(const std::string& name) = 0;

    // The hand-over, called in this order before ShowModal.
    virtual void SetPrev(bool prev) = 0;
    virtual void SetDemo(bool demo) = 0;
    virtual void SetMidiDevice(std::int32_t midiDevice) = 0;
    virtual void SetCombo(bool combo) = 0;
    virtual void SetNoBank(bool noBank) = 0;
    // Full screen off: arrow cursor, single border, 640 x 480 client area, doFullScreen removed.
    virtual void LeaveFullScreen() = 0;
    virtual void SetUseDirectInput(bool useDirectInput) = 0;
    virtual void SetMissPenalty(std::int32_t missPenalty) = 0;
    virtual void SetLevel(std::int32_t level) = 0;
    // Slot 0 of inButton1+i gets keyA[i], slot 0 of inButton11+i gets keyB[i].
    virtual void SetPlayerKeys(const std::array<std::int32_t, 7>& keyA,
                               const std::array<std::int32_t, 7>& keyB) = 0;
    // Strikes judged at their own moment, the input offset, and the kit's port (empty: none)
    // with its map.
    virtual void SetInput(bool preciseInput, std::int32_t inputOffsetMs, const std::string& midiIn,
                          const KitSettings& kit) = 0;

    // Shows the window and runs it until it has closed.
    virtual void ShowModal() = 0;
};

} // namespace tamtara
