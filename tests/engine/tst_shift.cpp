#include "engine/shift.hpp"

#include <QTest>

Q_DECLARE_METATYPE(engine::ShiftError)

class ShiftTest : public QObject {
    Q_OBJECT

private slots:
    void accepts_data();
    void accepts();
    void refuses_data();
    void refuses();
    void acceptsExactlyTheRange();
};

static std::variant<int, engine::ShiftError> parse(const QString& s) {
    return engine::parse_shift(
        std::u16string_view(reinterpret_cast<const char16_t*>(s.utf16()), s.size()));
}

void ShiftTest::accepts_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("shift");
    QTest::newRow("1") << "1" << 1;
    QTest::newRow("plus") << "+3" << 3;
    QTest::newRow("minus") << "-5" << -5;
    QTest::newRow("minus zero") << "-0" << 0;
    QTest::newRow("leading zeros") << "007" << 7;
    QTest::newRow("blanks around") << " \t 12  " << 12;
    QTest::newRow("no-break space") << QString::fromUtf8("\u00A04") << 4;
    QTest::newRow("lowest") << "-65" << -65;
    QTest::newRow("highest") << "191" << 191;
    QTest::newRow("many zeros") << QString(1000, '0') << 0;
}

void ShiftTest::accepts() {
    QFETCH(QString, text);
    QFETCH(int, shift);
    const auto parsed = parse(text);
    QVERIFY(std::holds_alternative<int>(parsed));
    QCOMPARE(std::get<int>(parsed), shift);
}

void ShiftTest::refuses_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<engine::ShiftError>("error");
    using E = engine::ShiftError;
    QTest::newRow("empty") << "" << E::Empty;
    QTest::newRow("blank") << "   " << E::Empty;
    QTest::newRow("plus alone") << "+" << E::NotInteger;
    QTest::newRow("minus alone") << "-" << E::NotInteger;
    QTest::newRow("two signs") << "+-1" << E::NotInteger;
    QTest::newRow("letters") << "abc" << E::NotInteger;
    QTest::newRow("fraction with dot") << "1.5" << E::NotInteger;
    QTest::newRow("fraction with comma") << "1,5" << E::NotInteger;
    QTest::newRow("exponent") << "1e2" << E::NotInteger;
    QTest::newRow("hexadecimal") << "0x10" << E::NotInteger;
    QTest::newRow("inner blank") << "1 2" << E::NotInteger;
    QTest::newRow("Arabic-Indic digits") << QString::fromUtf8("١٢") << E::NotInteger;
    QTest::newRow("fullwidth digit") << QString::fromUtf8("１") << E::NotInteger;
    QTest::newRow("NUL after digit") << QString("1") + QChar(0) << E::NotInteger;
    QTest::newRow("just below") << "-66" << E::OutOfRange;
    QTest::newRow("just above") << "192" << E::OutOfRange;
    QTest::newRow("int16 max") << "32767" << E::OutOfRange;
    QTest::newRow("past 64 bits") << "99999999999999999999" << E::OutOfRange;
    QTest::newRow("negative past 64 bits") << "-99999999999999999999" << E::OutOfRange;
    QTest::newRow("1000 digits") << QString(1000, '9') << E::OutOfRange;
}

void ShiftTest::refuses() {
    QFETCH(QString, text);
    QFETCH(engine::ShiftError, error);
    const auto parsed = parse(text);
    QVERIFY(std::holds_alternative<engine::ShiftError>(parsed));
    QCOMPARE(std::get<engine::ShiftError>(parsed), error);
}

void ShiftTest::acceptsExactlyTheRange() {
    for (int n = -1000; n <= 1000; ++n) {
        const auto parsed = parse(QString::number(n));
        const bool inRange = n >= -65 && n <= 191;
        QCOMPARE(std::holds_alternative<int>(parsed), inRange);
        if (inRange)
            QCOMPARE(std::get<int>(parsed), n);
    }
}

QTEST_APPLESS_MAIN(ShiftTest)
#include "tst_shift.moc"
