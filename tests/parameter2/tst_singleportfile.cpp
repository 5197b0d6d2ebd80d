#include "parameter2/singleportconfig.h"
#include "parameter2/singleportfile.h"

#include "testfiles.h"
#include <QtTest>

using namespace singleport;
namespace file = singleportfile;

namespace {

// What the dialog holds before a load: FourChannel10A lists, values that no file below
// carries, and loeschen checked.
SinglePortConfig before()
{
    SinglePortConfig c;
    c.rebuildChannelLists(ModuleVariant::FourChannel10A);
    c.channel = {1, 2, 3, 4};
    c.powerGood = 33;
    c.tripDelay = 2;
    c.events = 0x11;
    c.lowInputVoltage = true;
    c.hardwareFault = false;
    c.releaseTripped = true;
    c.invertOutput = false;
    c.allowProgramming = false;
    return c;
}

SinglePortConfig factory10A()
{
    SinglePortConfig c;
    c.rebuildChannelLists(ModuleVariant::FourChannel10A);
    c.applyFactorySettings(ModuleVariant::FourChannel10A);
    return c;
}

QStringList fileOf(const QString &line2, const QString &line3)
{
    return {"config", line2, line3, "AE081DDD12F256"};
}



} // namespace

class tst_SinglePortFile : public QObject
{
    Q_OBJECT
private slots:
    void factorySettingsFile();
    void roundTrip_data();
    void roundTrip();
    void saveRefusesIncompleteConfiguration();
    void unreadableFileIsCode14();
    void overlongLineIsCut();
    void errorCodes_data();
    void errorCodes();
    void values_data();
    void values();
    void notHexadecimal_data();
    void notHexadecimal();

private:
    QTemporaryDir dir_;
};

void tst_SinglePortFile::factorySettingsFile()
{
    QVERIFY(dir_.isValid());
    const QString path = dir_.filePath("factory.txt");
    QVERIFY(file::save(path, factory10A()));
    QCOMPARE(readAll(path), QByteArray("config\r\nAA,AA,D6,07;\r\nAA,C0;\r\nAE081DDD12F256\r\n"));

    SinglePortConfig loaded = before();
    const file::LoadResult result = file::load(path, loaded);
    QVERIFY(result.ok());
    QCOMPARE(result.errorCode, 0);
    // loeschen is taken from the file as well.
    QCOMPARE(loaded, factory10A());
}

void tst_SinglePortFile::roundTrip_data()
{
    QTest::addColumn<SinglePortConfig>("config");
    QTest::addColumn<QByteArray>("contents");

    QTest::newRow("FourChannel10A factory settings")
        << factory10A() << QByteArray("config\r\nAA,AA,D6,07;\r\nAA,C0;\r\nAE081DDD12F256\r\n");

    SinglePortConfig low;
    low.channel = {0, 0, 0, 0};
    low.powerGood = 0;
    low.tripDelay = 0;
    QTest::newRow("all OFF, 20,0 V, 0,1 s, leading zeros")
        << low << QByteArray("config\r\n00,00,C8,00;\r\n00,00;\r\nAE081DDD12F256\r\n");

    SinglePortConfig mixed;
    mixed.channel = {3, 1, 0, 2};
    mixed.powerGood = 40;
    mixed.tripDelay = 8;
    mixed.events = 0x5A;
    mixed.setSignalMask2(0xE3, true);
    QTest::newRow("channel 2 first in its byte, loeschen in bit 5")
        << mixed << QByteArray("config\r\n13,20,F0,08;\r\n5A,E3;\r\nAE081DDD12F256\r\n");

    SinglePortConfig tens;
    tens.channel = {10, 5, 9, 10};
    tens.powerGood = 9;
    tens.tripDelay = 5;
    tens.events = 0x0F;
    tens.setSignalMask2(0x20, true);
    QTest::newRow("upper-case digits A")
        << tens << QByteArray("config\r\n5A,A9,D1,05;\r\n0F,20;\r\nAE081DDD12F256\r\n");
}

