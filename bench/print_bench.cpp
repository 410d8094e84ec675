// Printing a long translation from the real main window (offscreen), with no
// printer, into a PDF file: print_bench CHARACTERS. Prints the number of
// pages, the time until the window first handles an event again (pagination
// and the first pages, before the progress window shows), the longest the
// window then goes without handling its events, and the whole print.
#include "bench/prose.hpp"
#include "ui/fonts.hpp"
#include "ui/main/morse_form.hpp"
#include "ui/messages.hpp"
#include "ui/textbox/text_box.hpp"
#include "ui/textbox/text_document.hpp"

#include <QApplication>
#include <QElapsedTimer>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("CUPS_SERVER", "/nonexistent/lumbo-no-printer.sock"); // the PDF, not a printer
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: print_bench CHARACTERS\n");
        return 2;
    }
    const auto size = static_cast<std::size_t>(std::atoll(argv[1]));
    QApplication::setQuitOnLastWindowClosed(false);
    fonts::install();
    QTemporaryDir dir;
    messages::setHandler([](const messages::Message&) { return true; });
    messages::setFileChooser([&](const QString&) { return dir.filePath("stampa.pdf"); });

    morse.show();
    const std::u16string prose = italianProse(size);
    morse->RichTextBox1->document()->setText(
        QString::fromUtf16(prose.data(), static_cast<qsizetype>(prose.size())));
    QCoreApplication::processEvents();

    // A timer that fires whenever the window handles its events.
    QElapsedTimer clock;
    qint64 last = -1;
    qint64 firstEvent = -1;
    qint64 longestGap = 0;
    int pages = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        if (firstEvent < 0)
            firstEvent = now;
        else
            longestGap = std::max(longestGap, now - last);
        last = now;
        if (auto* progress = morse->findChild<QProgressDialog*>())
            pages = progress->maximum();
    });
    tick.start(0);
    clock.start();
    morse->Command1->click();
    const qint64 whole = clock.nsecsElapsed();

    if (firstEvent < 0) {
        std::printf("%9zu characters: no progress window, the window waited %.1f ms\n", size,
                    whole / 1e6);
        return 0;
    }
    std::printf("%9zu characters, %5d pages: first event after %6.1f ms, then longest stall "
                "%5.1f ms; whole print %7.1f ms\n",
                size, pages, firstEvent / 1e6, longestGap / 1e6, whole / 1e6);
    return 0;
}
