#include "ui/main/accessible_names.hpp"

#include "ui/accessible_names.hpp"
#include "ui/main/morse_form.hpp"

void nameControlsForAssistiveTechnology(MorseForm& window) {
    nameControls(
        window,
        {
            {"txt_latino", QStringLiteral("Testo da tradurre"),
             QStringLiteral("Il testo da tradurre in codice Morse o da cifrare")},
            // The print buffer lies in front of the translation box and shows
            // the same translation: to whoever cannot see them both are the
            // translation.
            {"RichTextBox1", QStringLiteral("Traduzione"),
             QStringLiteral("La traduzione, come verrà stampata")},
            {"txt_cifrato", QStringLiteral("Traduzione")},
            {"btn_traduci", QStringLiteral("Traduci"),
             QStringLiteral("Traduce il testo nel codice scelto")},
            {"Command1", QStringLiteral("Stampa"), QStringLiteral("Stampa la traduzione")},
            {"opt_Morse", QStringLiteral("Morse"), QStringLiteral("Traduce in codice Morse")},
            {"opt_cifrato", QStringLiteral("Cifrato")}, // its tooltip describes it
            {"Frame1", QStringLiteral("Codice"), QStringLiteral("Il codice in cui tradurre")},
            {"Frame2", QStringLiteral("Spostamento del cifrato")},
            {"Label1", QStringLiteral("più")},
            {"txt_piucifr", QStringLiteral("Spostamento"),
             QStringLiteral("Di quante posizioni il cifrato sposta ogni lettera")},
        });
}
