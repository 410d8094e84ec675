#pragma once

#include "ui/main/line_wrap.hpp"

#include <QAbstractScrollArea>
#include <QBasicTimer>

#include <memory>

class QPagedPaintDevice;

// A multi-line text box with only a vertical scroll bar, for texts of any
// length: a translation of a whole book is one paragraph of many megabytes.
// It wraps lines at its width itself, a piece at a time after the first
// screenful, and draws only the lines in view, so that showing a long text
// never stalls the window. Editable like any text box: typing, deleting,
// selecting, the clipboard; Enter breaks the line and Tab moves the focus.
class OutputBox : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit OutputBox(QWidget* parent = nullptr);
    ~OutputBox() override;

    void setPlainText(const QString& text);
    QString toPlainText() const { return text_; }

    bool isReadOnly() const { return readOnly_; }
    void setReadOnly(bool readOnly) { readOnly_ = readOnly; }

    qsizetype cursorPosition() const { return cursor_; }
    void setCursorPosition(qsizetype position);
    QString selectedText() const;
    void selectAll();

    // The number of lines the text wraps into; finishes the wrapping first.
    qsizetype lineCount();
    // True once the whole text is wrapped at the current width.
    bool isWrapped() const;

    // Prints the text in the box's font, wrapped at the page width, on as
    // many pages as it takes. Returns false when the device cannot be painted.
    bool print(QPagedPaintDevice* device) const;

signals:
    void textChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void rewrap();
    void wrapFrom(qsizetype line);
    void wrapInBackground();
    template <class Done> void wrapUntil(Done done);
    void wrapUpTo(qsizetype offset);
    void updateScrollBar();
    qreal wrapWidth() const;
    void ensureLines(qsizetype count);
    qsizetype lineEnd(qsizetype line);
    qsizetype offsetAt(const QPoint& point);
    QPointF pointOf(qsizetype offset);
    void moveCursor(qsizetype position, bool select);
    void ensureCursorVisible();
    void replaceSelection(const QString& with);
    void copy() const;

    QString text_;
    std::unique_ptr<Advances> advances_;
    LineWrap wrap_;
    QBasicTimer wrapTimer_;
    QBasicTimer blinkTimer_;
    qsizetype cursor_ = 0;
    qsizetype anchor_ = 0;
    qreal goalX_ = -1; // where Up and Down aim, kept across short lines
    bool readOnly_ = false;
    bool cursorShown_ = false;
};
