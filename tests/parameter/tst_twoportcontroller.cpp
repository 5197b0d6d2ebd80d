#include "parameter/twoportcontroller.h"

#include "config/fakeline.h"
#include "hexbytes.h"
#include "twoporttestsupport.h"

#include <QtTest>

using namespace twoport;
using Colour = RetryProtocol::StatusColour;

Q_DECLARE_METATYPE(Language)

namespace {

const QString Port = QStringLiteral("\\\\.\\COM7");
const char *const FactoryTelegram = "FF F3 88 88 D6 02 80 08 C0 00 00 DD EE AF";
const char *const FactoryFile = "config\r\n88,88,D6,00,00;\r\n02,80,08,C0;\r\nAE081DDD12F256\r\n";
// Channels 1 A, 2 A, OFF, 8 A; trip indices 4, 1, 0, 0; 21,4 V; loeschen bit set by the module.
const char *const ReplyFields = "21 80 D6 05 C1 0A 42 14 00 31 2E 30 35";

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

TwoPortConfig factory()
{
    TwoPortConfig c;
    c.applyFactorySettings();
    return c;
}

} // namespace

class tst_TwoPortController : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void factorySettingsWritten_data();
    void factorySettingsWritten();
    void readAccepted();
    void readClearsTheFieldsFirst();
    void readRejected_data();
    void readRejected();
    void retriesEndInFailure();
    void writeRefused_data();
    void writeRefused();
    void retryReadsTheControlsAgain();
    void userChoiceHidesItsMarkerOnly_data();
    void userChoiceHidesItsMarkerOnly();
    void factorySettingsClearStatusAndMarkers();
    void load_data();
    void load();
    void loadStoppedByText();
    void saveRefused();
    void saveAndFailedSave();
    void closeStopsAndResets();

private:
    FakeLine *line_ = nullptr;
    TwoPortController *controller_ = nullptr;
    QTemporaryDir dir_;
};

void tst_TwoPortController::init()
{
    line_ = new FakeLine;
    controller_ = new TwoPortController(*line_);
    controller_->setPortDeviceName(Port);
    controller_->open();
}

void tst_TwoPortController::cleanup()
{
    delete controller_;
    delete line_;
}

void tst_TwoPortController::factorySettingsWritten_data()
{
    QTest::addColumn<Language>("language");
    QTest::addColumn<QString>("success");
    QTest::newRow("German") << Language::German << QStringLiteral("Übertragung erfolgreich!");
    QTest::newRow("English") << Language::English << QStringLiteral("Transmission successful!");
}

void tst_TwoPortController::factorySettingsWritten()
{
    QFETCH(Language, language);
    QFETCH(QString, success);
    controller_->setLanguage(language);
    controller_->enterFactorySettings();
    QVERIFY(line_->calls.isEmpty());   // nothing is sent by the factory settings

    line_->replies << hexBytes("AF");
    controller_->writeConfiguration();
    QCOMPARE(line_->written, QByteArrayList{hexBytes(FactoryTelegram)});
    QCOMPARE(line_->calls.first(), "open " + Port);
    QCOMPARE(line_->calls.last(), QStringLiteral("close"));
    const RetryProtocol &p = controller_->protocol();
    QCOMPARE(p.statusText(), success);
    QCOMPARE(p.statusColour(), Colour::Black);
    QVERIFY(p.statusVisible());
    QVERIFY(!p.retryActive());
    QVERIFY(p.clearingActive());
    QVERIFY(!controller_->markers().any());
}

void tst_TwoPortController::readAccepted()
{
    QSignalSpy changes(controller_, &TwoPortController::configChanged);
    controller_->config().loeschen = true;   // the read button unchecks it first
    line_->replies << twoPortReply(hexBytes(ReplyFields));
    controller_->readConfiguration();

    QCOMPARE(line_->written, QByteArrayList{hexBytes("FF FC")});
    QCOMPARE(controller_->configReply(), twoPortReply(hexBytes(ReplyFields)));
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
    QCOMPARE(controller_->config(), expected);

    const RetryProtocol &p = controller_->protocol();
    QCOMPARE(p.statusText(), QStringLiteral("Übertragung erfolgreich!"));
    QCOMPARE(p.statusColour(), Colour::Black);
    QVERIFY(p.clearingActive());
    QCOMPARE(p.versionText(), QStringLiteral("SW: 1.05"));
    QVERIFY(!p.versionVisible());
    controller_->protocol().revealVersion();
    QVERIFY(p.versionVisible());
    QVERIFY(!p.hotSpotVisible());

    // The write that follows sends what was read, loeschen still unchecked.
    line_->replies << QByteArray(1, char(0x00));
    controller_->writeConfiguration();
    QCOMPARE(line_->written.size(), 2);
    QCOMPARE(line_->written.at(1).mid(2, 9), hexBytes("21 80 D6 05 81 0A 42 14 00"));
}

