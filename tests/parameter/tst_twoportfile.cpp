#include "parameter/twoportfile.h"
#include "parameter2/singleportfile.h"
#include "twoporttestsupport.h"

#include "testfiles.h"
#include <QtTest>

using namespace twoport;
namespace file = twoportfile;

namespace {

const QString Line2Factory = QStringLiteral("88,88,D6,00,00;");
const QString Line3Factory = QStringLiteral("02,80,08,C0;");

TwoPortConfig factory()
{
    TwoPortConfig c;
    c.applyFactorySettings();
    return c;
}

// What the dialog holds before a load: values that no file below carries, loeschen checked.
TwoPortConfig before()
{
    TwoPortConfig c;
    for (int ch = 0; ch < ChannelCount; ++ch)
        c.chooseCurrent(ch, 3);   // two times, "0,2"
    c.selectPowerGood(33);
    c.port[0] = {0x11, LowInputVoltage};
    c.port[1] = {0x44, HardwareFault};
    c.loeschen = true;
    c.programmieren = false;
    return c;
}

QStringList fileOf(const QString &line2, const QString &line3)
{
    return {"config", line2, line3, "AE081DDD12F256"};
}

// The ports as the factory line 3 sets them.
void factoryPorts(TwoPortConfig &c)
{
    const TwoPortConfig f = factory();
    c.port = f.port;
    c.loeschen = f.loeschen;
    c.programmieren = f.programmieren;
}

// The channels and threshold as the factory line 2 sets them.
void factoryChannels(TwoPortConfig &c)
{
    const TwoPortConfig f = factory();
    c.current = f.current;
    c.tripTimeCount = f.tripTimeCount;
    c.tripTime = f.tripTime;
    c.powerGood = f.powerGood;
}



} // namespace

class tst_TwoPortFile : public QObject
{
    Q_OBJECT
private slots:
    void factorySettingsFile();
    void roundTrip_data();
    void roundTrip();
    void saveRefusesIncompleteConfiguration();
    void load_data();
    void load();
    void notHexadecimal_data();
    void notHexadecimal();
    void singlePortLoaderRefusesTwoPortFile();

private:
    QTemporaryDir dir_;
};

void tst_TwoPortFile::factorySettingsFile()
{
    QVERIFY(dir_.isValid());
    const QString path = dir_.filePath("factory.txt");
    QVERIFY(file::save(path, factory()));
    QCOMPARE(readAll(path), QByteArray("config\r\n88,88,D6,00,00;\r\n02,80,08,C0;\r\nAE081DDD12F256\r\n"));

    TwoPortConfig loaded = before();
    const file::LoadResult result = file::load(path, loaded);
    QVERIFY(result.ok());
    QCOMPARE(result.errorCode, 0);
    QCOMPARE(loaded, factory());
}

void tst_TwoPortFile::roundTrip_data()
{
    QTest::addColumn<TwoPortConfig>("config");
    QTest::addColumn<QByteArray>("contents");

    QTest::newRow("factory settings")
        << factory() << QByteArray("config\r\n88,88,D6,00,00;\r\n02,80,08,C0;\r\nAE081DDD12F256\r\n");

    TwoPortConfig off;
    off.chooseCurrent(0, 0);   // OFF
    off.chooseCurrent(1, 1);   // 1 A, "1,5"
    off.chooseCurrent(2, 2);   // 2 A, "0,5"
    off.chooseCurrent(3, 5);   // 5 A, "0,1"
    off.selectPowerGood(0);
    off.port[0] = {0x5A, LowInputVoltage | HardwareFault};
    off.port[1] = {0xA5, InvertOutput};
    off.loeschen = true;
    QTest::newRow("channel 1 OFF, channel 2 1 A at 1,5: T12 is 40")
        << off << QByteArray("config\r\n10,52,C8,40,02;\r\n5A,43,A5,80;\r\nAE081DDD12F256\r\n");

    TwoPortConfig all;
    for (int ch = 0; ch < ChannelCount; ++ch) {
        all.chooseCurrent(ch, 1);
        all.selectTripTime(ch, 3);
    }
    all.selectPowerGood(40);
    all.port[0] = {0xFF, OutputFlagBits};
    all.port[1] = {0xFF, OutputFlagBits};
    all.loeschen = true;
    all.programmieren = true;
    QTest::newRow("every box, 24,0 V")
        << all << QByteArray("config\r\n11,11,F0,33,33;\r\nFF,C3,FF,C3;\r\nAE081DDD12F256\r\n");
}

