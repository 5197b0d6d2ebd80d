#include "parameter/twoportconfig.h"
#include "twoporttestsupport.h"

#include <QtTest>

using namespace twoport;

class tst_TwoPortConfig : public QObject
{
    Q_OBJECT
private slots:
    void lists();
    void userChoosesCurrent_data();
    void userChoosesCurrent();
    void offThenOne();
    void programSetsCurrent_data();
    void programSetsCurrent();
    void validate_data();
    void validate();
    void factorySettings();
    void tripTimeOnTheWire_data();
    void tripTimeOnTheWire();
    void powerGoodCode_data();
    void powerGoodCode();
    void boxes_data();
    void boxes();
    void clear();
};

void tst_TwoPortConfig::lists()
{
    QCOMPARE(currentItems(), (QStringList{"OFF", "1", "2", "3", "4", "5", "6", "7", "8"}));
    QCOMPARE(tripTimeItems(), (QStringList{"0,1", "0,2", "0,5", "1,0", "1,5"}));
    const QStringList pg = powerGoodItems();
    QCOMPARE(pg.size(), PowerGoodItemCount);
    QCOMPARE(pg.first(), QStringLiteral("20,0"));
    QCOMPARE(pg.at(FactoryPowerGoodIndex), QStringLiteral("21,4"));
    QCOMPARE(pg.last(), QStringLiteral("24,0"));
}

void tst_TwoPortConfig::userChoosesCurrent_data()
{
    QTest::addColumn<int>("channel");
    QTest::addColumn<int>("item");
    QTest::addColumn<QStringList>("times");
    QTest::addColumn<int>("selected");
    QTest::newRow("OFF: empty list") << 0 << 0 << QStringList{} << NoSelection;
    QTest::newRow("1 A: five times, 1,5 selected") << 1 << 1 << QStringList{"0,1", "0,2", "0,5", "1,0", "1,5"} << 4;
    QTest::newRow("2 A: three times, 0,5 selected") << 2 << 2 << QStringList{"0,1", "0,2", "0,5"} << 2;
    QTest::newRow("3 A: two times, 0,2 selected") << 3 << 3 << QStringList{"0,1", "0,2"} << 1;
    QTest::newRow("4 A: two times, 0,2 selected") << 0 << 4 << QStringList{"0,1", "0,2"} << 1;
    QTest::newRow("5 A: 0,1 selected") << 1 << 5 << QStringList{"0,1"} << 0;
    QTest::newRow("8 A: 0,1 selected") << 3 << 8 << QStringList{"0,1"} << 0;
}

void tst_TwoPortConfig::userChoosesCurrent()
{
    QFETCH(int, channel);
    QFETCH(int, item);
    QFETCH(QStringList, times);
    QFETCH(int, selected);
    TwoPortConfig c;
    c.applyFactorySettings();
    const TwoPortConfig before = c;
    c.chooseCurrent(channel, item);
    QCOMPARE(c.current[channel], item);
    QCOMPARE(tripTimeItems().mid(0, c.tripTimeCount[channel]), times);
    QCOMPARE(tripTimeItemsFor(item), times);
    QCOMPARE(c.tripTime[channel], selected);
    // The other channels are left alone.
    for (int other = 0; other < ChannelCount; ++other) {
        if (other == channel)
            continue;
        QCOMPARE(c.current[other], before.current[other]);
        QCOMPARE(c.tripTimeCount[other], before.tripTimeCount[other]);
        QCOMPARE(c.tripTime[other], before.tripTime[other]);
    }
}

void tst_TwoPortConfig::offThenOne()
{
    TwoPortConfig c;
    c.chooseCurrent(2, 0);
    QCOMPARE(c.tripTimeCount[2], 0);
    QCOMPARE(c.tripTime[2], NoSelection);
    c.chooseCurrent(2, 1);
    QCOMPARE(c.tripTimeCount[2], 5);
    QCOMPARE(tripTimeItems().at(c.tripTime[2]), QStringLiteral("1,5"));
}

void tst_TwoPortConfig::programSetsCurrent_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("selected");
    QTest::newRow("OFF: empty") << 0 << 0 << NoSelection;
    QTest::newRow("1 A: five, none selected") << 1 << 5 << NoSelection;
    QTest::newRow("2 A: three, none selected") << 2 << 3 << NoSelection;
    QTest::newRow("4 A: two, none selected") << 4 << 2 << NoSelection;
    QTest::newRow("5 A: 0,1 selected") << 5 << 1 << 0;
    QTest::newRow("8 A: 0,1 selected") << 8 << 1 << 0;
    QTest::newRow("no selection: empty") << int(NoSelection) << 0 << NoSelection;
}

