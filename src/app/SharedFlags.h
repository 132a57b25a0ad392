#pragma once

#include "app/AppOptions.h"

#include <atomic>
#include <cstdint>

namespace qv {

// What the background threads read of the settings while the owner thread may change them: the run-time
// flags, and an atomic mirror of the few options those threads consult. The owner renews the mirror whenever
// the options change (CSettings::SetOptions), so no thread ever reads a plain option field the owner writes.
struct SharedFlags {
    // 1 once the main window closes: the background threads end and nothing is started any more.
    std::atomic<int32_t> AppStopping{0};
    // The next job start waits for the machine's confirm key (command 52) while this is set.
    std::atomic<int32_t> NeedPanelConfirm{1};

    std::atomic<int32_t> connectViaNet{0}; // ConnectViaNet: the link's channel at its next exchange
    std::atomic<int32_t> language{0};      // Language: the texts of messages shown from a link thread
    std::atomic<int32_t> autoDelFinish{1}; // AutoDelFinish: the file watcher asks for Done pages to go

    void Mirror(const AppOptions& options)
    {
        connectViaNet = options.ConnectViaNet;
        language = options.Language;
        autoDelFinish = options.AutoDelFinish;
    }
};

} // namespace qv
