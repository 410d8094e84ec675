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

// Replaces the message boxes: the handler receives each message and returns
// the answer (true for Yes). Passing an empty function restores the boxes.
using Handler = std::function<bool(const Message&)>;
void setHandler(Handler handler);

} // namespace messages
