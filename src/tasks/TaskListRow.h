#pragma once

#include "model/COnePage.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace qv {

// The five cells of one row of the task list: number, state, size in millimetres, file time, source.
struct TaskListRow {
    std::string number; // "%03d", from 1
    std::string state;  // empty for a state outside 0..3
    std::string size;   // "%d*%d", width and height in whole millimetres
    std::string time;   // local time "%04d-%02d-%02d %02d:%02d:%02d"
    std::string name;   // "file---第%03d页"
};

// The texts of the state cell; empty for a code outside the four states.
std::string PageStateText(int32_t state, int32_t language);

// The row of the page at `index` (0 = front) in the language given.
TaskListRow MakeTaskListRow(const COnePage& page, std::size_t index, int32_t language);

} // namespace qv
