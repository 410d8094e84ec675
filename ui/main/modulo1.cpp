#include "ui/main/modulo1.hpp"

#include "engine/cipher.hpp"
#include "engine/morse.hpp"
#include "ui/main/morse_form.hpp"
#include "ui/messages.hpp"
#include "ui/text.hpp"
#include "ui/text_file.hpp"
#include "ui/textbox/text_box.hpp"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

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

bool salva_testo(const QString& percorso) {
    // A line break typed or pasted into the box is written as CR LF; any
    // other character, a line feed that the cipher made included, as itself.
    QString testo = morse->txt_cifrato->document()->text();
    testo.replace(QChar::ParagraphSeparator, QLatin1String("\r\n"));
    testo.replace(QChar::LineSeparator, QLatin1String("\r\n"));
    testo += QLatin1String("\r\n");

    const text::Windows1252 encoded = text::toWindows1252(testo);
    QWidget* asking = QApplication::activeWindow();
    if (!encoded.firstUnrepresentable.isEmpty()) {
        const char32_t code = encoded.firstUnrepresentable.toUcs4().value(0);
        const QString hex = QString::number(code, 16).toUpper().rightJustified(4, QLatin1Char('0'));
        const QString question =
            QStringLiteral("Il testo contiene caratteri che un file di testo Windows-1252 non può "
                           "contenere, per esempio \"%1\" (U+%2).\n\n"
                           "Salvare comunque, scrivendo \"?\" al loro posto?")
                .arg(encoded.firstUnrepresentable, hex);
        if (!messages::askYesNo(asking, question))
            return false;
    }

    const QString file = QFileInfo(percorso).absoluteFilePath();
    const QString error = writeWholeFile(file, encoded.bytes);
    if (!error.isEmpty()) {
        messages::warning(asking, QStringLiteral("Impossibile salvare il file \"%1\":\n%2.")
                                      .arg(QDir::toNativeSeparators(file), error));
        return false;
    }
    return true;
}

} // namespace Modulo1
