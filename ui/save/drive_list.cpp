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
    addVolume(volumeOf(QDir::homePath()), QStorageInfo(QDir::homePath()).name());

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

void DriveList::showVolumeOf(const QString& folder) {
    const QString root = volumeOf(folder);
    const int index = addVolume(root, QStorageInfo(root).name());
    setCurrentIndex(index);
    previous_ = index;
}
