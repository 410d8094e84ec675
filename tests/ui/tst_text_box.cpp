#include "ui/fonts.hpp"
#include "ui/textbox/line_breaker.hpp"
#include "ui/textbox/text_box.hpp"

#include <QInputMethodEvent>
#include <QRandomGenerator>

#include <QApplication>
#include <QClipboard>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

namespace {

std::vector<qsizetype> startsOf(const ParagraphWrap& wrap) {
    std::vector<qsizetype> starts;
    for (qsizetype i = 0; i < wrap.lineCount(); ++i)
        starts.push_back(wrap.start(i));
    return starts;
}

QStringList linesOf(const QString& text, const std::vector<qsizetype>& starts) {
    QStringList lines;
    for (std::size_t i = 0; i < starts.size(); ++i)
        lines << text.mid(starts[i],
                          (i + 1 < starts.size() ? starts[i + 1] : text.size()) - starts[i]);
    return lines;
}

qreal widthOf(const Advances& advances, const QString& text) {
    qreal sum = 0;
    for (qsizetype i = 0; i < text.size(); ++i)
        sum += advances.at(text, i);
    return sum;
}

const QChar kBreak = QChar::LineSeparator;

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

class TextBoxTest : public QObject {
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
    void inputMethodComposesThenCommits();
    void editsInALongParagraphKeepItsLines();

private:
    std::unique_ptr<Advances> advances_;
};

void TextBoxTest::initTestCase() {
    fonts::install();
    advances_ = std::make_unique<Advances>(QFontMetricsF(fonts::arial(24, true)), 80);
}

void TextBoxTest::wrapsAtSpacesWithinTheWidth_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<qreal>("width");
    QTest::newRow("prose") << prose(2000) << 300.0;
    QTest::newRow("Morse") << QString(" . _ /  _ . . .  // ").repeated(80) << 250.0;
    QTest::newRow("a word longer than a line") << QString(200, 'W') + " end" << 120.0;
    QTest::newRow("line breaks") << QString("uno#due##tre#").replace('#', kBreak) << 500.0;
    QTest::newRow("narrower than a letter") << "abc def" << 1.0;
    QTest::newRow("runs of spaces") << QString("a") + QString(500, ' ') + "b" << 100.0;
    QTest::newRow("surrogate pairs") << QString::fromUtf8("😀😀😀😀😀😀😀😀😀😀😀😀") << 60.0;
    QTest::newRow("empty") << "" << 100.0;
}

// Every line fits (but for trailing spaces and a first character wider than
// the line), breaks fall after spaces or inside over-long words, and the
// lines put together give the text back.
void TextBoxTest::wrapsAtSpacesWithinTheWidth() {
    QFETCH(QString, text);
    QFETCH(qreal, width);
    ParagraphWrap wrap(width);
    QVERIFY(wrap.wrapMore(text, *advances_, text.size() + 1));
    const QStringList lines = linesOf(text, startsOf(wrap));
    QCOMPARE(lines.join(QString()), text);
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(kBreak))
            line.chop(1);
        QVERIFY2(!line.contains(kBreak), qPrintable(line));
        while (line.endsWith(' '))
            line.chop(1);
        const qreal used = widthOf(*advances_, line);
        QVERIFY2(used <= width + 0.001 ||
                     widthOf(*advances_, line.left(line.front().isHighSurrogate() ? 2 : 1)) > width,
                 qPrintable(QStringLiteral("line %1 is %2 wide: %3").arg(i).arg(used).arg(line)));
        QVERIFY(!line.isEmpty() ? !line.front().isLowSurrogate() : true);
        // A break inside a word only where the word alone is wider than the line.
        if (i + 1 < lines.size() && !lines[i].endsWith(' ') && !lines[i].endsWith(kBreak)) {
            const QString word = lines[i].section(' ', -1) + lines[i + 1].section(' ', 0, 0);
            QVERIFY2(widthOf(*advances_, word) > width, qPrintable(word));
        }
    }
}

void TextBoxTest::wrappingInPiecesGivesTheSameLines() {
    const QString text = prose(5000) + kBreak + QString(300, 'x') + kBreak + kBreak + prose(3000);
    ParagraphWrap whole(200);
    QVERIFY(whole.wrapMore(text, *advances_, text.size()));
    for (qsizetype piece : {1, 7, 64, 1000}) {
        ParagraphWrap pieces(200);
        while (!pieces.wrapMore(text, *advances_, piece)) {
        }
        QCOMPARE(startsOf(pieces), startsOf(whole));
    }
}

