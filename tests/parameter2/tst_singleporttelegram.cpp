#include "parameter2/singleportconfig.h"
#include "parameter2/singleporttelegram.h"
#include "config/configtelegram.h"

#include "hexbytes.h"

#include <QtTest>

using namespace singleport;
namespace tg = singleporttelegram;

Q_DECLARE_METATYPE(ModuleVariant)
Q_DECLARE_METATYPE(tg::ReplyVerdict)

namespace {

// A configuration with every list selected from the given indices.
SinglePortConfig configOf(std::array<int, 4> channels, int powerGood, int tripDelay, quint8 events, quint8 mask2)
{
    SinglePortConfig c;
    for (int i = 0; i < 4; ++i)
        c.selectCurrent(i, channels[i]);
    c.selectPowerGood(powerGood);
    c.selectTripDelay(tripDelay);
    c.events = events;
    c.setSignalMask2(mask2, true);
    return c;
}

} // namespace

class tst_SinglePortTelegram : public QObject
{
    Q_OBJECT
private slots:
    void writeTelegram_data();
    void writeTelegram();
    void writeRefusedWhenAListIsEmpty_data();
    void writeRefusedWhenAListIsEmpty();
    void tripTimeCodes_data();
    void tripTimeCodes();
    void receivedTripDelay_data();
    void receivedTripDelay();
    void replyCheck_data();
    void replyCheck();
    void enterReply_data();
    void enterReply();
    void enterReplyKeepsRelease_data();
    void enterReplyKeepsRelease();
};

void tst_SinglePortTelegram::writeTelegram_data()
{
    QTest::addColumn<SinglePortConfig>("config");
    QTest::addColumn<QByteArray>("telegram");

    SinglePortConfig factory10;
    factory10.rebuildChannelLists(ModuleVariant::FourChannel10A);
    factory10.applyFactorySettings(ModuleVariant::FourChannel10A);
    QTest::newRow("factory settings FourChannel10A")
        << factory10 << hexBytes("FF F3 AA AA D6 AA C0 0F 9F DD EE 1F");

    SinglePortConfig factory6;
    factory6.rebuildChannelLists(ModuleVariant::FourChannel6A);
    factory6.applyFactorySettings(ModuleVariant::FourChannel6A);
    QTest::newRow("factory settings FourChannel6A")
        << factory6 << hexBytes("FF F3 66 66 D6 AA C0 0F 9F DD EE 1F");

    SinglePortConfig factory2x10;
    factory2x10.rebuildChannelLists(ModuleVariant::TwoChannel10A);
    factory2x10.applyFactorySettings(ModuleVariant::TwoChannel10A);
    QTest::newRow("factory settings TwoChannel10A: hidden channels 3 and 4 at 6 A")
        << factory2x10 << hexBytes("FF F3 AA 66 D6 AA C0 0F 9F DD EE D3");

    QTest::newRow("all OFF, 20,0 V, 0,1 s, no boxes")
        << configOf({0, 0, 0, 0}, 0, 0, 0x00, 0x00) << hexBytes("FF F3 00 00 C8 00 00 00 03 DD EE F8");
    QTest::newRow("0,5 s is code 0x0013")
        << configOf({0, 0, 0, 0}, 0, 1, 0x00, 0x00) << hexBytes("FF F3 00 00 C8 00 00 00 13 DD EE E8");
    QTest::newRow("channel 1 low nibble, 24,0 V, 600,0 s, every flag")
        << configOf({3, 1, 0, 2}, 40, 8, 0x55, 0xE3) << hexBytes("FF F3 13 20 F0 55 E3 5D BF DD EE A4");
    QTest::newRow("loeschen sets bit 5 only, 20,1 V, 50,0 s")
        << configOf({5, 10, 10, 0}, 1, 6, 0x0F, 0x20) << hexBytes("FF F3 A5 0A C9 0F 20 07 CF DD EE B2");
    QTest::newRow("bits 2 to 4 of signalMask2 are never sent")
        << configOf({0, 0, 0, 0}, 0, 0, 0x00, 0x1C) << hexBytes("FF F3 00 00 C8 00 00 00 03 DD EE F8");
}

void tst_SinglePortTelegram::writeTelegram()
{
    QFETCH(SinglePortConfig, config);
    QFETCH(QByteArray, telegram);

    const auto built = tg::writeTelegram(config);
    QVERIFY(built.has_value());
    QCOMPARE(built->toHex(' ').toUpper(), telegram.toHex(' ').toUpper());
}

void tst_SinglePortTelegram::writeRefusedWhenAListIsEmpty_data()
{
    QTest::addColumn<int>("emptyList");   // 0..3 channels, 4 power good, 5 trip delay
    for (int i = 0; i < 4; ++i)
        QTest::addRow("channel %d without a selection", i + 1) << i;
    QTest::newRow("power good without a selection") << 4;
    QTest::newRow("trip delay without a selection") << 5;
}

