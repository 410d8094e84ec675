#include "ui/textbox/text_box_accessible.hpp"

#include "ui/textbox/text_box.hpp"

#include <QFontMetricsF>
#include <QScrollBar>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <mutex>

namespace {

// A value for the attribute list: quoted, with the list's own punctuation escaped.
QString quoted(QString value) {
    for (const char c : {'\\', ':', ',', '=', ';', '"'})
        value.replace(QLatin1Char(c), QStringLiteral("\\") + QLatin1Char(c));
    return QLatin1Char('"') + value + QLatin1Char('"');
}

QString rgb(const QColor& color) {
    return QStringLiteral("rgb(%1,%2,%3)").arg(color.red()).arg(color.green()).arg(color.blue());
}

QAccessibleInterface* textBoxFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("TextBox"))
        if (auto* box = qobject_cast<TextBox*>(object))
            return new TextBoxAccessible(box);
    return nullptr;
}

} // namespace

TextBoxAccessible::TextBoxAccessible(TextBox* box)
    : QAccessibleWidget(box, QAccessible::EditableText) {}

TextBox* TextBoxAccessible::box() const {
    return static_cast<TextBox*>(widget());
}

qsizetype TextBoxAccessible::size() const {
    return box()->document()->size();
}

void* TextBoxAccessible::interface_cast(QAccessible::InterfaceType type) {
    switch (type) {
    case QAccessible::TextInterface:
        return static_cast<QAccessibleTextInterface*>(this);
    case QAccessible::EditableTextInterface:
        return static_cast<QAccessibleEditableTextInterface*>(this);
    case QAccessible::ValueInterface:
        return static_cast<QAccessibleValueInterface*>(this);
    default:
        return QAccessibleWidget::interface_cast(type);
    }
}

QAccessible::State TextBoxAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.multiLine = true;
    state.selectableText = true;
    if (box()->isReadOnly())
        state.readOnly = true;
    else
        state.editable = true;
    return state;
}

QString TextBoxAccessible::text(QAccessible::Text type) const {
    if (type == QAccessible::Value)
        return currentValue().toString();
    return QAccessibleWidget::text(type);
}

void TextBoxAccessible::setText(QAccessible::Text type, const QString& text) {
    if (type == QAccessible::Value)
        setCurrentValue(text);
    else
        QAccessibleWidget::setText(type, text);
}

// Selection and caret.

void TextBoxAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const {
    *startOffset = *endOffset = 0;
    if (selectionIndex != 0 || !box()->hasSelection())
        return;
    *startOffset = static_cast<int>(box()->selectionStart());
    *endOffset = static_cast<int>(box()->selectionEnd());
}

int TextBoxAccessible::selectionCount() const {
    return box()->hasSelection() ? 1 : 0;
}

void TextBoxAccessible::addSelection(int startOffset, int endOffset) {
    // The box has one selection: a new one takes the old one's place.
    setSelection(0, startOffset, endOffset);
}

void TextBoxAccessible::removeSelection(int selectionIndex) {
    if (selectionIndex == 0 && box()->hasSelection())
        box()->setCursorPosition(box()->cursorPosition());
}

void TextBoxAccessible::setSelection(int selectionIndex, int startOffset, int endOffset) {
    if (selectionIndex != 0)
        return;
    const qsizetype start = resolve(startOffset);
    const qsizetype end = resolve(endOffset);
    if (start < 0 || end < 0)
        return;
    box()->setSelection(start, end);
}

int TextBoxAccessible::cursorPosition() const {
    return static_cast<int>(box()->cursorPosition());
}

void TextBoxAccessible::setCursorPosition(int position) {
    const qsizetype at = resolve(position);
    if (at >= 0)
        box()->setCursorPosition(at);
}

qsizetype TextBoxAccessible::resolve(int offset) const {
    if (offset == -1)
        return size();
    if (offset == -2)
        return box()->cursorPosition();
    if (offset < 0 || offset > size())
        return -1;
    return offset;
}

// Reading.

QString TextBoxAccessible::text(int startOffset, int endOffset) const {
    const qsizetype start = std::clamp<qsizetype>(startOffset, 0, size());
    const qsizetype end =
        endOffset == -1 ? size() : std::clamp<qsizetype>(endOffset, start, size());
    return TextDocument::withNewlines(box()->document()->text().mid(start, end - start));
}

int TextBoxAccessible::characterCount() const {
    return static_cast<int>(size());
}

QString TextBoxAccessible::answer(Span span, int* startOffset, int* endOffset) const {
    *startOffset = static_cast<int>(span.start);
    *endOffset = static_cast<int>(span.end);
    return text(*startOffset, *endOffset);
}

