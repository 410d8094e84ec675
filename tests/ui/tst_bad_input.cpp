// Input no one planned for, typed or pasted into the real main window: each
// gives the translation the rules give, or the Italian message with both
// output boxes left as they were; never a crash.
#include "engine/cipher.hpp"
#include "engine/morse.hpp"
#include "ui/fonts.hpp"
#include "ui/main/morse_form.hpp"
#include "ui/messages.hpp"
#include "ui/text.hpp"
#include "ui/textbox/text_box.hpp"

#include "tests/ui/window_test_support.hpp"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

class BadInputTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void translatesWhateverIsTyped_data();
    void translatesWhateverIsTyped();
    void tenMegabytePaste();
    void shiftTexts_data();
    void shiftTexts();

private:
    QString translate(const QString& input, bool cipher, const QString& shift = "1");
    MessageLog log_;
};

void BadInputTest::initTestCase() {
    startLikeTheProgram();
}

void BadInputTest::init() {
    log_.texts.clear();
    morse.show();
}

void BadInputTest::cleanup() {
    unloadNow({&morse});
}

QString BadInputTest::translate(const QString& input, bool cipher, const QString& shift) {
    morse->txt_latino->setPlainText(input);
    (cipher ? morse->opt_cifrato : morse->opt_Morse)->setChecked(true);
    morse->txt_piucifr->setText(shift);
    morse->btn_traduci->click();
    QCoreApplication::processEvents();
    return morse->txt_cifrato->toPlainText();
}

void BadInputTest::translatesWhateverIsTyped_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("inMorse");
    QTest::addColumn<QString>("inCipher");
    QTest::newRow("NUL") << QString("a") + QChar(0) + "b"
                         << " . _ / _ . . .  //"
                         << "BC";
    QTest::newRow("unpaired surrogates") << QString("a") + QChar(0xDC00) + QChar(0xD800) + "b"
                                         << " . _ / _ . . .  //"
                                         << "BC";
    QTest::newRow("emoji") << QString::fromUtf8("a😀b") << " . _ / _ . . .  //"
                           << "BC";
    QTest::newRow("combining accent") << QString::fromUtf8("e\u0301") << " .  //"
                                      << "F";
    QTest::newRow("right to left") << QString::fromUtf8("שלום a") << "/  . _ //"
                                   << "   B";
    QTest::newRow("tabs") << "a\tb"
                          << " . _ / _ . . .  //"
                          << "BC";
    QTest::newRow("CR LF") << "a\r\nb"
                           << " . _ / _ . . .  //"
                           << "BC";
    QTest::newRow("only characters without a rule") << QString::fromUtf8("jkwxy 2000 ¿¡") << "/ / /"
                                                    << "      ";
}

void BadInputTest::translatesWhateverIsTyped() {
    QFETCH(QString, input);
    QFETCH(QString, inMorse);
    QFETCH(QString, inCipher);
    QCOMPARE(translate(input, false), inMorse);
    QCOMPARE(morse->RichTextBox1->toPlainText(), inMorse);
    QCOMPARE(translate(input, true), inCipher);
    QCOMPARE(morse->RichTextBox1->toPlainText(), inCipher);
    QCOMPARE(log_.texts, QStringList());
}

void BadInputTest::tenMegabytePaste() {
    QString paste;
    const QString paragraph =
        QString::fromUtf8("Però, disse l'oste: «chi va piano va sano e va lontano!»\n");
    while (paste.size() < 10'000'000)
        paste += paragraph;
    const std::u16string_view view = text::view(paste);
    QCOMPARE(translate(paste, false), QString::fromStdString(engine::morse(view)));
    QCOMPARE(translate(paste, true, "7"), text::fromWindows1252(engine::cifrato(view, 7)));
    QCOMPARE(morse->RichTextBox1->toPlainText(), morse->txt_cifrato->toPlainText());
    QCOMPARE(log_.texts, QStringList());
}

void BadInputTest::shiftTexts_data() {
    QTest::addColumn<QString>("shift");
    QTest::addColumn<QString>("result"); // empty: refused
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("blank") << " "
                           << "";
    QTest::newRow("plus") << "+"
                          << "";
    QTest::newRow("minus zero") << "-0"
                                << "CIAO";
    QTest::newRow("Arabic-Indic digits") << QString::fromUtf8("١٢") << "";
    QTest::newRow("exponent") << "1e2"
                              << "";
    QTest::newRow("hexadecimal") << "0x10"
                                 << "";
    QTest::newRow("twenty nines") << "99999999999999999999"
                                  << "";
    QTest::newRow("1000 digits") << QString(1000, '3') << "";
    QTest::newRow("1000 zeros then 1") << QString(1000, '0') + "1"
                                       << "DJBP";
}

void BadInputTest::shiftTexts() {
    QFETCH(QString, shift);
    QFETCH(QString, result);
    const QString before = translate("sos", false);
    const QString out = translate("ciao", true, shift);
    if (result.isEmpty()) {
        QCOMPARE(log_.texts.size(), 1);
        QVERIFY(log_.texts[0].contains("da -65 a 191"));
        QCOMPARE(out, before);
        QCOMPARE(morse->RichTextBox1->toPlainText(), before);
    } else {
        QCOMPARE(log_.texts, QStringList());
        QCOMPARE(out, result);
    }
}

QTEST_MAIN(BadInputTest)
#include "tst_bad_input.moc"
