#include "ui/main/morse_form.hpp"

#include "ui/artwork/artwork.hpp"
#include "ui/fonts.hpp"
#include "ui/main/accessible_names.hpp"
#include "ui/main/modulo1.hpp"
#include "ui/place.hpp"
#include "ui/textbox/text_box.hpp"
#include "ui/twips.hpp"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>

#include <limits>

namespace {

// Multi-line box with only a vertical scroll bar: lines wrap at the box's
// width, Tab moves the focus on, Enter breaks the line.
TextBox* multiLine(QWidget* parent, const char* name, const QRect& rect, const QFont& font) {
    auto* box = place(new TextBox(parent), name, rect);
    box->setFont(font);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    return box;
}

} // namespace

MorseForm::MorseForm() {
    setObjectName(QStringLiteral("morse"));
    setWindowTitle(QStringLiteral("Lumbo 1.0"));
    setWindowIcon(artwork::notepadIcon());
    createMenus();
    createControls();

    // The client area, below the menu bar, is placed and sized in twips.
    const int menuHeight = menuBar()->sizeHint().height();
    const QSize client = twips::size(8805, 4995);
    setGeometry(twips::toPixels(3075), twips::toPixels(3075) - menuHeight, client.width(),
                client.height() + menuHeight);

    txt_latino->setFocus();
    nameControlsForAssistiveTechnology(*this);

    // The file writer lies below this window's library and reads the
    // translation through the global instance, as the save dialog's "Salva" asks.
    Modulo1::readTranslationWith(&Modulo1::traduzione);
}

void MorseForm::createControls() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFont(fonts::msSansSerif(8.25));
    setCentralWidget(client);

    // Created bottom-most first, so that later controls lie in front.
    Frame1 = place(new QFrame(client), "Frame1", twips::rect(960, 4080, 3495, 855));
    Frame2 = place(new QFrame(Frame1), "Frame2", twips::rect(1080, 120, 2295, 615));
    for (QFrame* frame : {Frame1, Frame2})
        frame->setFrameStyle(QFrame::Box | QFrame::Sunken); // an etched box with no caption
    Label1 = fixedLabel(Frame2, "Label1", QStringLiteral("+"), twips::rect(1080, 240, 135, 255));
    txt_piucifr = place(new QLineEdit(Frame2), "txt_piucifr", twips::rect(1320, 210, 855, 285));
    txt_piucifr->setMaxLength(std::numeric_limits<int>::max());

    txt_latino =
        multiLine(client, "txt_latino", twips::rect(0, 0, 8775, 2055), fonts::msSansSerif(12));

    btn_traduci = place(new QPushButton(QStringLiteral("Traduci"), client), "btn_traduci",
                        twips::rect(5280, 4320, 1215, 375));

    txt_cifrato =
        multiLine(client, "txt_cifrato", twips::rect(0, 2040, 8775, 2055), fonts::msSansSerif(18));

    // The option buttons belong to the window, not to the frames drawn around
    // them, so they make one group.
    opt_cifrato = place(new QRadioButton(QStringLiteral("Cifrato"), client), "opt_cifrato",
                        twips::rect(2160, 4320, 855, 435));
    opt_cifrato->setToolTip(QStringLiteral("Sostituisce la lettera con quella in posizione +n"));
    opt_Morse = place(new QRadioButton(QStringLiteral("Morse"), client), "opt_Morse",
                      twips::rect(1080, 4320, 855, 495));
    opt_Morse->setChecked(true);

    Command1 = place(new QPushButton(QStringLiteral("Stampa"), client), "Command1",
                     twips::rect(7080, 4320, 1215, 375));

    RichTextBox1 =
        multiLine(client, "RichTextBox1", twips::rect(0, 2040, 8775, 2055), fonts::arial(24, true));
    // The print buffer shows the output box's own text, so that what is read,
    // edited, saved and printed is one text; the output box lies hidden under
    // it, and the keyboard reaches the translation where the user sees it.
    RichTextBox1->setDocument(txt_cifrato->document());
    txt_cifrato->setFocusPolicy(Qt::NoFocus);
    txt_cifrato->setFocusProxy(RichTextBox1);
    // Covered, it never shows more than its first lines: measuring all of
    // them in the background would be work for no one.
    txt_cifrato->lineLayout().setBackgroundWork(false);

    setTabOrder(txt_latino, btn_traduci);
    setTabOrder(btn_traduci, RichTextBox1);
    setTabOrder(RichTextBox1, opt_cifrato);
    setTabOrder(opt_cifrato, opt_Morse);
    setTabOrder(opt_Morse, txt_piucifr);
    setTabOrder(txt_piucifr, Command1);

    connect(btn_traduci, &QPushButton::clicked, this, &MorseForm::btn_traduci_Click);
    connect(Command1, &QPushButton::clicked, this, &MorseForm::Command1_Click);
}

void MorseForm::createMenus() {
    auto entry = [](QMenu* menu, const char* name, const QString& caption) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };

    file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("file"));
    save = entry(file, "save", QStringLiteral("&Salva"));
    pri = entry(file, "pri", QStringLiteral("S&tampa"));
    clo = entry(file, "clo", QStringLiteral("&Chiudi"));

    mah = menuBar()->addMenu(QStringLiteral("&?"));
    mah->setObjectName(QStringLiteral("mah"));
    morse = entry(mah, "morse", QStringLiteral("C&odice Morse"));
    cifrato = entry(mah, "cifrato", QStringLiteral("&Messaggio Cifrato"));
    info = entry(mah, "info", QStringLiteral("&Informazioni su Lumbo 1.0"));

    connect(save, &QAction::triggered, this, &MorseForm::save_Click);
    connect(pri, &QAction::triggered, this, &MorseForm::pri_Click);
    connect(clo, &QAction::triggered, this, &MorseForm::clo_Click);
    connect(morse, &QAction::triggered, this, &MorseForm::morse_Click);
    connect(cifrato, &QAction::triggered, this, &MorseForm::cifrato_Click);
    connect(info, &QAction::triggered, this, &MorseForm::info_Click);
}

bool MorseForm::focusNextPrevChild(bool next) {
    const bool moved = QMainWindow::focusNextPrevChild(next);
    // Tab enters the option group at its selected button, as users of option
    // buttons expect; the arrow keys move within the group.
    auto* option = qobject_cast<QRadioButton*>(focusWidget());
    if (option && !option->isChecked()) {
        for (QRadioButton* selected : {opt_Morse, opt_cifrato})
            if (selected->isChecked())
                selected->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    }
    return moved;
}
