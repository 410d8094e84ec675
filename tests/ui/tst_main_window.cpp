#include "ui/fonts.hpp"
#include "ui/italian.hpp"
#include "ui/main/morse_form.hpp"
#include "ui/messages.hpp"
#include "ui/textbox/text_box.hpp"
#include "ui/twips.hpp"

#include "tests/ui/window_test_support.hpp"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextEdit>

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startsEmptyWithMorseSelectedAndFocusInTheInput();
    void windowPlacement();
    void controlRectangles_data();
    void controlRectangles();
    void resizingMovesNothing();
    void stackingOrder();
    void fonts_data();
    void fonts();
    void onlyCifratoHasATooltip();
    void optionButtonsAreOneGroup();
    void menuTree();
    void tabChain();
    void tabAndEnterInTheTextBoxes();
    void enterAndEscapePressNoButton();

    void qtSpeaksItalian();
    void translates_data();

    void translates();
    void morseIgnoresTheShiftBox();
    void refusedShiftReportsAndChangesNothing_data();
    void refusedShiftReportsAndChangesNothing();
    void longInputTranslatesWhole();

private:
    MorseForm& window() { return morse.get(); }
    void translate(const QString& input, bool cipher, const QString& shift = {});
    MessageLog log_;
};

void MainWindowTest::initTestCase() {
    startLikeTheProgram();
}

void MainWindowTest::init() {
    log_.texts.clear();
    morse.show();
    QVERIFY(QTest::qWaitForWindowActive(&window()));
}

void MainWindowTest::cleanup() {
    unloadNow({&morse});
}

void MainWindowTest::translate(const QString& input, bool cipher, const QString& shift) {
    window().txt_latino->setPlainText(input);
    (cipher ? window().opt_cifrato : window().opt_Morse)->setChecked(true);
    window().txt_piucifr->setText(shift);
    QTest::mouseClick(window().btn_traduci, Qt::LeftButton);
}

void MainWindowTest::startsEmptyWithMorseSelectedAndFocusInTheInput() {
    MorseForm& w = window();
    QCOMPARE(w.windowTitle(), QStringLiteral("Lumbo 1.0"));
    QCOMPARE(w.objectName(), QStringLiteral("morse"));
    QVERIFY(w.txt_latino->toPlainText().isEmpty());
    QVERIFY(w.txt_cifrato->toPlainText().isEmpty());
    QVERIFY(w.RichTextBox1->toPlainText().isEmpty());
    QVERIFY(w.txt_piucifr->text().isEmpty());
    QVERIFY(w.opt_Morse->isChecked());
    QVERIFY(!w.opt_cifrato->isChecked());
    QCOMPARE(QApplication::focusWidget(), w.txt_latino);
}

void MainWindowTest::windowPlacement() {
    QWidget* client = window().centralWidget();
    QCOMPARE(client->size(), QSize(587, 333));                     // 8805 x 4995 twips
    QCOMPARE(client->mapToGlobal(QPoint(0, 0)), QPoint(205, 205)); // 3075 twips from the edges
}

void MainWindowTest::controlRectangles_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("container");
    QTest::addColumn<QRect>("pixels");
    const struct {
        const char* name;
        const char* container;
        int left, top, width, height;
    } rows[] = {
        {"txt_latino", "client", 0, 0, 8775, 2055},
        {"btn_traduci", "client", 5280, 4320, 1215, 375},
        {"txt_cifrato", "client", 0, 2040, 8775, 2055},
        {"opt_cifrato", "client", 2160, 4320, 855, 435},
        {"opt_Morse", "client", 1080, 4320, 855, 495},
        {"Frame1", "client", 960, 4080, 3495, 855},
        {"Frame2", "Frame1", 1080, 120, 2295, 615},
        {"txt_piucifr", "Frame2", 1320, 210, 855, 285},
        {"Label1", "Frame2", 1080, 240, 135, 255},
        {"Command1", "client", 7080, 4320, 1215, 375},
        {"RichTextBox1", "client", 0, 2040, 8775, 2055},
    };
    for (const auto& r : rows)
        QTest::newRow(r.name) << r.name << r.container
                              << twips::rect(r.left, r.top, r.width, r.height);
}