void tst_TwoPortFile::roundTrip()
{
    QFETCH(TwoPortConfig, config);
    QFETCH(QByteArray, contents);
    const QString path = dir_.filePath(QStringLiteral("round-%1.txt").arg(QTest::currentDataTag()));
    QVERIFY(file::save(path, config));
    QCOMPARE(readAll(path), contents);

    TwoPortConfig loaded = before();
    QVERIFY(file::load(path, loaded).ok());
    QCOMPARE(loaded, config);
}

void tst_TwoPortFile::saveRefusesIncompleteConfiguration()
{
    const QString path = dir_.filePath("incomplete.txt");
    QVERIFY(writeAll(path, "old contents"));
    TwoPortConfig c = factory();
    c.selectCurrent(3, NoSelection);
    QVERIFY(!file::contents(c));
    QVERIFY(!file::save(path, c));
    QCOMPARE(readAll(path), QByteArray("old contents"));
}

void tst_TwoPortFile::load_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("errorCode");
    QTest::addColumn<TwoPortConfig>("expected");

    const TwoPortConfig b = before();

    QTest::newRow("factory example") << fileOf(Line2Factory, Line3Factory) << 0 << factory();
    QTest::newRow("Config with capital C: 12")
        << QStringList{"Config", Line2Factory, Line3Factory, "AE081DDD12F256"} << 12 << b;
    QTest::newRow("marker in lower case: 12")
        << QStringList{"config", Line2Factory, Line3Factory, "ae081ddd12f256"} << 12 << b;
    QTest::newRow("config followed by a space: 13")
        << QStringList{"config ", Line2Factory, Line3Factory, "AE081DDD12F256"} << 13 << b;
    QTest::newRow("marker line missing: 13") << QStringList{"config", Line2Factory, Line3Factory, ""} << 13 << b;
    QTest::newRow("empty file: 13") << QStringList{"", "", "", ""} << 13 << b;

    {
        TwoPortConfig e = factory();
        setChannel(e, 0, 3, 2, 0);   // the old current, list rebuilt, trip time from the file
        setChannel(e, 1, 3, 2, 0);
        QTest::newRow("semicolon at offset 2: 1, channels 1 and 2 keep their currents")
            << fileOf("88;88,D6,00,00;", Line3Factory) << 1 << e;
        QTest::newRow("text behind a wrong separator is not read: 1")
            << fileOf("XY;88,D6,00,00;", Line3Factory) << 1 << e;
    }
    {
        TwoPortConfig e = factory();
        setChannel(e, 2, 3, 2, 0);
        setChannel(e, 3, 3, 2, 0);
        QTest::newRow("offset 5: 2") << fileOf("88,88;D6,00,00;", Line3Factory) << 2 << e;
    }
    {
        TwoPortConfig e = factory();
        e.powerGood = b.powerGood;
        QTest::newRow("offset 8: 3") << fileOf("88,88,D6;00,00;", Line3Factory) << 3 << e;
    }
    {
        TwoPortConfig e = b;
        factoryPorts(e);
        setChannel(e, 0, 1, 5, NoSelection);   // rebuilt, no default time
        setChannel(e, 1, 1, 5, NoSelection);
        setChannel(e, 2, 1, 5, 4);
        setChannel(e, 3, 1, 5, 4);
        e.powerGood = 14;
        QTest::newRow("offset 11: 4, trip times 1 and 2 not entered")
            << fileOf("11,11,D6,44;44;", Line3Factory) << 4 << e;
    }
    {
        TwoPortConfig e = b;
        factoryPorts(e);
        setChannel(e, 0, 1, 5, 4);
        setChannel(e, 1, 1, 5, 4);
        setChannel(e, 2, 1, 5, NoSelection);
        setChannel(e, 3, 1, 5, NoSelection);
        e.powerGood = 14;
        QTest::newRow("offset 14: 5, trip times 3 and 4 not entered")
            << fileOf("11,11,D6,44,44,", Line3Factory) << 5 << e;
    }
    {
        TwoPortConfig e = b;
        factoryPorts(e);
        QTest::newRow("line 2 of 14 characters: 6, line 3 still entered")
            << fileOf("88,88,D6,00,00", Line3Factory) << 6 << e;
    }
    {
        TwoPortConfig e = factory();
        e.port[0].events = b.port[0].events;
        QTest::newRow("line 3 offset 2: 7") << fileOf(Line2Factory, "02;80,08,C0;") << 7 << e;
    }
    {
        TwoPortConfig e = factory();
        e.port[0].flags = b.port[0].flags;
        e.loeschen = b.loeschen;
        QTest::newRow("line 3 offset 5: 8, loeschen kept") << fileOf(Line2Factory, "02,80;08,C0;") << 8 << e;
    }
    {
        TwoPortConfig e = factory();
        e.port[1].events = b.port[1].events;
        QTest::newRow("line 3 offset 8: 9") << fileOf(Line2Factory, "02,80,08;C0;") << 9 << e;
    }
    {
        TwoPortConfig e = factory();
        e.port[1].flags = b.port[1].flags;
        e.programmieren = b.programmieren;
        QTest::newRow("line 3 offset 11: 10") << fileOf(Line2Factory, "02,80,08,C0,") << 10 << e;
    }
    {
        TwoPortConfig e = b;
        factoryChannels(e);
        QTest::newRow("line 3 of 11 characters: 11") << fileOf(Line2Factory, "02,80,08,C0") << 11 << e;
    }
    QTest::newRow("line 2 of 14 and line 3 of 11: the later 11, nothing entered")
        << fileOf("88,88,D6,00,00", "02,80,08,C0") << 11 << b;
    QTest::newRow("single-port file: 11, nothing entered") << fileOf("AA,AA,D6,07;", "AA,C0;") << 11 << b;
    {
        TwoPortConfig e = factory();
        setChannel(e, 0, 3, 2, 0);
        setChannel(e, 1, 3, 2, 0);
        e.powerGood = b.powerGood;
        e.port[1].flags = b.port[1].flags;
        e.programmieren = b.programmieren;
        QTest::newRow("errors 1, 3 and 10: the last one wins")
            << fileOf("88;88,D6;00,00;", "02,80,08,C0,") << 10 << e;
    }
    {
        TwoPortConfig e = factory();
        setChannel(e, 0, 0, 0, NoSelection);
        setChannel(e, 1, 1, 5, 4);
        QTest::newRow("T12 40: channel 2 1,5, channel 1 OFF and empty")
            << fileOf("10,88,D6,40,00;", Line3Factory) << 0 << e;
    }
    QTest::newRow("PG 0E selects 21,4") << fileOf("88,88,0E,00,00;", Line3Factory) << 0 << factory();
    {
        TwoPortConfig e = factory();
        e.powerGood = NoSelection;
        QTest::newRow("PG FF selects nothing") << fileOf("88,88,FF,00,00;", Line3Factory) << 0 << e;
    }
    {
        TwoPortConfig e = factory();
        e.loeschen = true;
        QTest::newRow("P12 C0 checks loeschen") << fileOf(Line2Factory, "02,C0,08,C0;") << 0 << e;
    }
    QTest::newRow("bits 2 to 5 of P12 and P22 ignored") << fileOf(Line2Factory, "02,BC,08,FC;") << 0 << factory();
    QTest::newRow("lower-case digits") << fileOf("88,88,d6,00,00;", "02,80,08,c0;") << 0 << factory();
    {
        TwoPortConfig e = factory();
        setChannel(e, 1, NoSelection, 0, NoSelection);
        QTest::newRow("current digit 9 selects nothing, empty list")
            << fileOf("98,88,D6,00,00;", Line3Factory) << 0 << e;
    }
    {
        TwoPortConfig e = factory();
        for (int ch = 0; ch < ChannelCount; ++ch)
            setChannel(e, ch, 1, 5, ch < 2 ? NoSelection : 0);
        QTest::newRow("trip digit 5 for 1 A: no default time")
            << fileOf("11,11,D6,55,00;", Line3Factory) << 0 << e;
    }
    {
        TwoPortConfig e = factory();
        for (int ch = 0; ch < ChannelCount; ++ch)
            setChannel(e, ch, 2, 3, ch < 2 ? NoSelection : 2);
        QTest::newRow("trip digit 4 beyond a 2 A list")
            << fileOf("22,22,D6,44,22;", Line3Factory) << 0 << e;
    }
    QTest::newRow("trip digit 7 for 8 A keeps 0,1") << fileOf("88,88,D6,77,00;", Line3Factory) << 0 << factory();
}

