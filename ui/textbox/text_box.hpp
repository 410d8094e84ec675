#pragma once

#include "ui/textbox/line_layout.hpp"
#include "ui/textbox/text_document.hpp"

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QPointer>

#include <memory>

class QMimeData;

// A multi-line plain-text box with only a vertical scroll bar, for texts of
// any length: it behaves as QPlainTextEdit does for every key and mouse
// gesture (editing, selecting, the clipboard and the selection clipboard,
// undo, drag and drop, the context menu, input methods), and lays out only
// what it shows, so a paragraph of many megabytes costs no more to edit than
// a short one. Tab moves the focus on. Two boxes may show one document.
class TextBox : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit TextBox(QWidget* parent = nullptr);
    ~TextBox() override;

    TextDocument* document() const { return document_.data(); }
    // Shows `document`, which this box does not own; another box may show it too.
    void setDocument(TextDocument* document);
    LineLayout& lineLayout() { return *layout_; }

    void setPlainText(const QString& text);
    QString toPlainText() const { return document_->toPlainText(); }

    bool isReadOnly() const { return readOnly_; }
    void setReadOnly(bool readOnly);

    qsizetype cursorPosition() const { return cursor_; }
    qsizetype anchorPosition() const { return anchor_; }
    // Moves the cursor; with `keepAnchor` the selection runs from the anchor.
    void setCursorPosition(qsizetype position, bool keepAnchor = false);
    void setSelection(qsizetype anchor, qsizetype position);
    bool hasSelection() const { return cursor_ != anchor_; }
    qsizetype selectionStart() const { return std::min(cursor_, anchor_); }
    qsizetype selectionEnd() const { return std::max(cursor_, anchor_); }
    // The selected text as held, with ParagraphSeparator for line breaks, as
    // QTextCursor::selectedText() gives it.
    QString selectedText() const;

    // The rectangle of the caret at `position`, in viewport coordinates.
    QRect cursorRect(qsizetype position);
    QRect cursorRect() { return cursorRect(cursor_); }
    // The position nearest to `point` (viewport coordinates).
    qsizetype hitTest(const QPointF& point);
    // The position under `point`, or -1 when no line of text is there
    // (above the first, below the last).
    qsizetype exactHitTest(const QPointF& point);

    // The number of lines the text wraps into; measures everything first.
    qsizetype lineCount();
    // True once every line is measured at the current width.
    bool isWrapped() const { return layout_->isComplete(); }

public slots:
    void selectAll();
    void cut();
    void copy() const;
    void paste();
    void undo();
    void redo();
    void clear() { setPlainText(QString()); }

signals:
    void textChanged();
    void cursorPositionChanged();
    void selectionChanged();
    void copyAvailable(bool available);
    void undoAvailable(bool available);
    void redoAvailable(bool available);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    enum class Move {
        Left,
        Right,
        WordLeft,
        WordRight,
        PreviousCharacter,
        NextCharacter,
        PreviousWord,
        NextWord,
        StartOfLine,
        EndOfLine,
        StartOfBlock,
        EndOfBlock,
        StartOfWord,
        EndOfWord,
        Up,
        Down,
        Start,
        End
    };

    void connectDocument();
    void documentReset();
    void documentEdited(qsizetype position, const QString& removed, const QString& inserted);
    qsizetype movedPosition(Move move, bool keepAnchor, bool* moved = nullptr);
    bool movePosition(Move move, bool keepAnchor);
    bool cursorMoveKey(QKeyEvent* event);
    bool editKey(QKeyEvent* event);
    void pageUpDown(bool down, bool keepAnchor);
    void moveCursor(qsizetype position, bool keepAnchor);
    void replaceSelection(const QString& with, TextDocument::Kind kind);
    void insertFromMimeData(const QMimeData* data);
    void stepThroughHistory(qsizetype (TextDocument::*step)());
    QMimeData* mimeDataFromSelection() const;
    void selectWordUnderCursor();
    void extendWordwise(qsizetype position, qreal x);
    void extendBlockwise(qsizetype position);
    void setClipboardSelection();
    void forgetClickSelection();
    void commitPreedit();
    void startDrag();
    void announceCursor(qsizetype oldCursor, qsizetype oldAnchor, bool forceSelection = false);

    // Lines on screen.
    LineLayout::Line topLine();
    qreal topMargin(const LineLayout::Line& top) const;
    qreal lineTop(const LineLayout::Line& line);
    void setTopLine(const LineLayout::Line& line);
    void ensureCursorVisible();
    void updateScrollBar();
    qreal textWidth() const;
    qreal cursorX(qsizetype position);

    QPointer<TextDocument> document_; // another box's may go first
    TextDocument* ownDocument_ = nullptr;
    std::unique_ptr<LineLayout> layout_;
    qsizetype cursor_ = 0;
    qsizetype anchor_ = 0;
    qreal goalX_ = -1;          // where Up and Down aim, kept across short lines
    qsizetype topPosition_ = 0; // the start of the first line in view
    bool readOnly_ = false;
    bool cursorOn_ = false;
    bool mousePressed_ = false;
    bool mightStartDrag_ = false;
    QPoint mousePressPos_;
    qsizetype wordStart_ = -1, wordEnd_ = -1;   // the word a double click selected
    qsizetype blockStart_ = -1, blockEnd_ = -1; // the paragraph a triple click selected
    QPointF tripleClickPoint_;
    qsizetype dropPosition_ = -1;
    qreal pageCursorY_ = -1; // where Page Up and Page Down keep the cursor on screen
    QString preedit_;
    int preeditCursor_ = 0;
    bool hideCursor_ = false;
    bool syncingScrollBar_ = false;
    bool scrolledDown_ = false; // the last scroll went down: see topMargin()
    qsizetype lastSelectionStart_ = 0, lastSelectionEnd_ = 0;
    QBasicTimer blinkTimer_;
    QBasicTimer tripleClickTimer_;
    QBasicTimer autoScrollTimer_;
    QBasicTimer scrollBarTimer_;
};
