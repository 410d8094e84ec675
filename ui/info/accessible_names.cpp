#include "ui/info/accessible_names.hpp"

#include "ui/accessible_names.hpp"
#include "ui/info/cod_morse_form.hpp"
#include "ui/info/infor_form.hpp"

void nameControlsForAssistiveTechnology(CodMorseForm& window) {
    nameControls(window, {{"txt_codmorse", QStringLiteral("Codice Morse"),
                           QStringLiteral("Ogni lettera e il suo codice")}});
}

void nameControlsForAssistiveTechnology(InforForm& window) {
    nameControls(window, {
                             {"fraMainFrame", QStringLiteral("Informazioni su Lumbo 1.0")},
                             {"Image1", QStringLiteral("Immagine di Lumbo")},
                             {"Chiudi", QStringLiteral("Chiudi")},
                         });
}
