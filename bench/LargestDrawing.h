#pragma once

#include "app/CSetDisp.h"
#include "app/CSettings.h"
#include "app/MachineParams.h"
#include "app/Notifier.h"
#include "gen/MarkerGenerator.h"
#include "hpgl/CHpglFile.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace qv::bench {

// A generated marker of the largest size the reader accepts, in a private directory that also receives the
// stroke-font files.
struct LargestDrawing {
    std::string dir;
    std::string path;
    qv::CSettings settings;

    LargestDrawing()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "quorvane-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        dir = pattern;
        qv::CSetDisp disp;
        qv::MachineSettings machine;
        settings.Load(dir, disp, machine);
        qv::gen::MarkerOptions options;
        options.targetBytes = qv::CHpglFile::kMaxFileSize;
        options.pageBreaks = 3;
        const std::string plt = qv::gen::GenerateMarkerPlt(options);
        path = dir + "/marker.plt";
        std::FILE* file = std::fopen(path.c_str(), "wb");
        if (!file || std::fwrite(plt.data(), 1, plt.size(), file) != plt.size() || std::fclose(file) != 0)
            std::abort();
    }
    // Reads the drawing into `pages` as the program does; false when it does not load.
    bool Read(std::vector<std::unique_ptr<qv::COnePage>>& pages, qv::Notifier& notifier) const
    {
        qv::CHpglFile reader;
        reader.path = path;
        if (reader.Load(settings, notifier) != qv::HpglLoadResult::Ok)
            return false;
        reader.BuildPages(pages, settings);
        return true;
    }

    ~LargestDrawing()
    {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
};

} // namespace qv::bench
