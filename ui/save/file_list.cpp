#include "ui/save/file_list.hpp"

#include <QCollator>
#include <QDir>

FileList::FileList(QWidget* parent)
    : QListWidget(parent) {
    // A click, or a move of the selection with the keyboard, picks an entry.
    connect(this, &QListWidget::itemClicked, this, &FileList::picked);
    connect(this, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            emit picked();
    });
}

void FileList::setPattern(const QString& pattern) {
    pattern_ = pattern;
    fill();
}

QString FileList::fileName() const {
    const QListWidgetItem* entry = currentItem();
    return entry && entry->isSelected() ? entry->text() : QString();
}

void FileList::setFileName(const QString& folder) {
    path_ = QDir::cleanPath(QDir(folder).absolutePath());
    fill();
}

void FileList::fill() {
    const QSignalBlocker quiet(this); // refilling picks nothing
    clear();
    if (path_.isEmpty())
        return;
    QDir dir(path_);
    dir.setNameFilters({pattern_});
    // Without QDir::CaseSensitive the pattern ignores case: NOTE.TXT is listed.
    QStringList names = dir.entryList(QDir::Files);
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(names.begin(), names.end(), collator);
    addItems(names);
}
