#include "parameter2/singleportmodule.h"

#include "config/configmachinery.h"

#include "fakeline.h"
#include "linkwait.h"
#include "hexbytes.h"

#include "testfiles.h"
#include <QtTest>

// What the single-port module adds to the shared flow (tst_configmachinery): the bytes it
// sends for each variant, what a reply, a file or a reset enters, which markers show, the
// variant a reply names and the hiding of channels 3 and 4.

using namespace singleport;

Q_DECLARE_METATYPE(ModuleVariant)

namespace {

const QString Port = QStringLiteral("\\\\.\\COM4");
const char *const Reply17 = "E4 17 34 12 C8 05 03 00 C7 31 2E 30 35 00 00 00 00 00 00 00 00 00 00 00 00 00 35 E4 16";
const char *const Reply11 = "E4 11 BB FF FF 00 42 00 00 30 30 30 30 00 00 00 00 00 00 00 00 00 00 00 00 00 F9";



} // namespace

class tst_SinglePortModule : public QObject
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
    void factorySettingsEntered();
    void load_data();
    void load();
    void loadStoppedByText();
    void saveRefused();
    void saveAndLoadBack();
    void closeStopsAndResets();

private:
    FakeLine *line_ = nullptr;
    SharedState state_;
    SinglePortModule *module_ = nullptr;
    ConfigMachinery *machinery_ = nullptr;
    QTemporaryDir dir_;
};

void tst_SinglePortModule::init()
{
    line_ = new FakeLine;
    state_ = SharedState{};
    module_ = new SinglePortModule(state_);
    machinery_ = new ConfigMachinery(*module_, *line_, [] { return Port; });
}

void tst_SinglePortModule::cleanup()
{
    delete machinery_;
    delete module_;
    delete line_;
}

void tst_SinglePortModule::open_data()
{
    QTest::addColumn<ModuleVariant>("variant");
    QTest::addColumn<bool>("hidden");
    QTest::addColumn<QList<int>>("listSizes");
    QTest::newRow("FourChannel10A") << ModuleVariant::FourChannel10A << false << QList<int>{11, 11, 11, 11};
    QTest::newRow("FourChannel6A") << ModuleVariant::FourChannel6A << false << QList<int>{7, 7, 7, 7};
    QTest::newRow("TwoChannel10A") << ModuleVariant::TwoChannel10A << true << QList<int>{11, 11, 7, 7};
    QTest::newRow("TwoChannel6A") << ModuleVariant::TwoChannel6A << true << QList<int>{7, 7, 7, 7};
}

void tst_SinglePortModule::open()
{
    QFETCH(ModuleVariant, variant);
    QFETCH(bool, hidden);
    QFETCH(QList<int>, listSizes);
    module_->config().channel = {1, 1, 1, 1};
    module_->open(variant);
    QCOMPARE(state_.variant, variant);
    QCOMPARE(module_->channels34Hidden(), hidden);
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(module_->config().channelListSize[i], listSizes[i]);
        QCOMPARE(module_->config().channel[i], NoSelection);
    }
    QVERIFY(line_->calls.isEmpty());
}

void tst_SinglePortModule::factorySettingsWritten_data()
{
    QTest::addColumn<ModuleVariant>("variant");
    QTest::addColumn<QByteArray>("telegram");
    QTest::newRow("FourChannel10A") << ModuleVariant::FourChannel10A << hexBytes("FF F3 AA AA D6 AA C0 0F 9F DD EE 1F");
    QTest::newRow("FourChannel6A") << ModuleVariant::FourChannel6A << hexBytes("FF F3 66 66 D6 AA C0 0F 9F DD EE 1F");
    QTest::newRow("TwoChannel10A") << ModuleVariant::TwoChannel10A << hexBytes("FF F3 AA 66 D6 AA C0 0F 9F DD EE D3");
    QTest::newRow("TwoChannel6A") << ModuleVariant::TwoChannel6A << hexBytes("FF F3 66 66 D6 AA C0 0F 9F DD EE 1F");
}

void tst_SinglePortModule::factorySettingsWritten()
{
    QFETCH(ModuleVariant, variant);
    QFETCH(QByteArray, telegram);
    module_->open(variant);
    machinery_->enterFactorySettings();
    QVERIFY(line_->calls.isEmpty());   // nothing is sent by the factory settings

    line_->replies << telegram.right(1);
    machinery_->write();
    settle(machinery_->protocol());
    QCOMPARE(line_->written, QByteArrayList{telegram});
    QVERIFY(!machinery_->protocol().retryActive());   // acknowledged by its check byte
    QVERIFY(!module_->markers().any());
}

