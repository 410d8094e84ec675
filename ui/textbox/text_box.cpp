#include "ui/textbox/text_box.hpp"

#include "ui/textbox/line_painter.hpp"
#include "ui/textbox/text_box_accessible.hpp"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDrag>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QStyleHints>
#include <QTextCharFormat>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kMargin = 4; // around the text, as QPlainTextEdit's document margin

// The characters a double click stops at, as Qt's text boxes have them.
bool atSpace(QChar c) {
    return c == u'\t' || c == u' ' || c == QChar::Nbsp || c == QChar::LineSeparator;
}

bool atWordSeparator(QChar c) {
    return QStringView(u".,?!@#$:;-<>[](){}=/+%&^*'\"`~|\\").contains(c);
}

// What a key types, as Qt's text boxes accept it: formatting characters
// always, nothing with Ctrl or Ctrl+Shift (AltGr, Ctrl+Alt, types), then
// printable and private-use characters, surrogate pairs and tabs.
bool isTypedText(const QKeyEvent* event) {
    const QString text = event->text();
    if (text.isEmpty())
        return false;
    const QChar c = text.at(0);
    if (c.category() == QChar::Other_Format)
        return true;
    if (event->modifiers() == Qt::ControlModifier ||
        event->modifiers() == (Qt::ShiftModifier | Qt::ControlModifier))
        return false;
    return c.isPrint() || c.category() == QChar::Other_PrivateUse ||
           (c.isHighSurrogate() && text.size() > 1 && text.at(1).isLowSurrogate()) || c == u'\t';
}

// The standard editing menu's words come from Qt's own translations.
QString qtText(const char* text) {
    return QCoreApplication::translate("QWidgetTextControl", text);
}

QString withShortcut(const QString& text, QKeySequence::StandardKey key) {
    if (!QGuiApplication::styleHints()->showShortcutsInContextMenus())
        return text;
    return text + u'\t' + QKeySequence(key).toString(QKeySequence::NativeText);
}

} // namespace

TextBox::TextBox(QWidget* parent)
    : QAbstractScrollArea(parent) {
    installTextBoxAccessibility();
    ownDocument_ = new TextDocument(this);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    viewport()->setCursor(Qt::IBeamCursor);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    verticalScrollBar()->setSingleStep(1);
    setDocument(ownDocument_);
}

TextBox::~TextBox() {
    if (document_)
        disconnect(document_, nullptr, this, nullptr);
}

void TextBox::setDocument(TextDocument* document) {
    if (document_)
        disconnect(document_, nullptr, this, nullptr);
    document_ = document ? document : ownDocument_;
    // The layout follows the document before this box does, so that the box
    // finds its lines up to date.
    layout_ = std::make_unique<LineLayout>(document_);
    layout_->setFont(font());
    layout_->setWidth(textWidth());
    connect(layout_.get(), &LineLayout::linesChanged, this, [this] {
        if (!scrollBarTimer_.isActive())
            scrollBarTimer_.start(0, this);
    });
    connectDocument();
    cursor_ = anchor_ = 0;
    topPosition_ = 0;
    goalX_ = -1;
    updateScrollBar();
    viewport()->update();
}

void TextBox::connectDocument() {
    connect(document_, &TextDocument::reset, this, &TextBox::documentReset);
    connect(document_, &TextDocument::edited, this, &TextBox::documentEdited);
    connect(document_, &TextDocument::undoAvailable, this, &TextBox::undoAvailable);
    connect(document_, &TextDocument::redoAvailable, this, &TextBox::redoAvailable);
}

void TextBox::setPlainText(const QString& text) {
    document_->setPlainText(text);
}

void TextBox::setReadOnly(bool readOnly) {
    readOnly_ = readOnly;
    setAttribute(Qt::WA_InputMethodEnabled, !readOnly);
    viewport()->update();
}

qreal TextBox::textWidth() const {
    return std::max(1, viewport()->width() - 2 * kMargin);
}

// --- The document changes --------------------------------------------------

void TextBox::documentReset() {
    const qsizetype oldCursor = cursor_;
    const qsizetype oldAnchor = anchor_;
    cursor_ = anchor_ = 0;
    goalX_ = -1;
    topPosition_ = 0;
    scrolledDown_ = false;
    preedit_.clear();
    wordStart_ = wordEnd_ = blockStart_ = blockEnd_ = -1;
    updateScrollBar();
    viewport()->update();
    if (QAccessible::isActive()) {
        QAccessibleTextUpdateEvent event(this, 0, QString(),
                                         TextDocument::withNewlines(document_->text()));
        QAccessible::updateAccessibility(&event);
    }
    emit textChanged();
    announceCursor(oldCursor, oldAnchor);
    emit cursorPositionChanged();
}

// Positions after an edit move as QTextCursor's do: past an insertion made
// where they stand, to the edit's start when their text is removed.
void TextBox::documentEdited(qsizetype position, const QString& removed, const QString& inserted) {
    auto follow = [&](qsizetype& at) {
        if (at > position)
            at = at < position + removed.size() ? position : at - removed.size();
        if (at >= position)
            at += inserted.size();
    };
    const qsizetype oldCursor = cursor_;
    const qsizetype oldAnchor = anchor_;
    follow(cursor_);
    follow(anchor_);
    // The word or paragraph a click selected moves with the text, as a
    // cursor does, for Shift+click to extend from.
    for (qsizetype* remembered : {&wordStart_, &wordEnd_, &blockStart_, &blockEnd_})
        if (*remembered >= 0)
            follow(*remembered);
    if (topPosition_ > position)
        topPosition_ = topPosition_ < position + removed.size()
                           ? position
                           : topPosition_ + inserted.size() - removed.size();
    if (dropPosition_ > document_->size())
        dropPosition_ = -1;
    viewport()->update();
    if (QAccessible::isActive()) {
        const auto at = static_cast<int>(position);
        if (removed.isEmpty()) {
            QAccessibleTextInsertEvent event(this, at, TextDocument::withNewlines(inserted));
            QAccessible::updateAccessibility(&event);
        } else if (inserted.isEmpty()) {
            QAccessibleTextRemoveEvent event(this, at, TextDocument::withNewlines(removed));
            QAccessible::updateAccessibility(&event);
        } else {
            QAccessibleTextUpdateEvent event(this, at, TextDocument::withNewlines(removed),
                                             TextDocument::withNewlines(inserted));
            QAccessible::updateAccessibility(&event);
        }
    }
    updateScrollBar(); // at once, as the view may have to move back
    emit textChanged();
    if (cursor_ != oldCursor || anchor_ != oldAnchor)
        announceCursor(oldCursor, oldAnchor);
}

// --- The cursor -------------------------------------------------------------

