// The game window TMainForm as the launcher sees it.
#pragma once

#include "app/MainForm.h"
#include "launcher/GameWindow.h"

#include <chrono>
#include <iosfwd>

namespace tamtara {

class MainFormGameWindow final : public IGameWindow {
public:
    // startTimes: where the start's steps are written with their milliseconds since Start
    // (the scan's beginning); null: nowhere.
    explicit MainFormGameWindow(TMainForm& form, std::ostream* startTimes = nullptr)
        : Form(form), StartTimes(startTimes) {}

    void ScanLibrary(const std::vector<std::string>& songFolders, LaneMap lanes,
                     const CompleteEvent& onComplete, const ProgressEvent& onProgress) override;
    std::vector<std::int32_t> SongCounts() const override;
    std::optional<std::vector<std::uint8_t>> ReadDataEntry(const std::string& name) override;
    void HandOver(const GameSettings& settings) override { Form.HandOver(settings); }
    // FormShow (opens the MIDI output and the display), then the window's message loop.
    void ShowModal(const ProgressEvent& onStart) override;

private:
    void WriteStartTime(const std::string& step);

    TMainForm& Form;
    std::ostream* StartTimes;
    std::chrono::steady_clock::time_point StartClicked;
};

} // namespace tamtara
