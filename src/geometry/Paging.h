#pragma once

#include "geometry/ImportOptions.h"
#include "model/COnePage.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace qv {

// The work limits of paging one drawing: the pages it may end as, and the segments the page cuts may cross
// (each crossing makes a curve). Both keep a drawing read from a file within memory and time however far its
// coordinates reach.
inline constexpr int64_t kMaxDrawingPages = 10'000;
inline constexpr int64_t kMaxPageCutCrossings = 1'000'000;

// Whether paging pages[from..] (one drawing just read and tidied) stays within the work limits, counted
// without making anything: its pages are those the stretches under its segments give, and every page cut a
// segment spans is a crossing. Pages being printed are not counted.
bool PagingFits(const std::vector<std::unique_ptr<COnePage>>& pages, std::size_t from, const ImportOptions& options);

// Cuts every page of the task list that is longer than PLTFilePageLen (mm, 500 or more) across X, at
// multiples of the page length from X = 0. The pieces are inserted before the page in order and numbered from
// 1; the page itself keeps what lies beyond the last cut, its state, and the last number. A stretch with
// nothing on it gives no page. Pieces of a Done page are Done; other pieces are Auto with AutoStartWork, else
// Manual. Pages being printed are left alone.
void PaginatePages(std::vector<std::unique_ptr<COnePage>>& pages, const ImportOptions& options);

// Keeps in p what lies at X <= a, joined again where neighbouring segments meet (JoinConnected), and appends to
// q, shifted by -a and as two-point segments, what lies beyond. A segment crossing X = a is cut at
// y = y0 + trunc((a - x0)(y1 - y0) / (x1 - x0)). Both pages' bounds are recomputed. A p without curves is left
// as it is.
void SplitAt(COnePage& p, COnePage& q, int32_t a);

// Replaces every curve by its two-point segments, in place and in order; each new segment copies the kind,
// line style, selection and bounds of its curve. A two-point curve stays itself; curves of fewer than two
// points are dropped.
void ExplodeSegments(COnePage& page);

// Where a curve ends exactly where the next one in the list starts and both are of one kind, the next one's
// points are all appended (the shared point then appears twice) and it is removed. A curve without points is
// an InvalidArgument error.
void JoinConnected(COnePage& page);

} // namespace qv
