#pragma once

#include "ui/textbox/line_layout.hpp"

#include <QList>
#include <QTextLayout>

class QPainter;

// Draws one laid-out line with its top-left corner at `topLeft`: the glyphs as
// shaped, with `selections` (document offsets and formats) highlighted. The
// screen and the printer both draw through here, so a page shows what the box
// shows.
struct LineSelection {
    qsizetype start;
    qsizetype end; // past the paragraph's end, the line break is shown selected too
    QTextCharFormat format;
};

void paintLine(QPainter& painter, const LineLayout::Line& line, const QPointF& topLeft,
               const QList<LineSelection>& selections = {});

// Draws the caret of `position` on `line`, drawn at `topLeft`.
void paintCursor(QPainter& painter, const LineLayout::Line& line, const QPointF& topLeft,
                 qsizetype position, int width = 1, int preeditCursor = 0);
