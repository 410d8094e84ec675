// Printing through a real print system. printsOnTheDefaultPrinter runs under
// tests/print/with-cups, which starts a private CUPS server with a default
// queue; the other cases run with no print server reachable.
#include "ui/fonts.hpp"
#include "ui/main/morse_form.hpp"
#include "ui/messages.hpp"
#include "ui/textbox/text_box.hpp"
#include "ui/textbox/text_document.hpp"

#include "tests/ui/window_test_support.hpp"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <unistd.h>

namespace {

// The text pdftotext reads from a PDF, blanks squeezed.
QString pdfText(const QString& pdf) {
    QProcess p;
    p.start("pdftotext", {pdf, "-"});
    if (!p.waitForFinished(30000))
        return "<pdftotext failed>";
    return QString::fromUtf8(p.readAllStandardOutput()).simplified();
}

int pdfPages(const QString& pdf) {
    QProcess p;
    p.start("pdfinfo", {pdf});
    p.waitForFinished(30000);
    for (const QString& line : QString::fromUtf8(p.readAllStandardOutput()).split('\n'))
        if (line.startsWith("Pages:"))
            return line.mid(6).trimmed().toInt();
    return -1;
}

// One page as pdftotext -bbox reads it: the sheet's size and the box around
// all its words, in points from the sheet's top-left corner.
struct PrintedPage {
    QSizeF sheet;
    QRectF text;
};

QList<PrintedPage> printedPages(const QString& pdf) {
    QProcess p;
    p.start("pdftotext", {"-bbox", pdf, "-"});
    if (!p.waitForFinished(30000))
        return {};
    static const QRegularExpression tag(
        R"re(<(page|word) (?:width="([\d.]+)" height="([\d.]+)"|xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)"))re");
    QList<PrintedPage> pages;
    for (const auto& m : tag.globalMatch(QString::fromUtf8(p.readAllStandardOutput()))) {
        if (m.captured(1) == "page") {
            pages.append({QSizeF(m.captured(2).toDouble(), m.captured(3).toDouble()), {}});
        } else if (!pages.isEmpty()) {
            const QRectF word(QPointF(m.captured(4).toDouble(), m.captured(5).toDouble()),
                              QPointF(m.captured(6).toDouble(), m.captured(7).toDouble()));
            pages.last().text = pages.last().text.united(word);
        }
    }
    return pages;
}

// Every page keeps its text inside 2 cm margins and starts it right at the
// top-left one; a page followed by another is filled out to the right and
// bottom ones, less than a word or a line of Arial 24 pt (100 and 30 pt) away.
void checkMargins(const QString& pdf) {
    constexpr qreal kMargin = 20 / 25.4 * 72; // 2 cm in points
    constexpr qreal kSlack = 1;               // Qt's PDF rounds the page to whole points
    const QList<PrintedPage> pages = printedPages(pdf);
    QVERIFY(!pages.isEmpty());
    for (qsizetype i = 0; i < pages.size(); ++i) {
        const auto& [sheet, text] = pages[i];
        const QString where =
            QStringLiteral("page %1 of %2: sheet %3 x %4 pt, text from %5,%6 to %7,%8")
                .arg(i + 1)
                .arg(pages.size())
                .arg(sheet.width())
                .arg(sheet.height())
                .arg(text.left())
                .arg(text.top())
                .arg(text.right())
                .arg(text.bottom());
        qInfo("%s", qPrintable(where));
        const qreal right = sheet.width() - kMargin;
        const qreal bottom = sheet.height() - kMargin;
        QVERIFY2(qAbs(text.left() - kMargin) < kSlack, qPrintable(where));
        QVERIFY2(qAbs(text.top() - kMargin) < kSlack, qPrintable(where));
        QVERIFY2(text.right() < right + kSlack, qPrintable(where));
        QVERIFY2(text.bottom() < bottom + kSlack, qPrintable(where));
        if (i + 1 < pages.size()) {
            QVERIFY2(text.right() > right - 100, qPrintable(where));
            QVERIFY2(text.bottom() > bottom - 30, qPrintable(where));
        }
    }
}

