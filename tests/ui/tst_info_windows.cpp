#include "ui/fonts.hpp"
#include "ui/info/cod_morse_form.hpp"
#include "ui/info/frm_cifrato_form.hpp"
#include "ui/info/infor_form.hpp"
#include "ui/twips.hpp"

#include "tests/ui/window_test_support.hpp"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>

namespace {

int topLevelsNamed(const QString& name) {
    int count = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == name && !w->testAttribute(Qt::WA_WState_Hidden))
            ++count;
    return count;
}

QStringList stackOf(QWidget* container) {
    QStringList names; // bottom-most first
    for (QObject* child : container->children())
        if (child->isWidgetType())
            names << child->objectName();
    return names;
}

} // namespace

class InfoWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup() { unloadNow({&CodMorse, &frm_cifrato, &infor}); }

    void morseTableText();
    void morseTableLayout();
    void cipherExplanationCaptions();
    void cipherExplanationLayout();
    void showingTwiceLeavesOneInstance();
    void unloadingRestoresTheStoredTexts();
    void iconsHaveBothSizes();

    void informationWindowIsFramelessFixedAndCentred();
    void informationWindowLayout_data();
    void informationWindowLayout();
    void informationWindowStacking();
    void pictureIsShownUnscaled();
    void chiudiHidesAndTheWindowComesBackUnchanged();
    void keyboardOnTheInformationWindow();
};

void InfoWindowsTest::initTestCase() {
    startLikeTheProgram();
}

void InfoWindowsTest::morseTableText() {
    CodMorse.show();
    const QStringList expected = {
        "A = . _  / ",   "B = _ . . . /", "C = _ . _ . /", "D = _ . . /",   "E = . /",
        "F = . . _ . /", "G = _ _ . /",   "H = . . . . /", "I = . . /",     "L = . _ . . /",
        "M = _ _ /",     "N = _ . /",     "O = _ _ _ /",   "P = . _ _ . /", "Q = _ _ . _ /",
        "R = . _ . /",   "S = . . . /",   "T = - /",       "U = . . _ /",   "V = . . . _ /",
        "Z = _ _ . . /",
    };
    const QString shown = CodMorse->txt_codmorse->toPlainText();
    QStringList lines = shown.split('\n');
    QCOMPARE(lines.takeLast(), QString()); // every line ends with a line break, the last too
    QCOMPARE(lines, expected);
    // 277 characters with each line break a carriage return and a line feed.
    QCOMPARE(QString(shown).replace("\n", "\r\n").size(), 277);
}

void InfoWindowsTest::morseTableLayout() {
    CodMorseForm& w = CodMorse.get();
    QCOMPARE(w.windowTitle(), QStringLiteral("Il Morse"));
    QCOMPARE(w.size(), twips::size(1890, 4605));
    QCOMPARE(w.txt_codmorse->geometry(), twips::rect(240, 120, 1335, 4335));
    const QFontInfo font(w.txt_codmorse->font());
    QCOMPARE(font.family(), QStringLiteral("Liberation Sans"));
    QCOMPARE(w.txt_codmorse->font().pointSizeF(), 8.25);
    QVERIFY(font.bold());
    // All 21 lines fit the box, which has no scroll bars.
    CodMorse.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QPlainTextEdit* box = w.txt_codmorse;
    const QRectF lastLine = box->document()->documentLayout()->blockBoundingRect(
        box->document()->findBlockByNumber(20));
    QVERIFY2(lastLine.bottom() <= box->viewport()->height(),
             qPrintable(QString::number(lastLine.bottom())));
}

void InfoWindowsTest::cipherExplanationCaptions() {
    FrmCifratoForm& w = frm_cifrato.get();
    QCOMPARE(w.windowTitle(), QStringLiteral("Cifrato"));
    const struct {
        QLabel* label;
        QString caption;
        int length;
    } rows[] = {
        {w.Label1, QStringLiteral("Es.    scelgo   + 1"), 19},
        {w.Label2, QString::fromUtf8("A diventa B;  B diventa C e così via. La Z diventa A."), 53},
        {w.Label3, QString::fromUtf8("\"CIAO\" si scriverà \"DJBP\" "), 26},
    };
    for (const auto& row : rows) {
        QCOMPARE(row.label->text(), row.caption);
        QCOMPARE(row.label->text().size(), row.length);
    }
}