void tst_SinglePortTelegram::writeRefusedWhenAListIsEmpty()
{
    QFETCH(int, emptyList);
    SinglePortConfig c = configOf({1, 2, 3, 4}, 14, 7, 0xAA, 0xC0);
    QVERIFY(tg::writeTelegram(c).has_value());
    if (emptyList < 4)
        c.selectCurrent(emptyList, NoSelection);
    else if (emptyList == 4)
        c.selectPowerGood(NoSelection);
    else
        c.selectTripDelay(NoSelection);
    QVERIFY(!tg::writeTelegram(c).has_value());
}

void tst_SinglePortTelegram::tripTimeCodes_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("caption");
    QTest::newRow("0,1 s") << 0 << 0x0003 << "0,1";
    QTest::newRow("0,5 s") << 1 << 0x0013 << "0,5";
    QTest::newRow("1,0 s") << 2 << 0x0027 << "1,0";
    QTest::newRow("2,0 s") << 3 << 0x004F << "2,0";
    QTest::newRow("5,0 s") << 4 << 0x00C7 << "5,0";
    QTest::newRow("10,0 s") << 5 << 0x018F << "10,0";
    QTest::newRow("50,0 s") << 6 << 0x07CF << "50,0";
    QTest::newRow("100,0 s") << 7 << 0x0F9F << "100,0";
    QTest::newRow("600,0 s") << 8 << 0x5DBF << "600,0";
}

void tst_SinglePortTelegram::tripTimeCodes()
{
    QFETCH(int, index);
    QFETCH(int, code);
    QFETCH(QString, caption);
    QCOMPARE(int(tg::tripTimeCode(index)), code);
    QCOMPARE(tg::tripDelayIndex(quint16(code)), index);
    QCOMPARE(tripDelayItems().at(index), caption);
}

void tst_SinglePortTelegram::receivedTripDelay_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("index");
    QTest::newRow("0x0000 is 25 ms, not in the list") << 0x0000 << 7;
    QTest::newRow("0x0004 is 125 ms, not in the list") << 0x0004 << 7;
    QTest::newRow("0xFFFF is not in the list") << 0xFFFF << 7;
    QTest::newRow("0x5DBF selects 600,0") << 0x5DBF << 8;
    QTest::newRow("0x0003 selects 0,1") << 0x0003 << 0;
}

void tst_SinglePortTelegram::receivedTripDelay()
{
    QFETCH(int, code);
    QFETCH(int, index);
    QCOMPARE(tg::tripDelayIndex(quint16(code)), index);
}

// Replies whose check bytes were worked out by hand.
static const char *const Reply17 = "E4 17 34 12 C8 05 03 00 C7 31 2E 30 35 00 00 00 00 00 00 00 00 00 00 00 00 00 35";
static const char *const Reply19 = "E4 19 66 66 D6 AA C0 0F 9F 32 2E 31 30 11 11 11 11 11 11 11 11 11 11 11 11 11 20";
static const char *const Reply13 = "E4 13 AA AA F0 FF FF 00 00 41 42 43 44 00 00 00 00 00 00 00 00 00 00 00 00 00 F4";
static const char *const Reply11 = "E4 11 BB FF FF 00 42 00 00 30 30 30 30 00 00 00 00 00 00 00 00 00 00 00 00 00 F9";

void tst_SinglePortTelegram::replyCheck_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<tg::ReplyVerdict>("verdict");
    QTest::addColumn<bool>("variantNamed");
    QTest::addColumn<ModuleVariant>("variant");

    using V = tg::ReplyVerdict;
    QTest::newRow("FourChannel10A, 27 bytes") << hexBytes(Reply17) << V::Accepted << true << ModuleVariant::FourChannel10A;
    QTest::newRow("FourChannel6A, 27 bytes") << hexBytes(Reply19) << V::Accepted << true << ModuleVariant::FourChannel6A;
    QTest::newRow("TwoChannel10A") << hexBytes(Reply13) << V::Accepted << true << ModuleVariant::TwoChannel10A;
    QTest::newRow("TwoChannel6A") << hexBytes(Reply11) << V::Accepted << true << ModuleVariant::TwoChannel6A;
    QTest::newRow("end pair and more after the check byte")
        << hexBytes(Reply17) + hexBytes("E4 16 55 55") << V::Accepted << true << ModuleVariant::FourChannel10A;
    QTest::newRow("empty") << QByteArray() << V::TooShort << false << ModuleVariant::FourChannel10A;
    QTest::newRow("26 bytes") << hexBytes(Reply17).left(26) << V::TooShort << false << ModuleVariant::FourChannel10A;
    QByteArray start = hexBytes(Reply17);
    start[0] = char(0xE5);
    QTest::newRow("start byte E5") << start << V::WrongStartByte << false << ModuleVariant::FourChannel10A;
    QByteArray twoPort = hexBytes(Reply17);
    twoPort[1] = char(0x15);
    QTest::newRow("two-port type 15") << twoPort << V::WrongType << false << ModuleVariant::FourChannel10A;
    QByteArray t18 = hexBytes(Reply17);
    t18[1] = char(0x18);
    QTest::newRow("type 18") << t18 << V::WrongType << false << ModuleVariant::FourChannel10A;
    QByteArray badCheck = hexBytes(Reply11);
    badCheck[26] = char(0xF8);
    QTest::newRow("TwoChannel6A with a wrong check byte names its variant")
        << badCheck << V::WrongCheckByte << true << ModuleVariant::TwoChannel6A;
    QByteArray badPayload = hexBytes(Reply19);
    badPayload[20] = char(0x10);
    QTest::newRow("byte 20 (not interpreted) still covered by the check byte")
        << badPayload << V::WrongCheckByte << true << ModuleVariant::FourChannel6A;
    QByteArray shortAndWrongStart = hexBytes(Reply17).left(20);
    shortAndWrongStart[0] = 0;
    QTest::newRow("length is tested before the start byte")
        << shortAndWrongStart << V::TooShort << false << ModuleVariant::FourChannel10A;
}

