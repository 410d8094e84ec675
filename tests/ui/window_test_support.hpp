#pragma once

// What the window tests share: the program's start-up settings, a log that
// stands in for the message boxes, and unloading windows at once.
#include "ui/fonts.hpp"
#include "ui/forms.hpp"
#include "ui/messages.hpp"

#include <QApplication>
#include <QFile>
#include <QStringList>
#include <QTest>

#include <initializer_list>

// A file's whole content, or "<missing>" when it cannot be read.
inline QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

inline void writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// The settings the program starts with: ends when no window is loaded, and
// its own fonts.
inline void startLikeTheProgram() {
    QApplication::setQuitOnLastWindowClosed(false);
    fonts::install();
}

// Records every message the program shows and answers each question with
// `answer`, so that no modal box ever waits in a test.
class MessageLog {
public:
    MessageLog() {
        messages::setHandler([this](const messages::Message& m) {
            texts << m.text;
            if (m.icon == QMessageBox::Question && !nextAnswers.isEmpty())
                return nextAnswers.takeFirst();
            return answer;
        });
    }
    ~MessageLog() { messages::setHandler({}); }
    MessageLog(const MessageLog&) = delete;
    MessageLog& operator=(const MessageLog&) = delete;

    QStringList texts;
    bool answer = true;
    QList<bool> nextAnswers; // answers to the next questions, in order, before `answer`
};

// Unloads the windows and lets Qt delete them now rather than after the next event.
inline void unloadNow(std::initializer_list<forms::InstanceBase*> windows) {
    for (forms::InstanceBase* window : windows)
        window->unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
