#pragma once

namespace qv {

class CSettings;

// At start: a DataDir that is empty, shorter than three characters, names nothing that exists, or is the
// executable's own directory becomes ExeDir + "plot/", created (one level) when missing; a failure to create
// it is not reported. Any other DataDir is kept as it is.
void RepairDataDir(CSettings& settings);

} // namespace qv
