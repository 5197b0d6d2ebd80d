#include "parameter2/singleportcontroller.h"

#include "config/fakeline.h"
#include "hexbytes.h"

#include <QtTest>

using namespace singleport;
using Colour = RetryProtocol::StatusColour;

Q_DECLARE_METATYPE(ModuleVariant)
Q_DECLARE_METATYPE(Language)

namespace {

const QString Port = QStringLiteral("\\\\.\\COM4");
const char *const Reply17 = "E4 17 34 12 C8 05 03 00 C7 31 2E 30 35 00 00 00 00 00 00 00 00 00 00 00 00 00 35 E4 16";
const char *const Reply11 = "E4 11 BB FF FF 00 42 00 00 30 30 30 30 00 00 00 00 00 00 00 00 00 00 00 00 00 F9";

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

} // namespace

class tst_SinglePortController : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void open_data();
    void open();
    void factorySettingsWritten_data();
    void factorySettingsWritten();
    void readAccepted();
    void readClearsTheFieldsFirst();
    void readRejected_data();
    void readRejected();
    void fourChannelReplyShowsChannels34Again();
    void writeRefused_data();
    void writeRefused();
    void retryReadsTheControlsAgain();
    void factorySettingsClearStatusAndMarkers();
    void load_data();
    void load();
    void loadStoppedByText();
    void saveRefused();
    void saveAndFailedSave();
    void closeStopsAndResets();

private:
    FakeLine *line_ = nullptr;
    SinglePortController *controller_ = nullptr;
    QTemporaryDir dir_;
};

void tst_SinglePortController::init()
{
    line_ = new FakeLine;
    controller_ = new SinglePortController(*line_);
    controller_->setPortDeviceName(Port);
}

void tst_SinglePortController::cleanup()
{
    delete controller_;
    delete line_;
}

void tst_SinglePortController::open_data()
{
    QTest::addColumn<ModuleVariant>("variant");
    QTest::addColumn<bool>("hidden");
    QTest::addColumn<QList<int>>("listSizes");
    QTest::newRow("FourChannel10A") << ModuleVariant::FourChannel10A << false << QList<int>{11, 11, 11, 11};
    QTest::newRow("FourChannel6A") << ModuleVariant::FourChannel6A << false << QList<int>{7, 7, 7, 7};
    QTest::newRow("TwoChannel10A") << ModuleVariant::TwoChannel10A << true << QList<int>{11, 11, 7, 7};
    QTest::newRow("TwoChannel6A") << ModuleVariant::TwoChannel6A << true << QList<int>{7, 7, 7, 7};
}

void tst_SinglePortController::open()
{
    QFETCH(ModuleVariant, variant);
    QFETCH(bool, hidden);
    QFETCH(QList<int>, listSizes);
    controller_->config().channel = {1, 1, 1, 1};
    controller_->open(variant);
    QCOMPARE(controller_->currentVariant(), variant);
    QCOMPARE(controller_->channels34Hidden(), hidden);
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(controller_->config().channelListSize[i], listSizes[i]);
        QCOMPARE(controller_->config().channel[i], NoSelection);
    }
    QVERIFY(line_->calls.isEmpty());
}

void tst_SinglePortController::factorySettingsWritten_data()
{
    QTest::addColumn<ModuleVariant>("variant");
    QTest::addColumn<QByteArray>("telegram");
    QTest::newRow("FourChannel10A") << ModuleVariant::FourChannel10A << hexBytes("FF F3 AA AA D6 AA C0 0F 9F DD EE 1F");
    QTest::newRow("FourChannel6A") << ModuleVariant::FourChannel6A << hexBytes("FF F3 66 66 D6 AA C0 0F 9F DD EE 1F");
    QTest::newRow("TwoChannel10A") << ModuleVariant::TwoChannel10A << hexBytes("FF F3 AA 66 D6 AA C0 0F 9F DD EE D3");
    QTest::newRow("TwoChannel6A") << ModuleVariant::TwoChannel6A << hexBytes("FF F3 66 66 D6 AA C0 0F 9F DD EE 1F");
}