void TextBox::setCursorPosition(qsizetype position, bool keepAnchor) {
    const qsizetype oldCursor = cursor_;
    const qsizetype oldAnchor = anchor_;
    moveCursor(position, keepAnchor);
    if (!keepAnchor)
        forgetClickSelection();
    goalX_ = -1;
    announceCursor(oldCursor, oldAnchor);
}

void TextBox::forgetClickSelection() {
    wordStart_ = wordEnd_ = blockStart_ = blockEnd_ = -1;
}

void TextBox::setSelection(qsizetype anchor, qsizetype position) {
    const qsizetype oldCursor = cursor_;
    const qsizetype oldAnchor = anchor_;
    moveCursor(anchor, false);
    moveCursor(position, true);
    goalX_ = -1;
    announceCursor(oldCursor, oldAnchor);
}

void TextBox::moveCursor(qsizetype position, bool keepAnchor) {
    position = std::clamp<qsizetype>(position, 0, document_->size());
    // Never between the halves of a surrogate pair.
    const QString& text = document_->text();
    if (position > 0 && position < text.size() && text[position].isLowSurrogate() &&
        text[position - 1].isHighSurrogate())
        position += position >= cursor_ ? 1 : -1;
    cursor_ = position;
    if (!keepAnchor)
        anchor_ = position;
    cursorOn_ = true;
    if (hasFocus() && QApplication::cursorFlashTime() > 0)
        blinkTimer_.start(QApplication::cursorFlashTime() / 2, this);
    viewport()->update();
}

void TextBox::announceCursor(qsizetype oldCursor, qsizetype oldAnchor, bool forceSelection) {
    const bool hadSelection = oldCursor != oldAnchor;
    if (cursor_ != oldCursor) {
        emit cursorPositionChanged();
        if (QAccessible::isActive()) {
            QAccessibleTextCursorEvent event(this, static_cast<int>(cursor_));
            QAccessible::updateAccessibility(&event);
        }
    }
    const bool selectionMoved =
        selectionStart() != lastSelectionStart_ || selectionEnd() != lastSelectionEnd_;
    if (forceSelection || (selectionMoved && (hasSelection() || hadSelection))) {
        emit selectionChanged();
        if (QAccessible::isActive()) {
            QAccessibleTextSelectionEvent event(this, static_cast<int>(selectionStart()),
                                                static_cast<int>(selectionEnd()));
            QAccessible::updateAccessibility(&event);
        }
    }
    if (hasSelection() != hadSelection)
        emit copyAvailable(hasSelection());
    lastSelectionStart_ = selectionStart();
    lastSelectionEnd_ = selectionEnd();
    updateMicroFocus();
    viewport()->update();
}

QString TextBox::selectedText() const {
    return document_->text().mid(selectionStart(), selectionEnd() - selectionStart());
}

qreal TextBox::cursorX(qsizetype position) {
    const LineLayout::Line line = layout_->lineFor(position);
    return line.textLine.cursorToX(line.toLayout(position));
}

// Where a move takes the cursor, as QTextCursor computes it for a document
// laid out as this box lays it out. `moved` tells whether there was a place to go.
qsizetype TextBox::movedPosition(Move move, bool keepAnchor, bool* moved) {
    const QString& text = document_->text();
    const qsizetype paragraph = layout_->paragraphOf(cursor_);
    const qsizetype paragraphStart = layout_->paragraphStart(paragraph);
    const qsizetype paragraphEnd = layout_->paragraphEnd(paragraph);
    const bool rightToLeft =
        QStringView(text)
            .mid(paragraphStart, std::min<qsizetype>(paragraphEnd - paragraphStart, 65536))
            .isRightToLeft();
    if (rightToLeft) {
        if (move == Move::WordLeft)
            move = Move::NextWord;
        else if (move == Move::WordRight)
            move = Move::PreviousWord;
        else if (move == Move::Left)
            move = Move::NextCharacter;
        else if (move == Move::Right)
            move = Move::PreviousCharacter;
    }
    if (moved)
        *moved = true;
    const bool collapse = !keepAnchor && cursor_ != anchor_;
    switch (move) {
    case Move::Left:
    case Move::PreviousCharacter:
        return collapse ? std::min(cursor_, anchor_)
                        : layout_->previousCursorPosition(cursor_, QTextLayout::SkipCharacters);
    case Move::Right:
    case Move::NextCharacter:
        return collapse ? std::max(cursor_, anchor_)
                        : layout_->nextCursorPosition(cursor_, QTextLayout::SkipCharacters);
    case Move::WordLeft:
    case Move::PreviousWord:
        return layout_->previousCursorPosition(cursor_, QTextLayout::SkipWords);
    case Move::WordRight:
    case Move::NextWord:
        return layout_->nextCursorPosition(cursor_, QTextLayout::SkipWords);
    case Move::StartOfLine:
        return layout_->lineFor(cursor_).start;
    case Move::EndOfLine: {
        const LineLayout::Line line = layout_->lineFor(cursor_);
        if (line.end == line.start)
            return paragraphEnd;
        qsizetype end = std::min(line.end, document_->size());
        // A wrapped line ends before the space it broke at.
        if (!line.lastInParagraph && text[end - 1].isSpace())
            --end;
        return end;
    }
    case Move::StartOfBlock:
        return paragraphStart;
    case Move::EndOfBlock:
        return paragraphEnd;
    case Move::StartOfWord: {
        const qsizetype at = cursor_ - paragraphStart;
        if (at == 0)
            return cursor_;
        if (cursor_ == paragraphEnd &&
            (atSpace(text[cursor_ - 1]) || atWordSeparator(text[cursor_ - 1]))) {
            if (moved)
                *moved = false;
            return cursor_;
        }
        return layout_->previousCursorPosition(cursor_ < paragraphEnd ? cursor_ + 1 : cursor_,
                                               QTextLayout::SkipWords);
    }
    case Move::EndOfWord: {
        qsizetype at = cursor_;
        if (at >= paragraphEnd) {
            if (moved)
                *moved = false;
            return cursor_;
        }
        if (atWordSeparator(text[at])) {
            ++at;
            while (at < paragraphEnd && atWordSeparator(text[at]))
                ++at;
        } else {
            while (at < paragraphEnd && !atSpace(text[at]) && !atWordSeparator(text[at]))
                ++at;
        }
        return at;
    }
    case Move::Up:
    case Move::Down: {
        if (goalX_ < 0)
            goalX_ = cursorX(cursor_);
        const LineLayout::Line here = layout_->lineFor(cursor_);
        const LineLayout::Line there =
            move == Move::Up ? layout_->previous(here) : layout_->next(here);
        if (!there.isValid()) {
            if (moved)
                *moved = false;
            return cursor_;
        }
        return there.fromLayout(there.textLine.xToCursor(goalX_));
    }
    case Move::Start:
        return 0;
    case Move::End:
        return document_->size();
    }
    return cursor_;
}

