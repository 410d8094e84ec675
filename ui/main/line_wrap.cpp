#include "ui/main/line_wrap.hpp"

#include <algorithm>

Advances::Advances(const QFontMetricsF& metrics)
    : metrics_(metrics)
    , lineHeight_(metrics.lineSpacing())
    , ascent_(metrics.ascent()) {
    ascii_.fill(-1);
}

qreal Advances::at(const QString& text, qsizetype i) const {
    const char16_t c = text[i].unicode();
    if (c < ascii_.size()) {
        if (ascii_[c] < 0) // control characters take no room
            ascii_[c] = c < 32 ? 0 : metrics_.horizontalAdvance(QChar(c));
        return ascii_[c];
    }
    if (QChar::isLowSurrogate(c) && i > 0 && text[i - 1].isHighSurrogate())
        return 0;
    const bool pair =
        QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate();
    const char32_t key = pair ? QChar::surrogateToUcs4(c, text[i + 1].unicode()) : c;
    auto found = other_.constFind(key);
    if (found == other_.cend())
        found = other_.insert(key, metrics_.horizontalAdvance(text.mid(i, pair ? 2 : 1)));
    return *found;
}

qreal Advances::width(const QString& text, qsizetype from, qsizetype to) const {
    qreal sum = 0;
    for (qsizetype i = from; i < to; ++i)
        sum += at(text, i);
    return sum;
}

void LineWrap::reset(qreal width, qsizetype from) {
    width_ = width;
    starts_.assign(1, from);
    next_ = from;
    x_ = 0;
    lastBreak_ = -1;
}

void LineWrap::truncate(qsizetype line) {
    line = std::clamp<qsizetype>(line, 0, static_cast<qsizetype>(starts_.size()) - 1);
    const qsizetype from = starts_[line];
    starts_.resize(line + 1);
    next_ = from;
    x_ = 0;
    lastBreak_ = -1;
}

qsizetype LineWrap::lineOf(qsizetype offset) const {
    const auto after = std::upper_bound(starts_.begin(), starts_.end(), offset);
    return std::max<qsizetype>(0, (after - starts_.begin()) - 1);
}

qsizetype LineWrap::lineEnd(const QString& text, qsizetype line) const {
    if (line + 1 >= static_cast<qsizetype>(starts_.size()))
        return text.size();
    const qsizetype next = starts_[line + 1];
    return (next > 0 && text[next - 1] == u'\n') ? next - 1 : next;
}

bool LineWrap::wrapMore(const QString& text, const Advances& advances, qsizetype budget) {
    const qsizetype size = text.size();
    const qsizetype stop = std::min(size, next_ + std::max<qsizetype>(budget, 1));
    qsizetype i = next_;
    while (i < stop) {
        const QChar c = text[i];
        if (c == u'\n') {
            starts_.push_back(i + 1);
            x_ = 0;
            lastBreak_ = -1;
            ++i;
            continue;
        }
        if (c.isLowSurrogate() && i > starts_.back() && text[i - 1].isHighSurrogate()) {
            ++i; // never split a surrogate pair
            continue;
        }
        const qreal w = advances.at(text, i);
        if (c == u' ') {
            // Spaces may hang past the edge; the line can end after them.
            x_ += w;
            lastBreak_ = i + 1;
            ++i;
            continue;
        }
        if (x_ + w > width_ && i > starts_.back()) {
            const qsizetype start = lastBreak_ > starts_.back() ? lastBreak_ : i;
            starts_.push_back(start);
            x_ = advances.width(text, start, i);
            lastBreak_ = -1;
        }
        x_ += w;
        ++i;
    }
    next_ = i;
    return next_ >= size;
}
