#include "config/configmachinery.h"
#include "config/configmodule.h"
#include "config/configmessages.h"

#include "fakeline.h"
#include "hexbytes.h"
#include "linkwait.h"

#include <QtTest>

// The configuration flow that both families share, over a module that only notes what it
// is asked and answers as the test sets it. The families' module tests check what their
// own part adds: which bytes are sent, what a reply or file enters, which markers show.

using Colour = RetryProtocol::StatusColour;

Q_DECLARE_METATYPE(Language)

namespace {

const QString Port = QStringLiteral("\\\\.\\COM5");
const QByteArray ReadRequest = QByteArray("\xFF\xFC", 2);

// A family that accepts one reply, writes one telegram and is acknowledged by one byte.
class FakeModule : public ConfigModule
{
public:
    // --- Knobs ---
    QByteArray acceptedReply = hexBytes("E4 15 01 02");   // enterReply() takes only this
    QString version = QStringLiteral("SW: 1.05");          // versionText() of any reply
    bool complete = true;                                  // validate(): no field empty
    QByteArray telegram = hexBytes("FF F3 01 02 03");      // writeTelegram()
    QByteArray acknowledgement = hexBytes("03");           // the reply isAcknowledged() takes
    bool saveSucceeds = true;
    configfile::LoadResult loadResult;                     // what load() reports

    // --- What it was asked ---
    QStringList calls;
    bool markersShown = false;
    QByteArray acknowledgedTelegram;   // the telegram isAcknowledged() was given last

    void clearForRead() override { calls << QStringLiteral("clearForRead"); }
    bool enterReply(const QByteArray &reply) override
    {
        calls << QStringLiteral("enterReply ") + QString::fromLatin1(reply.toHex(' ').toUpper());
        return reply == acceptedReply;
    }
    QString versionText(const QByteArray &) const override { return version; }
    bool validate() override
    {
        calls << QStringLiteral("validate");
        markersShown = !complete;
        return complete;
    }
    void hideMarkers() override { markersShown = false; }
    QByteArray writeTelegram() const override { return telegram; }
    bool isAcknowledged(const QByteArray &sent, const QByteArray &reply) const override
    {
        const_cast<FakeModule *>(this)->acknowledgedTelegram = sent;
        return reply == acknowledgement;
    }
    void applyFactorySettings() override { calls << QStringLiteral("applyFactorySettings"); }
    bool save(const QString &path) const override
    {
        const_cast<FakeModule *>(this)->calls << QStringLiteral("save ") + path;
        return saveSucceeds;
    }
    configfile::LoadResult load(const QString &path) override
    {
        calls << QStringLiteral("load ") + path;
        return loadResult;
    }
    void clearOnClose() override { calls << QStringLiteral("clearOnClose"); }
};

} // namespace

class tst_ConfigMachinery : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void readAccepted_data();
    void readAccepted();
    void readRefusedIsRetried();
    void retriesEndInFailure();
    void writeAcknowledged();
    void writeRefused_data();
    void writeRefused();
    void retryReadsTheControlsAgain();
    void factorySettingsClearStatusAndMarkers();
    void factorySettingsWaitForTheAttemptInFlight();
    void prepareSave();
    void saveTo_data();
    void saveTo();
    void loadFrom_data();
    void loadFrom();
    void loadStoppedByText();
    void closeStopsAndResets();

private:
    FakeLine *line_ = nullptr;
    FakeModule *module_ = nullptr;
    ConfigMachinery *machinery_ = nullptr;
};

void tst_ConfigMachinery::init()
{
    line_ = new FakeLine;
    module_ = new FakeModule;
    machinery_ = new ConfigMachinery(*module_, *line_, [] { return Port; });
}

void tst_ConfigMachinery::cleanup()
{
    delete machinery_;
    delete module_;
    delete line_;
}

void tst_ConfigMachinery::readAccepted_data()
{
    QTest::addColumn<Language>("language");
    QTest::addColumn<QString>("success");
    QTest::newRow("German") << Language::German << QStringLiteral("Übertragung erfolgreich!");
    QTest::newRow("English") << Language::English << QStringLiteral("Transmission successful!");
}