bool TextBox::movePosition(Move move, bool keepAnchor) {
    bool possible = true;
    const qsizetype position = movedPosition(move, keepAnchor, &possible);
    if (!possible)
        return false;
    const bool vertical = move == Move::Up || move == Move::Down;
    const bool changed = position != cursor_ || (!keepAnchor && anchor_ != cursor_);
    const qreal keepX = goalX_;
    moveCursor(position, keepAnchor);
    goalX_ = vertical ? keepX : -1;
    return possible && changed;
}

// --- Keys -------------------------------------------------------------------

bool TextBox::cursorMoveKey(QKeyEvent* event) {
    struct Binding {
        QKeySequence::StandardKey key;
        Move move;
        bool select;
    };
    static const Binding bindings[] = {
        {QKeySequence::MoveToNextChar, Move::Right, false},
        {QKeySequence::MoveToPreviousChar, Move::Left, false},
        {QKeySequence::SelectNextChar, Move::Right, true},
        {QKeySequence::SelectPreviousChar, Move::Left, true},
        {QKeySequence::SelectNextWord, Move::WordRight, true},
        {QKeySequence::SelectPreviousWord, Move::WordLeft, true},
        {QKeySequence::SelectStartOfLine, Move::StartOfLine, true},
        {QKeySequence::SelectEndOfLine, Move::EndOfLine, true},
        {QKeySequence::SelectStartOfBlock, Move::StartOfBlock, true},
        {QKeySequence::SelectEndOfBlock, Move::EndOfBlock, true},
        {QKeySequence::SelectStartOfDocument, Move::Start, true},
        {QKeySequence::SelectEndOfDocument, Move::End, true},
        {QKeySequence::SelectPreviousLine, Move::Up, true},
        {QKeySequence::SelectNextLine, Move::Down, true},
        {QKeySequence::MoveToNextWord, Move::WordRight, false},
        {QKeySequence::MoveToPreviousWord, Move::WordLeft, false},
        {QKeySequence::MoveToEndOfBlock, Move::EndOfBlock, false},
        {QKeySequence::MoveToStartOfBlock, Move::StartOfBlock, false},
        {QKeySequence::MoveToNextLine, Move::Down, false},
        {QKeySequence::MoveToPreviousLine, Move::Up, false},
        {QKeySequence::MoveToStartOfLine, Move::StartOfLine, false},
        {QKeySequence::MoveToEndOfLine, Move::EndOfLine, false},
        {QKeySequence::MoveToStartOfDocument, Move::Start, false},
        {QKeySequence::MoveToEndOfDocument, Move::End, false},
    };
    const Binding* found = nullptr;
    for (const Binding& binding : bindings)
        if (event->matches(binding.key)) {
            found = &binding;
            break;
        }
    if (!found)
        return false;
    Move move = found->move;
    // Shift+Up on the first line selects to its start, Shift+Down on the last
    // to its end, as in Qt's boxes.
    if (found->select && (move == Move::Up || move == Move::Down)) {
        const LineLayout::Line here = layout_->lineFor(cursor_);
        if (move == Move::Up && !layout_->previous(here).isValid())
            move = Move::StartOfBlock;
        else if (move == Move::Down && !layout_->next(here).isValid())
            move = Move::EndOfBlock;
    }
    const qsizetype oldCursor = cursor_;
    const qsizetype oldAnchor = anchor_;
    movePosition(move, found->select);
    ensureCursorVisible();
    announceCursor(oldCursor, oldAnchor, found->select);
    return true;
}

// Page Up and Page Down scroll by a page as QPlainTextEdit does: the line
// cut by the bottom edge becomes the top one (or the other way round), and
// the cursor follows line by line to where it stood on the screen.
void TextBox::pageUpDown(bool down, bool keepAnchor) {
    const qsizetype oldCursor = cursor_;
    const qsizetype oldAnchor = anchor_;
    ensureCursorVisible();
    const qreal height = viewport()->height();
    if (pageCursorY_ < 0)
        pageCursorY_ = cursorRect().top();
    qreal lastY = pageCursorY_;
    const LineLayout::Line top = topLine();
    if (down) {
        qreal y = topMargin(top);
        LineLayout::Line line = top;
        bool atEnd = false;
        while (y + line.height() <= height) {
            const LineLayout::Line below = layout_->next(line);
            if (!below.isValid()) {
                atEnd = true;
                lastY = height; // to the last line
                break;
            }
            y += line.height();
            line = below;
        }
        if (!atEnd)
            setTopLine(line);
        while (cursorRect().top() < lastY && movePosition(Move::Down, keepAnchor)) {
        }
    } else {
        LineLayout::Line line = top;
        qreal above = 0;
        for (LineLayout::Line previous = layout_->previous(line); previous.isValid();
             previous = layout_->previous(line)) {
            if (above + previous.height() > height + topMargin(top))
                break;
            above += previous.height();
            line = previous;
        }
        if (!layout_->previous(top).isValid())
            lastY = 0; // to the first line
        setTopLine(line);
        while (cursorRect().top() > lastY && movePosition(Move::Up, keepAnchor)) {
        }
    }
    pageCursorY_ = lastY;
    announceCursor(oldCursor, oldAnchor, keepAnchor);
}

