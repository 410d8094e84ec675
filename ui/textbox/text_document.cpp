#include "ui/textbox/text_document.hpp"

#include <algorithm>

TextDocument::TextDocument(QObject* parent)
    : QObject(parent) {}

QString TextDocument::toPlainText() const {
    return withNewlines(text_).replace(QChar::Nbsp, u' ');
}

QString TextDocument::withNewlines(QString text) {
    std::replace_if(text.begin(), text.end(), isLineBreak, QChar(u'\n'));
    return text;
}

QString TextDocument::withLineBreaks(QString text) {
    text.replace(QLatin1String("\r\n"), QString(QChar::ParagraphSeparator));
    for (QChar& c : text)
        if (c == u'\n' || c == u'\r')
            c = QChar::ParagraphSeparator;
    return text;
}

void TextDocument::setPlainText(const QString& text) {
    setText(withLineBreaks(text));
}

void TextDocument::setText(const QString& text) {
    const bool undoBefore = isUndoAvailable();
    const bool redoBefore = isRedoAvailable();
    text_ = text;
    forgetRun();
    steps_.clear();
    undone_ = 0;
    emit reset();
    announceHistory(undoBefore, redoBefore);
}

void TextDocument::beginStep() {
    if (grouping_++ == 0)
        groupStarted_ = false;
}

void TextDocument::endStep() {
    if (grouping_ > 0)
        --grouping_;
}

// Typed characters join the insertion just before them, and Backspace and
// Delete the removal next to them, so that one undo takes back a run of typing.
bool TextDocument::mergeIntoLast(const Edit& edit, Kind kind) {
    if (undone_ == 0)
        return false;
    Step& last = steps_.back();
    Edit& previous = last.edits.back();
    if (kind == Kind::Typing && edit.removed.isEmpty() && last.kind != Kind::LineBreak &&
        previous.removed.isEmpty() && !previous.inserted.isEmpty() &&
        previous.position + previous.inserted.size() == edit.position &&
        previous.typedAt + previous.inserted.size() == edit.typedAt) {
        previous.inserted += edit.inserted;
        return true;
    }
    // Joining two lines is a step of its own.
    const bool lineJoined = edit.removed.contains(QChar::ParagraphSeparator) ||
                            previous.removed.contains(QChar::ParagraphSeparator);
    if (kind == Kind::Deleting && last.kind == Kind::Deleting && edit.inserted.isEmpty() &&
        previous.inserted.isEmpty() && !lineJoined) {
        // Characters typed just now and older ones are taken back apart.
        const bool older = previous.typedAt == kOlderText && edit.typedAt == kOlderText;
        if (edit.position == previous.position && // Delete, again
            (older || (previous.typedAt >= 0 &&
                       previous.typedAt + previous.removed.size() == edit.typedAt))) {
            previous.removed += edit.removed;
            return true;
        }
        if (edit.position + edit.removed.size() == previous.position && // Backspace, again
            (older ||
             (edit.typedAt >= 0 && edit.typedAt + edit.removed.size() == previous.typedAt))) {
            previous.removed.prepend(edit.removed);
            previous.position = edit.position;
            previous.typedAt = edit.typedAt;
            return true;
        }
    }
    return false;
}

void TextDocument::replace(qsizetype position, qsizetype length, const QString& with, Kind kind) {
    position = std::clamp<qsizetype>(position, 0, text_.size());
    length = std::clamp<qsizetype>(length, 0, text_.size() - position);
    if (length == 0 && with.isEmpty())
        return;
    const bool undoBefore = isUndoAvailable();
    const bool redoBefore = isRedoAvailable();
    // A replacement is kept as a removal and an insertion, so that typing
    // after it can join the insertion.
    const QString removed = text_.mid(position, length);
    std::vector<Edit> edits;
    if (length > 0)
        edits.push_back(Edit{position, removed, QString(), 0});
    if (!with.isEmpty())
        edits.push_back(Edit{position, QString(), with, 0});
    // Each insertion takes the next place in the record of typed text;
    // typing joins the insertion before it only where it follows it there too
    // (after an undo, an insertion taken back still holds its place).
    for (Edit& edit : edits) {
        if (edit.inserted.isEmpty()) {
            edit.typedAt = originOf(edit.position, edit.removed.size());
            followRemoval(edit.position, edit.removed.size());
        } else {
            edit.typedAt = typed_;
            followInsertion(edit.position, edit.inserted.size(), typed_);
            typed_ += edit.inserted.size();
        }
    }
    steps_.resize(undone_); // a new edit ends what could be redone
    if (grouping_ > 0 && groupStarted_) {
        steps_.back().edits.insert(steps_.back().edits.end(), edits.begin(), edits.end());
    } else if (grouping_ > 0 || edits.size() > 1 || !mergeIntoLast(edits.front(), kind)) {
        steps_.push_back(Step{std::move(edits), grouping_ > 0 ? Kind::Other : kind});
        groupStarted_ = grouping_ > 0;
    }
    undone_ = static_cast<qsizetype>(steps_.size());
    apply(position, removed, with);
    announceHistory(undoBefore, redoBefore);
}

