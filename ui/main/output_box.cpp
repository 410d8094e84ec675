#include "ui/main/output_box.hpp"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kMargin = 4;                   // pixels around the text, as a text box has
constexpr qsizetype kFirstPiece = 64 * 1024; // characters wrapped before the first paint
constexpr qsizetype kPiece = 256 * 1024;     // characters wrapped per step in the background
constexpr qint64 kStepMilliseconds = 8;      // the longest the background wrapping holds the window
constexpr int kBlinkMilliseconds = 500;

bool isPrintable(const QString& typed) {
    return !typed.isEmpty() && std::all_of(typed.begin(), typed.end(), [](QChar c) {
        return c.unicode() >= 32 && c.unicode() != 127;
    });
}

// Control characters take no room and draw nothing.
QString drawable(QString segment) {
    segment.removeIf([](QChar c) { return c.unicode() < 32; });
    return segment;
}

} // namespace

OutputBox::OutputBox(QWidget* parent)
    : QAbstractScrollArea(parent) {
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    viewport()->setCursor(Qt::IBeamCursor);
    advances_ = std::make_unique<Advances>(QFontMetricsF(font()));
    wrap_.reset(wrapWidth());
}

OutputBox::~OutputBox() = default;

void OutputBox::setPlainText(const QString& text) {
    text_ = text;
    cursor_ = anchor_ = 0;
    goalX_ = -1;
    verticalScrollBar()->setValue(0);
    rewrap();
    emit textChanged();
}

qreal OutputBox::wrapWidth() const {
    return std::max(1, viewport()->width() - 2 * kMargin);
}

void OutputBox::rewrap() {
    wrap_.reset(wrapWidth());
    wrapFrom(0);
}

// Wraps again from `line` on: the first screenful at once, the rest in the
// background, a few milliseconds at a time.
void OutputBox::wrapFrom(qsizetype line) {
    wrap_.truncate(line);
    const qsizetype wanted =
        verticalScrollBar()->value() + viewport()->height() / advances_->lineHeight() + 2;
    qsizetype budget = kFirstPiece;
    while (!wrap_.isComplete(text_) && static_cast<qsizetype>(wrap_.starts().size()) <= wanted) {
        wrap_.wrapMore(text_, *advances_, budget);
        budget = kPiece;
    }
    if (wrap_.isComplete(text_))
        wrapTimer_.stop();
    else
        wrapTimer_.start(0, this);
    updateScrollBar();
    viewport()->update();
}

void OutputBox::wrapInBackground() {
    QElapsedTimer clock;
    clock.start();
    while (!wrap_.isComplete(text_) && clock.elapsed() < kStepMilliseconds)
        wrap_.wrapMore(text_, *advances_, kPiece);
    if (wrap_.isComplete(text_))
        wrapTimer_.stop();
    updateScrollBar();
}

// Wraps on, a piece at a time, until `done` holds or the text is wrapped whole.
template <class Done> void OutputBox::wrapUntil(Done done) {
    bool grew = false;
    while (!wrap_.isComplete(text_) && !done()) {
        wrap_.wrapMore(text_, *advances_, kPiece);
        grew = true;
    }
    if (grew)
        updateScrollBar();
}

void OutputBox::wrapUpTo(qsizetype offset) {
    wrapUntil([&] { return wrap_.wrappedTo() > offset; });
}

// Wraps until `count` lines and the start of the next one are known.
void OutputBox::ensureLines(qsizetype count) {
    wrapUntil([&] { return static_cast<qsizetype>(wrap_.starts().size()) > count; });
}

bool OutputBox::isWrapped() const {
    return wrap_.isComplete(text_);
}

qsizetype OutputBox::lineCount() {
    wrapUpTo(text_.size());
    return static_cast<qsizetype>(wrap_.starts().size());
}

void OutputBox::updateScrollBar() {
    const int visible =
        std::max(1, static_cast<int>(viewport()->height() / advances_->lineHeight()));
    const auto lines = static_cast<int>(std::min<qsizetype>(wrap_.starts().size(), INT_MAX));
    QScrollBar* bar = verticalScrollBar();
    bar->setPageStep(visible);
    bar->setSingleStep(1);
    bar->setRange(0, std::max(0, lines - visible));
}

qsizetype OutputBox::lineEnd(qsizetype line) {
    ensureLines(line + 1);
    return wrap_.lineEnd(text_, line);
}

