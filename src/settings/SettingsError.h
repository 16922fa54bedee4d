// The error raised by the settings store, carrying the text shown to the player.
#pragma once

#include <stdexcept>

namespace tamtara {

class ESettingsError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace tamtara
