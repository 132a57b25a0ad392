#pragma once

#include <cstdint>

namespace qv {

// The options of "setting.ini", one field per key, spelled as the key, in the units the key gives (1/40 mm,
// mm, 0.1 mm or flags). A plain value: dialogs edit a copy, and a job reads the copy taken when it was prepared.
struct AppOptions {
    int32_t Language = 0;
    int32_t SharpAngleCompensite = 20;
    int32_t StartEndCompensite = 20;
    int32_t FitDistHpgl = 28;
    int32_t AutoDelPlt = 0;
    int32_t AutoStartWork = 0;
    int32_t PlotOnly = 0;
    int32_t AutoDelFinish = 1;
    int32_t FPNoNeedConfirm = 1;
    int32_t PltUnit = 0;
    int32_t PLTFilePageLen = 0;
    int32_t HCPenNumber = 2;
    int32_t AutoCleanSP = 0;
    int32_t DisplayStartAndDir = 1;
    int32_t DisplaySequence = 1;
    int32_t CutEffectOptmize = 1;
    int32_t AutoMoveToLeft = 1;
    int32_t AutoMoveToBottom = 1;
    int32_t ConnectViaNet = 0;
    int32_t FindOutline = 0;
    int32_t RepeatCut = 0;
    int32_t FCXXXX = 33;
    int32_t FCYYYY = -315;
    int32_t HCXXXX = 60;
    int32_t HCYYYY = -665;
    int32_t HpglDialect = 0; // our own: 0 the design's HP-GL reader, 1 the wider dialect besides

    bool operator==(const AppOptions&) const = default;
};

} // namespace qv
