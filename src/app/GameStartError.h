// The game window cannot start: a package file or entry it needs is missing, or no font is
// usable.
#pragma once

#include <stdexcept>

namespace tamtara {

class EGameStartError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace tamtara
