#pragma once

namespace qv {

class COnePage;
struct AppOptions;
struct KnifeList;
struct MachineParams;

// A job's preparation up to starting its thread: empties `jobPage` and `knives`, copies `page` into `jobPage`,
// calibrates, joins, cleans, optimises and compensates the copy and measures it. `page` itself is never changed.
// When one knife does both cuts, the full-cut statistics (and hasFullCut) include the half cuts, so that the
// full-cut working-area check covers everything that knife cuts.
void PrepareJobPage(COnePage& jobPage, KnifeList& knives, const COnePage& page, const MachineParams& params,
                    const AppOptions& options);

} // namespace qv
