#include "view/ViewController.h"

#include "geometry/ViewCommands.h"
#include "view/ViewMapping.h"

#include <algorithm>
#include <cstdlib>

namespace qv {

namespace {

constexpr int32_t kMenuClickSlack = 2;

bool IsViewCommand(int32_t command)
{
    const auto names = ViewCommandNames();
    return std::any_of(names.begin(), names.end(), [&](const ViewCommandName& c) { return c.command == command; });
}

} // namespace

PageEdit EditInPlace(CQuorvaneDoc& doc)
{
    return [&doc](std::size_t index, bool, const std::function<void(COnePage&)>& change) {
        if (index < doc.pages.size())
            change(*doc.pages[index]);
    };
}

ViewController::ViewController(const CQuorvaneDoc& doc, PageEdit edit, CSetDisp& disp, const AppOptions& options)
    : doc_(doc), edit_(std::move(edit)), disp_(disp), options_(options)
{
}

ViewUpdate ViewController::Resize(int32_t width, int32_t height)
{
    disp_.viewWidth = width;
    disp_.viewHeight = height;
    return Fit();
}

ViewUpdate ViewController::SetCurrentPage(std::ptrdiff_t index)
{
    painter_.Invalidate();
    const std::size_t count = doc_.pages.size();
    currentPage_ = index < 0 || static_cast<std::size_t>(index) >= count ? 0 : static_cast<int32_t>(index);
    if (count == 0)
        return ViewUpdate::Redraw;
    return Fit();
}

ViewUpdate ViewController::Fit()
{
    FitToWindow(disp_);
    return ViewUpdate::Redraw;
}

ViewUpdate ViewController::Redraw()
{
    painter_.Invalidate();
    return ViewUpdate::Redraw;
}

ViewUpdate ViewController::LeftDown(ScreenPoint p)
{
    anchor_ = last_ = p;
    leftDragging_ = true;
    return ViewUpdate::Band;
}

ViewUpdate ViewController::MouseMove(ScreenPoint p)
{
    ViewUpdate update = leftDragging_ ? ViewUpdate::Band : ViewUpdate::None;
    if (panning_) {
        PanBy(disp_, last_, p);
        update = ViewUpdate::Redraw;
    }
    last_ = p;
    return update;
}

ViewUpdate ViewController::LeftUp(ScreenPoint p, Modifiers modifiers)
{
    if (!leftDragging_)
        return ViewUpdate::None;
    leftDragging_ = false;
    if (ShownPage()) {
        const bool keep = modifiers.ctrl || modifiers.shift;
        edit_(static_cast<std::size_t>(currentPage_), true, [&](COnePage& page) {
            if (!keep)
                for (auto& curve : page.curves)
                    curve->selected = 0;
            SelectOnRelease(page, disp_, anchor_, p);
        });
    }
    return Redraw();
}

ViewUpdate ViewController::RightDown(ScreenPoint p)
{
    panning_ = true;
    last_ = rightDown_ = p;
    return ViewUpdate::None;
}

ViewUpdate ViewController::RightUp(ScreenPoint p)
{
    if (!panning_)
        return ViewUpdate::None;
    panning_ = false;
    const bool click = std::abs(int64_t{p.x} - rightDown_.x) < kMenuClickSlack &&
                       std::abs(int64_t{p.y} - rightDown_.y) < kMenuClickSlack;
    return click ? ViewUpdate::ContextMenu : ViewUpdate::None;
}

ViewUpdate ViewController::Wheel(ScreenPoint p, int32_t delta)
{
    return ZoomAt(disp_, p, delta) ? ViewUpdate::Redraw : ViewUpdate::None;
}

CommandOutcome ViewController::Command(int32_t command)
{
    if (!IsViewCommand(command))
        return {};
    const auto index = CommandPage(command, doc_.pages.size(), currentPage_);
    if (!index)
        return {};
    painter_.Invalidate();
    const int32_t fitDist = options_.FitDistHpgl;
    edit_(*index, false, [&](COnePage& page) { ApplyViewCommand(page, command, fitDist); });
    return {true, ViewUpdate::Redraw};
}

std::optional<RubberBand> ViewController::Band() const
{
    if (!leftDragging_)
        return std::nullopt;
    return BandOf(anchor_, last_);
}

const DisplayList& ViewController::Frame()
{
    return painter_.Frame(disp_, ShownPage(), options_.DisplaySequence != 0);
}

const COnePage* ViewController::ShownPage()
{
    if (doc_.pages.empty()) {
        currentPage_ = 0;
        return nullptr;
    }
    if (currentPage_ < 0 || static_cast<std::size_t>(currentPage_) >= doc_.pages.size())
        currentPage_ = 0;
    return doc_.pages[static_cast<std::size_t>(currentPage_)].get();
}

} // namespace qv
