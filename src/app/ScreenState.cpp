// Names of the screens, for the --trace screen lines and for test failure messages.
#include "app/ScreenState.h"

#include <array>

namespace tamtara {

std::string_view ScreenStateName(ScreenState state) {
    static constexpr std::array<std::string_view, 11> names = {
        "ssPlay",   "ssTitle",  "ssFailed", "ssPartSelect", "ssDiscSelect",
        "ssModeSelect", "ssCleared", "ssResult", "ssOpening", "ssFolderSelect", "ssCalibration"};
    return state < names.size() ? names[state] : std::string_view("ss?");
}

} // namespace tamtara
