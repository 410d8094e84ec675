#include "ui/main/modulo1.hpp"

#include "engine/cipher.hpp"
#include "engine/morse.hpp"
#include "ui/main/morse_form.hpp"
#include "ui/text.hpp"
#include "ui/textbox/text_box.hpp"

namespace {

// The translation as the boxes hold it, with room to grow: the first edit of
// a translation of megabytes then moves the text instead of copying it whole.
QString shown(const std::string& translation) {
    const auto size = static_cast<qsizetype>(translation.size());
    return text::fromWindows1252(translation, size / 16 + 4096);
}

} // namespace

namespace Modulo1 {

void traduci_morse() {
    MorseForm& window = morse.get();
    const QString testo = window.txt_latino->toPlainText();
    window.txt_cifrato->document()->setText(shown(engine::morse(text::view(testo))));
}

void traduci_cifrato(const std::int16_t& spostamento) {
    MorseForm& window = morse.get();
    const QString testo = window.txt_latino->toPlainText();
    window.txt_cifrato->document()->setText(shown(engine::cifrato(text::view(testo), spostamento)));
}

QString traduzione() {
    return morse->txt_cifrato->document()->text();
}

} // namespace Modulo1
