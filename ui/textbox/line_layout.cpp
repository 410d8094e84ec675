#include "ui/textbox/line_layout.hpp"

#include "ui/textbox/text_document.hpp"

#include <QElapsedTimer>
#include <QPaintDevice>
#include <QTimerEvent>

#include <algorithm>
#include <cmath>

namespace {

constexpr qsizetype kShapeLimit = 10000;    // longer paragraphs are broken by advances
constexpr qsizetype kWrapPiece = 64 * 1024; // characters broken per step when a line is needed
constexpr qsizetype kBackgroundPiece = 256 * 1024;
constexpr qint64 kSliceMilliseconds = 8;  // the longest the background work holds the window
constexpr qsizetype kMaxShaped = 400;     // paragraphs kept laid out
constexpr qsizetype kMaxLongLines = 2048; // lines of long paragraphs kept laid out
constexpr qsizetype kWordWindow = 4096;   // context for word movement in long paragraphs
constexpr qsizetype kDirectionWindow = 64 * 1024; // where a long paragraph's direction is found

bool rightToLeft(QStringView text) {
    return text.left(kDirectionWindow).isRightToLeft();
}

// The symbols that stand for control characters come from a font that has
// them, in regular weight: the box's own fonts have none.
QList<QTextLayout::FormatRange> controlPictures(const QString& shown) {
    QList<QTextLayout::FormatRange> ranges;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        const char16_t c = shown[i].unicode();
        if (c < 0x2400 || c > 0x2426)
            continue;
        if (!ranges.isEmpty() && ranges.back().start + ranges.back().length == i) {
            ++ranges.back().length;
            continue;
        }
        QTextLayout::FormatRange range;
        range.start = static_cast<int>(i);
        range.length = 1;
        range.format.setFontFamilies({QStringLiteral("FreeSans"), QStringLiteral("Symbola"),
                                      QStringLiteral("Noto Sans Symbols 2")});
        range.format.setFontWeight(QFont::Normal);
        ranges.append(range);
    }
    return ranges;
}

} // namespace

int LineLayout::Line::toLayout(qsizetype position) const {
    auto at = static_cast<int>(position - layoutStart);
    const QString preedit = layout->preeditAreaText();
    if (!preedit.isEmpty() && at > layout->preeditAreaPosition())
        at += static_cast<int>(preedit.size());
    return std::clamp(at, 0, static_cast<int>(layout->text().size()));
}

qsizetype LineLayout::Line::fromLayout(int position) const {
    const QString preedit = layout->preeditAreaText();
    if (!preedit.isEmpty()) {
        const int from = layout->preeditAreaPosition();
        if (position > from + preedit.size())
            position -= static_cast<int>(preedit.size());
        else if (position > from)
            position = from;
    }
    return layoutStart + position;
}

LineLayout::LineLayout(const TextDocument* document, QObject* parent)
    : QObject(parent)
    , document_(document) {
    setFont(QFont());
    connect(document_, &TextDocument::reset, this, &LineLayout::rebuild);
    connect(document_, &TextDocument::contentsChange, this, &LineLayout::contentsChange);
    rebuild();
}

LineLayout::~LineLayout() = default;

void LineLayout::setFont(const QFont& font, QPaintDevice* device) {
    font_ = font;
    device_ = device;
    const qreal dpi = device ? device->logicalDpiX() : 96;
    advances_ = std::make_unique<Advances>(QFontMetricsF(font_, device_), 80 * dpi / 96);
    invalidateAll();
}

void LineLayout::setWidth(qreal width) {
    width = std::max<qreal>(width, 1);
    if (std::abs(width - width_) < 0.01)
        return;
    width_ = width;
    invalidateAll();
}

void LineLayout::setBackgroundWork(bool enabled) {
    background_ = enabled;
    if (!enabled)
        timer_.stop();
    else if (!isComplete())
        timer_.start(0, this);
}

void LineLayout::setPreedit(qsizetype position, const QString& text) {
    if (text.isEmpty() && preedit_.isEmpty())
        return;
    const qsizetype old = preeditPosition_;
    preeditPosition_ = text.isEmpty() ? -1 : position;
    preedit_ = text;
    for (qsizetype at : {old, preeditPosition_}) {
        if (at < 0)
            continue;
        Paragraph& paragraph = paragraphs_[static_cast<std::size_t>(paragraphOf(at))];
        if (paragraph.layout) {
            paragraph.layout.reset();
            --shapedCount_;
        }
    }
    longLines_.clear();
}

