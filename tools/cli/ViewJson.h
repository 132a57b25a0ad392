#pragma once

#include "app/CSetDisp.h"
#include "model/COnePage.h"
#include "view/DisplayList.h"

#include <cstddef>
#include <string>

namespace qv::cli {

// The drawing view as JSON: the task file and page (from 1), the display state with its grid step, the
// selected curves (from 1), and every primitive of the display list in drawing order, one per line, with its
// pixel coordinates, pen and colour; curves are numbered from 1 as in the page.
std::string ViewJson(const std::string& file, std::size_t pageNumber, const COnePage* page, const CSetDisp& disp,
                     const DisplayList& list);

} // namespace qv::cli
