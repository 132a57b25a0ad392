#pragma once

#include "model/CCurve.h"
#include "model/PageState.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace qv {

// One entry of the task list: the curves of one drawing or one page of it, where they came from, their bounds
// and statistics, and the page's state in the list. Coordinates in plotter units of 1/40 mm.
class COnePage {
public:
    static constexpr ArchiveClass kArchiveClass{"COnePage", 1};
    // The smallest record with its reference: reference 2, five int32, empty name 1, page number 4, count 2.
    static constexpr std::size_t kMinArchiveBytes = 2 + 5 * 4 + 1 + 4 + 2;

    // Owned, in drawing and cutting order. Algorithms may work on the vector directly; the checked container
    // operations below are for callers whose indices come from outside.
    std::vector<std::unique_ptr<CCurve>> curves;
    // Working list of the curve merge; empty outside it. Not owned.
    std::vector<CCurve*> scratchCurves;
    std::string fileName; // name of the source drawing with its extension, UTF-8
    int32_t pageNumber = 0;
    int32_t optimized = 0;
    int32_t maxX = 0;
    int32_t minX = 0;
    int32_t maxY = 0;
    int32_t minY = 0;
    // Statistics of a prepared job page: not stored, not copied.
    int32_t plotMaxX = 0;
    int32_t plotMaxY = 0;
    int32_t fullCutMaxX = 0;
    int32_t fullCutMinX = 0;
    int32_t fullCutMaxY = 0;
    int32_t fullCutMinY = 0;
    int32_t halfCutMaxX = 0;
    int32_t halfCutMinX = 0;
    int32_t halfCutMaxY = 0;
    int32_t halfCutMinY = 0;
    int32_t hasFullCut = 0;
    int32_t hasHalfCut = 0;
    int32_t state = PageState::Manual;
    int64_t fileTime; // seconds since 1970 UTC; construction time until set
    int32_t marked = 0;

    COnePage();
    COnePage(const COnePage&) = delete;
    COnePage& operator=(const COnePage&) = delete;
    COnePage(COnePage&&) = default;
    COnePage& operator=(COnePage&&) = default;

    // Copies file name, bounds and the optimised flag and appends copies of the other page's curves; the
    // target's own curves stay (callers use fresh pages).
    void CopyFrom(const COnePage& other);
    void ClearCurves();

    CCurve& AddCurve(std::unique_ptr<CCurve> curve);
    CCurve& AddCurve() { return AddCurve(std::make_unique<CCurve>()); }
    // Inserts before `index`; an index past the end is an error, the end itself appends.
    void InsertCurve(std::size_t index, std::unique_ptr<CCurve> curve);
    // Removes the curve at `index` and hands it to the caller.
    std::unique_ptr<CCurve> TakeCurve(std::size_t index);
    void DeleteCurve(std::size_t index) { TakeCurve(index); }
    std::size_t CurveCount() const { return curves.size(); }
    CCurve& GetCurve(std::size_t index);
    const CCurve& GetCurve(std::size_t index) const;

    // Record: state (Printing or invalid is written, and set, as Manual), maxX, minX, maxY, minY, fileName,
    // pageNumber, then the curves as an object list.
    // Writing is not const: a Printing page becomes Manual as it is stored.
    void Serialize(ArchiveWriter& ar);
    void Serialize(ArchiveReader& ar);
};

// The classes a task file may hold.
inline constexpr std::array<ArchiveClass, 2> kTaskFileClasses{COnePage::kArchiveClass, CCurve::kArchiveClass};

} // namespace qv