void tst_SinglePortController::factorySettingsWritten()
{
    QFETCH(ModuleVariant, variant);
    QFETCH(QByteArray, telegram);
    controller_->open(variant);
    controller_->enterFactorySettings();
    QVERIFY(line_->calls.isEmpty());   // nothing is sent by the factory settings

    line_->replies << telegram.right(1);
    controller_->writeConfiguration();
    QCOMPARE(line_->written, QByteArrayList{telegram});
    QCOMPARE(controller_->protocol().statusText(), QStringLiteral("Übertragung erfolgreich!"));
    QCOMPARE(controller_->protocol().statusColour(), Colour::Black);
    QVERIFY(!controller_->protocol().retryActive());
    QVERIFY(!controller_->markers().any());
}

void tst_SinglePortController::readAccepted()
{
    QSignalSpy variants(controller_, &SinglePortController::currentVariantChanged);
    controller_->open(ModuleVariant::TwoChannel6A);
    controller_->config().releaseTripped = true;
    line_->replies << hexBytes(Reply17);
    controller_->readConfiguration();

    QCOMPARE(line_->written, QByteArrayList{hexBytes("FF FC")});
    QCOMPARE(controller_->configReply(), hexBytes(Reply17));
    QCOMPARE(controller_->currentVariant(), ModuleVariant::FourChannel10A);
    QCOMPARE(variants.size(), 1);
    const SinglePortConfig &c = controller_->config();
    // Lists built for TwoChannel6A take these codes all the same (4, 3, 2, 1 A).
    QCOMPARE(c.channel, (std::array<int, 4>{4, 3, 2, 1}));
    QCOMPARE(c.powerGoodCaption(), QStringLiteral("20,0"));
    QCOMPARE(tripDelayItems().at(c.tripDelay), QStringLiteral("5,0"));
    QCOMPARE(int(c.events), 0x05);
    QVERIFY(c.lowInputVoltage && c.hardwareFault && !c.invertOutput && !c.allowProgramming);
    QVERIFY(c.releaseTripped);

    const RetryProtocol &p = controller_->protocol();
    QCOMPARE(p.statusText(), QStringLiteral("Übertragung erfolgreich!"));
    QVERIFY(p.clearingActive());
    QCOMPARE(p.versionText(), QStringLiteral("SW: 1.05"));
    QVERIFY(!p.versionVisible());
    controller_->protocol().revealVersion();
    QVERIFY(p.versionVisible());
}

void tst_SinglePortController::readClearsTheFieldsFirst()
{
    controller_->open(ModuleVariant::FourChannel10A);
    controller_->enterFactorySettings();
    controller_->config().releaseTripped = true;
    controller_->protocol().setVersionText(QStringLiteral("SW: 9.99"));
    controller_->readConfiguration();   // the module does not answer

    SinglePortConfig expected;
    expected.rebuildChannelLists(ModuleVariant::FourChannel10A);
    expected.releaseTripped = true;
    QCOMPARE(controller_->config(), expected);
    QCOMPARE(controller_->protocol().versionText(), QString());
    QVERIFY(controller_->protocol().retryActive());
    QVERIFY(!controller_->protocol().statusVisible());
}

void tst_SinglePortController::readRejected_data()
{
    QTest::addColumn<ModuleVariant>("opened");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<ModuleVariant>("variant");
    QTest::addColumn<bool>("hidden");

    QByteArray badCheck = hexBytes(Reply11);
    badCheck[26] = 0;
    QTest::newRow("TwoChannel6A, wrong check byte: variant and hiding take effect")
        << ModuleVariant::FourChannel10A << badCheck << ModuleVariant::TwoChannel6A << true;
    QByteArray badCheck17 = hexBytes(Reply17);
    badCheck17[26] = 0;
    QTest::newRow("FourChannel10A, wrong check byte: variant changes, channels 3 and 4 stay hidden")
        << ModuleVariant::TwoChannel6A << badCheck17 << ModuleVariant::FourChannel10A << true;
    QByteArray twoPort = hexBytes(Reply17);
    twoPort[1] = 0x15;
    QTest::newRow("two-port type: nothing changes")
        << ModuleVariant::FourChannel10A << twoPort << ModuleVariant::FourChannel10A << false;
    QTest::newRow("26 bytes: nothing changes")
        << ModuleVariant::FourChannel10A << hexBytes(Reply11).left(26) << ModuleVariant::FourChannel10A << false;
    QTest::newRow("silence") << ModuleVariant::FourChannel10A << QByteArray() << ModuleVariant::FourChannel10A << false;
}