void tst_TwoPortConfig::programSetsCurrent()
{
    QFETCH(int, code);
    QFETCH(int, count);
    QFETCH(int, selected);
    TwoPortConfig c;
    c.chooseCurrent(1, 1);   // five times, "1,5"
    const int countBefore = c.tripTimeCount[1];
    const int selectedBefore = c.tripTime[1];

    // Setting the selection runs no change handler: the list stays as it was.
    c.selectCurrent(1, code);
    QCOMPARE(c.current[1], code);
    QCOMPARE(c.tripTimeCount[1], countBefore);
    QCOMPARE(c.tripTime[1], selectedBefore);

    // The program then builds the list itself, without the longest-time default.
    c.fillTripTimesFromCurrents();
    QCOMPARE(c.tripTimeCount[1], count);
    QCOMPARE(c.tripTime[1], selected);
}

void tst_TwoPortConfig::validate_data()
{
    QTest::addColumn<QList<int>>("emptyChannels");
    QTest::addColumn<bool>("emptyPowerGood");
    QTest::newRow("everything filled") << QList<int>{} << false;
    QTest::newRow("k3 and threshold empty") << QList<int>{2} << true;
    QTest::newRow("k1 only") << QList<int>{0} << false;
    QTest::newRow("threshold only") << QList<int>{} << true;
    QTest::newRow("all five empty") << QList<int>{0, 1, 2, 3} << true;
}

void tst_TwoPortConfig::validate()
{
    QFETCH(QList<int>, emptyChannels);
    QFETCH(bool, emptyPowerGood);
    TwoPortConfig c;
    c.applyFactorySettings();
    for (int ch : emptyChannels) {
        c.current[ch] = NoSelection;
        c.tripTimeCount[ch] = 0;   // empty trip-time lists are never marked
        c.tripTime[ch] = NoSelection;
    }
    if (emptyPowerGood)
        c.powerGood = NoSelection;

    const Markers m = c.validate();
    for (int ch = 0; ch < ChannelCount; ++ch)
        QCOMPARE(m.channel[ch], emptyChannels.contains(ch));
    QCOMPARE(m.powerGood, emptyPowerGood);
    QCOMPARE(m.any(), !emptyChannels.isEmpty() || emptyPowerGood);
    QCOMPARE(c.isComplete(), !m.any());
}

void tst_TwoPortConfig::factorySettings()
{
    TwoPortConfig c;
    c.loeschen = true;
    c.setBox(0, 1, OvercurrentChannel3, true);
    c.setBox(1, 2, LowInputVoltage, true);
    c.applyFactorySettings();
    for (int ch = 0; ch < ChannelCount; ++ch) {
        QCOMPARE(currentItems().at(c.current[ch]), QStringLiteral("8"));
        QCOMPARE(c.tripTimeCount[ch], 1);
        QCOMPARE(tripTimeItems().at(c.tripTime[ch]), QStringLiteral("0,1"));
    }
    QCOMPARE(c.powerGoodCaption(), QStringLiteral("21,4"));
    QCOMPARE(c.port1Byte1(), quint8(TrippedChannel1));
    QCOMPARE(c.port1Byte2(), quint8(InvertOutput));
    QCOMPARE(c.port2Byte1(), quint8(TrippedChannel2));
    QCOMPARE(c.port2Byte2(), quint8(InvertOutput | Port2Programming));
    QVERIFY(!c.loeschen);
    QVERIFY(c.programmieren);
    QVERIFY(c.isComplete());
}

void tst_TwoPortConfig::tripTimeOnTheWire_data()
{
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("selected");
    QTest::addColumn<int>("wire");
    QTest::newRow("1 A, 1,5") << 1 << 5 << 4 << 4;
    QTest::newRow("2 A, 0,5") << 2 << 3 << 2 << 2;
    QTest::newRow("1 A, no selection") << 1 << 5 << int(NoSelection) << 0;
    QTest::newRow("OFF, empty list") << 0 << 0 << int(NoSelection) << 0;
    QTest::newRow("OFF, stale list from 1 A") << 0 << 5 << 4 << 0;
    QTest::newRow("8 A, stale 1,0 from 1 A") << 8 << 5 << 3 << 0;
    QTest::newRow("no current, 0,1 list") << int(NoSelection) << 1 << 0 << 0;
}

void tst_TwoPortConfig::tripTimeOnTheWire()
{
    QFETCH(int, current);
    QFETCH(int, count);
    QFETCH(int, selected);
    QFETCH(int, wire);
    TwoPortConfig c;
    c.applyFactorySettings();
    setChannel(c, 1, current, count, selected);   // channel 2: high four bits
    setChannel(c, 2, current, count, selected);   // channel 3: low four bits
    QCOMPARE(c.tripTimeIndex(1), wire);
    QCOMPARE(c.tripTimeIndex(2), wire);
    QCOMPARE(int(c.tripTimeByte12()), wire << 4);
    QCOMPARE(int(c.tripTimeByte34()), wire);
}

