#include "ui/messages.hpp"

#include <QFileDialog>

namespace messages {
namespace {

Handler& handler() {
    static Handler current;
    return current;
}

FileChooser& fileChooser() {
    static FileChooser current;
    return current;
}

const QString kTitle = QStringLiteral("Lumbo 1.0");

} // namespace

void setHandler(Handler replacement) {
    handler() = std::move(replacement);
}

void setFileChooser(FileChooser replacement) {
    fileChooser() = std::move(replacement);
}

QString askSaveFileName(QWidget* parent, const QString& caption, const QString& filter) {
    if (fileChooser())
        return fileChooser()(caption);
    return QFileDialog::getSaveFileName(parent, caption, QString(), filter);
}

void warning(QWidget* parent, const QString& text) {
    if (handler()) {
        handler()({QMessageBox::Warning, text});
        return;
    }
    QMessageBox::warning(parent, kTitle, text);
}

bool askYesNo(QWidget* parent, const QString& text) {
    if (handler())
        return handler()({QMessageBox::Question, text});
    return QMessageBox::question(parent, kTitle, text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

} // namespace messages
