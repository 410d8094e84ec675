#include "ui/fonts.hpp"
#include "ui/main/modulo1.hpp"
#include "ui/main/morse_form.hpp"
#include "ui/messages.hpp"
#include "ui/save/drive_list.hpp"
#include "ui/save/file_list.hpp"
#include "ui/save/folder_list.hpp"
#include "ui/save/salva_form.hpp"
#include "ui/textbox/text_box.hpp"
#include "ui/twips.hpp"

#include "tests/ui/window_test_support.hpp"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray checksum(const QString& path) {
    return QCryptographicHash::hash(readAll(path), QCryptographicHash::Sha256).toHex();
}

bool run(const QString& program, const QStringList& arguments) {
    return QProcess::execute(program, arguments) == 0;
}

} // namespace

class SaveTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    // The file writer.
    void writesExactBytes_data();
    void writesExactBytes();
    void whatIsShownIsWhatIsSaved_data();
    void whatIsShownIsWhatIsSaved();
    void unrepresentableCharactersOnlyWithConsent();
    void ignorableCharactersAreNotDroppedSilently_data();
    void ignorableCharactersAreNotDroppedSilently();
    void savingTwiceKeepsOnlyTheSecondText();
    void replacingKeepsALinkAndItsPermissions();
    void failuresReportAndLoseNothing_data();
    void failuresReportAndLoseNothing();
    void fullFileSystemLosesNothing();
    void fullDeviceIsReportedAndNeverReplaced();

    // The dialog.
    void dialogLayout();
    void startsAtTheCurrentFolderWithMorse();
    void openingAFolderMovesTheCurrentFolderAtOnce();
    void fileListShowsOnlyTextFilesSorted();
    void pickingAFileFillsTheNameBox();
    void salvaWritesIntoTheFolderShownAndHides();
    void pickedNameReplacesTheListedFile();
    void typedNamesAlwaysGetTxt_data();
    void typedNamesAlwaysGetTxt();
    void failedSaveKeepsTheDialogShown();
    void fileReplacedWhileTheDialogIsOpen();
    void annullaKeepsNameAndFolder();
    void closeBoxGivesMorseAgain();
    void choosingAVolumeMovesAllThreeLists();
    void folderThatCannotBeOpenedChangesNothing();
    void volumeThatCannotBeReadChangesNothing();

private:
    void setOutput(const QString& text) { morse->txt_cifrato->setPlainText(text); }
    QString at(const QString& name) const { return QDir(root_->path()).filePath(name); }

    std::unique_ptr<QTemporaryDir> root_;
    QString startFolder_;
    MessageLog log_;
    QStringList mounts_;
};

void SaveTest::initTestCase() {
    startLikeTheProgram();
    startFolder_ = QDir::currentPath();
}

void SaveTest::init() {
    root_ = std::make_unique<QTemporaryDir>();
    QVERIFY(root_->isValid());
    QDir(root_->path()).mkpath("sub/inner");
    QDir(root_->path()).mkpath("Alpha");
    QDir(root_->path()).mkpath(".hidden");
    QVERIFY(QDir::setCurrent(root_->path()));
    log_.texts.clear();
    log_.answer = true;
    morse.get();
}

void SaveTest::cleanup() {
    unloadNow({&Salva, &morse});
    QDir::setCurrent(startFolder_);
    for (const QString& mount : std::as_const(mounts_))
        run("umount", {"-l", mount});
    mounts_.clear();
    root_.reset();
}

void SaveTest::writesExactBytes_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty box") << "" << QByteArray("\r\n");
    QTest::newRow("SOS in Morse") << "  . . .  / _  _  _  /  . . .  //"
                                  << QByteArray("  . . .  / _  _  _  /  . . .  //\r\n");
    QTest::newRow("line breaks become CR LF") << "ab\ncd" << QByteArray("ab\r\ncd\r\n");
    QTest::newRow("euro sign from a cipher shift")
        << QString::fromUtf8("€ÿ") << QByteArray("\x80\xFF\r\n");
    QTest::newRow("undefined code kept") << QString(QChar(0x81)) << QByteArray("\x81\r\n");
    QTest::newRow("control characters kept")
        << QString(QChar(0x1A)) + QChar(0) << QByteArray("\x1A\0\r\n", 4);
}