// Where removed characters stand in the record of typed text: inside the
// last run of typing, their place there; otherwise older text, or a mix.
qsizetype TextDocument::originOf(qsizetype position, qsizetype length) const {
    if (runStart_ <= position && position + length <= runEnd_)
        return runTypedAt_ + (position - runStart_);
    if (position + length <= runStart_ || position >= runEnd_)
        return kOlderText;
    return kMixedText;
}

void TextDocument::followRemoval(qsizetype position, qsizetype length) {
    if (position + length <= runStart_) {
        runStart_ -= length;
        runEnd_ -= length;
    } else if (position >= runStart_ && position + length == runEnd_) {
        runEnd_ = position; // Backspace at the end of the run
    } else if (position >= runStart_ && position + length < runEnd_) {
        // Delete inside the run: what follows the removal goes on.
        runTypedAt_ += position - runStart_ + length;
        runStart_ = position;
        runEnd_ -= length;
    } else if (position < runEnd_) {
        forgetRun();
    }
}

void TextDocument::followInsertion(qsizetype position, qsizetype length, qsizetype typedAt) {
    if (position == runEnd_ && typedAt == runTypedAt_ + (runEnd_ - runStart_)) {
        runEnd_ += length;
    } else if (position < runStart_) {
        runStart_ += length;
        runEnd_ += length;
        if (typedAt != runTypedAt_ + (runEnd_ - runStart_)) {
            runStart_ = position;
            runEnd_ = position + length;
            runTypedAt_ = typedAt;
        }
    } else {
        runStart_ = position;
        runEnd_ = position + length;
        runTypedAt_ = typedAt;
    }
}

void TextDocument::forgetRun() {
    runStart_ = runEnd_ = -1;
    runTypedAt_ = 0;
}

void TextDocument::apply(qsizetype position, const QString& removed, const QString& inserted) {
    text_.replace(position, removed.size(), inserted);
    emit contentsChange(position, removed.size(), inserted.size());
    emit edited(position, removed, inserted);
}

// The cursor ends where the last edit undone or redone leaves it: after a
// restored removal, at the place of a taken-back insertion.
qsizetype TextDocument::undo() {
    if (!isUndoAvailable())
        return -1;
    const bool redoBefore = isRedoAvailable();
    forgetRun();
    const Step& step = steps_[--undone_];
    qsizetype cursor = -1;
    for (auto edit = step.edits.rbegin(); edit != step.edits.rend(); ++edit) {
        apply(edit->position, edit->inserted, edit->removed);
        cursor = edit->position + edit->removed.size();
    }
    announceHistory(true, redoBefore);
    return cursor;
}

qsizetype TextDocument::redo() {
    if (!isRedoAvailable())
        return -1;
    const bool undoBefore = isUndoAvailable();
    forgetRun();
    const Step& step = steps_[undone_++];
    qsizetype cursor = -1;
    for (const Edit& edit : step.edits) {
        apply(edit.position, edit.removed, edit.inserted);
        cursor = edit.position + edit.inserted.size();
    }
    announceHistory(undoBefore, true);
    return cursor;
}

void TextDocument::announceHistory(bool undoBefore, bool redoBefore) {
    if (undoBefore != isUndoAvailable())
        emit undoAvailable(isUndoAvailable());
    if (redoBefore != isRedoAvailable())
        emit redoAvailable(isRedoAvailable());
}