bool TextBox::editKey(QKeyEvent* event) {
    const qsizetype oldCursor = cursor_;
    const qsizetype oldAnchor = anchor_;
    const QString& text = document_->text();
    if (event->key() == Qt::Key_Backspace && !(event->modifiers() & ~Qt::ShiftModifier)) {
        if (hasSelection()) {
            replaceSelection(QString(), TextDocument::Kind::Other);
        } else if (cursor_ > 0) {
            // One character back: a surrogate pair whole, a combining mark alone.
            qsizetype from = cursor_ - 1;
            if (from > 0 && text[from].isLowSurrogate() && text[from - 1].isHighSurrogate())
                --from;
            document_->replace(from, cursor_ - from, QString(), TextDocument::Kind::Deleting);
            moveCursor(from, false);
        }
    } else if (event->matches(QKeySequence::InsertParagraphSeparator)) {
        replaceSelection(QString(QChar::ParagraphSeparator), TextDocument::Kind::LineBreak);
    } else if (event->matches(QKeySequence::InsertLineSeparator)) {
        replaceSelection(QString(QChar::LineSeparator), TextDocument::Kind::Typing);
    } else if (event->matches(QKeySequence::Undo)) {
        undo();
    } else if (event->matches(QKeySequence::Redo)) {
        redo();
    } else if (event->matches(QKeySequence::Cut)) {
        cut();
    } else if (event->matches(QKeySequence::Paste)) {
        QClipboard::Mode mode = QClipboard::Clipboard;
        if (QGuiApplication::clipboard()->supportsSelection() &&
            event->modifiers() == (Qt::ControlModifier | Qt::ShiftModifier) &&
            event->key() == Qt::Key_Insert)
            mode = QClipboard::Selection;
        insertFromMimeData(QGuiApplication::clipboard()->mimeData(mode));
    } else if (event->matches(QKeySequence::Delete)) {
        if (hasSelection()) {
            replaceSelection(QString(), TextDocument::Kind::Other);
        } else if (cursor_ < document_->size()) {
            // One whole character forward, as the user sees characters.
            const qsizetype to = layout_->nextCursorPosition(cursor_, QTextLayout::SkipCharacters);
            document_->replace(cursor_, to - cursor_, QString(), TextDocument::Kind::Deleting);
            moveCursor(cursor_, false);
        }
    } else if (event->matches(QKeySequence::DeleteEndOfWord)) {
        if (!hasSelection())
            moveCursor(movedPosition(Move::NextWord, true), true);
        replaceSelection(QString(), TextDocument::Kind::Other);
    } else if (event->matches(QKeySequence::DeleteStartOfWord)) {
        if (!hasSelection())
            moveCursor(movedPosition(Move::PreviousWord, true), true);
        replaceSelection(QString(), TextDocument::Kind::Other);
    } else if (event->matches(QKeySequence::DeleteEndOfLine)) {
        const qsizetype end = layout_->paragraphEnd(layout_->paragraphOf(cursor_));
        moveCursor(cursor_ == end - 1 ? movedPosition(Move::Right, true) : end, true);
        replaceSelection(QString(), TextDocument::Kind::Other);
    } else {
        if (!isTypedText(event))
            return false;
        replaceSelection(event->text(), TextDocument::Kind::Typing);
    }
    goalX_ = -1;
    announceCursor(oldCursor, oldAnchor);
    return true;
}

void TextBox::keyPressEvent(QKeyEvent* event) {
    const bool page = event->matches(QKeySequence::SelectPreviousPage) ||
                      event->matches(QKeySequence::SelectNextPage) ||
                      event->matches(QKeySequence::MoveToPreviousPage) ||
                      event->matches(QKeySequence::MoveToNextPage);
    if (!page)
        pageCursorY_ = -1;
    if (event->matches(QKeySequence::SelectAll)) {
        selectAll();
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Copy)) {
        copy();
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::SelectPreviousPage)) {
        pageUpDown(false, true);
    } else if (event->matches(QKeySequence::SelectNextPage)) {
        pageUpDown(true, true);
    } else if (event->matches(QKeySequence::MoveToPreviousPage)) {
        pageUpDown(false, false);
    } else if (event->matches(QKeySequence::MoveToNextPage)) {
        pageUpDown(true, false);
    } else if (!cursorMoveKey(event)) {
        if (readOnly_ || !editKey(event)) {
            event->ignore();
            return;
        }
    }
    event->accept();
    cursorOn_ = true;
    ensureCursorVisible();
}

// Keys the box handles itself are not taken as shortcuts of the window.
bool TextBox::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride && !readOnly_) {
        auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers modifiers = key->modifiers();
        if (modifiers == Qt::NoModifier || modifiers == Qt::ShiftModifier ||
            modifiers == Qt::KeypadModifier) {
            if (key->key() < Qt::Key_Escape) {
                key->accept();
            } else {
                switch (key->key()) {
                case Qt::Key_Return:
                case Qt::Key_Enter:
                case Qt::Key_Delete:
                case Qt::Key_Home:
                case Qt::Key_End:
                case Qt::Key_Backspace:
                case Qt::Key_Left:
                case Qt::Key_Right:
                case Qt::Key_Up:
                case Qt::Key_Down:
                    key->accept();
                    break;
                default:
                    break;
                }
            }
        } else {
            for (auto standard :
                 {QKeySequence::Copy, QKeySequence::Paste, QKeySequence::Cut, QKeySequence::Redo,
                  QKeySequence::Undo, QKeySequence::MoveToNextWord,
                  QKeySequence::MoveToPreviousWord, QKeySequence::MoveToStartOfDocument,
                  QKeySequence::MoveToEndOfDocument, QKeySequence::SelectNextWord,
                  QKeySequence::SelectPreviousWord, QKeySequence::SelectStartOfLine,
                  QKeySequence::SelectEndOfLine, QKeySequence::SelectStartOfBlock,
                  QKeySequence::SelectEndOfBlock, QKeySequence::SelectStartOfDocument,
                  QKeySequence::SelectEndOfDocument, QKeySequence::SelectAll})
                if (key->matches(standard))
                    key->accept();
        }
        return true;
    }
    return QAbstractScrollArea::event(event);
}

// --- Editing ----------------------------------------------------------------

void TextBox::replaceSelection(const QString& with, TextDocument::Kind kind) {
    if (readOnly_)
        return;
    const qsizetype from = selectionStart();
    document_->replace(from, selectionEnd() - from, with, kind);
    moveCursor(from + with.size(), false);
    goalX_ = -1;
}

void TextBox::selectAll() {
    const qsizetype oldCursor = cursor_;
    const qsizetype oldAnchor = anchor_;
    moveCursor(0, false);
    moveCursor(document_->size(), true);
    announceCursor(oldCursor, oldAnchor);
}

QMimeData* TextBox::mimeDataFromSelection() const {
    // As QPlainTextEdit gives it: line breaks as "\n", no-break spaces as spaces.
    auto* data = new QMimeData;
    data->setText(TextDocument::withNewlines(selectedText()).replace(QChar::Nbsp, u' '));
    return data;
}

void TextBox::copy() const {
    if (hasSelection())
        QGuiApplication::clipboard()->setMimeData(mimeDataFromSelection());
}

void TextBox::cut() {
    if (readOnly_ || !hasSelection())
        return;
    const qsizetype oldCursor = cursor_;
    const qsizetype oldAnchor = anchor_;
    copy();
    replaceSelection(QString(), TextDocument::Kind::Other);
    announceCursor(oldCursor, oldAnchor);
}

void TextBox::paste() {
    const qsizetype oldCursor = cursor_;
    const qsizetype oldAnchor = anchor_;
    insertFromMimeData(QGuiApplication::clipboard()->mimeData());
    announceCursor(oldCursor, oldAnchor);
    ensureCursorVisible();
}

void TextBox::insertFromMimeData(const QMimeData* data) {
    if (readOnly_ || !data || !data->hasText() || data->text().isEmpty())
        return;
    replaceSelection(TextDocument::withLineBreaks(data->text()), TextDocument::Kind::Other);
}

void TextBox::undo() {
    stepThroughHistory(&TextDocument::undo);
}

void TextBox::redo() {
    stepThroughHistory(&TextDocument::redo);
}

