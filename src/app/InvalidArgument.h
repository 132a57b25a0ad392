#pragma once

#include <stdexcept>

namespace qv {

// Raised by index errors of the curve and page containers and by measuring an empty curve.
// It aborts the current command; each command handler catches it and leaves the data as it was.
class InvalidArgument : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};

} // namespace qv
