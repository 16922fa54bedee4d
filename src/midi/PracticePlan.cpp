// Range limits, the mix's volumes and the clicks' velocities.
#include "midi/PracticePlan.h"

#include <algorithm>
#include <cmath>

namespace tamtara {

PracticePlan PracticePlan::Clamped() const {
    PracticePlan plan = *this;
    plan.TempoScale = std::clamp(std::isfinite(TempoScale) ? TempoScale : 1.0, MinTempoScale, MaxTempoScale);
    plan.CountInBars = std::clamp(CountInBars, 0, MaxCountInBars);
    if (!plan.HasLoop()) plan.LoopFromTick = plan.LoopToTick = -1;
    plan.DrumVolume = std::min<std::uint8_t>(DrumVolume, 127);
    plan.AccompanimentVolume = std::min<std::uint8_t>(AccompanimentVolume, 127);
    plan.ClickVolume = std::min<std::uint8_t>(ClickVolume, 127);
    return plan;
}

std::uint8_t MixedVolume(const PracticePlan& plan, int channel, int songValue) {
    const int mix = channel == 9 ? plan.DrumVolume : plan.AccompanimentVolume;
    return static_cast<std::uint8_t>(std::clamp(songValue * mix / 127, 0, 127));
}

std::uint8_t ClickVelocity(const PracticePlan& plan, bool downbeat) {
    if (plan.ClickVolume == 0 || plan.DrumVolume == 0) return 0;
    const int wanted = plan.ClickVolume * (downbeat ? 127 : 96);
    // Loudness goes with velocity times channel volume, so the drum mix is divided back out.
    const int velocity = (wanted * 127 / plan.DrumVolume + 50) / 100;
    return static_cast<std::uint8_t>(std::clamp(velocity, 1, 127));
}

} // namespace tamtara