// Undoes or redoes a step; the cursor goes where the document says.
void TextBox::stepThroughHistory(qsizetype (TextDocument::*step)()) {
    commitPreedit();
    const qsizetype oldCursor = cursor_;
    const qsizetype oldAnchor = anchor_;
    const qsizetype at = (document_->*step)();
    if (at < 0)
        return;
    moveCursor(at, false);
    goalX_ = -1;
    ensureCursorVisible();
    announceCursor(oldCursor, oldAnchor);
}

// --- Lines on screen --------------------------------------------------------

LineLayout::Line TextBox::topLine() {
    return layout_->lineFor(topPosition_);
}

// Only the first line of the text has the margin above it.
// Where the top line starts in the view, as QPlainTextEdit places it: below
// the margin at the very top and at 0 on a paragraph's first line. Inside a
// paragraph the lines stand on whole pixels from the top of the text, so a
// line scrolled to from above shows the last pixel of the leading above it.
qreal TextBox::topMargin(const LineLayout::Line& top) const {
    if (top.paragraph == 0 && top.index == 0)
        return kMargin;
    return top.index > 0 && scrolledDown_ ? 1 : 0;
}

// The top of `line` in the viewport; lines far out of view are placed by
// their number at the font's line spacing.
qreal TextBox::lineTop(const LineLayout::Line& line) {
    const LineLayout::Line top = topLine();
    const qsizetype distance = layout_->lineNumber(line) - layout_->lineNumber(top);
    const qsizetype near =
        static_cast<qsizetype>(viewport()->height() / layout_->lineSpacing()) + 256;
    qreal y = topMargin(top);
    if (distance > near || distance < -near)
        return y + distance * layout_->lineSpacing();
    LineLayout::Line walk = top;
    for (qsizetype i = 0; i < distance && walk.isValid(); ++i) {
        y += walk.height();
        walk = layout_->next(walk);
    }
    for (qsizetype i = 0; i > distance && walk.isValid(); --i) {
        walk = layout_->previous(walk);
        if (walk.isValid())
            y -= walk.height();
    }
    return y;
}

void TextBox::setTopLine(const LineLayout::Line& line) {
    if (!line.isValid())
        return;
    const qsizetype from = layout_->lineNumber(topLine());
    const qsizetype to = layout_->lineNumber(line);
    if (to != from)
        scrolledDown_ = to > from;
    topPosition_ = line.start;
    syncingScrollBar_ = true;
    verticalScrollBar()->setValue(static_cast<int>(
        std::min<qsizetype>(layout_->lineNumber(line), std::numeric_limits<int>::max())));
    syncingScrollBar_ = false;
    viewport()->update();
}

void TextBox::ensureCursorVisible() {
    const LineLayout::Line line = layout_->lineFor(cursor_);
    const LineLayout::Line top = topLine();
    if (layout_->lineNumber(line) < layout_->lineNumber(top)) {
        setTopLine(line);
        return;
    }
    const qreal height = viewport()->height();
    if (lineTop(line) + line.height() <= height)
        return;
    // The cursor's line becomes the last one fully in view.
    LineLayout::Line first = line;
    qreal used = line.height();
    for (LineLayout::Line above = layout_->previous(first); above.isValid();
         above = layout_->previous(first)) {
        const qreal margin = above.paragraph == 0 ? kMargin : 0;
        if (used + above.height() + margin > height)
            break;
        used += above.height();
        first = above;
    }
    setTopLine(first);
}

void TextBox::updateScrollBar() {
    const qsizetype total = layout_->lineCount();
    // How many of the last lines fit, with the margin below the text: the
    // range ends with them in view.
    const qreal visible = viewport()->height() - 2 * kMargin - 1;
    qsizetype fitting = 0;
    const qsizetype last = layout_->paragraphCount() - 1;
    if (layout_->isComplete() || !layout_->isLongParagraph(last)) {
        qreal used = 0;
        for (LineLayout::Line line = layout_->lineFor(document_->size());
             line.isValid() && used + line.height() <= visible; line = layout_->previous(line)) {
            used += line.height();
            ++fitting;
        }
    } else {
        fitting = static_cast<qsizetype>(visible / layout_->lineSpacing());
    }
    fitting = std::max<qsizetype>(1, fitting);
    const auto clampInt = [](qsizetype n) {
        return static_cast<int>(std::min<qsizetype>(n, std::numeric_limits<int>::max()));
    };
    QScrollBar* bar = verticalScrollBar();
    syncingScrollBar_ = true;
    bar->setRange(0, clampInt(std::max<qsizetype>(0, total - fitting)));
    bar->setPageStep(clampInt(fitting));
    const qsizetype topNumber = layout_->lineNumber(topLine());
    bar->setValue(clampInt(topNumber));
    syncingScrollBar_ = false;
    if (bar->value() != topNumber) {
        topPosition_ = layout_->lineAtNumber(bar->value()).start;
        scrolledDown_ = bar->value() > topNumber;
    }
    viewport()->update();
}

void TextBox::scrollContentsBy(int, int) {
    if (syncingScrollBar_)
        return;
    const qsizetype from = layout_->lineNumber(topLine());
    const qsizetype to = verticalScrollBar()->value();
    if (to != from)
        scrolledDown_ = to > from;
    topPosition_ = layout_->lineAtNumber(to).start;
    viewport()->update();
    updateMicroFocus();
}

qsizetype TextBox::lineCount() {
    layout_->completeNow();
    return layout_->lineCount();
}

QRect TextBox::cursorRect(qsizetype position) {
    const LineLayout::Line line = layout_->lineFor(position);
    const int preedit = position == cursor_ && !preedit_.isEmpty() ? preeditCursor_ : 0;
    const qreal x = kMargin + line.textLine.cursorToX(line.toLayout(position) + preedit);
    return QRectF(x, lineTop(line), 1, line.height()).toRect();
}

// The position nearest to `point`, found as QPlainTextEdit finds it: above
// the text it is the text's start, below it the end, beside a line the
// line's nearest end.
qsizetype TextBox::hitTest(const QPointF& point) {
    LineLayout::Line line = topLine();
    if (!line.isValid())
        return 0;
    qreal y = topMargin(line);
    while (point.y() < y) {
        const LineLayout::Line above = layout_->previous(line);
        if (!above.isValid())
            return line.start;
        line = above;
        y -= line.height();
    }
    while (point.y() >= y + line.height()) {
        const LineLayout::Line below = layout_->next(line);
        if (!below.isValid())
            return line.end;
        y += line.height();
        line = below;
    }
    return line.fromLayout(line.textLine.xToCursor(point.x() - kMargin));
}

