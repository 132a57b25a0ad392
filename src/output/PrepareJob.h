#pragma once

namespace qv {

class COnePage;
class CSettings;
struct KnifeList;
struct MachineParams;

// Steps 1 to 16 of a job's preparation: empties `jobPage` and `knives`, copies `page` into `jobPage`, calibrates,
// joins, cleans, optimises and compensates the copy and measures it. `page` itself is never changed.
void PrepareJobPage(COnePage& jobPage, KnifeList& knives, const COnePage& page, const MachineParams& params,
                    const CSettings& settings);

} // namespace qv
