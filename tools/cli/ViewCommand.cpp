#include "Args.h"
#include "Commands.h"
#include "CurveList.h"
#include "PageJob.h"
#include "Usage.h"
#include "ViewJson.h"

#include "app/CSetDisp.h"
#include "app/CSettings.h"
#include "app/MachineParams.h"
#include "tasks/CQuorvaneDoc.h"
#include "view/ViewController.h"

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace qv::cli {

namespace {

struct Event {
    std::string kind;
    std::vector<int32_t> numbers;
    Modifiers modifiers;
};

// "X,Y[,...]" with `count` integers and, where `modifiers`, an optional last word "ctrl" or "shift".
std::optional<Event> ParseEvent(const std::string& kind, const std::string& text, std::size_t count, bool modifiers)
{
    Event event{kind, {}, {}};
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        const std::string word = text.substr(start, comma - start);
        start = comma + 1;
        if (event.numbers.size() == count) {
            if (!modifiers || start <= text.size() || (word != "ctrl" && word != "shift"))
                return std::nullopt;
            (word == "ctrl" ? event.modifiers.ctrl : event.modifiers.shift) = true;
            continue;
        }
        const auto n = ParseInt(!word.empty() && word[0] == '+' ? word.substr(1) : word);
        if (!n)
            return std::nullopt;
        event.numbers.push_back(*n);
    }
    if (event.numbers.size() != count)
        return std::nullopt;
    return event;
}

std::optional<std::vector<Event>> ParseEvents(const Args& args)
{
    std::vector<Event> events;
    for (const auto& [name, value] : args.Options()) {
        std::optional<Event> event;
        if (name == "click")
            event = ParseEvent(name, value, 2, true);
        else if (name == "band")
            event = ParseEvent(name, value, 4, true);
        else if (name == "pan")
            event = ParseEvent(name, value, 4, false);
        else if (name == "wheel")
            event = ParseEvent(name, value, 3, false);
        else
            continue;
        if (!event || (name == "wheel" && event->numbers[2] != 1 && event->numbers[2] != -1)) {
            std::fprintf(stderr, "bad --%s %s\n", name.c_str(), value.c_str());
            return std::nullopt;
        }
        events.push_back(*event);
    }
    return events;
}

std::optional<std::pair<int32_t, int32_t>> ParseSize(const std::string& text)
{
    constexpr int kMaxSide = 100000;
    const std::size_t x = text.find('x');
    const auto w = ParseInt(text.substr(0, x));
    const auto h = x == std::string::npos ? std::nullopt : ParseInt(text.substr(x + 1));
    if (!w || !h || *w < 1 || *h < 1 || *w > kMaxSide || *h > kMaxSide)
        return std::nullopt;
    return std::pair{*w, *h};
}

void Apply(ViewController& view, const Event& e)
{
    const auto& n = e.numbers;
    if (e.kind == "click") {
        view.LeftDown({n[0], n[1]});
        view.LeftUp({n[0], n[1]}, e.modifiers);
    } else if (e.kind == "band") {
        view.LeftDown({n[0], n[1]});
        view.MouseMove({n[2], n[3]});
        view.LeftUp({n[2], n[3]}, e.modifiers);
    } else if (e.kind == "pan") {
        view.RightDown({n[0], n[1]});
        view.MouseMove({n[2], n[3]});
        view.RightUp({n[2], n[3]});
    } else {
        view.Wheel({n[0], n[1]}, n[2]);
    }
}

} // namespace

// Runs the drawing view's engine on one page of a task file without a window: the same fitting, selection,
// panning and zooming as the program's view, then its display list as JSON.
int RunView(const std::vector<std::string>& words)
{
    const Args args(words, {"page", "size", "curves", "settings", "click", "band", "pan", "wheel"});
    const auto pageText = args.Value("page");
    const auto size = ParseSize(args.Value("size").value_or(""));
    const auto position = PositiveNumber(pageText.value_or(""));
    const auto events = args.error().empty() ? ParseEvents(args) : std::nullopt;
    if (!args.error().empty() || args.positional().size() != 1 || !position || !size || !events)
        return WrongWords("view", args.error());

    CSettings settings;
    MachineParams machine;
    CSetDisp disp;
    if (const int status = LoadSettingsOption(args.Value("settings"), settings, machine, &disp))
        return status;
    const std::string& path = args.positional().front();
    CQuorvaneDoc doc;
    const TaskFileResult opened = doc.Open(path);
    if (opened != TaskFileResult::Ok) {
        std::fprintf(stderr, "%s\n", TaskFileMessage(opened, path, settings.Language).c_str());
        return 1;
    }
    if (*position > doc.pages.size()) {
        std::fprintf(stderr, "no page %s: the task list holds %zu pages\n", pageText->c_str(), doc.pages.size());
        return 1;
    }
    COnePage& page = *doc.pages[*position - 1];
    const auto curvesText = args.Value("curves");
    if (curvesText && !SelectListedCurves(page, *curvesText))
        return 1;

    ViewController view(doc, EditInPlace(doc), disp, settings);
    view.Resize(size->first, size->second);
    view.SetCurrentPage(static_cast<std::ptrdiff_t>(*position - 1));
    for (const Event& e : *events)
        Apply(view, e);
    const DisplayList& list = view.Frame();
    std::fputs(ViewJson(path, *position, &page, disp, list).c_str(), stdout);
    return 0;
}

} // namespace qv::cli
