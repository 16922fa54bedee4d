// The game window TMainForm as the launcher sees it.
#pragma once

#include "app/MainForm.h"
#include "launcher/GameWindow.h"

namespace tamtara {

class MainFormGameWindow final : public IGameWindow {
public:
    explicit MainFormGameWindow(TMainForm& form) : Form(form) {}

    void ScanLibrary(const CompleteEvent& onComplete, const ProgressEvent& onProgress) override;
    std::optional<std::vector<std::uint8_t>> ReadDataEntry(const std::string& name) override;
    void HandOver(const GameSettings& settings) override { Form.HandOver(settings); }
    // FormShow (opens the MIDI output and the display), then the window's message loop.
    void ShowModal() override;

private:
    TMainForm& Form;
};

} // namespace tamtara