void SaveTest::writesExactBytes() {
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    setOutput(text);
    QVERIFY(Modulo1::salva_testo("out.txt"));
    QCOMPARE(readAll(at("out.txt")), bytes);
    QCOMPARE(log_.texts, QStringList());
}

// The translation as the user sees and edits it in the print buffer is the
// file: a line feed the cipher made stays one byte, a line break typed into
// the box becomes CR LF.
void SaveTest::whatIsShownIsWhatIsSaved_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("shift"); // empty for Morse
    QTest::addColumn<QString>("typed"); // into the print buffer, at the end; "\r" for Return
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("line feed from the cipher") << "B"
                                               << "-56"
                                               << "" << QByteArray("\n\r\n");
    QTest::newRow("carriage return from the cipher") << "E"
                                                     << "-56"
                                                     << "" << QByteArray("\r\r\n");
    QTest::newRow("typed after a translation") << "E"
                                               << ""
                                               << "ok" << QByteArray(" .  //ok\r\n");
    QTest::newRow("line break typed after a line feed") << "BB"
                                                        << "-56"
                                                        << "\rA" << QByteArray("\n\n\r\nA\r\n");
}

void SaveTest::whatIsShownIsWhatIsSaved() {
    QFETCH(QString, input);
    QFETCH(QString, shift);
    QFETCH(QString, typed);
    QFETCH(QByteArray, bytes);
    MorseForm& w = morse.get();
    w.txt_latino->setPlainText(input);
    (shift.isEmpty() ? w.opt_Morse : w.opt_cifrato)->setChecked(true);
    w.txt_piucifr->setText(shift);
    w.btn_traduci->click();
    w.RichTextBox1->setFocus();
    QTest::keyClick(w.RichTextBox1, Qt::Key_End, Qt::ControlModifier);
    for (QChar c : typed) {
        if (c == u'\r')
            QTest::keyClick(w.RichTextBox1, Qt::Key_Return);
        else
            QTest::keyClicks(w.RichTextBox1, QString(c));
    }
    QVERIFY(Modulo1::salva_testo("shown.txt"));
    QCOMPARE(readAll(at("shown.txt")), bytes);
    QCOMPARE(log_.texts, QStringList());
}

void SaveTest::unrepresentableCharactersOnlyWithConsent() {
    setOutput(QString::fromUtf8("a€中b😀c") + QChar(0xD800) + "d");
    writeAll(at("old.txt"), "old content");

    log_.answer = false;
    QVERIFY(!Modulo1::salva_testo("old.txt"));
    QCOMPARE(log_.texts.size(), 1);
    QVERIFY2(log_.texts[0].contains(QString::fromUtf8("\"中\" (U+4E2D)")),
             qPrintable(log_.texts[0]));
    QCOMPARE(readAll(at("old.txt")), QByteArray("old content"));

    log_.answer = true;
    QVERIFY(Modulo1::salva_testo("old.txt"));
    QCOMPARE(readAll(at("old.txt")), QByteArray("a\x80?b?c?d\r\n"));
}

// Found by fuzzing: Qt's Windows-1252 encoder drops some characters without
// a word (variation selectors, zero-width spaces) instead of refusing them.
void SaveTest::ignorableCharactersAreNotDroppedSilently_data() {
    QTest::addColumn<QChar>("character");
    QTest::newRow("Mongolian variation selector") << QChar(0x180C);
    QTest::newRow("zero-width space") << QChar(0x200B);
    QTest::newRow("variation selector 16") << QChar(0xFE0F);
    QTest::newRow("unpaired surrogate at the end") << QChar(0xD800);
}

void SaveTest::ignorableCharactersAreNotDroppedSilently() {
    QFETCH(QChar, character);
    setOutput(QString("a") + character);
    log_.answer = true;
    QVERIFY(Modulo1::salva_testo("out.txt"));
    QCOMPARE(log_.texts.size(), 1);
    QCOMPARE(readAll(at("out.txt")), QByteArray("a?\r\n"));
}

void SaveTest::savingTwiceKeepsOnlyTheSecondText() {
    setOutput("a much longer first text");
    QVERIFY(Modulo1::salva_testo("twice.txt"));
    setOutput("short");
    QVERIFY(Modulo1::salva_testo("twice.txt"));
    QCOMPARE(readAll(at("twice.txt")), QByteArray("short\r\n"));
}

