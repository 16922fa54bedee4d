// Forwarding of the launcher's calls to the game window.
#include "program/MainFormGameWindow.h"

#include <ostream>

namespace tamtara {

void MainFormGameWindow::WriteStartTime(const std::string& step) {
    if (!StartTimes) return;
    const auto elapsed = std::chrono::steady_clock::now() - StartClicked;
    *StartTimes << "start +" << std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count()
                << " ms: " << step << std::endl;
}

void MainFormGameWindow::ScanLibrary(const std::vector<std::string>& songFolders, LaneMap lanes,
                                     const CompleteEvent& onComplete, const ProgressEvent& onProgress) {
    StartClicked = std::chrono::steady_clock::now();
    Form.SongFolders = songFolders;
    Form.Library.Lanes = lanes;
    WriteStartTime("scan");
    Form.ScanLibrary(
        [this, onComplete](TMainForm&) {
            WriteStartTime("scan done");
            if (onComplete) onComplete(*this);
        },
        [this, onProgress](TMainForm&, std::int32_t percentDone, const std::string& msg) {
            if (onProgress) onProgress(*this, percentDone, msg);
        });
}

std::vector<std::int32_t> MainFormGameWindow::SongCounts() const {
    std::vector<std::int32_t> counts;
    for (const TScanRoot& root : Form.Library.Roots)
        counts.push_back(root.Readable ? root.SongCount : -1);
    return counts;
}

std::optional<std::vector<std::uint8_t>> MainFormGameWindow::ReadDataEntry(const std::string& name) {
    if (!Form.Packages.DataPackage.IsOpen()) return std::nullopt;
    std::unique_ptr<TMemoryStream> entry = Form.Packages.DataPackage.ReadEntry(name);
    if (!entry) return std::nullopt;
    return std::move(entry->Data());
}

void MainFormGameWindow::ShowModal(const ProgressEvent& onStart) {
    Form.OnStartProgress = [this, onStart](std::int32_t percentDone, const std::string& step) {
        WriteStartTime(percentDone < 100 ? step : "first frame");
        if (onStart) onStart(*this, percentDone, step);
    };
    Form.FormShow();
    Form.Run();
    Form.OnStartProgress = nullptr;
}

} // namespace tamtara
