#pragma once

#include "support/TempDir.h"

#include "app/AtomicFile.h"
#include "app/CSettings.h"
#include "app/Notifier.h"
#include "hpgl/CHpglFile.h"
#include "tasks/CQuorvaneDoc.h"

#include <gtest/gtest.h>

#include <string>

namespace qv::test {

// 675 mm of drawing on every pen the import knows: a plot baseline, a plot polyline and a dashed plot line, a
// full-cut rectangle across the 500 mm page boundary, a half-cut rectangle, a plot stroke on the second page.
inline constexpr const char* kDrawing = "IN;SP1;PU0,0;PD27000,0;PU1000,1000;PD5000,3000,9000,1200,14000,3800;"
                                        "LT2;PU2000,5000;PD12000,5000;LT;"
                                        "SP3;PU16000,1000;PD24000,1000,24000,4000,16000,4000,16000,1000;"
                                        "SP2;PU3000,3200;PD6000,3200,6000,4400,3000,4400,3000,3200;"
                                        "SP1;PU21000,2000;PD26000,2600;PU;";

// Imports the drawing as the task list does (read, build pages, tidy, cut into pages of 500 mm) with the
// settings as they are; the stroke fonts go to `dir`.
inline void ImportDrawing(const TempDir& dir, CSettings& settings, Notifier& notifier, CQuorvaneDoc& doc)
{
    settings.FontHzPath = dir.File("fon_hz.bin");
    settings.FontEnPath = dir.File("fon_en.bin");
    settings.PLTFilePageLen = 500;
    const std::string plt = dir.File("drawing.plt");
    ASSERT_TRUE(WriteFileAtomically(plt, std::string(kDrawing)));
    CHpglFile reader;
    reader.path = plt;
    ASSERT_EQ(reader.Load(settings, notifier), HpglLoadResult::Ok);
    reader.BuildPages(doc.pages, settings);
    doc.CleanUpImportedPages(ImportOptionsOf(settings));
    doc.PaginatePages(ImportOptionsOf(settings));
    ASSERT_EQ(doc.pages.size(), 2u);
}

} // namespace qv::test
