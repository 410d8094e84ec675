#include "ui/info/cod_morse_form.hpp"
#include "ui/info/infor_form.hpp"
#include "ui/main/morse_form.hpp"
#include "ui/save/salva_form.hpp"
#include "ui/textbox/text_box.hpp"
#include "ui/textbox/text_box_accessible.hpp"

#include "tests/ui/window_test_support.hpp"

#include <QAccessible>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTest>
#include <QTextBoundaryFinder>

#include <memory>
#include <set>
#include <vector>

// Qt sends accessibility events only while a screen reader listens; the
// events test switches that on as Qt's own tests do.
#if __has_include(<qpa/qplatformaccessibility.h>)
#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>
#define LUMBO_CAN_ACTIVATE_ACCESSIBILITY 1
#endif

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

struct Item {
    QString text;
    int start = 0;
    int end = 0;
    bool operator==(const Item&) const = default;
};

char* toString(const Item& item) {
    return QTest::toString(
        QStringLiteral("%1..%2 \"%3\"").arg(item.start).arg(item.end).arg(item.text));
}

enum class Where { Before, At, After };

Item itemOf(const QAccessibleTextInterface* text, Where where, int offset,
            QAccessible::TextBoundaryType type) {
    Item item;
    switch (where) {
    case Where::Before:
        item.text = text->textBeforeOffset(offset, type, &item.start, &item.end);
        break;
    case Where::At:
        item.text = text->textAtOffset(offset, type, &item.start, &item.end);
        break;
    case Where::After:
        item.text = text->textAfterOffset(offset, type, &item.start, &item.end);
        break;
    }
    return item;
}

// The items of a whole text as QTextBoundaryFinder finds them when given all
// of it at once: what the box, which reads only around the offset, must
// agree with. Items end where the finder marks a start or end of an item,
// and at every paragraph's end.
class WholeText {
public:
    WholeText(const QString& held, QAccessible::TextBoundaryType type)
        : plain_(held) {
        plain_.replace(QChar::ParagraphSeparator, u'\n').replace(QChar::LineSeparator, u'\n');
        const auto kind = type == QAccessible::CharBoundary   ? QTextBoundaryFinder::Grapheme
                          : type == QAccessible::WordBoundary ? QTextBoundaryFinder::Word
                                                              : QTextBoundaryFinder::Sentence;
        QTextBoundaryFinder finder(kind, held);
        edges_.insert(0);
        edges_.insert(static_cast<int>(held.size()));
        for (qsizetype at = finder.toNextBoundary(); at > 0; at = finder.toNextBoundary())
            if (finder.boundaryReasons() &
                (QTextBoundaryFinder::StartOfItem | QTextBoundaryFinder::EndOfItem))
                edges_.insert(static_cast<int>(at));
        for (qsizetype i = 0; i < held.size(); ++i)
            if (held[i] == QChar::ParagraphSeparator)
                edges_.insert(static_cast<int>(i + 1));
    }

    Item item(Where where, int offset) const {
        const Item here = at(offset);
        if (where == Where::At)
            return here;
        if (where == Where::Before)
            return here.start == 0 ? Item{QString(), 0, 0} : at(here.start - 1);
        return here.end >= size() ? Item{QString(), size(), size()} : at(here.end);
    }

    int size() const { return static_cast<int>(plain_.size()); }

private:
    Item at(int offset) const {
        if (offset >= size())
            return {QString(), size(), size()};
        const auto next = edges_.upper_bound(offset);
        const int start = *std::prev(next);
        return {plain_.mid(start, *next - start), start, *next};
    }

    QString plain_;
    std::set<int> edges_;
};

// Where the box's answer differs from the reference's; empty when they agree.
QByteArray mismatch(const QAccessibleTextInterface* box, const WholeText& whole, Where where,
                    int offset, QAccessible::TextBoundaryType type) {
    const Item mine = itemOf(box, where, offset, type);
    const Item expected = whole.item(where, offset);
    if (mine == expected)
        return {};
    return QStringLiteral("%1 instead of %2 (%3 offset %4, boundary %5, %6 characters)")
        .arg(QString::fromUtf8(toString(mine)), QString::fromUtf8(toString(expected)),
             QLatin1String(where == Where::Before ? "before"
                           : where == Where::At   ? "at"
                                                  : "after"))
        .arg(offset)
        .arg(int(type))
        .arg(whole.size())
        .toUtf8();
}

