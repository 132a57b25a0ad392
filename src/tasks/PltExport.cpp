#include "tasks/PltExport.h"

#include "app/CSettings.h"

#include <charconv>
#include <cmath>

namespace qv {

namespace {

// In double precision: a per-mille scale can take an int32 coordinate far beyond int32, and int64 holds
// every such product.
int64_t Scaled(int32_t v, int32_t perMille)
{
    return static_cast<int64_t>(std::trunc(static_cast<double>(v) * perMille / 1000.0));
}

void Append(std::string& out, int64_t v)
{
    char buffer[24];
    out.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, v).ptr);
}

void AppendPoint(std::string& out, const CPoint& p, const PltExportOptions& options)
{
    Append(out, Scaled(p.x, options.exportScaleX));
    out += ',';
    Append(out, Scaled(p.y, options.exportScaleY));
}

} // namespace

PltExportOptions PltExportOptionsOf(const CSettings& settings)
{
    return {settings.exportScaleX, settings.exportScaleY, settings.HCPenNumber};
}

int32_t PltExportPen(int32_t kind, int32_t hcPenNumber)
{
    if (kind == CurveKind::Plot)
        return 1;
    if (kind == CurveKind::HalfCut)
        return hcPenNumber;
    return hcPenNumber <= 3 ? hcPenNumber + 1 : hcPenNumber - 1;
}

std::string PltExportText(const std::vector<std::unique_ptr<COnePage>>& pages, const PltExportOptions& options)
{
    std::string out;
    for (const auto& page : pages) {
        int32_t lineType = 0;
        bool first = true;
        int32_t pen = 0;
        for (const auto& curve : page->curves) {
            if (curve->lineStyle != lineType) {
                lineType = curve->lineStyle;
                out += "LT";
                Append(out, lineType);
                out += ';';
            }
            const int32_t curvePen = PltExportPen(curve->kind, options.HCPenNumber);
            if (first || curvePen != pen) {
                first = false;
                pen = curvePen;
                out += "IN;SP";
                Append(out, pen);
                out += ';';
            }
            const auto& points = curve->points;
            if (points.empty())
                continue;
            out += "PU";
            AppendPoint(out, points.front(), options);
            out += ";PD";
            for (std::size_t i = 0; i < points.size(); ++i) {
                if (i > 0)
                    out += ',';
                AppendPoint(out, points[i], options);
            }
            out += ';';
        }
        out += "PG;";
    }
    return out;
}

} // namespace qv
