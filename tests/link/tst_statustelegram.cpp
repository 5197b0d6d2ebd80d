#include "hexbytes.h"
#include "link/frame.h"
#include "link/statustelegram.h"

#include <QtTest>

using status::Decoded;

static const char *const Example =
    "E4 17 05 00 01 2C 00 96 04 D2 00 00 03 E8 00 07 04 D2 00 32 09 60 09 5B A6 00 00 00 FD E4 16";

// A status telegram of the given type with a correct check byte.
static QByteArray withCheckByte(QByteArray t)
{
    t[status::CheckOffset] = char(frame::checkByte(t, status::CheckOffset));
    return t;
}

class tst_StatusTelegram : public QObject
{
    Q_OBJECT
private slots:
    void measurement_data();
    void measurement();
    void ratedCurrent_data();
    void ratedCurrent();
    void exampleTelegram();
    void twoChannelVariant();
    void rejected_data();
    void rejected();
    void lamps_data();
    void lamps();
};

void tst_StatusTelegram::measurement_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << hexBytes("00 00") << " Adc" << "0,00 Adc";
    QTest::newRow("0.07") << hexBytes("00 07") << " Adc" << "0,07 Adc";
    QTest::newRow("1.5") << hexBytes("00 96") << " Adc" << "1,50 Adc";
    QTest::newRow("3") << hexBytes("01 2C") << " Adc" << "3,00 Adc";
    QTest::newRow("10") << hexBytes("03 E8") << " Adc" << "10,0 Adc";
    QTest::newRow("10.05 cut") << hexBytes("03 ED") << " Adc" << "10,0 Adc";
    QTest::newRow("12.34 cut") << hexBytes("04 D2") << " Adc" << "12,3 Adc";
    QTest::newRow("99.99 cut not rounded") << hexBytes("27 0F") << " Adc" << "99,9 Adc";
    QTest::newRow("0.5") << hexBytes("00 32") << " Adc" << "0,50 Adc";
    QTest::newRow("9.99") << hexBytes("03 E7") << " Adc" << "9,99 Adc";
    QTest::newRow("24 V") << hexBytes("09 60") << " Vdc" << "24,0 Vdc";
    QTest::newRow("23.95 V cut") << hexBytes("09 5B") << " Vdc" << "23,9 Vdc";
    // From 100 on: one decimal, cut, never a trailing comma.
    QTest::newRow("100.00") << hexBytes("27 10") << " Adc" << "100,0 Adc";
    QTest::newRow("100.59 cut") << hexBytes("27 4B") << " Adc" << "100,5 Adc";
    QTest::newRow("655.35 largest") << hexBytes("FF FF") << " Adc" << "655,3 Adc";
}

void tst_StatusTelegram::measurement()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, unit);
    QFETCH(QString, text);
    QCOMPARE(status::measurement(quint8(bytes[0]), quint8(bytes[1]), unit.toLatin1().constData()), text);
}

void tst_StatusTelegram::ratedCurrent_data()
{
    QTest::addColumn<int>("nibble");
    QTest::addColumn<QString>("text");
    QTest::newRow("0 is Off") << 0 << "Off";
    QTest::newRow("1") << 1 << "1 Adc";
    QTest::newRow("6") << 6 << "6 Adc";
    QTest::newRow("10") << 10 << "10 Adc";
    QTest::newRow("15") << 15 << "15 Adc";
}

void tst_StatusTelegram::ratedCurrent()
{
    QFETCH(int, nibble);
    QFETCH(QString, text);
    QCOMPARE(status::ratedCurrent(quint8(nibble)), text);
}

void tst_StatusTelegram::exampleTelegram()
{
    const Decoded d = status::decode(hexBytes(Example));
    QCOMPARE(d.outcome, Decoded::Valid);
    QCOMPARE(d.variant, ModuleVariant::FourChannel10A);
    const std::array<bool, status::LampCount> lamps{true, false, true, false, false, false, false, false, false, false};
    QCOMPARE(d.lamps, lamps);
    const std::array<QString, status::ValueCount> values{
        "3,00 Adc", "1,50 Adc", "12,3 Adc", "0,00 Adc",
        "10,0 Adc", "0,07 Adc", "12,3 Adc", "0,50 Adc",
        "24,0 Vdc", "23,9 Vdc",
        "6 Adc", "10 Adc", "Off", "Off"};
    for (int i = 0; i < status::ValueCount; ++i)
        QCOMPARE(d.values[i], values[i]);
}

