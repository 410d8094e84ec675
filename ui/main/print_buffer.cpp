// Printing the print buffer, in its own formatting (Arial 24 pt bold), on the
// default printer, or into a PDF file when there is no printer.
#include "ui/main/morse_form.hpp"

#include "ui/main/print_queue.hpp"
#include "ui/messages.hpp"
#include "ui/textbox/text_box.hpp"
#include "ui/textbox/text_printer.hpp"

#include <QFileInfo>
#include <QPrinter>
#include <QPrinterInfo>

namespace {

const QString kDocumentName = QStringLiteral("Lumbo 1.0");

// Two centimetres of white on each side of the sheet, measured from its edge;
// the buffer wraps its text at the width left inside them.
bool setPageMargins(QPrinter& printer) {
    constexpr qreal kMargin = 20; // millimetres
    return printer.setPageMargins(QMarginsF(kMargin, kMargin, kMargin, kMargin),
                                  QPageLayout::Millimeter);
}

// Prints the buffer's text in its own font, wrapped at the printable width; no
// page is added of our own.
bool print(TextBox* buffer, QPrinter& printer) {
    printer.setDocName(kDocumentName);
    if (!printer.isValid() || !setPageMargins(printer))
        return false;
    TextPrinter pages(*buffer->document(), buffer->font(), &printer);
    if (!pages.begin())
        return false;
    while (!pages.atEnd())
        if (!pages.printNextPage())
            return false;
    if (!pages.end())
        return false;
    return printer.printerState() != QPrinter::Error && printer.printerState() != QPrinter::Aborted;
}

void printToPdf(QWidget* parent, TextBox* buffer) {
    const bool wanted = messages::askYesNo(
        parent,
        QStringLiteral("Non è configurata nessuna stampante predefinita, quindi il testo non "
                       "può essere stampato.\n\nSalvare la stampa in un file PDF?"));
    if (!wanted)
        return;
    const QString file = messages::askSaveFileName(parent, QStringLiteral("Stampa in un file PDF"),
                                                   QStringLiteral("Documenti PDF (*.pdf)"));
    if (file.isEmpty())
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    // A PDF that could not be written leaves no file or an empty one behind.
    if (!print(buffer, printer) || QFileInfo(file).size() == 0)
        messages::warning(parent,
                          QStringLiteral("Impossibile scrivere il file PDF \"%1\".").arg(file));
}

} // namespace

void MorseForm::pri_Click() {
    stampa();
}

void MorseForm::Command1_Click() {
    stampa();
}

void MorseForm::stampa() {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        printToPdf(this, RichTextBox1);
        return;
    }
    const QString name = info.description().isEmpty() ? info.printerName() : info.description();
    const PrintQueue queue = printQueue(info.printerName());
    const QString because =
        queue.reason.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(queue.reason);
    if (!queue.accepting) {
        messages::warning(
            this, QStringLiteral("La stampante \"%1\" non accetta stampe in questo momento%2: "
                                 "non è stato stampato nulla.")
                      .arg(name, because));
        return;
    }
    QPrinter printer(info, QPrinter::HighResolution);
    // Without a native print system Qt would quietly write a PDF with no name.
    if (printer.outputFormat() != QPrinter::NativeFormat || !print(RichTextBox1, printer)) {
        messages::warning(
            this, QStringLiteral("La stampante \"%1\" non ha accettato la stampa.").arg(name));
        return;
    }
    if (queue.stopped) {
        messages::warning(
            this, QStringLiteral("La stampa è stata inviata alla stampante \"%1\", che però è "
                                 "ferma%2: uscirà quando la stampante verrà riattivata.")
                      .arg(name, because));
    }
}