// Words, spaces, sentence ends, line breaks of both kinds, a combining accent
// and a character outside the basic plane.
QString randomPieces(QRandomGenerator& random, int count) {
    static const char16_t* const pieces[] = {
        u"ciao",   u"mondo",   u" ",          u"  ",     u". ",   u"! ",  u"\u2029",
        u"\u2028", u"e\u0301", u"\U0001F600", u"l'uomo", u"3,14", u"SOS",
    };
    QString text;
    for (int i = 0; i < count; ++i)
        text += QString::fromUtf16(pieces[random.bounded(int(std::size(pieces)))]);
    return text;
}

struct Recorded {
    QAccessible::Event type = QAccessible::InvalidEvent;
    QObject* object = nullptr;
    int position = -1;
    QString text;
    int selectionStart = -1;
    int selectionEnd = -1;
};

std::vector<Recorded>* recording = nullptr;

void record(QAccessibleEvent* event) {
    if (!recording)
        return;
    Recorded r;
    r.type = event->type();
    r.object = event->object();
    switch (event->type()) {
    case QAccessible::TextInserted: {
        auto* e = static_cast<QAccessibleTextInsertEvent*>(event);
        r.position = e->changePosition();
        r.text = e->textInserted();
        break;
    }
    case QAccessible::TextRemoved: {
        auto* e = static_cast<QAccessibleTextRemoveEvent*>(event);
        r.position = e->changePosition();
        r.text = e->textRemoved();
        break;
    }
    case QAccessible::TextCaretMoved:
        r.position = static_cast<QAccessibleTextCursorEvent*>(event)->cursorPosition();
        break;
    case QAccessible::TextSelectionChanged: {
        auto* e = static_cast<QAccessibleTextSelectionEvent*>(event);
        r.selectionStart = e->selectionStart();
        r.selectionEnd = e->selectionEnd();
        break;
    }
    default:
        break;
    }
    recording->push_back(r);
}

} // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        startLikeTheProgram();
        installTextBoxAccessibility();
    }
    void cleanup() {
        box_.reset();
        unloadNow({&morse, &Salva, &CodMorse, &infor});
    }

    void controlsHaveItalianNames_data();
    void controlsHaveItalianNames();
    void everyControlOfTheMainWindowIsNamed();

    void theMainWindowsBoxesAreReadableTexts();
    void aTextBoxIsAnEditableText();
    void textFollowsEdits();
    void longParagraphsReadLikeShortOnes();
    void endsOfTheText();
    void linesAndParagraphsFollowTheLayout();
    void editsGoThroughTheDocument();
    void readOnlyRefusesEdits();
    void eventsArrive();
    void charactersAndPointsAgree();
    void scrollsToASubstring();
    void attributesNameTheFont();

private:
    // A box of its own, in view, as a screen reader finds it.
    TextBox* newBox(const QString& text, QSize size = {300, 200});
    static QAccessibleTextInterface* textOf(TextBox* box) {
        return QAccessible::queryAccessibleInterface(box)->textInterface();
    }
    std::unique_ptr<TextBox> box_;
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

void AccessibilityTest::theMainWindowsBoxesAreReadableTexts() {
    morse.show();
    MorseForm& w = morse.get();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.txt_latino->setPlainText(QStringLiteral("Ciao\nmondo"));
    w.opt_Morse->setChecked(true);
    QTest::mouseClick(w.btn_traduci, Qt::LeftButton);
    QVERIFY(!w.RichTextBox1->toPlainText().isEmpty());
    for (TextBox* box : {w.txt_latino, w.txt_cifrato, w.RichTextBox1}) {
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(box);
        QCOMPARE(iface->role(), QAccessible::EditableText);
        QAccessibleTextInterface* text = iface->textInterface();
        QVERIFY(text);
        const QString plain = box->toPlainText();
        QCOMPARE(text->text(0, text->characterCount()), plain);
        QCOMPARE(iface->text(QAccessible::Value), plain);
        int start = -1, end = -1;
        QCOMPARE(text->textAtOffset(0, QAccessible::ParagraphBoundary, &start, &end),
                 plain.contains(u'\n') ? plain.left(plain.indexOf(u'\n') + 1) : plain);
    }
    // The print buffer and the box under it show one text: an edit through
    // either reads back through both.
    QAccessibleInterface* shown = QAccessible::queryAccessibleInterface(w.RichTextBox1);
    shown->editableTextInterface()->insertText(0, QStringLiteral("SOS "));
    QCOMPARE(QAccessible::queryAccessibleInterface(w.txt_cifrato)->text(QAccessible::Value),
             w.RichTextBox1->toPlainText());
    QVERIFY(w.txt_cifrato->toPlainText().startsWith(QLatin1String("SOS ")));
}

