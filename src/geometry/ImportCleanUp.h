#pragma once

#include "geometry/ImportOptions.h"
#include "model/COnePage.h"

#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

namespace qv {

// The widest and highest a page may be, in plotter units (some 53.7 km): its coordinates must still fit once
// it is moved to the origin.
inline constexpr int64_t kMaxPageSpan = std::numeric_limits<int32_t>::max();

// Tidies every page of the task list after a file was read: repeated points and degenerate curves go,
// collinear points go, the bounds are measured and the drawing moves to the origin (always when it reaches
// below 0, otherwise as AutoMoveToLeft / AutoMoveToBottom say). A page left without curves is removed; with
// FindOutline the touching cut pieces are joined and the outlines recognised. Pages being printed are left
// alone. False when a page's contours nest in more pairs than outline recognition weighs (see
// RecognizeOutlines), or a page spans more than kMaxPageSpan (left as it is); every other page is still tidied.
[[nodiscard]] bool CleanUpImportedPages(std::vector<std::unique_ptr<COnePage>>& pages, const ImportOptions& options);

} // namespace qv
