#include "parameter/twoporttelegram.h"
#include "config/configtelegram.h"
#include "hexbytes.h"
#include "twoporttestsupport.h"

#include <QtTest>

using namespace twoport;
namespace telegram = twoporttelegram;
using telegram::ReplyVerdict;

Q_DECLARE_METATYPE(ReplyVerdict)

namespace {

TwoPortConfig factory()
{
    TwoPortConfig c;
    c.applyFactorySettings();
    return c;
}

} // namespace

class tst_TwoPortTelegram : public QObject
{
    Q_OBJECT
private slots:
    void writeTelegram_data();
    void writeTelegram();
    void writeRefused_data();
    void writeRefused();
    void checkReply_data();
    void checkReply();
    void enterReply_data();
    void enterReply();
    void loeschenNeverRead_data();
    void loeschenNeverRead();
};

void tst_TwoPortTelegram::writeTelegram_data()
{
    QTest::addColumn<TwoPortConfig>("config");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("factory settings") << factory() << hexBytes("FF F3 88 88 D6 02 80 08 C0 00 00 DD EE AF");

    TwoPortConfig off = factory();
    off.chooseCurrent(0, 1);   // 1 A, "1,5"
    off.chooseCurrent(1, 0);   // OFF, empty list
    off.chooseCurrent(2, 2);   // 2 A, "0,5"
    QTest::newRow("channel 2 OFF sends 0 in the high four bits")
        << off << hexBytes("FF F3 01 82 D6 02 80 08 C0 04 02 DD EE 2A");

    TwoPortConfig stale = factory();
    setChannel(stale, 1, 0, 5, 4);   // OFF, but a list still showing "1,5"
    QTest::newRow("channel 2 OFF with a list left over sends 0")
        << stale << hexBytes("FF F3 08 88 D6 02 80 08 C0 00 00 DD EE 2F");

    TwoPortConfig release = factory();
    release.loeschen = true;
    QTest::newRow("loeschen sets bit 6 of offset 6")
        << release << hexBytes("FF F3 88 88 D6 02 C0 08 C0 00 00 DD EE EF");

    TwoPortConfig all;
    for (int ch = 0; ch < ChannelCount; ++ch) {
        all.chooseCurrent(ch, 1);
        all.selectTripTime(ch, 3);   // "1,0"
    }
    all.selectPowerGood(40);
    all.port[0] = {0xFF, OutputFlagBits};
    all.port[1] = {0xFF, OutputFlagBits};
    all.loeschen = true;
    all.programmieren = true;
    QTest::newRow("every box, 1 A, 1,0 s, 24,0 V")
        << all << hexBytes("FF F3 11 11 F0 FF C3 FF C3 33 33 DD EE C3");
}

void tst_TwoPortTelegram::writeTelegram()
{
    QFETCH(TwoPortConfig, config);
    QFETCH(QByteArray, expected);
    const auto t = telegram::writeTelegram(config);
    QVERIFY(t.has_value());
    QCOMPARE(t->size(), telegram::WriteLength);
    QCOMPARE(*t, expected);
    // The check byte covers the payload and DD EE.
    quint8 x = 0;
    for (int i = 2; i < telegram::WriteCheckOffset; ++i)
        x ^= quint8(t->at(i));
    QCOMPARE(quint8(t->at(telegram::WriteCheckOffset)), x);
}

void tst_TwoPortTelegram::writeRefused_data()
{
    QTest::addColumn<QList<int>>("emptyChannels");
    QTest::addColumn<bool>("emptyPowerGood");
    QTest::newRow("k3 and threshold") << QList<int>{2} << true;
    QTest::newRow("k1") << QList<int>{0} << false;
    QTest::newRow("threshold") << QList<int>{} << true;
    QTest::newRow("everything") << QList<int>{0, 1, 2, 3} << true;
}

void tst_TwoPortTelegram::writeRefused()
{
    QFETCH(QList<int>, emptyChannels);
    QFETCH(bool, emptyPowerGood);
    TwoPortConfig c = factory();
    for (int ch : emptyChannels)
        c.selectCurrent(ch, NoSelection);
    if (emptyPowerGood)
        c.selectPowerGood(NoSelection);
    QVERIFY(!telegram::writeTelegram(c).has_value());
}

void tst_TwoPortTelegram::checkReply_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<ReplyVerdict>("verdict");

    const QByteArray fields = hexBytes("88 88 D6 02 80 08 C0 00 00 31 2E 30 35");
    QTest::newRow("exactly 30 bytes") << twoPortReply(fields, 0x15, 30) << ReplyVerdict::Accepted;
    QTest::newRow("31 bytes with the end pair") << twoPortReply(fields, 0x15, 31) << ReplyVerdict::Accepted;
    QTest::newRow("50 bytes") << twoPortReply(fields, 0x15, 50) << ReplyVerdict::Accepted;
    QTest::newRow("29 bytes") << twoPortReply(fields, 0x15, 29) << ReplyVerdict::TooShort;
    QTest::newRow("empty") << QByteArray() << ReplyVerdict::TooShort;

    QByteArray start = twoPortReply(fields);
    start[0] = char(0xE5);
    QTest::newRow("start byte E5") << start << ReplyVerdict::WrongStartByte;

    for (quint8 type : {0x11, 0x13, 0x17, 0x19, 0x14, 0x00})
        QTest::addRow("type %02X", type) << twoPortReply(fields, type) << ReplyVerdict::WrongType;

    QByteArray check = twoPortReply(fields);
    check[28] = char(quint8(check.at(28)) ^ 0x01);
    QTest::newRow("check byte wrong") << check << ReplyVerdict::WrongCheckByte;

    QByteArray covered = twoPortReply(fields);
    covered[27] = char(0x55);
    QTest::newRow("offset 27 is covered") << covered << ReplyVerdict::WrongCheckByte;

    QByteArray end = twoPortReply(fields);
    end[29] = char(0x00);
    end[30] = char(0x00);
    QTest::newRow("end pair not examined") << end << ReplyVerdict::Accepted;
}