void tst_SinglePortController::readRejected()
{
    QFETCH(ModuleVariant, opened);
    QFETCH(QByteArray, reply);
    QFETCH(ModuleVariant, variant);
    QFETCH(bool, hidden);
    controller_->open(opened);
    line_->replies << reply;
    controller_->readConfiguration();

    QCOMPARE(controller_->currentVariant(), variant);
    QCOMPARE(controller_->channels34Hidden(), hidden);
    // The fields stay as the read button left them: empty.
    const Markers empty = controller_->config().validate();
    QVERIFY(empty.channel[0] && empty.channel[3] && empty.powerGood && empty.tripDelay);
    QVERIFY(controller_->protocol().retryActive());
    QVERIFY(!controller_->protocol().statusVisible());
    QCOMPARE(controller_->protocol().versionText(), QString());
}

void tst_SinglePortController::fourChannelReplyShowsChannels34Again()
{
    controller_->open(ModuleVariant::TwoChannel6A);
    QVERIFY(controller_->channels34Hidden());
    line_->replies << hexBytes(Reply17);
    controller_->readConfiguration();
    QVERIFY(!controller_->channels34Hidden());
}

void tst_SinglePortController::writeRefused_data()
{
    QTest::addColumn<QList<int>>("channels");
    QTest::addColumn<int>("powerGood");
    QTest::addColumn<int>("tripDelay");
    QTest::addColumn<QList<bool>>("markers");   // k1 k2 k3 k4 pg ab
    QTest::newRow("hidden channels 3 and 4 empty") << QList<int>{1, 1, -1, -1} << 0 << 0
                                                   << QList<bool>{false, false, true, true, false, false};
    QTest::newRow("power good and trip delay empty") << QList<int>{1, 1, 1, 1} << -1 << -1
                                                     << QList<bool>{false, false, false, false, true, true};
    QTest::newRow("everything empty") << QList<int>{-1, -1, -1, -1} << -1 << -1
                                      << QList<bool>{true, true, true, true, true, true};
}

void tst_SinglePortController::writeRefused()
{
    QFETCH(QList<int>, channels);
    QFETCH(int, powerGood);
    QFETCH(int, tripDelay);
    QFETCH(QList<bool>, markers);
    controller_->open(ModuleVariant::TwoChannel10A);
    for (int i = 0; i < 4; ++i)
        controller_->config().selectChannel(i, channels[i]);
    controller_->config().selectPowerGood(powerGood);
    controller_->config().selectTripDelay(tripDelay);
    controller_->setLanguage(Language::English);
    QSignalSpy markerSpy(controller_, &SinglePortController::markersChanged);

    controller_->writeConfiguration();
    QVERIFY(line_->calls.isEmpty());
    const Markers m = controller_->markers();
    QCOMPARE((QList<bool>{m.channel[0], m.channel[1], m.channel[2], m.channel[3], m.powerGood, m.tripDelay}), markers);
    QCOMPARE(controller_->protocol().statusText(), QStringLiteral("All labels fill correctly, please"));
    QCOMPARE(controller_->protocol().statusColour(), Colour::Red);
    QVERIFY(!controller_->protocol().retryActive());
    QCOMPARE(markerSpy.size(), 1);

    // The markers go at the start of the next attempt.
    controller_->enterFactorySettings();
    QVERIFY(!controller_->markers().any());
    controller_->writeConfiguration();
    QCOMPARE(line_->written.size(), 1);
    QVERIFY(!controller_->markers().any());
}

