// The lumbo command, run as a separate process with no display: its output
// against the main window's own translation and saved file, its errors and
// exit statuses, and streaming through inputs larger than its buffers.
#include "engine/morse.hpp"
#include "ui/main/modulo1.hpp"
#include "ui/main/morse_form.hpp"
#include "ui/textbox/text_box.hpp"

#include "tests/ui/window_test_support.hpp"

#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Result {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

Result lumbo(const QStringList& arguments, const QByteArray& input = {}) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(LUMBO_COMMAND), arguments);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

constexpr int kMorse = 1000; // no shift: the Morse column

} // namespace

class CommandLineTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { startLikeTheProgram(); }
    void sameBytesAsTheWindow_data();
    void sameBytesAsTheWindow();
    void oneLineForEachFileOrLine();
    void errors_data();
    void errors();
    void refusedTextLeavesNothing();
    void streamsBeyondItsBuffers();
    void roundTrips_data();
    void roundTrips();
    void helpAndVersion();

private:
    QTemporaryDir dir_;
    MessageLog log_;
};

void CommandLineTest::sameBytesAsTheWindow_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("shift");
    const QString texts[] = {
        "SOS", "", "Buon giorno, Italia.",
        QString::fromUtf8("Ciao!\r\nè l'ora (sì)?\tjkwxy 2000 😀 ❤\nAjA..."),
        QString::fromUtf8("ABCDEFGHILMNOPQRSTUVZ abcdefghilmnopqrstuvz ',.?!()")};
    // Shifts that give control characters (a line feed, a carriage return,
    // NUL), the euro sign, an undefined code (0x81) and the highest codes.
    for (int shift : {kMorse, 1, 3, -56, -52, -65, 64, 100, 191}) {
        for (int i = 0; i < int(std::size(texts)); ++i)
            QTest::addRow("%d/%d", shift, i) << texts[i] << shift;
    }
}

void CommandLineTest::sameBytesAsTheWindow() {
    QFETCH(QString, text);
    QFETCH(int, shift);
    MorseForm& window = morse.get();
    window.txt_latino->setPlainText(text);
    (shift == kMorse ? window.opt_Morse : window.opt_cifrato)->setChecked(true);
    window.txt_piucifr->setText(QString::number(shift));
    QTest::mouseClick(window.btn_traduci, Qt::LeftButton);
    const QByteArray shown = window.txt_cifrato->document()->text().toUtf8() + '\n';
    const QString saved = dir_.filePath("saved.txt");
    QVERIFY(Modulo1::salva_testo(saved));
    QVERIFY(log_.texts.isEmpty());

    const QStringList mode =
        shift == kMorse ? QStringList{"--morse"} : QStringList{"--cifrato", QString::number(shift)};
    const QString input = dir_.filePath("input.txt");
    writeAll(input, text.toUtf8());
    for (bool viaFile : {false, true}) {
        const QStringList files = viaFile ? QStringList{input} : QStringList{};
        const QByteArray stdinText = viaFile ? QByteArray() : text.toUtf8();
        const Result utf8 = lumbo(mode + files, stdinText);
        QCOMPARE(utf8.status, 0);
        QCOMPARE(utf8.out, shown);
        const Result ansi = lumbo(mode + QStringList{"--windows-1252"} + files, stdinText);
        QCOMPARE(ansi.status, 0);
        QCOMPARE(ansi.out, readAll(saved));
    }
    unloadNow({&morse});
}

void CommandLineTest::oneLineForEachFileOrLine() {
    const QString a = dir_.filePath("a"), b = dir_.filePath("b");
    writeAll(a, "a\nb");
    writeAll(b, "");
    QCOMPARE(lumbo({"--morse", a, "-", b}, "e").out, " . _ / _ . . .  //\n .  //\n/\n");
    QCOMPARE(lumbo({"--cifrato", "1", "--righe", a, "-", b}, "\ne\r\n").out, "B\nC\n\nF\n");
    QCOMPARE(lumbo({"--righe", "--morse", "--windows-1252"}, "e\n\n").out, " .  //\r\n/\r\n");
}

void CommandLineTest::errors_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");
    QTest::newRow("unknown option")
        << QStringList{"--morse", "-x"} << QByteArray() << 2 << "opzione sconosciuta «-x»";
    QTest::newRow("no translation")
        << QStringList{"--righe"} << QByteArray() << 2 << "manca la traduzione";
    QTest::newRow("both") << QStringList{"--morse", "--cifrato", "1"} << QByteArray() << 2
                          << "non vanno insieme";
    QTest::newRow("shift missing")
        << QStringList{"--cifrato"} << QByteArray() << 2 << "manca lo spostamento";
    QTest::newRow("shift not integer")
        << QStringList{"--cifrato", "1.5"} << QByteArray() << 2 << "«1.5» non è un numero intero";
    QTest::newRow("shift out of range")
        << QStringList{"--cifrato=192"} << QByteArray() << 2 << "192 è fuori dai limiti";
    QTest::newRow("ambiguous shift") << QStringList{"--decodifica", "--cifrato", "-33"}
                                     << QByteArray() << 2 << "la lettera A diventa uno spazio";
    QTest::newRow("line break shift") << QStringList{"--decodifica", "--cifrato", "-56"}
                                      << QByteArray() << 2 << "la lettera B diventa un a capo";
    QTest::newRow("missing file") << QStringList{"--morse", "/nonexistent/x"} << QByteArray() << 1
                                  << "lumbo: /nonexistent/x: il file non esiste";
    QTest::newRow("invalid UTF-8") << QStringList{"--morse"} << QByteArray("abc\xE0\x80 ") << 1
                                   << "standard input: al byte 4 il testo non è UTF-8 valido";
    QTest::newRow("cut UTF-8") << QStringList{"--cifrato", "2"} << QByteArray("ab\xC3") << 1
                               << "al byte 3 il testo finisce a metà di un carattere UTF-8";
    QTest::newRow("no letter") << QStringList{"--decodifica", "--morse"}
                               << QByteArray(" . _ // . _ _ _ /") << 1
                               << "al byte 9 il codice «.___» non è una lettera";
    QTest::newRow("not Morse") << QStringList{"--decodifica", "--morse"} << QByteArray("abc") << 1
                               << "al byte 1 il carattere «a» non fa parte del Morse";
    QTest::newRow("not from the cipher")
        << QStringList{"--decodifica", "--cifrato", "3"} << QByteArray("FLDR\xC3\xA8") << 1
        << "al byte 5 il carattere «è» non viene da nessuna lettera con lo spostamento 3";
}