TextBox* AccessibilityTest::newBox(const QString& text, QSize size) {
    box_ = std::make_unique<TextBox>();
    box_->resize(size);
    box_->setPlainText(text);
    box_->show();
    if (!QTest::qWaitForWindowExposed(box_.get()))
        return nullptr;
    return box_.get();
}

void AccessibilityTest::aTextBoxIsAnEditableText() {
    TextBox* box = newBox(QStringLiteral("ciao"));
    QVERIFY(box);
    box->setFocus();
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(box);
    QVERIFY(iface);
    QCOMPARE(iface->role(), QAccessible::EditableText);
    QVERIFY(iface->textInterface());
    QVERIFY(iface->editableTextInterface());
    QVERIFY(iface->valueInterface());
    QAccessible::State state = iface->state();
    QVERIFY(state.multiLine && state.editable && state.selectableText && !state.readOnly);
    QVERIFY(state.focused);
    box->setReadOnly(true);
    state = iface->state();
    QVERIFY(state.readOnly && !state.editable);
}

void AccessibilityTest::textFollowsEdits() {
    TextBox* box = newBox(QString());
    QVERIFY(box);
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(box);
    QAccessibleTextInterface* text = iface->textInterface();
    TextDocument* document = box->document();
    QRandomGenerator random(20261207);
    for (int round = 0; round < 300; ++round) {
        const int size = static_cast<int>(document->size());
        const int at = random.bounded(size + 1);
        const int length = random.bounded(std::min(size - at, 12) + 1);
        document->replace(at, length, randomPieces(random, random.bounded(5)),
                          TextDocument::Kind::Other);

        const QString plain = box->toPlainText();
        const int count = static_cast<int>(plain.size());
        QCOMPARE(text->characterCount(), count);
        QCOMPARE(text->text(0, count), plain);
        QCOMPARE(iface->text(QAccessible::Value), plain);
        QCOMPARE(iface->valueInterface()->currentValue().toString(), plain);
        const int from = random.bounded(count + 1);
        const int to = from + random.bounded(count - from + 1);
        QCOMPARE(text->text(from, to), plain.mid(from, to - from));

        box->setCursorPosition(random.bounded(count + 1));
        QCOMPARE(text->cursorPosition(), box->cursorPosition());
        text->setSelection(0, to, from);
        int start = -1, end = -1;
        text->selection(0, &start, &end);
        // The box keeps its caret off the inside of a character.
        QCOMPARE(text->selectionCount(), box->hasSelection() ? 1 : 0);
        if (box->hasSelection())
            QCOMPARE(std::pair(start, end),
                     std::pair(int(box->selectionStart()), int(box->selectionEnd())));
        QVERIFY(std::abs(box->anchorPosition() - to) <= 1 &&
                std::abs(box->cursorPosition() - from) <= 1);

        for (auto type : {QAccessible::CharBoundary, QAccessible::WordBoundary,
                          QAccessible::SentenceBoundary}) {
            const WholeText whole(document->text(), type);
            for (Where where : {Where::Before, Where::At, Where::After}) {
                const QByteArray why =
                    mismatch(text, whole, where, random.bounded(count + 1), type);
                QVERIFY2(why.isEmpty(), why.constData());
            }
        }
    }
}

void AccessibilityTest::longParagraphsReadLikeShortOnes() {
    // One paragraph of many words, with sentences short and long: the box
    // reads a stretch around the offset, widening it for long sentences.
    QRandomGenerator random(7);
    QString paragraph;
    while (paragraph.size() < 200000) {
        const int words = random.bounded(2) ? 3 + random.bounded(20) : 2000 + random.bounded(4000);
        paragraph += QStringLiteral("Parola");
        for (int i = 1; i < words; ++i)
            paragraph += QStringLiteral(" parola");
        paragraph += QStringLiteral(". ");
    }
    TextBox* box = newBox(paragraph);
    QVERIFY(box);
    QAccessibleTextInterface* text = textOf(box);
    for (auto type :
         {QAccessible::CharBoundary, QAccessible::WordBoundary, QAccessible::SentenceBoundary}) {
        const WholeText whole(paragraph, type);
        for (int i = 0; i < 40; ++i) {
            const int offset = random.bounded(static_cast<int>(paragraph.size()) + 1);
            for (Where where : {Where::Before, Where::At, Where::After}) {
                const QByteArray why = mismatch(text, whole, where, offset, type);
                QVERIFY2(why.isEmpty(), why.constData());
            }
        }
    }
}

