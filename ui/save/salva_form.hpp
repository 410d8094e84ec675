#pragma once

#include "ui/forms.hpp"

#include <QWidget>

class DriveList;
class FileList;
class FolderList;
class QLineEdit;
class QPushButton;

// The save dialog: a drive list and a folder list on the left, the folder's
// .txt files on the right, and under them the name box, "Salva" and "Annulla".
// The process's current folder always follows the folder the lists show, and
// the file is written there. The buttons hide the dialog; it stays loaded.
class SalvaForm : public QWidget {
    Q_OBJECT

public:
    SalvaForm();

    // Controls, in tab order. The confirm button shares its name with the dialog.
    DriveList* Drive1;
    QPushButton* Annulla;
    QLineEdit* txt_salva;
    QPushButton* Salva;
    FileList* File1;
    FolderList* Dir1;

public slots:
    void Drive1_Change();
    void Dir1_Change();
    void File1_Click();
    void Salva_Click();
    void Annulla_Click();

private:
    QString picked_; // the name last picked from the file list
};

inline forms::Instance<SalvaForm> Salva;
