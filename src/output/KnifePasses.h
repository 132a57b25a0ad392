#pragma once

#include "output/KnifeList.h"

#include <cstdint>
#include <span>
#include <vector>

namespace qv {

// The passes between building the knife records and encoding them, each linear in the number of records.
// `optimised` selects the variant of the CutEffectOptmize option (on: the cut curves were already rebuilt
// smooth, so the knife may run faster through curves; off: short segments are thinned and slowed down).

// dx, dy, heading and turn of every record from the one before it (the first record gets zeros), then major
// and length (page units, at least 1) of every record.
void MeasureKnifeSegments(std::span<KnifeRecord> records, double xPulsesPerMm, double yPulsesPerMm);

// One thinning pass: in every run of four records of one cut code whose last three segments are shorter than
// 50 pulses the third record is dropped, and the record after it is re-measured (dx, dy, major) from its new
// predecessor. Scanning goes on behind that record, so a straight run of short segments loses every other
// interior record. The last record and the first three are never dropped.
void ThinKnifeRecords(std::vector<KnifeRecord>& records);

// segmentClass of every record: 0 normal, 1 curve, 2 tight, 3 corner. `fitDist` (page units, the
// FitDistHpgl option) sets the length thresholds of the optimised variant.
void ClassifyKnifeSegments(std::span<KnifeRecord> records, bool optimised, int32_t fitDist);

// speed by class and `curveSpeed`; steps = major / cutSegmentLength, at least 1 (a length of 0 counts as 1).
void SetKnifeSpeedsAndSteps(std::span<KnifeRecord> records, bool optimised, int32_t curveSpeed,
                            int32_t cutSegmentLength);

// lookAhead of every record, from the last backwards: the steps the knife may run on at speed before it has
// to be slowing for the next stop (a sharp turn, a reversal, a change of code), capped by both speeds.
void ComputeKnifeLookAhead(std::span<KnifeRecord> records, bool optimised, int32_t curveSpeed);

} // namespace qv
