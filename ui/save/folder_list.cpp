#include "ui/save/folder_list.hpp"

#include <QCollator>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QStyle>

namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kIndentStep = 2; // spaces per level

bool canOpen(const QString& folder) {
    const QFileInfo info(folder);
    return info.isDir() && info.isReadable() && info.isExecutable();
}

} // namespace

FolderList::FolderList(QWidget* parent)
    : QListWidget(parent) {
    // A double click opens a folder, whatever the style says of single clicks;
    // Enter is handled in keyPressEvent.
    connect(this, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { open(row(item)); });
}

QString FolderList::folderAt(int row) const {
    const QListWidgetItem* entry = item(row);
    return entry ? entry->data(kPathRole).toString() : QString();
}

bool FolderList::setPath(const QString& folder) {
    const QString clean = QDir::cleanPath(QDir(folder).absolutePath());
    if (!canOpen(clean))
        return false;
    if (clean == path_)
        return true;
    path_ = clean;
    fill();
    emit changed();
    return true;
}

void FolderList::open(int row) {
    const QString folder = folderAt(row);
    if (folder.isEmpty())
        return;
    if (!setPath(folder))
        emit cannotOpen(folder);
}

void FolderList::keyPressEvent(QKeyEvent* event) {
    // Enter opens the selected folder rather than reaching any button.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        open(currentRow());
        return;
    }
    QListWidget::keyPressEvent(event);
}

void FolderList::fill() {
    clear();
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);

    // The ancestors, from the root down to the current folder.
    QStringList chain;
    for (QDir dir(path_);;) {
        chain.prepend(dir.absolutePath());
        if (dir.isRoot() || !dir.cdUp())
            break;
    }
    int depth = 0;
    for (const QString& folder : chain) {
        const QString name = QDir(folder).isRoot() ? folder : QFileInfo(folder).fileName();
        auto* entry = new QListWidgetItem(openIcon, QString(depth * kIndentStep, ' ') + name, this);
        entry->setData(kPathRole, folder);
        ++depth;
    }
    setCurrentRow(count() - 1);

    // The subfolders, sorted without regard to case, hidden ones left out.
    QStringList names = QDir(path_).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(names.begin(), names.end(), collator);
    const QDir current(path_);
    for (const QString& name : names) {
        auto* entry =
            new QListWidgetItem(closedIcon, QString(depth * kIndentStep, ' ') + name, this);
        entry->setData(kPathRole, current.absoluteFilePath(name));
    }
}
