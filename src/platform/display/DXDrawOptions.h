// The display's option set and the derivation of the options actually used from those asked for.
#pragma once

#include "platform/display/DisplayTypes.h"

namespace tamtara {

// In bit order (bit 0 first).
enum class TDXDrawOption : std::uint8_t {
    doFullScreen,
    doNoWindowChange,
    doAllowReboot,
    doWaitVBlank,
    doAllowPalette256,
    doSystemMemory,
    doStretch,
    doCenter,
    doFlip,
    do3D,
    doRetainedMode,
    doHardware,
    doSelectDriver,
    doZBuffer,
};
using TDXDrawOptions = TSet<TDXDrawOption>;

// The options a closed display uses for the requested set: a window never page-flips, the 3D
// options need do3D, system memory rules out flipping, and doHardware is never kept.
TDXDrawOptions DeriveEffectiveOptions(TDXDrawOptions requested);

// The options an open display may change without being re-opened.
constexpr TDXDrawOptions LiveOptions{TDXDrawOption::doWaitVBlank, TDXDrawOption::doStretch,
                                     TDXDrawOption::doCenter};

// The game window's option set as its form resource gives it.
constexpr TDXDrawOptions GameDisplayOptions{
    TDXDrawOption::doFullScreen,      TDXDrawOption::doAllowReboot, TDXDrawOption::doWaitVBlank,
    TDXDrawOption::doAllowPalette256, TDXDrawOption::doCenter,      TDXDrawOption::doFlip,
    TDXDrawOption::doRetainedMode,    TDXDrawOption::doHardware,    TDXDrawOption::doSelectDriver};

} // namespace tamtara
