#include "engine/morse.hpp"

#include <QTest>

#include <string>

using namespace std::string_literals;

class MorseTest : public QObject {
    Q_OBJECT

private slots:
    void encodes_data();
    void encodes();
    void everyCodeOfTheTable_data();
    void everyCodeOfTheTable();
    void lowerAndUpperCaseGiveTheSameCode();
    void charactersWithoutACodeLeaveNoTrace_data();
    void charactersWithoutACodeLeaveNoTrace();
    void longInputTranslatesWhole();
};

void MorseTest::encodes_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty") << ""
                           << "/";
    QTest::newRow("SOS") << "SOS"
                         << "  . . .  / _  _  _  /  . . .  //";
    QTest::newRow("A B") << "A B"
                         << " . _ //  _ . . .  //";
    QTest::newRow("Ciao!") << "Ciao!"
                           << " _ . _ .  / . .  / . _ / _  _  _  //!/";
    QTest::newRow("j2k") << "j2k"
                         << "/";
    QTest::newRow("Aa") << "Aa"
                        << " . _ / . _ //";
    QTest::newRow("jkwxy") << "jkwxy"
                           << "/";
    QTest::newRow("2000") << "2000"
                          << "/";
    QTest::newRow("AjA is AA") << "AjA"
                               << " . _ / . _ //";
    QTest::newRow("T uses underscore") << "T"
                                       << "  _  //";
    QTest::newRow("word boundary") << "e e"
                                   << " .  //  .  //";
    QTest::newRow("line breaks and tabs vanish") << "e\r\n\te"
                                                 << " .  / .  //";
    QTest::newRow("accents vanish") << QString::fromUtf8("è") << "/";
}

void MorseTest::encodes() {
    QFETCH(QString, input);
    QFETCH(QString, expected);
    const std::u16string text(reinterpret_cast<const char16_t*>(input.utf16()), input.size());
    QCOMPARE(QString::fromStdString(engine::morse(text)), expected);
}

// Each row of the code table, with its exact spacing.
void MorseTest::everyCodeOfTheTable_data() {
    QTest::addColumn<QChar>("character");
    QTest::addColumn<QString>("code");
    const struct {
        char c;
        const char* code;
    } rows[] = {
        {'a', " . _ /"},
        {'b', " _ . . .  /"},
        {'c', " _ . _ .  /"},
        {'d', " _ . .  /"},
        {'e', " .  /"},
        {'f', " . . _ .  /"},
        {'g', " _ _ .  /"},
        {'h', " . . . .  /"},
        {'i', " . .  /"},
        {'l', " . _ . .  /"},
        {'m', " _  _  /"},
        {'n', "  _ .  /"},
        {'o', " _  _  _  /"},
        {'p', " . _  _  .  /"},
        {'q', " _  _  .  _  /"},
        {'r', " .  _  .  /"},
        {'s', "  . . .  /"},
        {'t', "  _  /"},
        {'u', " . . _  /"},
        {'v', " . . .  _   /"},
        {'z', "  _  _  . .  /"},
        {'\'', "/' "},
        {',', "/, "},
        {'.', "/. "},
        {'?', "/?"},
        {'!', "/!"},
        {'(', "/("},
        {')', "/)"},
        {' ', "/ "},
    };
    for (const auto& row : rows)
        QTest::newRow(std::string(1, row.c).c_str())
            << QChar(row.c) << QString::fromLatin1(row.code);
}

void MorseTest::everyCodeOfTheTable() {
    QFETCH(QChar, character);
    QFETCH(QString, code);
    const std::u16string text(1, character.unicode());
    QCOMPARE(QString::fromStdString(engine::morse(text)), code + "/");
}

void MorseTest::lowerAndUpperCaseGiveTheSameCode() {
    for (char c = 'a'; c <= 'z'; ++c)
        QCOMPARE(engine::morse(std::u16string(1, c)),
                 engine::morse(std::u16string(1, c - 'a' + 'A')));
}

void MorseTest::charactersWithoutACodeLeaveNoTrace_data() {
    QTest::addColumn<QString>("noise");
    QTest::newRow("J") << "J";
    QTest::newRow("digits") << "0123456789";
    QTest::newRow("NUL") << QString(QChar(0));
    QTest::newRow("lone surrogate") << QString(QChar(0xD800));
    QTest::newRow("emoji") << QString::fromUtf8("😀");
    QTest::newRow("Latin-1 letter") << QString(QChar(0xC0));
    QTest::newRow("character 0x161 whose low byte is 'a'") << QString(QChar(0x161));
}

void MorseTest::charactersWithoutACodeLeaveNoTrace() {
    QFETCH(QString, noise);
    const QString input = "S" + noise + "O";
    const std::u16string text(reinterpret_cast<const char16_t*>(input.utf16()), input.size());
    QCOMPARE(engine::morse(text), engine::morse(u"SO"));
}

void MorseTest::longInputTranslatesWhole() {
    // Far beyond 32,767 characters: the counter is as wide as the text.
    std::u16string text;
    for (int i = 0; i < 20000; ++i)
        text += u"sos "; // 80,000 characters
    text += u"e";
    const std::string out = engine::morse(text);
    const std::string sos = "  . . .  / _  _  _  /  . . .  // ";
    QCOMPARE(out.size(), 20000 * sos.size() + std::string(" .  //").size());
    QCOMPARE(out.substr(0, sos.size()), sos);
    QCOMPARE(out.substr(out.size() - 6), " .  //"s);
}

QTEST_APPLESS_MAIN(MorseTest)
#include "tst_morse.moc"
