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
    // The reports of the window's start, in order; the last (100) comes before its first frame.
    std::vector<std::pair<std::int32_t, std::string>> StartSteps = {
        {0, "音源を準備しています..."}, {40, "画面を開いています..."}, {100, ""}};
    // Runs after each start report.
    std::function<void(std::int32_t percentDone)> AfterStartReport;
    // Runs when the window is shown, after its first frame, before it "closes".
    std::function<void()> WhileShown;
    // Entries of Data.pb by name.
    std::vector<std::pair<std::string, std::vector<std::uint8_t>>> DataEntries;

    // What the launcher did, in order: "Scan", "Prev=1", …, "ShowModal".
    std::vector<std::string> Calls;

    void ScanLibrary(const std::vector<std::string>& songFolders, LaneMap lanes,
                     const CompleteEvent& onComplete, const ProgressEvent& onProgress) override {
        Calls.push_back("Scan");
        ScannedFolders = songFolders;
        ScannedLanes = lanes;
        for (const auto& [percent, message] : Progress) {
            if (onProgress) onProgress(*this, percent, message);
            if (AfterReport) AfterReport(percent);
        }
        if (onComplete) onComplete(*this);
    }
    // The folders of the last scan and the counts it answers with (one per folder: Counts'
    // entry, or 0 when it has none).
    std::vector<std::string> ScannedFolders;
    LaneMap ScannedLanes = LaneMap::Standard();
    std::vector<std::int32_t> Counts;
    std::vector<std::int32_t> SongCounts() const override {
        std::vector<std::int32_t> counts(ScannedFolders.size(), 0);
        for (std::size_t i = 0; i < counts.size() && i < Counts.size(); ++i)
            counts[i] = Counts[i];
        return counts;
    }
    std::optional<std::vector<std::uint8_t>> ReadDataEntry(const std::string& name) override {
        for (const auto& [entry, bytes] : DataEntries)
            if (entry == name) return bytes;
        return std::nullopt;
    }
    // Recorded in the order the real window applies them.
    void HandOver(const GameSettings& settings) override {
        Record("Prev", settings.Prev);
        Record("Demo", settings.Demo);
        Record("MidiDevice", settings.MidiDevice);
        Record("Combo", settings.Combo);
        Record("NoBank", settings.NoBank);
        if (!settings.FullScreen) Calls.push_back("LeaveFullScreen");
        Record("DInput", settings.DInput);
        Record("MissPenalty", settings.MissPenalty);
        Record("Level", settings.Level);
        std::string text = "Keys=";
        for (std::int32_t key : settings.KeyA)
            text += std::to_string(key) + ",";
        text += "/";
        for (std::int32_t key : settings.KeyB)
            text += std::to_string(key) + ",";
        Calls.push_back(text);
        PreciseInput = settings.PreciseInput;
        InputOffsetMs = settings.InputOffsetMs;
        MidiIn = settings.MidiIn;
        Kit = settings.Kit;
    }
    bool PreciseInput = false;
    std::int32_t InputOffsetMs = 0;
    std::string MidiIn;
    KitSettings Kit;
    void ShowModal(const ProgressEvent& onStart) override {
        Calls.push_back("ShowModal");
        for (const auto& [percent, step] : StartSteps) {
            if (onStart) onStart(*this, percent, step);
            if (AfterStartReport) AfterStartReport(percent);
        }
        if (WhileShown) WhileShown();
    }

private:
    void Record(const char* name, std::int32_t value) {
        Calls.push_back(std::string(name) + "=" + std::to_string(value));
    }
};

} // namespace tamtara::testing
