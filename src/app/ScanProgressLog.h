// Progress of the library scan as lines on a stream, for the program while no launcher shows
// it: a line when the step changes, else at most one per 5 percent.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>

namespace tamtara {

class TScanProgressLog {
public:
    explicit TScanProgressLog(std::ostream& out) : Out(out) {}
    void Report(std::int32_t percentDone, const std::string& msg);

private:
    std::ostream& Out;
    std::string LastMsg;
    std::int32_t LastPercent = 0;
};

} // namespace tamtara
