#include "ui/views/DisplayListPainter.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>

namespace qv::ui {

namespace {

QColor ColourOf(Rgb c)
{
    return QColor(c.r, c.g, c.b);
}

QPen PenOf(const Pen& pen)
{
    QPen q(ColourOf(pen.colour));
    q.setWidth(pen.width);
    q.setCosmetic(true);
    q.setCapStyle(Qt::FlatCap);
    q.setStyle(pen.style == LineStyle::Dashed   ? Qt::DashLine
               : pen.style == LineStyle::Dotted ? Qt::DotLine
                                                : Qt::SolidLine);
    return q;
}

// A hollow rectangle covering the columns left .. right - 1 and the rows top .. bottom - 1.
void Outline(QPainter& painter, const ScreenRect& r)
{
    painter.drawRect(r.left, r.top, r.right - r.left - 1, r.bottom - r.top - 1);
}

} // namespace

void DisplayListPainter::Paint(QPainter& painter, const DisplayList& list)
{
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QFont surfaceFont = painter.font();
    for (const Primitive& primitive : list.primitives) {
        if (const auto* fill = std::get_if<FillRect>(&primitive)) {
            const ScreenRect& r = fill->rect;
            painter.fillRect(r.left, r.top, r.right - r.left, r.bottom - r.top, ColourOf(fill->colour));
        } else if (const auto* outline = std::get_if<OutlineRect>(&primitive)) {
            painter.setPen(PenOf(outline->pen));
            painter.setBrush(Qt::NoBrush);
            Outline(painter, outline->rect);
        } else if (const auto* line = std::get_if<Line>(&primitive)) {
            painter.setPen(PenOf(line->pen));
            painter.drawLine(line->from.x, line->from.y, line->to.x, line->to.y);
        } else if (const auto* text = std::get_if<Text>(&primitive)) {
            QFont font = surfaceFont;
            if (!text->font.family.empty()) {
                font =
                    QFont(QString::fromUtf8(text->font.family.data(), static_cast<qsizetype>(text->font.family.size())),
                          text->font.pointSize);
            }
            painter.setFont(font);
            painter.setPen(ColourOf(text->colour));
            const QFontMetrics metrics(font);
            painter.drawText(text->topLeft.x, text->topLeft.y + metrics.ascent(), QString::fromStdString(text->text));
        } else if (const auto* polyline = std::get_if<Polyline>(&primitive)) {
            const auto pts = list.PointsOf(polyline->first, polyline->count);
            points_.resize(pts.size());
            for (std::size_t i = 0; i < pts.size(); ++i)
                points_[i] = QPoint(pts[i].x, pts[i].y);
            painter.setPen(PenOf(polyline->pen));
            painter.drawPolyline(points_.data(), static_cast<int>(points_.size()));
        } else if (const auto* squares = std::get_if<VertexSquares>(&primitive)) {
            painter.setPen(PenOf(squares->pen));
            painter.setBrush(Qt::NoBrush);
            const int32_t h = squares->half;
            for (const ScreenPoint p : list.PointsOf(squares->first, squares->count))
                Outline(painter, {p.x - h, p.y - h, p.x + h, p.y + h});
        } else if (const auto* triangle = std::get_if<Triangle>(&primitive)) {
            QPolygon corners;
            for (const ScreenPoint p : triangle->corners)
                corners << QPoint(p.x, p.y);
            painter.setPen(PenOf(triangle->pen));
            painter.setBrush(ColourOf(triangle->fill));
            painter.drawPolygon(corners);
            painter.setBrush(Qt::NoBrush);
        }
    }
    painter.setFont(surfaceFont);
}

} // namespace qv::ui
