// The "Traduci" button: runs the chosen encoder and copies its result into the
// print buffer, which lies in front of the output box.
#include "ui/main/modulo1.hpp"
#include "ui/main/morse_form.hpp"
#include "ui/textbox/text_box.hpp"

#include "engine/cipher.hpp"
#include "engine/shift.hpp"
#include "ui/messages.hpp"
#include "ui/text.hpp"

#include <QLineEdit>
#include <QRadioButton>

namespace {

QString shiftRefusal(const QString& typed, engine::ShiftError error) {
    const QString range =
        QStringLiteral("un numero intero da %1 a %2").arg(engine::kMinShift).arg(engine::kMaxShift);
    // A pasted page of digits would make an unreadable message.
    QString shown = typed.trimmed();
    if (shown.size() > 30)
        shown = shown.left(30) + QStringLiteral("…");

    switch (error) {
    case engine::ShiftError::Empty:
        return QStringLiteral("Manca lo spostamento: scrivere accanto a \"+\" %1.").arg(range);
    case engine::ShiftError::NotInteger:
        return QStringLiteral("Lo spostamento \"%1\" non è un numero intero.\n"
                              "Lo spostamento deve essere %2.")
            .arg(shown, range);
    case engine::ShiftError::OutOfRange:
        break;
    }
    return QStringLiteral("Lo spostamento %1 è fuori dai limiti.\nLo spostamento deve essere %2.")
        .arg(shown, range);
}

} // namespace

void MorseForm::btn_traduci_Click() {
    if (opt_Morse->isChecked()) {
        Modulo1::traduci_morse();
    } else {
        const QString typed = txt_piucifr->text();
        const auto parsed = engine::parse_shift(text::view(typed));
        if (const auto* error = std::get_if<engine::ShiftError>(&parsed)) {
            messages::warning(this, shiftRefusal(typed, *error));
            txt_piucifr->setFocus();
            txt_piucifr->selectAll();
            return;
        }
        const auto spostamento = static_cast<std::int16_t>(std::get<int>(parsed));
        Modulo1::traduci_cifrato(spostamento);
    }
    // The print buffer needs no copy: it shows the output box's own text.
}