void SaveTest::replacingKeepsALinkAndItsPermissions() {
    writeAll(at("target.txt"), "old");
    QFile::setPermissions(at("target.txt"), QFile::ReadOwner | QFile::WriteOwner);
    QVERIFY(QFile::link(at("target.txt"), at("link.txt")));
    setOutput("new");
    QVERIFY(Modulo1::salva_testo("link.txt"));
    QVERIFY(QFileInfo(at("link.txt")).isSymLink());
    QCOMPARE(readAll(at("target.txt")), QByteArray("new\r\n"));
    QCOMPARE(QFile::permissions(at("target.txt")),
             QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
}

// Failures that stop root too, since CI runs as root.
void SaveTest::failuresReportAndLoseNothing_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");
    QTest::newRow("folder part that is a file") << "plain.txt/inside.txt"
                                                << "una parte del percorso non è una cartella";
    QTest::newRow("name that is a folder") << "sub"
                                           << "è una cartella";
    QTest::newRow("name over the file system's limit") << QString(300, 'n') + ".txt"
                                                       << "il nome è troppo lungo";
    QTest::newRow("missing folder") << "missing/out.txt"
                                    << "la cartella o il file non esiste";
}

void SaveTest::failuresReportAndLoseNothing() {
    QFETCH(QString, name);
    QFETCH(QString, reason);
    writeAll(at("plain.txt"), "precious");
    const QByteArray before = checksum(at("plain.txt"));
    setOutput("new text");
    QVERIFY(!Modulo1::salva_testo(name));
    QCOMPARE(log_.texts.size(), 1);
    QVERIFY2(log_.texts[0].startsWith("Impossibile salvare il file \"" +
                                      QDir(root_->path()).absolutePath()),
             qPrintable(log_.texts[0]));
    QVERIFY2(log_.texts[0].contains(reason), qPrintable(log_.texts[0]));
    QCOMPARE(checksum(at("plain.txt")), before);
    QVERIFY(QFileInfo(at("sub")).isDir());
}

void SaveTest::fullFileSystemLosesNothing() {
    if (geteuid() != 0)
        QSKIP("mounting a small file system needs root");
    const QString small = at("small");
    QDir().mkpath(small);
    QVERIFY(run("mount", {"-t", "tmpfs", "-o", "size=64k", "tmpfs", small}));
    mounts_ << small;
    const QString existing = small + "/old.txt";
    writeAll(existing, QByteArray(8000, 'o'));
    const QByteArray before = checksum(existing);
    // Fill what is left.
    QFile filler(small + "/filler");
    QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    const QByteArray block(4096, 'f');
    while (filler.write(block) == block.size()) {
    }
    filler.close();

    setOutput(QString(20000, 'x'));
    QVERIFY(!Modulo1::salva_testo(existing));
    QCOMPARE(log_.texts.size(), 1);
    QVERIFY2(log_.texts[0].contains(existing), qPrintable(log_.texts[0]));
    QVERIFY(log_.texts[0].contains("spazio esaurito"));
    QCOMPARE(checksum(existing), before);
    QCOMPARE(QDir(small).entryList(QDir::Files | QDir::Hidden), QStringList({"filler", "old.txt"}));
}

void SaveTest::fullDeviceIsReportedAndNeverReplaced() {
    if (geteuid() != 0)
        QSKIP("making a device node needs root");
    const QString node = at("full");
    QVERIFY(run("mknod", {node, "c", "1", "7"}));
    QVERIFY(QFile::link(node, at("device.txt")));
    setOutput("anything");
    QVERIFY(!Modulo1::salva_testo("device.txt"));
    QCOMPARE(log_.texts.size(), 1);
    struct stat status {};
    QCOMPARE(stat(QFile::encodeName(node).constData(), &status), 0);
    QVERIFY(S_ISCHR(status.st_mode));
    QVERIFY(QFileInfo(at("device.txt")).isSymLink());
}

