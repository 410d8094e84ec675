#include "ui/fonts.hpp"
#include "ui/main/line_wrap.hpp"
#include "ui/main/output_box.hpp"

#include <QApplication>
#include <QClipboard>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

namespace {

QStringList linesOf(const QString& text, const std::vector<qsizetype>& starts) {
    QStringList lines;
    for (std::size_t i = 0; i < starts.size(); ++i)
        lines << text.mid(starts[i],
                          (i + 1 < starts.size() ? starts[i + 1] : text.size()) - starts[i]);
    return lines;
}

QString prose(qsizetype size) {
    const QString sentence =
        QStringLiteral("Nel mezzo del cammin di nostra vita mi ritrovai per una selva oscura. ");
    QString text;
    while (text.size() < size)
        text += sentence;
    text.truncate(size);
    return text;
}

} // namespace

class OutputBoxTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void wrapsAtSpacesWithinTheWidth_data();
    void wrapsAtSpacesWithinTheWidth();
    void wrappingInPiecesGivesTheSameLines();
    void rewrappingAfterAnEditGivesTheSameLines();

    void keepsTheTextExactly();
    void editingWithTheKeyboard();
    void editingNeverSplitsASurrogatePair();
    void selectionAndClipboard();
    void readOnlyRefusesEdits();
    void longTextIsWrappedInTheBackground();
    void resizingRewrapsAtTheNewWidth();

private:
    std::unique_ptr<Advances> advances_;
};

void OutputBoxTest::initTestCase() {
    fonts::install();
    advances_ = std::make_unique<Advances>(QFontMetricsF(fonts::arial(24, true)));
}

void OutputBoxTest::wrapsAtSpacesWithinTheWidth_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<qreal>("width");
    QTest::newRow("prose") << prose(2000) << 300.0;
    QTest::newRow("Morse") << QString(" . _ /  _ . . .  // ").repeated(80) << 250.0;
    QTest::newRow("a word longer than a line") << QString(200, 'W') + " end" << 120.0;
    QTest::newRow("line breaks") << "uno\ndue\n\ntre\n" << 500.0;
    QTest::newRow("narrower than a letter") << "abc def" << 1.0;
    QTest::newRow("runs of spaces") << QString("a") + QString(500, ' ') + "b" << 100.0;
    QTest::newRow("surrogate pairs") << QString::fromUtf8("😀😀😀😀😀😀😀😀😀😀😀😀") << 60.0;
    QTest::newRow("empty") << "" << 100.0;
}

// Every line fits (but for trailing spaces and a first character wider than
// the line), breaks fall after spaces or inside over-long words, and the
// lines put together give the text back.
void OutputBoxTest::wrapsAtSpacesWithinTheWidth() {
    QFETCH(QString, text);
    QFETCH(qreal, width);
    LineWrap wrap;
    wrap.reset(width);
    QVERIFY(wrap.wrapMore(text, *advances_, text.size() + 1));
    const QStringList lines = linesOf(text, wrap.starts());
    QCOMPARE(lines.join(QString()), text);
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith('\n'))
            line.chop(1);
        QVERIFY2(!line.contains('\n'), qPrintable(line));
        while (line.endsWith(' '))
            line.chop(1);
        const qreal used = advances_->width(line, 0, line.size());
        QVERIFY2(used <= width + 0.001 ||
                     advances_->width(line, 0, line.front().isHighSurrogate() ? 2 : 1) > width,
                 qPrintable(QStringLiteral("line %1 is %2 wide: %3").arg(i).arg(used).arg(line)));
        QVERIFY(!line.isEmpty() ? !line.front().isLowSurrogate() : true);
        // A break inside a word only where the word alone is wider than the line.
        if (i + 1 < lines.size() && !lines[i].endsWith(' ') && !lines[i].endsWith('\n')) {
            const QString word = lines[i].section(' ', -1) + lines[i + 1].section(' ', 0, 0);
            QVERIFY2(advances_->width(word, 0, word.size()) > width, qPrintable(word));
        }
    }
}

void OutputBoxTest::wrappingInPiecesGivesTheSameLines() {
    const QString text = prose(5000) + "\n" + QString(300, 'x') + "\n\n" + prose(3000);
    LineWrap whole;
    whole.reset(200);
    QVERIFY(whole.wrapMore(text, *advances_, text.size()));
    for (qsizetype piece : {1, 7, 64, 1000}) {
        LineWrap pieces;
        pieces.reset(200);
        while (!pieces.wrapMore(text, *advances_, piece)) {
        }
        QCOMPARE(pieces.starts(), whole.starts());
    }
}

void OutputBoxTest::rewrappingAfterAnEditGivesTheSameLines() {
    QString text = prose(3000);
    LineWrap wrap;
    wrap.reset(250);
    QVERIFY(wrap.wrapMore(text, *advances_, text.size()));
    // Shorten a word at the start of some line: the line before may now take it.
    const qsizetype line = 10;
    const qsizetype at = wrap.starts()[line];
    text.remove(at, 3);
    wrap.truncate(line - 1);
    while (!wrap.wrapMore(text, *advances_, 100)) {
    }
    LineWrap fresh;
    fresh.reset(250);
    QVERIFY(fresh.wrapMore(text, *advances_, text.size()));
    QCOMPARE(wrap.starts(), fresh.starts());
}