void tst_SinglePortModule::readAccepted()
{
    module_->open(ModuleVariant::TwoChannel6A);
    module_->config().releaseTripped = true;
    line_->replies << hexBytes(Reply17);
    machinery_->read();
    settle(machinery_->protocol());

    QCOMPARE(state_.variant, ModuleVariant::FourChannel10A);
    const SinglePortConfig &c = module_->config();
    // Lists built for TwoChannel6A take these codes all the same (4, 3, 2, 1 A).
    QCOMPARE(c.channel, (std::array<int, 4>{4, 3, 2, 1}));
    QCOMPARE(c.powerGoodCaption(), QStringLiteral("20,0"));
    QCOMPARE(tripDelayItems().at(c.tripDelay), QStringLiteral("5,0"));
    QCOMPARE(int(c.events), 0x05);
    QVERIFY(c.lowInputVoltage && c.hardwareFault && !c.invertOutput && !c.allowProgramming);
    QVERIFY(c.releaseTripped);

    // Offsets 9 to 12 of the reply.
    QCOMPARE(machinery_->protocol().statusLine().versionText(), QStringLiteral("SW: 1.05"));
}

void tst_SinglePortModule::readClearsTheFieldsFirst()
{
    module_->open(ModuleVariant::FourChannel10A);
    machinery_->enterFactorySettings();
    module_->config().releaseTripped = true;
    machinery_->protocol().statusLine().setVersionText(QStringLiteral("SW: 9.99"));
    machinery_->read();
    settle(machinery_->protocol());   // the module does not answer

    SinglePortConfig expected;
    expected.rebuildChannelLists(ModuleVariant::FourChannel10A);
    expected.releaseTripped = true;
    QCOMPARE(module_->config(), expected);
}

void tst_SinglePortModule::readRejected_data()
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

void tst_SinglePortModule::readRejected()
{
    QFETCH(ModuleVariant, opened);
    QFETCH(QByteArray, reply);
    QFETCH(ModuleVariant, variant);
    QFETCH(bool, hidden);
    module_->open(opened);
    line_->replies << reply;
    machinery_->read();
    settle(machinery_->protocol());

    QCOMPARE(state_.variant, variant);
    QCOMPARE(module_->channels34Hidden(), hidden);
    // The fields stay as the read button left them: empty.
    const Markers empty = module_->config().validate();
    QVERIFY(empty.channel[0] && empty.channel[3] && empty.powerGood && empty.tripDelay);
    QVERIFY(machinery_->protocol().retryActive());
}

void tst_SinglePortModule::fourChannelReplyShowsChannels34Again()
{
    module_->open(ModuleVariant::TwoChannel6A);
    QVERIFY(module_->channels34Hidden());
    line_->replies << hexBytes(Reply17);
    machinery_->read();
    settle(machinery_->protocol());
    QVERIFY(!module_->channels34Hidden());
}

void tst_SinglePortModule::writeRefused_data()
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

void tst_SinglePortModule::writeRefused()
{
    QFETCH(QList<int>, channels);
    QFETCH(int, powerGood);
    QFETCH(int, tripDelay);
    QFETCH(QList<bool>, markers);
    module_->open(ModuleVariant::TwoChannel10A);
    for (int i = 0; i < 4; ++i)
        module_->config().selectCurrent(i, channels[i]);
    module_->config().selectPowerGood(powerGood);
    module_->config().selectTripDelay(tripDelay);
    QSignalSpy markerSpy(module_, &SinglePortModule::markersChanged);

    machinery_->write();
    settle(machinery_->protocol());
    QVERIFY(line_->calls.isEmpty());
    const Markers m = module_->markers();
    QCOMPARE((QList<bool>{m.channel[0], m.channel[1], m.channel[2], m.channel[3], m.powerGood, m.tripDelay}), markers);
    QCOMPARE(markerSpy.size(), 1);
}

void tst_SinglePortModule::retryReadsTheControlsAgain()
{
    module_->open(ModuleVariant::FourChannel10A);
    machinery_->enterFactorySettings();
    machinery_->write();
    settle(machinery_->protocol());   // not acknowledged
    QVERIFY(machinery_->protocol().retryActive());
    module_->config().selectCurrent(0, 3);   // edited while the retries run
    line_->replies << QByteArray() << hexBytes("16");
    machinery_->protocol().retryTick();
    settle(machinery_->protocol());
    machinery_->protocol().retryTick();
    settle(machinery_->protocol());
    QCOMPARE(line_->written.size(), 3);
    QCOMPARE(line_->written.at(0), hexBytes("FF F3 AA AA D6 AA C0 0F 9F DD EE 1F"));
    QCOMPARE(line_->written.at(2), hexBytes("FF F3 A3 AA D6 AA C0 0F 9F DD EE 16"));
    QVERIFY(!machinery_->protocol().retryActive());   // acknowledged by the new check byte
}

void tst_SinglePortModule::factorySettingsEntered()
{
    module_->open(ModuleVariant::FourChannel6A);
    machinery_->write();
    settle(machinery_->protocol());   // refused: markers
    QVERIFY(module_->markers().any());
    machinery_->enterFactorySettings();
    QVERIFY(!module_->markers().any());
    QCOMPARE(module_->config().channel, (std::array<int, 4>{6, 6, 6, 6}));
}