void SaveTest::dialogLayout() {
    Salva.show();
    SalvaForm& w = Salva.get();
    QCOMPARE(w.windowTitle(), QStringLiteral("Salva"));
    QCOMPARE(w.geometry(), QRect(QPoint(12, 125), twips::size(6675, 2580)));
    const struct {
        QWidget* control;
        const char* name;
        QRect rect;
    } rows[] = {
        {w.Drive1, "Drive1", twips::rect(0, 0, 3015, 315)},
        {w.Annulla, "Annulla", twips::rect(5760, 2160, 855, 375)},
        {w.txt_salva, "txt_salva", twips::rect(3120, 2160, 1575, 285)},
        {w.Salva, "Salva", twips::rect(4800, 2160, 855, 375)},
        {w.File1, "File1", twips::rect(3120, 0, 3495, 2040)},
        {w.Dir1, "Dir1", twips::rect(0, 360, 3015, 2115)},
    };
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QCOMPARE(QApplication::focusWidget(), w.Drive1);
    for (const auto& row : rows) {
        QCOMPARE(row.control->objectName(), QString::fromLatin1(row.name));
        QCOMPARE(row.control->geometry(), row.rect);
        QCOMPARE(QApplication::focusWidget(), row.control); // the tab order
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(w.File1->pattern(), QStringLiteral("*.txt"));
    QVERIFY(!w.Salva->isDefault() && !w.Annulla->isDefault());
}

void SaveTest::startsAtTheCurrentFolderWithMorse() {
    Salva.show();
    QCOMPARE(Salva->txt_salva->text(), QStringLiteral("Morse"));
    QCOMPARE(Salva->Dir1->path(), QDir(root_->path()).canonicalPath());
    QCOMPARE(Salva->File1->path(), QDir(root_->path()).canonicalPath());
    QCOMPARE(Salva->Drive1->drive(), volumeOf(root_->path()));
}

void SaveTest::openingAFolderMovesTheCurrentFolderAtOnce() {
    Salva.show();
    FolderList* dirs = Salva->Dir1;
    QStringList shown;
    for (int i = 0; i < dirs->count(); ++i)
        shown << dirs->item(i)->text().trimmed();
    QCOMPARE(shown.mid(shown.size() - 2), QStringList({"Alpha", "sub"})); // no hidden folder
    QCOMPARE(shown.first(), QStringLiteral("/"));

    const int sub = dirs->count() - 1;
    dirs->setCurrentRow(sub);
    QCOMPARE(QDir::currentPath(), QDir(root_->path()).canonicalPath()); // a click only selects
    QTest::keyClick(dirs, Qt::Key_Return);
    const QString subPath = QDir(root_->path()).canonicalPath() + "/sub";
    QCOMPARE(dirs->path(), subPath);
    QCOMPARE(Salva->File1->path(), subPath);
    QCOMPARE(QDir::currentPath(), subPath);

    // Back up to the parent through the ancestors.
    const int parentRow = dirs->count() - 3; // ancestors ..., root_, sub, then "inner"
    QCOMPARE(dirs->folderAt(parentRow), QDir(root_->path()).canonicalPath());
    emit dirs->itemDoubleClicked(dirs->item(parentRow));
    QCOMPARE(QDir::currentPath(), QDir(root_->path()).canonicalPath());
}

void SaveTest::fileListShowsOnlyTextFilesSorted() {
    for (const char* name : {"b.txt", "NOTE.TXT", "a.txt", "c.doc", "txt", ".hidden.txt"})
        writeAll(at(name), "x");
    Salva.show();
    FileList* files = Salva->File1;
    QStringList listed;
    for (int i = 0; i < files->count(); ++i)
        listed << files->item(i)->text();
    QCOMPARE(listed, QStringList({"a.txt", "b.txt", "NOTE.TXT"}));
}

void SaveTest::pickingAFileFillsTheNameBox() {
    writeAll(at("Note.txt"), "x");
    Salva.show();
    FileList* files = Salva->File1;
    const QRect entry = files->visualItemRect(files->item(0));
    QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, entry.center());
    QCOMPARE(Salva->txt_salva->text(), QStringLiteral("Note.txt"));
    QCOMPARE(QDir::currentPath(), QDir(root_->path()).canonicalPath());
}