void tst_TwoPortController::readClearsTheFieldsFirst()
{
    controller_->enterFactorySettings();
    controller_->config().loeschen = true;
    controller_->protocol().setVersionText(QStringLiteral("SW: 9.99"));
    controller_->readConfiguration();   // the module does not answer

    QCOMPARE(controller_->config(), TwoPortConfig());
    QCOMPARE(controller_->protocol().versionText(), QString());
    QVERIFY(controller_->protocol().retryActive());
    QVERIFY(controller_->protocol().readMode());
    QVERIFY(!controller_->protocol().statusVisible());
}

void tst_TwoPortController::readRejected_data()
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

void tst_TwoPortController::readRejected()
{
    QFETCH(QByteArray, reply);
    line_->replies << reply;
    controller_->readConfiguration();
    QCOMPARE(controller_->config(), TwoPortConfig());   // as the read button left it
    QVERIFY(controller_->protocol().retryActive());
    QVERIFY(!controller_->protocol().statusVisible());
    QCOMPARE(controller_->protocol().versionText(), QString());

    // A retry that gets the right answer ends the series.
    line_->replies << twoPortReply(hexBytes(ReplyFields));
    controller_->protocol().retryTick();
    QVERIFY(!controller_->protocol().retryActive());
    QCOMPARE(controller_->config().current[3], 8);
    QCOMPARE(controller_->protocol().statusText(), QStringLiteral("Übertragung erfolgreich!"));
}

void tst_TwoPortController::retriesEndInFailure()
{
    line_->usable = false;   // the port is held by another program
    controller_->readConfiguration();
    for (int tick = 1; tick < RetryProtocol::MaxRetries; ++tick) {
        controller_->protocol().retryTick();
        QVERIFY(controller_->protocol().retryActive());
        QVERIFY(!controller_->protocol().statusVisible());
    }
    controller_->protocol().retryTick();
    const RetryProtocol &p = controller_->protocol();
    QVERIFY(!p.retryActive());
    QCOMPARE(p.statusText(), QStringLiteral("Kommunikation fehlgeschlagen!"));
    QCOMPARE(p.statusColour(), Colour::Red);
    QCOMPARE(line_->calls.filter("write FF FC").size(), RetryProtocol::MaxRetries + 1);
    QCOMPARE(controller_->config(), TwoPortConfig());
}

void tst_TwoPortController::writeRefused_data()
{
    QTest::addColumn<QList<int>>("emptyChannels");
    QTest::addColumn<bool>("emptyPowerGood");
    QTest::newRow("k3 and threshold: both marked at once") << QList<int>{2} << true;
    QTest::newRow("k2 and k4") << QList<int>{1, 3} << false;
    QTest::newRow("everything: five markers") << QList<int>{0, 1, 2, 3} << true;
}

void tst_TwoPortController::writeRefused()
{
    QFETCH(QList<int>, emptyChannels);
    QFETCH(bool, emptyPowerGood);
    controller_->enterFactorySettings();
    for (int ch : emptyChannels) {
        controller_->config().setCurrent(ch, NoSelection);
        controller_->config().fillTripTimes(ch, NoSelection);
    }
    if (emptyPowerGood)
        controller_->config().selectPowerGood(NoSelection);
    controller_->setLanguage(Language::English);

    controller_->writeConfiguration();
    QVERIFY(line_->calls.isEmpty());
    const Markers m = controller_->markers();
    for (int ch = 0; ch < ChannelCount; ++ch)
        QCOMPARE(m.channel[ch], emptyChannels.contains(ch));
    QCOMPARE(m.powerGood, emptyPowerGood);
    QCOMPARE(controller_->protocol().statusText(), QStringLiteral("All labels fill correctly, please"));
    QCOMPARE(controller_->protocol().statusColour(), Colour::Red);
    QVERIFY(!controller_->protocol().retryActive());

    // The markers go at the start of the next attempt.
    controller_->enterFactorySettings();
    QVERIFY(!controller_->markers().any());
    controller_->writeConfiguration();
    QCOMPARE(line_->written, QByteArrayList{hexBytes(FactoryTelegram)});
}