void tst_StatusTelegram::twoChannelVariant()
{
    // Offset 1 is not covered by the check byte, so the example stays valid as 0x11.
    QByteArray t = hexBytes(Example);
    t[1] = char(0x11);
    QCOMPARE(status::decode(t).outcome, Decoded::Valid);
    t[2] = char(0xF5);   // channel 3 and 4 bits are ignored
    const Decoded d = status::decode(withCheckByte(t));
    QCOMPARE(d.outcome, Decoded::Valid);
    QCOMPARE(d.variant, ModuleVariant::TwoChannel6A);
    QVERIFY(d.lamps[status::Ovc1] && d.lamps[status::Ovc2]);
    for (int lamp : {status::Ovc3, status::Trip3, status::Ovc4, status::Trip4})
        QVERIFY(!d.lamps[lamp]);
    for (int v : {status::I3, status::I4, status::I3Max, status::I4Max, status::I3Rated, status::I4Rated})
        QVERIFY(d.values[v].isEmpty());
    QCOMPARE(d.values[status::I1], QStringLiteral("3,00 Adc"));
    QCOMPARE(d.values[status::I2Rated], QStringLiteral("10 Adc"));
}

void tst_StatusTelegram::rejected_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<int>("variant");

    const QByteArray example = hexBytes(Example);
    QByteArray badCheck = example;
    badCheck[28] = char(0xFE);
    QTest::newRow("wrong check byte: variant still taken") << badCheck << int(Decoded::BadCheck) << 0x17;
    QByteArray badCheck19 = badCheck;
    badCheck19[1] = char(0x19);
    QTest::newRow("wrong check byte of a 0x19 module") << badCheck19 << int(Decoded::BadCheck) << 0x19;
    QByteArray foreign = example;
    foreign[1] = char(0x12);
    QTest::newRow("foreign type byte") << foreign << int(Decoded::Ignored) << 0;
    QTest::newRow("28 bytes with end pair") << (example.left(26) + hexBytes("E4 16")) << int(Decoded::Ignored) << 0;
    QTest::newRow("4-byte frame") << hexBytes("E4 11 E4 18") << int(Decoded::Ignored) << 0;
    // 29 and 30 bytes pass the length test; the check byte is read at offset 28 whatever it is.
    QTest::newRow("29 bytes, offset 28 is the check byte") << example.left(29) << int(Decoded::Valid) << 0x17;
    QTest::newRow("29 bytes, end pair at 27 and 28") << (example.left(27) + hexBytes("E4 16"))
        << int(Decoded::BadCheck) << 0x17;
    QTest::newRow("50-byte frame, tail ignored") << (example.left(29) + QByteArray(19, '\x33') + hexBytes("E4 18"))
        << int(Decoded::Valid) << 0x17;
}

void tst_StatusTelegram::rejected()
{
    QFETCH(QByteArray, frame);
    QFETCH(int, outcome);
    QFETCH(int, variant);
    const Decoded d = status::decode(frame);
    QCOMPARE(int(d.outcome), outcome);
    if (outcome != Decoded::Ignored)
        QCOMPARE(int(d.variant), variant);
    if (outcome != Decoded::Valid) {
        for (const QString &v : d.values)
            QVERIFY(v.isEmpty());
    }
}

void tst_StatusTelegram::lamps_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("status1");
    QTest::addColumn<int>("status2");
    QTest::addColumn<QString>("expected");   // lamp table order: '1' on, '0' off

    QTest::newRow("all off") << 0x17 << 0x00 << 0x00 << "0000000000";
    QTest::newRow("all faults, four channels") << 0x19 << 0xFF << 0x03 << "1111111111";
    QTest::newRow("all faults, two channels") << 0x13 << 0xFF << 0x03 << "1111000011";
    QTest::newRow("trip channel 4 only") << 0x15 << 0x80 << 0x00 << "0000000100";
    QTest::newRow("power good and hardware fault") << 0x17 << 0x00 << 0x03 << "0000000011";
    QTest::newRow("unused bits of status byte 2") << 0x17 << 0x00 << 0xFC << "0000000000";
}

void tst_StatusTelegram::lamps()
{
    QFETCH(int, type);
    QFETCH(int, status1);
    QFETCH(int, status2);
    QFETCH(QString, expected);
    QByteArray t = hexBytes(Example);
    t[1] = char(type);
    t[2] = char(status1);
    t[3] = char(status2);
    const Decoded d = status::decode(withCheckByte(t));
    QCOMPARE(d.outcome, Decoded::Valid);
    QString got;
    for (bool on : d.lamps)
        got += on ? '1' : '0';
    QCOMPARE(got, expected);
}

QTEST_APPLESS_MAIN(tst_StatusTelegram)
#include "tst_statustelegram.moc"