void SaveTest::salvaWritesIntoTheFolderShownAndHides() {
    setOutput("saved");
    Salva.show();
    QTest::keyClick(Salva->Dir1, Qt::Key_End);
    QTest::keyClick(Salva->Dir1, Qt::Key_Return); // opens "sub"
    QTest::mouseClick(Salva->Salva, Qt::LeftButton);
    QCOMPARE(readAll(at("sub/Morse.txt")), QByteArray("saved\r\n"));
    QVERIFY(!Salva->isVisible());
    QVERIFY(Salva.isLoaded());
    QCOMPARE(log_.texts, QStringList());
}

void SaveTest::pickedNameReplacesTheListedFile() {
    writeAll(at("Morse.txt"), "old");
    setOutput("new");
    Salva.show();
    Salva->File1->setCurrentRow(0);
    QCOMPARE(Salva->txt_salva->text(), QStringLiteral("Morse.txt"));
    QTest::mouseClick(Salva->Salva, Qt::LeftButton);
    QCOMPARE(readAll(at("Morse.txt")), QByteArray("new\r\n"));
    QVERIFY(!QFile::exists(at("Morse.txt.txt")));
}

void SaveTest::typedNamesAlwaysGetTxt_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");
    QTest::newRow("plain") << "lettera"
                           << "lettera.txt";
    QTest::newRow("empty") << ""
                           << ".txt";
    QTest::newRow("already .txt") << "Morse.txt"
                                  << "Morse.txt.txt";
    QTest::newRow("leading dash") << "-x"
                                  << "-x.txt";
    QTest::newRow("newline") << "a\nb"
                             << "a\nb.txt";
    QTest::newRow("relative folder") << "sub/inner/deep"
                                     << "sub/inner/deep.txt";
}

void SaveTest::typedNamesAlwaysGetTxt() {
    QFETCH(QString, typed);
    QFETCH(QString, written);
    setOutput("t");
    Salva.show();
    Salva->txt_salva->setText(typed);
    QTest::mouseClick(Salva->Salva, Qt::LeftButton);
    QCOMPARE(log_.texts, QStringList());
    QCOMPARE(readAll(at(written)), QByteArray("t\r\n"));
}

void SaveTest::failedSaveKeepsTheDialogShown() {
    setOutput("t");
    Salva.show();
    Salva->txt_salva->setText("nowhere/name");
    QTest::mouseClick(Salva->Salva, Qt::LeftButton);
    QCOMPARE(log_.texts.size(), 1);
    QVERIFY(Salva->isVisible());
    QCOMPARE(Salva->txt_salva->text(), QStringLiteral("nowhere/name"));
}

void SaveTest::fileReplacedWhileTheDialogIsOpen() {
    writeAll(at("nota.txt"), "first");
    setOutput("new");
    Salva.show();
    Salva->File1->setCurrentRow(0);
    QCOMPARE(Salva->txt_salva->text(), QStringLiteral("nota.txt"));

    // Another program replaces the listed file behind the dialog's back.
    QVERIFY(QFile::remove(at("nota.txt")));
    writeAll(at("nota.txt"), "someone else's");
    QTest::mouseClick(Salva->Salva, Qt::LeftButton);
    QCOMPARE(readAll(at("nota.txt")), QByteArray("new\r\n"));
    QVERIFY(!Salva->isVisible());

    // And then by a folder.
    Salva.show();
    QVERIFY(QFile::remove(at("nota.txt")));
    QVERIFY(QDir().mkdir(at("nota.txt")));
    QTest::mouseClick(Salva->Salva, Qt::LeftButton);
    QCOMPARE(log_.texts.size(), 1);
    QVERIFY(Salva->isVisible());
    QVERIFY(QFileInfo(at("nota.txt")).isDir());
}

void SaveTest::annullaKeepsNameAndFolder() {
    Salva.show();
    QTest::keyClick(Salva->Dir1, Qt::Key_End);
    QTest::keyClick(Salva->Dir1, Qt::Key_Return);
    Salva->txt_salva->setText("bozza");
    QTest::mouseClick(Salva->Annulla, Qt::LeftButton);
    QVERIFY(!Salva->isVisible());
    Salva.show();
    QCOMPARE(Salva->txt_salva->text(), QStringLiteral("bozza"));
    QCOMPARE(Salva->Dir1->path(), QDir(root_->path()).canonicalPath() + "/sub");
    QVERIFY(QDir(root_->path()).entryList(QDir::Files).isEmpty());
}

