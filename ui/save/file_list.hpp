#pragma once

#include <QListWidget>

// A classic file list: the files of one folder that match a pattern (matched
// without regard to case), sorted. It is read when it moves to a folder, not
// when it is shown.
class FileList : public QListWidget {
    Q_OBJECT

public:
    explicit FileList(QWidget* parent = nullptr);

    QString path() const { return path_; }
    QString pattern() const { return pattern_; }
    void setPattern(const QString& pattern);

    // The selected entry's name, without its folder; empty when none is selected.
    QString fileName() const;

    // Given a folder, moves the list there and reads it again.
    void setFileName(const QString& folder);

signals:
    // The user selected an entry.
    void picked();

private:
    void fill();

    QString path_;
    QString pattern_ = QStringLiteral("*.*");
};