void tst_TwoPortFile::load()
{
    QFETCH(QStringList, lines);
    QFETCH(int, errorCode);
    QFETCH(TwoPortConfig, expected);

    TwoPortConfig c = before();
    const file::LoadResult result = file::apply(lines, c);
    QCOMPARE(result.errorCode, errorCode);
    QVERIFY(!result.notHexadecimal);
    QCOMPARE(result.ok(), errorCode == 0);
    QCOMPARE(c, expected);

    // The same through a file on disk.
    const QString path = dir_.filePath(QStringLiteral("load-%1.txt").arg(QTest::currentDataTag()));
    QVERIFY(writeAll(path, lines.join("\r\n").toLatin1() + "\r\n"));
    TwoPortConfig fromDisk = before();
    QCOMPARE(file::load(path, fromDisk).errorCode, errorCode);
    QCOMPARE(fromDisk, expected);
}

void tst_TwoPortFile::notHexadecimal_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("invalidText");
    QTest::addColumn<TwoPortConfig>("expected");

    const TwoPortConfig b = before();
    {
        TwoPortConfig e = b;
        // Entered before the stop; the trip-time lists are not rebuilt: its list stays.
        e.current[0] = 8;
        QTest::newRow("channel 2 digit G") << fileOf("G8,88,D6,00,00;", Line3Factory) << "G" << e;
    }
    {
        TwoPortConfig e = b;
        for (int ch = 0; ch < ChannelCount; ++ch)
            e.current[ch] = 8;   // the trip-time lists are not rebuilt
        QTest::newRow("threshold X6") << fileOf("88,88,X6,00,00;", Line3Factory) << "X6" << e;
    }
    {
        TwoPortConfig e = b;
        factoryChannels(e);
        QTest::newRow("trip time of channel 1 Z") << fileOf("88,88,D6,0Z,00;", Line3Factory) << "Z" << e;
    }
    {
        TwoPortConfig e = factory();
        e.port[1] = b.port[1];
        e.programmieren = b.programmieren;
        QTest::newRow("P21 0?") << fileOf(Line2Factory, "02,80,0?,C0;") << "0?" << e;
    }
}

