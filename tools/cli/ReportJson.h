#pragma once

#include "hpgl/ImportReport.h"

#include <string>

namespace qv::cli {

// The import report of one drawing as `import --json` prints it, one object for scripts; its pen kinds are the
// English names of the text report.
std::string ReportJson(const std::string& file, const ImportReport& report);

} // namespace qv::cli
