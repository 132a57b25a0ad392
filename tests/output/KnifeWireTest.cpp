// The knife records as the virtual machine reads them: encoded here, decoded by the machine's own decoder,
// which is written from the wire format and shares no code with the encoder.
#include "KnifeDecoder.h"

#include "app/CSettings.h"
#include "app/MachineParams.h"
#include "app/Notifier.h"
#include "geometry/PageSamples.h"
#include "output/KnifeData.h"
#include "output/KnifeList.h"
#include "output/PrepareJob.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

namespace qv {
namespace {

struct KnifePath {
    char code; // 'H' or 'F'
    std::vector<std::pair<int32_t, int32_t>> points;
    bool operator==(const KnifePath&) const = default;
};

std::string Describe(const std::vector<KnifePath>& paths)
{
    std::ostringstream s;
    for (const KnifePath& p : paths) {
        s << p.code << ":";
        for (const auto& [x, y] : p.points)
            s << " (" << x << "," << y << ")";
        s << "\n";
    }
    return s.str();
}

// The machine's view: a path starts at every move and runs over the cut records that follow it.
std::vector<KnifePath> PathsOf(const std::vector<sim::KnifeRecord>& records)
{
    std::vector<KnifePath> paths;
    for (const sim::KnifeRecord& r : records) {
        if (r.code == 'M' || paths.empty())
            paths.push_back({'M', {}});
        else
            paths.back().code = r.code;
        paths.back().points.emplace_back(r.x, r.y);
    }
    return paths;
}

// The prepared page's cut curves in pulses, half cuts first: position = knife base + trunc(v x pulses per mm /
// 40), each base from that knife's offsets in tenths of a mm and, in Y, the heads' whole acceleration rows.
std::vector<KnifePath> ExpectedPaths(const COnePage& page, const MachineParams& params, const CSettings& settings)
{
    const AdvancedParams& a = params.advanced;
    const MachineSettings& m = params.settings;
    const double px = a.xPulsesPerMm;
    const double py = a.yPulsesPerMm;
    const double run = a.inkjetIntervalPulses * std::trunc(a.inkjetAccelDistance * py / a.inkjetIntervalPulses);
    const bool oneKnife = m.sameKnife != 0;
    struct Knife {
        int32_t kind;
        char code;
        int32_t baseX;
        int32_t baseY;
    };
    const Knife knives[] = {
        {CurveKind::HalfCut, 'H',
         static_cast<int32_t>(std::trunc(
             ((oneKnife ? m.fullCutOffsetX + settings.FCXXXX : m.halfCutOffsetX + settings.HCXXXX)) * 0.1 * px)),
         static_cast<int32_t>(std::trunc(
             run + (oneKnife ? m.fullCutOffsetY + settings.FCYYYY : m.halfCutOffsetY + settings.HCYYYY) * 0.1 * py))},
        {CurveKind::FullCut, 'F', static_cast<int32_t>(std::trunc((m.fullCutOffsetX + settings.FCXXXX) * 0.1 * px)),
         static_cast<int32_t>(std::trunc(run + (m.fullCutOffsetY + settings.FCYYYY) * 0.1 * py))},
    };
    std::vector<KnifePath> paths;
    for (const Knife& k : knives) {
        for (const auto& c : page.curves) {
            if (c->kind != k.kind)
                continue;
            KnifePath path{c->points.size() > 1 ? k.code : 'M', {}};
            for (const CPoint& p : c->points)
                path.points.emplace_back(k.baseX + static_cast<int32_t>(std::trunc(p.x * px / 40)),
                                         k.baseY + static_cast<int32_t>(std::trunc(p.y * py / 40)));
            paths.push_back(path);
        }
    }
    return paths;
}

std::vector<sim::KnifeRecord> EncodeAndDecode(const KnifeList& list)
{
    std::vector<uint8_t> wire(list.records.size() * KnifeList::kWireRecordSize);
    EncodeKnifeData(list, wire);
    const sim::KnifeData decoded = sim::DecodeKnifeRecords(wire);
    EXPECT_TRUE(decoded.errors.empty()) << decoded.errors.front();
    return decoded.records;
}

TEST(KnifeWire, MachineCutsThePreparedCurves)
{
    test::RandomPages random(4242);
    std::size_t halfCuts = 0;
    std::size_t fullCuts = 0;
    for (int round = 0; round < 12; ++round) {
        // Far apart lattice points, so no spline rebuild or compensation merges what the test compares.
        COnePage page = random.Page(30, 10, 1500, 24, 40);
        MachineParams params;
        CSettings settings;
        settings.CutEffectOptmize = 1;
        params.settings.sameKnife = round % 2;
        params.settings.oneMetreX = 10020;
        params.settings.perpendicularity = 95;
        COnePage jobPage;
        KnifeList list;
        PrepareJobPage(jobPage, list, page, params, settings);
        RecordingNotifier notifier;
        ASSERT_EQ(BuildKnifeData(list, jobPage, params, settings, notifier), 0);

        const std::vector<KnifePath> expected = ExpectedPaths(jobPage, params, settings);
        const std::vector<KnifePath> actual = PathsOf(EncodeAndDecode(list));
        EXPECT_EQ(actual, expected) << "round " << round << "\nmachine:\n"
                                    << Describe(actual) << "prepared:\n"
                                    << Describe(expected);
        for (const KnifePath& p : expected)
            (p.code == 'H' ? halfCuts : fullCuts) += 1;
    }
    EXPECT_GT(halfCuts, 50u);
    EXPECT_GT(fullCuts, 50u);
}

TEST(KnifeWire, MachineReadsEveryRecordAsSent)
{
    test::RandomPages random(99);
    for (const int optimise : {0, 1}) {
        COnePage page = random.Page(60, 30, 20, 30, 8);
        MachineParams params;
        CSettings settings;
        settings.CutEffectOptmize = optimise;
        COnePage jobPage;
        KnifeList list;
        PrepareJobPage(jobPage, list, page, params, settings);
        RecordingNotifier notifier;
        ASSERT_EQ(BuildKnifeData(list, jobPage, params, settings, notifier), 0);
        ASSERT_FALSE(list.records.empty());

        const std::vector<sim::KnifeRecord> decoded = EncodeAndDecode(list);
        ASSERT_EQ(decoded.size(), list.records.size());
        for (std::size_t i = 0; i < decoded.size(); ++i) {
            const KnifeRecord& r = list.records[i];
            const sim::KnifeRecord sent{r.x, r.y, static_cast<uint8_t>(std::min(r.speed, 255)),
                                        static_cast<uint8_t>(std::min(r.lookAhead, 255)), r.code};
            ASSERT_EQ(decoded[i], sent) << "record " << i << " of " << decoded.size() << ", CutEffectOptmize "
                                        << optimise;
        }
    }
}

} // namespace
} // namespace qv
