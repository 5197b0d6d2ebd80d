#include "parameter/twoportmodule.h"

#include "config/configmachinery.h"

#include "fakeline.h"
#include "linkwait.h"
#include "hexbytes.h"
#include "twoporttestsupport.h"

#include "testfiles.h"
#include <QtTest>

// What the two-port module adds to the shared flow (tst_configmachinery): the bytes it
// sends, what a reply, a file or a reset enters, which markers show.

using namespace twoport;

namespace {

const QString Port = QStringLiteral("\\\\.\\COM7");
const char *const FactoryTelegram = "FF F3 88 88 D6 02 80 08 C0 00 00 DD EE AF";
const char *const FactoryFile = "config\r\n88,88,D6,00,00;\r\n02,80,08,C0;\r\nAE081DDD12F256\r\n";
// Channels 1 A, 2 A, OFF, 8 A; trip indices 4, 1, 0, 0; 21,4 V; loeschen bit set by the module.
const char *const ReplyFields = "21 80 D6 05 C1 0A 42 14 00 31 2E 30 35";



TwoPortConfig factory()
{
    TwoPortConfig c;
    c.applyFactorySettings();
    return c;
}

} // namespace

class tst_TwoPortModule : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void factorySettingsWritten();
    void readAccepted();
    void readClearsTheFieldsFirst();
    void readRejected_data();
    void readRejected();
    void writeRefused_data();
    void writeRefused();
    void retryReadsTheControlsAgain();
    void userChoiceHidesItsMarkerOnly_data();
    void userChoiceHidesItsMarkerOnly();
    void factorySettingsEntered();
    void load_data();
    void load();
    void loadStoppedByText();
    void saveRefused();
    void saveAndLoadBack();
    void closeStopsAndResets();

private:
    FakeLine *line_ = nullptr;
    TwoPortModule *module_ = nullptr;
    ConfigMachinery *machinery_ = nullptr;
    QTemporaryDir dir_;
};

void tst_TwoPortModule::init()
{
    line_ = new FakeLine;
    module_ = new TwoPortModule;
    machinery_ = new ConfigMachinery(*module_, *line_, [] { return Port; });
}

void tst_TwoPortModule::cleanup()
{
    delete machinery_;
    delete module_;
    delete line_;
}

void tst_TwoPortModule::factorySettingsWritten()
{
    machinery_->enterFactorySettings();
    line_->replies << hexBytes("AF");   // the telegram's check byte
    machinery_->write();
    settle(machinery_->protocol());
    QCOMPARE(line_->written, QByteArrayList{hexBytes(FactoryTelegram)});
    QCOMPARE(machinery_->protocol().statusLine().text(), QStringLiteral("Übertragung erfolgreich!"));
    QVERIFY(!module_->markers().any());
}

void tst_TwoPortModule::readAccepted()
{
    QSignalSpy changes(module_, &TwoPortModule::configChanged);
    module_->config().loeschen = true;   // the read button unchecks it first
    line_->replies << twoPortReply(hexBytes(ReplyFields));
    machinery_->read();
    settle(machinery_->protocol());

    QVERIFY(changes.size() >= 2);   // emptied, then filled

    TwoPortConfig expected;
    setChannel(expected, 0, 1, 5, 4);             // 1 A, "1,5"
    setChannel(expected, 1, 2, 3, 1);             // 2 A, "0,2"
    setChannel(expected, 2, 0, 0, NoSelection);   // OFF: empty list
    setChannel(expected, 3, 8, 1, 0);             // 8 A, "0,1"
    expected.powerGood = 14;
    expected.port[0] = {0x05, LowInputVoltage | InvertOutput};
    expected.port[1] = {0x0A, HardwareFault};
    expected.programmieren = true;
    expected.loeschen = false;   // bit 6 of port1Byte2 is not taken over
    QCOMPARE(module_->config(), expected);

    // Offsets 11 to 14 of the reply.
    QCOMPARE(machinery_->protocol().statusLine().versionText(), QStringLiteral("SW: 1.05"));

    // The write that follows sends what was read, loeschen still unchecked.
    line_->replies << QByteArray(1, char(0x00));
    machinery_->write();
    settle(machinery_->protocol());
    QCOMPARE(line_->written.size(), 2);
    QCOMPARE(line_->written.at(1).mid(2, 9), hexBytes("21 80 D6 05 81 0A 42 14 00"));
}

void tst_TwoPortModule::readClearsTheFieldsFirst()
{
    machinery_->enterFactorySettings();
    module_->config().loeschen = true;
    machinery_->protocol().statusLine().setVersionText(QStringLiteral("SW: 9.99"));
    machinery_->read();
    settle(machinery_->protocol());   // the module does not answer

    QCOMPARE(module_->config(), TwoPortConfig());   // loeschen too
}