void InfoWindowsTest::cipherExplanationLayout() {
    FrmCifratoForm& w = frm_cifrato.get();
    QCOMPARE(w.size(), twips::size(3045, 1605));
    QCOMPARE(w.Label1->geometry(), twips::rect(0, 120, 2655, 375));
    QCOMPARE(w.Label2->geometry(), twips::rect(240, 480, 2655, 855));
    QCOMPARE(w.Label3->geometry(), twips::rect(240, 1080, 2895, 615));
    QCOMPARE(stackOf(&w), QStringList({"Label1", "Label2", "Label3"}));
    for (QLabel* label : {w.Label1, w.Label2, w.Label3}) {
        QVERIFY(label->wordWrap());
        QVERIFY(label->autoFillBackground());
        QCOMPARE(QFontInfo(label->font()).family(), QStringLiteral("Liberation Sans"));
        QVERIFY(QFontInfo(label->font()).bold());
    }
    // Label2's caption ends above Label3, which covers Label2's lower band, and
    // Label3's caption takes one line: all three are readable.
    const int label2TextHeight = w.Label2->heightForWidth(w.Label2->width());
    QVERIFY(w.Label2->y() + label2TextHeight <= w.Label3->y());
    const QFontMetrics metrics(w.Label3->font());
    QVERIFY(metrics.horizontalAdvance(w.Label3->text().trimmed()) <= w.Label3->width());
}

void InfoWindowsTest::showingTwiceLeavesOneInstance() {
    CodMorse.show();
    CodMorse.show();
    frm_cifrato.show();
    frm_cifrato.show();
    infor.show();
    infor.show();
    QCOMPARE(topLevelsNamed("CodMorse"), 1);
    QCOMPARE(topLevelsNamed("frm_cifrato"), 1);
    QCOMPARE(topLevelsNamed("infor"), 1);
}

void InfoWindowsTest::unloadingRestoresTheStoredTexts() {
    CodMorse.show();
    const QString table = CodMorse->txt_codmorse->toPlainText();
    CodMorse->txt_codmorse->setPlainText("changed");
    frm_cifrato.show();
    frm_cifrato->Label3->setText("changed");
    QVERIFY(CodMorse->close()); // the close box
    QVERIFY(frm_cifrato->close());
    QVERIFY(!CodMorse.isLoaded());
    QVERIFY(!frm_cifrato.isLoaded());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    CodMorse.show();
    frm_cifrato.show();
    QCOMPARE(CodMorse->txt_codmorse->toPlainText(), table);
    QCOMPARE(frm_cifrato->Label3->text(), QString::fromUtf8("\"CIAO\" si scriverà \"DJBP\" "));
}

void InfoWindowsTest::iconsHaveBothSizes() {
    for (QWidget* w :
         std::initializer_list<QWidget*>{&CodMorse.get(), &frm_cifrato.get(), &infor.get()}) {
        const QIcon icon = w->windowIcon();
        QVERIFY2(!icon.isNull(), qPrintable(w->objectName()));
        QVERIFY(icon.availableSizes().contains(QSize(16, 16)));
        QVERIFY(icon.availableSizes().contains(QSize(32, 32)));
    }
    QCOMPARE(CodMorse->windowIcon().pixmap(32).toImage(),
             frm_cifrato->windowIcon().pixmap(32).toImage());
}

void InfoWindowsTest::informationWindowIsFramelessFixedAndCentred() {
    infor.show();
    InforForm& w = infor.get();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(w.windowFlags().testFlag(Qt::FramelessWindowHint));
    QVERIFY(w.windowFlags().testFlag(Qt::Tool)); // kept out of the taskbar
    QVERIFY(!w.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    QCOMPARE(w.minimumSize(), w.maximumSize());
    QVERIFY(w.windowTitle().isEmpty());
    const QWidget* client = w.findChild<QWidget*>("client");
    QCOMPARE(client->size(), twips::size(7455, 4710));
    QCOMPARE(w.frameGeometry().center(), w.screen()->geometry().center());
}

void InfoWindowsTest::informationWindowLayout_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("designed");
    QTest::addColumn<bool>("sizesItself");
    const struct {
        const char* name;
        int left, top, width, height;
        bool sizesItself;
    } rows[] = {
        {"lblLicenseTo", 6240, 480, 855, 255, false},
        {"lblCopyright", 4710, 3120, 2415, 255, false},
        {"lblCompany", 4710, 3330, 2415, 255, false},
        {"lblVersion", 6120, 2640, 885, 285, true},
        {"lblPlatform", 4800, 2160, 2175, 360, true},
        {"Nome_Programma", 3960, 960, 3000, 765, true},
        {"Label1", 360, 3960, 3495, 375, false},
        {"Label2", 480, 3720, 3735, 375, false},
        {"Chiudi", 6240, 4080, 975, 375, false},
        {"Label3", 240, 4200, 2895, 255, false},
        {"Label4", 3120, 4200, 1575, 255, false},
        {"Image1", 120, 480, 3780, 2775, false},
    };
    for (const auto& r : rows)
        QTest::newRow(r.name) << r.name << twips::rect(r.left, r.top, r.width, r.height)
                              << r.sizesItself;
}

