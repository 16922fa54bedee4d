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
    void SetPrev(bool prev) override { Form.Prev = prev; }
    void SetDemo(bool demo) override { Form.Demo = demo; }
    void SetMidiDevice(std::int32_t midiDevice) override { Form.MidiDevice = midiDevice; }
    void SetCombo(bool combo) override { Form.Combo = combo; }
    void SetNoBank(bool noBank) override { Form.NoBank = noBank; }
    void LeaveFullScreen() override { Form.LeaveFullScreen(); }
    void SetUseDirectInput(bool useDirectInput) override { Form.DXInput.SetUseDirectInput(useDirectInput); }
    void SetMissPenalty(std::int32_t missPenalty) override { Form.MissPenalty = missPenalty; }
    void SetLevel(std::int32_t level) override { Form.Level = level; }
    void SetPlayerKeys(const std::array<std::int32_t, 7>& keyA,
                       const std::array<std::int32_t, 7>& keyB) override {
        Form.SetPlayerKeys(keyA, keyB);
    }
    void SetInput(bool preciseInput, std::int32_t inputOffsetMs, const std::string& midiIn,
                  const KitSettings& kit) override {
        Form.PreciseInput = preciseInput;
        Form.InputOffsetMs = inputOffsetMs;
        Form.MidiIn = midiIn;
        Form.KitMap = kit;
    }
    // FormShow (opens the MIDI output and the display), then the window's message loop.
    void ShowModal() override;

private:
    TMainForm& Form;
};

} // namespace tamtara
