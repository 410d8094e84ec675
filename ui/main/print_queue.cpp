#include "ui/main/print_queue.hpp"

#include <cups/cups.h>

namespace {

constexpr const char* kStopped = "5"; // IPP printer-state "stopped"

} // namespace

PrintQueue printQueue(const QString& printerName) {
    PrintQueue queue;
    const QByteArray name = printerName.toLocal8Bit();
    cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.constData(), nullptr);
    if (dest == nullptr)
        return queue;
    auto option = [dest](const char* key) {
        const char* value = cupsGetOption(key, dest->num_options, dest->options);
        return QString::fromLocal8Bit(value ? value : "");
    };
    queue.known = true;
    queue.accepting = option("printer-is-accepting-jobs") != QLatin1String("false");
    queue.stopped = option("printer-state") == QLatin1String(kStopped);
    queue.reason = option("printer-state-message");
    cupsFreeDests(1, dest);
    return queue;
}
