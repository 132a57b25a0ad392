#pragma once

#include "hpgl/ImportReport.h"

#include <cstdint>
#include <string>

namespace qv {

// The import report of one drawing as the operator reads it, in `language` (0 Chinese, otherwise English): the
// window shows the line in its status bar and the block in its report dialog; the command line prints them in
// English.

// One line of counts: pages, curves, size, labels, the instructions met and skipped, any glyph missing.
std::string ImportReportLine(const std::string& file, const ImportReport& report, int32_t language);
// The whole report: a head line, then indented lines of instructions met, skipped, pens and labels.
std::string ImportReportBlock(const std::string& file, const ImportReport& report, int32_t language);
// What a curve of `kind` (a CurveKind) is done with.
std::string CurveKindName(int32_t kind, int32_t language);

} // namespace qv