void CommandLineTest::errors() {
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, input);
    QFETCH(int, status);
    QFETCH(QString, message);
    const Result result = lumbo(arguments, input);
    QCOMPARE(result.status, status);
    QCOMPARE(result.out, QByteArray());
    QVERIFY2(result.err.startsWith("lumbo: ") && result.err.contains(message.toUtf8()),
             result.err.constData());
    QCOMPARE(result.err.contains("lumbo --help"), status == 2);
}

// A refused file adds nothing; the others are still translated.
void CommandLineTest::refusedTextLeavesNothing() {
    const QString bad = dir_.filePath("bad"), good = dir_.filePath("good");
    writeAll(bad, "ciao ciao \xFF");
    writeAll(good, "ciao");
    const Result result = lumbo({"--cifrato", "1", good, bad, dir_.path(), good});
    QCOMPARE(result.status, 1);
    QCOMPARE(result.out, "DJBP\nDJBP\n");
    QCOMPARE(result.err.count('\n'), 2);
    QVERIFY(result.err.contains("è una cartella"));
}

// Characters split across reads, and a text whose translation outgrows what
// is held back: written as it goes, and cut without its line end if refused.
void CommandLineTest::streamsBeyondItsBuffers() {
    QByteArray text(128 * 1024 - 1, 'e');
    text += "\xC3\xA8s";
    text += QByteArray(1 << 20, 's');
    const QString file = dir_.filePath("long");
    writeAll(file, text);
    const QString decoded = QString::fromUtf8(text);
    const std::string morse = engine::morse({reinterpret_cast<const char16_t*>(decoded.utf16()),
                                             static_cast<std::size_t>(decoded.size())});
    QCOMPARE(lumbo({"--morse", file}).out, QByteArray::fromStdString(morse) + '\n');

    writeAll(file, text + "\xFF");
    const Result cut = lumbo({"--morse", file});
    QCOMPARE(cut.status, 1);
    QVERIFY(!cut.out.isEmpty() && !cut.out.endsWith('\n'));
    QVERIFY(QByteArray::fromStdString(morse).startsWith(cut.out));
    QVERIFY2(cut.err.contains("incompleta"), cut.err.constData());
}

void CommandLineTest::roundTrips_data() {
    QTest::addColumn<QStringList>("mode");
    QTest::newRow("Morse") << QStringList{"--morse"};
    QTest::newRow("Morse, Windows-1252") << QStringList{"--morse", "--windows-1252"};
    QTest::newRow("cipher 3") << QStringList{"--cifrato", "3"};
    QTest::newRow("cipher 100") << QStringList{"--cifrato", "100"};
    QTest::newRow("cipher 70, Windows-1252") << QStringList{"--cifrato", "70", "--windows-1252"};
}

void CommandLineTest::roundTrips() {
    QFETCH(QStringList, mode);
    const QByteArray text = "Buon giorno,  Italia! (Sì?) L'ago... jkwxy\nSOS\n";
    const Result encoded = lumbo(mode + QStringList{"--righe"}, text);
    QCOMPARE(encoded.status, 0);
    const Result decoded = lumbo(mode + QStringList{"--righe", "--decodifica"}, encoded.out);
    QCOMPARE(decoded.status, 0);
    const QByteArray end = mode.contains("--windows-1252") ? "\r\n" : "\n";
    QByteArray expected = "BUON GIORNO,  ITALIA! (S?) L'AGO... " + end + "SOS" + end;
    if (mode.contains("--cifrato")) // the cipher has no rule for ? ! ( )
        expected = "BUON GIORNO,  ITALIA S L'AGO... " + end + "SOS" + end;
    QCOMPARE(decoded.out, expected);
}

void CommandLineTest::helpAndVersion() {
    const Result help = lumbo({"--help"});
    QCOMPARE(help.status, 0);
    QVERIFY(help.out.startsWith("Uso: lumbo"));
    QVERIFY(help.out.count('\n') <= 24);
    QCOMPARE(lumbo({"--morse", "-v"}).out, "Lumbo 1.0\n");
}

QTEST_MAIN(CommandLineTest)
#include "tst_command_line.moc"
