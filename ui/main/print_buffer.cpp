// Printing the print buffer, in its own formatting (Arial 24 pt bold), on the
// default printer, or into a PDF file when there is no printer.
//
// Either way the pages are first written as a PDF, one page at a time with a
// progress window that can stop them: into a temporary file that goes to the
// print system only once it is complete, or beside the chosen PDF file, which
// it replaces only once it is complete. A stopped print so sends nothing to
// the printer and leaves no file, and an existing file is never harmed. Qt's
// own printer cannot do this: it hands what it has to the print system
// however its job ends, QPrinter::abort() notwithstanding.
#include "ui/main/morse_form.hpp"

#include "ui/main/print_queue.hpp"
#include "ui/messages.hpp"
#include "ui/textbox/text_box.hpp"
#include "ui/textbox/text_document.hpp"
#include "ui/textbox/text_printer.hpp"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QPdfWriter>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <QSaveFile>
#include <QTemporaryFile>

namespace {

const QString kDocumentName = QStringLiteral("Lumbo 1.0");

// The resolution Qt's printers use for high-quality output.
constexpr int kResolution = 1200;

// Two centimetres of white on each side of the sheet, measured from its edge;
// the buffer wraps its text at the width left inside them.
bool setPageLayout(QPdfWriter& pdf, const QPageSize& paper) {
    constexpr qreal kMargin = 20; // millimetres
    pdf.setResolution(kResolution);
    pdf.setTitle(kDocumentName);
    pdf.setCreator(kDocumentName);
    return pdf.setPageLayout(QPageLayout(paper, QPageLayout::Portrait,
                                         QMarginsF(kMargin, kMargin, kMargin, kMargin),
                                         QPageLayout::Millimeter));
}

enum class Outcome { Printed, Cancelled, Failed };

// Prints a copy of the buffer's text, as it stands now, in the buffer's own
// font, wrapped at the printable width; no page is added of our own. When it
// takes more than a moment a progress window, modal to `parent`, counts the
// pages and offers "Annulla" (Escape too); the windows go on repainting
// meanwhile. A file that cannot take more (a full disk) stops it at once.
Outcome printPages(QWidget* parent, const TextBox& buffer, QPdfWriter& pdf,
                   const QFileDevice& file) {
    TextDocument text;
    text.setText(buffer.document()->text());
    const QLocale italian(QLocale::Italian, QLocale::Italy);

    QProgressDialog progress(parent);
    progress.setWindowModality(Qt::WindowModal);
    progress.setWindowTitle(QStringLiteral("Stampa"));
    progress.setCancelButtonText(QStringLiteral("Annulla"));
    progress.setLabelText(QStringLiteral("Stampa in corso…\nPreparazione delle pagine"));
    progress.setMinimumDuration(500);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    progress.setValue(0); // starts the clock that shows the window

    TextPrinter pages(text, buffer.font(), &pdf);
    const int count = pages.pageCount();
    progress.setMaximum(count);
    const QString total = italian.toString(count);
    if (!pages.begin())
        return Outcome::Failed;
    while (!pages.atEnd()) {
        progress.setLabelText(QStringLiteral("Stampa in corso…\nPagina %1 di %2")
                                  .arg(italian.toString(pages.pagesPrinted() + 1), total));
        if (!pages.printNextPage() || file.error() != QFileDevice::NoError) {
            pages.end();
            return Outcome::Failed;
        }
        progress.setValue(pages.pagesPrinted());
        if (progress.wasCanceled()) {
            pages.end();
            return Outcome::Cancelled;
        }
    }
    return pages.end() ? Outcome::Printed : Outcome::Failed;
}

// Why writing `file` failed: the system's reason, when the file had one.
QString whyFailed(const QFileDevice& file) {
    return file.error() != QFileDevice::NoError
               ? file.errorString()
               : QStringLiteral("non è stato possibile disegnare le pagine");
}

// The PDF name for a name typed without the extension, as Qt's own file
// chooser gives it.
QString withPdfSuffix(const QString& file) {
    if (QFileInfo(file).suffix().compare(QLatin1String("pdf"), Qt::CaseInsensitive) == 0)
        return file;
    return file + QStringLiteral(".pdf");
}

void printToPdf(QWidget* parent, const TextBox& buffer) {
    const bool wanted = messages::askYesNo(
        parent,
        QStringLiteral("Non è configurata nessuna stampante predefinita, quindi il testo non "
                       "può essere stampato.\n\nSalvare la stampa in un file PDF?"));
    if (!wanted)
        return;
    const QString chosen = messages::askSaveFileName(
        parent, QStringLiteral("Stampa in un file PDF"), QStringLiteral("Documenti PDF (*.pdf)"));
    if (chosen.isEmpty())
        return;
    const QString file = QDir::toNativeSeparators(withPdfSuffix(chosen));
    // The file chooser asked about replacing the name as typed, not this one.
    if (file != QDir::toNativeSeparators(chosen) && QFileInfo::exists(file) &&
        !messages::askYesNo(parent,
                            QStringLiteral("Il file \"%1\" esiste già.\n\nSostituirlo?").arg(file)))
        return;
    auto failed = [&](const QString& why) {
        messages::warning(
            parent, QStringLiteral("Impossibile scrivere il file PDF \"%1\":\n%2.").arg(file, why));
    };

    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly)) {
        failed(out.errorString());
        return;
    }
    Outcome outcome = Outcome::Failed;
    {
        QPdfWriter pdf(&out);
        if (setPageLayout(pdf, QPageSize(QPageSize::A4)))
            outcome = printPages(parent, buffer, pdf, out);
    } // the writer finishes the file here
    if (outcome != Outcome::Printed) {
        out.cancelWriting();
        if (outcome == Outcome::Failed)
            failed(whyFailed(out));
        return;
    }
    if (!out.commit())
        failed(whyFailed(out));
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
        printToPdf(this, *RichTextBox1);
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
    auto refused = [&](const QString& why) {
        messages::warning(this, QStringLiteral("La stampante \"%1\" non ha accettato la stampa "
                                               "(%2): non è stato stampato nulla.")
                                    .arg(name, why));
    };

    QTemporaryFile spool(QDir::temp().filePath(QStringLiteral("lumbo-stampa-XXXXXX.pdf")));
    if (!spool.open()) {
        refused(spool.errorString());
        return;
    }
    const QPageSize paper =
        info.defaultPageSize().isValid() ? info.defaultPageSize() : QPageSize(QPageSize::A4);
    Outcome outcome = Outcome::Failed;
    {
        QPdfWriter pdf(&spool);
        if (setPageLayout(pdf, paper))
            outcome = printPages(this, *RichTextBox1, pdf, spool);
    } // the writer finishes the file here
    if (outcome == Outcome::Cancelled)
        return; // nothing reached the print system
    if (outcome == Outcome::Failed || !spool.flush()) {
        refused(whyFailed(spool));
        return;
    }
    const QString error =
        submitPdf(info.printerName(), spool.fileName(), kDocumentName, paper.key());
    if (!error.isEmpty()) {
        refused(error);
        return;
    }
    if (queue.stopped) {
        messages::warning(
            this, QStringLiteral("La stampa è stata inviata alla stampante \"%1\", che però è "
                                 "ferma%2: uscirà quando la stampante verrà riattivata.")
                      .arg(name, because));
    }
}
