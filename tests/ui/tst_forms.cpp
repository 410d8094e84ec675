#include "ui/forms.hpp"

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>

namespace {

struct Sheet : QWidget {
    Sheet() { box = new QLineEdit(QStringLiteral("initial"), this); }
    QLineEdit* box;
};

forms::Instance<Sheet> first;
forms::Instance<Sheet> second;

void processDeferredDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class FormsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void cleanup();

    void oneInstanceCreatedOnFirstReference();
    void hidingKeepsTheWindowAndItsContents();
    void unloadingDestroysAndTheNextReferenceStartsAfresh();
    void closeBoxUnloads();
    void unloadingAWindowThatIsNotLoadedDoesNothing();
    void closingAnUnloadedWindowLeavesItsSuccessor();
    void programRunsWhileAHiddenWindowIsLoaded();
    void programEndsWhenTheLastWindowIsUnloaded();
};

void FormsTest::cleanup() {
    first.unload();
    second.unload();
    processDeferredDeletes();
    QCOMPARE(forms::loadedCount(), 0);
}

void FormsTest::oneInstanceCreatedOnFirstReference() {
    QVERIFY(!first.isLoaded());
    Sheet* a = &first.get();
    QVERIFY(first.isLoaded());
    QCOMPARE(forms::loadedCount(), 1);
    first.show();
    first.show();
    QCOMPARE(&first.get(), a);
    QCOMPARE(forms::loadedCount(), 1);
    QVERIFY(a->isVisible());
}

void FormsTest::hidingKeepsTheWindowAndItsContents() {
    first.show();
    first->box->setText(QStringLiteral("typed"));
    first->hide();
    QVERIFY(first.isLoaded());
    first.show();
    QCOMPARE(first->box->text(), QStringLiteral("typed"));
}

void FormsTest::unloadingDestroysAndTheNextReferenceStartsAfresh() {
    first.show();
    first->box->setText(QStringLiteral("typed"));
    QPointer<Sheet> old = &first.get();
    first.unload();
    QVERIFY(!first.isLoaded());
    QCOMPARE(forms::loadedCount(), 0);
    QVERIFY(!old->isVisible());
    processDeferredDeletes();
    QVERIFY(old.isNull());
    QCOMPARE(first->box->text(), QStringLiteral("initial"));
}

void FormsTest::closeBoxUnloads() {
    first.show();
    second.show();
    QPointer<Sheet> old = &first.get();
    QVERIFY(old->close());
    QVERIFY(!first.isLoaded());
    QVERIFY(second.isLoaded());
    QCOMPARE(forms::loadedCount(), 1);
    processDeferredDeletes();
    QVERIFY(old.isNull());
}

void FormsTest::unloadingAWindowThatIsNotLoadedDoesNothing() {
    second.show();
    first.unload();
    QCOMPARE(forms::loadedCount(), 1);
    QVERIFY(second->isVisible());
}

void FormsTest::closingAnUnloadedWindowLeavesItsSuccessor() {
    first.show();
    QPointer<Sheet> old = &first.get();
    first.unload(); // deleted only after the current event
    first.show();
    old->close();
    QVERIFY(first.isLoaded());
    QVERIFY(first->isVisible());
}

// Qt's own rule would end the program when the last visible window closes; a
// hidden but loaded window must keep it running.
void FormsTest::programRunsWhileAHiddenWindowIsLoaded() {
    first.show();
    second.get(); // loaded, never shown
    bool runningAfterClose = false;
    QTimer::singleShot(0, [] { first->close(); });
    QTimer::singleShot(100, [&] {
        runningAfterClose = true;
        second.unload();
    });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    watchdog.start(10000);
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(runningAfterClose);
}

void FormsTest::programEndsWhenTheLastWindowIsUnloaded() {
    first.show();
    QTimer::singleShot(0, [] { first.unload(); });
    QTimer watchdog;
    connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    watchdog.start(10000);
    QCOMPARE(QCoreApplication::exec(), 0);
}

QTEST_MAIN(FormsTest)
#include "tst_forms.moc"