void tst_TwoPortModule::readRejected_data()
{
    QTest::addColumn<QByteArray>("reply");
    const QByteArray fields = hexBytes(ReplyFields);
    QTest::newRow("29 bytes") << twoPortReply(fields, 0x15, 29);
    QTest::newRow("single-port type 17") << twoPortReply(fields, 0x17);
    QTest::newRow("single-port type 11") << twoPortReply(fields, 0x11);
    QByteArray check = twoPortReply(fields);
    check[28] = char(quint8(check.at(28)) ^ 0x80);
    QTest::newRow("wrong check byte") << check;
    QTest::newRow("silence") << QByteArray();
}

void tst_TwoPortModule::readRejected()
{
    QFETCH(QByteArray, reply);
    line_->replies << reply;
    machinery_->read();
    settle(machinery_->protocol());
    QCOMPARE(module_->config(), TwoPortConfig());   // as the read button left it
    QVERIFY(machinery_->protocol().retryActive());

    // A retry that gets the right answer ends the series.
    line_->replies << twoPortReply(hexBytes(ReplyFields));
    machinery_->protocol().retryTick();
    settle(machinery_->protocol());
    QVERIFY(!machinery_->protocol().retryActive());
    QCOMPARE(module_->config().current[3], 8);
}

void tst_TwoPortModule::writeRefused_data()
{
    QTest::addColumn<QList<int>>("emptyChannels");
    QTest::addColumn<bool>("emptyPowerGood");
    QTest::newRow("k3 and threshold: both marked at once") << QList<int>{2} << true;
    QTest::newRow("k2 and k4") << QList<int>{1, 3} << false;
    QTest::newRow("everything: five markers") << QList<int>{0, 1, 2, 3} << true;
}

void tst_TwoPortModule::writeRefused()
{
    QFETCH(QList<int>, emptyChannels);
    QFETCH(bool, emptyPowerGood);
    machinery_->enterFactorySettings();
    for (int ch : emptyChannels) {
        module_->config().selectCurrent(ch, NoSelection);
        module_->config().fillTripTimes(ch, NoSelection);
    }
    if (emptyPowerGood)
        module_->config().selectPowerGood(NoSelection);

    machinery_->write();
    settle(machinery_->protocol());
    QVERIFY(line_->calls.isEmpty());
    const Markers m = module_->markers();
    for (int ch = 0; ch < ChannelCount; ++ch)
        QCOMPARE(m.channel[ch], emptyChannels.contains(ch));
    QCOMPARE(m.powerGood, emptyPowerGood);
}

void tst_TwoPortModule::retryReadsTheControlsAgain()
{
    machinery_->enterFactorySettings();
    machinery_->write();
    settle(machinery_->protocol());   // not acknowledged
    QVERIFY(machinery_->protocol().retryActive());
    module_->chooseCurrent(1, 0);   // channel 2 OFF while the retries run
    line_->replies << QByteArray() << hexBytes("2F");
    machinery_->protocol().retryTick();
    settle(machinery_->protocol());
    machinery_->protocol().retryTick();
    settle(machinery_->protocol());
    QCOMPARE(line_->written.size(), 3);
    QCOMPARE(line_->written.at(0), hexBytes(FactoryTelegram));
    QCOMPARE(line_->written.at(2), hexBytes("FF F3 08 88 D6 02 80 08 C0 00 00 DD EE 2F"));
    QVERIFY(!machinery_->protocol().retryActive());   // acknowledged by the new check byte
}

void tst_TwoPortModule::userChoiceHidesItsMarkerOnly_data()
{
    QTest::addColumn<int>("channel");   // -1: the threshold
    QTest::addColumn<int>("item");
    QTest::newRow("3 A for channel 1") << 0 << 3;
    QTest::newRow("OFF for channel 4") << 3 << 0;
    QTest::newRow("threshold 22,0") << -1 << 20;
}

void tst_TwoPortModule::userChoiceHidesItsMarkerOnly()
{
    QFETCH(int, channel);
    QFETCH(int, item);
    machinery_->write();
    settle(machinery_->protocol());   // everything empty: five markers
    Markers expected = module_->markers();
    QVERIFY(expected.any());
    QSignalSpy changes(module_, &TwoPortModule::configChanged);

    if (channel < 0) {
        module_->choosePowerGood(item);
        expected.powerGood = false;
        QCOMPARE(module_->config().powerGood, item);
    } else {
        module_->chooseCurrent(channel, item);
        expected.channel[channel] = false;
        QCOMPARE(module_->config().current[channel], item);
        QCOMPARE(module_->config().tripTimeCount[channel], tripTimeCountFor(item));
        QCOMPARE(module_->config().tripTime[channel], tripTimeCountFor(item) - 1);
    }
    QCOMPARE(module_->markers(), expected);
    QCOMPARE(changes.size(), 1);
    QVERIFY(line_->calls.isEmpty());
}

