// Printing through a real print system. printsOnTheDefaultPrinter runs under
// tests/print/with-cups, which starts a private CUPS server with a default
// queue; the other cases run with no print server reachable.
#include "ui/fonts.hpp"
#include "ui/main/morse_form.hpp"
#include "ui/messages.hpp"
#include "ui/textbox/text_box.hpp"

#include "tests/ui/window_test_support.hpp"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

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

QTEST_MAIN(PrintTest)
#include "tst_print.moc"