// A laid-out line is as high as the font's line spacing, rounded up, as
// QTextLine gives it.
qreal LineLayout::lineSpacing() const {
    return std::ceil(QFontMetricsF(font_, device_).lineSpacing());
}

bool LineLayout::isLong(const Paragraph& paragraph) const {
    return paragraph.length > kShapeLimit;
}

QStringView LineLayout::textOf(const Paragraph& paragraph) const {
    return QStringView(document_->text()).mid(paragraph.start, paragraph.length);
}

qsizetype LineLayout::estimateLines(const Paragraph& paragraph) const {
    const qreal average = std::max<qreal>(1, QFontMetricsF(font_, device_).averageCharWidth());
    auto linesFor = [&](qsizetype characters) {
        return static_cast<qsizetype>(std::ceil(characters * average / width_));
    };
    if (paragraph.wrap) {
        const qsizetype rest = paragraph.length - paragraph.wrap->wrappedTo();
        return paragraph.wrap->lineCount() + (rest > 0 ? linesFor(rest) : 0);
    }
    return std::max<qsizetype>(1, linesFor(paragraph.length));
}

LineLayout::Paragraph LineLayout::makeParagraph(qsizetype start, qsizetype length) const {
    Paragraph paragraph;
    paragraph.start = start;
    paragraph.length = length;
    if (isLong(paragraph)) {
        paragraph.wrap = std::make_unique<ParagraphWrap>(width_);
        paragraph.rightToLeft = rightToLeft(textOf(paragraph));
    }
    paragraph.lines = estimateLines(paragraph);
    return paragraph;
}

void LineLayout::rebuild() {
    paragraphs_.clear();
    const QString& text = document_->text();
    qsizetype start = 0;
    for (;;) {
        const qsizetype separator = text.indexOf(QChar::ParagraphSeparator, start);
        const qsizetype end = separator < 0 ? text.size() : separator;
        paragraphs_.push_back(makeParagraph(start, end - start));
        if (separator < 0)
            break;
        start = separator + 1;
    }
    longLines_.clear();
    shapedCount_ = 0;
    prefixValid_ = 0;
    preeditPosition_ = -1;
    preedit_.clear();
    firstPending_ = 0;
    needsWork(0);
    emit linesChanged();
}

void LineLayout::invalidateAll() {
    for (Paragraph& paragraph : paragraphs_) {
        paragraph.layout.reset();
        paragraph.measured = false;
        if (paragraph.wrap) {
            paragraph.wrap = std::make_unique<ParagraphWrap>(width_);
            paragraph.lines = estimateLines(paragraph);
        }
    }
    longLines_.clear();
    shapedCount_ = 0;
    prefixValid_ = 0;
    firstPending_ = 0;
    needsWork(0);
}

void LineLayout::contentsChange(qsizetype position, qsizetype removed, qsizetype added) {
    const QString& text = document_->text();
    const qsizetype delta = added - removed;
    const qsizetype first = paragraphOf(position);
    const qsizetype last = paragraphOf(position + removed);
    const bool newSeparator =
        QStringView(text).mid(position, added).contains(QChar::ParagraphSeparator);
    auto firstParagraph = paragraphs_.begin() + first;
    qsizetype afterEdit = first + 1; // the first paragraph that only moves

    if (first == last && !newSeparator) {
        // Within one paragraph: a long one wraps again only near the edit.
        Paragraph& paragraph = *firstParagraph;
        paragraph.length += delta;
        if (paragraph.layout) {
            paragraph.layout.reset();
            --shapedCount_;
        }
        const qsizetype at = position - paragraph.start;
        if (!isLong(paragraph)) {
            paragraph.wrap.reset();
        } else if (paragraph.wrap) {
            paragraph.wrap->edit(textOf(paragraph), *advances_, at, removed, added);
        } else {
            paragraph.wrap = std::make_unique<ParagraphWrap>(width_);
        }
        if (paragraph.wrap) {
            if (at < kDirectionWindow)
                paragraph.rightToLeft = rightToLeft(textOf(paragraph));
            paragraph.lines = estimateLines(paragraph);
            paragraph.measured = paragraph.wrap->isComplete(textOf(paragraph));
        } else {
            paragraph.measured = false;
        }
    } else {
        const qsizetype from = firstParagraph->start;
        const Paragraph& lastParagraph = paragraphs_[static_cast<std::size_t>(last)];
        const qsizetype to = lastParagraph.start + lastParagraph.length + delta;
        for (auto it = firstParagraph; it != paragraphs_.begin() + last + 1; ++it)
            if (it->layout)
                --shapedCount_;
        std::vector<Paragraph> made;
        qsizetype start = from;
        for (;;) {
            qsizetype separator = text.indexOf(QChar::ParagraphSeparator, start);
            if (separator < 0 || separator > to)
                separator = to;
            made.push_back(makeParagraph(start, separator - start));
            if (separator >= to)
                break;
            start = separator + 1;
        }
        paragraphs_.erase(firstParagraph, paragraphs_.begin() + last + 1);
        afterEdit = first + static_cast<qsizetype>(made.size());
        paragraphs_.insert(paragraphs_.begin() + first, std::make_move_iterator(made.begin()),
                           std::make_move_iterator(made.end()));
    }
    for (auto it = paragraphs_.begin() + afterEdit; it != paragraphs_.end(); ++it)
        it->start += delta;
    longLines_.clear();
    prefixValid_ = std::min(prefixValid_, first);
    needsWork(first);
    emit linesChanged();
}