void tst_TwoPortModule::factorySettingsEntered()
{
    machinery_->write();
    settle(machinery_->protocol());   // refused: five markers
    QVERIFY(module_->markers().any());
    QSignalSpy changes(module_, &TwoPortModule::configChanged);
    machinery_->enterFactorySettings();
    QVERIFY(!module_->markers().any());
    QCOMPARE(module_->config(), factory());
    QCOMPARE(changes.size(), 1);
}

void tst_TwoPortModule::load_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("status");

    QTest::newRow("correct") << QByteArray(FactoryFile) << QStringLiteral("Datei korrekt eingelesen");
    QTest::newRow("single-port file") << QByteArray("config\r\nAA,AA,D6,07;\r\nAA,C0;\r\nAE081DDD12F256\r\n")
                                      << QStringLiteral("Datei fehlerhaft C11");
    QTest::newRow("Config") << QByteArray("Config\r\n88,88,D6,00,00;\r\n02,80,08,C0;\r\nAE081DDD12F256\r\n")
                            << QStringLiteral("Datei fehlerhaft C12");
    QTest::newRow("marker line missing") << QByteArray("config\r\n88,88,D6,00,00;\r\n02,80,08,C0;\r\n")
                                         << QStringLiteral("Datei fehlerhaft C13");
}

void tst_TwoPortModule::load()
{
    QFETCH(QByteArray, contents);
    QFETCH(QString, status);
    const QString path = dir_.filePath(QStringLiteral("load-%1.txt").arg(QTest::currentDataTag()));
    QVERIFY(writeAll(path, contents));
    QSignalSpy changes(module_, &TwoPortModule::configChanged);

    const configfile::LoadResult result = machinery_->loadFrom(path);
    QCOMPARE(machinery_->protocol().statusLine().text(), status);
    QCOMPARE(module_->config(), result.ok() ? factory() : TwoPortConfig());
    QCOMPARE(changes.size(), 1);
}

void tst_TwoPortModule::loadStoppedByText()
{
    const QString path = dir_.filePath("nothex.txt");
    QVERIFY(writeAll(path, "config\r\n12,34,DX,00,00;\r\n02,80,08,C0;\r\nAE081DDD12F256\r\n"));
    const configfile::LoadResult result = machinery_->loadFrom(path);
    QVERIFY(result.notHexadecimal);
    QCOMPARE(result.invalidText, QStringLiteral("DX"));
    // The currents before the bad text were entered; the trip-time lists are not rebuilt.
    QCOMPARE(module_->config().current, (std::array<int, 4>{2, 1, 4, 3}));
    QCOMPARE(module_->config().tripTimeCount, (std::array<int, 4>{0, 0, 0, 0}));
    QCOMPARE(module_->config().powerGood, NoSelection);
}

void tst_TwoPortModule::saveRefused()
{
    machinery_->enterFactorySettings();
    module_->config().selectCurrent(1, NoSelection);
    module_->config().selectPowerGood(NoSelection);
    QVERIFY(!machinery_->prepareSave());
    Markers expected;
    expected.channel[1] = true;
    expected.powerGood = true;
    QCOMPARE(module_->markers(), expected);

    module_->chooseCurrent(1, 8);
    module_->choosePowerGood(14);
    QVERIFY(machinery_->prepareSave());
    QVERIFY(!module_->markers().any());
}

void tst_TwoPortModule::saveAndLoadBack()
{
    machinery_->enterFactorySettings();
    QVERIFY(machinery_->prepareSave());
    const QString path = dir_.filePath("saved.txt");
    QVERIFY(machinery_->saveTo(path));
    QCOMPARE(readAll(path), QByteArray(FactoryFile));

    // Round trip through the dialog's own load.
    machinery_->close();
    QCOMPARE(module_->config(), TwoPortConfig());
    QVERIFY(machinery_->loadFrom(path).ok());
    QCOMPARE(module_->config(), factory());

    QVERIFY(!machinery_->saveTo(dir_.filePath("missing/folder/saved.txt")));
    QCOMPARE(readAll(path), QByteArray(FactoryFile));
}

void tst_TwoPortModule::closeStopsAndResets()
{
    machinery_->enterFactorySettings();
    module_->config().loeschen = true;
    machinery_->write();
    settle(machinery_->protocol());   // not acknowledged: retries run
    QVERIFY(machinery_->protocol().retryActive());

    machinery_->close();
    QVERIFY(!machinery_->protocol().retryActive());
    QCOMPARE(module_->config(), TwoPortConfig());   // loeschen and programmieren too
    QVERIFY(!module_->markers().any());
}

QTEST_GUILESS_MAIN(tst_TwoPortModule)
#include "tst_twoportmodule.moc"
