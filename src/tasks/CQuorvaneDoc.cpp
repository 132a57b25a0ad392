#include "tasks/CQuorvaneDoc.h"

#include "app/AtomicFile.h"
#include "app/CSettings.h"
#include "app/MessageCatalog.h"
#include "geometry/ImportCleanUp.h"
#include "geometry/NestingCandidates.h"
#include "geometry/Paging.h"
#include "hpgl/CLabelRenderer.h"
#include "model/ObjectList.h"

#include <iterator>

namespace qv {

namespace {

bool Printing(const COnePage& page)
{
    return page.state == PageState::Printing;
}

TaskFileResult ResultOf(ArchiveError error)
{
    switch (error) {
    case ArchiveError::EndOfFile:
        return TaskFileResult::EndOfFile;
    case ArchiveError::BadIndex:
        return TaskFileResult::BadIndex;
    case ArchiveError::UnexpectedClass:
        return TaskFileResult::UnexpectedObject;
    case ArchiveError::BadSchema:
        return TaskFileResult::BadSchema;
    }
    return TaskFileResult::BadIndex;
}

} // namespace

CQuorvaneDoc::~CQuorvaneDoc()
{
    ClearPages();
}

bool CQuorvaneDoc::CleanUpImportedPages(const ImportOptions& options)
{
    return qv::CleanUpImportedPages(pages, options);
}

void CQuorvaneDoc::PaginatePages(const ImportOptions& options)
{
    qv::PaginatePages(pages, options);
}

bool CQuorvaneDoc::TakeImportedDrawing(std::size_t from, const ImportOptions& options)
{
    // The clean-up works page by page, so the drawing is tidied apart from the list it joins.
    std::vector<std::unique_ptr<COnePage>> drawing;
    if (from < pages.size()) {
        drawing.assign(std::make_move_iterator(pages.begin() + static_cast<std::ptrdiff_t>(from)),
                       std::make_move_iterator(pages.end()));
        pages.resize(from);
    }
    // A listed page past the nesting bound keeps its contours as full cuts, as the view's command leaves
    // them; only the drawing coming in is refused for it.
    (void)CleanUpImportedPages(options);
    if (!qv::CleanUpImportedPages(drawing, options) || !PagingFits(drawing, 0, options))
        return false;
    pages.insert(pages.end(), std::make_move_iterator(drawing.begin()), std::make_move_iterator(drawing.end()));
    PaginatePages(options);
    return true;
}

std::string DrawingTooLargeText(const std::string& fileName, int32_t language)
{
    return FormatMessage(Msg::DrawingTooLarge, language,
                         {fileName, kMaxDrawingPages, kMaxPageCutCrossings, CLabelRenderer::kMaxLabelPoints,
                          kMaxNestingCandidates / 2, kMaxPageSpan / 40'000});
}

ImportOptions ImportOptionsOf(const CSettings& settings)
{
    ImportOptions options;
    options.AutoMoveToLeft = settings.AutoMoveToLeft;
    options.AutoMoveToBottom = settings.AutoMoveToBottom;
    options.FindOutline = settings.FindOutline;
    options.PLTFilePageLen = settings.PLTFilePageLen;
    options.AutoStartWork = settings.AutoStartWork;
    return options;
}

void CQuorvaneDoc::ClearPages()
{
    for (auto& page : pages)
        page.reset();
    pages.clear();
}

void CQuorvaneDoc::ClearMarks()
{
    for (auto& page : pages)
        page->marked = 0;
}

void CQuorvaneDoc::MarkPage(std::ptrdiff_t index)
{
    if (index >= 0 && static_cast<std::size_t>(index) < pages.size())
        pages[static_cast<std::size_t>(index)]->marked = 1;
}

void CQuorvaneDoc::DeleteMarkedPages()
{
    std::erase_if(pages, [](const std::unique_ptr<COnePage>& page) { return page->marked && !Printing(*page); });
}

void CQuorvaneDoc::SetStateOfMarked(int32_t state)
{
    for (auto& page : pages) {
        if (page->marked && !Printing(*page))
            page->state = state;
    }
}

void CQuorvaneDoc::ClearCurveSelection(std::ptrdiff_t index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= pages.size())
        return;
    for (auto& curve : pages[static_cast<std::size_t>(index)]->curves)
        curve->selected = 0;
}

void CQuorvaneDoc::Serialize(ArchiveWriter& ar)
{
    WriteObjectList(ar, pages);
}

void CQuorvaneDoc::Serialize(ArchiveReader& ar)
{
    auto read = ReadObjectList<COnePage>(ar);
    ClearPages();
    pages = std::move(read);
}

TaskFileResult CQuorvaneDoc::Open(const std::string& path)
{
    std::string bytes;
    if (!ReadWholeFile(path, bytes))
        return TaskFileResult::OpenFailed;
    if (bytes.empty())
        return TaskFileResult::Ok;
    try {
        ArchiveReader ar(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), kTaskFileClasses);
        Serialize(ar);
    } catch (const ArchiveException& e) {
        return ResultOf(e.error());
    }
    return TaskFileResult::Ok;
}

TaskFileResult CQuorvaneDoc::Save(const std::string& path)
{
    AtomicFileWriter file;
    if (!file.Open(path))
        return TaskFileResult::SaveFailed;
    ArchiveWriter ar([&file](std::span<const uint8_t> piece) {
        return file.Write(std::span(reinterpret_cast<const char*>(piece.data()), piece.size()));
    });
    Serialize(ar);
    if (!ar.Finish() || !file.Commit())
        return TaskFileResult::SaveFailed;
    return TaskFileResult::Ok;
}

bool CQuorvaneDoc::ExportPlt(const std::string& path, const PltExportOptions& options) const
{
    const std::string text = PltExportText(pages, options);
    return WriteFileAtomically(path, text);
}

} // namespace qv