void OutputBox::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.setFont(font());
    const qreal lineHeight = advances_->lineHeight();
    const qsizetype first = verticalScrollBar()->value();
    const qsizetype shown =
        static_cast<qsizetype>(std::ceil(viewport()->height() / lineHeight)) + 1;
    ensureLines(first + shown + 1);

    const qsizetype selectionStart = std::min(cursor_, anchor_);
    const qsizetype selectionEnd = std::max(cursor_, anchor_);
    const QPalette& colours = palette();
    const auto& starts = wrap_.starts();
    for (qsizetype line = first; line < std::min<qsizetype>(first + shown, starts.size()); ++line) {
        const qsizetype start = starts[line];
        const qsizetype end = lineEnd(line);
        const qreal top = kMargin + (line - first) * lineHeight;
        const qreal baseline = top + advances_->ascent();
        // The line in up to three runs: before, inside and after the selection.
        const qsizetype cuts[] = {start, std::clamp(selectionStart, start, end),
                                  std::clamp(selectionEnd, start, end), end};
        qreal x = kMargin;
        for (int run = 0; run < 3; ++run) {
            if (cuts[run + 1] <= cuts[run])
                continue;
            const qreal width = advances_->width(text_, cuts[run], cuts[run + 1]);
            const bool selected = run == 1;
            if (selected)
                painter.fillRect(QRectF(x, top, width, lineHeight), colours.highlight());
            painter.setPen(selected ? colours.highlightedText().color() : colours.text().color());
            painter.drawText(QPointF(x, baseline),
                             drawable(text_.mid(cuts[run], cuts[run + 1] - cuts[run])));
            x += width;
        }
        // A selected line break shows as a space's width of highlight.
        if (selectionStart < selectionEnd && selectionEnd > end && selectionStart <= end &&
            end < text_.size())
            painter.fillRect(QRectF(x, top, advances_->at(QStringLiteral(" "), 0), lineHeight),
                             colours.highlight());
    }

    if (hasFocus() && cursorShown_ && !readOnly_) {
        const QPointF at = pointOf(cursor_);
        painter.fillRect(QRectF(at.x(), at.y(), 1, lineHeight), colours.text());
    }
}

QPointF OutputBox::pointOf(qsizetype offset) {
    wrapUpTo(offset);
    const qsizetype line = wrap_.lineOf(offset);
    const qreal x = kMargin + advances_->width(text_, wrap_.starts()[line], offset);
    const qreal y = kMargin + (line - verticalScrollBar()->value()) * advances_->lineHeight();
    return {x, y};
}

qsizetype OutputBox::offsetAt(const QPoint& point) {
    const qreal lineHeight = advances_->lineHeight();
    qsizetype line = verticalScrollBar()->value() +
                     static_cast<qsizetype>(std::floor((point.y() - kMargin) / lineHeight));
    ensureLines(line + 1);
    line = std::clamp<qsizetype>(line, 0, static_cast<qsizetype>(wrap_.starts().size()) - 1);
    const qsizetype end = lineEnd(line);
    qreal x = kMargin;
    for (qsizetype i = wrap_.starts()[line]; i < end; ++i) {
        const qreal w = advances_->at(text_, i);
        if (point.x() < x + w / 2)
            return i;
        x += w;
    }
    return end;
}

void OutputBox::setCursorPosition(qsizetype position) {
    moveCursor(std::clamp<qsizetype>(position, 0, text_.size()), false);
}

void OutputBox::moveCursor(qsizetype position, bool select) {
    // Never between the halves of a surrogate pair.
    if (position > 0 && position < text_.size() && text_[position].isLowSurrogate() &&
        text_[position - 1].isHighSurrogate())
        position += position >= cursor_ ? 1 : -1;
    cursor_ = position;
    if (!select)
        anchor_ = position;
    ensureCursorVisible();
    cursorShown_ = true;
    if (hasFocus())
        blinkTimer_.start(kBlinkMilliseconds, this);
    viewport()->update();
}

void OutputBox::ensureCursorVisible() {
    wrapUpTo(cursor_);
    const qsizetype line = wrap_.lineOf(cursor_);
    QScrollBar* bar = verticalScrollBar();
    const int fullyShown = std::max(
        1, static_cast<int>((viewport()->height() - 2 * kMargin) / advances_->lineHeight()));
    if (line < bar->value())
        bar->setValue(static_cast<int>(line));
    else if (line >= bar->value() + fullyShown)
        bar->setValue(static_cast<int>(line - fullyShown + 1));
}

QString OutputBox::selectedText() const {
    const qsizetype from = std::min(cursor_, anchor_);
    return text_.mid(from, std::max(cursor_, anchor_) - from);
}

void OutputBox::selectAll() {
    anchor_ = 0;
    cursor_ = text_.size();
    viewport()->update();
}

void OutputBox::copy() const {
    if (cursor_ != anchor_)
        QGuiApplication::clipboard()->setText(selectedText());
}

