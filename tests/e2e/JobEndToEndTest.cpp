#include "E2eDrawing.h"

#include "output/JobRig.h"
#include "output/PrintedImageCheck.h"

#include "app/AtomicFile.h"
#include "app/MachineParamsFile.h"
#include "model/Rounding.h"
#include "output/PrepareJob.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

namespace qv {
namespace {

using test::JobRig;
using test::TempDir;

// The machine each row runs on; the virtual machine reads the same records from its parameter file.
struct Machine {
    const char* name;
    void (*adjust)(MachineParams&);
};

const Machine kMachines[] = {
    {"HP45, both heads, bidirectional, one knife", [](MachineParams&) {}},
    {"IUT308, holder type 1, one direction, two knives, pen of 3",
     [](MachineParams& p) {
         p.settings.cartridgeType = Cartridge::IUT308;
         p.advanced.holderType = 1;
         p.settings.bidirPrinting = 0;
         p.settings.sameKnife = 0;
         p.settings.plotLineWidth = 3;
     }},
    {"HP45, head 2 alone, overlap 10, 80 pulses per mm",
     [](MachineParams& p) {
         p.settings.headsInUse = 2;
         p.settings.headOverlap = 10;
         p.advanced.xPulsesPerMm = 80;
         p.advanced.yPulsesPerMm = 80;
         p.advanced.inkjetIntervalPulses = 12;
     }},
};

// The knife records of a prepared page, straight from its cut curves: half cuts, then full cuts, each point in
// pulses from the knife's base (its offset, and in Y the heads' acceleration run).
std::vector<sim::KnifeRecord> ExpectedKnife(const COnePage& prepared, const MachineParams& p, const CSettings& s)
{
    const double px = p.advanced.xPulsesPerMm;
    const double py = p.advanced.yPulsesPerMm;
    const int interval = p.advanced.inkjetIntervalPulses;
    const double acceleration = interval * std::trunc(p.advanced.inkjetAccelDistance * py / interval);
    const bool oneKnife = p.settings.sameKnife == 1;
    std::vector<sim::KnifeRecord> records;
    for (const int32_t kind : {CurveKind::HalfCut, CurveKind::FullCut}) {
        const bool half = kind == CurveKind::HalfCut && !oneKnife;
        const int offsetX = half ? p.settings.halfCutOffsetX + s.HCXXXX : p.settings.fullCutOffsetX + s.FCXXXX;
        const int offsetY = half ? p.settings.halfCutOffsetY + s.HCYYYY : p.settings.fullCutOffsetY + s.FCYYYY;
        const int32_t baseX = TruncToInt32(offsetX * 0.1 * px);
        const int32_t baseY = TruncToInt32(acceleration + offsetY * 0.1 * py);
        for (const auto& curve : prepared.curves) {
            if (curve->kind != kind)
                continue;
            for (std::size_t i = 0; i < curve->points.size(); ++i) {
                const CPoint& q = curve->points[i];
                records.push_back({baseX + TruncToInt32(q.x * px / 40), baseY + TruncToInt32(q.y * py / 40), 0, 0,
                                   i == 0                       ? 'M'
                                   : kind == CurveKind::HalfCut ? 'H'
                                                                : 'F'});
            }
        }
    }
    return records;
}

std::string Describe(const std::vector<sim::KnifeRecord>& records)
{
    std::ostringstream out;
    for (const sim::KnifeRecord& r : records)
        out << r.code << ' ' << r.x << ',' << r.y << '\n';
    return out.str();
}

std::vector<sim::KnifeRecord> WithoutSpeeds(std::vector<sim::KnifeRecord> records)
{
    for (sim::KnifeRecord& r : records)
        r.speed = r.lookAhead = 0;
    return records;
}

TEST(JobEndToEnd, ImportedDrawingPrintsAndCutsWhatThePagesHold)
{
    for (const Machine& machine : kMachines) {
        for (const bool viaNet : {true, false}) {
            SCOPED_TRACE(std::string(machine.name) + (viaNet ? ", Ethernet" : ", USB"));
            TempDir dir;
            MachineParams params;
            machine.adjust(params);
            const std::string paramFile = dir.File("machine.bin");
            ASSERT_TRUE(WriteFileAtomically(
                paramFile, MachineParamsFile{params.advanced.Encode(), params.settings.Encode()}.Serialize()));
            sim::SimOptions options = test::MachineRig::Defaults();
            options.paramFile = paramFile;
            options.confirmAfterMs = 500; // the second page waits for the panel's confirm key
            JobRig r(viaNet, options);
            params.settings.machineIp = r.rig.address;
            r.rig.params.Set(params);

            CQuorvaneDoc doc;
            ASSERT_NO_FATAL_FAILURE(test::ImportDrawing(dir, r.rig.settings, r.rig.notifier, doc));
            const CSettings& settings = r.rig.settings;

            for (std::size_t i = 0; i < doc.pages.size(); ++i) {
                SCOPED_TRACE("page " + std::to_string(i + 1));
                const COnePage& page = *doc.pages[i];
                ASSERT_EQ(r.Output(page), JobThread::Completed);
                const auto jobs = r.rig.machine.Jobs();
                ASSERT_EQ(jobs.size(), i + 1);
                const sim::JobReport& job = *jobs.back();
                ASSERT_TRUE(job.Ok()) << job.errors.front();
                EXPECT_EQ(job.startCode, i == 0 ? 53 : 52);

                COnePage prepared;
                KnifeList knives;
                PrepareJobPage(prepared, knives, page, params, settings);
                const auto expected = ExpectedKnife(prepared, params, settings);
                ASSERT_FALSE(expected.empty());
                EXPECT_EQ(Describe(WithoutSpeeds(job.knife)), Describe(expected));
                EXPECT_EQ(job.headerKnifeRecords, expected.size());
                const auto print =
                    test::ComparePrinted(job.image, prepared, params, CRasterEngine::Prepare(prepared, params));
                EXPECT_GT(print.drawnInk, 0);
                EXPECT_EQ(print.pixels, 0) << print.first.front();
                EXPECT_EQ(job.inkOffMaterial, 0);
            }
            EXPECT_TRUE(r.rig.notifier.Texts().empty());
        }
    }
}

} // namespace
} // namespace qv
