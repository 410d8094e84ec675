#pragma once

#include <QObject>
#include <QString>

#include <vector>

// The text of a box and its edit history. Line breaks typed or pasted by the
// user are held as QChar::ParagraphSeparator, so that a line feed that is part
// of the text itself (a translation may hold one) stays a character of its
// own. Several views may show one document: an edit through any of them is an
// edit of all.
class TextDocument : public QObject {
    Q_OBJECT

public:
    // What an edit was, for merging typed edits into one undo step as
    // QPlainTextEdit does: typing merges with the insertion before it (a
    // paste's too), Backspace and Delete with their own kind; everything else
    // is a step of its own.
    enum class Kind { Typing, Deleting, LineBreak, Other };

    explicit TextDocument(QObject* parent = nullptr);

    // The text as held, with ParagraphSeparator for line breaks.
    const QString& text() const { return text_; }
    qsizetype size() const { return text_.size(); }
    QChar at(qsizetype i) const { return text_.at(i); }

    // The text with "\n" for every line break and a space for every no-break
    // space, as QPlainTextEdit gives it.
    QString toPlainText() const;

    // Replaces the whole text and clears the history. setPlainText reads "\n",
    // "\r\n", "\r" and ParagraphSeparator as line breaks; setText keeps every
    // character as it is.
    void setPlainText(const QString& text);
    void setText(const QString& text);

    // Line breaks in `text` ("\r\n", "\r", "\n") as ParagraphSeparator.
    static QString withLineBreaks(QString text);
    // The way back: every line break as held (ParagraphSeparator, or the
    // LineSeparator of Shift+Enter) as "\n", as Qt's text boxes give text out.
    static bool isLineBreak(QChar c) {
        return c == QChar::ParagraphSeparator || c == QChar::LineSeparator;
    }
    static QString withNewlines(QString text);

    // Replaces `length` characters at `position` with `with`, as one undo step
    // or merged into the last one, as `kind` allows.
    void replace(qsizetype position, qsizetype length, const QString& with, Kind kind);

    // Starts and ends a group of edits that undo as one step (a drag that
    // moves text is a removal and an insertion).
    void beginStep();
    void endStep();

    bool isUndoAvailable() const { return undone_ > 0; }
    bool isRedoAvailable() const { return undone_ < static_cast<qsizetype>(steps_.size()); }

    // Undoes or redoes one step; returns where the cursor goes, or -1 when
    // there was nothing to do.
    qsizetype undo();
    qsizetype redo();

signals:
    // `removed` characters at `position` were replaced by `added` ones.
    void contentsChange(qsizetype position, qsizetype removed, qsizetype added);
    // The same edit with its texts, for those who announce it (screen readers).
    void edited(qsizetype position, const QString& removed, const QString& inserted);
    // The whole text was replaced.
    void reset();
    void undoAvailable(bool available);
    void redoAvailable(bool available);

private:
    struct Edit {
        qsizetype position;
        QString removed;
        QString inserted;
        // Where its insertion stands in the record of typed text; for a
        // removal, where the removed text stood (or kOlderText, kMixedText).
        qsizetype typedAt = 0;
    };
    struct Step {
        std::vector<Edit> edits;
        Kind kind;
    };

    static constexpr qsizetype kOlderText = -1;
    static constexpr qsizetype kMixedText = -2;
    qsizetype originOf(qsizetype position, qsizetype length) const;
    void followRemoval(qsizetype position, qsizetype length);
    void followInsertion(qsizetype position, qsizetype length, qsizetype typedAt);
    void forgetRun();
    void apply(qsizetype position, const QString& removed, const QString& inserted);
    bool mergeIntoLast(const Edit& edit, Kind kind);
    void announceHistory(bool undoBefore, bool redoBefore);

    QString text_;
    std::vector<Step> steps_;
    qsizetype typed_ = 0; // characters ever inserted by edits, undo and redo aside
    // The last run of typing: where it stands now, and where it began in the
    // record of typed text.
    qsizetype runStart_ = -1;
    qsizetype runEnd_ = -1;
    qsizetype runTypedAt_ = 0;
    qsizetype undone_ = 0; // steps_[0, undone_) can be undone, the rest redone
    int grouping_ = 0;     // open beginStep() calls
    bool groupStarted_ = false;
};
