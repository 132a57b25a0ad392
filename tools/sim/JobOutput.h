#pragma once

#include "SimJob.h"

#include <string>

namespace qv::sim {

// The knife paths as SVG text in millimetres (pulses divided by the machine's pulses per millimetre), X to the
// right and Y downwards as the machine's axes run: full cuts red, half cuts blue, moves with the knife up as
// thin grey dashes.
std::string KnifeSvg(const JobReport& job, double xPulsesPerMm, double yPulsesPerMm);

// What was received and made of it, as JSON: the job's numbers, the segment table, the bands, the knife
// record counts, the printed image's size and ink, and the errors found.
std::string JobSummaryJson(const JobReport& job);

// Writes DIR/job-NNNN/ with summary.json, print.png (when the job had raster bands) and cut.svg (when it had
// knife data). False when a file cannot be written.
bool WriteJobOutput(const std::string& dir, const JobReport& job, double xPulsesPerMm, double yPulsesPerMm);

} // namespace qv::sim
