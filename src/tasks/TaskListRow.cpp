#include "tasks/TaskListRow.h"

#include "app/MessageCatalog.h"

#include <cstdio>
#include <ctime>

namespace qv {

namespace {

template <typename... T>
std::string Printf(const char* format, T... values)
{
    char text[64];
    std::snprintf(text, sizeof text, format, values...);
    return text;
}

// A time the C library cannot convert shows 0 for each date part and -1 for each time part.
std::string LocalTimeText(int64_t seconds)
{
    std::tm tm{};
    const auto t = static_cast<std::time_t>(seconds);
    if (!localtime_r(&t, &tm))
        return Printf("%04d-%02d-%02d %02d:%02d:%02d", 0, 0, 0, -1, -1, -1);
    return Printf("%04d-%02d-%02d %02d:%02d:%02d", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min,
                  tm.tm_sec);
}

} // namespace

std::string PageStateText(int32_t state, int32_t language)
{
    switch (state) {
    case PageState::Manual:
        return std::string(MessageText(Msg::PageStateManual, language));
    case PageState::Auto:
        return std::string(MessageText(Msg::PageStateAuto, language));
    case PageState::Done:
        return std::string(MessageText(Msg::PageStateDone, language));
    case PageState::Printing:
        return std::string(MessageText(Msg::PageStatePrinting, language));
    default:
        return {};
    }
}

TaskListRow MakeTaskListRow(const COnePage& page, std::size_t index, int32_t language)
{
    // Width and height in int64: the bounds may span the whole int32 range.
    const int64_t width = (int64_t{page.maxX} - page.minX) / 40;
    const int64_t height = (int64_t{page.maxY} - page.minY) / 40;
    return {
        Printf("%03zu", index + 1),
        PageStateText(page.state, language),
        Printf("%lld*%lld", static_cast<long long>(width), static_cast<long long>(height)),
        LocalTimeText(page.fileTime),
        FormatMessage(Msg::PageName, language, {page.fileName, page.pageNumber}),
    };
}

} // namespace qv
