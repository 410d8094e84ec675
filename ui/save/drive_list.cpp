#include "ui/save/drive_list.hpp"

#include <QDir>
#include <QStorageInfo>

namespace {

bool isUserVolume(const QStorageInfo& volume) {
    const QString root = volume.rootPath();
    if (root == QLatin1String("/"))
        return true;
    for (const char* place : {"/media/", "/mnt/", "/run/media/"})
        if (root.startsWith(QLatin1String(place)))
            return true;
    return false;
}

} // namespace

QString volumeOf(const QString& folder) {
    const QStorageInfo volume(folder);
    return volume.isValid() ? volume.rootPath() : QStringLiteral("/");
}

DriveList::DriveList(QWidget* parent)
    : QComboBox(parent) {
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
        if (volume.isValid() && isUserVolume(volume))
            addVolume(volume.rootPath(), volume.name());
    const QStorageInfo home(QDir::homePath());
    if (home.isValid())
        addVolume(home.rootPath(), home.name());

    connect(this, &QComboBox::activated, this, [this](int index) {
        if (index != previous_) {
            previous_ = index;
            emit changed();
        }
    });
}

QString DriveList::drive() const {
    return currentData().toString();
}

int DriveList::addVolume(const QString& rootPath, const QString& label) {
    const int existing = findData(rootPath);
    if (existing >= 0)
        return existing;
    const QString shown =
        label.isEmpty() ? rootPath : QStringLiteral("%1 [%2]").arg(rootPath, label);
    addItem(shown, rootPath);
    return count() - 1;
}

QString DriveList::showVolumeOf(const QString& folder) {
    const QStorageInfo volume(folder);
    const QString root = volume.isValid() ? volume.rootPath() : QStringLiteral("/");
    const int index = addVolume(root, volume.name());
    setCurrentIndex(index);
    previous_ = index;
    return root;
}
