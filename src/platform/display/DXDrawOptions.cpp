// Which of the requested display options a closed display actually uses.
#include "platform/display/DXDrawOptions.h"

namespace tamtara {

TDXDrawOptions DeriveEffectiveOptions(TDXDrawOptions requested) {
    using enum TDXDrawOption;
    TDXDrawOptions options = requested;
    if (!options.Contains(doFullScreen))
        options = options - TDXDrawOptions{doNoWindowChange, doAllowReboot, doAllowPalette256, doFlip};
    if (!options.Contains(do3D))
        options = options - TDXDrawOptions{doRetainedMode, doHardware, doSelectDriver, doZBuffer};
    if (options.Contains(doSystemMemory)) options.Exclude(doFlip);
    options.Exclude(doHardware);
    return options;
}

} // namespace tamtara