void OutputBox::replaceSelection(const QString& with) {
    const qsizetype from = std::min(cursor_, anchor_);
    const qsizetype to = std::max(cursor_, anchor_);
    if (from == to && with.isEmpty())
        return;
    // Lines before the edit stay; the one before it may take up a shortened word.
    const qsizetype line = wrap_.lineOf(from);
    text_.replace(from, to - from, with);
    cursor_ = anchor_ = from + with.size();
    goalX_ = -1;
    wrapFrom(std::max<qsizetype>(0, line - 1));
    moveCursor(cursor_, false);
    emit textChanged();
}

void OutputBox::keyPressEvent(QKeyEvent* event) {
    const bool select = event->modifiers().testFlag(Qt::ShiftModifier);
    const bool editable = !readOnly_;
    const qsizetype line = wrap_.lineOf(cursor_);
    auto vertical = [&](qsizetype toLine) {
        if (goalX_ < 0)
            goalX_ = pointOf(cursor_).x();
        const qreal lineHeight = advances_->lineHeight();
        const qsizetype target = std::max<qsizetype>(0, toLine);
        ensureLines(target + 1);
        const qsizetype clamped = std::min<qsizetype>(target, wrap_.starts().size() - 1);
        const qreal y =
            kMargin + (clamped - verticalScrollBar()->value()) * lineHeight + lineHeight / 2;
        const qreal keep = goalX_;
        moveCursor(offsetAt(QPoint(static_cast<int>(keep), static_cast<int>(y))), select);
        goalX_ = keep;
    };

    if (event == QKeySequence::SelectAll) {
        selectAll();
    } else if (event == QKeySequence::Copy) {
        copy();
    } else if (event == QKeySequence::Cut && editable) {
        copy();
        replaceSelection(QString());
    } else if (event == QKeySequence::Paste && editable) {
        replaceSelection(QGuiApplication::clipboard()->text());
    } else {
        switch (event->key()) {
        case Qt::Key_Left:
            goalX_ = -1;
            moveCursor(!select && cursor_ != anchor_ ? std::min(cursor_, anchor_)
                                                     : std::max<qsizetype>(0, cursor_ - 1),
                       select);
            break;
        case Qt::Key_Right:
            goalX_ = -1;
            moveCursor(!select && cursor_ != anchor_ ? std::max(cursor_, anchor_)
                                                     : std::min(text_.size(), cursor_ + 1),
                       select);
            break;
        case Qt::Key_Up:
            vertical(line - 1);
            break;
        case Qt::Key_Down:
            vertical(line + 1);
            break;
        case Qt::Key_PageUp:
            vertical(line - verticalScrollBar()->pageStep());
            break;
        case Qt::Key_PageDown:
            vertical(line + verticalScrollBar()->pageStep());
            break;
        case Qt::Key_Home:
            goalX_ = -1;
            moveCursor(event->modifiers().testFlag(Qt::ControlModifier) ? 0 : wrap_.starts()[line],
                       select);
            break;
        case Qt::Key_End:
            goalX_ = -1;
            if (event->modifiers().testFlag(Qt::ControlModifier)) {
                moveCursor(text_.size(), select);
            } else {
                wrapUpTo(cursor_ + 1);
                moveCursor(lineEnd(wrap_.lineOf(cursor_)), select);
            }
            break;
        case Qt::Key_Backspace:
            if (!editable)
                break;
            if (cursor_ == anchor_ && cursor_ > 0)
                anchor_ = cursor_ - ((cursor_ > 1 && text_[cursor_ - 1].isLowSurrogate() &&
                                      text_[cursor_ - 2].isHighSurrogate())
                                         ? 2
                                         : 1);
            replaceSelection(QString());
            break;
        case Qt::Key_Delete:
            if (!editable)
                break;
            if (cursor_ == anchor_ && cursor_ < text_.size())
                anchor_ =
                    cursor_ + ((cursor_ + 1 < text_.size() && text_[cursor_].isHighSurrogate() &&
                                text_[cursor_ + 1].isLowSurrogate())
                                   ? 2
                                   : 1);
            replaceSelection(QString());
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (editable)
                replaceSelection(QStringLiteral("\n"));
            break;
        default: {
            const bool command = event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier);
            if (editable && !command && isPrintable(event->text())) {
                replaceSelection(event->text());
                break;
            }
            event->ignore();
            return;
        }
        }
    }
    event->accept();
}

void OutputBox::inputMethodEvent(QInputMethodEvent* event) {
    if (!readOnly_ && !event->commitString().isEmpty())
        replaceSelection(event->commitString());
    event->accept();
}

QVariant OutputBox::inputMethodQuery(Qt::InputMethodQuery query) const {
    switch (query) {
    case Qt::ImEnabled:
        return !readOnly_;
    case Qt::ImCursorRectangle: {
        auto* self = const_cast<OutputBox*>(this);
        return QRectF(self->pointOf(cursor_), QSizeF(1, advances_->lineHeight())).toRect();
    }
    default:
        return QAbstractScrollArea::inputMethodQuery(query);
    }
}

void OutputBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    setFocus(Qt::MouseFocusReason);
    goalX_ = -1;
    moveCursor(offsetAt(event->position().toPoint()),
               event->modifiers().testFlag(Qt::ShiftModifier));
}

void OutputBox::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const QPoint at = event->position().toPoint();
    QScrollBar* bar = verticalScrollBar();
    if (at.y() < 0)
        bar->setValue(bar->value() - 1);
    else if (at.y() > viewport()->height())
        bar->setValue(bar->value() + 1);
    moveCursor(offsetAt(at), true);
}

void OutputBox::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    // Selects the word under the pointer: the run of characters between spaces.
    const qsizetype at = offsetAt(event->position().toPoint());
    auto isGap = [](QChar c) {
        return c.isSpace() || c.unicode() < 32;
    };
    qsizetype from = at;
    while (from > 0 && !isGap(text_[from - 1]))
        --from;
    qsizetype to = at;
    while (to < text_.size() && !isGap(text_[to]))
        ++to;
    anchor_ = from;
    moveCursor(to, true);
}

// The usual editing menu of a text box.
void OutputBox::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    const bool selection = cursor_ != anchor_;
    const bool editable = !readOnly_;
    menu.addAction(QStringLiteral("&Taglia"), QKeySequence::Cut,
                   [this] {
                       copy();
                       replaceSelection(QString());
                   })
        ->setEnabled(editable && selection);
    menu.addAction(QStringLiteral("&Copia"), QKeySequence::Copy, [this] { copy(); })
        ->setEnabled(selection);
    menu.addAction(QStringLiteral("&Incolla"), QKeySequence::Paste,
                   [this] { replaceSelection(QGuiApplication::clipboard()->text()); })
        ->setEnabled(editable && !QGuiApplication::clipboard()->text().isEmpty());
    menu.addAction(QStringLiteral("&Elimina"), [this] { replaceSelection(QString()); })
        ->setEnabled(editable && selection);
    menu.addSeparator();
    menu.addAction(QStringLiteral("Seleziona &tutto"), QKeySequence::SelectAll,
                   [this] { selectAll(); })
        ->setEnabled(!text_.isEmpty());
    menu.exec(event->globalPos());
}

void OutputBox::focusInEvent(QFocusEvent* event) {
    cursorShown_ = true;
    blinkTimer_.start(kBlinkMilliseconds, this);
    viewport()->update();
    QAbstractScrollArea::focusInEvent(event);
}

void OutputBox::focusOutEvent(QFocusEvent* event) {
    blinkTimer_.stop();
    viewport()->update();
    QAbstractScrollArea::focusOutEvent(event);
}

void OutputBox::timerEvent(QTimerEvent* event) {
    if (event->timerId() == wrapTimer_.timerId()) {
        wrapInBackground();
    } else if (event->timerId() == blinkTimer_.timerId()) {
        cursorShown_ = !cursorShown_;
        viewport()->update();
    } else {
        QAbstractScrollArea::timerEvent(event);
    }
}

void OutputBox::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    if (std::abs(wrapWidth() - wrap_.width()) < 0.5) {
        updateScrollBar();
        return;
    }
    // Keep the same text at the top across the new wrapping.
    const qsizetype top =
        wrap_
            .starts()[std::min<qsizetype>(verticalScrollBar()->value(), wrap_.starts().size() - 1)];
    wrap_.reset(wrapWidth());
    wrapUpTo(top);
    wrapFrom(static_cast<qsizetype>(wrap_.starts().size()) - 1);
    verticalScrollBar()->setValue(static_cast<int>(wrap_.lineOf(top)));
}

void OutputBox::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        advances_ = std::make_unique<Advances>(QFontMetricsF(font()));
        rewrap();
    }
    QAbstractScrollArea::changeEvent(event);
}

void OutputBox::scrollContentsBy(int, int) {
    viewport()->update();
}

bool OutputBox::print(QPagedPaintDevice* device) const {
    QPainter painter;
    if (!painter.begin(device))
        return false;
    painter.setFont(font());
    const Advances advances(QFontMetricsF(font(), device));
    LineWrap lines;
    lines.reset(device->width());
    while (!lines.wrapMore(text_, advances, kPiece)) {
    }
    const auto& starts = lines.starts();
    qreal top = 0;
    for (std::size_t line = 0; line < starts.size(); ++line) {
        if (top > 0 && top + advances.lineHeight() > device->height()) {
            if (!device->newPage())
                return false;
            top = 0;
        }
        const qsizetype end = lines.lineEnd(text_, static_cast<qsizetype>(line));
        painter.drawText(QPointF(0, top + advances.ascent()),
                         drawable(text_.mid(starts[line], end - starts[line])));
        top += advances.lineHeight();
    }
    return painter.end();
}