void SaveTest::closeBoxGivesMorseAgain() {
    Salva.show();
    QTest::keyClick(Salva->Dir1, Qt::Key_End);
    QTest::keyClick(Salva->Dir1, Qt::Key_Return);
    Salva->txt_salva->setText("bozza");
    QVERIFY(Salva->close());
    QVERIFY(!Salva.isLoaded());
    Salva.show();
    QCOMPARE(Salva->txt_salva->text(), QStringLiteral("Morse"));
    // The lists start at the folder last chosen, the process's current folder.
    QCOMPARE(Salva->Dir1->path(), QDir(root_->path()).canonicalPath() + "/sub");
}

void SaveTest::choosingAVolumeMovesAllThreeLists() {
    if (geteuid() != 0)
        QSKIP("mounting a second volume needs root");
    const QString volume = QDir(root_->path()).canonicalPath() + "/volume";
    QDir().mkpath(volume);
    QVERIFY(run("mount", {"-t", "tmpfs", "-o", "size=64k", "tmpfs", volume}));
    mounts_ << volume;
    QDir(volume).mkpath("inside");
    QVERIFY(QDir::setCurrent(volume + "/inside"));

    Salva.show();
    DriveList* drives = Salva->Drive1;
    QCOMPARE(drives->drive(), volume);
    const int rootIndex = drives->findData(QStringLiteral("/"));
    QVERIFY(rootIndex >= 0);

    drives->setCurrentIndex(rootIndex);
    emit drives->activated(rootIndex);
    const QString onRoot = Salva->Dir1->path();
    QCOMPARE(volumeOf(onRoot), QStringLiteral("/"));
    QCOMPARE(Salva->File1->path(), onRoot);
    QCOMPARE(QDir::currentPath(), onRoot);

    // Back to the volume: the folder last opened there.
    const int volumeIndex = drives->findData(volume);
    drives->setCurrentIndex(volumeIndex);
    emit drives->activated(volumeIndex);
    QCOMPARE(Salva->Dir1->path(), volume + "/inside");
    QCOMPARE(QDir::currentPath(), volume + "/inside");
}

void SaveTest::folderThatCannotBeOpenedChangesNothing() {
    Salva.show();
    FolderList* dirs = Salva->Dir1;
    dirs->setCurrentRow(dirs->count() - 1); // "sub", removed behind the dialog's back
    QVERIFY(QDir(at("sub")).removeRecursively());
    QTest::keyClick(dirs, Qt::Key_Return);
    QCOMPARE(log_.texts.size(), 1);
    QVERIFY(log_.texts[0].contains("sub"));
    QCOMPARE(dirs->path(), QDir(root_->path()).canonicalPath());
    QCOMPARE(QDir::currentPath(), QDir(root_->path()).canonicalPath());
}

void SaveTest::volumeThatCannotBeReadChangesNothing() {
    if (geteuid() != 0)
        QSKIP("mounting a second volume needs root");
    const QString volume = QDir(root_->path()).canonicalPath() + "/volume";
    QDir().mkpath(volume);
    QVERIFY(run("mount", {"-t", "tmpfs", "-o", "size=64k", "tmpfs", volume}));
    QVERIFY(QDir::setCurrent(volume));
    Salva.show(); // the volume is in the drive list
    QTest::keyClick(Salva->Dir1, Qt::Key_Home);
    QTest::keyClick(Salva->Dir1, Qt::Key_Return); // now on "/"
    const QString shown = Salva->Dir1->path();

    // The volume goes away, mount point and all.
    QVERIFY(run("umount", {volume}));
    QVERIFY(QDir().rmdir(volume));
    DriveList* drives = Salva->Drive1;
    const int index = drives->findData(volume);
    QVERIFY(index >= 0);
    drives->setCurrentIndex(index);
    emit drives->activated(index);
    QCOMPARE(log_.texts.size(), 1);
    QVERIFY2(log_.texts[0].contains(volume), qPrintable(log_.texts[0]));
    QCOMPARE(drives->drive(), QStringLiteral("/"));
    QCOMPARE(Salva->Dir1->path(), shown);
    QCOMPARE(QDir::currentPath(), shown);
}

QTEST_MAIN(SaveTest)
#include "tst_save.moc"
