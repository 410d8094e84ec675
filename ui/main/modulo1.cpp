#include "ui/main/modulo1.hpp"

#include "engine/cipher.hpp"
#include "engine/morse.hpp"
#include "ui/main/morse_form.hpp"
#include "ui/text.hpp"

#include <QPlainTextEdit>

namespace Modulo1 {

void traduci_morse() {
    MorseForm& window = morse.get();
    const QString testo = window.txt_latino->toPlainText();
    window.txt_cifrato->setPlainText(text::fromWindows1252(engine::morse(text::view(testo))));
}

void traduci_cifrato(const std::int16_t& spostamento) {
    MorseForm& window = morse.get();
    const QString testo = window.txt_latino->toPlainText();
    window.txt_cifrato->setPlainText(
        text::fromWindows1252(engine::cifrato(text::view(testo), spostamento)));
}

} // namespace Modulo1