void AccessibilityTest::endsOfTheText() {
    TextBox* box = newBox(QStringLiteral("Ciao mondo"));
    QVERIFY(box);
    QAccessibleTextInterface* text = textOf(box);
    const Item nothingAfter{QString(), 10, 10};
    const Item nothingBefore{QString(), 0, 0};
    for (auto type :
         {QAccessible::CharBoundary, QAccessible::WordBoundary, QAccessible::SentenceBoundary,
          QAccessible::LineBoundary, QAccessible::ParagraphBoundary}) {
        QCOMPARE(itemOf(text, Where::After, 10, type), nothingAfter);
        QCOMPARE(itemOf(text, Where::After, -1, type), nothingAfter); // -1 is the end
        QCOMPARE(itemOf(text, Where::Before, 0, type), nothingBefore);
        QCOMPARE(itemOf(text, Where::At, 11, type), (Item{QString(), -1, -1}));
    }
    QCOMPARE(itemOf(text, Where::At, 10, QAccessible::CharBoundary), nothingAfter);
    QCOMPARE(itemOf(text, Where::Before, 10, QAccessible::CharBoundary),
             (Item{QStringLiteral("o"), 9, 10}));
    // The line at the end is the last line, as the caret there is on it.
    QCOMPARE(itemOf(text, Where::At, 10, QAccessible::LineBoundary),
             (Item{QStringLiteral("Ciao mondo"), 0, 10}));
    box->setCursorPosition(6);
    QCOMPARE(itemOf(text, Where::At, -2, QAccessible::WordBoundary), // -2 is the caret
             (Item{QStringLiteral("mondo"), 5, 10}));

    // A "sentence" longer than the box reads at once comes in pieces that
    // still hold the offset asked about and follow one another.
    QString endless;
    while (endless.size() < 300000)
        endless += QStringLiteral("parola ");
    box->setPlainText(endless);
    QString joined;
    for (Item piece = itemOf(text, Where::At, 0, QAccessible::SentenceBoundary);
         !piece.text.isEmpty();
         piece = itemOf(text, Where::After, piece.start, QAccessible::SentenceBoundary)) {
        QCOMPARE(piece.start, joined.size());
        QVERIFY(piece.end - piece.start <= 65536);
        joined += piece.text;
        const int inside = (piece.start + piece.end) / 2;
        QCOMPARE(itemOf(text, Where::At, inside, QAccessible::SentenceBoundary), piece);
        QCOMPARE(itemOf(text, Where::At, piece.end - 1, QAccessible::SentenceBoundary), piece);
    }
    QCOMPARE(joined, endless);
}

void AccessibilityTest::linesAndParagraphsFollowTheLayout() {
    QRandomGenerator random(11);
    QString plain;
    for (int i = 0; i < 40; ++i)
        plain += randomPieces(random, 10);
    TextBox* box = newBox(plain, {120, 200}); // narrow: lines wrap
    QVERIFY(box);
    QAccessibleTextInterface* text = textOf(box);
    plain = box->toPlainText();
    const int count = static_cast<int>(plain.size());

    // The layout's lines, first to last.
    LineLayout& layout = box->lineLayout();
    std::vector<int> starts;
    for (LineLayout::Line line = layout.lineAt(0, 0); line.isValid(); line = layout.next(line))
        starts.push_back(static_cast<int>(line.start));
    QVERIFY(starts.size() > 40);

    // Read line after line from the start, and line before line from the
    // end: the lines are the layout's and make up the text.
    std::vector<int> forward;
    QString joined;
    for (Item line = itemOf(text, Where::At, 0, QAccessible::LineBoundary); !line.text.isEmpty();
         line = itemOf(text, Where::After, line.start, QAccessible::LineBoundary)) {
        QCOMPARE(line.start, joined.size()); // each line starts where the last ended
        forward.push_back(line.start);
        joined += line.text;
        QCOMPARE(line.text, plain.mid(line.start, line.end - line.start));
        QCOMPARE(itemOf(text, Where::At, line.end - 1, QAccessible::LineBoundary), line);
    }
    QCOMPARE(joined, plain);
    std::vector<int> backward;
    for (Item line = itemOf(text, Where::At, count - 1, QAccessible::LineBoundary);
         !line.text.isEmpty();
         line = itemOf(text, Where::Before, line.start, QAccessible::LineBoundary)) {
        QVERIFY(backward.empty() || line.end == backward.front());
        backward.insert(backward.begin(), line.start);
    }
    QCOMPARE(backward, forward);
    // A text ending in a line break has one more, empty, line.
    if (plain.endsWith(u'\n'))
        forward.push_back(count);
    QCOMPARE(forward, starts);

    // Paragraphs end at paragraph separators only, which they take with them.
    const QString held = box->document()->text();
    qsizetype start = 0;
    for (const QStringView piece : QStringView(held).split(QChar::ParagraphSeparator)) {
        const qsizetype end = std::min<qsizetype>(start + piece.size() + 1, count);
        const Item expected{plain.mid(start, end - start), int(start), int(end)};
        for (qsizetype offset = start; offset < end; offset += 3)
            QCOMPARE(itemOf(text, Where::At, int(offset), QAccessible::ParagraphBoundary),
                     expected);
        start = end;
    }
}

