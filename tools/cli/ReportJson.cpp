#include "ReportJson.h"

#include "JobOutput.h"

#include "view/ImportReportText.h"

namespace qv::cli {

namespace {

std::string CountsJson(const std::map<std::string, uint32_t>& counts)
{
    std::string j = "{";
    for (const auto& [mnemonic, count] : counts)
        j += std::string(j.size() > 1 ? ", " : "") + sim::JsonString(mnemonic) + ": " + std::to_string(count);
    return j + "}";
}

} // namespace

std::string ReportJson(const std::string& file, const ImportReport& r)
{
    std::string pens = "{";
    for (const auto& [pen, kind] : r.pens)
        pens += std::string(pens.size() > 1 ? ", " : "") + "\"" + std::to_string(pen) +
                "\": " + sim::JsonString(CurveKindName(kind, 1));
    pens += "}";
    std::string missing = "[";
    for (const uint16_t code : r.missingGlyphs)
        missing += std::string(missing.size() > 1 ? ", " : "") + std::to_string(code);
    missing += "]";
    return "{\"file\": " + sim::JsonString(file) + ", \"dialect\": " + std::to_string(r.dialect) +
           ", \"pages\": " + std::to_string(r.pages) + ", \"curves\": " + std::to_string(r.curves) +
           ", \"width_mm\": " + sim::Mm(r.widthMm) + ", \"height_mm\": " + sim::Mm(r.heightMm) +
           ", \"length_mm\": " + sim::Mm(r.lengthMm) + ", \"met\": " + CountsJson(r.met) +
           ", \"skipped\": " + CountsJson(r.skipped) + ", \"pens\": " + pens +
           ", \"labels\": " + std::to_string(r.labels) + ", \"missing_glyphs\": " + missing + "}";
}

} // namespace qv::cli