TextBoxAccessible::Span TextBoxAccessible::itemAt(qsizetype offset,
                                                  QAccessible::TextBoundaryType type) const {
    const qsizetype count = size();
    LineLayout& layout = box()->lineLayout();
    switch (type) {
    case QAccessible::CharBoundary:
    case QAccessible::WordBoundary:
    case QAccessible::SentenceBoundary:
        return boundaryItemAt(offset, type);
    case QAccessible::LineBoundary: {
        // A line runs to the next one's start, past any line separator; the
        // last of a paragraph takes the paragraph's break with it.
        LineLayout::Line line = layout.lineFor(offset);
        while (line.isValid() && !line.lastInParagraph) {
            const LineLayout::Line next = layout.next(line);
            if (!next.isValid())
                break;
            if (offset < next.start)
                return {line.start, std::max(line.end, next.start)};
            line = next;
        }
        if (!line.isValid())
            return {offset, offset};
        return {line.start, line.end < count ? line.end + 1 : line.end};
    }
    case QAccessible::ParagraphBoundary: {
        const qsizetype paragraph = layout.paragraphOf(offset);
        const qsizetype end = layout.paragraphEnd(paragraph);
        return {layout.paragraphStart(paragraph), end < count ? end + 1 : end};
    }
    case QAccessible::NoBoundary:
        break;
    }
    return {0, count};
}

TextBoxAccessible::Span
TextBoxAccessible::boundaryItemAt(qsizetype offset, QAccessible::TextBoundaryType type) const {
    const qsizetype count = size();
    if (offset >= count)
        return {count, count};

    // Characters, words and sentences all end at a line break, so only the
    // paragraph is looked at, and of a long one only a stretch around the
    // offset, widened while the item reaches the stretch's ends. An item
    // longer than `widest` (a translation with no full stop is one sentence)
    // is read in pieces cut at fixed places, so that the pieces follow one
    // another whichever offset they are asked for.
    const LineLayout& layout = box()->lineLayout();
    const qsizetype paragraph = layout.paragraphOf(offset);
    const qsizetype low = layout.paragraphStart(paragraph);
    const qsizetype high = std::min(count, layout.paragraphEnd(paragraph) + 1);
    const QTextBoundaryFinder::BoundaryType kind =
        type == QAccessible::CharBoundary   ? QTextBoundaryFinder::Grapheme
        : type == QAccessible::WordBoundary ? QTextBoundaryFinder::Word
                                            : QTextBoundaryFinder::Sentence;
    constexpr QTextBoundaryFinder::BoundaryReasons edge =
        QTextBoundaryFinder::StartOfItem | QTextBoundaryFinder::EndOfItem;
    constexpr qsizetype widest = qsizetype(1) << 16;

    const QStringView text = box()->document()->text();
    for (qsizetype reach = 256;; reach *= 8) {
        const qsizetype from = std::max(low, offset - reach);
        const qsizetype to = std::min(high, offset + reach);
        QTextBoundaryFinder finder(kind, text.mid(from, to - from));
        finder.setPosition(offset - from);
        while (finder.position() > 0 && !(finder.boundaryReasons() & edge))
            finder.toPreviousBoundary();
        const qsizetype start = from + std::max<qsizetype>(finder.position(), 0);
        qsizetype next = finder.toNextBoundary();
        while (next >= 0 && next < to - from && !(finder.boundaryReasons() & edge))
            next = finder.toNextBoundary();
        const qsizetype end = next < 0 ? to : from + next;
        const bool cutShort = (start == from && from > low) || (end == to && to < high);
        if (cutShort && reach < 2 * widest)
            continue;
        if (!cutShort && end - start <= widest)
            return {start, std::max(end, offset + 1)};
        // Every place within `widest` of the offset was in the stretch, so
        // the item's ends inside the piece are its true ends.
        const qsizetype piece = low + (offset - low) / widest * widest;
        return {std::max(start, piece), std::min(end, piece + widest)};
    }
}

QString TextBoxAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                        int* startOffset, int* endOffset) const {
    const qsizetype at = resolve(offset);
    if (at < 0) {
        *startOffset = *endOffset = -1;
        return {};
    }
    return answer(itemAt(at, boundaryType), startOffset, endOffset);
}

QString TextBoxAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                            int* startOffset, int* endOffset) const {
    const qsizetype at = resolve(offset);
    if (at < 0) {
        *startOffset = *endOffset = -1;
        return {};
    }
    const Span item = itemAt(at, boundaryType);
    if (item.start == 0) {
        *startOffset = *endOffset = 0;
        return {};
    }
    return answer(itemAt(item.start - 1, boundaryType), startOffset, endOffset);
}

QString TextBoxAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                           int* startOffset, int* endOffset) const {
    const qsizetype at = resolve(offset);
    if (at < 0) {
        *startOffset = *endOffset = -1;
        return {};
    }
    const Span item = itemAt(at, boundaryType);
    if (item.end >= size()) {
        *startOffset = *endOffset = static_cast<int>(size());
        return {};
    }
    return answer(itemAt(item.end, boundaryType), startOffset, endOffset);
}

// Geometry.

