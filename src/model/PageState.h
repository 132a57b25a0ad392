#pragma once

#include <cstdint>

namespace qv {

// State of a page in the task list (the code in COnePage::state). Scoped by name, plain int32 by value.
struct PageState {
    enum : int32_t {
        Manual = 0, // waits for the operator
        Auto = 1,   // output when its turn comes
        Done = 2,
        Printing = 3, // being output now; at most one page
    };
};

} // namespace qv
