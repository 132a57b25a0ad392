#pragma once

#include "output/KnifeList.h"

namespace qv {

class COnePage;
struct AppOptions;
class Notifier;
struct MachineParams;

// Builds the knife records of the prepared job page into `list` (half cuts first, then full cuts; offsets,
// thinning, classes, speeds, steps, look-ahead). 0 on success, also for a page without cut curves; -1 after
// telling the operator when the records exceed KnifeList::kMaxRecords, with the list left empty.
int BuildKnifeData(KnifeList& list, const COnePage& jobPage, const MachineParams& params, const AppOptions& options,
                   Notifier& notifier);

} // namespace qv
