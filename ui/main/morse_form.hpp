#pragma once

#include "ui/forms.hpp"

#include <QMainWindow>

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class TextBox;

// The main window: the text to translate above, the translation below with
// the print buffer lying in front of it, and the row of options and buttons at
// the bottom. Controls carry the names the program's code uses for them.
class MorseForm : public QMainWindow {
    Q_OBJECT

public:
    MorseForm();

    // Controls, in tab order.
    TextBox* txt_latino;
    QPushButton* btn_traduci;
    TextBox* txt_cifrato;
    QRadioButton* opt_cifrato;
    QRadioButton* opt_Morse;
    QFrame* Frame1;
    QFrame* Frame2;
    QLineEdit* txt_piucifr;
    QLabel* Label1;
    QPushButton* Command1;
    TextBox* RichTextBox1; // the print buffer: what the user reads and what gets printed

    // Menus. The entry `morse` shares its name with the window itself.
    QMenu* file;
    QAction* save;
    QAction* pri;
    QAction* clo;
    QMenu* mah;
    QAction* morse;
    QAction* cifrato;
    QAction* info;

public slots:
    void btn_traduci_Click();

    void Command1_Click();

    // Menu commands.
    void save_Click();
    void pri_Click();
    void clo_Click();
    void morse_Click();
    void cifrato_Click();
    void info_Click();

protected:
    bool focusNextPrevChild(bool next) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void stampa(); // the print routine
    void createControls();
    void createMenus();
};

// The main window's one global instance.
inline forms::Instance<MorseForm> morse;