void tst_SinglePortController::retryReadsTheControlsAgain()
{
    controller_->open(ModuleVariant::FourChannel10A);
    controller_->enterFactorySettings();
    controller_->writeConfiguration();   // not acknowledged
    QVERIFY(controller_->protocol().retryActive());
    controller_->config().selectChannel(0, 3);   // edited while the retries run
    line_->replies << QByteArray() << hexBytes("16");
    controller_->protocol().retryTick();
    controller_->protocol().retryTick();
    QCOMPARE(line_->written.size(), 3);
    QCOMPARE(line_->written.at(0), hexBytes("FF F3 AA AA D6 AA C0 0F 9F DD EE 1F"));
    QCOMPARE(line_->written.at(2), hexBytes("FF F3 A3 AA D6 AA C0 0F 9F DD EE 16"));
    QVERIFY(!controller_->protocol().retryActive());
    QCOMPARE(controller_->protocol().statusText(), QStringLiteral("Übertragung erfolgreich!"));
    QCOMPARE(line_->calls.filter("open").size(), 3);
    QCOMPARE(line_->calls.filter("open " + Port).size(), 3);
}

void tst_SinglePortController::factorySettingsClearStatusAndMarkers()
{
    controller_->open(ModuleVariant::FourChannel6A);
    controller_->writeConfiguration();   // refused: markers and red text
    QVERIFY(controller_->markers().any());
    QVERIFY(controller_->protocol().statusVisible());
    controller_->enterFactorySettings();
    QVERIFY(!controller_->markers().any());
    QCOMPARE(controller_->protocol().statusText(), QString());
    QCOMPARE(controller_->config().channel, (std::array<int, 4>{6, 6, 6, 6}));
}

void tst_SinglePortController::load_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<Language>("language");
    QTest::addColumn<QString>("status");
    QTest::addColumn<bool>("red");
    QTest::addColumn<bool>("filled");

    QTest::newRow("correct") << QByteArray("config\r\nAA,AA,D6,07;\r\nAA,C0;\r\nAE081DDD12F256\r\n") << Language::German
                             << QStringLiteral("Datei korrekt eingelesen") << false << true;
    QTest::newRow("correct, English") << QByteArray("config\nAA,AA,D6,07;\nAA,C0;\nAE081DDD12F256\n")
                                      << Language::English << QStringLiteral("Read file correctly") << false << true;
    QTest::newRow("colon at the end of line 2") << QByteArray("config\r\nAA,AA,D6,07:\r\nAA,C0;\r\nAE081DDD12F256\r\n")
                                                << Language::German << QStringLiteral("Datei fehlerhaft C4") << true
                                                << false;
    QTest::newRow("Config, English") << QByteArray("Config\r\nAA,AA,D6,07;\r\nAA,C0;\r\nAE081DDD12F256\r\n")
                                     << Language::English << QStringLiteral("File error C13") << true << false;
}

void tst_SinglePortController::load()
{
    QFETCH(QByteArray, contents);
    QFETCH(Language, language);
    QFETCH(QString, status);
    QFETCH(bool, red);
    QFETCH(bool, filled);
    const QString path = dir_.filePath(QStringLiteral("load-%1.txt").arg(QTest::currentDataTag()));
    QVERIFY(writeAll(path, contents));
    controller_->open(ModuleVariant::FourChannel10A);
    controller_->setLanguage(language);
    controller_->writeConfiguration();   // refused: markers shown
    QVERIFY(controller_->markers().any());

    const singleportfile::LoadResult result = controller_->loadFrom(path);
    QCOMPARE(result.ok(), !red);
    QVERIFY(!controller_->markers().any());
    QCOMPARE(controller_->protocol().statusText(), status);
    QCOMPARE(controller_->protocol().statusColour(), red ? Colour::Red : Colour::Black);
    QVERIFY(controller_->protocol().statusVisible());
    QVERIFY(controller_->protocol().clearingActive());
    QCOMPARE(controller_->config().isComplete(), filled);
    QVERIFY(line_->calls.isEmpty());
}

