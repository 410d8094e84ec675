#include "ui/info/infor_form.hpp"

#include "ui/artwork/artwork.hpp"
#include "ui/fonts.hpp"
#include "ui/info/accessible_names.hpp"
#include "ui/place.hpp"
#include "ui/twips.hpp"

#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace {

// The fixed dialog border drawn around the client area, in pixels.
constexpr int kBorder = 2;

// A label that keeps its left and top edges and takes the size its caption needs.
QLabel* autoSizedLabel(QWidget* parent, const char* name, const QString& caption, const QRect& rect,
                       const QFont& font) {
    QLabel* label = fixedLabel(parent, name, caption, rect);
    label->setFont(font);
    label->adjustSize();
    return label;
}

} // namespace

InforForm::InforForm() {
    setObjectName(QStringLiteral("infor"));
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint); // no title bar, not in the taskbar
    setWindowIcon(artwork::starIcon());
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(kBorder);

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFont(fonts::msSansSerif(8.25));
    client->setGeometry(QRect(QPoint(kBorder, kBorder), twips::size(7455, 4710)));
    setFixedSize(client->width() + 2 * kBorder, client->height() + 2 * kBorder);

    fraMainFrame = place(new QFrame(client), "fraMainFrame", twips::rect(45, 0, 7380, 4590));
    fraMainFrame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    QFrame* f = fraMainFrame;

    // Created bottom-most first, so that later controls lie in front.
    lblCopyright = fixedLabel(f, "lblCopyright", QStringLiteral("Copyright © gli autori di Lumbo"),
                              twips::rect(4710, 3120, 2415, 255));
    lblCopyright->setFont(fonts::arial(8.25));
    lblCompany = fixedLabel(f, "lblCompany", QStringLiteral("Progetto Lumbo"),
                            twips::rect(4710, 3330, 2415, 255));
    lblCompany->setFont(fonts::arial(8.25));
    lblVersion = autoSizedLabel(f, "lblVersion", QStringLiteral("1.0 beta"),
                                twips::rect(6120, 2640, 885, 285), fonts::arial(12, true));
    lblVersion->setAlignment(Qt::AlignRight | Qt::AlignTop);
    lblPlatform = autoSizedLabel(f, "lblPlatform", QStringLiteral("Win 95-Win 98"),
                                 twips::rect(4800, 2160, 2175, 360), fonts::arial(15.75, true));
    lblPlatform->setAlignment(Qt::AlignRight | Qt::AlignTop);
    lblLicenseTo =
        fixedLabel(f, "lblLicenseTo", QStringLiteral("Freeware"), twips::rect(6240, 480, 855, 255));
    lblLicenseTo->setFont(fonts::arial(8.25));
    lblLicenseTo->setAlignment(Qt::AlignRight | Qt::AlignTop);
    Label1 = fixedLabel(f, "Label1", QString(), twips::rect(360, 3960, 3495, 375));
    Label1->setAutoFillBackground(true); // draws nothing but its background
    Label2 =
        fixedLabel(f, "Label2", QStringLiteral("Programma che traduce i testi in codice Morse"),
                   twips::rect(480, 3720, 3735, 375));
    Label3 = fixedLabel(f, "Label3", QStringLiteral("https://lumbo.example.org"),
                        twips::rect(240, 4200, 2895, 255));
    Image1 = place(new QLabel(f), "Image1", twips::rect(120, 480, 3780, 2775));
    Image1->setPixmap(artwork::picture(devicePixelRatioF()));
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Nome_Programma = autoSizedLabel(f, "Nome_Programma", QStringLiteral("Lumbo 1.0"),
                                    twips::rect(3960, 960, 3000, 765), fonts::arial(32.25, true));
    Nome_Programma->setAutoFillBackground(true);
    QPalette activeBorder = Nome_Programma->palette();
    activeBorder.setColor(QPalette::Window, QColor(0xB4, 0xB4, 0xB4)); // the active-border grey
    Nome_Programma->setPalette(activeBorder);
    Label4 = fixedLabel(f, "Label4", QStringLiteral("lumbo@example.org"),
                        twips::rect(3120, 4200, 1575, 255));
    Chiudi = place(new QPushButton(QStringLiteral("Chiudi"), f), "Chiudi",
                   twips::rect(6240, 4080, 975, 375));
    // Enter presses the focused button, as space does; there is no default button.
    Chiudi->setAutoDefault(true);
    connect(Chiudi, &QPushButton::clicked, this, &InforForm::Chiudi_Click);
    Chiudi->setFocus();

    if (const QScreen* screen = this->screen())
        move(screen->geometry().center() - rect().center());
    nameControlsForAssistiveTechnology(*this);
}

void InforForm::Chiudi_Click() {
    infor->hide();
}