QStringList jobDocuments(const QString& spool) {
    QDir dir(spool);
    QStringList found;
    for (const QString& name : dir.entryList({"d*"}, QDir::Files, QDir::Name))
        found << dir.filePath(name);
    return found;
}

// Every job the private print server knows, finished ones included.
int jobCount() {
    QProcess p;
    p.start("lpstat", {"-W", "all", "-o"});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput()).count('\n');
}

// Some 3,000 pages of Arial 24 pt bold.
const QString kLongText = QString("Nel mezzo del cammin di nostra vita. ").repeated(60000);

// Watches for the progress window while a print runs, as a user would: notes
// what its label says and, once it has seen it count `cancelAfter` pages on,
// presses "Annulla" or Escape.
class ProgressWatcher : public QObject {
public:
    enum class Cancel { Never, Button, Escape };

    ProgressWatcher(QWidget* window, Cancel how, int cancelAfter)
        : window_(window)
        , how_(how)
        , cancelAfter_(cancelAfter) {
        connect(&timer_, &QTimer::timeout, this, &ProgressWatcher::look);
        timer_.start(10);
    }

    QStringList labels;
    QList<int> pagesSeen;
    QString total; // the "m" of "Pagina n di m"
    bool cancelled = false;

private:
    void look() {
        auto* dialog = window_->findChild<QProgressDialog*>();
        if (!dialog || !dialog->isVisible())
            return;
        static const QRegularExpression page(R"(^Stampa in corso…\nPagina (\d+) di ([\d.]+)$)");
        const QString label = dialog->labelText();
        labels << label;
        const auto m = page.match(label);
        if (!m.hasMatch())
            return;
        pagesSeen << m.captured(1).toInt();
        total = m.captured(2);
        if (cancelled || how_ == Cancel::Never ||
            pagesSeen.last() < pagesSeen.first() + cancelAfter_)
            return;
        cancelled = true;
        if (how_ == Cancel::Escape) {
            QTest::keyClick(dialog, Qt::Key_Escape);
            return;
        }
        for (auto* button : dialog->findChildren<QPushButton*>())
            if (button->text() == "Annulla")
                button->click();
    }

    QWidget* window_;
    Cancel how_;
    int cancelAfter_;
    QTimer timer_;
};

} // namespace

class PrintTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void printsOnTheDefaultPrinter();
    void queueThatRejectsJobsIsReported();
    void stoppedQueueIsReported();
    void noPrinterOffersAPdf();
    void noPrinterAndNoPdfWanted();
    void pdfThatCannotBeWrittenIsReported();
    void longTextFillsAsManyPagesAsItNeeds();
    void longPrintShowsProgressAndStops_data();
    void longPrintShowsProgressAndStops();
    void pdfNameGetsItsExtension_data();
    void pdfNameGetsItsExtension();
    void pdfNotReplacedWithoutAsking();
    void failedPdfKeepsTheExistingFile();

private:
    void translateCiao();
    MessageLog log_;
    QString chosenPdf_;
};

void PrintTest::initTestCase() {
    startLikeTheProgram();
    messages::setFileChooser([this](const QString&) { return chosenPdf_; });
}

void PrintTest::init() {
    log_.texts.clear();
    morse.show();
}

void PrintTest::cleanup() {
    unloadNow({&morse});
}

void PrintTest::translateCiao() {
    morse->txt_latino->setPlainText("Ciao a tutti");
    morse->opt_cifrato->setChecked(true);
    morse->txt_piucifr->setText("1");
    morse->btn_traduci->click();
    QCOMPARE(morse->txt_cifrato->toPlainText(), QStringLiteral("DJBP   B   UVUUJ"));
}

