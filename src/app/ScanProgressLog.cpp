// Thinning the scan's progress: a report comes after every song, far more than a log needs.
#include "app/ScanProgressLog.h"

namespace tamtara {

void TScanProgressLog::Report(std::int32_t percentDone, const std::string& msg) {
    if (msg == LastMsg && percentDone < LastPercent + 5) return;
    LastMsg = msg;
    LastPercent = percentDone;
    Out << "tamtara: " << msg << " " << percentDone << "%" << std::endl;
}

} // namespace tamtara
