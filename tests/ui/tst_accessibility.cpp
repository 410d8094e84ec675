#include "ui/info/cod_morse_form.hpp"
#include "ui/info/infor_form.hpp"
#include "ui/main/morse_form.hpp"
#include "ui/save/salva_form.hpp"

#include "tests/ui/window_test_support.hpp"

#include <QAccessible>
#include <QTest>

namespace {

QString accessibleName(QWidget* control) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(control);
    return iface ? iface->text(QAccessible::Name) : QString();
}

QWidget& windowNamed(const QString& name) {
    if (name == QLatin1String("Salva"))
        return Salva.get();
    if (name == QLatin1String("CodMorse"))
        return CodMorse.get();
    if (name == QLatin1String("infor"))
        return infor.get();
    return morse.get();
}

} // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { startLikeTheProgram(); }
    void cleanup() { unloadNow({&morse, &Salva, &CodMorse, &infor}); }

    void controlsHaveItalianNames_data();
    void controlsHaveItalianNames();
    void everyControlOfTheMainWindowIsNamed();
};

void AccessibilityTest::controlsHaveItalianNames_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    // (The drive list is a combo box, which on Linux Qt names by its value.)
    const char* const rows[][3] = {
        {"morse", "txt_latino", "Testo da tradurre"},
        {"morse", "txt_cifrato", "Traduzione"},
        {"morse", "RichTextBox1", "Traduzione"},
        {"morse", "txt_piucifr", "Spostamento"},
        {"morse", "btn_traduci", "Traduci"},
        {"morse", "Command1", "Stampa"},
        {"morse", "opt_Morse", "Morse"},
        {"morse", "opt_cifrato", "Cifrato"},
        {"Salva", "txt_salva", "Nome del file"},
        {"Salva", "Dir1", "Cartelle"},
        {"Salva", "File1", "File"},
        {"CodMorse", "txt_codmorse", "Codice Morse"},
        {"infor", "Chiudi", "Chiudi"},
    };
    for (const auto& row : rows)
        QTest::addRow("%s.%s", row[0], row[1])
            << QString::fromUtf8(row[0]) << QString::fromUtf8(row[1]) << QString::fromUtf8(row[2]);
}

void AccessibilityTest::controlsHaveItalianNames() {
    QFETCH(QString, window);
    QFETCH(QString, control);
    QFETCH(QString, name);
    auto* widget = windowNamed(window).findChild<QWidget*>(control);
    QVERIFY(widget);
    QCOMPARE(accessibleName(widget), name);
}

void AccessibilityTest::everyControlOfTheMainWindowIsNamed() {
    MorseForm& w = morse.get();
    // Controls are the widgets the window's code names; Qt's own parts of
    // them (viewports, scroll bars) are named by Qt.
    int controls = 0;
    for (QWidget* control : w.centralWidget()->findChildren<QWidget*>()) {
        if (control->objectName().isEmpty() ||
            control->objectName().startsWith(QLatin1String("qt_")))
            continue;
        ++controls;
        QVERIFY2(!accessibleName(control).isEmpty(), qPrintable(control->objectName()));
    }
    QCOMPARE(controls, 11);
}

QTEST_MAIN(AccessibilityTest)
#include "tst_accessibility.moc"
