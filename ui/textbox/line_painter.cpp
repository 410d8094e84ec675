#include "ui/textbox/line_painter.hpp"

#include <QPainter>

namespace {

// Where the layout's origin lies for its line to be drawn at `topLeft`.
QPointF layoutOrigin(const LineLayout::Line& line, const QPointF& topLeft) {
    return topLeft - QPointF(0, line.textLine.y());
}

} // namespace

void paintLine(QPainter& painter, const LineLayout::Line& line, const QPointF& topLeft,
               const QList<LineSelection>& selections) {
    QList<QTextLayout::FormatRange> ranges;
    const int textLength = static_cast<int>(line.layout->text().size());
    for (const LineSelection& selection : selections) {
        if (selection.end <= line.start &&
            !(selection.end > line.end && selection.start <= line.end))
            continue;
        if (selection.start > line.end)
            continue;
        QTextLayout::FormatRange range;
        range.start = line.toLayout(std::max(selection.start, line.layoutStart));
        int end = line.toLayout(selection.end);
        // A selection that runs on past the paragraph shows its line break.
        if (line.lastInParagraph && selection.end > line.end)
            end = textLength + 1;
        range.length = end - range.start;
        range.format = selection.format;
        if (range.length > 0)
            ranges.append(range);
    }
    if (ranges.isEmpty()) {
        line.textLine.draw(&painter, layoutOrigin(line, topLeft));
        return;
    }
    // QTextLayout draws selections, but with the lines around this one, which
    // the clip hides.
    const QRectF area(topLeft.x() - line.textLine.x() - 1, topLeft.y(),
                      painter.device()->width() + 2, line.height());
    painter.save();
    painter.setClipRect(area, Qt::IntersectClip);
    line.layout->draw(&painter, layoutOrigin(line, topLeft), ranges, area);
    painter.restore();
}

void paintCursor(QPainter& painter, const LineLayout::Line& line, const QPointF& topLeft,
                 qsizetype position, int width, int preeditCursor) {
    line.layout->drawCursor(&painter, layoutOrigin(line, topLeft),
                            line.toLayout(position) + preeditCursor, width);
}
