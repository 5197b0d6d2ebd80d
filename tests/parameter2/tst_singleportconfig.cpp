#include "parameter2/singleportconfig.h"

#include <QtTest>

using namespace singleport;

Q_DECLARE_METATYPE(ModuleVariant)

class tst_SinglePortConfig : public QObject
{
    Q_OBJECT
private slots:
    void lists();
    void channelLists_data();
    void channelLists();
    void powerGoodCode_data();
    void powerGoodCode();
    void powerGoodCodeOfEveryItem();
    void selectionBeyondTheList_data();
    void selectionBeyondTheList();
    void validation_data();
    void validation();
    void factorySettings_data();
    void factorySettings();
    void signalMask2_data();
    void signalMask2();
    void resets();
};

void tst_SinglePortConfig::lists()
{
    QCOMPARE(currentLimitItems(6), (QStringList{"OFF", "1", "2", "3", "4", "5", "6"}));
    QCOMPARE(currentLimitItems(10).size(), 11);
    QCOMPARE(currentLimitItems(10).last(), QStringLiteral("10"));
    const QStringList pg = powerGoodItems();
    QCOMPARE(pg.size(), PowerGoodItemCount);
    QCOMPARE(pg.first(), QStringLiteral("20,0"));
    QCOMPARE(pg.at(14), QStringLiteral("21,4"));
    QCOMPARE(pg.at(10), QStringLiteral("21,0"));
    QCOMPARE(pg.last(), QStringLiteral("24,0"));
    QCOMPARE(tripDelayItems().size(), TripDelayItemCount);
    QCOMPARE(tripDelayItems().at(FactoryTripDelayIndex), QStringLiteral("100,0"));
}

void tst_SinglePortConfig::channelLists_data()
{
    QTest::addColumn<ModuleVariant>("variant");
    QTest::addColumn<QList<int>>("sizes");
    QTest::newRow("FourChannel10A") << ModuleVariant::FourChannel10A << QList<int>{11, 11, 11, 11};
    QTest::newRow("FourChannel6A") << ModuleVariant::FourChannel6A << QList<int>{7, 7, 7, 7};
    QTest::newRow("TwoChannel10A") << ModuleVariant::TwoChannel10A << QList<int>{11, 11, 7, 7};
    QTest::newRow("TwoChannel6A") << ModuleVariant::TwoChannel6A << QList<int>{7, 7, 7, 7};
}

void tst_SinglePortConfig::channelLists()
{
    QFETCH(ModuleVariant, variant);
    QFETCH(QList<int>, sizes);
    SinglePortConfig c;
    c.channel = {1, 2, 3, 4};
    c.powerGood = 5;
    c.rebuildChannelLists(variant);
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(c.channelListSize[i], sizes[i]);
        QCOMPARE(channelListMax(variant, i) + 1, sizes[i]);
        QCOMPARE(c.channel[i], NoSelection);
    }
    QCOMPARE(c.powerGood, 5);   // only the channel lists are rebuilt
}

void tst_SinglePortConfig::powerGoodCode_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("code");
    QTest::newRow("21,4") << "21,4" << 214;
    QTest::newRow("20,0") << "20,0" << 200;
    QTest::newRow("24,0") << "24,0" << 240;
    QTest::newRow("20,3 (binary 202,99999...)") << "20,3" << 203;
    QTest::newRow("22,9") << "22,9" << 229;
    QTest::newRow("no number counts as 0") << "abc" << 0;
    QTest::newRow("empty counts as 0") << "" << 0;
    QTest::newRow("a point is no decimal separator") << "21.4" << 0;
    QTest::newRow("30,0 is kept to 8 bits") << "30,0" << (300 & 0xFF);
    QTest::newRow("21,45 rounds to the nearest") << "21,45" << 215;
}

void tst_SinglePortConfig::powerGoodCode()
{
    QFETCH(QString, caption);
    QFETCH(int, code);
    QCOMPARE(int(powerGoodCodeFromCaption(caption)), code);
}