void tst_ConfigMachinery::readAccepted()
{
    QFETCH(Language, language);
    QFETCH(QString, success);
    machinery_->protocol().setLanguage(language);
    machinery_->protocol().statusLine().setVersionText(QStringLiteral("SW: 9.99"));
    line_->replies << module_->acceptedReply;
    machinery_->read();
    settle(machinery_->protocol());

    QCOMPARE(line_->written, QByteArrayList{ReadRequest});
    QCOMPARE(line_->calls.first(), "open " + Port);
    QCOMPARE(line_->calls.last(), QStringLiteral("close"));
    // The controls are emptied before the request goes out, then the reply is entered.
    QCOMPARE(module_->calls, (QStringList{"clearForRead", "enterReply E4 15 01 02"}));
    QCOMPARE(machinery_->configReply(), module_->acceptedReply);

    const RetryProtocol &p = machinery_->protocol();
    QCOMPARE(p.statusLine().text(), success);
    QCOMPARE(p.statusLine().colour(), Colour::Black);
    QVERIFY(p.statusLine().visible());
    QVERIFY(!p.retryActive());
    QVERIFY(p.clearingActive());
    QCOMPARE(p.statusLine().versionText(), QStringLiteral("SW: 1.05"));
    QVERIFY(!p.statusLine().versionVisible());
    machinery_->protocol().statusLine().revealVersion();
    QVERIFY(p.statusLine().versionVisible());
}

void tst_ConfigMachinery::readRefusedIsRetried()
{
    machinery_->protocol().statusLine().setVersionText(QStringLiteral("SW: 9.99"));
    line_->replies << hexBytes("E4 15 01 03");   // refused by the module
    machinery_->read();
    settle(machinery_->protocol());
    const RetryProtocol &p = machinery_->protocol();
    QVERIFY(p.retryActive());
    QVERIFY(p.readMode());
    QVERIFY(!p.statusLine().visible());
    QCOMPARE(p.statusLine().versionText(), QString());   // emptied by the read button, not set by a refusal

    // A retry reads again without emptying the controls; the right answer ends the series.
    line_->replies << module_->acceptedReply;
    machinery_->protocol().retryTick();
    settle(machinery_->protocol());
    QVERIFY(!p.retryActive());
    QCOMPARE(module_->calls, (QStringList{"clearForRead", "enterReply E4 15 01 03", "enterReply E4 15 01 02"}));
    QCOMPARE(line_->written, (QByteArrayList{ReadRequest, ReadRequest}));
    QCOMPARE(p.statusLine().text(), QStringLiteral("Übertragung erfolgreich!"));
    QCOMPARE(p.statusLine().versionText(), QStringLiteral("SW: 1.05"));
}

void tst_ConfigMachinery::retriesEndInFailure()
{
    line_->usable = false;   // the port is held by another program
    machinery_->read();
    settle(machinery_->protocol());
    for (int tick = 1; tick < RetryProtocol::MaxRetries; ++tick) {
        machinery_->protocol().retryTick();
        settle(machinery_->protocol());
        QVERIFY(machinery_->protocol().retryActive());
        QVERIFY(!machinery_->protocol().statusLine().visible());
    }
    machinery_->protocol().retryTick();
    settle(machinery_->protocol());
    const RetryProtocol &p = machinery_->protocol();
    QVERIFY(!p.retryActive());
    QCOMPARE(p.statusLine().text(), QStringLiteral("Kommunikation fehlgeschlagen!"));
    QCOMPARE(p.statusLine().colour(), Colour::Red);
    QCOMPARE(line_->calls.filter("write FF FC").size(), RetryProtocol::MaxRetries + 1);
    QVERIFY(line_->written.isEmpty());   // nothing reached the closed port
    QCOMPARE(module_->calls.filter("clearForRead").size(), 1);
}

void tst_ConfigMachinery::writeAcknowledged()
{
    line_->replies << module_->acknowledgement;
    machinery_->write();
    settle(machinery_->protocol());
    QCOMPARE(line_->written, QByteArrayList{module_->telegram});
    QCOMPARE(module_->acknowledgedTelegram, module_->telegram);
    QCOMPARE(module_->calls, QStringList{"validate"});   // a write empties nothing
    QCOMPARE(machinery_->configReply(), module_->acknowledgement);
    const RetryProtocol &p = machinery_->protocol();
    QCOMPARE(p.statusLine().text(), QStringLiteral("Übertragung erfolgreich!"));
    QCOMPARE(p.statusLine().colour(), Colour::Black);
    QVERIFY(!p.retryActive());
    QVERIFY(p.clearingActive());
    QCOMPARE(p.statusLine().versionText(), QString());   // a write sets no version
}

void tst_ConfigMachinery::writeRefused_data()
{
    QTest::addColumn<Language>("language");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("German") << Language::German << QStringLiteral("Bitte alle Felder korrekt ausfüllen");
    QTest::newRow("English") << Language::English << QStringLiteral("All labels fill correctly, please");
}

