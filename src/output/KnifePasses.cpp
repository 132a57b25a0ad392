#include "output/KnifePasses.h"

#include "geometry/PointMath.h"
#include "model/Rounding.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace qv {
namespace {

double Degrees(double radians)
{
    return radians * 180 / kPi;
}

// dx, dy and major of `record` as reached from `previous`.
void SetDelta(KnifeRecord& record, const KnifeRecord& previous)
{
    const int64_t dx = int64_t{record.x} - previous.x;
    const int64_t dy = int64_t{record.y} - previous.y;
    record.dx = SaturateToInt32(dx);
    record.dy = SaturateToInt32(dy);
    record.major = static_cast<uint32_t>(std::max(std::abs(int64_t{record.dx}), std::abs(int64_t{record.dy})));
}

bool IsCut(const KnifeRecord& r)
{
    return r.code != 'M';
}

// Whether records [first, last] all cut with the same knife ("F" or "H" throughout).
bool SameCut(std::span<const KnifeRecord> records, std::size_t first, std::size_t last)
{
    const char code = records[first].code;
    if (code == 'M')
        return false;
    for (std::size_t i = first + 1; i <= last; ++i) {
        if (records[i].code != code)
            return false;
    }
    return true;
}

void ClassifyOptimised(std::span<KnifeRecord> records, int32_t fitDist)
{
    const int64_t tight = TruncToInt32(fitDist * 0.8);
    const int64_t curve = TruncToInt32(fitDist * 1.2);
    for (KnifeRecord& r : records) {
        const int64_t length = r.length;
        r.segmentClass = !IsCut(r) ? 0 : length < tight ? 2 : length < curve ? 1 : 0;
    }
    // A segment between two sharp turns is a corner piece: either one the knife must take slowly (60 to 200
    // units) or a stub too short to matter (below 10).
    for (std::size_t i = 0; i + 1 < records.size(); ++i) {
        KnifeRecord& r = records[i];
        if (SameCut(records, i, i + 1) && Degrees(std::abs(r.turn)) > 14 &&
            Degrees(std::abs(records[i + 1].turn)) > 14) {
            if ((r.length > 60 && r.length < 200) || r.length < 10)
                r.segmentClass = 3;
        }
    }
}

void ClassifyPlain(std::span<KnifeRecord> records)
{
    for (KnifeRecord& r : records) {
        const double bend = std::abs(r.turn) * 1000 / r.length;
        if (!IsCut(r))
            r.segmentClass = 0;
        else if (bend > 2.0 || r.length < 15)
            r.segmentClass = 2;
        else if (bend > 0.35 && r.length < 600)
            r.segmentClass = 1;
        else
            r.segmentClass = 0;
    }
    // Short normal stretches between slowed segments are slowed too, so the knife does not speed up for a
    // moment. Each rule sees the classes the rules and rows before it have set.
    const std::size_t n = records.size();
    auto isNormal = [&](std::size_t i) { return records[i].segmentClass == 0; };
    for (std::size_t i = 2; i < n; ++i) {
        if (isNormal(i - 1) && SameCut(records, i - 2, i) && !isNormal(i - 2) && !isNormal(i) &&
            records[i - 1].length < 30)
            records[i - 1].segmentClass = 1;
    }
    for (std::size_t i = 2; i + 1 < n; ++i) {
        if (isNormal(i - 1) && SameCut(records, i - 2, i + 1) && !isNormal(i - 2) && !isNormal(i + 1) &&
            int64_t{records[i - 1].length} + records[i].length < 60) {
            records[i - 1].segmentClass = 1;
            records[i].segmentClass = 1;
        }
    }
    for (std::size_t i = 2; i + 2 < n; ++i) {
        if (isNormal(i - 1) && SameCut(records, i - 2, i + 2) && !isNormal(i - 2) && !isNormal(i + 2) &&
            int64_t{records[i - 1].length} + records[i].length + records[i + 2].length < 90) {
            records[i - 1].segmentClass = 1;
            records[i].segmentClass = 1;
            records[i + 1].segmentClass = 1;
        }
    }
}

int32_t SpeedOf(int32_t segmentClass, bool optimised, int32_t curveSpeed)
{
    switch (segmentClass) {
    case 3:
        return optimised ? 0 : 160;
    case 2:
        return optimised ? curveSpeed + 2 : 5;
    case 1:
        return optimised ? 2 * curveSpeed + 60 : curveSpeed;
    default:
        return 160;
    }
}

} // namespace

