// The seven machine-tuning drawings on the virtual machine: with every knife offset at zero the knife runs on
// the printed outline, and the half-cut square of the `_HC_FC` ones lies inside the full-cut one.
#include "output/JobRig.h"
#include "support/TempDir.h"

#include "app/AtomicFile.h"
#include "hpgl/CHpglFile.h"
#include "output/RasterGeometry.h"
#include "tasks/CQuorvaneDoc.h"
#include "workflow/TestDrawings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace qv {
namespace {

using test::JobRig;
using test::TempDir;

// A rectangle in millimetres on the machine's bed.
struct Box {
    double minX = std::numeric_limits<double>::max(), minY = minX;
    double maxX = std::numeric_limits<double>::lowest(), maxY = maxX;

    void Add(double x, double y)
    {
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    }
    bool Empty() const { return minX > maxX; }
};

// Where a printed pixel and a knife point lie on the bed. The print starts after the heads' acceleration run;
// the knife's Y carries that run, so both share one origin here.
struct Bed {
    double xPulsesPerMm;
    double yPulsesPerMm;
    double rowMm;          // one raster row
    double accelerationMm; // the run in front of the print, as the knife's base holds it

    static Bed Of(const MachineParams& p)
    {
        const double py = p.advanced.yPulsesPerMm;
        const int interval = p.advanced.inkjetIntervalPulses;
        return {p.advanced.xPulsesPerMm, py, interval / py,
                interval * std::trunc(p.advanced.inkjetAccelDistance * py / interval) / py};
    }
    double KnifeX(const sim::KnifeRecord& r) const { return r.x / xPulsesPerMm; }
    double KnifeY(const sim::KnifeRecord& r) const { return r.y / yPulsesPerMm - accelerationMm; }
    double PixelX(int column) const { return column * kPixelPitchMm; }
    double PixelY(int row) const { return row * rowMm; }
};

Box InkBox(const sim::PrintedImage& image, const Bed& bed)
{
    Box box;
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
            if (image.Get(x, y))
                box.Add(bed.PixelX(x), bed.PixelY(y));
        }
    }
    return box;
}

Box CutBox(const std::vector<sim::KnifeRecord>& knife, char code, const Bed& bed)
{
    Box box;
    for (std::size_t i = 1; i < knife.size(); ++i) {
        if (knife[i].code != code)
            continue;
        box.Add(bed.KnifeX(knife[i - 1]), bed.KnifeY(knife[i - 1]));
        box.Add(bed.KnifeX(knife[i]), bed.KnifeY(knife[i]));
    }
    return box;
}

// Points along every full cut, about every half millimetre, that have no ink within `reach` millimetres.
int CutPointsOffThePrint(const sim::JobReport& job, const Bed& bed, double reach)
{
    int off = 0;
    const int reachColumns = static_cast<int>(std::ceil(reach / kPixelPitchMm));
    const int reachRows = static_cast<int>(std::ceil(reach / bed.rowMm));
    for (std::size_t i = 1; i < job.knife.size(); ++i) {
        if (job.knife[i].code != 'F')
            continue;
        const double x0 = bed.KnifeX(job.knife[i - 1]), y0 = bed.KnifeY(job.knife[i - 1]);
        const double x1 = bed.KnifeX(job.knife[i]), y1 = bed.KnifeY(job.knife[i]);
        const int steps = std::max(1, static_cast<int>(std::hypot(x1 - x0, y1 - y0) / 0.5));
        for (int s = 0; s <= steps; ++s) {
            const double x = x0 + (x1 - x0) * s / steps, y = y0 + (y1 - y0) * s / steps;
            const int column = static_cast<int>(std::lround(x / kPixelPitchMm));
            const int row = static_cast<int>(std::lround(y / bed.rowMm));
            bool inked = false;
            for (int dy = -reachRows; dy <= reachRows && !inked; ++dy) {
                for (int dx = -reachColumns; dx <= reachColumns && !inked; ++dx)
                    inked = job.image.Get(column + dx, row + dy);
            }
            off += !inked;
        }
    }
    return off;
}

