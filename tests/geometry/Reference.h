#pragma once

#include "model/COnePage.h"

#include <cstdint>
#include <memory>
#include <vector>

// Plain, slow versions of the operations whose fast forms use an index or shortcuts, written step by step as
// the algorithms read. The tests run both on the same seeded input and compare every member.
namespace qv::reference {

void MergeCurves(COnePage& page, bool selectedOnly, bool wide);
void JoinChains(COnePage& page, int32_t tol);
void JoinTouchingCuts(COnePage& page);
void ResolveNesting(COnePage& page);
void SplitAt(COnePage& p, COnePage& q, int32_t a);
// Paging as the algorithm reads, by whole-page copies and SplitAt; pieces left empty are kept.
void PaginatePages(std::vector<std::unique_ptr<COnePage>>& pages, int32_t pageLenMm, bool autoStart);

} // namespace qv::reference