qsizetype TextBox::exactHitTest(const QPointF& point) {
    const qsizetype position = hitTest(point);
    const QRect caret = cursorRect(position);
    const bool onLine = point.y() >= caret.top() && point.y() <= caret.bottom();
    return onLine ? position : -1;
}

// --- Painting ---------------------------------------------------------------

void TextBox::paintEvent(QPaintEvent*) {
    layout_->prune();
    QPainter painter(viewport());
    const QPalette& colours = palette();
    QTextCharFormat selected;
    selected.setBackground(colours.brush(QPalette::Highlight));
    selected.setForeground(colours.brush(QPalette::HighlightedText));
    QList<LineSelection> selections;
    if (hasSelection())
        selections.append({selectionStart(), selectionEnd(), selected});
    const bool showCursor =
        hasFocus() && cursorOn_ && !readOnly_ && !(hideCursor_ && !preedit_.isEmpty());

    LineLayout::Line line = topLine();
    qreal y = topMargin(line);
    const qreal bottom = viewport()->height();
    painter.setPen(colours.text().color());
    while (line.isValid() && y < bottom) {
        const QPointF at(kMargin, y);
        paintLine(painter, line, at, selections);
        const bool onLine = cursor_ >= line.start &&
                            (cursor_ < line.end || (cursor_ == line.end && line.lastInParagraph));
        if (showCursor && onLine)
            paintCursor(painter, line, at, cursor_, 1, preedit_.isEmpty() ? 0 : preeditCursor_);
        if (dropPosition_ >= line.start &&
            (dropPosition_ < line.end || (dropPosition_ == line.end && line.lastInParagraph)))
            paintCursor(painter, line, at, dropPosition_);
        y += line.height();
        line = layout_->next(line);
    }
}

// The top line stays the same line of the same paragraph, as in
// QPlainTextEdit, however the paragraph wraps now.
void TextBox::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    // Up and Down keep aiming at the column the caret had before the lines
    // wrapped anew, as QTextCursor keeps its x.
    if (goalX_ < 0 && document_->size() > 0)
        goalX_ = cursorX(cursor_);
    const LineLayout::Line top = topLine();
    layout_->setWidth(textWidth());
    if (top.isValid())
        topPosition_ = layout_->lineAt(top.paragraph, top.index).start;
    updateScrollBar();
}

void TextBox::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        layout_->setFont(font());
        updateScrollBar();
    }
    QAbstractScrollArea::changeEvent(event);
}

void TextBox::focusInEvent(QFocusEvent* event) {
    cursorOn_ = true;
    if (QApplication::cursorFlashTime() > 0)
        blinkTimer_.start(QApplication::cursorFlashTime() / 2, this);
    viewport()->update();
    QAbstractScrollArea::focusInEvent(event);
}

void TextBox::focusOutEvent(QFocusEvent* event) {
    blinkTimer_.stop();
    viewport()->update();
    QAbstractScrollArea::focusOutEvent(event);
}

void TextBox::timerEvent(QTimerEvent* event) {
    if (event->timerId() == blinkTimer_.timerId()) {
        cursorOn_ = !cursorOn_;
        viewport()->update();
    } else if (event->timerId() == tripleClickTimer_.timerId()) {
        tripleClickTimer_.stop();
    } else if (event->timerId() == scrollBarTimer_.timerId()) {
        scrollBarTimer_.stop();
        updateScrollBar();
    } else if (event->timerId() == autoScrollTimer_.timerId()) {
        // While a selection is dragged past an edge, scroll on, faster the
        // farther the pointer is, and extend the selection with it.
        const QRect visible = viewport()->rect();
        const QPoint at = viewport()->mapFromGlobal(QCursor::pos());
        QMouseEvent move(QEvent::MouseMove, at, viewport()->mapToGlobal(at), Qt::LeftButton,
                         Qt::LeftButton, QGuiApplication::keyboardModifiers());
        mouseMoveEvent(&move);
        const int delta =
            std::max(at.y() - visible.top(), visible.bottom() - at.y()) - visible.height();
        if (delta >= 0) {
            const int speed = std::max(delta, 7);
            autoScrollTimer_.start(4900 / (speed * speed), this);
            verticalScrollBar()->triggerAction(at.y() < visible.center().y()
                                                   ? QAbstractSlider::SliderSingleStepSub
                                                   : QAbstractSlider::SliderSingleStepAdd);
        }
    } else {
        QAbstractScrollArea::timerEvent(event);
    }
}

// --- Mouse ------------------------------------------------------------------

void TextBox::selectWordUnderCursor() {
    moveCursor(movedPosition(Move::StartOfWord, false), false);
    moveCursor(movedPosition(Move::EndOfWord, true), true);
}

// Dragging after a double click selects whole words: the nearer end of the
// word under the pointer, the first word kept.
void TextBox::extendWordwise(qsizetype position, qreal x) {
    if (position >= wordStart_ && position <= wordEnd_) {
        moveCursor(wordStart_, false);
        moveCursor(wordEnd_, true);
        return;
    }
    const qsizetype keepStart = wordStart_, keepEnd = wordEnd_;
    const qsizetype saved = cursor_;
    cursor_ = position;
    bool possible = true;
    const qsizetype start = movedPosition(Move::StartOfWord, true, &possible);
    cursor_ = start;
    const qsizetype end = movedPosition(Move::EndOfWord, true);
    cursor_ = saved;
    if (!possible)
        return;
    const LineLayout::Line line = layout_->lineFor(start);
    const LineLayout::Line endLine = layout_->lineFor(end);
    if (endLine.start != line.start || end == start)
        return;
    const qreal startX = kMargin + line.textLine.cursorToX(line.toLayout(start));
    const qreal endX = kMargin + line.textLine.cursorToX(line.toLayout(end));
    if (x < startX || x > endX)
        return;
    moveCursor(position < keepStart ? keepEnd : keepStart, false);
    moveCursor(x - startX < endX - x ? start : end, true);
    wordStart_ = keepStart;
    wordEnd_ = keepEnd;
}

// Dragging after a triple click selects whole paragraphs.
void TextBox::extendBlockwise(qsizetype position) {
    const qsizetype keepStart = blockStart_, keepEnd = blockEnd_;
    if (position >= blockStart_ && position <= blockEnd_) {
        moveCursor(blockStart_, false);
        moveCursor(blockEnd_, true);
    } else if (position < blockStart_) {
        moveCursor(blockEnd_, false);
        moveCursor(layout_->paragraphStart(layout_->paragraphOf(position)), true);
    } else {
        moveCursor(blockStart_, false);
        const qsizetype paragraph = layout_->paragraphOf(position);
        const qsizetype end = layout_->paragraphEnd(paragraph);
        moveCursor(paragraph + 1 < layout_->paragraphCount() ? end + 1 : end, true);
    }
    blockStart_ = keepStart;
    blockEnd_ = keepEnd;
}