void tst_SinglePortConfig::powerGoodCodeOfEveryItem()
{
    // Every item's code is 200 plus its index, which is what makes a received code
    // minus 200 the item to select.
    SinglePortConfig c;
    for (int i = 0; i < PowerGoodItemCount; ++i) {
        c.selectPowerGood(i);
        QCOMPARE(int(c.powerGoodCode()), 200 + i);
    }
}

void tst_SinglePortConfig::selectionBeyondTheList_data()
{
    QTest::addColumn<ModuleVariant>("variant");
    QTest::addColumn<int>("channel");
    QTest::addColumn<int>("item");
    QTest::addColumn<int>("selected");
    QTest::newRow("10 in a 10 A list") << ModuleVariant::FourChannel10A << 0 << 10 << 10;
    QTest::newRow("11 in a 10 A list") << ModuleVariant::FourChannel10A << 3 << 11 << -1;
    QTest::newRow("7 in a 6 A list") << ModuleVariant::FourChannel6A << 1 << 7 << -1;
    QTest::newRow("6 in a 6 A list") << ModuleVariant::FourChannel6A << 1 << 6 << 6;
    QTest::newRow("10 in channel 3 of TwoChannel10A") << ModuleVariant::TwoChannel10A << 2 << 10 << -1;
    QTest::newRow("10 in channel 2 of TwoChannel10A") << ModuleVariant::TwoChannel10A << 1 << 10 << 10;
    QTest::newRow("0 is OFF") << ModuleVariant::TwoChannel6A << 0 << 0 << 0;
    QTest::newRow("negative") << ModuleVariant::FourChannel10A << 0 << -5 << -1;
}

void tst_SinglePortConfig::selectionBeyondTheList()
{
    QFETCH(ModuleVariant, variant);
    QFETCH(int, channel);
    QFETCH(int, item);
    QFETCH(int, selected);
    SinglePortConfig c;
    c.rebuildChannelLists(variant);
    c.selectCurrent(channel, 3);
    c.selectCurrent(channel, item);
    QCOMPARE(c.channel[channel], selected);
}

void tst_SinglePortConfig::validation_data()
{
    QTest::addColumn<QList<int>>("channels");
    QTest::addColumn<int>("powerGood");
    QTest::addColumn<int>("tripDelay");
    QTest::addColumn<QList<bool>>("markers");   // k1 k2 k3 k4 pg ab

    QTest::newRow("all selected") << QList<int>{0, 1, 2, 3} << 0 << 0
                                  << QList<bool>{false, false, false, false, false, false};
    QTest::newRow("nothing selected") << QList<int>{-1, -1, -1, -1} << -1 << -1
                                      << QList<bool>{true, true, true, true, true, true};
    QTest::newRow("channel 2 only") << QList<int>{5, -1, 2, 3} << 40 << 8
                                    << QList<bool>{false, true, false, false, false, false};
    QTest::newRow("channels 3 and 4 (hidden or not)") << QList<int>{5, 5, -1, -1} << 14 << 7
                                                      << QList<bool>{false, false, true, true, false, false};
    QTest::newRow("power good only") << QList<int>{1, 1, 1, 1} << -1 << 7
                                     << QList<bool>{false, false, false, false, true, false};
    QTest::newRow("trip delay only") << QList<int>{1, 1, 1, 1} << 14 << -1
                                     << QList<bool>{false, false, false, false, false, true};
    QTest::newRow("OFF counts as selected") << QList<int>{0, 0, 0, 0} << 14 << 7
                                            << QList<bool>{false, false, false, false, false, false};
}

void tst_SinglePortConfig::validation()
{
    QFETCH(QList<int>, channels);
    QFETCH(int, powerGood);
    QFETCH(int, tripDelay);
    QFETCH(QList<bool>, markers);
    SinglePortConfig c;
    for (int i = 0; i < 4; ++i)
        c.selectCurrent(i, channels[i]);
    c.selectPowerGood(powerGood);
    c.selectTripDelay(tripDelay);
    const Markers m = c.validate();
    for (int i = 0; i < 4; ++i)
        QCOMPARE(m.channel[i], markers[i]);
    QCOMPARE(m.powerGood, markers[4]);
    QCOMPARE(m.tripDelay, markers[5]);
    QCOMPARE(m.any(), markers.contains(true));
    QCOMPARE(c.isComplete(), !markers.contains(true));
}