void tst_TwoPortTelegram::checkReply()
{
    QFETCH(QByteArray, reply);
    QFETCH(ReplyVerdict, verdict);
    QCOMPARE(telegram::checkReply(reply), verdict);
    QCOMPARE(telegram::isAccepted(reply), verdict == ReplyVerdict::Accepted);
}

void tst_TwoPortTelegram::enterReply_data()
{
    QTest::addColumn<QByteArray>("fields");
    QTest::addColumn<TwoPortConfig>("expected");
    QTest::addColumn<QString>("version");

    {
        TwoPortConfig e;
        setChannel(e, 0, 1, 5, 4);             // 1 A, "1,5"
        setChannel(e, 1, 2, 3, NoSelection);   // 2 A, index 3 beyond its list
        setChannel(e, 2, 3, 2, 0);             // 3 A, "0,1"
        setChannel(e, 3, 8, 1, NoSelection);   // 8 A, index 2 beyond its list
        e.powerGood = 14;
        e.port[0] = {0x15, 0x83};
        e.port[1] = {0x2A, 0x01};
        e.programmieren = true;
        QTest::newRow("mixed currents, indices beyond their lists")
            << hexBytes("21 83 D6 15 C3 2A 41 34 20 31 2E 30 35") << e << QStringLiteral("SW: 1.05");
    }
    {
        TwoPortConfig e;
        setChannel(e, 0, 0, 0, NoSelection);             // OFF: empty list
        setChannel(e, 1, NoSelection, 1, 0);             // code 9: no current, "0,1"
        setChannel(e, 2, 5, 1, NoSelection);             // 5 A, index 5
        setChannel(e, 3, 4, 2, 1);                       // 4 A, "0,2"
        e.powerGood = 14;                                // 0x0E modulo 200
        QTest::newRow("OFF, code above 8, threshold byte 14")
            << hexBytes("90 45 0E 00 40 00 00 00 15 41 42 43 44") << e << QStringLiteral("SW: ABCD");
    }
    {
        TwoPortConfig e;
        for (int ch = 0; ch < ChannelCount; ++ch)
            setChannel(e, ch, 8, 1, 0);
        e.powerGood = NoSelection;   // 255 modulo 200 is 55
        e.port[0] = {0x00, 0x80};
        e.port[1] = {0x00, 0x80};
        QTest::newRow("threshold beyond the list")
            << hexBytes("88 88 FF 00 80 00 80 00 00 30 30 30 30") << e << QStringLiteral("SW: 0000");
    }
    {
        TwoPortConfig e;
        for (int ch = 0; ch < ChannelCount; ++ch)
            setChannel(e, ch, 1, 5, ch);
        e.powerGood = 0;
        QTest::newRow("1 A everywhere, 20,0 V")
            << hexBytes("11 11 C8 00 00 00 00 10 32 56 31 2E 30") << e << QStringLiteral("SW: V1.0");
    }
}

void tst_TwoPortTelegram::enterReply()
{
    QFETCH(QByteArray, fields);
    QFETCH(TwoPortConfig, expected);
    QFETCH(QString, version);
    const QByteArray reply = twoPortReply(fields);
    QVERIFY(telegram::isAccepted(reply));
    TwoPortConfig c;   // as the read button leaves it
    telegram::enterReply(reply, c);
    QCOMPARE(c, expected);
    QCOMPARE(configtelegram::versionText(reply, telegram::VersionOffset), version);
}

void tst_TwoPortTelegram::loeschenNeverRead_data()
{
    QTest::addColumn<bool>("before");
    QTest::addColumn<int>("port1Byte2");
    QTest::newRow("unchecked, module reports 40") << false << 0x40;
    QTest::newRow("unchecked, module reports C3") << false << 0xC3;
    QTest::newRow("checked, module reports 00") << true << 0x00;
}

void tst_TwoPortTelegram::loeschenNeverRead()
{
    QFETCH(bool, before);
    QFETCH(int, port1Byte2);
    QByteArray fields = hexBytes("88 88 D6 02 00 08 C0 00 00 31 2E 30 35");
    fields[4] = char(port1Byte2);
    TwoPortConfig c;
    c.loeschen = before;
    telegram::enterReply(twoPortReply(fields), c);
    QCOMPARE(c.loeschen, before);
    QCOMPARE(int(c.port[0].flags), port1Byte2 & OutputFlagBits);
    QVERIFY(c.programmieren);   // bit 6 of port2Byte2 is read
}

QTEST_GUILESS_MAIN(tst_TwoPortTelegram)
#include "tst_twoporttelegram.moc"