void tst_SinglePortController::loadStoppedByText()
{
    const QString path = dir_.filePath("nothex.txt");
    QVERIFY(writeAll(path, "config\r\n21,43,DX,07;\r\nAA,C0;\r\nAE081DDD12F256\r\n"));
    controller_->open(ModuleVariant::FourChannel10A);
    const singleportfile::LoadResult result = controller_->loadFrom(path);
    QVERIFY(result.notHexadecimal);
    QCOMPARE(result.invalidText, QStringLiteral("DX"));
    QCOMPARE(notHexadecimalMessage(result.invalidText, Language::German),
             QStringLiteral("'DX' ist kein gültiger Hexadezimalwert."));
    QCOMPARE(controller_->protocol().statusText(), QString());
    QVERIFY(!controller_->protocol().clearingActive());
    // The channels before the bad text were applied.
    QCOMPARE(controller_->config().channel, (std::array<int, 4>{1, 2, 3, 4}));
    QCOMPARE(controller_->config().powerGood, NoSelection);
}

void tst_SinglePortController::saveRefused()
{
    controller_->open(ModuleVariant::FourChannel10A);
    controller_->enterFactorySettings();
    controller_->config().selectTripDelay(NoSelection);
    QVERIFY(!controller_->prepareSave());
    QVERIFY(controller_->markers().tripDelay);
    QVERIFY(!controller_->markers().powerGood);
    QCOMPARE(controller_->protocol().statusText(), QStringLiteral("Bitte alle Felder korrekt ausfüllen"));
    QCOMPARE(controller_->protocol().statusColour(), Colour::Red);

    controller_->config().selectTripDelay(7);
    QVERIFY(controller_->prepareSave());
    QVERIFY(!controller_->markers().any());
    QCOMPARE(controller_->protocol().statusText(), QString());
}

void tst_SinglePortController::saveAndFailedSave()
{
    controller_->open(ModuleVariant::FourChannel10A);
    controller_->enterFactorySettings();
    QVERIFY(controller_->prepareSave());
    const QString path = dir_.filePath("saved.txt");
    QVERIFY(controller_->saveTo(path));
    QCOMPARE(readAll(path), QByteArray("config\r\nAA,AA,D6,07;\r\nAA,C0;\r\nAE081DDD12F256\r\n"));
    QCOMPARE(controller_->protocol().statusText(), QString());

    controller_->setLanguage(Language::English);
    QVERIFY(!controller_->saveTo(dir_.filePath("missing/folder/saved.txt")));
    QCOMPARE(controller_->protocol().statusText(), QStringLiteral("File could not be saved"));
    QCOMPARE(controller_->protocol().statusColour(), Colour::Red);
    QVERIFY(controller_->protocol().statusVisible());
}

void tst_SinglePortController::closeStopsAndResets()
{
    controller_->open(ModuleVariant::FourChannel10A);
    controller_->enterFactorySettings();
    controller_->config().releaseTripped = true;
    controller_->writeConfiguration();   // not acknowledged: retries run
    QVERIFY(controller_->protocol().retryActive());

    controller_->close();
    QVERIFY(!controller_->protocol().retryActive());
    QVERIFY(!controller_->protocol().clearingActive());
    QVERIFY(!controller_->protocol().statusVisible());
    SinglePortConfig expected;
    expected.rebuildChannelLists(ModuleVariant::FourChannel10A);
    expected.releaseTripped = true;
    QCOMPARE(controller_->config(), expected);
    QVERIFY(!controller_->markers().any());

    const int transactions = line_->calls.filter("open").size();
    QTest::qWait(700);
    QCOMPARE(line_->calls.filter("open").size(), transactions);
}

QTEST_GUILESS_MAIN(tst_SinglePortController)
#include "tst_singleportcontroller.moc"
