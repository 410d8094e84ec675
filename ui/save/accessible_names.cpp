#include "ui/save/accessible_names.hpp"

#include "ui/accessible_names.hpp"
#include "ui/save/salva_form.hpp"

void nameControlsForAssistiveTechnology(SalvaForm& dialog) {
    nameControls(dialog, {
                             {"Drive1", QStringLiteral("Unità")},
                             {"Dir1", QStringLiteral("Cartelle")},
                             {"File1", QStringLiteral("File")},
                             {"txt_salva", QStringLiteral("Nome del file")},
                             {"Salva", QStringLiteral("Salva")},
                             {"Annulla", QStringLiteral("Annulla")},
                         });
}