qsizetype LineLayout::paragraphOf(qsizetype position) const {
    const auto after = std::upper_bound(
        paragraphs_.begin(), paragraphs_.end(), position,
        [](qsizetype at, const Paragraph& paragraph) { return at < paragraph.start; });
    return std::max<qsizetype>(0, (after - paragraphs_.begin()) - 1);
}

qsizetype LineLayout::paragraphStart(qsizetype paragraph) const {
    return paragraphs_[static_cast<std::size_t>(paragraph)].start;
}

qsizetype LineLayout::paragraphEnd(qsizetype paragraph) const {
    const Paragraph& p = paragraphs_[static_cast<std::size_t>(paragraph)];
    return p.start + p.length;
}

qsizetype LineLayout::linesIn(qsizetype paragraph) const {
    return paragraphs_[static_cast<std::size_t>(paragraph)].lines;
}

bool LineLayout::isLongParagraph(qsizetype paragraph) const {
    return paragraphs_[static_cast<std::size_t>(paragraph)].wrap != nullptr;
}

std::unique_ptr<QTextLayout> LineLayout::newLayout(const QString& shown,
                                                   qsizetype documentStart) const {
    auto layout = std::make_unique<QTextLayout>(shown, font_, device_);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    const qreal dpi = device_ ? device_->logicalDpiX() : 96;
    option.setTabStopDistance(80 * dpi / 96);
    layout->setTextOption(option);
    layout->setCacheEnabled(true);
    layout->setFormats(controlPictures(shown));
    if (preeditPosition_ >= documentStart && preeditPosition_ <= documentStart + shown.size())
        layout->setPreeditArea(static_cast<int>(preeditPosition_ - documentStart), preedit_);
    return layout;
}

// Lines one under the other from 0, each as wide as the box allows, with the
// font's leading included, as QPlainTextEdit stacks them.
void LineLayout::lineUp(QTextLayout& layout, bool wrap) const {
    if (!wrap) {
        QTextOption option = layout.textOption();
        option.setWrapMode(QTextOption::NoWrap);
        layout.setTextOption(option);
    }
    layout.beginLayout();
    qreal y = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLeadingIncluded(true);
        line.setLineWidth(width_);
        line.setPosition(QPointF(0, y));
        y += line.height();
        if (line.leading() < 0)
            y += std::ceil(line.leading());
    }
    layout.endLayout();
}

QTextLayout* LineLayout::shapedLayout(qsizetype index) {
    Paragraph& paragraph = paragraphs_[static_cast<std::size_t>(index)];
    paragraph.used = ++clock_;
    if (!paragraph.layout) {
        paragraph.layout = newLayout(shownAs(textOf(paragraph)), paragraph.start);
        QTextOption option = paragraph.layout->textOption();
        option.setTextDirection(Qt::LayoutDirectionAuto);
        paragraph.layout->setTextOption(option);
        lineUp(*paragraph.layout, true);
        ++shapedCount_;
        paragraph.measured = true;
        setLines(index, paragraph.layout->lineCount());
    }
    return paragraph.layout.get();
}

void LineLayout::setLines(qsizetype index, qsizetype lines) {
    Paragraph& paragraph = paragraphs_[static_cast<std::size_t>(index)];
    if (paragraph.lines == lines)
        return;
    paragraph.lines = lines;
    prefixValid_ = std::min(prefixValid_, index);
}

// Breaks a long paragraph until line `line` and the start of the next are known.
void LineLayout::wrapLongTo(qsizetype index, qsizetype line) {
    Paragraph& paragraph = paragraphs_[static_cast<std::size_t>(index)];
    const QStringView text = textOf(paragraph);
    bool grew = false;
    while (!paragraph.wrap->isComplete(text) && paragraph.wrap->lineCount() <= line + 1) {
        paragraph.wrap->wrapMore(text, *advances_, kWrapPiece);
        grew = true;
    }
    if (grew) {
        paragraph.measured = paragraph.wrap->isComplete(text);
        setLines(index, estimateLines(paragraph));
    }
}

