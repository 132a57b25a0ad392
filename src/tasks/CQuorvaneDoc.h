#pragma once

#include "geometry/ImportOptions.h"
#include "model/Archive.h"
#include "model/COnePage.h"
#include "tasks/PltExport.h"
#include "tasks/TaskFileResult.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace qv {

class CSettings;

// The task list: the ordered pages the machine works through from the front (index 0). One document exists
// while the program runs; it is created by the application and handed by reference to whoever needs it.
//
// Task file: the page list as an object list, with no header of its own:
//   count P                     uint16, or FF FF + uint32 when P >= 0xFFFF
//   P x (object reference, COnePage record)
// The first page reference introduces "COnePage" schema 1, the first curve "CCurve" schema 1; later ones name
// the class by index. The page and curve records belong to the model.
class CQuorvaneDoc {
public:
    std::vector<std::unique_ptr<COnePage>> pages;

    CQuorvaneDoc() = default;
    ~CQuorvaneDoc();
    CQuorvaneDoc(const CQuorvaneDoc&) = delete;
    CQuorvaneDoc& operator=(const CQuorvaneDoc&) = delete;

    // Deletes the pages from the front to the back.
    void ClearPages();
    void ClearMarks();
    // An index outside the list is ignored.
    void MarkPage(std::ptrdiff_t index);
    // Removes every marked page except one being output; the rest keep their order.
    void DeleteMarkedPages();
    // Every marked page except one being output takes `state`.
    void SetStateOfMarked(int32_t state);
    // Clears `selected` on every curve of the page at index; an index outside the list is ignored.
    void ClearCurveSelection(std::ptrdiff_t index);

    // After a file was read, over the whole list: tidy every page and move it to the origin, then cut the pages
    // longer than the page length (the geometry functions of the same names; the clean-up's false says a page
    // nested past the bound of outline recognition).
    bool CleanUpImportedPages(const ImportOptions& options);
    void PaginatePages(const ImportOptions& options);
    // Both for the drawing whose pages were just appended from index `from`, unless paging it would pass the
    // work limits (PagingFits): then nothing of it is kept, the rest of the list is tidied all the same, and the
    // answer is false.
    bool TakeImportedDrawing(std::size_t from, const ImportOptions& options);

    // Writing turns a page being output into Manual, in the file and in memory.
    void Serialize(ArchiveWriter& ar);
    // Replaces the pages by those read, or throws ArchiveException and leaves the list as it was.
    void Serialize(ArchiveReader& ar);

    // Replaces the pages by those of the task file at `path`. An empty file changes nothing; a failure leaves
    // the list as it was.
    TaskFileResult Open(const std::string& path);
    // Writes the task file so that a failure at any point leaves the file that was there.
    TaskFileResult Save(const std::string& path);
    // Writes every page as HP-GL (PltExportText) so that a failure leaves the file that was there; false when
    // the file cannot be written. An empty list gives an empty file.
    bool ExportPlt(const std::string& path, const PltExportOptions& options) const;
};

// The message for a drawing refused by the work limits (HpglLoadResult::TooLarge), with every limit named.
std::string DrawingTooLargeText(const std::string& fileName, int32_t language);

// The options of the import clean-up and the paging as the settings hold them now.
ImportOptions ImportOptionsOf(const CSettings& settings);

} // namespace qv