QRect TextBoxAccessible::characterRect(int offset) const {
    if (offset < 0 || offset >= size())
        return {};
    TextBox* const b = box();
    const QRect caret = b->cursorRect(offset);
    int left = caret.left();
    int width = caret.width();
    const QChar c = b->document()->at(offset);
    if (!TextDocument::isLineBreak(c)) {
        // The character runs from its caret to the next one when both are on
        // one line; otherwise (the last on a wrapped line) by its advance.
        const QRect next = b->cursorRect(offset + 1);
        if (next.top() == caret.top() && next.left() != caret.left()) {
            left = std::min(caret.left(), next.left());
            width = std::abs(next.left() - caret.left());
        } else {
            const qsizetype length = c.isHighSurrogate() && offset + 1 < size() ? 2 : 1;
            const QString character = b->document()->text().mid(offset, length);
            width = qRound(QFontMetricsF(b->lineLayout().font()).horizontalAdvance(character));
        }
    }
    const QRect inViewport(left, caret.top(), std::max(width, 1), caret.height());
    return inViewport.translated(b->viewport()->mapToGlobal(QPoint(0, 0)));
}

int TextBoxAccessible::offsetAtPoint(const QPoint& point) const {
    TextBox* const b = box();
    const qsizetype at = b->exactHitTest(b->viewport()->mapFromGlobal(point));
    if (at < 0)
        return -1;
    // The hit is the nearest caret position: on a character's right half that
    // is after the character.
    if (at > 0 && characterRect(static_cast<int>(at - 1)).contains(point))
        return static_cast<int>(at - 1);
    return at < size() ? static_cast<int>(at) : -1;
}

void TextBoxAccessible::scrollToSubstring(int startIndex, int endIndex) {
    const qsizetype start = resolve(startIndex);
    if (start < 0 || resolve(endIndex) < 0)
        return;
    TextBox* const b = box();
    const int height = b->viewport()->height();
    const QRect shown = b->cursorRect(start);
    if (shown.top() >= 0 && shown.bottom() < height)
        return;
    // The substring's first line goes to the top of the view, or as near as
    // the scroll range allows. Its place moves up as the scroll bar's value
    // grows, whatever the bar counts, so the value is found by halving.
    QScrollBar* bar = b->verticalScrollBar();
    int low = bar->minimum();
    int high = bar->maximum();
    while (low < high) {
        const int middle = low + (high - low + 1) / 2;
        bar->setValue(middle);
        if (b->cursorRect(start).top() >= 0)
            low = middle;
        else
            high = middle - 1;
    }
    bar->setValue(low);
}

QString TextBoxAccessible::attributes(int offset, int* startOffset, int* endOffset) const {
    const qsizetype at = resolve(offset);
    if (at < 0) {
        *startOffset = *endOffset = -1;
        return {};
    }
    // The whole text is in one font and one colour.
    *startOffset = 0;
    *endOffset = static_cast<int>(size());
    const QFont& font = box()->lineLayout().font();
    const QPalette palette = box()->palette();
    const char* style = font.style() == QFont::StyleItalic    ? "italic"
                        : font.style() == QFont::StyleOblique ? "oblique"
                                                              : "normal";
    QString result;
    result += QStringLiteral("background-color:%1;").arg(rgb(palette.color(QPalette::Base)));
    result += QStringLiteral("color:%1;").arg(rgb(palette.color(QPalette::Text)));
    result += QStringLiteral("font-family:%1;").arg(quoted(font.family()));
    result += QStringLiteral("font-size:%1pt;").arg(font.pointSizeF());
    result += QStringLiteral("font-style:%1;").arg(QLatin1String(style));
    result +=
        QStringLiteral("font-weight:%1;")
            .arg(font.weight() > QFont::Normal ? QLatin1String("bold") : QLatin1String("normal"));
    return result;
}

// Editing.

void TextBoxAccessible::edit(qsizetype start, qsizetype end, const QString& text) {
    if (box()->isReadOnly() || start < 0 || end < 0)
        return;
    if (start > end)
        std::swap(start, end);
    box()->document()->replace(start, end - start, TextDocument::withLineBreaks(text),
                               TextDocument::Kind::Other);
}

void TextBoxAccessible::deleteText(int startOffset, int endOffset) {
    edit(resolve(startOffset), resolve(endOffset), QString());
}

void TextBoxAccessible::insertText(int offset, const QString& text) {
    const qsizetype at = resolve(offset);
    edit(at, at, text);
}

void TextBoxAccessible::replaceText(int startOffset, int endOffset, const QString& text) {
    edit(resolve(startOffset), resolve(endOffset), text);
}

QVariant TextBoxAccessible::currentValue() const {
    const QString& text = box()->document()->text();
    // Shared, not copied, unless there are line breaks to spell as "\n".
    if (std::none_of(text.begin(), text.end(), TextDocument::isLineBreak))
        return text;
    return TextDocument::withNewlines(text);
}

void TextBoxAccessible::setCurrentValue(const QVariant& value) {
    edit(0, size(), value.toString());
}

void installTextBoxAccessibility() {
    static std::once_flag once;
    std::call_once(once, [] { QAccessible::installFactory(textBoxFactory); });
}
