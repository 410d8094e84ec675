#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>

// Every message the program shows to the user passes through here, so that
// tests can read what would have been shown and answer it without a modal
// dialog ever waiting for a click.
namespace messages {

struct Message {
    QMessageBox::Icon icon;
    QString text;
};

// Shows a warning with an OK button.
void warning(QWidget* parent, const QString& text);

// Asks a Yes/No question; returns true for Yes.
bool askYesNo(QWidget* parent, const QString& text);

// Asks for the name of a new file with the standard file chooser; returns an
// empty string when the user cancels.
QString askSaveFileName(QWidget* parent, const QString& caption, const QString& filter);

// Replaces the message boxes: the handler receives each message and returns
// the answer (true for Yes). Passing an empty function restores the boxes.
using Handler = std::function<bool(const Message&)>;
void setHandler(Handler handler);

// Replaces the file chooser: the handler receives the caption and returns the
// chosen name. Passing an empty function restores the chooser.
using FileChooser = std::function<QString(const QString& caption)>;
void setFileChooser(FileChooser chooser);

} // namespace messages
