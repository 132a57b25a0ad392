#pragma once

#include "LabelFontFixture.h"
#include "app/CSetDisp.h"
#include "app/CSettings.h"
#include "app/MachineParams.h"
#include "app/Notifier.h"
#include "hpgl/CHpglFile.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qv::test {

// The instruction list in a compact form written by hand in the tests:
//   "S x,y" stroke start, "P x,y,..." points, "G" new page, "T" / "T v" line type, "SP v" pen; joined by "; ".
inline std::string Dump(const HpglInstructionList& list)
{
    std::string text;
    for (const HpglInstruction in : list) {
        if (!text.empty())
            text += "; ";
        switch (in.op) {
        case HpglInstruction::OP_STROKE_START:
            text += "S";
            break;
        case HpglInstruction::OP_POINTS:
            text += "P";
            break;
        case HpglInstruction::OP_NEW_PAGE:
            text += "G";
            break;
        case HpglInstruction::OP_LINE_TYPE:
            text += "T";
            break;
        case HpglInstruction::OP_SELECT_PEN:
            text += "SP";
            break;
        default:
            text += "op" + std::to_string(in.op);
            break;
        }
        for (std::size_t i = 0; i < in.values.size(); ++i)
            text += (i == 0 ? " " : ",") + std::to_string(in.values[i]);
    }
    return text;
}

// Pages as "page N: kK sL (x,y)(x,y) | kK sL ..." with the curves' kinds and line styles, one line per page.
inline std::string Dump(const std::vector<std::unique_ptr<COnePage>>& pages)
{
    std::string text;
    for (const auto& page : pages) {
        text += "page " + std::to_string(page->pageNumber) + ":";
        for (std::size_t c = 0; c < page->curves.size(); ++c) {
            const CCurve& curve = *page->curves[c];
            text +=
                (c == 0 ? " k" : " | k") + std::to_string(curve.kind) + " s" + std::to_string(curve.lineStyle) + " ";
            for (const CPoint& p : curve.points)
                text += "(" + std::to_string(p.x) + "," + std::to_string(p.y) + ")";
        }
        text += "\n";
    }
    return text;
}

// One row of a table of HP-GL inputs and what they give.
struct HpglCase {
    const char* name;
    std::string_view plt;
    const char* expected;
};

// A reader with default settings in a fresh directory that holds the two small test fonts.
class HpglReaderFixture : public ::testing::Test {
protected:
    HpglReaderFixture()
    {
        WriteFile(dir.File("fon_hz.bin"), HzFontBytes());
        WriteFile(dir.File("fon_en.bin"), EnFontBytes());
        CSetDisp disp;
        MachineSettings machine;
        settings.Load(dir.Path(), disp, machine);
    }

    // Writes `plt` to a file and loads it with a fresh reader.
    int32_t Load(std::string_view plt, std::size_t pieceSize = CHpglFile::kPieceSize)
    {
        const std::string path = dir.File("in.plt");
        WriteFile(path, plt);
        reader = CHpglFile();
        reader.path = path;
        return reader.Load(settings, notifier, pieceSize);
    }

    // Loads `plt` (which must read) and returns the instructions.
    std::string Instructions(std::string_view plt)
    {
        EXPECT_EQ(Load(plt), HpglLoadResult::Ok) << plt;
        return Dump(reader.instructions);
    }

    // Loads `plt` (which must read) and returns the pages built.
    std::string Pages(std::string_view plt)
    {
        EXPECT_EQ(Load(plt), HpglLoadResult::Ok) << plt;
        pages.clear();
        reader.BuildPages(pages, settings);
        return Dump(pages);
    }

    TempDir dir;
    CSettings settings;
    RecordingNotifier notifier;
    CHpglFile reader;
    std::vector<std::unique_ptr<COnePage>> pages;
};

} // namespace qv::test