LineLayout::Line LineLayout::lineAt(qsizetype index, qsizetype lineIndex) {
    Line line;
    if (paragraphs_.empty())
        return line;
    index = std::clamp<qsizetype>(index, 0, paragraphCount() - 1);
    Paragraph& paragraph = paragraphs_[static_cast<std::size_t>(index)];
    line.paragraph = index;
    if (!paragraph.wrap) {
        QTextLayout* layout = shapedLayout(index);
        line.index = std::clamp<qsizetype>(lineIndex, 0, layout->lineCount() - 1);
        line.layout = layout;
        line.textLine = layout->lineAt(static_cast<int>(line.index));
        line.layoutStart = paragraph.start;
        line.start = line.fromLayout(line.textLine.textStart());
        line.end = line.fromLayout(line.textLine.textStart() + line.textLine.textLength());
        line.lastInParagraph = line.index == layout->lineCount() - 1;
        return line;
    }

    wrapLongTo(index, std::max<qsizetype>(lineIndex, 0));
    const ParagraphWrap& wrap = *paragraph.wrap;
    const QStringView text = textOf(paragraph);
    line.index = std::clamp<qsizetype>(lineIndex, 0, wrap.lineCount() - 1);
    line.lastInParagraph = line.index + 1 >= wrap.lineCount() && wrap.isComplete(text);
    const qsizetype from = wrap.start(line.index);
    const qsizetype to =
        line.index + 1 < wrap.lineCount() ? wrap.start(line.index + 1) : text.size();
    line.start = paragraph.start + from;
    line.end = paragraph.start + to;
    line.layoutStart = line.start;
    std::shared_ptr<QTextLayout>& cached = longLines_[line.start];
    if (!cached) {
        qsizetype shownTo = to;
        if (shownTo > from && text[shownTo - 1] == QChar::LineSeparator)
            --shownTo; // the separator breaks the line; it is not drawn
        cached = newLayout(shownAs(text.mid(from, shownTo - from)), line.start);
        QTextOption option = cached->textOption();
        option.setTextDirection(paragraph.rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
        cached->setTextOption(option);
        lineUp(*cached, false);
    }
    line.layout = cached.get();
    line.textLine = cached->lineAt(0);
    return line;
}

LineLayout::Line LineLayout::lineFor(qsizetype position) {
    if (paragraphs_.empty())
        return Line();
    position = std::clamp<qsizetype>(position, 0, document_->size());
    const qsizetype index = paragraphOf(position);
    Paragraph& paragraph = paragraphs_[static_cast<std::size_t>(index)];
    if (!paragraph.wrap) {
        Line probe;
        probe.layout = shapedLayout(index);
        probe.layoutStart = paragraph.start;
        return lineAt(index,
                      probe.layout->lineForTextPosition(probe.toLayout(position)).lineNumber());
    }
    const qsizetype at = position - paragraph.start;
    const QStringView text = textOf(paragraph);
    ParagraphWrap& wrap = *paragraph.wrap;
    while (!wrap.isComplete(text) &&
           (wrap.wrappedTo() <= at || wrap.lineOf(at) + 1 >= wrap.lineCount()))
        wrap.wrapMore(text, *advances_, kWrapPiece);
    setLines(index, estimateLines(paragraph));
    paragraph.measured = wrap.isComplete(text);
    return lineAt(index, wrap.lineOf(at));
}

LineLayout::Line LineLayout::next(const Line& line) {
    if (!line.isValid())
        return Line();
    if (!line.lastInParagraph)
        return lineAt(line.paragraph, line.index + 1);
    if (line.paragraph + 1 < paragraphCount())
        return lineAt(line.paragraph + 1, 0);
    return Line();
}

LineLayout::Line LineLayout::previous(const Line& line) {
    if (!line.isValid())
        return Line();
    if (line.index > 0)
        return lineAt(line.paragraph, line.index - 1);
    if (line.paragraph == 0)
        return Line();
    return lineFor(paragraphEnd(line.paragraph - 1));
}

void LineLayout::updatePrefix() {
    prefix_.resize(paragraphs_.size() + 1);
    for (qsizetype i = prefixValid_; i < paragraphCount(); ++i)
        prefix_[static_cast<std::size_t>(i) + 1] =
            prefix_[static_cast<std::size_t>(i)] + paragraphs_[static_cast<std::size_t>(i)].lines;
    prefixValid_ = paragraphCount();
}

qsizetype LineLayout::lineCount() {
    updatePrefix();
    return prefix_.back();
}

qsizetype LineLayout::lineNumber(const Line& line) {
    updatePrefix();
    return prefix_[static_cast<std::size_t>(line.paragraph)] + line.index;
}

LineLayout::Line LineLayout::lineAtNumber(qsizetype number) {
    updatePrefix();
    number = std::clamp<qsizetype>(number, 0, std::max<qsizetype>(0, prefix_.back() - 1));
    const auto after = std::upper_bound(prefix_.begin(), prefix_.end() - 1, number);
    const qsizetype index = std::max<qsizetype>(0, (after - prefix_.begin()) - 1);
    return lineAt(index, number - prefix_[static_cast<std::size_t>(index)]);
}

bool LineLayout::isComplete() const {
    return firstPending_ >= paragraphCount();
}

void LineLayout::completeNow() {
    work(-1);
}

void LineLayout::needsWork(qsizetype paragraph) {
    firstPending_ = std::min(firstPending_, paragraph);
    if (background_ && !isComplete() && !timer_.isActive())
        timer_.start(0, this);
}

void LineLayout::timerEvent(QTimerEvent* event) {
    if (event->timerId() != timer_.timerId()) {
        QObject::timerEvent(event);
        return;
    }
    work(kSliceMilliseconds);
}

// Measures the paragraphs not measured yet, in order, for `budgetMs`
// milliseconds (no limit when negative).
void LineLayout::work(qint64 budgetMs) {
    QElapsedTimer clock;
    clock.start();
    bool changed = false;
    while (firstPending_ < paragraphCount() && (budgetMs < 0 || clock.elapsed() < budgetMs)) {
        Paragraph& paragraph = paragraphs_[static_cast<std::size_t>(firstPending_)];
        const qsizetype before = paragraph.lines;
        if (paragraph.wrap) {
            const QStringView text = textOf(paragraph);
            if (!paragraph.wrap->isComplete(text))
                paragraph.wrap->wrapMore(text, *advances_, kBackgroundPiece);
            paragraph.measured = paragraph.wrap->isComplete(text);
            setLines(firstPending_, estimateLines(paragraph));
        } else if (!paragraph.measured) {
            // Measured in a layout of its own, not kept: out of view.
            auto layout = newLayout(shownAs(textOf(paragraph)), paragraph.start);
            lineUp(*layout, true);
            paragraph.measured = true;
            setLines(firstPending_, layout->lineCount());
        }
        changed = changed || paragraph.lines != before;
        if (paragraph.measured)
            ++firstPending_;
    }
    if (isComplete())
        timer_.stop();
    if (changed)
        emit linesChanged();
}

void LineLayout::prune() {
    if (shapedCount_ > kMaxShaped) {
        const quint64 keepFrom = clock_ - kMaxShaped / 2;
        for (Paragraph& paragraph : paragraphs_) {
            if (paragraph.layout && paragraph.used < keepFrom) {
                paragraph.layout.reset();
                --shapedCount_;
            }
        }
    }
    if (longLines_.size() > kMaxLongLines)
        longLines_.clear();
}

qsizetype LineLayout::nextCursorPosition(qsizetype position, QTextLayout::CursorMode mode) {
    const qsizetype index = paragraphOf(position);
    const qsizetype start = paragraphStart(index);
    const qsizetype end = paragraphEnd(index);
    if (position >= end)
        return index + 1 < paragraphCount() ? end + 1 : end;
    const qsizetype from = end - start > kShapeLimit ? position : start;
    const qsizetype to = end - start > kShapeLimit ? std::min(end, position + kWordWindow) : end;
    QTextLayout context(shownAs(QStringView(document_->text()).mid(from, to - from)));
    return from + context.nextCursorPosition(static_cast<int>(position - from), mode);
}

qsizetype LineLayout::previousCursorPosition(qsizetype position, QTextLayout::CursorMode mode) {
    const qsizetype index = paragraphOf(position);
    const qsizetype start = paragraphStart(index);
    const qsizetype end = paragraphEnd(index);
    if (position <= start)
        return std::max<qsizetype>(0, position - 1);
    const qsizetype from =
        end - start > kShapeLimit ? std::max(start, position - kWordWindow) : start;
    const qsizetype to = end - start > kShapeLimit ? position : end;
    QTextLayout context(shownAs(QStringView(document_->text()).mid(from, to - from)));
    return from + context.previousCursorPosition(static_cast<int>(position - from), mode);
}