void TextBox::setClipboardSelection() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (hasSelection() && clipboard->supportsSelection())
        clipboard->setMimeData(mimeDataFromSelection(), QClipboard::Selection);
}

void TextBox::mousePressEvent(QMouseEvent* event) {
    mousePressPos_ = event->position().toPoint();
    mightStartDrag_ = false;
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    const qsizetype oldCursor = cursor_;
    const qsizetype oldAnchor = anchor_;
    mousePressed_ = true;
    commitPreedit();
    const QPointF point = event->position();
    if (tripleClickTimer_.isActive() &&
        (point - tripleClickPoint_).manhattanLength() < QApplication::startDragDistance()) {
        const qsizetype paragraph = layout_->paragraphOf(cursor_);
        const qsizetype end = layout_->paragraphEnd(paragraph);
        moveCursor(layout_->paragraphStart(paragraph), false);
        moveCursor(paragraph + 1 < layout_->paragraphCount() ? end + 1 : end, true);
        blockStart_ = anchor_;
        blockEnd_ = cursor_;
        tripleClickTimer_.stop();
    } else {
        const qsizetype position = hitTest(point);
        if (event->modifiers() == Qt::ShiftModifier) {
            if (blockStart_ >= 0 && blockStart_ != blockEnd_)
                extendBlockwise(position);
            else if (wordStart_ >= 0 && wordStart_ != wordEnd_)
                extendWordwise(position, point.x());
            else
                moveCursor(position, true);
        } else {
            if (hasSelection() && position >= selectionStart() && position <= selectionEnd() &&
                !readOnly_) {
                mightStartDrag_ = true;
                return;
            }
            moveCursor(position, false);
            forgetClickSelection();
        }
    }
    goalX_ = -1;
    ensureCursorVisible();
    announceCursor(oldCursor, oldAnchor);
}

void TextBox::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const QPoint at = event->position().toPoint();
    if (event->source() == Qt::MouseEventNotSynthesized) {
        if (viewport()->rect().contains(at))
            autoScrollTimer_.stop();
        else if (!autoScrollTimer_.isActive())
            autoScrollTimer_.start(100, this);
    }
    if (mightStartDrag_) {
        if ((at - mousePressPos_).manhattanLength() > QApplication::startDragDistance())
            startDrag();
        return;
    }
    if (!mousePressed_)
        return;
    const qsizetype oldCursor = cursor_;
    const qsizetype oldAnchor = anchor_;
    const qsizetype position = hitTest(event->position());
    if (blockStart_ >= 0 && blockStart_ != blockEnd_)
        extendBlockwise(position);
    else if (wordStart_ >= 0 && wordStart_ != wordEnd_)
        extendWordwise(position, event->position().x());
    else
        moveCursor(position, true);
    goalX_ = -1;
    announceCursor(oldCursor, oldAnchor, true);
}

void TextBox::mouseReleaseEvent(QMouseEvent* event) {
    // A drag that went past an edge ends with the cursor in view.
    if (event->source() == Qt::MouseEventNotSynthesized && autoScrollTimer_.isActive()) {
        autoScrollTimer_.stop();
        ensureCursorVisible();
    }
    const qsizetype oldCursor = cursor_;
    const qsizetype oldAnchor = anchor_;
    if (mightStartDrag_ && event->button() == Qt::LeftButton) {
        mousePressed_ = false;
        mightStartDrag_ = false;
        moveCursor(hitTest(event->position()), false);
    }
    if (mousePressed_) {
        mousePressed_ = false;
        setClipboardSelection();
        announceCursor(oldCursor, oldAnchor, true);
        return;
    }
    if (event->button() == Qt::MiddleButton && !readOnly_ &&
        QGuiApplication::clipboard()->supportsSelection()) {
        moveCursor(hitTest(event->position()), false);
        insertFromMimeData(QGuiApplication::clipboard()->mimeData(QClipboard::Selection));
        ensureCursorVisible();
    }
    goalX_ = -1;
    announceCursor(oldCursor, oldAnchor);
}

void TextBox::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    mightStartDrag_ = false;
    commitPreedit();
    const qsizetype oldCursor = cursor_;
    const qsizetype oldAnchor = anchor_;
    moveCursor(hitTest(event->position()), false);
    const LineLayout::Line line = layout_->lineFor(cursor_);
    const bool word = line.end > line.start;
    if (word)
        selectWordUnderCursor();
    wordStart_ = anchor_;
    wordEnd_ = cursor_;
    tripleClickPoint_ = event->position();
    tripleClickTimer_.start(QApplication::doubleClickInterval(), this);
    mousePressed_ = hasSelection(); // dragging on from a word selects whole words
    goalX_ = -1;
    if (word)
        setClipboardSelection();
    announceCursor(oldCursor, oldAnchor);
}

// The usual editing menu of a Qt text box, in Qt's own words.
void TextBox::contextMenuEvent(QContextMenuEvent* event) {
    if (!hasFocus())
        return;
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QAction* action = nullptr;
    if (!readOnly_) {
        action = menu->addAction(withShortcut(qtText("&Undo"), QKeySequence::Undo), this,
                                 &TextBox::undo);
        action->setEnabled(document_->isUndoAvailable());
        action->setObjectName(QStringLiteral("edit-undo"));
        action = menu->addAction(withShortcut(qtText("&Redo"), QKeySequence::Redo), this,
                                 &TextBox::redo);
        action->setEnabled(document_->isRedoAvailable());
        action->setObjectName(QStringLiteral("edit-redo"));
        menu->addSeparator();
        action =
            menu->addAction(withShortcut(qtText("Cu&t"), QKeySequence::Cut), this, &TextBox::cut);
        action->setEnabled(hasSelection());
        action->setObjectName(QStringLiteral("edit-cut"));
    }
    action =
        menu->addAction(withShortcut(qtText("&Copy"), QKeySequence::Copy), this, &TextBox::copy);
    action->setEnabled(hasSelection());
    action->setObjectName(QStringLiteral("edit-copy"));
    if (!readOnly_) {
        action = menu->addAction(withShortcut(qtText("&Paste"), QKeySequence::Paste), this,
                                 &TextBox::paste);
        const QMimeData* clip = QGuiApplication::clipboard()->mimeData();
        action->setEnabled(clip && clip->hasText());
        action->setObjectName(QStringLiteral("edit-paste"));
        action = menu->addAction(qtText("Delete"), this, [this] {
            const qsizetype oldCursor = cursor_;
            const qsizetype oldAnchor = anchor_;
            replaceSelection(QString(), TextDocument::Kind::Other);
            announceCursor(oldCursor, oldAnchor);
        });
        action->setEnabled(hasSelection());
        action->setObjectName(QStringLiteral("edit-delete"));
    }
    menu->addSeparator();
    action = menu->addAction(withShortcut(qtText("Select All"), QKeySequence::SelectAll), this,
                             &TextBox::selectAll);
    action->setEnabled(document_->size() > 0);
    action->setObjectName(QStringLiteral("select-all"));
    menu->popup(event->globalPos());
}