void InfoWindowsTest::informationWindowLayout() {
    QFETCH(QString, name);
    QFETCH(QRect, designed);
    QFETCH(bool, sizesItself);
    InforForm& w = infor.get();
    QCOMPARE(w.fraMainFrame->geometry(), twips::rect(45, 0, 7380, 4590));
    auto* control = w.fraMainFrame->findChild<QWidget*>(name);
    QVERIFY(control);
    QCOMPARE(control->parentWidget(), w.fraMainFrame);
    if (!sizesItself) {
        QCOMPARE(control->geometry(), designed);
        return;
    }
    // Keeps its left and top edges and takes the size its caption needs, all
    // of it readable inside the frame.
    auto* label = qobject_cast<QLabel*>(control);
    QCOMPARE(label->pos(), designed.topLeft());
    QCOMPARE(label->size(), label->sizeHint());
    const QFontMetrics metrics(label->font());
    QVERIFY(label->width() >= metrics.horizontalAdvance(label->text()));
    QVERIFY(w.fraMainFrame->rect().contains(label->geometry()));
}

void InfoWindowsTest::informationWindowStacking() {
    InforForm& w = infor.get();
    QCOMPARE(stackOf(w.fraMainFrame),
             QStringList({"lblCopyright", "lblCompany", "lblVersion", "lblPlatform", "lblLicenseTo",
                          "Label1", "Label2", "Label3", "Image1", "Nome_Programma", "Label4",
                          "Chiudi"}));
    QCOMPARE(w.Label2->text(), QStringLiteral("Programma che traduce i testi in codice Morse"));
    QCOMPARE(w.lblVersion->text(), QStringLiteral("1.0 beta"));
    QCOMPARE(w.lblPlatform->text(), QStringLiteral("Win 95-Win 98"));
    QCOMPARE(w.Nome_Programma->text(), QStringLiteral("Lumbo 1.0"));
    QVERIFY(w.Label1->text().isEmpty());
    QVERIFY(w.Label3->text().contains("example.org"));
    QVERIFY(w.Label4->text().endsWith("@example.org"));
}

void InfoWindowsTest::pictureIsShownUnscaled() {
    InforForm& w = infor.get();
    const QPixmap picture = w.Image1->pixmap();
    QCOMPARE(picture.size(), QSize(252, 185));
    QCOMPARE(w.Image1->size(), QSize(252, 185));
    QVERIFY(!w.Image1->hasScaledContents());
}

void InfoWindowsTest::chiudiHidesAndTheWindowComesBackUnchanged() {
    infor.show();
    InforForm* first = &infor.get();
    const QPoint where = first->pos();
    QTest::mouseClick(first->Chiudi, Qt::LeftButton);
    QVERIFY(!first->isVisible());
    QVERIFY(infor.isLoaded());
    infor.show();
    QCOMPARE(&infor.get(), first);
    QCOMPARE(first->pos(), where);
    QVERIFY(first->isVisible());
}

void InfoWindowsTest::keyboardOnTheInformationWindow() {
    infor.show();
    InforForm& w = infor.get();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QCOMPARE(QApplication::focusWidget(), w.Chiudi);
    QTest::keyClick(w.Chiudi, Qt::Key_Escape);
    QVERIFY(w.isVisible());
    QTest::keyClick(w.Chiudi, Qt::Key_Return);
    QVERIFY(!w.isVisible());
    infor.show();
    QTest::keyClick(w.Chiudi, Qt::Key_Space);
    QVERIFY(!w.isVisible());
    QVERIFY(infor.isLoaded());
}

QTEST_MAIN(InfoWindowsTest)
#include "tst_info_windows.moc"
