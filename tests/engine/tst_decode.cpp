#include "engine/cipher.hpp"
#include "engine/decode.hpp"
#include "engine/utf8.hpp"
#include "engine/windows1252.hpp"
#include "ui/text.hpp"

#include <QRandomGenerator>
#include <QStringDecoder>
#include <QTest>

#include <string>

class DecodeTest : public QObject {
    Q_OBJECT

private slots:
    void utf8AgreesWithQt();
    void windows1252AgreesWithTheWindow();
    void readsMorse_data();
    void readsMorse();
    void refusesExactlyTheAmbiguousShifts();
};

namespace {

// The decoder's verdict on a whole byte string: its characters, or nothing
// when it is not valid UTF-8.
std::optional<std::u32string> decodeUtf8(const QByteArray& bytes) {
    engine::Utf8Decoder decoder;
    std::u32string text;
    for (char byte : bytes) {
        const char32_t c = decoder.feed(static_cast<unsigned char>(byte));
        if (c == engine::Utf8Decoder::kInvalid)
            return std::nullopt;
        if (c != engine::Utf8Decoder::kIncomplete)
            text += c;
    }
    if (decoder.pending())
        return std::nullopt;
    return text;
}

struct MorseResult {
    std::string text;
    engine::MorseDecoder::Status status = engine::MorseDecoder::Status::Ok;
};

MorseResult decodeMorse(std::string_view morse) {
    engine::MorseDecoder decoder;
    MorseResult result;
    for (char c : morse) {
        result.status = decoder.feed(static_cast<unsigned char>(c), result.text);
        if (result.status != engine::MorseDecoder::Status::Ok)
            return result;
    }
    result.status = decoder.finish(result.text);
    return result;
}

} // namespace

// Random byte strings built from pieces of UTF-8 (lead and continuation bytes
// of every kind): the decoder accepts exactly what Qt's decoder accepts, and
// reads the same characters.
void DecodeTest::utf8AgreesWithQt() {
    const unsigned char pieces[] = {'a',  0x7F, 0x80, 0xBF, 0xC0, 0xC1, 0xC2, 0xDF, 0xE0, 0xA0,
                                    0x9F, 0xED, 0xEF, 0xF0, 0x90, 0x8F, 0xF4, 0xF5, 0xFF};
    QRandomGenerator random(13);
    int valid = 0;
    for (int round = 0; round < 200000; ++round) {
        QByteArray bytes;
        for (int n = random.bounded(1, 6); n > 0; --n)
            bytes += static_cast<char>(pieces[random.bounded(int(sizeof pieces))]);
        QStringDecoder qt(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString expected = qt.decode(bytes);
        const auto decoded = decodeUtf8(bytes);
        QCOMPARE(decoded.has_value(), !qt.hasError());
        if (decoded) {
            QCOMPARE(QString::fromStdU32String(*decoded), expected);
            ++valid;
        }
    }
    QVERIFY(valid > 1000);
    std::string out;
    for (char32_t c : {U'a', U'è', U'€', U'😀'})
        engine::append_utf8(out, c);
    QCOMPARE(QString::fromStdString(out), QString::fromUtf8("aè€😀"));
}

void DecodeTest::windows1252AgreesWithTheWindow() {
    for (int code = 0; code < 256; ++code) {
        const char byte = static_cast<char>(code);
        const QString character = text::fromWindows1252({&byte, 1});
        QCOMPARE(character.size(), 1);
        QCOMPARE(engine::from_windows1252(static_cast<unsigned char>(code)),
                 char32_t(character[0].unicode()));
        QCOMPARE(engine::to_windows1252(character[0].unicode()), code);
    }
    QCOMPARE(engine::to_windows1252(U'\u0080'), -1);
    QCOMPARE(engine::to_windows1252(U'😀'), -1);
}

void DecodeTest::readsMorse_data() {
    using Status = engine::MorseDecoder::Status;
    QTest::addColumn<QByteArray>("morse");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("status");
    QTest::newRow("SOS") << QByteArray("  . . .  / _  _  _  /  . . .  //") << QByteArray("SOS")
                         << int(Status::Ok);
    QTest::newRow("punctuation and spaces")
        << QByteArray(" . _ //. / _ . . .  //, //? / . .  //!/(/)/'/") << QByteArray("A. B,? I!()'")
        << int(Status::Ok);
    QTest::newRow("a code never closed")
        << QByteArray("...---...") << QByteArray() << int(Status::UnknownCode);
    QTest::newRow("compact") << QByteArray(".-/-.../\n-.-./") << QByteArray("ABC")
                             << int(Status::Ok);
    QTest::newRow("empty translation") << QByteArray("/") << QByteArray() << int(Status::Ok);
    QTest::newRow("J has no code here")
        << QByteArray(" . _ _ _ /") << QByteArray() << int(Status::UnknownCode);
    QTest::newRow("a letter") << QByteArray(" . _ x") << QByteArray() << int(Status::NotMorse);
    QTest::newRow("/ then a digit") << QByteArray("/1") << QByteArray() << int(Status::NotMorse);
}

void DecodeTest::readsMorse() {
    QFETCH(QByteArray, morse);
    QFETCH(QByteArray, text);
    QFETCH(int, status);
    const MorseResult result = decodeMorse(morse.toStdString());
    QCOMPARE(int(result.status), status);
    if (status == int(engine::MorseDecoder::Status::Ok))
        QCOMPARE(QByteArray::fromStdString(result.text), text);
}

// A shift is refused when, and only when, a letter becomes a character that
// the cipher also writes for something else.
void DecodeTest::refusesExactlyTheAmbiguousShifts() {
    int refused = 0;
    for (int shift = engine::kMinShift; shift <= engine::kMaxShift; ++shift) {
        const std::string images = engine::cifrato(u"ABCDEFGHILMNOPQRSTUVZ", shift);
        const bool ambiguous = images.find_first_of(" ',.\n\r") != std::string::npos;
        QCOMPARE(engine::cipher_ambiguity(shift).has_value(), ambiguous);
        if (ambiguous) {
            ++refused;
            QVERIFY_THROWS_EXCEPTION(std::invalid_argument, engine::CipherDecoder{shift});
        }
    }
    QVERIFY(refused > 0);
    QCOMPARE(engine::cipher_ambiguity(-33)->letter, 'A');
}

QTEST_APPLESS_MAIN(DecodeTest)
#include "tst_decode.moc"