void PrintTest::printsOnTheDefaultPrinter() {
    const QString spool = qEnvironmentVariable("LUMBO_TEST_SPOOL");
    if (spool.isEmpty())
        QSKIP("needs the private print server of tests/print/with-cups");
    translateCiao();
    morse->pri->trigger();    // "Stampa" in the File menu
    morse->Command1->click(); // the "Stampa" button
    QCOMPARE(log_.texts, QStringList());

    QStringList documents;
    QTRY_COMPARE_WITH_TIMEOUT((documents = jobDocuments(spool)).size(), 2, 20000);
    for (const QString& document : documents) {
        QTRY_VERIFY_WITH_TIMEOUT(pdfText(document).contains("DJBP B UVUUJ"), 20000);
        QCOMPARE(pdfPages(document), 1); // no page of our own
        checkMargins(document);
    }
}

void PrintTest::queueThatRejectsJobsIsReported() {
    const QString spool = qEnvironmentVariable("LUMBO_TEST_SPOOL");
    if (spool.isEmpty())
        QSKIP("needs the private print server of tests/print/with-cups");
    translateCiao();
    const int before = jobDocuments(spool).size();
    QCOMPARE(QProcess::execute("cupsreject", {"lumbo-test"}), 0);
    morse->Command1->click();
    QCOMPARE(QProcess::execute("cupsaccept", {"lumbo-test"}), 0);
    QCOMPARE(log_.texts.size(), 1);
    QVERIFY2(log_.texts[0].contains("non accetta stampe"), qPrintable(log_.texts[0]));
    QVERIFY(log_.texts[0].contains("Stampante di prova"));
    QTest::qWait(500);
    QCOMPARE(jobDocuments(spool).size(), before);
}

void PrintTest::stoppedQueueIsReported() {
    const QString spool = qEnvironmentVariable("LUMBO_TEST_SPOOL");
    if (spool.isEmpty())
        QSKIP("needs the private print server of tests/print/with-cups");
    translateCiao();
    QCOMPARE(QProcess::execute("cupsdisable", {"lumbo-test"}), 0);
    morse->pri->trigger();
    QCOMPARE(QProcess::execute("cupsenable", {"lumbo-test"}), 0);
    QCOMPARE(log_.texts.size(), 1);
    QVERIFY2(log_.texts[0].contains("ferma"), qPrintable(log_.texts[0]));
}

void PrintTest::noPrinterOffersAPdf() {
    if (!qEnvironmentVariable("LUMBO_TEST_SPOOL").isEmpty())
        QSKIP("a print server is running");
    translateCiao();
    QTemporaryDir dir;
    chosenPdf_ = dir.filePath("stampa.pdf");
    log_.answer = true;
    morse->Command1->click();
    QCOMPARE(log_.texts.size(), 1);
    QVERIFY(log_.texts[0].contains("nessuna stampante predefinita"));
    QVERIFY(QFileInfo(chosenPdf_).size() > 0);
    QCOMPARE(pdfText(chosenPdf_), QStringLiteral("DJBP B UVUUJ"));
    QCOMPARE(pdfPages(chosenPdf_), 1);
    checkMargins(chosenPdf_);
}

void PrintTest::noPrinterAndNoPdfWanted() {
    if (!qEnvironmentVariable("LUMBO_TEST_SPOOL").isEmpty())
        QSKIP("a print server is running");
    translateCiao();
    QTemporaryDir dir;
    chosenPdf_ = dir.filePath("stampa.pdf");
    log_.answer = false;
    morse->pri->trigger();
    QCOMPARE(log_.texts.size(), 1);
    QVERIFY(!QFile::exists(chosenPdf_));
}

void PrintTest::pdfThatCannotBeWrittenIsReported() {
    if (!qEnvironmentVariable("LUMBO_TEST_SPOOL").isEmpty())
        QSKIP("a print server is running");
    translateCiao();
    QTemporaryDir dir;
    chosenPdf_ = dir.filePath("no/such/folder/stampa.pdf");
    log_.answer = true;
    morse->pri->trigger();
    QCOMPARE(log_.texts.size(), 2);
    QVERIFY2(log_.texts[1].contains(chosenPdf_), qPrintable(log_.texts[1]));
}