void tst_SinglePortFile::roundTrip()
{
    QFETCH(SinglePortConfig, config);
    QFETCH(QByteArray, contents);
    const QString path = dir_.filePath(QStringLiteral("round-%1.txt").arg(QTest::currentDataTag()));
    QVERIFY(file::save(path, config));
    QCOMPARE(readAll(path), contents);

    SinglePortConfig loaded = before();
    QVERIFY(file::load(path, loaded).ok());
    QCOMPARE(loaded, config);
}

void tst_SinglePortFile::saveRefusesIncompleteConfiguration()
{
    const QString path = dir_.filePath("incomplete.txt");
    QVERIFY(writeAll(path, "old contents"));
    SinglePortConfig c = factory10A();
    c.tripDelay = NoSelection;
    QVERIFY(!file::contents(c));
    QVERIFY(!file::save(path, c));
    QCOMPARE(readAll(path), QByteArray("old contents"));
}

void tst_SinglePortFile::unreadableFileIsCode14()
{
    SinglePortConfig c = before();
    const file::LoadResult result = file::load(dir_.filePath("does-not-exist.txt"), c);
    QCOMPARE(result.errorCode, 14);
    QVERIFY(!result.notHexadecimal);
    QVERIFY(c.validate().any());
}

void tst_SinglePortFile::overlongLineIsCut()
{
    const QString path = dir_.filePath("long.txt");
    QVERIFY(writeAll(path, "config\n" + QByteArray(100000, 'A') + "\nAA,C0;\nAE081DDD12F256\n"));
    // The cut line 2 has the wrong length; lines 3 and 4 are still read.
    SinglePortConfig c = before();
    QCOMPARE(file::load(path, c).errorCode, 5);
}

void tst_SinglePortFile::errorCodes_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("code");
    // loeschen afterwards: taken from a line 3 whose last field was applied (C0: unchecked),
    // otherwise checked as before the load.
    QTest::addColumn<bool>("release");

    QTest::newRow("correct") << fileOf("AA,AA,D6,07;", "AA,C0;") << 0 << false;
    QTest::newRow("first line Config") << QStringList{"Config", "AA,AA,D6,07;", "AA,C0;", "AE081DDD12F256"} << 13 << true;
    QTest::newRow("marker in lower case") << QStringList{"config", "AA,AA,D6,07;", "AA,C0;", "ae081ddd12f256"} << 13 << true;
    QTest::newRow("marker with a trailing blank") << QStringList{"config", "AA,AA,D6,07;", "AA,C0;", "AE081DDD12F256 "} << 14 << true;
    QTest::newRow("first line 7 characters") << QStringList{"configs", "AA,AA,D6,07;", "AA,C0;", "AE081DDD12F256"} << 14 << true;
    QTest::newRow("four empty lines") << QStringList{"", "", "", ""} << 14 << true;
    QTest::newRow("13 hides errors of line 2") << QStringList{"CONFIG", "AA:AA", "A", "AE081DDD12F256"} << 13 << true;
    QTest::newRow("line 2, offset 2") << fileOf("AA;AA,D6,07;", "AA,C0;") << 1 << false;
    QTest::newRow("line 2, offset 5") << fileOf("AA,AA.D6,07;", "AA,C0;") << 2 << false;
    QTest::newRow("line 2, offset 8") << fileOf("AA,AA,D6;07;", "AA,C0;") << 3 << false;
    QTest::newRow("line 2 ends in a colon") << fileOf("AA,AA,D6,07:", "AA,C0;") << 4 << false;
    QTest::newRow("line 2, offsets 2 and 11: the last one counts") << fileOf("AA.AA,D6,07,", "AA,C0;") << 4 << false;
    QTest::newRow("line 2 11 characters") << fileOf("AA,AA,D6,07", "AA,C0;") << 5 << false;
    QTest::newRow("line 2 13 characters") << fileOf("AA,AA,D6,07;;", "AA,C0;") << 5 << false;
    QTest::newRow("line 3, offset 2") << fileOf("AA,AA,D6,07;", "AA;C0;") << 10 << false;
    QTest::newRow("line 3, offset 5") << fileOf("AA,AA,D6,07;", "AA,C0,") << 11 << true;
    QTest::newRow("line 3 5 characters") << fileOf("AA,AA,D6,07;", "AA,C0") << 12 << true;
    QTest::newRow("line 3 empty") << fileOf("AA,AA,D6,07;", "") << 12 << true;
    QTest::newRow("line 2 offset 2 and line 3 5 characters") << fileOf("AA;AA,D6,07;", "AA,C0") << 12 << true;
    QTest::newRow("line 2 too short and line 3 separator") << fileOf("AA", "AA;C0;") << 10 << false;
}