void MainWindowTest::controlRectangles() {
    QFETCH(QString, name);
    QFETCH(QString, container);
    QFETCH(QRect, pixels);
    auto* control = window().findChild<QWidget*>(name);
    QVERIFY(control);
    QCOMPARE(control->parentWidget()->objectName(), container);
    QCOMPARE(control->geometry(), pixels);
    QVERIFY(control->isVisible());
}

void MainWindowTest::resizingMovesNothing() {
    QList<QRect> before;
    const auto controls = window().centralWidget()->findChildren<QWidget*>();
    for (QWidget* c : controls)
        before << c->geometry();
    window().resize(300, 200);
    window().resize(1000, 800);
    QCoreApplication::processEvents();
    for (int i = 0; i < controls.size(); ++i)
        QCOMPARE(controls[i]->geometry(), before[i]);
}

void MainWindowTest::stackingOrder() {
    auto stack = [](QWidget* container) {
        QStringList names; // bottom-most first
        for (QObject* child : container->children())
            if (child->isWidgetType() && !child->objectName().isEmpty())
                names << child->objectName();
        return names;
    };
    QCOMPARE(stack(window().centralWidget()),
             QStringList({"Frame1", "txt_latino", "btn_traduci", "txt_cifrato", "opt_cifrato",
                          "opt_Morse", "Command1", "RichTextBox1"}));
    QCOMPARE(stack(window().Frame2), QStringList({"Label1", "txt_piucifr"}));
    // The print buffer covers the output box entirely.
    QCOMPARE(window().RichTextBox1->geometry(), window().txt_cifrato->geometry());
    QCOMPARE(window().centralWidget()->childAt(window().txt_cifrato->geometry().center()),
             window().RichTextBox1->viewport());
}

void MainWindowTest::fonts_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<qreal>("points");
    QTest::addColumn<bool>("bold");
    QTest::newRow("txt_latino") << "txt_latino" << 12.0 << false;
    QTest::newRow("txt_cifrato") << "txt_cifrato" << 18.0 << false;
    QTest::newRow("RichTextBox1") << "RichTextBox1" << 24.0 << true;
    for (const char* name :
         {"btn_traduci", "opt_cifrato", "opt_Morse", "txt_piucifr", "Label1", "Command1"})
        QTest::newRow(name) << name << 8.25 << false;
}

void MainWindowTest::fonts() {
    QFETCH(QString, name);
    QFETCH(qreal, points);
    QFETCH(bool, bold);
    auto* control = window().findChild<QWidget*>(name);
    QVERIFY(control);
    const QFontInfo info(control->font());
    QCOMPARE(info.family(), QStringLiteral("Liberation Sans"));
    QCOMPARE(control->font().pointSizeF(), points);
    QCOMPARE(info.bold(), bold);
}

void MainWindowTest::onlyCifratoHasATooltip() {
    for (QWidget* control : window().centralWidget()->findChildren<QWidget*>()) {
        if (control == window().opt_cifrato)
            QCOMPARE(control->toolTip(),
                     QStringLiteral("Sostituisce la lettera con quella in posizione +n"));
        else
            QVERIFY2(control->toolTip().isEmpty(), qPrintable(control->objectName()));
    }
}

void MainWindowTest::optionButtonsAreOneGroup() {
    MorseForm& w = window();
    QTest::mouseClick(w.opt_cifrato, Qt::LeftButton);
    QVERIFY(w.opt_cifrato->isChecked());
    QVERIFY(!w.opt_Morse->isChecked());
    QTest::mouseClick(w.opt_Morse, Qt::LeftButton);
    QVERIFY(w.opt_Morse->isChecked());
    QVERIFY(!w.opt_cifrato->isChecked());
}