void OutputBoxTest::keepsTheTextExactly() {
    OutputBox box;
    const QString text =
        QString("a\r\nb") + QChar(0) + QChar(0x1A) + QString::fromUtf8("€😀") + QChar(0xD800) + "\n";
    box.setPlainText(text);
    QCOMPARE(box.toPlainText(), text);
}

void OutputBoxTest::editingWithTheKeyboard() {
    OutputBox box;
    box.resize(300, 200);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QSignalSpy changed(&box, &OutputBox::textChanged);
    box.setPlainText("ciao");
    box.setCursorPosition(4);
    QTest::keyClicks(&box, " mondo");
    QCOMPARE(box.toPlainText(), QStringLiteral("ciao mondo"));
    QTest::keyClick(&box, Qt::Key_Home);
    QTest::keyClick(&box, Qt::Key_Delete);
    QTest::keyClicks(&box, "C");
    QTest::keyClick(&box, Qt::Key_End);
    QTest::keyClick(&box, Qt::Key_Backspace);
    QTest::keyClick(&box, Qt::Key_Left);
    QTest::keyClick(&box, Qt::Key_Return);
    QCOMPARE(box.toPlainText(), QStringLiteral("Ciao mon\nd"));
    QTest::keyClick(&box, Qt::Key_Up);
    QCOMPARE(box.cursorPosition(), 0);
    QTest::keyClick(&box, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(box.cursorPosition(), 10);
    QTest::keyClick(&box, Qt::Key_Escape);
    QCOMPARE(box.toPlainText(), QStringLiteral("Ciao mon\nd"));
    QVERIFY(changed.count() > 5);
}

void OutputBoxTest::editingNeverSplitsASurrogatePair() {
    OutputBox box;
    box.setPlainText(QString::fromUtf8("a😀b"));
    box.setCursorPosition(3); // after the pair
    QTest::keyClick(&box, Qt::Key_Backspace);
    QCOMPARE(box.toPlainText(), QStringLiteral("ab"));
    box.setPlainText(QString::fromUtf8("a😀b"));
    box.setCursorPosition(1);
    QTest::keyClick(&box, Qt::Key_Delete);
    QCOMPARE(box.toPlainText(), QStringLiteral("ab"));
    box.setPlainText(QString::fromUtf8("a😀b"));
    box.setCursorPosition(2); // inside the pair: moved out of it
    QVERIFY(box.cursorPosition() != 2);
}

void OutputBoxTest::selectionAndClipboard() {
    OutputBox box;
    box.setPlainText("uno due tre");
    box.setCursorPosition(4);
    QTest::keyClick(&box, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(&box, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(&box, Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(box.selectedText(), QStringLiteral("due"));
    QTest::keyClick(&box, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(box.toPlainText(), QStringLiteral("uno  tre"));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("due"));
    QTest::keyClick(&box, Qt::Key_End);
    QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(box.toPlainText(), QStringLiteral("uno  tredue"));
    QTest::keyClick(&box, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(box.selectedText(), box.toPlainText());
    QTest::keyClicks(&box, "z");
    QCOMPARE(box.toPlainText(), QStringLiteral("z"));
}

void OutputBoxTest::readOnlyRefusesEdits() {
    OutputBox box;
    box.setReadOnly(true);
    box.setPlainText("fisso");
    QTest::keyClicks(&box, "abc");
    QTest::keyClick(&box, Qt::Key_Backspace);
    QTest::keyClick(&box, Qt::Key_Return);
    QCOMPARE(box.toPlainText(), QStringLiteral("fisso"));
}

void OutputBoxTest::longTextIsWrappedInTheBackground() {
    OutputBox box;
    box.resize(587, 137);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    const QString text = QString(" . _ /  _ . . .  // ").repeated(400000); // 8 MB in one paragraph
    box.setPlainText(text);
    QVERIFY(!box.isWrapped()); // only the first screenful so far
    QTRY_VERIFY_WITH_TIMEOUT(box.isWrapped(), 30000);
    const qsizetype lines = box.lineCount();
    QVERIFY(lines > 10000);
    QCOMPARE(box.verticalScrollBar()->maximum() + box.verticalScrollBar()->pageStep(), lines);
    QTest::keyClick(&box, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(box.cursorPosition(), text.size());
    QCOMPARE(box.verticalScrollBar()->value(), box.verticalScrollBar()->maximum());
}

void OutputBoxTest::resizingRewrapsAtTheNewWidth() {
    OutputBox box;
    box.resize(600, 200);
    box.show();
    box.setPlainText(prose(3000));
    const qsizetype wide = box.lineCount();
    box.resize(300, 200);
    QCoreApplication::processEvents();
    QVERIFY(box.lineCount() > wide * 3 / 2);
}

QTEST_MAIN(OutputBoxTest)
#include "tst_output_box.moc"
