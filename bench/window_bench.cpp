// Translating in the real main window (offscreen): window_bench CHARACTERS MODE
// with MODE "morse" or "cifrato". Prints the time until the result is on
// screen in both boxes, the longest stall of the event loop while the boxes
// are still wrapping, the time until both are wrapped, and the peak memory.
#include "bench/prose.hpp"
#include "ui/fonts.hpp"
#include "ui/main/morse_form.hpp"
#include "ui/textbox/text_box.hpp"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTimer>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>

namespace {

double peakMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: window_bench CHARACTERS morse|cifrato\n");
        return 2;
    }
    const auto size = static_cast<std::size_t>(std::atoll(argv[1]));
    const bool cipher = std::string_view(argv[2]) == "cifrato";
    fonts::install();

    morse.show();
    QCoreApplication::processEvents();
    const std::u16string prose = italianProse(size);

    // The paste: the input box shows the text (ordinary paragraphs).
    QElapsedTimer pasteClock;
    pasteClock.start();
    morse->txt_latino->setPlainText(
        QString::fromUtf16(prose.data(), static_cast<qsizetype>(prose.size())));
    morse->repaint();
    const double pasteShown = pasteClock.nsecsElapsed() / 1e6;
    (cipher ? morse->opt_cifrato : morse->opt_Morse)->setChecked(true);
    morse->txt_piucifr->setText(QStringLiteral("3"));
    QCoreApplication::processEvents();

    // "Traduci", then one full paint of the window: the result is on screen.
    QElapsedTimer clock;
    clock.start();
    morse->btn_traduci_Click();
    morse->repaint();
    const double onScreen = clock.nsecsElapsed() / 1e6;

    // The event loop runs until both boxes are wrapped; a 1 ms timer notes
    // the longest gap between its turns.
    auto wrapped = [] {
        return morse->RichTextBox1->isWrapped(); // the output box under it measures nothing
    };
    double longestStall = 0;
    qint64 last = clock.nsecsElapsed();
    QEventLoop loop; // not the application's: quitting that would close the window
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        longestStall = std::max(longestStall, (now - last) / 1e6);
        last = now;
        if (wrapped())
            loop.quit();
    });
    tick.start(1);
    if (!wrapped())
        loop.exec();
    const double idle = clock.nsecsElapsed() / 1e6;

    std::printf("%-8s %9zu chars -> %9lld: paste shown %7.1f ms | on screen %7.1f ms, longest "
                "stall %6.1f ms, "
                "idle %7.1f ms, peak %6.1f MiB\n",
                cipher ? "cifrato" : "morse", size,
                static_cast<long long>(morse->txt_cifrato->toPlainText().size()), pasteShown,
                onScreen, longestStall, idle, peakMiB());
    morse.unload();
    return 0;
}
