#pragma once

#include <QFontMetricsF>
#include <QHash>
#include <QString>

#include <array>
#include <vector>

// What a character looks like on screen: control characters, which a
// translation may hold, show as the symbols of Unicode's Control Pictures
// block, one for one, so that every character keeps its place.
QChar shownAs(QChar c);
QString shownAs(QStringView text);

// Character advances of one font on one device, looked up rather than shaped:
// breaking a paragraph of megabytes needs one table lookup per character.
class Advances {
public:
    explicit Advances(const QFontMetricsF& metrics, qreal tabStop);

    // Width of the character at `i` as shown; a surrogate pair counts at its first half.
    qreal at(QStringView text, qsizetype i) const {
        const char16_t c = text[i].unicode();
        if (c >= ascii_.size())
            return other(text, i);
        return ascii_[c] >= 0 ? ascii_[c] : measure(c);
    }
    qreal tabStop() const { return tabStop_; }

private:
    qreal other(QStringView text, qsizetype i) const;
    qreal measure(char16_t c) const;

    QFontMetricsF metrics_;
    // Measured on first use, negative until then: a box that never breaks a
    // long paragraph never measures, nor looks for the control pictures' font.
    mutable std::array<qreal, 128> ascii_;
    mutable QHash<char32_t, qreal> other_;
    qreal tabStop_;
};

// Breaks one paragraph too long to shape whole into lines no wider than a
// width, by the rule of the shaped paragraphs: after spaces (which may hang
// past the edge) and hyphens where it can, anywhere inside a word longer than
// a line, always after a line separator. Works a piece at a time; after an
// edit it wraps again only until its lines meet the old ones.
class ParagraphWrap {
public:
    explicit ParagraphWrap(qreal width)
        : width_(width) {}

    // Finds further lines, stopping once `budget` characters are examined or
    // the paragraph ends. Returns true when the whole paragraph is wrapped.
    bool wrapMore(QStringView text, const Advances& advances, qsizetype budget);
    bool isComplete(QStringView text) const { return next_ >= text.size(); }
    qsizetype wrappedTo() const { return next_; }

    // Lines found so far; line i runs from start(i) to start(i + 1).
    qsizetype lineCount() const { return static_cast<qsizetype>(starts_.size()); }
    qsizetype start(qsizetype line) const { return starts_[static_cast<std::size_t>(line)]; }
    // The line holding `offset`, among the lines found so far.
    qsizetype lineOf(qsizetype offset) const;

    // `removed` characters at `position` became `added` ones in `text`: the
    // lines before the edit stay, and wrapping resumes on the line before it,
    // taking the old lines back as soon as a new line starts where an old one did.
    void edit(QStringView text, const Advances& advances, qsizetype position, qsizetype removed,
              qsizetype added);

private:
    // Starts a line at `start`; true when it meets the old lines again.
    bool startLine(qsizetype start, QStringView text);
    qreal measure(QStringView text, const Advances& advances, qsizetype from, qsizetype to) const;
    void truncate(qsizetype line);

    qreal width_;
    std::vector<qsizetype> starts_{0};
    qsizetype next_ = 0;       // first character not yet examined
    qreal x_ = 0;              // width of the current line up to next_
    qsizetype lastBreak_ = -1; // where the current line may end
    // Old line starts after an edit, shifted, waiting to be met again.
    std::vector<qsizetype> pending_;
    std::size_t pendingFrom_ = 0;
};