// --- Drag and drop ----------------------------------------------------------

void TextBox::startDrag() {
    mousePressed_ = false;
    mightStartDrag_ = false;
    auto* drag = new QDrag(this);
    drag->setMimeData(mimeDataFromSelection());
    const Qt::DropAction action = readOnly_
                                      ? drag->exec(Qt::CopyAction, Qt::CopyAction)
                                      : drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
    if (action == Qt::MoveAction && drag->target() != viewport() && drag->target() != this) {
        const qsizetype oldCursor = cursor_;
        const qsizetype oldAnchor = anchor_;
        replaceSelection(QString(), TextDocument::Kind::Other);
        announceCursor(oldCursor, oldAnchor);
    }
}

void TextBox::dragEnterEvent(QDragEnterEvent* event) {
    if (readOnly_ || !event->mimeData()->hasText()) {
        event->ignore();
        return;
    }
    dropPosition_ = -1;
    event->acceptProposedAction();
}

void TextBox::dragMoveEvent(QDragMoveEvent* event) {
    if (readOnly_ || !event->mimeData()->hasText()) {
        event->ignore();
        return;
    }
    dropPosition_ = hitTest(event->position());
    viewport()->update();
    event->acceptProposedAction();
}

void TextBox::dragLeaveEvent(QDragLeaveEvent*) {
    dropPosition_ = -1;
    viewport()->update();
}

// A drop inserts where it falls; text moved within the box leaves its old
// place in the same undo step.
void TextBox::dropEvent(QDropEvent* event) {
    dropPosition_ = -1;
    if (readOnly_ || !event->mimeData()->hasText()) {
        event->ignore();
        return;
    }
    const qsizetype oldCursor = cursor_;
    const qsizetype oldAnchor = anchor_;
    qsizetype at = hitTest(event->position());
    const bool moveWithin = event->dropAction() == Qt::MoveAction &&
                            (event->source() == this || event->source() == viewport());
    if (moveWithin && at > selectionStart() && at < selectionEnd()) {
        event->ignore(); // dropped onto itself
        viewport()->update();
        return;
    }
    document_->beginStep();
    if (moveWithin) {
        const qsizetype length = selectionEnd() - selectionStart();
        if (at >= selectionEnd())
            at -= length;
        replaceSelection(QString(), TextDocument::Kind::Other);
    }
    moveCursor(at, false);
    insertFromMimeData(event->mimeData());
    document_->endStep();
    event->acceptProposedAction();
    ensureCursorVisible();
    announceCursor(oldCursor, oldAnchor);
}

// --- Input methods ----------------------------------------------------------

void TextBox::commitPreedit() {
    if (preedit_.isEmpty())
        return;
    QGuiApplication::inputMethod()->commit();
    if (preedit_.isEmpty())
        return;
    preedit_.clear();
    preeditCursor_ = 0;
    layout_->setPreedit(-1, QString());
    viewport()->update();
}

void TextBox::inputMethodEvent(QInputMethodEvent* event) {
    if (readOnly_) {
        event->ignore();
        return;
    }
    const qsizetype oldCursor = cursor_;
    const qsizetype oldAnchor = anchor_;
    const bool gettingInput = !event->commitString().isEmpty() ||
                              event->preeditString() != preedit_ || event->replacementLength() > 0;
    document_->beginStep();
    if (gettingInput && hasSelection())
        replaceSelection(QString(), TextDocument::Kind::Other);
    if (!event->commitString().isEmpty() || event->replacementLength() > 0) {
        const qsizetype from =
            std::clamp<qsizetype>(cursor_ + event->replacementStart(), 0, document_->size());
        const qsizetype length =
            std::clamp<qsizetype>(event->replacementLength(), 0, document_->size() - from);
        moveCursor(from, false);
        moveCursor(from + length, true);
        replaceSelection(event->commitString(), TextDocument::Kind::Typing);
    }
    document_->endStep();
    const qsizetype paragraphStart = layout_->paragraphStart(layout_->paragraphOf(cursor_));
    for (const QInputMethodEvent::Attribute& attribute : event->attributes()) {
        if (attribute.type == QInputMethodEvent::Selection) {
            moveCursor(paragraphStart + attribute.start, false);
            moveCursor(paragraphStart + attribute.start + attribute.length, true);
        }
    }
    preedit_ = event->preeditString();
    preeditCursor_ = static_cast<int>(preedit_.size());
    hideCursor_ = false;
    for (const QInputMethodEvent::Attribute& attribute : event->attributes()) {
        if (attribute.type == QInputMethodEvent::Cursor) {
            preeditCursor_ = attribute.start;
            hideCursor_ = attribute.length == 0;
        }
    }
    layout_->setPreedit(cursor_, preedit_);
    goalX_ = -1;
    ensureCursorVisible();
    announceCursor(oldCursor, oldAnchor);
    viewport()->update();
    event->accept();
}

QVariant TextBox::inputMethodQuery(Qt::InputMethodQuery query) const {
    auto* self = const_cast<TextBox*>(this);
    const QString& text = document_->text();
    const qsizetype paragraph = layout_->paragraphOf(cursor_);
    // A paragraph can be megabytes long: the input method sees the part
    // around the cursor.
    const qsizetype from = std::max(layout_->paragraphStart(paragraph), cursor_ - 1024);
    const qsizetype to = std::min(layout_->paragraphEnd(paragraph), cursor_ + 1024);
    switch (query) {
    case Qt::ImEnabled:
        return !readOnly_;
    case Qt::ImCursorRectangle:
        return self->cursorRect().translated(viewport()->pos());
    case Qt::ImFont:
        return font();
    case Qt::ImCursorPosition:
        return static_cast<int>(cursor_ - from);
    case Qt::ImAnchorPosition:
        return static_cast<int>(std::clamp(anchor_, from, to) - from);
    case Qt::ImSurroundingText:
        return text.mid(from, to - from);
    case Qt::ImCurrentSelection:
        return TextDocument::withNewlines(selectedText());
    case Qt::ImMaximumTextLength:
        return QVariant();
    case Qt::ImAbsolutePosition:
        return static_cast<int>(cursor_);
    case Qt::ImTextBeforeCursor:
        return text.mid(from, cursor_ - from);
    case Qt::ImTextAfterCursor:
        return text.mid(cursor_, to - cursor_);
    case Qt::ImHints:
        return static_cast<int>(inputMethodHints() | Qt::ImhMultiLine);
    default:
        return QAbstractScrollArea::inputMethodQuery(query);
    }
}
