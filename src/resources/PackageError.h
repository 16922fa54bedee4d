// The error raised by the package reader and writer for malformed or unwritable packages.
#pragma once

#include <stdexcept>

namespace tamtara {

class EPackageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace tamtara
