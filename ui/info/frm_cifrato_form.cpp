#include "ui/info/frm_cifrato_form.hpp"

#include "ui/artwork/artwork.hpp"
#include "ui/fonts.hpp"
#include "ui/place.hpp"
#include "ui/twips.hpp"

#include <QLabel>

FrmCifratoForm::FrmCifratoForm() {
    setObjectName(QStringLiteral("frm_cifrato"));
    setWindowTitle(QStringLiteral("Cifrato"));
    setWindowIcon(artwork::keyIcon());
    setFont(fonts::msSansSerif(8.25, true));
    resize(twips::size(3045, 1605));

    // Created bottom-most first: Label3 lies over the lower edge of Label2.
    Label1 = fixedLabel(this, "Label1", QStringLiteral("Es.    scelgo   + 1"),
                        twips::rect(0, 120, 2655, 375));
    Label2 = fixedLabel(this, "Label2",
                        QStringLiteral("A diventa B;  B diventa C e così via. La Z diventa A."),
                        twips::rect(240, 480, 2655, 855));
    Label3 = fixedLabel(this, "Label3", QStringLiteral("\"CIAO\" si scriverà \"DJBP\" "),
                        twips::rect(240, 1080, 2895, 615));
    for (QLabel* label : {Label1, Label2, Label3}) {
        label->setWordWrap(true);
        label->setAutoFillBackground(true); // opaque
    }
}
