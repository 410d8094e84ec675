#pragma once

#include <QComboBox>

// A classic drive list, for a system without drive letters: the mounted file
// systems a user saves to, each shown as its mount path and, where it has
// one, its label.
class DriveList : public QComboBox {
    Q_OBJECT

public:
    explicit DriveList(QWidget* parent = nullptr);

    // The mount path of the chosen volume.
    QString drive() const;

    // Chooses the volume that holds `folder`, adding it to the list if needed,
    // without raising changed(); returns that volume's mount path.
    QString showVolumeOf(const QString& folder);

signals:
    // The user chose another volume.
    void changed();

private:
    int addVolume(const QString& rootPath, const QString& label);
    int previous_ = -1;
};

// The mount path of the volume that holds `folder`.
QString volumeOf(const QString& folder);