void tst_SinglePortConfig::factorySettings_data()
{
    QTest::addColumn<ModuleVariant>("variant");
    QTest::addColumn<QList<int>>("channels");
    QTest::newRow("FourChannel10A") << ModuleVariant::FourChannel10A << QList<int>{10, 10, 10, 10};
    QTest::newRow("FourChannel6A") << ModuleVariant::FourChannel6A << QList<int>{6, 6, 6, 6};
    QTest::newRow("TwoChannel10A: hidden channels at 6") << ModuleVariant::TwoChannel10A << QList<int>{10, 10, 6, 6};
    QTest::newRow("TwoChannel6A") << ModuleVariant::TwoChannel6A << QList<int>{6, 6, 6, 6};
}

void tst_SinglePortConfig::factorySettings()
{
    QFETCH(ModuleVariant, variant);
    QFETCH(QList<int>, channels);
    SinglePortConfig c;
    c.rebuildChannelLists(variant);
    c.releaseTripped = true;
    c.lowInputVoltage = true;
    c.hardwareFault = true;
    c.events = 0x55;
    c.applyFactorySettings(variant);
    for (int i = 0; i < 4; ++i)
        QCOMPARE(c.channel[i], channels[i]);
    QCOMPARE(c.powerGoodCaption(), QStringLiteral("21,4"));
    QCOMPARE(tripDelayItems().at(c.tripDelay), QStringLiteral("100,0"));
    QCOMPARE(int(c.events), 0xAA);   // every "tripped" event, no overcurrent
    QVERIFY(!c.lowInputVoltage);
    QVERIFY(!c.hardwareFault);
    QVERIFY(c.invertOutput);
    QVERIFY(!c.releaseTripped);
    QVERIFY(c.allowProgramming);
    QVERIFY(c.isComplete());
}

void tst_SinglePortConfig::signalMask2_data()
{
    QTest::addColumn<int>("mask");
    QTest::addColumn<bool>("withRelease");
    QTest::addColumn<int>("roundTrip");
    QTest::newRow("all bits, with loeschen") << 0xFF << true << 0xE3;
    QTest::newRow("all bits, without loeschen") << 0xFF << false << 0xC3;
    QTest::newRow("loeschen only") << 0x20 << true << 0x20;
    QTest::newRow("bits 2 to 4 are dropped") << 0x1C << true << 0x00;
    QTest::newRow("invert and program") << 0xC0 << true << 0xC0;
}

void tst_SinglePortConfig::signalMask2()
{
    QFETCH(int, mask);
    QFETCH(bool, withRelease);
    QFETCH(int, roundTrip);
    SinglePortConfig c;
    c.setSignalMask2(quint8(mask), withRelease);
    QCOMPARE(int(c.signalMask2()), roundTrip);
}

void tst_SinglePortConfig::resets()
{
    SinglePortConfig c;
    c.rebuildChannelLists(ModuleVariant::FourChannel10A);
    c.applyFactorySettings(ModuleVariant::FourChannel10A);
    c.releaseTripped = true;
    c.lowInputVoltage = true;
    c.uncheckBoxesKeepingRelease();
    QCOMPARE(int(c.events), 0);
    QCOMPARE(int(c.signalMask2()), 0x20);
    QCOMPARE(c.channel[0], 10);   // lists untouched
    c.clearSelections();
    QCOMPARE(c.validate().any(), true);
    QVERIFY(c.validate().channel[0] && c.validate().powerGood && c.validate().tripDelay);
    QVERIFY(c.releaseTripped);
}

QTEST_GUILESS_MAIN(tst_SinglePortConfig)
#include "tst_singleportconfig.moc"