void tst_TwoPortController::retryReadsTheControlsAgain()
{
    controller_->enterFactorySettings();
    controller_->writeConfiguration();   // not acknowledged
    QVERIFY(controller_->protocol().retryActive());
    controller_->chooseCurrent(1, 0);   // channel 2 OFF while the retries run
    line_->replies << QByteArray() << hexBytes("2F");
    controller_->protocol().retryTick();
    controller_->protocol().retryTick();
    QCOMPARE(line_->written.size(), 3);
    QCOMPARE(line_->written.at(0), hexBytes(FactoryTelegram));
    QCOMPARE(line_->written.at(2), hexBytes("FF F3 08 88 D6 02 80 08 C0 00 00 DD EE 2F"));
    QVERIFY(!controller_->protocol().retryActive());
    QCOMPARE(controller_->protocol().statusText(), QStringLiteral("Übertragung erfolgreich!"));
    QCOMPARE(line_->calls.filter("open " + Port).size(), 3);
}

void tst_TwoPortController::userChoiceHidesItsMarkerOnly_data()
{
    QTest::addColumn<int>("channel");   // -1: the threshold
    QTest::addColumn<int>("item");
    QTest::newRow("3 A for channel 1") << 0 << 3;
    QTest::newRow("OFF for channel 4") << 3 << 0;
    QTest::newRow("threshold 22,0") << -1 << 20;
}

void tst_TwoPortController::userChoiceHidesItsMarkerOnly()
{
    QFETCH(int, channel);
    QFETCH(int, item);
    controller_->writeConfiguration();   // everything empty: five markers
    Markers expected = controller_->markers();
    QVERIFY(expected.any());
    QSignalSpy changes(controller_, &TwoPortController::configChanged);

    if (channel < 0) {
        controller_->choosePowerGood(item);
        expected.powerGood = false;
        QCOMPARE(controller_->config().powerGood, item);
    } else {
        controller_->chooseCurrent(channel, item);
        expected.channel[channel] = false;
        QCOMPARE(controller_->config().current[channel], item);
        QCOMPARE(controller_->config().tripTimeCount[channel], tripTimeCountFor(item));
        QCOMPARE(controller_->config().tripTime[channel], tripTimeCountFor(item) - 1);
    }
    QCOMPARE(controller_->markers(), expected);
    QCOMPARE(changes.size(), 1);
    QVERIFY(line_->calls.isEmpty());
}

void tst_TwoPortController::factorySettingsClearStatusAndMarkers()
{
    controller_->writeConfiguration();   // refused: markers and red text
    QVERIFY(controller_->markers().any());
    QVERIFY(controller_->protocol().statusVisible());
    controller_->protocol().setVersionText(QStringLiteral("SW: 1.05"));
    controller_->enterFactorySettings();
    QVERIFY(!controller_->markers().any());
    QCOMPARE(controller_->protocol().statusText(), QString());
    QCOMPARE(controller_->protocol().versionText(), QStringLiteral("SW: 1.05"));   // sw is not touched
    QCOMPARE(controller_->config(), factory());
}

void tst_TwoPortController::load_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<Language>("language");
    QTest::addColumn<QString>("status");
    QTest::addColumn<bool>("red");

    QTest::newRow("correct") << QByteArray(FactoryFile) << Language::German
                             << QStringLiteral("Datei korrekt eingelesen") << false;
    QTest::newRow("correct, English") << QByteArray(FactoryFile) << Language::English
                                      << QStringLiteral("Read file correctly") << false;
    QTest::newRow("single-port file") << QByteArray("config\r\nAA,AA,D6,07;\r\nAA,C0;\r\nAE081DDD12F256\r\n")
                                      << Language::German << QStringLiteral("Datei fehlerhaft C11") << true;
    QTest::newRow("Config, English") << QByteArray("Config\r\n88,88,D6,00,00;\r\n02,80,08,C0;\r\nAE081DDD12F256\r\n")
                                     << Language::English << QStringLiteral("File error C12") << true;
    QTest::newRow("marker line missing") << QByteArray("config\r\n88,88,D6,00,00;\r\n02,80,08,C0;\r\n")
                                         << Language::German << QStringLiteral("Datei fehlerhaft C13") << true;
}

