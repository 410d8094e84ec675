#include "ui/writer/salva_testo.hpp"

#include "ui/messages.hpp"
#include "ui/text.hpp"
#include "ui/text_file.hpp"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

namespace Modulo1 {

namespace {
TranslationReader translationReader = nullptr;
} // namespace

void readTranslationWith(TranslationReader reader) {
    translationReader = reader;
}

bool salva_testo(const QString& percorso) {
    // A line break typed or pasted into the box is written as CR LF; any
    // other character, a line feed that the cipher made included, as itself.
    QString testo = translationReader ? translationReader() : QString();
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
