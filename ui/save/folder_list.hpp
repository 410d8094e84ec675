#pragma once

#include <QListWidget>

// A classic folder list: the current folder's ancestors from the root down,
// the current folder open, then its subfolders, indented as a tree. A single
// click selects; a double click or Enter opens the folder.
class FolderList : public QListWidget {
    Q_OBJECT

public:
    explicit FolderList(QWidget* parent = nullptr);

    QString path() const { return path_; }

    // Moves to `folder`; emits changed() when the path really changes.
    // Returns false, changing nothing, when the folder cannot be opened.
    bool setPath(const QString& folder);

    // The folder that an entry stands for.
    QString folderAt(int row) const;

signals:
    void changed();
    // The user tried to open a folder that cannot be read.
    void cannotOpen(const QString& folder);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void open(int row);
    void fill();

    QString path_;
};
