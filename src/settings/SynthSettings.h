// [Synth] of the ini: the built-in synth's audio period. Not on the launcher's pages; a weak
// machine that crackles raises it by hand (Period=256).
#pragma once

#include <cstdint>

namespace tamtara {

class TProfileFile;

inline constexpr std::int32_t DefaultSynthPeriod = 128;
inline constexpr std::int32_t MinSynthPeriod = 64;
inline constexpr std::int32_t MaxSynthPeriod = 2048;

// Frames per period brought into 64..2048 and up to a whole number of 64-frame blocks (the synth
// starts its voices on them).
std::int32_t UsableSynthPeriod(std::int32_t frames);
// [Synth] Period, usable; `fallback` (the desktop's default) when missing or unreadable.
std::int32_t ReadSynthPeriod(const TProfileFile& ini, std::int32_t fallback = DefaultSynthPeriod);

} // namespace tamtara
