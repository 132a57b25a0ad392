#include "output/WorkingArea.h"

#include "app/CSettings.h"
#include "app/Notifier.h"
#include "model/COnePage.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace qv {
namespace {

// 80 pulses per mm. Limits: X 80000, Y plot 80000, full cut 72000, half cut 64000 pulses. The plot's Y edge
// gains 16 x (150 + 30 + 200) = 6080 pulses. Knife offsets: full cut 200 and 100 tenths (1600 and 800
// pulses), half cut 300 and -200 (2400 and -1600), both X offsets less the knife X shift of 12 mm (960) for
// "HP45" or 22 mm (1760) for "IUT308". One page unit is 2 pulses.
struct Case {
    COnePage page;
    MachineParams params;
    CSettings settings;
    MachinePoint start;

    Case()
    {
        AdvancedParams& a = params.advanced;
        a.xPulsesPerMm = 80;
        a.yPulsesPerMm = 80;
        a.xProtectLength = 1000;
        a.yProtectLengthPrint = 1000;
        a.yProtectLengthFullCut = 900;
        a.yProtectLengthHalfCut = 800;
        a.inkjetIntervalPulses = 16;
        a.inkjetAccelDistance = 40;
        MachineSettings& m = params.settings;
        m.head2Position = 150;
        m.cartridgeType = Cartridge::HP45;
        m.sameKnife = 0;
        m.fullCutOffsetX = 150;
        m.fullCutOffsetY = 50;
        m.halfCutOffsetX = 250;
        m.halfCutOffsetY = 50;
        settings.FCXXXX = 50;
        settings.FCYYYY = 50;
        settings.HCXXXX = 50;
        settings.HCYYYY = -250;
        settings.Language = 1;
        page.plotMaxX = 1000;
        page.plotMaxY = 1000;
        page.fullCutMaxX = 1000;
        page.fullCutMaxY = 1000;
        page.halfCutMaxX = 1000;
        page.halfCutMaxY = 1000;
        page.halfCutMinY = 1000;
    }
};

struct Row {
    const char* name;
    std::function<void(Case&)> setUp;
    int result;
    const char* message; // nullptr: none
};

TEST(CheckWorkingArea, LimitsMessagesAndResults)
{
    const Row rows[] = {
        {"everything well inside", [](Case&) {}, 0, nullptr},
        {"plot X exactly at the limit", [](Case& c) { c.page.plotMaxX = 40000; }, 0, nullptr},
        {"plot X one pulse beyond",
         [](Case& c) {
             c.page.plotMaxX = 40000;
             c.start.x = 1;
         },
         1, "Plot X Out of Size"},
        {"plot Y exactly at the limit", [](Case& c) { c.page.plotMaxY = 36960; }, 0, nullptr},
        {"plot Y one pulse beyond",
         [](Case& c) {
             c.page.plotMaxY = 36960;
             c.start.y = 1;
         },
         2, "Plot Y Out of Size"},
        {"full cut X exactly at the limit",
         [](Case& c) {
             c.page.hasFullCut = 1;
             c.page.fullCutMaxX = 39680;
         },
         0, nullptr},
        {"full cut X one pulse beyond",
         [](Case& c) {
             c.page.hasFullCut = 1;
             c.page.fullCutMaxX = 39680;
             c.start.x = 1;
         },
         1, "FC X Out of Size"},
        {"IUT308 shifts the knife 22 mm",
         [](Case& c) {
             c.page.hasFullCut = 1;
             c.page.fullCutMaxX = 40080;
             c.params.settings.cartridgeType = Cartridge::IUT308;
         },
         0, nullptr},
        {"the same edge with HP45 is beyond",
         [](Case& c) {
             c.page.hasFullCut = 1;
             c.page.fullCutMaxX = 40080;
         },
         1, "FC X Out of Size"},
        {"full cut Y exactly at the limit",
         [](Case& c) {
             c.page.hasFullCut = 1;
             c.page.fullCutMaxY = 35600;
         },
         0, nullptr},
        {"full cut Y one pulse beyond",
         [](Case& c) {
             c.page.hasFullCut = 1;
             c.page.fullCutMaxY = 35600;
             c.start.y = 1;
         },
         2, "FC Y Out of Size"},
        {"no full cuts: their extents are not checked",
         [](Case& c) {
             c.page.fullCutMaxX = 90000;
             c.page.fullCutMaxY = 90000;
         },
         0, nullptr},
        {"half cut Y minimum exactly at the origin side",
         [](Case& c) {
             c.page.hasHalfCut = 1;
             c.page.halfCutMinY = 800;
         },
         0, nullptr},
        {"half cut Y minimum one pulse below",
         [](Case& c) {
             c.page.hasHalfCut = 1;
             c.page.halfCutMinY = 800;
             c.start.y = -1;
         },
         1, "HC Ymin Out of Size"},
        {"half cut X exactly at the limit",
         [](Case& c) {
             c.page.hasHalfCut = 1;
             c.page.halfCutMaxX = 39280;
         },
         0, nullptr},
        {"half cut X one pulse beyond",
         [](Case& c) {
             c.page.hasHalfCut = 1;
             c.page.halfCutMaxX = 39280;
             c.start.x = 1;
         },
         2, "HC XMax Out of Size"},
        {"half cut Y maximum exactly at the limit",
         [](Case& c) {
             c.page.hasHalfCut = 1;
             c.page.halfCutMaxY = 32800;
         },
         0, nullptr},
        {"half cut Y maximum one pulse beyond",
         [](Case& c) {
             c.page.hasHalfCut = 1;
             c.page.halfCutMaxY = 32800;
             c.start.y = 1;
         },
         3, "FC YMax Out of Size"},
        {"the half-cut Y maximum measures the half cuts, not the full cuts",
         [](Case& c) {
             c.page.hasHalfCut = 1;
             c.page.hasFullCut = 1;
             c.page.fullCutMaxY = 35600;
         },
         0, nullptr},
        {"same knife: the half-cut check is not run",
         [](Case& c) {
             c.page.hasHalfCut = 1;
             c.page.halfCutMinY = -90000;
             c.page.halfCutMaxX = 90000;
             c.params.settings.sameKnife = 1;
         },
         0, nullptr},
        {"plot is checked before the cuts",
         [](Case& c) {
             c.page.plotMaxX = 90000;
             c.page.hasFullCut = 1;
             c.page.fullCutMaxX = 90000;
         },
         1, "Plot X Out of Size"},
        {"full cuts are checked before half cuts",
         [](Case& c) {
             c.page.hasFullCut = 1;
             c.page.fullCutMaxY = 90000;
             c.page.hasHalfCut = 1;
             c.page.halfCutMinY = -90000;
         },
         2, "FC Y Out of Size"},
        {"Chinese when Language is 0",
         [](Case& c) {
             c.page.plotMaxY = 90000;
             c.settings.Language = 0;
         },
         2, "Y向喷墨超出幅面"},
        {"English whenever Language is not 0",
         [](Case& c) {
             c.page.hasFullCut = 1;
             c.page.fullCutMaxX = 90000;
             c.settings.Language = 2;
         },
         1, "FC X Out of Size"},
        {"Chinese half-cut Y maximum",
         [](Case& c) {
             c.page.hasHalfCut = 1;
             c.page.halfCutMaxY = 90000;
             c.settings.Language = 0;
         },
         3, "Y向全刀切割超出幅面"},
    };
    for (const Row& row : rows) {
        Case c;
        row.setUp(c);
        RecordingNotifier notifier;
        const int result = CheckWorkingArea(c.page, c.params, c.settings, c.start, c.params.Limits(), notifier);
        EXPECT_EQ(result, row.result) << row.name;
        const std::vector<std::string> expected =
            row.message ? std::vector<std::string>{row.message} : std::vector<std::string>{};
        EXPECT_EQ(notifier.Texts(), expected) << row.name;
    }
}

} // namespace
} // namespace qv