TEST(TestDrawingOutput, PrintAndCutCoincideWithZeroOffsetsAndTheHalfCutLiesInside)
{
    for (const TestDrawing& drawing : TestDrawings()) {
        const std::string name(drawing.name);
        SCOPED_TRACE(name);
        TempDir dir;
        JobRig r(true);
        r.rig.EditOptions([](AppOptions& o) {
            o.FCXXXX = o.FCYYYY = o.HCXXXX = o.HCYYYY = 0;
            // The knife's overrun at corners and ends would leave the outline on purpose.
            o.SharpAngleCompensite = o.StartEndCompensite = 0;
        });
        r.rig.EditParams([](MachineParams& p) {
            p.settings.fullCutOffsetX = p.settings.fullCutOffsetY = 0;
            p.settings.halfCutOffsetX = p.settings.halfCutOffsetY = 0;
            p.settings.sameKnife = 0;
        });
        CSettings& settings = r.rig.settings;
        settings.FontHzPath = dir.File("fon_hz.bin");
        settings.FontEnPath = dir.File("fon_en.bin");

        const std::string plt = dir.File("drawing.plt");
        ASSERT_TRUE(WriteFileAtomically(
            plt, std::span<const char>(reinterpret_cast<const char*>(drawing.bytes.data()), drawing.bytes.size())));
        CHpglFile reader;
        reader.path = plt;
        ASSERT_EQ(reader.Load(settings, r.rig.notifier), HpglLoadResult::Ok);
        CQuorvaneDoc doc;
        reader.BuildPages(doc.pages, settings);
        doc.CleanUpImportedPages(ImportOptionsOf(settings));
        doc.PaginatePages(ImportOptionsOf(settings));
        ASSERT_EQ(doc.pages.size(), 1u);

        ASSERT_EQ(r.Output(*doc.pages.front()), JobThread::Completed);
        const auto jobs = r.rig.machine.Jobs();
        ASSERT_EQ(jobs.size(), 1u);
        const sim::JobReport& job = *jobs.front();
        ASSERT_TRUE(job.Ok()) << job.errors.front();
        EXPECT_EQ(job.inkOffMaterial, 0);

        const Bed bed = Bed::Of(r.rig.params.Get());
        const Box ink = InkBox(job.image, bed);
        const Box full = CutBox(job.knife, 'F', bed);
        const Box half = CutBox(job.knife, 'H', bed);
        ASSERT_FALSE(ink.Empty());
        ASSERT_FALSE(full.Empty());
        // The printed square's outer edge is the full cut, to within one pixel and one row of the raster.
        const double sideMm = std::stoi(name.substr(name.find('/') + 1)) * 10.0;
        const double column = kPixelPitchMm, row = bed.rowMm;
        EXPECT_NEAR(full.maxX - full.minX, sideMm, 0.1);
        EXPECT_NEAR(full.maxY - full.minY, sideMm, 0.1);
        EXPECT_NEAR(ink.minX, full.minX, column + 0.05);
        EXPECT_NEAR(ink.maxX, full.maxX, column + 0.05);
        EXPECT_NEAR(ink.minY, full.minY, row + 0.05);
        EXPECT_NEAR(ink.maxY, full.maxY, row + 0.05);
        EXPECT_EQ(CutPointsOffThePrint(job, bed, std::max(column, row)), 0);

        if (name.find("_HC_FC") != std::string::npos) {
            ASSERT_FALSE(half.Empty());
            // One centimetre inside on every side.
            EXPECT_NEAR(half.minX - full.minX, 10, 0.1);
            EXPECT_NEAR(full.maxX - half.maxX, 10, 0.1);
            EXPECT_NEAR(half.minY - full.minY, 10, 0.1);
            EXPECT_NEAR(full.maxY - half.maxY, 10, 0.1);
        } else {
            EXPECT_TRUE(half.Empty());
        }
        EXPECT_TRUE(r.rig.notifier.Texts().empty());
    }
}

} // namespace
} // namespace qv
