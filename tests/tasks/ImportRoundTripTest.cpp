#include "tasks/CQuorvaneDoc.h"

#include "app/CSetDisp.h"
#include "app/CSettings.h"
#include "app/MachineParams.h"
#include "app/Notifier.h"
#include "gen/MarkerGenerator.h"
#include "hpgl/CHpglFile.h"
#include "support/TempDir.h"
#include "support/WriteFile.h"

#include <gtest/gtest.h>
#include <set>

namespace qv {
namespace {

using test::TempDir;
using test::WriteFile;

// Everything a page keeps in a task file, curve by curve.
std::string Describe(const CQuorvaneDoc& doc)
{
    std::string text;
    for (const auto& page : doc.pages) {
        text +=
            page->fileName + " " + std::to_string(page->pageNumber) + " state " + std::to_string(page->state) + "\n";
        for (const auto& curve : page->curves) {
            text += " k" + std::to_string(curve->kind) + " s" + std::to_string(curve->lineStyle);
            for (const CPoint& p : curve->points)
                text += " " + std::to_string(p.x) + "," + std::to_string(p.y);
            text += "\n";
        }
    }
    return text;
}

TEST(ImportRoundTrip, GeneratedDrawingsSurviveSaveAndOpen)
{
    TempDir dir; // the reader writes the program's own stroke fonts here
    CSettings settings;
    CSetDisp disp;
    MachineSettings machine;
    settings.Load(dir.Path(), disp, machine);
    RecordingNotifier notifier;

    struct Drawing {
        const char* name;
        gen::MarkerOptions options;
        int32_t autoStart;
        std::size_t pages;
    };
    gen::MarkerOptions paged;
    paged.pieces = 30;
    paged.pointsPerPiece = 60;
    paged.pageBreaks = 2;
    gen::MarkerOptions onePointCommands = paged;
    onePointCommands.seed = 7;
    onePointCommands.pageBreaks = 0;
    onePointCommands.pointsPerCommand = 1;
    onePointCommands.halfCutPen = 4;
    const Drawing drawings[] = {
        {"前片 paged.plt", paged, 0, 3},
        {"single.plt", onePointCommands, 1, 1},
    };

    CQuorvaneDoc doc;
    for (const Drawing& d : drawings) {
        const std::string plt = gen::GenerateMarkerPlt(d.options);
        EXPECT_EQ(plt, gen::GenerateMarkerPlt(d.options)) << "the generator is deterministic";
        const std::string path = dir.File(d.name);
        WriteFile(path, plt);
        settings.AutoStartWork = d.autoStart;
        settings.HCPenNumber = d.options.halfCutPen;
        CHpglFile reader;
        reader.path = path;
        ASSERT_EQ(reader.Load(settings, notifier), HpglLoadResult::Ok) << d.name;
        const std::size_t before = doc.pages.size();
        reader.BuildPages(doc.pages, settings);
        EXPECT_EQ(doc.pages.size() - before, d.pages) << d.name;
    }
    EXPECT_TRUE(notifier.Texts().empty());

    std::set<int32_t> kinds;
    std::size_t curves = 0;
    for (const auto& page : doc.pages) {
        curves += page->curves.size();
        for (const auto& curve : page->curves)
            kinds.insert(curve->kind);
    }
    EXPECT_EQ(kinds, (std::set<int32_t>{CurveKind::Plot, CurveKind::HalfCut, CurveKind::FullCut}));
    // Per piece: outline, grain line, arrow, dart, fold line, and the strokes of two labels.
    EXPECT_GT(curves, std::size_t{60} * 20);

    const std::string saved = Describe(doc);
    const std::string path = dir.File("list.ctask");
    ASSERT_EQ(doc.Save(path), TaskFileResult::Ok);
    CQuorvaneDoc reopened;
    ASSERT_EQ(reopened.Open(path), TaskFileResult::Ok);
    EXPECT_EQ(Describe(reopened), saved);
    EXPECT_EQ(reopened.pages.back()->state, PageState::Auto);
}

TEST(ImportRoundTrip, AsciiAndChineseLabelsBecomeStrokes)
{
    TempDir dir;
    CSettings settings;
    CSetDisp disp;
    MachineSettings machine;
    settings.Load(dir.Path(), disp, machine);
    RecordingNotifier notifier;
    for (const std::string_view label : {"AB", "\xC7\xB0\xC6\xAC" /* 前片 */}) {
        const std::string plt = "IN;SP3;PU4000,4000;LB" + std::string(label) + "\x03";
        const std::string path = dir.File("label.plt");
        WriteFile(path, plt);
        CHpglFile reader;
        reader.path = path;
        ASSERT_EQ(reader.Load(settings, notifier), HpglLoadResult::Ok);
        std::vector<std::unique_ptr<COnePage>> pages;
        reader.BuildPages(pages, settings);
        ASSERT_EQ(pages.size(), 1u) << label;
        EXPECT_GE(pages[0]->curves.size(), 2u) << label;
        for (const auto& curve : pages[0]->curves) {
            EXPECT_EQ(curve->kind, CurveKind::FullCut) << "labels take the pen in force";
            curve->ComputeBounds();
            // Two characters of 0.375 cm above the pen, each about as wide as it is high.
            EXPECT_GE(curve->minX, 4000 - 10) << label;
            EXPECT_LE(curve->maxX, 4000 + 2 * 160) << label;
            EXPECT_GE(curve->minY, 4000 - 40) << label;
            EXPECT_LE(curve->maxY, 4000 + 150 + 10) << label;
        }
    }
    EXPECT_TRUE(notifier.Texts().empty());
}

TEST(MarkerGenerator, HitsTheTargetSizeWithItsPageBreaks)
{
    for (const std::size_t target : {std::size_t{100}, std::size_t{50'000}, std::size_t{123'457}}) {
        gen::MarkerOptions options;
        options.targetBytes = target;
        options.pageBreaks = 3;
        const std::string plt = gen::GenerateMarkerPlt(options);
        EXPECT_EQ(plt.size(), target);
        std::size_t breaks = 0;
        for (std::size_t at = plt.find("PG;"); at != std::string::npos; at = plt.find("PG;", at + 1))
            ++breaks;
        EXPECT_EQ(breaks, 3u) << target;
    }
}

} // namespace
} // namespace qv
