#include "ui/fonts.hpp"
#include "ui/info/cod_morse_form.hpp"
#include "ui/info/frm_cifrato_form.hpp"
#include "ui/info/infor_form.hpp"
#include "ui/main/morse_form.hpp"
#include "ui/messages.hpp"
#include "ui/save/salva_form.hpp"
#include "ui/textbox/text_box.hpp"

#include "tests/ui/window_test_support.hpp"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

int visibleTopLevelsNamed(const QString& name) {
    int count = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == name && w->isVisible())
            ++count;
    return count;
}

// Runs the event loop, doing `steps` once it runs; returns true when the
// program ended by itself, false when it was still running after 5 seconds.
bool programEndsAfter(const std::function<void()>& steps) {
    QTimer::singleShot(0, steps);
    bool timedOut = false;
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        timedOut = true;
        QCoreApplication::exit(1);
    });
    watchdog.start(5000);
    QCoreApplication::exec();
    return !timedOut;
}

} // namespace

class MenuCommandsTest : public QObject {
    Q_OBJECT

private:
    MessageLog log_; // no question is asked; warnings are logged

private slots:
    void initTestCase();
    void init();
    void cleanup() { unloadNow({&morse, &Salva, &infor, &CodMorse, &frm_cifrato}); }

    void eachEntryShowsItsWindowOnce_data();
    void eachEntryShowsItsWindowOnce();
    void windowsComeBackAsTheyWereLeft();
    void accessKeys_data();
    void accessKeys();
    void chiudiUnloadsMainSaveAndInformation();
    void chiudiEndsTheProgramWhenNothingElseIsOpen();
    void anOpenReferenceWindowKeepsTheProgramRunning();
    void closeBoxDoesWhatChiudiDoes();
};

void MenuCommandsTest::initTestCase() {
    startLikeTheProgram();
}

void MenuCommandsTest::init() {
    morse.show();
    QVERIFY(QTest::qWaitForWindowActive(&morse.get()));
}

void MenuCommandsTest::eachEntryShowsItsWindowOnce_data() {
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("window");
    QTest::newRow("Salva") << "save"
                           << "Salva";
    QTest::newRow("Codice Morse") << "morse"
                                  << "CodMorse";
    QTest::newRow("Messaggio Cifrato") << "cifrato"
                                       << "frm_cifrato";
    QTest::newRow("Informazioni") << "info"
                                  << "infor";
}

void MenuCommandsTest::eachEntryShowsItsWindowOnce() {
    QFETCH(QString, entry);
    QFETCH(QString, window);
    auto* action = morse->findChild<QAction*>(entry);
    QVERIFY(action);
    action->trigger();
    action->trigger();
    QCOMPARE(visibleTopLevelsNamed(window), 1);
    QWidget* shown = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == window)
            shown = w;
    QVERIFY(shown->parentWidget() == nullptr); // no owner
    QVERIFY(!shown->isModal());
    QVERIFY(morse->isEnabled());
}

void MenuCommandsTest::windowsComeBackAsTheyWereLeft() {
    morse->save->trigger();
    Salva->txt_salva->setText("bozza");
    Salva->hide();
    morse->info->trigger();
    infor->Chiudi->click();
    morse->morse->trigger();
    CodMorse->txt_codmorse->setPlainText("edited");

    morse->save->trigger();
    morse->info->trigger();
    morse->morse->trigger();
    QCOMPARE(Salva->txt_salva->text(), QStringLiteral("bozza"));
    QVERIFY(Salva->isVisible());
    QVERIFY(infor->isVisible());
    QCOMPARE(CodMorse->txt_codmorse->toPlainText(), QStringLiteral("edited"));
}

void MenuCommandsTest::accessKeys_data() {
    QTest::addColumn<Qt::Key>("menuKey");
    QTest::addColumn<Qt::Key>("entryKey");
    QTest::addColumn<QString>("window");
    QTest::newRow("Alt+F, S") << Qt::Key_F << Qt::Key_S << "Salva";
    QTest::newRow("Alt+?, O") << Qt::Key_Question << Qt::Key_O << "CodMorse";
    QTest::newRow("Alt+?, M") << Qt::Key_Question << Qt::Key_M << "frm_cifrato";
    QTest::newRow("Alt+?, I") << Qt::Key_Question << Qt::Key_I << "infor";
}

void MenuCommandsTest::accessKeys() {
    QFETCH(Qt::Key, menuKey);
    QFETCH(Qt::Key, entryKey);
    QFETCH(QString, window);
    QTest::keyClick(&morse.get(), menuKey, Qt::AltModifier);
    QMenu* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu);
    QTest::keyClick(menu, entryKey);
    QCOMPARE(visibleTopLevelsNamed(window), 1);
}

void MenuCommandsTest::chiudiUnloadsMainSaveAndInformation() {
    morse->save->trigger();
    Salva->hide();
    morse->info->trigger();
    morse->morse->trigger();
    morse->cifrato->trigger();
    morse->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&morse.get()));
    QTest::keyClick(&morse.get(), Qt::Key_F, Qt::AltModifier); // Alt+F, C
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_C);
    QVERIFY(!morse.isLoaded());
    QVERIFY(!Salva.isLoaded());
    QVERIFY(!infor.isLoaded());
    QVERIFY(CodMorse.isLoaded());
    QVERIFY(frm_cifrato.isLoaded());
}

void MenuCommandsTest::chiudiEndsTheProgramWhenNothingElseIsOpen() {
    morse->save->trigger();
    QVERIFY(QMetaObject::invokeMethod(&Salva.get(), "Annulla_Click"));
    morse->info->trigger();
    QVERIFY(programEndsAfter([] { morse->clo->trigger(); }));
    QCOMPARE(forms::loadedCount(), 0);
}

void MenuCommandsTest::anOpenReferenceWindowKeepsTheProgramRunning() {
    morse->morse->trigger();
    bool stillRunning = false;
    QVERIFY(programEndsAfter([&] {
        morse->clo->trigger();
        QTimer::singleShot(200, [&] {
            stillRunning = CodMorse.isLoaded() && CodMorse->isVisible();
            CodMorse->close(); // its close box
        });
    }));
    QVERIFY(stillRunning);
}

void MenuCommandsTest::closeBoxDoesWhatChiudiDoes() {
    morse->save->trigger();
    Salva->hide();
    morse->info->trigger();
    infor->hide();
    QVERIFY(programEndsAfter([] { morse->close(); }));
    QVERIFY(!Salva.isLoaded());
    QVERIFY(!infor.isLoaded());
}

QTEST_MAIN(MenuCommandsTest)
#include "tst_menu_commands.moc"