void MainWindowTest::menuTree() {
    auto describe = [](QMenu* menu) {
        QStringList entries{menu->objectName() + "=" + menu->title()};
        for (QAction* a : menu->actions())
            entries << a->objectName() + "=" + a->text() +
                           (a->isEnabled() && a->isVisible() && !a->isChecked() ? "" : "!");
        return entries;
    };
    const auto bar = window().menuBar()->actions();
    QCOMPARE(bar.size(), 2);
    QCOMPARE(describe(bar[0]->menu()),
             QStringList({"file=&File", "save=&Salva", "pri=S&tampa", "clo=&Chiudi"}));
    QCOMPARE(describe(bar[1]->menu()),
             QStringList({"mah=&?", "morse=C&odice Morse", "cifrato=&Messaggio Cifrato",
                          "info=&Informazioni su Lumbo 1.0"}));
}

void MainWindowTest::tabChain() {
    MorseForm& w = window();
    QStringList visited;
    auto press = [&](int times, Qt::Key key) {
        visited.clear();
        for (int i = 0; i < times; ++i) {
            QTest::keyClick(QApplication::focusWidget(), key);
            visited << QApplication::focusWidget()->objectName();
        }
    };
    // The frames and the "+" label take no focus; the option group is entered
    // at its selected button.
    press(8, Qt::Key_Tab);
    // The translation is reached where the user sees it, in the print buffer.
    QCOMPARE(visited, QStringList({"btn_traduci", "RichTextBox1", "opt_Morse", "txt_piucifr",
                                   "Command1", "txt_latino", "btn_traduci", "RichTextBox1"}));
    QTest::mouseClick(w.opt_cifrato, Qt::LeftButton);
    w.txt_latino->setFocus();
    press(6, Qt::Key_Backtab);
    QCOMPARE(visited, QStringList({"Command1", "txt_piucifr", "opt_cifrato", "RichTextBox1",
                                   "btn_traduci", "txt_latino"}));
    QVERIFY(w.txt_latino->toPlainText().isEmpty());
}

void MainWindowTest::tabAndEnterInTheTextBoxes() {
    MorseForm& w = window();
    auto check = [](auto* box) {
        box->setFocus();
        QTest::keyClicks(box, "ab");
        QTest::keyClick(box, Qt::Key_Return);
        QTest::keyClicks(box, "c");
        QCOMPARE(box->toPlainText(), QStringLiteral("ab\nc"));
        QTest::keyClick(box, Qt::Key_Tab);
        QCOMPARE(box->toPlainText(), QStringLiteral("ab\nc"));
        QVERIFY(!box->hasFocus());
    };
    check(w.txt_latino);
    check(w.RichTextBox1);
    // The output box under the print buffer holds the same text, and never
    // the focus: the user could not see what is typed there.
    QCOMPARE(w.txt_cifrato->toPlainText(), QStringLiteral("ab\nc"));
    w.txt_cifrato->setFocus();
    QVERIFY(w.RichTextBox1->hasFocus());
}

void MainWindowTest::enterAndEscapePressNoButton() {
    MorseForm& w = window();
    QSignalSpy traduci(w.btn_traduci, &QPushButton::clicked);
    QSignalSpy stampa(w.Command1, &QPushButton::clicked);
    w.txt_piucifr->setFocus();
    QTest::keyClick(w.txt_piucifr, Qt::Key_Return);
    QTest::keyClick(w.txt_piucifr, Qt::Key_Enter);
    QTest::keyClick(w.txt_piucifr, Qt::Key_Escape);
    w.txt_latino->setFocus();
    QTest::keyClick(w.txt_latino, Qt::Key_Escape);
    QCOMPARE(traduci.count(), 0);
    QCOMPARE(stampa.count(), 0);
    QVERIFY(w.txt_cifrato->toPlainText().isEmpty());
}

