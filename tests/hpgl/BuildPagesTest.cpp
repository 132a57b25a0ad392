#include "HpglReaderFixture.h"

namespace qv {
namespace {

class BuildPagesTest : public test::HpglReaderFixture {};

using Case = test::HpglCase;

TEST_F(BuildPagesTest, CurvesAndPages)
{
    const Case cases[] = {
        {"pen example: plot, half cut, and no curve for the last pen",
         "IN;SP1;PU0,0;PD400,0,400,400;PU;SP2;PU0,0;PD0,400;SP0;",
         "page 1: k1 s0 (0,0)(400,0)(400,400) | k2 s0 (0,0)(0,400)\n"},
        {"a stroke from where the last ended continues the curve", "PU100,100;PD200,100;PD300,100;",
         "page 1: k1 s0 (100,100)(200,100)(200,100)(300,100)\n"},
        {"a stroke from elsewhere begins a curve", "PU0,0;PD1,1;PU5,5;PD6,6;",
         "page 1: k1 s0 (0,0)(1,1) | k1 s0 (5,5)(6,6)\n"},
        {"a pen change splits where the pen is", "SP1;PD0,0,10,0;SP3;PD10,0,20,0;",
         "page 1: k1 s0 (0,0)(0,0)(10,0) | k3 s0 (10,0)(10,0)(20,0)\n"},
        {"a pen change back and forth before drawing makes no curve", "SP3;SP2;SP3;PD1,1;",
         "page 1: k3 s0 (0,0)(1,1)\n"},
        {"LT takes effect with the next curve begun", "LT2;PD0,0,10,0;PU20,0;PD30,0;LT;PU40,0;PD50,0;",
         "page 1: k1 s0 (0,0)(0,0)(10,0) | k1 s1 (20,0)(30,0) | k1 s0 (40,0)(50,0)\n"},
        {"a page break resets line type and pen", "SP3;LT1;PD0,0,1,1;PU9,9;PD2,2;PG;PD3,3;",
         "page 1: k3 s0 (0,0)(0,0)(1,1) | k3 s1 (9,9)(2,2)\npage 2: k1 s0 (2,2)(3,3)\n"},
        {"empty pages are not handed over and keep their number", "PG;PG;PD0,0,1,1;",
         "page 1: k1 s0 (0,0)(0,0)(1,1)\n"},
        {"a page break after drawing, then nothing", "PD0,0,1,1;PG;PG;PD2,2,3,3;PG;",
         "page 1: k1 s0 (0,0)(0,0)(1,1)\npage 2: k1 s0 (1,1)(2,2)(3,3)\n"},
        {"no drawing, no page", "IN;SP1;PU1,1;PG;", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Pages(c.plt), c.expected) << c.name;
}

TEST_F(BuildPagesTest, PenClassification)
{
    settings.HCPenNumber = 5;
    EXPECT_EQ(Pages("SP0;PD0,0;SP1;PD1,1;SP2;PD2,2;SP5;PD5,5;SP7;PD7,7;SP-1;PD8,8;"),
              "page 1: k0 s0 (0,0)(0,0) | k1 s0 (0,0)(1,1) | k3 s0 (1,1)(2,2) | k2 s0 (2,2)(5,5) | "
              "k3 s0 (5,5)(7,7) | k-1 s0 (7,7)(8,8)\n");
    settings.HCPenNumber = 1;
    EXPECT_EQ(Pages("SP1;PD0,0,1,1;"), "page 1: k2 s0 (0,0)(0,0)(1,1)\n") << "the half-cut pen may be pen 1";
}

TEST_F(BuildPagesTest, PageFieldsAndAppending)
{
    settings.AutoStartWork = 1;
    pages.push_back(std::make_unique<COnePage>());
    ASSERT_EQ(Load("PD0,0,1,1;PG;PD2,2;"), HpglLoadResult::Ok);
    reader.BuildPages(pages, settings);
    ASSERT_EQ(pages.size(), 3u) << "appended after what was there";
    for (std::size_t i = 1; i < 3; ++i) {
        EXPECT_EQ(pages[i]->pageNumber, static_cast<int32_t>(i));
        EXPECT_EQ(pages[i]->fileName, "in.plt");
        EXPECT_EQ(pages[i]->fileTime, reader.fileTime);
        EXPECT_EQ(pages[i]->state, PageState::Auto);
    }
    settings.AutoStartWork = 0;
    EXPECT_EQ((Pages("PD0,0,1,1;"), pages[0]->state), PageState::Manual);
}

TEST_F(BuildPagesTest, PltUnitScalesTheFileUnit)
{
    settings.PltUnit = 1;
    EXPECT_EQ(Pages("PU1000,0;PD-1000,500;"), "page 1: k1 s0 (1016,0)(-1016,508)\n");
    settings.PltUnit = 2;
    EXPECT_EQ(Pages("PU1000,0;PD-1000,500;"), "page 1: k1 s0 (1000,0)(-1000,500)\n") << "only 1 means 0.0254 mm";
}

} // namespace
} // namespace qv
