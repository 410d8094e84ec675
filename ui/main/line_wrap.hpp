#pragma once

#include <QFontMetricsF>
#include <QHash>
#include <QString>

#include <array>
#include <vector>

// Character advances of one font on one device, looked up rather than shaped:
// wrapping a text of megabytes needs one table lookup per character.
class Advances {
public:
    explicit Advances(const QFontMetricsF& metrics);

    // Width of the character at `i`; a surrogate pair counts at its first half.
    qreal at(const QString& text, qsizetype i) const;
    qreal width(const QString& text, qsizetype from, qsizetype to) const;
    qreal lineHeight() const { return lineHeight_; }
    qreal ascent() const { return ascent_; }

private:
    QFontMetricsF metrics_;
    mutable std::array<qreal, 128> ascii_; // measured on first use; negative until then
    mutable QHash<char32_t, qreal> other_;
    qreal lineHeight_;
    qreal ascent_;
};

// Breaks a text into lines no wider than a given width, at spaces where it
// can and anywhere inside a word longer than a line; "\n" always ends a line.
// Work can be done a piece at a time: lines are appended as they are found.
class LineWrap {
public:
    void reset(qreal width, qsizetype from = 0);

    // Finds further lines of `text`, stopping once `budget` characters are
    // examined or the text ends. Returns true when the whole text is wrapped.
    bool wrapMore(const QString& text, const Advances& advances, qsizetype budget);

    bool isComplete(const QString& text) const { return next_ >= text.size(); }

    qreal width() const { return width_; }

    // The first character not wrapped yet.
    qsizetype wrappedTo() const { return next_; }

    // Start offsets of the lines found so far; line i ends where line i + 1
    // starts (less its "\n"), the last one at the end of the text.
    const std::vector<qsizetype>& starts() const { return starts_; }

    // Drops every line from `line` on, so that wrapping resumes at its start.
    void truncate(qsizetype line);

    // The line holding `offset`, among the lines found so far.
    qsizetype lineOf(qsizetype offset) const;

    // Where line `line` of `text` ends, less the "\n" that ends it, if any.
    // The start of the next line must be known, unless the text is wrapped whole.
    qsizetype lineEnd(const QString& text, qsizetype line) const;

private:
    qreal width_ = 0;
    std::vector<qsizetype> starts_{0};
    qsizetype next_ = 0;       // first character not yet examined
    qreal x_ = 0;              // width of the current line up to next_
    qsizetype lastBreak_ = -1; // where the current line may end, after a space
};
