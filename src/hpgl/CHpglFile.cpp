#include "hpgl/CHpglFile.h"

#include "app/CSettings.h"
#include "app/InvalidArgument.h"
#include "app/RegularFile.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <string_view>
#include <unistd.h>

namespace qv {

namespace {

constexpr double kPlotterUnitsPerMm = 40;

// Reads up to `size` bytes; fewer only at the end of the file. False on a read error.
bool ReadPiece(int fd, uint8_t* buffer, std::size_t size, std::size_t& got)
{
    got = 0;
    while (got < size) {
        const ssize_t n = ::read(fd, buffer + got, size - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    return true;
}

int32_t PenClass(int32_t pen, int32_t halfCutPen)
{
    if (pen == halfCutPen)
        return CurveKind::HalfCut;
    return pen > 1 ? CurveKind::FullCut : pen;
}

} // namespace

void CHpglFile::Reset()
{
    instructions.clear();
    penX = 0;
    penY = 0;
    penDown = false;
    labelTerminator = 3;
    terminatorMode = 1;
    label = LabelStyle{};
    labelText.clear();
    mode_ = Mode::Between;
    pendingLetter_ = 0;
    mnemonic_ = 0;
    step_ = 0;
    skip_ = 0;
    syntaxError_ = false;
    inToken_ = false;
    params_.clear();
    counts_.fill(0);
    wide_ = WideDialectState{};
}

// Mnemonics are two letters, upper-cased by the splitter.
void CHpglFile::CountMnemonic()
{
    const int first = (mnemonic_ >> 8) - 'A';
    const int second = (mnemonic_ & 0xFF) - 'A';
    if (first >= 0 && first < 26 && second >= 0 && second < 26)
        ++counts_[static_cast<std::size_t>(first * 26 + second)];
}

void CHpglFile::FinishReport(int32_t halfCutPen)
{
    static constexpr std::string_view kDesign[] = {"IN", "DF", "PU", "PD", "PA", "PG", "FR", "LT",
                                                   "SP", "LO", "SI", "DI", "DR", "LB", "DT"};
    static constexpr std::string_view kWide[] = {"PR", "PE", "CI", "AA", "AR", "EA", "ER",
                                                 "RA", "RR", "IP", "SC", "RO", "BL", "PB"};
    const auto in = [](std::span<const std::string_view> set, std::string_view m) {
        return std::find(set.begin(), set.end(), m) != set.end();
    };
    for (std::size_t i = 0; i < counts_.size(); ++i) {
        if (counts_[i] == 0)
            continue;
        const std::string m{static_cast<char>('A' + i / 26), static_cast<char>('A' + i % 26)};
        const bool known = in(kDesign, m) || (dialect_ == 1 && in(kWide, m));
        (known ? report.met : report.skipped)[m] = counts_[i];
    }
    for (const HpglInstruction ins : instructions) {
        if (ins.op == HpglInstruction::OP_SELECT_PEN) {
            const int32_t pen = ins.values.empty() ? 0 : ins.values[0];
            report.pens[pen] = PenClass(pen, halfCutPen);
        }
    }
    report.missingGlyphs = renderer_.missingGlyphs();
}

void CHpglFile::AddToReport(std::span<const std::unique_ptr<COnePage>> built)
{
    int64_t minX = 0;
    int64_t minY = 0;
    int64_t maxX = 0;
    int64_t maxY = 0;
    bool any = false;
    double length = 0;
    for (const auto& page : built) {
        for (const auto& curve : page->curves) {
            if (std::adjacent_find(curve->points.begin(), curve->points.end(), std::not_equal_to<>()) ==
                curve->points.end())
                continue;
            ++report.curves;
            for (std::size_t i = 1; i < curve->points.size(); ++i) {
                // Below 2^26 units (1.6 km) the squares are exact in a double, so the root is as exact as
                // hypot's, at a fraction of its cost.
                const double dx = static_cast<double>(curve->points[i].x) - curve->points[i - 1].x;
                const double dy = static_cast<double>(curve->points[i].y) - curve->points[i - 1].y;
                length += std::sqrt(dx * dx + dy * dy);
            }
            for (const CPoint& p : curve->points) {
                minX = any ? std::min<int64_t>(minX, p.x) : p.x;
                minY = any ? std::min<int64_t>(minY, p.y) : p.y;
                maxX = any ? std::max<int64_t>(maxX, p.x) : p.x;
                maxY = any ? std::max<int64_t>(maxY, p.y) : p.y;
                any = true;
            }
        }
    }
    report.widthMm = static_cast<double>(maxX - minX) / kPlotterUnitsPerMm;
    report.heightMm = static_cast<double>(maxY - minY) / kPlotterUnitsPerMm;
    report.lengthMm = length / kPlotterUnitsPerMm;
}

int32_t CHpglFile::Load(const CSettings& settings, Notifier& notifier, std::size_t pieceSize)
{
    instructions.clear();
    report = ImportReport{};
    dialect_ = settings.HpglDialect == 1 ? 1 : 0;
    report.dialect = dialect_;
    // Linux has no exclusive sharing: a file still being written is the intake's concern.
    struct stat st {};
    const auto file = RegularFile::Open(path, st);
    if (!file)
        return HpglLoadResult::CannotOpen;
    fileTime = static_cast<int64_t>(st.st_mtime);
    fileName = path.substr(path.find_last_of('/') + 1);
    if (st.st_size < kMinFileSize || st.st_size > kMaxFileSize)
        return HpglLoadResult::BadSize;

    Reset();
    renderer_.LoadFonts(settings, notifier);
    // An estimate, not a bound: a plain coordinate and its separator take two bytes or more, while labels,
    // arcs and encoded polylines make more values than bytes.
    instructions.ReserveValues(static_cast<std::size_t>(st.st_size) / 2);

    // Never more than the size accepted, even if the file grows meanwhile.
    std::size_t left = static_cast<std::size_t>(st.st_size);
    std::vector<uint8_t> piece(pieceSize == 0 ? kPieceSize : pieceSize);
    try {
        while (left > 0) {
            std::size_t got = 0;
            if (!ReadPiece(file->fd(), piece.data(), std::min(left, piece.size()), got)) {
                instructions.clear();
                return HpglLoadResult::CannotOpen;
            }
            if (got == 0)
                break;
            left -= got;
            if (!Feed(piece.data(), got)) {
                instructions.clear();
                return HpglLoadResult::SyntaxError;
            }
        }
        FinishInput();
        FinishReport(settings.HCPenNumber);
    } catch (const InvalidArgument&) {
        // A label needed a glyph table that is empty: nothing of the file is imported.
        instructions.clear();
        return HpglLoadResult::NoGlyphTable;
    } catch (const CLabelRenderer::TooManyLabelPoints&) {
        instructions.clear();
        return HpglLoadResult::TooLarge;
    }
    return HpglLoadResult::Ok;
}

void CHpglFile::BuildPages(std::vector<std::unique_ptr<COnePage>>& pages, const CSettings& settings) const
{
    int32_t pageNumber = 1;
    const auto newPage = [&] {
        auto page = std::make_unique<COnePage>();
        page->fileName = fileName;
        page->fileTime = fileTime;
        page->pageNumber = pageNumber;
        page->state = settings.AutoStartWork != 0 ? PageState::Auto : PageState::Manual;
        return page;
    };
    const auto newCurve = [](int32_t kind, int32_t lineStyle) {
        auto curve = std::make_unique<CCurve>();
        curve->kind = kind;
        curve->lineStyle = lineStyle;
        return curve;
    };

    auto page = newPage();
    auto curve = newCurve(CurveKind::Plot, 0);
    int32_t lineType = 0;
    int32_t penClass = CurveKind::Plot;

    const auto closeCurve = [&] {
        if (!curve->points.empty())
            page->AddCurve(std::move(curve));
    };
    const auto handOver = [&] {
        COnePage& handed = *page;
        pages.push_back(std::move(page));
        // PltUnit 1: the file counts in 0.0254 mm.
        if (settings.PltUnit == 1) {
            for (auto& c : handed.curves)
                c->Scale(1.016, 1.016);
        }
    };

    for (std::size_t k = 0; k < instructions.size(); ++k) {
        const std::span<const int32_t> v = instructions[k].values;
        switch (instructions[k].op) {
        case HpglInstruction::OP_POINTS: {
            // One allocation for a long stroke, still doubling for many short ones.
            auto& points = curve->points;
            const std::size_t needed = points.size() + v.size() / 2;
            if (needed > points.capacity())
                points.reserve(std::max(needed, 2 * points.capacity()));
            for (std::size_t i = 0; i + 1 < v.size(); i += 2)
                points.push_back({v[i], v[i + 1]});
            break;
        }
        case HpglInstruction::OP_STROKE_START:
            if (v.size() < 2)
                break;
            if (!curve->points.empty() && (curve->points.back() != CPoint{v[0], v[1]} || curve->kind != penClass)) {
                closeCurve();
                curve = newCurve(penClass, lineType);
            }
            // A new curve takes the stroke's points, which follow in the next instruction, in one allocation.
            if (curve->points.empty() && k + 1 < instructions.size())
                curve->points.reserve(1 + instructions[k + 1].values.size() / 2);
            curve->AddPoint(v[0], v[1]);
            break;
        case HpglInstruction::OP_NEW_PAGE:
            closeCurve();
            if (!page->curves.empty()) {
                handOver();
                ++pageNumber;
                page = newPage();
            }
            curve = newCurve(CurveKind::Plot, 0);
            lineType = 0;
            penClass = CurveKind::Plot;
            break;
        case HpglInstruction::OP_LINE_TYPE:
            lineType = v.empty() ? 0 : v[0];
            break;
        case HpglInstruction::OP_SELECT_PEN:
            penClass = PenClass(v.empty() ? 0 : v[0], settings.HCPenNumber);
            if (penClass != curve->kind) {
                if (!curve->points.empty()) {
                    closeCurve();
                    curve = newCurve(penClass, lineType);
                }
                curve->kind = penClass;
            }
            break;
        default:
            break;
        }
    }
    closeCurve();
    if (!page->curves.empty())
        handOver();
}

} // namespace qv