void tst_SinglePortFile::errorCodes()
{
    QFETCH(QStringList, lines);
    QFETCH(int, code);
    QFETCH(bool, release);
    SinglePortConfig c = before();
    const file::LoadResult result = file::apply(lines, c);
    QCOMPARE(result.errorCode, code);
    QCOMPARE(c.releaseTripped, release);
    QVERIFY(!result.notHexadecimal);
    QCOMPARE(result.ok(), code == 0);
    if (code == 0) {
        QCOMPARE(c, factory10A());
    } else {
        // Every list emptied, every box but loeschen unchecked.
        SinglePortConfig expected = before();
        expected.clearSelections();
        expected.uncheckBoxesKeepingRelease();
        expected.releaseTripped = release;
        QCOMPARE(c, expected);
    }
}

void tst_SinglePortFile::values_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QList<int>>("channels");
    QTest::addColumn<int>("powerGood");
    QTest::addColumn<int>("tripDelay");
    QTest::addColumn<int>("events");
    QTest::addColumn<int>("mask2");

    QTest::newRow("lower-case digits") << fileOf("aa,aa,d6,07;", "aa,c0;") << QList<int>{10, 10, 10, 10} << 14 << 7
                                       << 0xAA << 0xC0;
    QTest::newRow("mixed-case digits") << fileOf("aA,Aa,d6,07;", "Aa,c0;") << QList<int>{10, 10, 10, 10} << 14 << 7
                                       << 0xAA << 0xC0;
    QTest::newRow("C8 selects 20,0") << fileOf("21,43,C8,00;", "00,00;") << QList<int>{1, 2, 3, 4} << 0 << 0 << 0 << 0;
    QTest::newRow("F0 selects 24,0") << fileOf("00,00,F0,08;", "FF,FF;") << QList<int>{0, 0, 0, 0} << 40 << 8 << 0xFF
                                     << 0xE3;
    QTest::newRow("64 (100) selects 20,0") << fileOf("00,00,64,00;", "00,00;") << QList<int>{0, 0, 0, 0} << 0 << 0 << 0
                                           << 0;
    QTest::newRow("FF (255) selects nothing") << fileOf("00,00,FF,00;", "00,00;") << QList<int>{0, 0, 0, 0} << -1 << 0
                                              << 0 << 0;
    QTest::newRow("delay 09 selects nothing") << fileOf("00,00,C8,09;", "00,00;") << QList<int>{0, 0, 0, 0} << 0 << -1
                                              << 0 << 0;
    QTest::newRow("channel digit B selects nothing") << fileOf("B5,0C,C8,00;", "00,00;") << QList<int>{5, -1, -1, 0}
                                                     << 0 << 0 << 0 << 0;
    QTest::newRow("loeschen from bit 5") << fileOf("00,00,C8,00;", "00,20;") << QList<int>{0, 0, 0, 0} << 0 << 0 << 0
                                         << 0x20;
}

