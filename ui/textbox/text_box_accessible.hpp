#pragma once

#include <QAccessibleWidget>

class TextBox;

// What assistive technology sees of a TextBox: an editable multi-line text it
// can read by character, word, sentence, line and paragraph, select, move the
// caret in and edit. Offsets count UTF-16 code units, and line breaks read as
// "\n". Every answer reads only the part of the text it needs, so a box
// holding a translation of many megabytes answers as fast as a short one.
class TextBoxAccessible : public QAccessibleWidget,
                          public QAccessibleTextInterface,
                          public QAccessibleEditableTextInterface,
                          public QAccessibleValueInterface {
public:
    explicit TextBoxAccessible(TextBox* box);

    void* interface_cast(QAccessible::InterfaceType type) override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text type) const override;
    void setText(QAccessible::Text type, const QString& text) override;

    // Text.
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                             int* startOffset, int* endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                            int* startOffset, int* endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                         int* endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

    // Editable text.
    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString& text) override;
    void replaceText(int startOffset, int endOffset, const QString& text) override;

    // Value: the whole text.
    QVariant currentValue() const override;
    void setCurrentValue(const QVariant& value) override;
    QVariant maximumValue() const override { return {}; }
    QVariant minimumValue() const override { return {}; }
    QVariant minimumStepSize() const override { return {}; }

private:
    struct Span {
        qsizetype start = 0;
        qsizetype end = 0;
    };

    TextBox* box() const;
    qsizetype size() const;
    // -1 stands for the end of the text and -2 for the caret, as screen
    // readers ask; anything else is clamped into the text.
    qsizetype resolve(int offset) const;
    // The text item of `type` that holds `offset`; items cover the text
    // without gaps, so the one before or after an item starts or ends where it
    // does. A line or paragraph includes the line break that ends it.
    Span itemAt(qsizetype offset, QAccessible::TextBoundaryType type) const;
    Span boundaryItemAt(qsizetype offset, QAccessible::TextBoundaryType type) const;
    QString answer(Span span, int* startOffset, int* endOffset) const;
    void edit(qsizetype start, qsizetype end, const QString& text);
};

// Makes every TextBox answer assistive technology through TextBoxAccessible;
// runs once however often it is called.
void installTextBoxAccessibility();
