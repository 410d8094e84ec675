#include "ui/save/salva_form.hpp"

#include "ui/artwork/artwork.hpp"
#include "ui/messages.hpp"
#include "ui/place.hpp"
#include "ui/save/accessible_names.hpp"
#include "ui/save/drive_list.hpp"
#include "ui/save/file_list.hpp"
#include "ui/save/folder_list.hpp"
#include "ui/twips.hpp"
#include "ui/writer/salva_testo.hpp"

#include <QDir>
#include <QHash>
#include <QLineEdit>
#include <QPushButton>

#include <limits>

namespace {

// The folder last opened on each volume in this run, so that choosing a
// volume again goes back there.
QHash<QString, QString>& folderOnVolume() {
    static QHash<QString, QString> folders;
    return folders;
}

bool liesOn(const QString& folder, const QString& volume) {
    return volumeOf(folder) == volume;
}

} // namespace

SalvaForm::SalvaForm() {
    setObjectName(QStringLiteral("Salva"));
    setWindowTitle(QStringLiteral("Salva"));
    setWindowIcon(artwork::notepadIcon());
    setGeometry(
        QRect(QPoint(twips::toPixels(180), twips::toPixels(1875)), twips::size(6675, 2580)));

    Drive1 = place(new DriveList(this), "Drive1", twips::rect(0, 0, 3015, 315));
    Annulla = place(new QPushButton(QStringLiteral("Annulla"), this), "Annulla",
                    twips::rect(5760, 2160, 855, 375));
    txt_salva = place(new QLineEdit(QStringLiteral("Morse"), this), "txt_salva",
                      twips::rect(3120, 2160, 1575, 285));
    txt_salva->setMaxLength(std::numeric_limits<int>::max());
    Salva = place(new QPushButton(QStringLiteral("Salva"), this), "Salva",
                  twips::rect(4800, 2160, 855, 375));
    File1 = place(new FileList(this), "File1", twips::rect(3120, 0, 3495, 2040));
    Dir1 = place(new FolderList(this), "Dir1", twips::rect(0, 360, 3015, 2115));

    setTabOrder(Drive1, Annulla);
    setTabOrder(Annulla, txt_salva);
    setTabOrder(txt_salva, Salva);
    setTabOrder(Salva, File1);
    setTabOrder(File1, Dir1);

    // The lists start at the process's current folder; no handler runs yet.
    const QString start = QDir::currentPath();
    Dir1->setPath(start);
    File1->setPattern(QStringLiteral("*.txt"));
    File1->setFileName(start);
    folderOnVolume().insert(Drive1->showVolumeOf(Dir1->path()), Dir1->path());

    connect(Drive1, &DriveList::changed, this, &SalvaForm::Drive1_Change);
    connect(Dir1, &FolderList::changed, this, &SalvaForm::Dir1_Change);
    connect(Dir1, &FolderList::cannotOpen, this, [this](const QString& folder) {
        messages::warning(this,
                          QStringLiteral("Impossibile aprire la cartella \"%1\": non esiste più "
                                         "o non si hanno i permessi per leggerla.")
                              .arg(QDir::toNativeSeparators(folder)));
    });
    connect(File1, &FileList::picked, this, &SalvaForm::File1_Click);
    connect(Salva, &QPushButton::clicked, this, &SalvaForm::Salva_Click);
    connect(Annulla, &QPushButton::clicked, this, &SalvaForm::Annulla_Click);

    Drive1->setFocus();
    nameControlsForAssistiveTechnology(*this);
}

void SalvaForm::Drive1_Change() {
    const QString drive = Drive1->drive();
    QString folder = folderOnVolume().value(drive);
    if (folder.isEmpty())
        folder = liesOn(QDir::currentPath(), drive) ? QDir::currentPath() : drive;

    // Moving the folder list runs Dir1_Change inside, when the folder changes.
    if (!Dir1->setPath(folder) && !Dir1->setPath(drive)) {
        messages::warning(this,
                          QStringLiteral("Impossibile leggere l'unità \"%1\": la cartella non "
                                         "esiste o non si hanno i permessi per leggerla.")
                              .arg(QDir::toNativeSeparators(drive)));
        Drive1->showVolumeOf(Dir1->path());
        return;
    }
    QDir::setCurrent(File1->path());
}

void SalvaForm::Dir1_Change() {
    File1->setFileName(Dir1->path());
    QDir::setCurrent(File1->path());
    folderOnVolume().insert(Drive1->showVolumeOf(Dir1->path()), Dir1->path());
    picked_.clear(); // the picked file is no longer listed
}

void SalvaForm::File1_Click() {
    picked_ = File1->fileName();
    txt_salva->setText(picked_);
}

void SalvaForm::Salva_Click() {
    // A typed name gets ".txt" whatever it ends with; a name picked from the
    // list, left as it was, replaces that listed file.
    const QString typed = txt_salva->text();
    const QString name =
        (!picked_.isEmpty() && typed == picked_) ? typed : typed + QStringLiteral(".txt");
    if (!Modulo1::salva_testo(name))
        return; // the dialog stays shown
    hide();
}

void SalvaForm::Annulla_Click() {
    hide();
}