void tst_SinglePortTelegram::replyCheck()
{
    QFETCH(QByteArray, reply);
    QFETCH(tg::ReplyVerdict, verdict);
    QFETCH(bool, variantNamed);
    QFETCH(ModuleVariant, variant);

    const tg::ReplyCheck check = tg::checkReply(reply);
    QCOMPARE(check.verdict, verdict);
    QCOMPARE(check.accepted(), verdict == tg::ReplyVerdict::Accepted);
    QCOMPARE(check.variant.has_value(), variantNamed);
    if (variantNamed)
        QCOMPARE(*check.variant, variant);
}

void tst_SinglePortTelegram::enterReply_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<ModuleVariant>("listsFor");
    QTest::addColumn<QList<int>>("channels");
    QTest::addColumn<int>("powerGood");
    QTest::addColumn<int>("tripDelay");
    QTest::addColumn<int>("events");
    QTest::addColumn<int>("mask2");   // of the four boxes a reply sets (loeschen cleared)
    QTest::addColumn<QString>("version");

    QTest::newRow("channels by nibble, 20,0 V, 5,0 s")
        << hexBytes(Reply17) << ModuleVariant::FourChannel10A << QList<int>{4, 3, 2, 1} << 0 << 4 << 0x05 << 0x03
        << "SW: 1.05";
    QTest::newRow("factory settings of FourChannel6A")
        << hexBytes(Reply19) << ModuleVariant::FourChannel6A << QList<int>{6, 6, 6, 6} << 14 << 7 << 0xAA << 0xC0
        << "SW: 2.10";
    QTest::newRow("24,0 V, all boxes, 25 ms selects 100,0")
        << hexBytes(Reply13) << ModuleVariant::FourChannel10A << QList<int>{10, 10, 10, 10} << 40 << 7 << 0xFF
        << 0xC3 << "SW: ABCD";
    QTest::newRow("10 A codes in 6 A lists leave them empty")
        << hexBytes(Reply13) << ModuleVariant::FourChannel6A << QList<int>{-1, -1, -1, -1} << 40 << 7 << 0xFF
        << 0xC3 << "SW: ABCD";
    QTest::newRow("codes 11 and 15 and power good 255 select nothing")
        << hexBytes(Reply11) << ModuleVariant::FourChannel10A << QList<int>{-1, -1, -1, -1} << -1 << 7 << 0x00
        << 0x42 << "SW: 0000";
}

void tst_SinglePortTelegram::enterReply()
{
    QFETCH(QByteArray, reply);
    QFETCH(ModuleVariant, listsFor);
    QFETCH(QList<int>, channels);
    QFETCH(int, powerGood);
    QFETCH(int, tripDelay);
    QFETCH(int, events);
    QFETCH(int, mask2);
    QFETCH(QString, version);

    SinglePortConfig c;
    c.rebuildChannelLists(listsFor);
    tg::enterReply(reply, c);
    for (int i = 0; i < 4; ++i)
        QCOMPARE(c.channel[i], channels[i]);
    QCOMPARE(c.powerGood, powerGood);
    QCOMPARE(c.tripDelay, tripDelay);
    QCOMPARE(int(c.events), events);
    QCOMPARE(int(c.signalMask2()), mask2);
    QCOMPARE(configtelegram::versionText(reply, tg::VersionOffset), version);
}

void tst_SinglePortTelegram::enterReplyKeepsRelease_data()
{
    QTest::addColumn<bool>("releaseBefore");
    QTest::newRow("loeschen checked stays checked against bit 5 clear") << true;
    QTest::newRow("loeschen unchecked stays unchecked against bit 5 set") << false;
}

void tst_SinglePortTelegram::enterReplyKeepsRelease()
{
    QFETCH(bool, releaseBefore);
    SinglePortConfig c;
    c.releaseTripped = releaseBefore;
    // Offset 6 is 0xC0 in one reply and 0xFF (bit 5 set) in the other.
    tg::enterReply(hexBytes(Reply19), c);
    QCOMPARE(c.releaseTripped, releaseBefore);
    tg::enterReply(hexBytes(Reply13), c);
    QCOMPARE(c.releaseTripped, releaseBefore);
    QVERIFY(c.lowInputVoltage && c.hardwareFault && c.invertOutput && c.allowProgramming);
}

QTEST_GUILESS_MAIN(tst_SinglePortTelegram)
#include "tst_singleporttelegram.moc"