void PrintTest::longTextFillsAsManyPagesAsItNeeds() {
    if (!qEnvironmentVariable("LUMBO_TEST_SPOOL").isEmpty())
        QSKIP("a print server is running");
    morse->txt_latino->setPlainText(QString("Nel mezzo del cammin di nostra vita. ").repeated(100));
    morse->opt_cifrato->setChecked(true);
    morse->txt_piucifr->setText("0");
    morse->btn_traduci->click();
    QTemporaryDir dir;
    chosenPdf_ = dir.filePath("lungo.pdf");
    log_.answer = true;
    morse->pri->trigger();
    QCOMPARE(log_.texts.size(), 1);
    QVERIFY(pdfPages(chosenPdf_) > 1);
    QCOMPARE(pdfText(chosenPdf_), morse->RichTextBox1->toPlainText().simplified());
    checkMargins(chosenPdf_);
}

// A long print shows its progress, page by page out of the real number of
// pages, and a print stopped by "Annulla" or Escape sends nothing to the
// printer and leaves the chosen PDF file as it was.
void PrintTest::longPrintShowsProgressAndStops_data() {
    QTest::addColumn<ProgressWatcher::Cancel>("how");
    QTest::newRow("Annulla") << ProgressWatcher::Cancel::Button;
    QTest::newRow("Escape") << ProgressWatcher::Cancel::Escape;
    QTest::newRow("to the end") << ProgressWatcher::Cancel::Never;
}

void PrintTest::longPrintShowsProgressAndStops() {
    QFETCH(ProgressWatcher::Cancel, how);
    const QString spool = qEnvironmentVariable("LUMBO_TEST_SPOOL");
    morse->RichTextBox1->document()->setText(kLongText);
    QTemporaryDir dir;
    chosenPdf_ = dir.filePath("stampa.pdf");
    const QByteArray old = "the PDF of an earlier print";
    QFile file(chosenPdf_);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(old) == old.size());
    file.close();
    const QStringList documentsBefore = spool.isEmpty() ? QStringList() : jobDocuments(spool);
    const int jobsBefore = spool.isEmpty() ? 0 : jobCount();
    log_.answer = true;

    ProgressWatcher watcher(morse.operator->(), how, 10);
    morse->Command1->click();

    QVERIFY2(!watcher.pagesSeen.isEmpty(), qPrintable(watcher.labels.join(" | ")));
    QVERIFY(std::is_sorted(watcher.pagesSeen.begin(), watcher.pagesSeen.end()));
    QVERIFY(watcher.pagesSeen.last() > watcher.pagesSeen.first());
    const int total = QString(watcher.total).remove('.').toInt();
    QVERIFY2(total > 2000 && watcher.total.contains('.'), qPrintable(watcher.total));
    QCOMPARE(log_.texts.size(), spool.isEmpty() ? 1 : 0); // no word of a stopped print

    if (how != ProgressWatcher::Cancel::Never) {
        QVERIFY(watcher.cancelled);
        QVERIFY(watcher.pagesSeen.last() < total);
        QTest::qWait(500);
        if (!spool.isEmpty()) {
            QCOMPARE(jobCount(), jobsBefore);
            QCOMPARE(jobDocuments(spool), documentsBefore);
        }
        QCOMPARE(readAll(chosenPdf_), old);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), {"stampa.pdf"});
        return;
    }
    if (spool.isEmpty()) {
        QCOMPARE(pdfPages(chosenPdf_), total);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), {"stampa.pdf"});
        return;
    }
    QStringList documents;
    QTRY_COMPARE_WITH_TIMEOUT((documents = jobDocuments(spool)).size(), documentsBefore.size() + 1,
                              60000);
    QCOMPARE(readAll(chosenPdf_), old);
    QTRY_COMPARE_WITH_TIMEOUT(pdfPages(documents.last()), total, 60000);
}