void tst_ConfigMachinery::writeRefused()
{
    QFETCH(Language, language);
    QFETCH(QString, refusal);
    machinery_->protocol().setLanguage(language);
    module_->complete = false;
    machinery_->write();
    settle(machinery_->protocol());
    QVERIFY(line_->calls.isEmpty());
    QVERIFY(module_->markersShown);
    QCOMPARE(machinery_->protocol().statusLine().text(), refusal);
    QCOMPARE(machinery_->protocol().statusLine().colour(), Colour::Red);
    QVERIFY(machinery_->protocol().statusLine().visible());
    QVERIFY(!machinery_->protocol().retryActive());

    // The markers go at the start of the next attempt.
    module_->complete = true;
    line_->replies << module_->acknowledgement;
    machinery_->write();
    settle(machinery_->protocol());
    QVERIFY(!module_->markersShown);
    QCOMPARE(line_->written, QByteArrayList{module_->telegram});
}

void tst_ConfigMachinery::retryReadsTheControlsAgain()
{
    machinery_->write();
    settle(machinery_->protocol());   // not acknowledged
    QVERIFY(machinery_->protocol().retryActive());
    module_->telegram = hexBytes("FF F3 01 02 04");   // edited while the retries run
    module_->acknowledgement = hexBytes("04");
    line_->replies << QByteArray() << hexBytes("04");
    machinery_->protocol().retryTick();
    settle(machinery_->protocol());
    machinery_->protocol().retryTick();
    settle(machinery_->protocol());
    QCOMPARE(line_->written,
             (QByteArrayList{hexBytes("FF F3 01 02 03"), hexBytes("FF F3 01 02 04"), hexBytes("FF F3 01 02 04")}));
    QCOMPARE(module_->acknowledgedTelegram, hexBytes("FF F3 01 02 04"));
    QVERIFY(!machinery_->protocol().retryActive());
    QCOMPARE(machinery_->protocol().statusLine().text(), QStringLiteral("Übertragung erfolgreich!"));
    QCOMPARE(line_->calls.filter("open " + Port).size(), 3);
}

void tst_ConfigMachinery::factorySettingsClearStatusAndMarkers()
{
    module_->complete = false;
    machinery_->write();
    settle(machinery_->protocol());   // refused: markers and red text
    QVERIFY(module_->markersShown);
    QVERIFY(machinery_->protocol().statusLine().visible());
    machinery_->protocol().statusLine().setVersionText(QStringLiteral("SW: 1.05"));

    machinery_->enterFactorySettings();
    QVERIFY(!module_->markersShown);
    QCOMPARE(machinery_->protocol().statusLine().text(), QString());
    QCOMPARE(machinery_->protocol().statusLine().versionText(), QStringLiteral("SW: 1.05"));   // the version is not touched
    QCOMPARE(module_->calls.filter("applyFactorySettings").size(), 1);
    QVERIFY(line_->calls.isEmpty());   // nothing is sent by the factory settings
}

void tst_ConfigMachinery::factorySettingsWaitForTheAttemptInFlight()
{
    line_->holdReads = true;
    machinery_->read();
    QTRY_VERIFY(line_->readInFlight());
    machinery_->enterFactorySettings();
    QCOMPARE(module_->calls, QStringList{"clearForRead"});   // not yet: the read is in flight

    line_->completeRead(module_->acceptedReply);
    settle(machinery_->protocol());
    // The reply is entered first, then the factory settings replace it.
    QCOMPARE(module_->calls, (QStringList{"clearForRead", "enterReply E4 15 01 02", "applyFactorySettings"}));
}

void tst_ConfigMachinery::prepareSave()
{
    module_->complete = false;
    QVERIFY(!machinery_->prepareSave());
    QVERIFY(module_->markersShown);
    QCOMPARE(machinery_->protocol().statusLine().text(), QStringLiteral("Bitte alle Felder korrekt ausfüllen"));
    QCOMPARE(machinery_->protocol().statusLine().colour(), Colour::Red);
    QVERIFY(machinery_->protocol().statusLine().visible());

    module_->complete = true;
    QVERIFY(machinery_->prepareSave());
    QVERIFY(!module_->markersShown);
    QCOMPARE(machinery_->protocol().statusLine().text(), QString());
    QVERIFY(module_->calls.filter("save").isEmpty());   // the file dialog comes first
}

void tst_ConfigMachinery::saveTo_data()
{
    QTest::addColumn<bool>("succeeds");
    QTest::addColumn<Language>("language");
    QTest::addColumn<QString>("status");
    QTest::newRow("saved") << true << Language::German << QString();
    QTest::newRow("failed") << false << Language::German << QStringLiteral("Datei konnte nicht gespeichert werden");
    QTest::newRow("failed, English") << false << Language::English << QStringLiteral("File could not be saved");
}

