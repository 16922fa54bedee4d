// Forwarding of the launcher's calls to the game window.
#include "program/MainFormGameWindow.h"

namespace tamtara {

void MainFormGameWindow::ScanLibrary(const CompleteEvent& onComplete, const ProgressEvent& onProgress) {
    Form.ScanLibrary(
        [this, onComplete](TMainForm&) {
            if (onComplete) onComplete(*this);
        },
        [this, onProgress](TMainForm&, std::int32_t percentDone, const std::string& msg) {
            if (onProgress) onProgress(*this, percentDone, msg);
        });
}

std::optional<std::vector<std::uint8_t>> MainFormGameWindow::ReadDataEntry(const std::string& name) {
    if (!Form.Packages.DataPackage.IsOpen()) return std::nullopt;
    std::unique_ptr<TMemoryStream> entry = Form.Packages.DataPackage.ReadEntry(name);
    if (!entry) return std::nullopt;
    return std::move(entry->Data());
}

void MainFormGameWindow::ShowModal() {
    Form.FormShow();
    Form.Run();
}

} // namespace tamtara
