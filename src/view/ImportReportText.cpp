#include "view/ImportReportText.h"

#include "app/MessageCatalog.h"
#include "model/CurveKind.h"

#include <cstdio>

namespace qv {

namespace {

std::string Pages(uint32_t n, int32_t language)
{
    return n == 1 ? std::string(MessageText(Msg::ReportOnePage, language))
                  : FormatMessage(Msg::ReportPages, language, {n});
}

std::string Curves(uint32_t n, int32_t language)
{
    return n == 1 ? std::string(MessageText(Msg::ReportOneCurve, language))
                  : FormatMessage(Msg::ReportCurves, language, {n});
}

std::string OrNone(const std::string& list, int32_t language)
{
    return list.empty() ? std::string(MessageText(Msg::ReportNone, language)) : list;
}

// A code as the fonts index it: two hex digits for a single byte, four for a double-byte one.
std::string Glyph(uint16_t code)
{
    char text[8];
    std::snprintf(text, sizeof text, code > 0xFF ? "%04X" : "%02X", code);
    return text;
}

} // namespace

std::string CurveKindName(int32_t kind, int32_t language)
{
    switch (kind) {
    case CurveKind::HalfCut:
        return std::string(MessageText(Msg::ReportKindHalfCut, language));
    case CurveKind::FullCut:
        return std::string(MessageText(Msg::ReportKindFullCut, language));
    case CurveKind::Plot:
        return std::string(MessageText(Msg::ReportKindPlot, language));
    default:
        return std::string(MessageText(Msg::ReportKindPenZero, language));
    }
}

std::string ImportReportLine(const std::string& file, const ImportReport& r, int32_t language)
{
    std::string line =
        FormatMessage(Msg::ReportLine, language,
                      {file, Pages(r.pages, language), Curves(r.curves, language), r.widthMm, r.heightMm, r.labels,
                       OrNone(CountList(r.met), language), OrNone(CountList(r.skipped), language)});
    if (!r.missingGlyphs.empty())
        line += FormatMessage(Msg::ReportLineMissingGlyphs, language, {r.missingGlyphs.size()});
    return line;
}

std::string ImportReportBlock(const std::string& file, const ImportReport& r, int32_t language)
{
    std::string pens;
    for (const auto& [pen, kind] : r.pens)
        pens +=
            (pens.empty() ? "" : ", ") + FormatMessage(Msg::ReportPen, language, {pen, CurveKindName(kind, language)});
    std::string missing;
    for (const uint16_t code : r.missingGlyphs)
        missing += (missing.empty() ? "" : " ") + Glyph(code);
    const auto row = [&](Msg id, std::initializer_list<MessageArg> args) {
        return "  " + FormatMessage(id, language, args) + "\n";
    };
    return FormatMessage(Msg::ReportHead, language,
                         {file, Pages(r.pages, language), Curves(r.curves, language), r.widthMm, r.heightMm, r.lengthMm,
                          r.dialect}) +
           "\n" + row(Msg::ReportMet, {OrNone(CountList(r.met), language)}) +
           row(Msg::ReportSkipped, {OrNone(CountList(r.skipped), language)}) +
           row(Msg::ReportPens, {OrNone(pens, language)}) +
           row(Msg::ReportLabels, {r.labels, OrNone(missing, language)});
}

} // namespace qv
