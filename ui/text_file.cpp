#include "ui/text_file.hpp"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

template <class File> QString writeAndClose(File& file, const QByteArray& bytes) {
    if (file.write(bytes) != bytes.size())
        return file.errorString();
    return QString();
}

} // namespace

QString writeWholeFile(const QString& path, const QByteArray& bytes) {
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
