// A game window for the launcher's tests: its scan reports the progress it is given (letting
// the test look at the launcher after every report), its data package holds the shipped readme,
// and every hand-over call is recorded in order.
#pragma once

#include "launcher/GameWindow.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace tamtara::testing {

class FakeGameWindow final : public IGameWindow {
public:
    // The reports the scan makes, in order.
    std::vector<std::pair<std::int32_t, std::string>> Progress = {{0, "フォルダ検索中..."}, {100, "完了"}};
    // Runs after each report, while the scan is still going.
    std::function<void(std::int32_t percentDone)> AfterReport;
    // Runs when the window is shown, before it "closes".
    std::function<void()> WhileShown;
    // Entries of Data.pb by name.
    std::vector<std::pair<std::string, std::vector<std::uint8_t>>> DataEntries;

    // What the launcher did, in order: "Scan", "Prev=1", …, "ShowModal".
    std::vector<std::string> Calls;

    void ScanLibrary(const CompleteEvent& onComplete, const ProgressEvent& onProgress) override {
        Calls.push_back("Scan");
        for (const auto& [percent, message] : Progress) {
            if (onProgress) onProgress(*this, percent, message);
            if (AfterReport) AfterReport(percent);
        }
        if (onComplete) onComplete(*this);
    }
    std::optional<std::vector<std::uint8_t>> ReadDataEntry(const std::string& name) override {
        for (const auto& [entry, bytes] : DataEntries)
            if (entry == name) return bytes;
        return std::nullopt;
    }
    void SetPrev(bool prev) override { Record("Prev", prev); }
    void SetDemo(bool demo) override { Record("Demo", demo); }
    void SetMidiDevice(std::int32_t midiDevice) override { Record("MidiDevice", midiDevice); }
    void SetCombo(bool combo) override { Record("Combo", combo); }
    void SetNoBank(bool noBank) override { Record("NoBank", noBank); }
    void LeaveFullScreen() override { Calls.push_back("LeaveFullScreen"); }
    void SetInput(bool preciseInput, std::int32_t inputOffsetMs, const std::string& midiIn,
                  const KitSettings& kit) override {
        PreciseInput = preciseInput;
        InputOffsetMs = inputOffsetMs;
        MidiIn = midiIn;
        Kit = kit;
    }
    bool PreciseInput = false;
    std::int32_t InputOffsetMs = 0;
    std::string MidiIn;
    KitSettings Kit;
    void SetUseDirectInput(bool useDirectInput) override { Record("DInput", useDirectInput); }
    void SetMissPenalty(std::int32_t missPenalty) override { Record("MissPenalty", missPenalty); }
    void SetLevel(std::int32_t level) override { Record("Level", level); }
    void SetPlayerKeys(const std::array<std::int32_t, 7>& keyA, const std::array<std::int32_t, 7>& keyB) override {
        std::string text = "Keys=";
        for (std::int32_t key : keyA) text += std::to_string(key) + ",";
        text += "/";
        for (std::int32_t key : keyB) text += std::to_string(key) + ",";
        Calls.push_back(text);
    }
    void ShowModal() override {
        Calls.push_back("ShowModal");
        if (WhileShown) WhileShown();
    }

private:
    void Record(const char* name, std::int32_t value) { Calls.push_back(std::string(name) + "=" + std::to_string(value)); }
};

} // namespace tamtara::testing