void MeasureKnifeSegments(std::span<KnifeRecord> records, double xPulsesPerMm, double yPulsesPerMm)
{
    for (std::size_t i = 0; i < records.size(); ++i) {
        KnifeRecord& r = records[i];
        if (i == 0) {
            r.dx = 0;
            r.dy = 0;
            r.major = 0;
            r.heading = 0;
            r.turn = 0;
        } else {
            SetDelta(r, records[i - 1]);
            r.heading = std::atan2(static_cast<double>(r.dy), static_cast<double>(r.dx));
            r.turn = NormalizeTurn(r.heading - records[i - 1].heading);
        }
        const int32_t length = TruncToInt32(static_cast<double>(r.major) * 2 * 40 / (xPulsesPerMm + yPulsesPerMm));
        r.length = static_cast<uint32_t>(std::max(1, length));
    }
}

void ThinKnifeRecords(std::vector<KnifeRecord>& records)
{
    // Compaction in one sweep: records[0, kept) are final, records[next] is the one that may be dropped. A
    // dropped record's successor is kept at once, so it is never itself a candidate of this pass. The window
    // never reaches the last record.
    const std::size_t n = records.size();
    if (n <= 5)
        return;
    std::size_t kept = 3;
    std::size_t next = 3;
    while (next + 2 < n) {
        KnifeRecord& candidate = records[next];
        KnifeRecord& after = records[next + 1];
        const KnifeRecord& before = records[kept - 1];
        const bool sameCode = before.code == candidate.code && after.code == candidate.code &&
                              records[kept - 2].code == candidate.code && IsCut(candidate);
        if (sameCode && before.major < 50 && candidate.major < 50 && after.major < 50) {
            SetDelta(after, before);
            records[kept] = after;
            next += 2;
        } else {
            records[kept] = candidate;
            next += 1;
        }
        ++kept;
    }
    if (next == kept)
        return;
    std::move(records.begin() + static_cast<std::ptrdiff_t>(next), records.end(),
              records.begin() + static_cast<std::ptrdiff_t>(kept));
    records.resize(kept + (n - next));
}

void ClassifyKnifeSegments(std::span<KnifeRecord> records, bool optimised, int32_t fitDist)
{
    if (optimised)
        ClassifyOptimised(records, fitDist);
    else
        ClassifyPlain(records);
}

void SetKnifeSpeedsAndSteps(std::span<KnifeRecord> records, bool optimised, int32_t curveSpeed,
                            int32_t cutSegmentLength)
{
    const uint32_t divisor = static_cast<uint32_t>(std::max(cutSegmentLength, 1));
    for (KnifeRecord& r : records) {
        r.speed = IsCut(r) ? SpeedOf(r.segmentClass, optimised, curveSpeed) : 0;
        const uint32_t steps = r.major / divisor;
        r.steps = steps <= 2 ? 1 : SaturateToInt32(steps);
    }
}

void ComputeKnifeLookAhead(std::span<KnifeRecord> records, bool optimised, int32_t curveSpeed)
{
    if (records.empty())
        return;
    const double stopTurn = optimised ? 25 : 15;
    const int64_t bendCap = optimised ? 8 : 5;
    records.back().lookAhead = 0;
    for (std::size_t i = records.size() - 1; i-- > 0;) {
        KnifeRecord& r = records[i];
        const KnifeRecord& s = records[i + 1];
        const double turn = Degrees(std::abs(s.turn));
        int64_t lookAhead = 0;
        const bool reverses = int64_t{s.dx} * r.dx < 0 || int64_t{s.dy} * r.dy < 0;
        if (turn < stopTurn && !reverses && SameCut(records, i, i + 1)) {
            lookAhead = int64_t{s.steps} + s.lookAhead;
            if (turn > 5 && lookAhead > bendCap)
                lookAhead = bendCap;
        }
        int64_t ownCap = r.speed;
        if (optimised && (r.dx == 0 || r.dy == 0))
            ownCap = std::min<int64_t>(ownCap, int64_t{curveSpeed} + 20);
        lookAhead = std::min({lookAhead, ownCap, int64_t{s.speed}});
        r.lookAhead = static_cast<int32_t>(lookAhead);
    }
}

} // namespace qv
