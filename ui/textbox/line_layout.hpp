#pragma once

#include "ui/textbox/line_breaker.hpp"

#include <QBasicTimer>
#include <QFont>
#include <QObject>
#include <QTextLayout>

#include <memory>
#include <vector>

class QPaintDevice;
class TextDocument;

// Where the lines of a document break at a width, and the laid-out lines.
// Paragraphs of ordinary length are laid out whole by QTextLayout, exactly as
// QPlainTextEdit lays out its blocks; a paragraph too long to shape at once (a
// translation of a whole book is one) is broken by summed advances, and each
// of its lines is laid out on its own when it is needed. Either way the lines
// that are drawn are the lines that are measured and hit. Lines out of view
// are measured in the background, a few milliseconds at a time.
class LineLayout : public QObject {
    Q_OBJECT

public:
    // One line as laid out. `layout` stays valid until the next edit, change
    // of width or font, or prune().
    struct Line {
        qsizetype paragraph = -1;
        qsizetype index = 0; // within its paragraph
        QTextLayout* layout = nullptr;
        QTextLine textLine;
        qsizetype layoutStart = 0; // document offset of the layout's first character
        qsizetype start = 0;       // document offsets; `end` is before any line separator
        qsizetype end = 0;
        bool lastInParagraph = true;

        bool isValid() const { return layout != nullptr; }
        qreal height() const { return textLine.height(); }
        // Document offsets to and from positions in the layout, which holds the
        // input method's text being composed, if any.
        int toLayout(qsizetype position) const;
        qsizetype fromLayout(int position) const;
    };

    explicit LineLayout(const TextDocument* document, QObject* parent = nullptr);
    ~LineLayout() override;

    // The font and the device whose metrics lay out the text (the screen when
    // null), and the width lines may fill.
    void setFont(const QFont& font, QPaintDevice* device = nullptr);
    const QFont& font() const { return font_; }
    void setWidth(qreal width);

    // The input method's text being composed at `position`; empty for none.
    void setPreedit(qsizetype position, const QString& text);

    // Measures in the background; off for layouts made once and read through.
    void setBackgroundWork(bool enabled);

    qsizetype paragraphCount() const { return static_cast<qsizetype>(paragraphs_.size()); }
    qsizetype paragraphOf(qsizetype position) const;
    qsizetype paragraphStart(qsizetype paragraph) const;
    qsizetype paragraphEnd(qsizetype paragraph) const; // before its separator
    // The lines of a paragraph as far as known; a long paragraph is broken by
    // advances, all its lines of one height.
    qsizetype linesIn(qsizetype paragraph) const;
    bool isLongParagraph(qsizetype paragraph) const;

    Line lineAt(qsizetype paragraph, qsizetype index);
    Line lineFor(qsizetype position);
    Line next(const Line& line);
    Line previous(const Line& line);

    // Lines counted through the whole text; paragraphs not measured yet count
    // as estimated.
    qsizetype lineCount();
    qsizetype lineNumber(const Line& line);
    Line lineAtNumber(qsizetype number);
    // True once every line is measured.
    bool isComplete() const;
    // Measures everything now.
    void completeNow();
    // The height of a line of the font, for estimates and page sizes.
    qreal lineSpacing() const;

    // Cursor movement as QTextLayout defines it, across paragraphs as
    // QTextDocument does.
    qsizetype nextCursorPosition(qsizetype position, QTextLayout::CursorMode mode);
    qsizetype previousCursorPosition(qsizetype position, QTextLayout::CursorMode mode);

    // Drops laid-out paragraphs not used lately.
    void prune();

signals:
    // Line counts changed: the scroll range may need to follow.
    void linesChanged();

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    struct Paragraph {
        qsizetype start = 0;
        qsizetype length = 0;
        qsizetype lines = 1;
        bool measured = false;
        bool rightToLeft = false;
        std::unique_ptr<QTextLayout> layout;
        std::unique_ptr<ParagraphWrap> wrap; // only for paragraphs too long to shape
        quint64 used = 0;
    };

    void rebuild();
    void contentsChange(qsizetype position, qsizetype removed, qsizetype added);
    Paragraph makeParagraph(qsizetype start, qsizetype length) const;
    bool isLong(const Paragraph& paragraph) const;
    QStringView textOf(const Paragraph& paragraph) const;
    QTextLayout* shapedLayout(qsizetype paragraph);
    std::unique_ptr<QTextLayout> newLayout(const QString& shown, qsizetype documentStart) const;
    void lineUp(QTextLayout& layout, bool wrap) const;
    void wrapLongTo(qsizetype paragraph, qsizetype line);
    void setLines(qsizetype paragraph, qsizetype lines);
    qsizetype estimateLines(const Paragraph& paragraph) const;
    void updatePrefix();
    void needsWork(qsizetype paragraph);
    void work(qint64 budgetMs);
    void invalidateAll();

    const TextDocument* document_;
    QFont font_;
    QPaintDevice* device_ = nullptr;
    std::unique_ptr<Advances> advances_;
    qreal width_ = 1;
    std::vector<Paragraph> paragraphs_;
    std::vector<qsizetype> prefix_{0}; // lines before each paragraph, valid below prefixValid_
    qsizetype prefixValid_ = 0;
    qsizetype firstPending_ = 0; // paragraphs before it are measured
    qsizetype shapedCount_ = 0;
    quint64 clock_ = 0;
    // Lines of long paragraphs, each laid out alone, by document offset.
    QHash<qsizetype, std::shared_ptr<QTextLayout>> longLines_;
    qsizetype preeditPosition_ = -1;
    QString preedit_;
    bool background_ = true;
    QBasicTimer timer_;
};
