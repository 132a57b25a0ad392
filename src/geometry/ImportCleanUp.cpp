#include "geometry/ImportCleanUp.h"

#include "geometry/CleanUp.h"
#include "geometry/JoinTouchingCuts.h"
#include "geometry/OutlineRecognition.h"
#include "geometry/PageStatistics.h"
#include "geometry/PageTransforms.h"
#include "model/PageState.h"

namespace qv {

void CleanUpImportedPages(std::vector<std::unique_ptr<COnePage>>& pages, const ImportOptions& options)
{
    for (std::size_t i = 0; i < pages.size();) {
        COnePage& page = *pages[i];
        // Its job works on a copy; the page stays as the operator saw it when the job began.
        if (page.state == PageState::Printing) {
            ++i;
            continue;
        }
        RemoveDuplicatePoints(page);
        SimplifyCurves(page);
        ComputePageBounds(page);
        if (options.AutoMoveToLeft != 0 || page.minX < 0)
            MoveToLeft(page);
        if (options.AutoMoveToBottom != 0 || page.minY < 0)
            MoveToBottom(page);
        if (page.curves.empty()) {
            pages.erase(pages.begin() + static_cast<std::ptrdiff_t>(i));
            continue;
        }
        if (options.FindOutline != 0) {
            JoinTouchingCuts(page);
            RecognizeOutlines(page);
        }
        ++i;
    }
}

} // namespace qv