void tst_SinglePortFile::values()
{
    QFETCH(QStringList, lines);
    QFETCH(QList<int>, channels);
    QFETCH(int, powerGood);
    QFETCH(int, tripDelay);
    QFETCH(int, events);
    QFETCH(int, mask2);
    SinglePortConfig c = before();
    const file::LoadResult result = file::apply(lines, c);
    QVERIFY(result.ok());
    for (int i = 0; i < 4; ++i)
        QCOMPARE(c.channel[i], channels[i]);
    QCOMPARE(c.powerGood, powerGood);
    QCOMPARE(c.tripDelay, tripDelay);
    QCOMPARE(int(c.events), events);
    QCOMPARE(int(c.signalMask2()), mask2);
}

void tst_SinglePortFile::notHexadecimal_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("invalidText");
    // What the controls hold afterwards: what was applied before the bad text stays.
    QTest::addColumn<QList<int>>("channels");
    QTest::addColumn<int>("powerGood");
    QTest::addColumn<int>("tripDelay");
    QTest::addColumn<int>("events");

    // before(): channels 1 2 3 4, power good 33, delay 2, events 0x11
    QTest::newRow("channel 1 digit G: nothing applied") << fileOf("AG,AA,D6,07;", "AA,C0;") << "G"
                                                        << QList<int>{1, 2, 3, 4} << 33 << 2 << 0x11;
    QTest::newRow("channel 2 digit: channel 1 applied") << fileOf("x5,AA,D6,07;", "AA,C0;") << "x"
                                                        << QList<int>{5, 2, 3, 4} << 33 << 2 << 0x11;
    QTest::newRow("threshold DX: channels applied") << fileOf("21,43,DX,07;", "AA,C0;") << "DX"
                                                    << QList<int>{1, 2, 3, 4} << 33 << 2 << 0x11;
    QTest::newRow("threshold with a minus sign") << fileOf("56,78,-1,07;", "AA,C0;") << "-1"
                                                 << QList<int>{6, 5, 8, 7} << 33 << 2 << 0x11;
    QTest::newRow("delay with a blank") << fileOf("00,00,D6, 7;", "AA,C0;") << " 7"
                                        << QList<int>{0, 0, 0, 0} << 14 << 2 << 0x11;
    QTest::newRow("line 3 ZZ: line 2 applied") << fileOf("AA,AA,D6,07;", "ZZ,C0;") << "ZZ"
                                               << QList<int>{10, 10, 10, 10} << 14 << 7 << 0x11;
    QTest::newRow("signalMask2 G0: signalMask1 applied") << fileOf("AA,AA,D6,07;", "AA,G0;") << "G0"
                                                         << QList<int>{10, 10, 10, 10} << 14 << 7 << 0xAA;
    QTest::newRow("after an error code, the stop wins") << fileOf("AA;99,C8,G7;", "AA,C0;") << "G7"
                                                        << QList<int>{1, 2, 9, 9} << 0 << 2 << 0x11;
}

void tst_SinglePortFile::notHexadecimal()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, invalidText);
    QFETCH(QList<int>, channels);
    QFETCH(int, powerGood);
    QFETCH(int, tripDelay);
    QFETCH(int, events);
    SinglePortConfig c = before();
    const file::LoadResult result = file::apply(lines, c);
    QVERIFY(result.notHexadecimal);
    QVERIFY(!result.ok());
    QCOMPARE(result.errorCode, 0);
    QCOMPARE(result.invalidText, invalidText);
    for (int i = 0; i < 4; ++i)
        QCOMPARE(c.channel[i], channels[i]);
    QCOMPARE(c.powerGood, powerGood);
    QCOMPARE(c.tripDelay, tripDelay);
    QCOMPARE(int(c.events), events);
    QVERIFY(c.releaseTripped);
}

QTEST_GUILESS_MAIN(tst_SinglePortFile)
#include "tst_singleportfile.moc"
