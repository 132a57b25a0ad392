#pragma once

#include "app/AppOptions.h"
#include "app/CSetDisp.h"
#include "tasks/CQuorvaneDoc.h"
#include "view/DisplayList.h"
#include "view/PagePainter.h"
#include "view/ScreenGeometry.h"
#include "view/Selection.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

namespace qv {

struct Modifiers {
    bool ctrl = false;
    bool shift = false;
};

// How the view changes page `index` of the list: `selection` true for a change of the curves' selection only,
// which the task file does not keep, false for an edit of the curves, which the list must save. The window
// goes through the output centre; a tool without one changes its own list (EditInPlace).
using PageEdit = std::function<void(std::size_t index, bool selection, const std::function<void(COnePage&)>& change)>;
PageEdit EditInPlace(CQuorvaneDoc& doc);

// What the window does after an event.
enum class ViewUpdate : uint8_t {
    None,
    Band,        // the rubber band moved: draw Band() over the picture painted last
    Redraw,      // paint Frame() again
    ContextMenu, // open the view's context menu at the cursor
};

struct CommandOutcome {
    bool edited = false; // the page's curves changed (through the PageEdit, which saves the list)
    ViewUpdate update = ViewUpdate::None;
};

// The drawing view without its window: the page it shows, the mouse rules (click and band selection, panning
// with the right button, zooming with the wheel), the view's commands and the display list to paint. A window
// forwards its events in window pixels and acts on the ViewUpdate returned; the display state lives in the
// process-wide CSetDisp.
//
// Everything here runs on the thread that owns the task list. Whoever changes the shown page's curves from
// outside (the workflow after a reload, a list command) calls Redraw or SetCurrentPage, so the next Frame
// reads the page again.
class ViewController {
public:
    ViewController(const CQuorvaneDoc& doc, PageEdit edit, CSetDisp& disp, const AppOptions& options);

    // The window's size, then FitToWindow.
    ViewUpdate Resize(int32_t width, int32_t height);
    // Shows page `index`: below 0 or beyond the list the first page; then FitToWindow. With an empty list the
    // current page is 0 and the mapping stays.
    ViewUpdate SetCurrentPage(std::ptrdiff_t index);
    int32_t CurrentPage() const { return currentPage_; }
    // Command 266, "适合屏幕".
    ViewUpdate Fit();
    // The shown page may have changed.
    ViewUpdate Redraw();

    // Mouse events at window positions. A release without its press in this view does nothing.
    ViewUpdate LeftDown(ScreenPoint p);
    ViewUpdate MouseMove(ScreenPoint p);
    ViewUpdate LeftUp(ScreenPoint p, Modifiers modifiers);
    ViewUpdate RightDown(ScreenPoint p);
    ViewUpdate RightUp(ScreenPoint p);
    // A turn of the vertical wheel; 0 (a horizontal wheel) is ignored.
    ViewUpdate Wheel(ScreenPoint p, int32_t delta);

    // A command of the context menu, an accelerator or the Delete key (ViewCommand numbers) on the current
    // page. With an empty list nothing happens; outline recognition and the spline fit need a current page
    // that exists, every other command falls back to the first page. Throws InvalidArgument, as the core
    // operation does, for a page holding a curve without points.
    CommandOutcome Command(int32_t command);

    // The band while the left button is down.
    std::optional<RubberBand> Band() const;
    // The picture to paint, the frame of the display list kept between calls.
    const DisplayList& Frame();
    const CSetDisp& Display() const { return disp_; }

private:
    const COnePage* ShownPage();

    const CQuorvaneDoc& doc_;
    PageEdit edit_;
    CSetDisp& disp_;
    const AppOptions& options_;
    PagePainter painter_;
    int32_t currentPage_ = 0;
    bool leftDragging_ = false;
    bool panning_ = false;
    ScreenPoint anchor_;
    ScreenPoint rightDown_;
    ScreenPoint last_;
};

} // namespace qv
