#include "engine/cipher.hpp"

#include <QTest>

#include <stdexcept>
#include <string>

class CipherTest : public QObject {
    Q_OBJECT

private slots:
    void encodes_data();
    void encodes();
    void shiftedCodeOfEveryLetter_data();
    void shiftedCodeOfEveryLetter();
    void refusesShiftsOutsideTheRange_data();
    void refusesShiftsOutsideTheRange();
    void longInputTranslatesWhole();
};

static std::u16string u16(const QString& s) {
    return std::u16string(reinterpret_cast<const char16_t*>(s.utf16()), s.size());
}

static QByteArray run(const QString& input, int shift) {
    return QByteArray::fromStdString(engine::cifrato(u16(input), shift));
}

void CipherTest::encodes_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<int>("shift");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("CIAO 1") << "CIAO" << 1 << QByteArray("DJBP");
    QTest::newRow("ciao 1") << "ciao" << 1 << QByteArray("DJBP");
    QTest::newRow("zaino 1") << "zaino" << 1 << QByteArray("ABJOP");
    QTest::newRow("V 4") << "V" << 4 << QByteArray("Z");
    QTest::newRow("Z 4") << "Z" << 4 << QByteArray("D");
    QTest::newRow("A 25") << "A" << 25 << QByteArray("Z");
    QTest::newRow("A 26") << "A" << 26 << QByteArray("A");
    QTest::newRow("abc 0") << "abc" << 0 << QByteArray("ABC");
    QTest::newRow("Z 0 stays") << "Z" << 0 << QByteArray("Z");
    QTest::newRow("Z 1 wraps") << "Z" << 1 << QByteArray("A");
    QTest::newRow("V 1") << "V" << 1 << QByteArray("W");
    QTest::newRow("sentence") << "Buon giorno, Italia." << 3
                              << QByteArray("EXRQ   JLRUQR,    LWDOLD. ");
    QTest::newRow("space is three spaces") << "A B" << 1 << QByteArray("B   C");
    QTest::newRow("punctuation is followed by a space") << "',." << 5 << QByteArray("' , . ");
    QTest::newRow("no rule") << "jkwxy?!()0\r\n\t" << 1 << QByteArray();
    QTest::newRow("AjA") << "AjA" << 1 << QByteArray("BB");
    QTest::newRow("empty") << "" << 7 << QByteArray();
    // Beyond 26 the single wrap leaves the alphabet: Z + 27 - 26 = "[".
    QTest::newRow("one wrap only") << "Z" << 27 << QByteArray("[");
    // Negative shifts do not wrap.
    QTest::newRow("negative") << "A" << -1 << QByteArray("@");
    QTest::newRow("lowest shift") << "A" << -65 << QByteArray(1, '\0');
    QTest::newRow("highest shift") << "Z" << 191 << QByteArray("\xFF");
    QTest::newRow("euro sign code") << "Z" << 64 << QByteArray("\x80");
    QTest::newRow("character whose low byte is 'a'") << QString(QChar(0x161)) << 1 << QByteArray();
}

void CipherTest::encodes() {
    QFETCH(QString, input);
    QFETCH(int, shift);
    QFETCH(QByteArray, expected);
    QCOMPARE(run(input, shift), expected);
}

// For every accepted shift and every letter: one wrap on the high side only,
// and the code always within 0 to 255.
void CipherTest::shiftedCodeOfEveryLetter_data() {
    QTest::addColumn<int>("shift");
    for (int shift = engine::kMinShift; shift <= engine::kMaxShift; ++shift)
        QTest::newRow(QByteArray::number(shift).constData()) << shift;
}

void CipherTest::shiftedCodeOfEveryLetter() {
    QFETCH(int, shift);
    const QString letters = "ABCDEFGHILMNOPQRSTUVZ";
    const QByteArray upper = run(letters, shift);
    QCOMPARE(run(letters.toLower(), shift), upper);
    QCOMPARE(upper.size(), letters.size());
    for (int i = 0; i < letters.size(); ++i) {
        int code = letters[i].unicode() + shift;
        if (code > 'Z')
            code -= 26;
        QCOMPARE(static_cast<unsigned char>(upper[i]), code);
    }
}

void CipherTest::refusesShiftsOutsideTheRange_data() {
    QTest::addColumn<int>("shift");
    QTest::newRow("just below") << engine::kMinShift - 1;
    QTest::newRow("just above") << engine::kMaxShift + 1;
    QTest::newRow("int16 min") << -32768;
    QTest::newRow("int16 max") << 32767;
}

void CipherTest::refusesShiftsOutsideTheRange() {
    QFETCH(int, shift);
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, engine::cifrato(u"A", shift));
}

void CipherTest::longInputTranslatesWhole() {
    std::u16string text;
    for (int i = 0; i < 25000; ++i)
        text += u"ciao"; // 100,000 characters
    const std::string out = engine::cifrato(text, 1);
    QCOMPARE(out.size(), text.size());
    QCOMPARE(out.substr(out.size() - 8), std::string("DJBPDJBP"));
}

QTEST_APPLESS_MAIN(CipherTest)
#include "tst_cipher.moc"