// Qt's own words too: the message boxes ask "Sì" or "No".
void MainWindowTest::qtSpeaksItalian() {
    speakItalian();
    QMessageBox box(QMessageBox::Question, "Lumbo 1.0", "?", QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(box.button(QMessageBox::Yes)->text().remove('&'), QString::fromUtf8("Sì"));
    QCOMPARE(QLocale().language(), QLocale::Italian);
}

void MainWindowTest::translates_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<bool>("cipher");
    QTest::addColumn<QString>("shift");
    QTest::addColumn<QString>("expected");
    QTest::newRow("Morse SOS") << "SOS" << false << ""
                               << "  . . .  / _  _  _  /  . . .  //";
    QTest::newRow("Morse empty") << "" << false << ""
                                 << "/";
    QTest::newRow("cipher CIAO 1") << "CIAO" << true << "1"
                                   << "DJBP";
    QTest::newRow("cipher empty") << "" << true << "1"
                                  << "";
    QTest::newRow("cipher with blanks and sign") << "ciao" << true << " +1 "
                                                 << "DJBP";
    QTest::newRow("cipher sentence") << "Buon giorno, Italia." << true << "3"
                                     << "EXRQ   JLRUQR,    LWDOLD. ";
    QTest::newRow("cipher to the euro sign") << "Z" << true << "64" << QString::fromUtf8("€");
    QTest::newRow("cipher to y with diaeresis") << "Z" << true << "191" << QString::fromUtf8("ÿ");
    QTest::newRow("cipher undefined code") << "Z" << true << "65" << QString(QChar(0x81));
    QTest::newRow("cipher negative") << "b" << true << "-2"
                                     << "@";
}

void MainWindowTest::translates() {
    QFETCH(QString, input);
    QFETCH(bool, cipher);
    QFETCH(QString, shift);
    QFETCH(QString, expected);
    translate(input, cipher, shift);
    QCOMPARE(log_.texts, QStringList());
    QCOMPARE(window().txt_cifrato->toPlainText(), expected);
    QCOMPARE(window().RichTextBox1->toPlainText(), expected);
    QCOMPARE(window().txt_latino->toPlainText(), input);
}

void MainWindowTest::morseIgnoresTheShiftBox() {
    translate("e", false, "not a number");
    QCOMPARE(log_.texts, QStringList());
    QCOMPARE(window().RichTextBox1->toPlainText(), QStringLiteral(" .  //"));
}

void MainWindowTest::refusedShiftReportsAndChangesNothing_data() {
    QTest::addColumn<QString>("shift");
    for (const char* s :
         {"", " ", "+", "abc", "1.5", "1,5", "1e2", "0x10", "-66", "192", "99999999999999999999"})
        QTest::newRow(s) << QString::fromLatin1(s);
    QTest::newRow("Arabic-Indic digits") << QString::fromUtf8("١٢");
    QTest::newRow("1000 digits") << QString(1000, '7');
}

void MainWindowTest::refusedShiftReportsAndChangesNothing() {
    QFETCH(QString, shift);
    translate("SOS", false);
    const QString before = window().txt_cifrato->toPlainText();
    translate("CIAO", true, shift);
    QCOMPARE(log_.texts.size(), 1);
    QVERIFY2(log_.texts[0].contains("da -65 a 191"), qPrintable(log_.texts[0]));
    QVERIFY(log_.texts[0].size() < 200);
    QCOMPARE(window().txt_cifrato->toPlainText(), before);
    QCOMPARE(window().RichTextBox1->toPlainText(), before);
    QCOMPARE(QApplication::focusWidget(), window().txt_piucifr);
    QCOMPARE(window().txt_piucifr->text(), shift);
}

void MainWindowTest::longInputTranslatesWhole() {
    const QString input = QString("ciao ").repeated(20000); // 100,000 characters
    translate(input, true, "1");
    const QString expected = QString("DJBP   ").repeated(20000);
    QCOMPARE(window().txt_cifrato->toPlainText(), expected);
    QCOMPARE(window().RichTextBox1->toPlainText(), expected);
}

QTEST_MAIN(MainWindowTest)
#include "tst_main_window.moc"
