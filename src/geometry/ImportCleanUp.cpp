#include "geometry/ImportCleanUp.h"

#include "geometry/CleanUp.h"
#include "geometry/JoinTouchingCuts.h"
#include "geometry/OutlineRecognition.h"
#include "geometry/PageStatistics.h"
#include "geometry/PageTransforms.h"
#include "model/PageState.h"

namespace qv {

bool CleanUpImportedPages(std::vector<std::unique_ptr<COnePage>>& pages, const ImportOptions& options)
{
    bool withinBounds = true;
    for (auto& each : pages) {
        COnePage& page = *each;
        // Its job works on a copy; the page stays as the operator saw it when the job began.
        if (page.state == PageState::Printing)
            continue;
        RemoveDuplicatePoints(page);
        SimplifyCurves(page);
        ComputePageBounds(page);
        // Wider or higher than a coordinate can span, the page could not be moved to the origin without its
        // points running into the limit of the coordinates and collapsing there.
        if (int64_t{page.maxX} - page.minX > kMaxPageSpan || int64_t{page.maxY} - page.minY > kMaxPageSpan) {
            withinBounds = false;
            continue;
        }
        if (options.AutoMoveToLeft != 0 || page.minX < 0)
            MoveToLeft(page);
        if (options.AutoMoveToBottom != 0 || page.minY < 0)
            MoveToBottom(page);
        if (options.FindOutline != 0 && !page.curves.empty()) {
            JoinTouchingCuts(page);
            withinBounds = RecognizeOutlines(page) && withinBounds;
        }
    }
    // The pages left without curves go in one pass; erasing each as it is found moves the rest every time.
    std::erase_if(pages, [](const auto& page) { return page->state != PageState::Printing && page->curves.empty(); });
    return withinBounds;
}

} // namespace qv
