#include "ui/info/cod_morse_form.hpp"

#include "ui/artwork/artwork.hpp"
#include "ui/fonts.hpp"
#include "ui/info/accessible_names.hpp"
#include "ui/place.hpp"
#include "ui/twips.hpp"

#include <QApplication>
#include <QPlainTextEdit>

namespace {

// The table as the window has always shown it, spacing included: the A line
// has two spaces before its "/" and one after, and the T line writes its dash
// as "-". It is a display of its own; the encoder does not read it.
const char* const kTable = "A = . _  / \r\n"
                           "B = _ . . . /\r\n"
                           "C = _ . _ . /\r\n"
                           "D = _ . . /\r\n"
                           "E = . /\r\n"
                           "F = . . _ . /\r\n"
                           "G = _ _ . /\r\n"
                           "H = . . . . /\r\n"
                           "I = . . /\r\n"
                           "L = . _ . . /\r\n"
                           "M = _ _ /\r\n"
                           "N = _ . /\r\n"
                           "O = _ _ _ /\r\n"
                           "P = . _ _ . /\r\n"
                           "Q = _ _ . _ /\r\n"
                           "R = . _ . /\r\n"
                           "S = . . . /\r\n"
                           "T = - /\r\n"
                           "U = . . _ /\r\n"
                           "V = . . . _ /\r\n"
                           "Z = _ _ . . /\r\n";

} // namespace

CodMorseForm::CodMorseForm() {
    setObjectName(QStringLiteral("CodMorse"));
    setWindowTitle(QStringLiteral("Il Morse"));
    setWindowIcon(artwork::keyIcon());
    resize(twips::size(1890, 4605));

    txt_codmorse =
        place(new QPlainTextEdit(this), "txt_codmorse", twips::rect(240, 120, 1335, 4335));
    txt_codmorse->setFont(fonts::msSansSerif(8.25, true));
    txt_codmorse->setPlainText(QString::fromLatin1(kTable));
    txt_codmorse->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txt_codmorse->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txt_codmorse->setTabChangesFocus(true);
    // A reference: it can be read, selected and copied, not changed.
    txt_codmorse->setReadOnly(true);
    txt_codmorse->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    QPalette palette = txt_codmorse->palette();
    palette.setColor(QPalette::Base, QApplication::palette("QMenu").color(QPalette::Window));
    txt_codmorse->setPalette(palette);
    nameControlsForAssistiveTechnology(*this);
}
