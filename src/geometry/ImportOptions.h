#pragma once

#include <cstdint>

namespace qv {

// The options the import clean-up and the paging read, spelled as their keys in "setting.ini" (flags: 0 off,
// anything else on). The defaults are those of a fresh settings file.
struct ImportOptions {
    int32_t AutoMoveToLeft = 1;
    int32_t AutoMoveToBottom = 1;
    int32_t FindOutline = 0;
    int32_t PLTFilePageLen = 0; // mm; below 500 no paging
    int32_t AutoStartWork = 0;  // pieces made by paging start as Auto instead of Manual
};

} // namespace qv