void tst_ConfigMachinery::saveTo()
{
    QFETCH(bool, succeeds);
    QFETCH(Language, language);
    QFETCH(QString, status);
    machinery_->protocol().setLanguage(language);
    module_->saveSucceeds = succeeds;
    QVERIFY(machinery_->prepareSave());
    QCOMPARE(machinery_->saveTo(QStringLiteral("/some/where.txt")), succeeds);
    QCOMPARE(module_->calls.filter("save"), QStringList{"save /some/where.txt"});
    QCOMPARE(machinery_->protocol().statusLine().text(), status);
    if (!succeeds) {
        QCOMPARE(machinery_->protocol().statusLine().colour(), Colour::Red);
        QVERIFY(machinery_->protocol().statusLine().visible());
    }
    // The failure's text is cleared after a while; a success shows nothing to clear.
    QCOMPARE(machinery_->protocol().clearingActive(), !succeeds);
    QVERIFY(line_->calls.isEmpty());
}

void tst_ConfigMachinery::loadFrom_data()
{
    QTest::addColumn<int>("errorCode");
    QTest::addColumn<Language>("language");
    QTest::addColumn<QString>("status");
    QTest::newRow("correct") << 0 << Language::German << QStringLiteral("Datei korrekt eingelesen");
    QTest::newRow("correct, English") << 0 << Language::English << QStringLiteral("Read file correctly");
    QTest::newRow("code 4") << 4 << Language::German << QStringLiteral("Datei fehlerhaft C4");
    QTest::newRow("code 11") << 11 << Language::German << QStringLiteral("Datei fehlerhaft C11");
    QTest::newRow("code 12, English") << 12 << Language::English << QStringLiteral("File error C12");
    QTest::newRow("code 14, English") << 14 << Language::English << QStringLiteral("File error C14");
}

void tst_ConfigMachinery::loadFrom()
{
    QFETCH(int, errorCode);
    QFETCH(Language, language);
    QFETCH(QString, status);
    machinery_->protocol().setLanguage(language);
    module_->complete = false;
    machinery_->write();
    settle(machinery_->protocol());   // refused: markers shown
    QVERIFY(module_->markersShown);

    module_->loadResult.errorCode = errorCode;
    const configfile::LoadResult result = machinery_->loadFrom(QStringLiteral("/some/file.txt"));
    QCOMPARE(result.errorCode, errorCode);
    QCOMPARE(module_->calls.filter("load"), QStringList{"load /some/file.txt"});
    QVERIFY(!module_->markersShown);
    QCOMPARE(machinery_->protocol().statusLine().text(), status);
    QCOMPARE(machinery_->protocol().statusLine().colour(), errorCode ? Colour::Red : Colour::Black);
    QVERIFY(machinery_->protocol().statusLine().visible());
    QVERIFY(machinery_->protocol().clearingActive());
    QVERIFY(line_->calls.isEmpty());
}

void tst_ConfigMachinery::loadStoppedByText()
{
    module_->complete = false;
    QVERIFY(!machinery_->prepareSave());   // red text shown
    module_->loadResult.notHexadecimal = true;
    module_->loadResult.invalidText = QStringLiteral("DX");
    const configfile::LoadResult result = machinery_->loadFrom(QStringLiteral("/some/file.txt"));
    QVERIFY(result.notHexadecimal);
    QCOMPARE(result.invalidText, QStringLiteral("DX"));
    QCOMPARE(notHexadecimalMessage(result.invalidText, Language::German),
             QStringLiteral("'DX' ist kein gültiger Hexadezimalwert."));
    // The dialog's message box says it: the status line stays empty.
    QCOMPARE(machinery_->protocol().statusLine().text(), QString());
    QVERIFY(!machinery_->protocol().clearingActive());
}

void tst_ConfigMachinery::closeStopsAndResets()
{
    machinery_->protocol().statusLine().setVersionText(QStringLiteral("SW: 1.05"));
    machinery_->write();
    settle(machinery_->protocol());   // not acknowledged: retries run
    QVERIFY(machinery_->protocol().retryActive());
    module_->complete = false;
    QVERIFY(!machinery_->prepareSave());   // markers shown
    QVERIFY(module_->markersShown);

    machinery_->close();
    QVERIFY(!machinery_->protocol().retryActive());
    QVERIFY(!machinery_->protocol().clearingActive());
    QVERIFY(!machinery_->protocol().statusLine().visible());
    QCOMPARE(machinery_->protocol().statusLine().versionText(), QString());
    QVERIFY(!module_->markersShown);
    QCOMPARE(module_->calls.filter("clearOnClose").size(), 1);

    const int transactions = line_->calls.filter("open").size();
    QTest::qWait(700);
    QCOMPARE(line_->calls.filter("open").size(), transactions);
}

QTEST_GUILESS_MAIN(tst_ConfigMachinery)
#include "tst_configmachinery.moc"
