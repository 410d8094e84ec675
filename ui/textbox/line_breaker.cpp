#include "ui/textbox/line_breaker.hpp"

#include <algorithm>
#include <cmath>

QChar shownAs(QChar c) {
    const char16_t code = c.unicode();
    if (code < 0x20 && code != u'\t')
        return QChar(char16_t(0x2400 + code));
    if (code == 0x7F)
        return QChar(char16_t(0x2421));
    return c;
}

QString shownAs(QStringView text) {
    QString shown = text.toString();
    for (QChar& c : shown)
        c = shownAs(c);
    return shown;
}

Advances::Advances(const QFontMetricsF& metrics, qreal tabStop)
    : metrics_(metrics)
    , tabStop_(tabStop > 0 ? tabStop : 80) {
    ascii_.fill(-1);
}

qreal Advances::measure(char16_t c) const {
    return ascii_[c] = metrics_.horizontalAdvance(shownAs(QChar(c)));
}

qreal Advances::other(QStringView text, qsizetype i) const {
    const char16_t c = text[i].unicode();
    if (QChar::isLowSurrogate(c) && i > 0 && text[i - 1].isHighSurrogate())
        return 0;
    const bool pair =
        QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate();
    const char32_t key = pair ? QChar::surrogateToUcs4(c, text[i + 1].unicode()) : c;
    auto found = other_.constFind(key);
    if (found == other_.cend())
        found =
            other_.insert(key, metrics_.horizontalAdvance(text.mid(i, pair ? 2 : 1).toString()));
    return *found;
}

qsizetype ParagraphWrap::lineOf(qsizetype offset) const {
    const auto after = std::upper_bound(starts_.begin(), starts_.end(), offset);
    return std::max<qsizetype>(0, (after - starts_.begin()) - 1);
}

void ParagraphWrap::truncate(qsizetype line) {
    line = std::clamp<qsizetype>(line, 0, lineCount() - 1);
    starts_.resize(static_cast<std::size_t>(line) + 1);
    next_ = starts_.back();
    x_ = 0;
    lastBreak_ = -1;
}

qreal ParagraphWrap::measure(QStringView text, const Advances& advances, qsizetype from,
                             qsizetype to) const {
    qreal x = 0;
    for (qsizetype j = from; j < to; ++j)
        x += text[j] == u'\t' ? advances.tabStop() - std::fmod(x, advances.tabStop())
                              : advances.at(text, j);
    return x;
}

bool ParagraphWrap::startLine(qsizetype start, QStringView text) {
    starts_.push_back(start);
    if (pending_.empty())
        return false;
    while (pendingFrom_ < pending_.size() && pending_[pendingFrom_] < start)
        ++pendingFrom_;
    if (pendingFrom_ >= pending_.size() || pending_[pendingFrom_] != start)
        return false;
    // Met an old line start again: every line after it is as it was.
    starts_.insert(starts_.end(), pending_.begin() + static_cast<std::ptrdiff_t>(pendingFrom_) + 1,
                   pending_.end());
    pending_.clear();
    pendingFrom_ = 0;
    next_ = text.size();
    x_ = 0;
    lastBreak_ = -1;
    return true;
}

bool ParagraphWrap::wrapMore(QStringView text, const Advances& advances, qsizetype budget) {
    const qsizetype size = text.size();
    const qsizetype stop = std::min(size, next_ + std::max<qsizetype>(budget, 1));
    const char16_t* data = text.utf16();
    const qreal tabStop = advances.tabStop();
    qsizetype i = next_;
    qsizetype lineStart = starts_.back();
    qreal x = x_;
    qsizetype lastBreak = lastBreak_;
    while (i < stop) {
        const char16_t c = data[i];
        qreal w;
        if (c == u' ') {
            // Spaces may hang past the edge; the line can end after them.
            x += advances.at(text, i);
            lastBreak = ++i;
            continue;
        }
        if (c == u'\t') {
            w = tabStop - std::fmod(x, tabStop);
        } else if (c == QChar::LineSeparator) {
            if (startLine(i + 1, text))
                return true;
            lineStart = ++i;
            x = 0;
            lastBreak = -1;
            continue;
        } else if (QChar::isLowSurrogate(c) && i > lineStart &&
                   QChar::isHighSurrogate(data[i - 1])) {
            ++i; // never split a surrogate pair
            continue;
        } else {
            w = advances.at(text, i);
        }
        if (x + w > width_ && i > lineStart) {
            const qsizetype start = lastBreak > lineStart ? lastBreak : i;
            if (startLine(start, text))
                return true;
            lineStart = start;
            x = measure(text, advances, start, i);
            lastBreak = -1;
            continue; // this character again, on the new line
        }
        x += w;
        if (c == u'-' || c == u'\t')
            lastBreak = i + 1;
        ++i;
    }
    next_ = i;
    x_ = x;
    lastBreak_ = lastBreak;
    if (next_ >= size) {
        pending_.clear();
        pendingFrom_ = 0;
    }
    return next_ >= size;
}

void ParagraphWrap::edit(QStringView text, const Advances& advances, qsizetype position,
                         qsizetype removed, qsizetype added) {
    const qsizetype delta = added - removed;
    const bool wasComplete = next_ >= text.size() - delta;
    // The old lines after the edit, shifted; only a complete wrapping's are
    // worth waiting for, an incomplete one resumes from where it was anyway.
    pending_.clear();
    pendingFrom_ = 0;
    if (wasComplete)
        for (qsizetype start : starts_)
            if (start > position + removed)
                pending_.push_back(start + delta);
    truncate(std::max<qsizetype>(0, lineOf(position) - 1));
    // Wrap past the edit at once: a few lines usually meet the old ones.
    wrapMore(text, advances, (position + added - next_) + 4096);
}
