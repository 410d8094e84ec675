// The text boxes at length, in the real main window (offscreen): the cost of
// each typing, scrolling and selecting event with 10 M characters of Morse in
// the print buffer; the CPU a keystroke costs in the input box holding one
// paragraph of 1 M characters, against a short text; and a 5 MB paste into
// the input box until it is on screen. Each event is followed by a full paint
// of the window and by the background work it starts.
#include "bench/prose.hpp"
#include "ui/fonts.hpp"
#include "ui/main/morse_form.hpp"
#include "ui/textbox/text_box.hpp"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

double cpuMs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// Runs the event loop until the boxes have no background work left.
void settle() {
    while (!morse->RichTextBox1->isWrapped() || !morse->txt_latino->isWrapped())
        QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

struct Figures {
    double median = 0;
    double worst = 0;
};

// Times `event` (with its paint and background work) `times` times.
template <class Event> Figures timeEach(int times, Event event) {
    std::vector<double> took;
    for (int i = 0; i < times; ++i) {
        QElapsedTimer clock;
        clock.start();
        event(i);
        morse->repaint();
        settle();
        took.push_back(clock.nsecsElapsed() / 1e6);
    }
    std::sort(took.begin(), took.end());
    return {took[took.size() / 2], took.back()};
}

// CPU per keystroke typed into `box`, background work included.
double cpuPerKeystroke(TextBox* box, int times) {
    box->setFocus();
    settle();
    const double start = cpuMs();
    for (int i = 0; i < times; ++i) {
        QTest::keyClick(box, Qt::Key_A);
        box->viewport()->repaint();
        settle();
    }
    return (cpuMs() - start) / times;
}

void print(const char* what, const Figures& figures, double goal) {
    std::printf("%-44s median %6.2f ms, worst %6.2f ms (goal <= %.0f ms)\n", what, figures.median,
                figures.worst, goal);
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    fonts::install();
    morse.show();
    QCoreApplication::processEvents();

    // 10 M characters of Morse in the print buffer.
    std::u16string input = italianProse(1450000);
    morse->txt_latino->setPlainText(
        QString::fromUtf16(input.data(), static_cast<qsizetype>(input.size())));
    morse->opt_Morse->setChecked(true);
    morse->btn_traduci_Click();
    settle();
    TextBox* output = morse->RichTextBox1;
    std::printf("print buffer: %lld characters, %lld lines\n",
                static_cast<long long>(output->document()->size()),
                static_cast<long long>(output->lineCount()));
    output->setFocus();
    output->setCursorPosition(output->document()->size() / 2);
    settle();
    print("typing in the middle of 10 M",
          timeEach(100, [&](int) { QTest::keyClick(output, Qt::Key_Period); }), 16);
    print("deleting in the middle of 10 M",
          timeEach(100, [&](int) { QTest::keyClick(output, Qt::Key_Backspace); }), 16);
    print("scrolling 10 M by pages",
          timeEach(100, [&](int) { QTest::keyClick(output, Qt::Key_PageDown); }), 16);
    print("scrolling 10 M with the scroll bar",
          timeEach(100,
                   [&](int i) {
                       QScrollBar* bar = output->verticalScrollBar();
                       bar->setValue(bar->maximum() / 100 * i);
                   }),
          16);
    print("selecting in 10 M (Shift+Down)",
          timeEach(100, [&](int) { QTest::keyClick(output, Qt::Key_Down, Qt::ShiftModifier); }),
          16);
    print("selecting in 10 M (Ctrl+Shift+End, Home)",
          timeEach(20,
                   [&](int i) {
                       QTest::keyClick(output, i % 2 ? Qt::Key_Home : Qt::Key_End,
                                       Qt::ControlModifier | Qt::ShiftModifier);
                   }),
          16);
    print("selecting in 10 M by dragging",
          timeEach(
              100,
              [&](int i) { QTest::mouseMove(output->viewport(), QPoint(20 + 5 * i % 500, 40)); }),
          16);

    // The input box: one paragraph of 1 M characters against a short text.
    TextBox* in = morse->txt_latino;
    in->setPlainText(QStringLiteral("Nel mezzo del cammin"));
    in->setCursorPosition(10);
    const double shortText = cpuPerKeystroke(in, 200);
    std::u16string book = italianProse(1000000);
    std::replace(book.begin(), book.end(), u'\n', u' ');
    in->setPlainText(QString::fromUtf16(book.data(), static_cast<qsizetype>(book.size())));
    in->setCursorPosition(in->document()->size() / 2);
    const double longText = cpuPerKeystroke(in, 200);
    std::printf("%-44s %6.2f ms CPU, short text %5.2f ms: %+.2f ms (goal <= +16 ms)\n",
                "keystroke in a 1 M-character paragraph", longText, shortText,
                longText - shortText);

    // A 5 MB paste into the input box, until it is on screen.
    in->clear();
    settle();
    const std::u16string paste = italianProse(5 * 1000 * 1000);
    QGuiApplication::clipboard()->setText(
        QString::fromUtf16(paste.data(), static_cast<qsizetype>(paste.size())));
    QElapsedTimer clock;
    clock.start();
    QTest::keyClick(in, Qt::Key_V, Qt::ControlModifier);
    morse->repaint();
    std::printf("%-44s %6.2f ms (goal <= 100 ms)\n", "5 MB paste into the input box, on screen",
                clock.nsecsElapsed() / 1e6);
    morse.unload();
    return 0;
}
