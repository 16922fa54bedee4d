// Reading and clamping of the synth's period.
#include "settings/SynthSettings.h"

#include "settings/ProfileFile.h"

#include <algorithm>

namespace tamtara {

std::int32_t UsableSynthPeriod(std::int32_t frames) {
    const std::int32_t clamped = std::clamp(frames, MinSynthPeriod, MaxSynthPeriod);
    return (clamped + MinSynthPeriod - 1) / MinSynthPeriod * MinSynthPeriod;
}

std::int32_t ReadSynthPeriod(const TProfileFile& ini, std::int32_t fallback) {
    return UsableSynthPeriod(ini.ReadInteger("Synth", "Period", fallback));
}

} // namespace tamtara
