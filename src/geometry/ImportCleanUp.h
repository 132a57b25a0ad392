#pragma once

#include "geometry/ImportOptions.h"
#include "model/COnePage.h"

#include <memory>
#include <vector>

namespace qv {

// Tidies every page of the task list after a file was read: repeated points and degenerate curves go,
// collinear points go, the bounds are measured and the drawing moves to the origin (always when it reaches
// below 0, otherwise as AutoMoveToLeft / AutoMoveToBottom say). A page left without curves is removed; with
// FindOutline the touching cut pieces are joined and the outlines recognised. Pages being printed are left
// alone. False when a page's contours nest in more pairs than outline recognition weighs (see
// RecognizeOutlines); every page is still tidied.
[[nodiscard]] bool CleanUpImportedPages(std::vector<std::unique_ptr<COnePage>>& pages, const ImportOptions& options);

} // namespace qv
