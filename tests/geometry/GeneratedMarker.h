#pragma once

#include "app/CSetDisp.h"
#include "app/CSettings.h"
#include "app/MachineParams.h"
#include "app/Notifier.h"
#include "gen/MarkerGenerator.h"
#include "hpgl/CHpglFile.h"
#include "support/TempDir.h"

#include <fstream>
#include <memory>
#include <stdexcept>
#include <vector>

namespace qv::test {

// The pages of a generated garment marker as the reader builds them, with default settings.
inline std::vector<std::unique_ptr<COnePage>> ReadGeneratedMarker(const gen::MarkerOptions& options)
{
    TempDir dir;
    CSettings settings;
    CSetDisp disp;
    MachineSettings machine;
    settings.Load(dir.Path(), disp, machine);
    const std::string plt = gen::GenerateMarkerPlt(options);
    std::ofstream(dir.File("marker.plt"), std::ios::binary) << plt;
    CHpglFile reader;
    reader.path = dir.File("marker.plt");
    RecordingNotifier notifier;
    if (reader.Load(settings, notifier) != HpglLoadResult::Ok)
        throw std::runtime_error("the generated marker did not read");
    std::vector<std::unique_ptr<COnePage>> pages;
    reader.BuildPages(pages, settings);
    return pages;
}

} // namespace qv::test