void tst_TwoPortController::load()
{
    QFETCH(QByteArray, contents);
    QFETCH(Language, language);
    QFETCH(QString, status);
    QFETCH(bool, red);
    const QString path = dir_.filePath(QStringLiteral("load-%1.txt").arg(QTest::currentDataTag()));
    QVERIFY(writeAll(path, contents));
    controller_->setLanguage(language);
    controller_->writeConfiguration();   // refused: markers shown
    QVERIFY(controller_->markers().any());

    const twoportfile::LoadResult result = controller_->loadFrom(path);
    QCOMPARE(result.ok(), !red);
    QVERIFY(!controller_->markers().any());
    QCOMPARE(controller_->protocol().statusText(), status);
    QCOMPARE(controller_->protocol().statusColour(), red ? Colour::Red : Colour::Black);
    QVERIFY(controller_->protocol().statusVisible());
    QVERIFY(controller_->protocol().clearingActive());
    QCOMPARE(controller_->config(), red ? TwoPortConfig() : factory());
    QVERIFY(line_->calls.isEmpty());
}

void tst_TwoPortController::loadStoppedByText()
{
    const QString path = dir_.filePath("nothex.txt");
    QVERIFY(writeAll(path, "config\r\n12,34,DX,00,00;\r\n02,80,08,C0;\r\nAE081DDD12F256\r\n"));
    const twoportfile::LoadResult result = controller_->loadFrom(path);
    QVERIFY(result.notHexadecimal);
    QCOMPARE(result.invalidText, QStringLiteral("DX"));
    QCOMPARE(notHexadecimalMessage(result.invalidText, Language::German),
             QStringLiteral("'DX' ist kein gültiger Hexadezimalwert."));
    QCOMPARE(controller_->protocol().statusText(), QString());
    QVERIFY(!controller_->protocol().clearingActive());
    // The currents before the bad text were entered; the trip-time lists are not rebuilt.
    QCOMPARE(controller_->config().current, (std::array<int, 4>{2, 1, 4, 3}));
    QCOMPARE(controller_->config().tripTimeCount, (std::array<int, 4>{0, 0, 0, 0}));
    QCOMPARE(controller_->config().powerGood, NoSelection);
}

void tst_TwoPortController::saveRefused()
{
    controller_->enterFactorySettings();
    controller_->config().setCurrent(1, NoSelection);
    controller_->config().selectPowerGood(NoSelection);
    QVERIFY(!controller_->prepareSave());
    Markers expected;
    expected.channel[1] = true;
    expected.powerGood = true;
    QCOMPARE(controller_->markers(), expected);
    QCOMPARE(controller_->protocol().statusText(), QStringLiteral("Bitte alle Felder korrekt ausfüllen"));
    QCOMPARE(controller_->protocol().statusColour(), Colour::Red);
    QVERIFY(controller_->protocol().statusVisible());

    controller_->chooseCurrent(1, 8);
    controller_->choosePowerGood(14);
    QVERIFY(controller_->prepareSave());
    QVERIFY(!controller_->markers().any());
    QCOMPARE(controller_->protocol().statusText(), QString());
}

void tst_TwoPortController::saveAndFailedSave()
{
    controller_->enterFactorySettings();
    QVERIFY(controller_->prepareSave());
    const QString path = dir_.filePath("saved.txt");
    QVERIFY(controller_->saveTo(path));
    QCOMPARE(readAll(path), QByteArray(FactoryFile));
    QCOMPARE(controller_->protocol().statusText(), QString());
    QVERIFY(!controller_->protocol().clearingActive());

    // Round trip through the dialog's own load.
    controller_->close();
    QCOMPARE(controller_->config(), TwoPortConfig());
    QVERIFY(controller_->loadFrom(path).ok());
    QCOMPARE(controller_->config(), factory());

    controller_->setLanguage(Language::English);
    QVERIFY(!controller_->saveTo(dir_.filePath("missing/folder/saved.txt")));
    QCOMPARE(controller_->protocol().statusText(), QStringLiteral("File could not be saved"));
    QCOMPARE(controller_->protocol().statusColour(), Colour::Red);
    QVERIFY(controller_->protocol().statusVisible());
}

void tst_TwoPortController::closeStopsAndResets()
{
    controller_->enterFactorySettings();
    controller_->config().loeschen = true;
    controller_->writeConfiguration();   // not acknowledged: retries run
    QVERIFY(controller_->protocol().retryActive());

    controller_->close();
    QVERIFY(!controller_->protocol().retryActive());
    QVERIFY(!controller_->protocol().clearingActive());
    QVERIFY(!controller_->protocol().statusVisible());
    QCOMPARE(controller_->protocol().versionText(), QString());
    QCOMPARE(controller_->config(), TwoPortConfig());   // loeschen and programmieren too
    QVERIFY(!controller_->markers().any());

    const int transactions = line_->calls.filter("open").size();
    QTest::qWait(700);
    QCOMPARE(line_->calls.filter("open").size(), transactions);
}

QTEST_GUILESS_MAIN(tst_TwoPortController)
#include "tst_twoportcontroller.moc"
