#include "ui/main/print_queue.hpp"

#include <QFile>
#include <QLibrary>

#include <cups/cups.h>

namespace {

constexpr const char* kStopped = "5"; // IPP printer-state "stopped"

// The print system's library, loaded when the first print asks: linked at
// start it would bring a score of libraries (TLS, Kerberos, ...) into every
// start-up of the program, as Qt's own print support avoids too.
struct Cups {
    decltype(&cupsGetNamedDest) getNamedDest = nullptr;
    decltype(&cupsGetOption) getOption = nullptr;
    decltype(&cupsFreeDests) freeDests = nullptr;
    decltype(&cupsPrintFile) printFile = nullptr;
    decltype(&cupsLastErrorString) lastErrorString = nullptr;

    Cups() {
        QLibrary library(QStringLiteral("cups"), 2);
        if (!library.load())
            return;
        getNamedDest =
            reinterpret_cast<decltype(getNamedDest)>(library.resolve("cupsGetNamedDest"));
        getOption = reinterpret_cast<decltype(getOption)>(library.resolve("cupsGetOption"));
        freeDests = reinterpret_cast<decltype(freeDests)>(library.resolve("cupsFreeDests"));
        printFile = reinterpret_cast<decltype(printFile)>(library.resolve("cupsPrintFile"));
        lastErrorString =
            reinterpret_cast<decltype(lastErrorString)>(library.resolve("cupsLastErrorString"));
    }

    bool loaded() const {
        return getNamedDest && getOption && freeDests && printFile && lastErrorString;
    }
};

const Cups& cups() {
    static const Cups library;
    return library;
}

} // namespace

PrintQueue printQueue(const QString& printerName) {
    const Cups& cups = ::cups();
    PrintQueue queue;
    if (!cups.loaded())
        return queue;
    const QByteArray name = printerName.toLocal8Bit();
    cups_dest_t* dest = cups.getNamedDest(CUPS_HTTP_DEFAULT, name.constData(), nullptr);
    if (dest == nullptr)
        return queue;
    auto option = [&](const char* key) {
        const char* value = cups.getOption(key, dest->num_options, dest->options);
        return QString::fromLocal8Bit(value ? value : "");
    };
    queue.known = true;
    queue.accepting = option("printer-is-accepting-jobs") != QLatin1String("false");
    queue.stopped = option("printer-state") == QLatin1String(kStopped);
    queue.reason = option("printer-state-message");
    cups.freeDests(1, dest);
    return queue;
}

QString submitPdf(const QString& printerName, const QString& file, const QString& title,
                  const QString& media) {
    const Cups& cups = ::cups();
    if (!cups.loaded())
        return QStringLiteral("il sistema di stampa CUPS non è disponibile");
    const QByteArray name = printerName.toLocal8Bit();
    const QByteArray path = QFile::encodeName(file);
    const QByteArray jobTitle = title.toUtf8();
    const QByteArray mediaValue = media.toUtf8();
    cups_option_t option{const_cast<char*>("media"), const_cast<char*>(mediaValue.constData())};
    const int options = media.isEmpty() ? 0 : 1;
    if (cups.printFile(name.constData(), path.constData(), jobTitle.constData(), options,
                       &option) == 0)
        return QString::fromLocal8Bit(cups.lastErrorString());
    return {};
}