void AccessibilityTest::editsGoThroughTheDocument() {
    TextBox* box = newBox(QStringLiteral("Il Morse"));
    QVERIFY(box);
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(box);
    QAccessibleEditableTextInterface* edit = iface->editableTextInterface();
    const struct {
        int operation; // 0 insert, 1 delete, 2 replace
        int start, end;
        const char16_t* text;
        const char16_t* expected;
    } steps[] = {
        {0, 8, 8, u" e il cifrato", u"Il Morse e il cifrato"},
        {1, 0, 3, u"", u"Morse e il cifrato"},
        {2, 6, 7, u"\n", u"Morse \n il cifrato"},
        {0, -1, -1, u"!", u"Morse \n il cifrato!"},
        {2, 7, 8, u"", u"Morse \nil cifrato!"},
    };
    for (const auto& step : steps) {
        const QString with = QString::fromUtf16(step.text);
        if (step.operation == 0)
            edit->insertText(step.start, with);
        else if (step.operation == 1)
            edit->deleteText(step.start, step.end);
        else
            edit->replaceText(step.start, step.end, with);
        QCOMPARE(box->toPlainText(), QString::fromUtf16(step.expected));
    }
    // Line breaks are held as the box's own; each edit undoes on its own.
    QVERIFY(box->document()->text().contains(QChar::ParagraphSeparator));
    box->undo();
    QCOMPARE(box->toPlainText(), QStringLiteral("Morse \n il cifrato!"));

    iface->valueInterface()->setCurrentValue(QStringLiteral("SOS\nSOS"));
    QCOMPARE(box->toPlainText(), QStringLiteral("SOS\nSOS"));
    QCOMPARE(iface->text(QAccessible::Value), QStringLiteral("SOS\nSOS"));
    box->undo();
    QCOMPARE(box->toPlainText(), QStringLiteral("Morse \n il cifrato!"));
}

void AccessibilityTest::readOnlyRefusesEdits() {
    TextBox* box = newBox(QStringLiteral("Traduzione"));
    QVERIFY(box);
    box->setReadOnly(true);
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(box);
    iface->editableTextInterface()->insertText(0, QStringLiteral("x"));
    iface->editableTextInterface()->deleteText(0, 3);
    iface->editableTextInterface()->replaceText(0, 3, QStringLiteral("y"));
    iface->valueInterface()->setCurrentValue(QStringLiteral("z"));
    iface->setText(QAccessible::Value, QStringLiteral("z"));
    QCOMPARE(box->toPlainText(), QStringLiteral("Traduzione"));
    QVERIFY(!box->document()->isUndoAvailable());
    // Reading, moving the caret and selecting still work.
    iface->textInterface()->setSelection(0, 0, 4);
    QCOMPARE(box->selectedText(), QStringLiteral("Trad"));
}