void tst_TwoPortConfig::powerGoodCode_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("code");
    QTest::newRow("20,0") << 0 << "20,0" << 200;
    QTest::newRow("21,4") << 14 << "21,4" << 214;
    QTest::newRow("22,9") << 29 << "22,9" << 229;
    QTest::newRow("24,0") << 40 << "24,0" << 240;
    QTest::newRow("beyond the list") << 41 << "" << 0;
}

void tst_TwoPortConfig::powerGoodCode()
{
    QFETCH(int, item);
    QFETCH(QString, caption);
    QFETCH(int, code);
    TwoPortConfig c;
    c.selectPowerGood(item);
    QCOMPARE(c.powerGoodCaption(), caption);
    QCOMPARE(int(c.powerGoodCode()), code);
    QCOMPARE(int(powerGoodCodeFromCaption(caption)), code);
}

void tst_TwoPortConfig::boxes_data()
{
    QTest::addColumn<int>("port");
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("bit");
    QTest::addColumn<int>("p1b1");
    QTest::addColumn<int>("p1b2");
    QTest::addColumn<int>("p2b1");
    QTest::addColumn<int>("p2b2");
    QTest::newRow("port1_byte1_01") << 0 << 1 << 0x01 << 0x01 << 0 << 0 << 0;
    QTest::newRow("port1_byte1_80") << 0 << 1 << 0x80 << 0x80 << 0 << 0 << 0;
    QTest::newRow("port1_byte2_02") << 0 << 2 << 0x02 << 0 << 0x02 << 0 << 0;
    QTest::newRow("port1_byte2_80") << 0 << 2 << 0x80 << 0 << 0x80 << 0 << 0;
    QTest::newRow("port2_byte1_20") << 1 << 1 << 0x20 << 0 << 0 << 0x20 << 0;
    QTest::newRow("port2_byte2_01") << 1 << 2 << 0x01 << 0 << 0 << 0 << 0x01;
    QTest::newRow("bit 6 of byte 2 is no output box") << 1 << 2 << 0x40 << 0 << 0 << 0 << 0;
    QTest::newRow("bits 2 to 5 of byte 2 do not exist") << 0 << 2 << 0x3C << 0 << 0 << 0 << 0;
}

void tst_TwoPortConfig::boxes()
{
    QFETCH(int, port);
    QFETCH(int, byte);
    QFETCH(int, bit);
    QFETCH(int, p1b1);
    QFETCH(int, p1b2);
    QFETCH(int, p2b1);
    QFETCH(int, p2b2);
    TwoPortConfig c;
    c.setBox(port, byte, quint8(bit), true);
    QCOMPARE(int(c.port1Byte1()), p1b1);
    QCOMPARE(int(c.port1Byte2()), p1b2);
    QCOMPARE(int(c.port2Byte1()), p2b1);
    QCOMPARE(int(c.port2Byte2()), p2b2);
    QCOMPARE(c.box(port, byte, quint8(bit)), (p1b1 | p1b2 | p2b1 | p2b2) != 0);

    // The flags own bit 6.
    c.loeschen = true;
    c.programmieren = true;
    QCOMPARE(int(c.port1Byte2()), p1b2 | 0x40);
    QCOMPARE(int(c.port2Byte2()), p2b2 | 0x40);

    c.setBox(port, byte, quint8(bit), false);
    QVERIFY(!c.box(port, byte, quint8(bit)));
    QCOMPARE(int(c.port1Byte1() | c.port2Byte1()), 0);
}

void tst_TwoPortConfig::clear()
{
    TwoPortConfig c;
    c.applyFactorySettings();
    c.loeschen = true;
    c.setBox(1, 2, LowInputVoltage, true);
    c.clear();
    QCOMPARE(c, TwoPortConfig());
    for (int ch = 0; ch < ChannelCount; ++ch) {
        QCOMPARE(c.current[ch], NoSelection);
        QCOMPARE(c.tripTimeCount[ch], 0);
    }
    QCOMPARE(c.powerGood, NoSelection);
    QVERIFY(!c.loeschen && !c.programmieren);
    QCOMPARE(int(c.port1Byte1() | c.port1Byte2() | c.port2Byte1() | c.port2Byte2()), 0);
}

QTEST_GUILESS_MAIN(tst_TwoPortConfig)
#include "tst_twoportconfig.moc"
