#include "ui/fonts.hpp"
#include "ui/italian.hpp"
#include "ui/main/morse_form.hpp"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("lumbo"));
    QApplication::setApplicationVersion(QStringLiteral("1.0"));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.lumbo"));
    // The program ends when no window is loaded, not when the last visible one closes.
    QApplication::setQuitOnLastWindowClosed(false);
    fonts::install();
    speakItalian();

    morse.show();
    return QApplication::exec();
}