void AccessibilityTest::eventsArrive() {
    TextBox* box = newBox(QString());
    QVERIFY(box);
    std::vector<Recorded> events;
    recording = &events;
#ifdef LUMBO_CAN_ACTIVATE_ACCESSIBILITY
    QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(true);
#else
    QSKIP("Qt's private headers are needed to switch accessibility on");
#endif
    QVERIFY(QAccessible::isActive());
    const QAccessible::UpdateHandler previous = QAccessible::installUpdateHandler(record);
    auto last = [&](QAccessible::Event type) -> const Recorded* {
        for (auto it = events.rbegin(); it != events.rend(); ++it)
            if (it->type == type && it->object == box)
                return &*it;
        return nullptr;
    };

    box->document()->replace(0, 0, QStringLiteral("ciao\u2029mondo"), TextDocument::Kind::Other);
    const Recorded* inserted = last(QAccessible::TextInserted);
    {
        QVERIFY(inserted);
        QCOMPARE(inserted->position, 0);
        QCOMPARE(inserted->text, QStringLiteral("ciao\nmondo"));

        box->document()->replace(1, 2, QString(), TextDocument::Kind::Other);
        const Recorded* removed = last(QAccessible::TextRemoved);
        QVERIFY(removed);
        QCOMPARE(removed->position, 1);
        QCOMPARE(removed->text, QStringLiteral("ia"));

        events.clear();
        box->setCursorPosition(2);
        QVERIFY(last(QAccessible::TextCaretMoved));
        QCOMPARE(last(QAccessible::TextCaretMoved)->position, 2);

        textOf(box)->setSelection(0, 4, 1);
        const Recorded* selected = last(QAccessible::TextSelectionChanged);
        QVERIFY(selected);
        QCOMPARE(std::pair(selected->selectionStart, selected->selectionEnd), std::pair(1, 4));
        QCOMPARE(last(QAccessible::TextCaretMoved)->position, 1);
    }
    QAccessible::installUpdateHandler(previous);
    recording = nullptr;
}

void AccessibilityTest::charactersAndPointsAgree() {
    TextBox* box = newBox(QStringLiteral("Il Morse e il cifrato\nseconda riga W"));
    QVERIFY(box);
    QAccessibleTextInterface* text = textOf(box);
    const QRect onScreen(box->viewport()->mapToGlobal(QPoint(0, 0)), box->viewport()->size());
    const QString plain = box->toPlainText();
    for (int offset = 0; offset < plain.size(); ++offset) {
        if (plain[offset] == u'\n')
            continue;
        const QRect rect = text->characterRect(offset);
        QVERIFY2(onScreen.contains(rect), qPrintable(QString::number(offset)));
        if (plain[offset] != u' ')
            QVERIFY(rect.width() > 1);
        QCOMPARE(text->offsetAtPoint(rect.center()), offset);
    }
    QVERIFY(text->characterRect(0).left() < text->characterRect(1).left());
    QVERIFY(text->characterRect(0).top() <
            text->characterRect(int(plain.indexOf(QLatin1String("seconda")))).top());
    QCOMPARE(text->characterRect(int(plain.size())), QRect());
}

void AccessibilityTest::scrollsToASubstring() {
    QString plain;
    for (int i = 0; i < 500; ++i)
        plain += QStringLiteral("riga %1\n").arg(i);
    TextBox* box = newBox(plain, {200, 100});
    QVERIFY(box);
    QAccessibleTextInterface* text = textOf(box);
    for (const char* target : {"riga 400", "riga 3", "riga 499", "riga 250"}) {
        const qsizetype at = plain.indexOf(QLatin1String(target));
        text->scrollToSubstring(int(at), int(at) + 8);
        const QRect caret = box->cursorRect(at);
        QVERIFY2(caret.top() >= 0 && caret.bottom() < box->viewport()->height(), target);
    }
}

void AccessibilityTest::attributesNameTheFont() {
    TextBox* box = newBox(QStringLiteral("SOS"));
    QVERIFY(box);
    QFont font(QStringLiteral("DejaVu Sans"), 18);
    font.setBold(true);
    box->setFont(font);
    int start = -1, end = -1;
    const QString attributes = textOf(box)->attributes(1, &start, &end);
    QCOMPARE(std::pair(start, end), std::pair(0, 3));
    const QString family = box->lineLayout().font().family();
    QVERIFY2(attributes.contains(QStringLiteral("font-family:\"%1\";").arg(family)),
             qPrintable(attributes));
    QVERIFY2(attributes.contains(QLatin1String("font-size:18pt;")), qPrintable(attributes));
    QVERIFY2(attributes.contains(QLatin1String("font-weight:bold;")), qPrintable(attributes));
    textOf(box)->attributes(4, &start, &end);
    QCOMPARE(std::pair(start, end), std::pair(-1, -1));
}

QTEST_MAIN(AccessibilityTest)
#include "tst_accessibility.moc"