void PrintTest::pdfNameGetsItsExtension_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");
    QTest::newRow("bare") << "stampa"
                          << "stampa.pdf";
    QTest::newRow("with .pdf") << "stampa.pdf"
                               << "stampa.pdf";
    QTest::newRow("with .PDF") << "stampa.PDF"
                               << "stampa.PDF";
    QTest::newRow("another extension") << "stampa.txt"
                                       << "stampa.txt.pdf";
    QTest::newRow("dot inside") << "v1.2"
                                << "v1.2.pdf";
    QTest::newRow("only .pdf") << "pdf"
                               << "pdf.pdf";
}

void PrintTest::pdfNameGetsItsExtension() {
    if (!qEnvironmentVariable("LUMBO_TEST_SPOOL").isEmpty())
        QSKIP("a print server is running");
    QFETCH(QString, typed);
    QFETCH(QString, written);
    translateCiao();
    QTemporaryDir dir;
    chosenPdf_ = dir.filePath(typed);
    log_.answer = true;
    morse->pri->trigger();
    QCOMPARE(log_.texts.size(), 1);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), {written});
    QCOMPARE(pdfText(dir.filePath(written)), QStringLiteral("DJBP B UVUUJ"));
}

// The file chooser asked about the name as typed; the one with ".pdf" added
// is replaced only when the user agrees.
void PrintTest::pdfNotReplacedWithoutAsking() {
    if (!qEnvironmentVariable("LUMBO_TEST_SPOOL").isEmpty())
        QSKIP("a print server is running");
    translateCiao();
    QTemporaryDir dir;
    const QString existing = dir.filePath("stampa.pdf");
    QFile file(existing);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write("old") == 3);
    file.close();
    chosenPdf_ = dir.filePath("stampa");
    for (const bool replace : {false, true}) {
        log_.texts.clear();
        log_.nextAnswers = {true, replace}; // a PDF, yes; replace it?
        morse->pri->trigger();
        QCOMPARE(log_.texts.size(), 2);
        QVERIFY2(log_.texts[1].contains("esiste già") && log_.texts[1].contains(existing),
                 qPrintable(log_.texts[1]));
        if (replace)
            QCOMPARE(pdfText(existing), QStringLiteral("DJBP B UVUUJ"));
        else
            QCOMPARE(readAll(existing), QByteArray("old"));
    }
}

// A PDF that fills the disk halfway is reported, and the file of that name
// stays as it was, with nothing left beside it.
void PrintTest::failedPdfKeepsTheExistingFile() {
    if (!qEnvironmentVariable("LUMBO_TEST_SPOOL").isEmpty())
        QSKIP("a print server is running");
    if (geteuid() != 0)
        QSKIP("mounting a small file system needs root");
    QTemporaryDir dir;
    const QString small = dir.filePath("small");
    QDir().mkpath(small);
    QCOMPARE(QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=256k", "tmpfs", small}), 0);
    const auto unmount = qScopeGuard([&] { QProcess::execute("umount", {small}); });
    chosenPdf_ = small + "/stampa.pdf";
    const QByteArray old(20000, 'o');
    QFile file(chosenPdf_);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(old) == old.size());
    file.close();
    morse->RichTextBox1->document()->setText(kLongText);
    log_.answer = true;
    morse->pri->trigger();
    QCOMPARE(log_.texts.size(), 2);
    QVERIFY2(log_.texts[1].contains("Impossibile scrivere il file PDF") &&
                 log_.texts[1].contains(chosenPdf_),
             qPrintable(log_.texts[1]));
    QCOMPARE(readAll(chosenPdf_), old);
    QCOMPARE(QDir(small).entryList(QDir::Files | QDir::Hidden), {"stampa.pdf"});
}

QTEST_MAIN(PrintTest)
#include "tst_print.moc"