void tst_SinglePortModule::load_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("status");
    QTest::addColumn<bool>("filled");

    QTest::newRow("correct") << QByteArray("config\r\nAA,AA,D6,07;\r\nAA,C0;\r\nAE081DDD12F256\r\n")
                             << QStringLiteral("Datei korrekt eingelesen") << true;
    QTest::newRow("correct, LF only") << QByteArray("config\nAA,AA,D6,07;\nAA,C0;\nAE081DDD12F256\n")
                                      << QStringLiteral("Datei korrekt eingelesen") << true;
    QTest::newRow("colon at the end of line 2") << QByteArray("config\r\nAA,AA,D6,07:\r\nAA,C0;\r\nAE081DDD12F256\r\n")
                                                << QStringLiteral("Datei fehlerhaft C4") << false;
    QTest::newRow("Config") << QByteArray("Config\r\nAA,AA,D6,07;\r\nAA,C0;\r\nAE081DDD12F256\r\n")
                            << QStringLiteral("Datei fehlerhaft C13") << false;
}

void tst_SinglePortModule::load()
{
    QFETCH(QByteArray, contents);
    QFETCH(QString, status);
    QFETCH(bool, filled);
    const QString path = dir_.filePath(QStringLiteral("load-%1.txt").arg(QTest::currentDataTag()));
    QVERIFY(writeAll(path, contents));
    module_->open(ModuleVariant::FourChannel10A);
    QSignalSpy changes(module_, &SinglePortModule::configChanged);

    const configfile::LoadResult result = machinery_->loadFrom(path);
    QCOMPARE(result.ok(), filled);
    QCOMPARE(machinery_->protocol().statusLine().text(), status);
    QCOMPARE(module_->config().isComplete(), filled);
    QCOMPARE(changes.size(), 1);
}

void tst_SinglePortModule::loadStoppedByText()
{
    const QString path = dir_.filePath("nothex.txt");
    QVERIFY(writeAll(path, "config\r\n21,43,DX,07;\r\nAA,C0;\r\nAE081DDD12F256\r\n"));
    module_->open(ModuleVariant::FourChannel10A);
    const configfile::LoadResult result = machinery_->loadFrom(path);
    QVERIFY(result.notHexadecimal);
    QCOMPARE(result.invalidText, QStringLiteral("DX"));
    // The channels before the bad text were applied.
    QCOMPARE(module_->config().channel, (std::array<int, 4>{1, 2, 3, 4}));
    QCOMPARE(module_->config().powerGood, NoSelection);
}

void tst_SinglePortModule::saveRefused()
{
    module_->open(ModuleVariant::FourChannel10A);
    machinery_->enterFactorySettings();
    module_->config().selectTripDelay(NoSelection);
    QVERIFY(!machinery_->prepareSave());
    QVERIFY(module_->markers().tripDelay);
    QVERIFY(!module_->markers().powerGood);

    module_->config().selectTripDelay(7);
    QVERIFY(machinery_->prepareSave());
    QVERIFY(!module_->markers().any());
}

void tst_SinglePortModule::saveAndLoadBack()
{
    module_->open(ModuleVariant::FourChannel10A);
    machinery_->enterFactorySettings();
    const SinglePortConfig saved = module_->config();
    QVERIFY(machinery_->prepareSave());
    const QString path = dir_.filePath("saved.txt");
    QVERIFY(machinery_->saveTo(path));
    QCOMPARE(readAll(path), QByteArray("config\r\nAA,AA,D6,07;\r\nAA,C0;\r\nAE081DDD12F256\r\n"));

    // Round trip through the dialog's own load.
    machinery_->close();
    QVERIFY(!module_->config().isComplete());
    QVERIFY(machinery_->loadFrom(path).ok());
    QCOMPARE(module_->config(), saved);

    QVERIFY(!machinery_->saveTo(dir_.filePath("missing/folder/saved.txt")));
}

void tst_SinglePortModule::closeStopsAndResets()
{
    module_->open(ModuleVariant::FourChannel10A);
    machinery_->enterFactorySettings();
    module_->config().releaseTripped = true;
    machinery_->write();
    settle(machinery_->protocol());   // not acknowledged: retries run
    QVERIFY(machinery_->protocol().retryActive());

    machinery_->close();
    QVERIFY(!machinery_->protocol().retryActive());
    // Every list emptied, every box unchecked but loeschen.
    SinglePortConfig expected;
    expected.rebuildChannelLists(ModuleVariant::FourChannel10A);
    expected.releaseTripped = true;
    QCOMPARE(module_->config(), expected);
    QVERIFY(!module_->markers().any());
}

QTEST_GUILESS_MAIN(tst_SinglePortModule)
#include "tst_singleportmodule.moc"
