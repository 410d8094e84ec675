#include "ui/text_file.hpp"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// The system's reasons come in English; the common ones are told in Italian,
// any other as the system gave it.
QString inItalian(const QString& reason) {
    static const struct {
        const char* system;
        const char* italian;
    } reasons[] = {
        {"No space left on device", "spazio esaurito sul dispositivo"},
        {"Disk quota exceeded", "spazio concesso sul disco esaurito"},
        {"Permission denied", "permesso negato"},
        {"Operation not permitted", "operazione non permessa"},
        {"No such file or directory", "la cartella o il file non esiste"},
        {"Not a directory", "una parte del percorso non è una cartella"},
        {"Is a directory", "è una cartella"},
        {"File name too long", "il nome è troppo lungo per il file system"},
        {"Read-only file system", "il file system è di sola lettura"},
        {"Input/output error", "errore di lettura o scrittura sul dispositivo"},
        {"Too many levels of symbolic links", "troppi collegamenti simbolici uno dentro l'altro"},
        {"Text file busy", "il file è in uso"},
    };
    for (const auto& known : reasons)
        if (reason.contains(QLatin1String(known.system), Qt::CaseInsensitive))
            return QString::fromUtf8(known.italian);
    return reason;
}

template <class File> QString writeAndClose(File& file, const QByteArray& bytes) {
    if (file.write(bytes) != bytes.size())
        return file.errorString();
    return QString();
}

QString write(const QString& path, const QByteArray& bytes) {
    const QFileInfo info(path); // follows links
    if (info.isDir())
        return QStringLiteral("è una cartella");

    if (info.exists() && !info.isFile()) {
        // A device or a pipe: renaming a new file over it would destroy it.
        QFile device(path);
        if (!device.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return device.errorString();
        QString error = writeAndClose(device, bytes);
        device.close();
        if (error.isEmpty() && device.error() != QFileDevice::NoError)
            error = device.errorString();
        return error;
    }

    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    const QString error = writeAndClose(file, bytes);
    if (!error.isEmpty()) {
        file.cancelWriting();
        return error;
    }
    if (!file.commit())
        return file.errorString();
    return QString();
}

} // namespace

QString writeWholeFile(const QString& path, const QByteArray& bytes) {
    return inItalian(write(path, bytes));
}
