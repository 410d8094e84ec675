// Start-up to the first window shown, then out: built twice, as Lumbo's main
// window (startup_lumbo) and as a bare Qt window with three text boxes
// (startup_bare), so that the two can be timed side by side.
#include <QApplication>
#include <QPlainTextEdit>
#include <QTimer>

#include <sys/resource.h>

#include <cstdio>

#ifdef LUMBO_MAIN_WINDOW
#include "ui/fonts.hpp"
#include "ui/main/morse_form.hpp"
#endif

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
#ifdef LUMBO_MAIN_WINDOW
    QApplication::setQuitOnLastWindowClosed(false);
    fonts::install();
    morse.show();
#else
    QWidget window;
    window.resize(587, 333);
    for (int i = 0; i < 3; ++i)
        (new QPlainTextEdit(&window))->setGeometry(0, i * 100, 587, 100);
    window.show();
#endif
    // Leaves once the first paint is through.
    QTimer::singleShot(0, &app, &QCoreApplication::quit);
    const int result = QApplication::exec();
#ifdef LUMBO_MAIN_WINDOW
    morse.unload();
#endif
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::fprintf(stderr, "peak %.1f MiB\n", usage.ru_maxrss / 1024.0);
    return result;
}
