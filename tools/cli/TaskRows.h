#pragma once

#include "tasks/CQuorvaneDoc.h"

#include <cstdint>

namespace qv::cli {

// One line per page with the cells of the task list: number, state, size in mm, file time, source.
void PrintTaskRows(const CQuorvaneDoc& doc, int32_t language);

} // namespace qv::cli