// Property: after any edit, the lines kept, rewrapped and taken back from
// before the edit are the lines a fresh wrapping finds.
void TextBoxTest::rewrappingAfterAnEditGivesTheSameLines() {
    QRandomGenerator random(2026);
    QString text = prose(20000) + QString(400, 'w') + QString(" . _ /  _ . . .  // ").repeated(300);
    ParagraphWrap wrap(250);
    QVERIFY(wrap.wrapMore(text, *advances_, text.size()));
    const QString pieces[] = {"", " ", "x", "parola ", QString(kBreak), QString(300, 'k'), "a b c"};
    for (int edit = 0; edit < 300; ++edit) {
        const qsizetype at = random.bounded(text.size() + 1);
        const qsizetype removed = std::min<qsizetype>(random.bounded(12), text.size() - at);
        const QString added = pieces[random.bounded(int(std::size(pieces)))];
        text.replace(at, removed, added);
        wrap.edit(text, *advances_, at, removed, added.size());
        while (!wrap.wrapMore(text, *advances_, 1 + random.bounded(5000))) {
        }
        ParagraphWrap fresh(250);
        QVERIFY(fresh.wrapMore(text, *advances_, text.size()));
        QVERIFY2(startsOf(wrap) == startsOf(fresh),
                 qPrintable(QStringLiteral("edit %1 at %2").arg(edit).arg(at)));
    }
}

void TextBoxTest::keepsTheTextExactly() {
    TextBox box;
    // Characters set by the program stay as they are, control characters too;
    // only text set as plain text reads its line breaks.
    const QString text =
        QString("a\r\nb") + QChar(0) + QChar(0x1A) + QString::fromUtf8("€😀") + QChar(0xD800) + "\n";
    box.document()->setText(text);
    QCOMPARE(box.document()->text(), text);
    box.setPlainText(text);
    QCOMPARE(box.toPlainText(), QString(text).replace("\r\n", "\n"));
    QCOMPARE(box.document()->text().count(QChar::ParagraphSeparator), 2);
}

void TextBoxTest::editingWithTheKeyboard() {
    TextBox box;
    box.resize(300, 200);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QSignalSpy changed(&box, &TextBox::textChanged);
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

void TextBoxTest::editingNeverSplitsASurrogatePair() {
    TextBox box;
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

void TextBoxTest::selectionAndClipboard() {
    TextBox box;
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

void TextBoxTest::readOnlyRefusesEdits() {
    TextBox box;
    box.setReadOnly(true);
    box.setPlainText("fisso");
    QTest::keyClicks(&box, "abc");
    QTest::keyClick(&box, Qt::Key_Backspace);
    QTest::keyClick(&box, Qt::Key_Return);
    QCOMPARE(box.toPlainText(), QStringLiteral("fisso"));
}

void TextBoxTest::longTextIsWrappedInTheBackground() {
    TextBox box;
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
    // The end is in view, its last line whole, as QPlainTextEdit scrolls there.
    QVERIFY(box.cursorRect().top() >= 0);
    QVERIFY(box.cursorRect().bottom() < box.viewport()->height());
    QVERIFY(box.verticalScrollBar()->value() >= box.verticalScrollBar()->maximum() - 1);
}

void TextBoxTest::resizingRewrapsAtTheNewWidth() {
    TextBox box;
    box.resize(600, 200);
    box.show();
    box.setPlainText(prose(3000));
    const qsizetype wide = box.lineCount();
    box.resize(300, 200);
    QCoreApplication::processEvents();
    QVERIFY(box.lineCount() > wide * 3 / 2);
}

// The text being composed is shown at the cursor, moves the caret, but is not
// text until the input method commits it; the commit is one undo step.
void TextBoxTest::inputMethodComposesThenCommits() {
    TextBox box;
    box.resize(300, 100);
    box.show();
    box.setPlainText(QStringLiteral("ab"));
    box.setCursorPosition(1);
    const int caretBefore = box.cursorRect().x();
    QInputMethodEvent composing(QStringLiteral("xyz"), {});
    QCoreApplication::sendEvent(&box, &composing);
    QCOMPARE(box.toPlainText(), QStringLiteral("ab"));
    QVERIFY(box.cursorRect().x() > caretBefore);
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf8("à"));
    QCoreApplication::sendEvent(&box, &commit);
    QCOMPARE(box.toPlainText(), QString::fromUtf8("aàb"));
    QCOMPARE(box.cursorPosition(), 2);
    QCOMPARE(box.cursorRect().x(), box.cursorRect(2).x());
    box.undo();
    QCOMPARE(box.toPlainText(), QStringLiteral("ab"));
}

// Property: typing and deleting anywhere in a paragraph too long to shape
// whole leaves the box's lines as a fresh box of the same text has them.
void TextBoxTest::editsInALongParagraphKeepItsLines() {
    TextBox box;
    box.resize(587, 137);
    box.show();
    box.setPlainText(QString(" . _ /  _ . . .  // ").repeated(3000));
    QRandomGenerator random(7);
    for (int i = 0; i < 40; ++i) {
        box.setCursorPosition(random.bounded(box.document()->size() + 1));
        if (random.bounded(2))
            QTest::keyClicks(&box, QString(random.bounded(1, 30), u'w'));
        else
            for (int n = random.bounded(1, 30); n > 0; --n)
                QTest::keyClick(&box, Qt::Key_Backspace);
    }
    TextBox fresh;
    fresh.resize(587, 137);
    fresh.show();
    fresh.setPlainText(box.toPlainText());
    QCOMPARE(box.lineCount(), fresh.lineCount());
    for (qsizetype line = 0; line < fresh.lineCount(); line += 7)
        QCOMPARE(box.lineLayout().lineAtNumber(line).start,
                 fresh.lineLayout().lineAtNumber(line).start);
}

QTEST_MAIN(TextBoxTest)
#include "tst_text_box.moc"