void tst_TwoPortFile::notHexadecimal()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, invalidText);
    QFETCH(TwoPortConfig, expected);
    TwoPortConfig c = before();
    const file::LoadResult result = file::apply(lines, c);
    QVERIFY(result.notHexadecimal);
    QVERIFY(!result.ok());
    QCOMPARE(result.errorCode, 0);
    QCOMPARE(result.invalidText, invalidText);
    QCOMPARE(c, expected);
}

void tst_TwoPortFile::singlePortLoaderRefusesTwoPortFile()
{
    SinglePortConfig single;
    single.rebuildChannelLists(ModuleVariant::FourChannel10A);
    single.applyFactorySettings(ModuleVariant::FourChannel10A);
    const singleportfile::LoadResult result = singleportfile::apply(fileOf(Line2Factory, Line3Factory), single);
    // Its data lines have other lengths: the last failed check is the one of line 3.
    QVERIFY(!result.ok());
    QCOMPARE(result.errorCode, int(singleportfile::Line3Length));
    // Nothing of the two-port data lines (8 A, 21,4 V) reaches the single-port controls.
    for (int ch = 0; ch < ChannelCount; ++ch)
        QVERIFY(single.channel[ch] != 8);
    QVERIFY(single.powerGood != FactoryPowerGoodIndex);
}

QTEST_GUILESS_MAIN(tst_TwoPortFile)
#include "tst_twoportfile.moc"
