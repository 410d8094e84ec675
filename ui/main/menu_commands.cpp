// The main window's menu commands: each shows one of the other windows, always
// its single instance, modeless and in the state it was left in.
#include "ui/main/morse_form.hpp"

#include "ui/info/cod_morse_form.hpp"
#include "ui/info/frm_cifrato_form.hpp"
#include "ui/info/infor_form.hpp"
#include "ui/save/salva_form.hpp"

void MorseForm::save_Click() {
    Salva.show();
}

// Closes the main window and the windows that their own buttons only hide;
// an open Morse table or cipher explanation keeps the program running.
void MorseForm::clo_Click() {
    ::morse.unload();
    Salva.unload();
    infor.unload();
}

// The close box does what "&Chiudi" does (the window itself is unloaded by its
// close box already), so that no hidden window keeps the program running.
void MorseForm::closeEvent(QCloseEvent* event) {
    Salva.unload();
    infor.unload();
    QMainWindow::closeEvent(event);
}

void MorseForm::morse_Click() {
    CodMorse.show();
}

void MorseForm::cifrato_Click() {
    frm_cifrato.show();
}

void MorseForm::info_Click() {
    infor.show();
}
