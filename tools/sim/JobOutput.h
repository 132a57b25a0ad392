#pragma once

#include "SimJob.h"

#include <string>
#include <string_view>

namespace qv::sim {

// A JSON string literal: quotes, backslashes and control characters escaped, UTF-8 kept.
std::string JsonString(std::string_view text);
// A length with three decimals, as the JSON and SVG outputs write millimetres.
std::string Mm(double v);

// The knife paths as SVG text in millimetres (pulses divided by the machine's pulses per millimetre), X to the
// right and Y upwards as the drawing was made, so labels read as in the drawing: full cuts red, half cuts blue,
// moves with the knife up as thin grey dashes.
std::string KnifeSvg(const JobReport& job, const MachineParams& machine);

// The printed image as the operator looks at the drawing: Y upwards, and rows stretched to the pixels' own
// width (a raster row is as tall as the inkjet interval, a pixel 1/300 inch wide), so a square prints square.
PrintedImage UprightPreview(const PrintedImage& image, const MachineParams& machine);

// What was received and made of it, as JSON: the job's numbers, the segment table, the bands, the knife
// record counts, the printed image's size and ink, and the errors found.
std::string JobSummaryJson(const JobReport& job);

// Writes summary.json, print.png (when the job had raster bands) and cut.svg (when it had knife data) into
// the folder `folder`. False when a file cannot be written.
bool WriteJobFiles(const std::string& folder, const JobReport& job, const MachineParams& machine);

// The same into DIR/job-NNNN/, created as needed.
bool WriteJobOutput(const std::string& dir, const JobReport& job, const MachineParams& machine);

} // namespace qv::sim
