#include "config/retryprotocol.h"

#include <QtTest>

using Outcome = RetryProtocol::Outcome;
using Colour = RetryProtocol::StatusColour;

Q_DECLARE_METATYPE(Language)

namespace {

// The dialog's attempt: answers with the scripted outcomes in turn (Failure once the script
// has run out) and records what the status line looked like when it was called. With
// hold set, the attempt stays in flight until the test calls answer().
struct FakeAttempt {
    RetryProtocol *protocol = nullptr;
    QList<Outcome> script;
    QList<bool> modes;          // readMode of every attempt
    QList<bool> statusShown;    // status line visible when the attempt began
    QStringList statusTexts;    // status text when the attempt began
    bool hold = false;

    void operator()(bool readMode)
    {
        modes << readMode;
        statusShown << protocol->statusLine().visible();
        statusTexts << protocol->statusLine().text();
        if (!hold)
            answer();
    }
    void answer() { protocol->finishAttempt(script.isEmpty() ? Outcome::Failure : script.takeFirst()); }
};

const QString FailureDe = QStringLiteral("Kommunikation fehlgeschlagen!");
const QString FailureEn = QStringLiteral("Communikation error!");
const QString SuccessDe = QStringLiteral("Übertragung erfolgreich!");
const QString SuccessEn = QStringLiteral("Transmission successful!");
const QString RefusalDe = QStringLiteral("Bitte alle Felder korrekt ausfüllen");
const QString RefusalEn = QStringLiteral("All labels fill correctly, please");

} // namespace

class tst_RetryProtocol : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void initialState();
    void failureAfterTwelveRetries_data();
    void failureAfterTwelveRetries();
    void successEndsTheSeries_data();
    void successEndsTheSeries();
    void refusal_data();
    void refusal();
    void everyAttemptStartsWithHiddenStatus();
    void buttonDuringSeriesKeepsTheCounter();
    void clearingTick();
    void buttonsStopPendingClearing_data();
    void buttonsStopPendingClearing();
    void failureStopsClearing();
    void closeDialogStopsEverything();
    void languageOfLaterMessages();
    void statusOperations();
    void realTimers();
    void buttonDuringAnAttemptWaitsForIt();
    void retryTickDuringAnAttemptWaitsForIt_data();
    void retryTickDuringAnAttemptWaitsForIt();
    void closeDialogForgetsTheAttemptInFlight();
    void actionsDuringAnAttemptFollowInOrder();
    void actionInsideAWaitingActionKeepsItsPlace();

private:
    RetryProtocol *protocol_ = nullptr;
    FakeAttempt *fake_ = nullptr;
};

void tst_RetryProtocol::init()
{
    protocol_ = new RetryProtocol;
    fake_ = new FakeAttempt;
    fake_->protocol = protocol_;
    protocol_->setAttempt([f = fake_](bool readMode) { (*f)(readMode); });
}

void tst_RetryProtocol::cleanup()
{
    delete protocol_;
    delete fake_;
}

void tst_RetryProtocol::initialState()
{
    QVERIFY(!protocol_->retryActive());
    QVERIFY(!protocol_->clearingActive());
    QCOMPARE(protocol_->retryInterval(), 500);
    QCOMPARE(protocol_->clearingInterval(), 5000);
    QCOMPARE(protocol_->retryCount(), 0);
    QVERIFY(!protocol_->statusLine().visible());
    QVERIFY(protocol_->statusLine().hotSpotVisible());
    QVERIFY(!protocol_->statusLine().versionVisible());
    QCOMPARE(protocol_->language(), Language::German);
}

void tst_RetryProtocol::failureAfterTwelveRetries_data()
{
    QTest::addColumn<bool>("readMode");
    QTest::addColumn<Language>("language");
    QTest::addColumn<QString>("text");
    QTest::newRow("read, German") << true << Language::German << FailureDe;
    QTest::newRow("write, English") << false << Language::English << FailureEn;
}

void tst_RetryProtocol::failureAfterTwelveRetries()
{
    QFETCH(bool, readMode);
    QFETCH(Language, language);
    QFETCH(QString, text);
    protocol_->setLanguage(language);
    QSignalSpy finished(protocol_, &RetryProtocol::transactionFinished);

    readMode ? protocol_->startRead() : protocol_->startWrite();
    QCOMPARE(protocol_->readMode(), readMode);
    QVERIFY(protocol_->retryActive());
    QCOMPARE(protocol_->retryCount(), 0);
    QVERIFY(!protocol_->statusLine().visible());

    for (int tick = 1; tick <= 11; ++tick) {
        protocol_->retryTick();
        QCOMPARE(protocol_->retryCount(), tick);
        QVERIFY(protocol_->retryActive());
        QVERIFY(!protocol_->statusLine().visible());
    }
    QCOMPARE(finished.size(), 0);

    protocol_->retryTick();
    QCOMPARE(fake_->modes.size(), 13);   // the button's attempt and 12 retries
    QVERIFY(!fake_->modes.contains(!readMode));
    QVERIFY(!protocol_->retryActive());
    QVERIFY(!protocol_->clearingActive());
    QCOMPARE(protocol_->retryCount(), 0);
    QCOMPARE(protocol_->statusLine().text(), text);
    QCOMPARE(protocol_->statusLine().colour(), Colour::Red);
    QVERIFY(protocol_->statusLine().visible());
    QCOMPARE(finished.size(), 1);
    QCOMPARE(finished.at(0).at(0).toBool(), false);
}

void tst_RetryProtocol::successEndsTheSeries_data()
{
    QTest::addColumn<int>("failuresFirst");   // 0: the button's attempt succeeds
    QTest::addColumn<Language>("language");
    QTest::addColumn<QString>("text");
    QTest::newRow("button attempt") << 0 << Language::German << SuccessDe;
    QTest::newRow("first retry") << 1 << Language::German << SuccessDe;
    QTest::newRow("sixth retry, English") << 6 << Language::English << SuccessEn;
    QTest::newRow("twelfth retry") << 12 << Language::German << SuccessDe;
}

void tst_RetryProtocol::successEndsTheSeries()
{
    QFETCH(int, failuresFirst);
    QFETCH(Language, language);
    QFETCH(QString, text);
    protocol_->setLanguage(language);
    for (int i = 0; i < failuresFirst; ++i)
        fake_->script << Outcome::Failure;
    fake_->script << Outcome::Success;

    protocol_->startRead();
    for (int i = 0; i < failuresFirst; ++i)
        protocol_->retryTick();

    QCOMPARE(fake_->modes.size(), failuresFirst + 1);
    QVERIFY(!protocol_->retryActive());
    QCOMPARE(protocol_->retryInterval(), 500);
    // A success on a retry tick leaves the count at 1.
    const int left = failuresFirst > 0 ? 1 : 0;
    QCOMPARE(protocol_->retryCount(), left);
    QCOMPARE(protocol_->statusLine().text(), text);
    QCOMPARE(protocol_->statusLine().colour(), Colour::Black);
    QVERIFY(protocol_->statusLine().visible());
    QVERIFY(protocol_->clearingActive());
    QCOMPARE(protocol_->clearingInterval(), 5000);

    // The next failing series counts on from there: 12 retries, or 11 after a success on a retry.
    protocol_->startWrite();
    for (int tick = 1 + left; tick <= 11; ++tick)
        protocol_->retryTick();
    QVERIFY(protocol_->retryActive());
    QVERIFY(!protocol_->statusLine().visible());
    protocol_->retryTick();
    QVERIFY(!protocol_->retryActive());
    QCOMPARE(protocol_->statusLine().text(), language == Language::German ? FailureDe : FailureEn);
}

void tst_RetryProtocol::refusal_data()
{
    QTest::addColumn<bool>("duringSeries");
    QTest::addColumn<Language>("language");
    QTest::addColumn<QString>("text");
    QTest::newRow("idle, German") << false << Language::German << RefusalDe;
    QTest::newRow("idle, English") << false << Language::English << RefusalEn;
    QTest::newRow("on a retry tick") << true << Language::German << RefusalDe;
}

void tst_RetryProtocol::refusal()
{
    QFETCH(bool, duringSeries);
    QFETCH(Language, language);
    QFETCH(QString, text);
    protocol_->setLanguage(language);
    if (duringSeries) {
        fake_->script << Outcome::Failure << Outcome::Refused;
        protocol_->startWrite();
        protocol_->retryTick();
    } else {
        fake_->script << Outcome::Refused;
        protocol_->startWrite();
    }
    QCOMPARE(protocol_->statusLine().text(), text);
    QCOMPARE(protocol_->statusLine().colour(), Colour::Red);
    QVERIFY(protocol_->statusLine().visible());
    QVERIFY(!protocol_->clearingActive());
    // A refusal does not touch the retry timer.
    QCOMPARE(protocol_->retryActive(), duringSeries);
    QCOMPARE(protocol_->retryCount(), duringSeries ? 1 : 0);
}

void tst_RetryProtocol::everyAttemptStartsWithHiddenStatus()
{
    fake_->script << Outcome::Success << Outcome::Refused << Outcome::Failure;
    protocol_->startRead();
    QVERIFY(protocol_->statusLine().visible());
    protocol_->startWrite();
    QVERIFY(protocol_->statusLine().visible());
    protocol_->startWrite();
    QCOMPARE(fake_->statusShown, (QList<bool>{false, false, false}));
    QCOMPARE(fake_->statusTexts, (QStringList{"", "", ""}));
    QVERIFY(!protocol_->statusLine().visible());
    QCOMPARE(protocol_->statusLine().colour(), Colour::WindowText);
}

void tst_RetryProtocol::buttonDuringSeriesKeepsTheCounter()
{
    protocol_->startRead();
    for (int i = 0; i < 5; ++i)
        protocol_->retryTick();
    protocol_->startWrite();
    QCOMPARE(protocol_->retryCount(), 5);
    QVERIFY(protocol_->retryActive());
    for (int i = 0; i < 6; ++i)
        protocol_->retryTick();
    QVERIFY(protocol_->retryActive());
    protocol_->retryTick();
    QVERIFY(!protocol_->retryActive());
    QCOMPARE(protocol_->statusLine().text(), FailureDe);
    // 1 + 5 read attempts, then the write button and 7 write retries.
    QCOMPARE(fake_->modes.mid(0, 6), QList<bool>(6, true));
    QCOMPARE(fake_->modes.mid(6), QList<bool>(8, false));
}

void tst_RetryProtocol::clearingTick()
{
    QSignalSpy version(&protocol_->statusLine(), &StatusLine::versionChanged);
    fake_->script << Outcome::Success;
    protocol_->startRead();
    protocol_->statusLine().setVersionText(QStringLiteral("SW: 1.05"));
    QVERIFY(!protocol_->statusLine().versionVisible());
    protocol_->statusLine().revealVersion();
    QVERIFY(protocol_->statusLine().versionVisible());
    QVERIFY(!protocol_->statusLine().hotSpotVisible());
    QCOMPARE(protocol_->statusLine().versionText(), QStringLiteral("SW: 1.05"));

    protocol_->clearingTick();
    QVERIFY(!protocol_->statusLine().visible());
    QCOMPARE(protocol_->statusLine().text(), QString());
    QVERIFY(!protocol_->clearingActive());
    QCOMPARE(protocol_->statusLine().versionText(), QString());
    QVERIFY(!protocol_->statusLine().versionVisible());
    QVERIFY(protocol_->statusLine().hotSpotVisible());
    QVERIFY(version.size() >= 3);

    // The hot spot clicked after the clearing shows an empty version.
    protocol_->statusLine().revealVersion();
    QVERIFY(protocol_->statusLine().versionVisible());
    QCOMPARE(protocol_->statusLine().versionText(), QString());
}

void tst_RetryProtocol::buttonsStopPendingClearing_data()
{
    QTest::addColumn<bool>("readButton");
    QTest::newRow("read button") << true;
    QTest::newRow("write button") << false;
}

void tst_RetryProtocol::buttonsStopPendingClearing()
{
    QFETCH(bool, readButton);
    fake_->script << Outcome::Success << Outcome::Failure;
    protocol_->startWrite();
    QVERIFY(protocol_->clearingActive());
    readButton ? protocol_->startRead() : protocol_->startWrite();
    QVERIFY(!protocol_->clearingActive());
    QVERIFY(protocol_->retryActive());
}

void tst_RetryProtocol::failureStopsClearing()
{
    protocol_->startRead();
    protocol_->startClearing();   // a file loaded while the retries run
    QVERIFY(protocol_->clearingActive());
    for (int i = 0; i < 12; ++i)
        protocol_->retryTick();
    QVERIFY(!protocol_->clearingActive());
    QCOMPARE(protocol_->statusLine().text(), FailureDe);
}

void tst_RetryProtocol::closeDialogStopsEverything()
{
    fake_->script << Outcome::Success;
    protocol_->startRead();
    protocol_->statusLine().setVersionText(QStringLiteral("SW: 1.05"));
    protocol_->statusLine().revealVersion();
    protocol_->startWrite();   // fails: a series is running
    protocol_->retryTick();
    protocol_->startClearing();
    QVERIFY(protocol_->retryActive());

    protocol_->closeDialog();
    QVERIFY(!protocol_->retryActive());
    QVERIFY(!protocol_->clearingActive());
    QCOMPARE(protocol_->retryCount(), 0);
    QVERIFY(!protocol_->statusLine().visible());
    QCOMPARE(protocol_->statusLine().versionText(), QString());
    QVERIFY(!protocol_->statusLine().versionVisible());
    QVERIFY(protocol_->statusLine().hotSpotVisible());

    const int attempts = fake_->modes.size();
    QTest::qWait(700);
    QCOMPARE(fake_->modes.size(), attempts);
}

void tst_RetryProtocol::languageOfLaterMessages()
{
    fake_->script << Outcome::Success;
    protocol_->startRead();
    QCOMPARE(protocol_->statusLine().text(), SuccessDe);
    // A text already shown stays; the next one is English.
    protocol_->setLanguage(Language::English);
    QCOMPARE(protocol_->statusLine().text(), SuccessDe);
    fake_->script << Outcome::Refused;
    protocol_->startWrite();
    QCOMPARE(protocol_->statusLine().text(), RefusalEn);
    protocol_->setLanguage(Language::German);
    protocol_->showMessage(ConfigMessage::FileReadCorrectly, Colour::Black);
    QCOMPARE(protocol_->statusLine().text(), QStringLiteral("Datei korrekt eingelesen"));
}

void tst_RetryProtocol::statusOperations()
{
    QSignalSpy status(&protocol_->statusLine(), &StatusLine::changed);
    protocol_->statusLine().show(QStringLiteral("Datei fehlerhaft C4"), Colour::Red);
    QVERIFY(protocol_->statusLine().visible());
    protocol_->statusLine().emptyText();
    QCOMPARE(protocol_->statusLine().text(), QString());
    QVERIFY(protocol_->statusLine().visible());   // visibility left as it was
    protocol_->statusLine().hide();
    QVERIFY(!protocol_->statusLine().visible());
    protocol_->statusLine().emptyText();
    QVERIFY(!protocol_->statusLine().visible());
    QCOMPARE(status.size(), 4);
}

void tst_RetryProtocol::realTimers()
{
    // Driven by the event loop, with the real 500 ms interval: a success on the second
    // retry ends the series after about one second.
    // The attempts are counted; the times have the lower bound the retry timer guarantees
    // (1 ms a tick for rounding), and the waits are only guards against a hang, four times
    // what the ticks need, for a loaded machine.
    constexpr int Interval = RetryProtocol::RetryIntervalMs;
    fake_->script << Outcome::Failure << Outcome::Failure << Outcome::Success;
    QElapsedTimer clock;
    clock.start();
    protocol_->startRead();
    QTRY_COMPARE_WITH_TIMEOUT(protocol_->statusLine().text(), SuccessDe, 4 * 2 * Interval);
    const qint64 success = clock.elapsed();
    QVERIFY2(success >= 2 * (Interval - 1), qPrintable(QString::number(success)));
    QCOMPARE(fake_->modes.size(), 3);
    QVERIFY(protocol_->clearingActive());

    // A series that never succeeds shows the failure text about six seconds after the
    // click; after a success on a retry the count stands at 1, so this series makes 11.
    constexpr int Retries = RetryProtocol::MaxRetries - 1;
    protocol_->startWrite();
    clock.restart();
    QTRY_COMPARE_WITH_TIMEOUT(protocol_->statusLine().text(), FailureDe, 4 * Retries * Interval);
    const qint64 failure = clock.elapsed();
    QVERIFY2(failure >= Retries * (Interval - 1), qPrintable(QString::number(failure)));
    QCOMPARE(fake_->modes.size(), 3 + 1 + Retries);
    QTest::qWait(600);
    QCOMPARE(fake_->modes.size(), 3 + 12);
}

void tst_RetryProtocol::buttonDuringAnAttemptWaitsForIt()
{
    fake_->hold = true;
    protocol_->startRead();
    QVERIFY(protocol_->attemptInFlight());
    protocol_->startWrite();   // pressed while the read is on the line
    QCOMPARE(fake_->modes, QList<bool>{true});
    QVERIFY(protocol_->readMode());   // the whole click waits, its mode too
    fake_->answer();           // the read fails; the write goes out right after it
    QCoreApplication::processEvents();   // what waited follows from the event loop
    QCOMPARE(fake_->modes, (QList<bool>{true, false}));
    QVERIFY(protocol_->attemptInFlight());
    fake_->script = {Outcome::Success};
    fake_->answer();
    QVERIFY(!protocol_->attemptInFlight());
    QVERIFY(!protocol_->retryActive());
    QCOMPARE(protocol_->statusLine().text(), SuccessDe);
}

void tst_RetryProtocol::retryTickDuringAnAttemptWaitsForIt_data()
{
    QTest::addColumn<Outcome>("outcomeInFlight");
    QTest::addColumn<int>("attempts");     // once the attempt in flight has been answered
    QTest::addColumn<int>("retryCount");   // once every attempt has been answered
    QTest::newRow("failure: the tick's attempt follows and counts") << Outcome::Failure << 3 << 1;
    QTest::newRow("success: the series is over, the tick is dropped") << Outcome::Success << 2 << 0;
}

void tst_RetryProtocol::retryTickDuringAnAttemptWaitsForIt()
{
    QFETCH(Outcome, outcomeInFlight);
    QFETCH(int, attempts);
    QFETCH(int, retryCount);
    protocol_->startRead();            // fails: the series starts
    QVERIFY(protocol_->retryActive());
    fake_->hold = true;
    protocol_->startRead();            // a second press, still in flight ...
    protocol_->retryTick();            // ... when the retry tick falls due
    QCOMPARE(fake_->modes.size(), 2);
    fake_->script = {outcomeInFlight};
    fake_->answer();
    QCoreApplication::processEvents();
    QCOMPARE(fake_->modes.size(), attempts);
    QTest::qWait(20);   // a dropped tick stays dropped
    QCOMPARE(fake_->modes.size(), attempts);
    if (protocol_->attemptInFlight())
        fake_->answer();
    QCoreApplication::processEvents();
    QCOMPARE(protocol_->retryCount(), retryCount);
}

void tst_RetryProtocol::closeDialogForgetsTheAttemptInFlight()
{
    fake_->hold = true;
    protocol_->startRead();
    protocol_->startWrite();   // waiting behind the read
    protocol_->closeDialog();
    QVERIFY(!protocol_->attemptInFlight());
    fake_->answer();           // a late outcome changes nothing
    QCOMPARE(fake_->modes.size(), 1);
    QVERIFY(!protocol_->retryActive());
    QVERIFY(!protocol_->statusLine().visible());
}

void tst_RetryProtocol::actionsDuringAnAttemptFollowInOrder()
{
    QStringList log;
    fake_->hold = true;
    protocol_->startRead();
    protocol_->whenIdle([&] { log << QStringLiteral("A"); });
    protocol_->startWrite();
    protocol_->whenIdle([&] { log << QStringLiteral("B"); });
    protocol_->retryTick();   // falls due meanwhile
    QVERIFY(log.isEmpty());
    QVERIFY(protocol_->readMode());
    fake_->answer();          // the read fails
    // A, then the write, which B waits for; the tick waits behind them.
    QCoreApplication::processEvents();
    QCOMPARE(fake_->modes, (QList<bool>{true, false}));
    QCOMPARE(log, QStringList{"A"});
    fake_->script = {Outcome::Failure};
    fake_->answer();
    QCoreApplication::processEvents();
    QCOMPARE(log, (QStringList{"A", "B"}));
    QCoreApplication::processEvents();
    QCOMPARE(fake_->modes, (QList<bool>{true, false, false}));   // the tick, in write mode
    QVERIFY(protocol_->attemptInFlight());
    fake_->answer();
    QCoreApplication::processEvents();
    QVERIFY(!protocol_->busy());
    QCOMPARE(protocol_->retryCount(), 1);
    // Between attempts nothing waits.
    protocol_->whenIdle([&] { log << QStringLiteral("C"); });
    QCOMPARE(log, (QStringList{"A", "B", "C"}));
}

void tst_RetryProtocol::actionInsideAWaitingActionKeepsItsPlace()
{
    QStringList log;
    fake_->hold = true;
    protocol_->startRead();
    // A starts a write, then its second half must wait for that write, yet comes before B.
    protocol_->whenIdle([&] {
        log << QStringLiteral("A1");
        protocol_->startWrite();
        protocol_->whenIdle([&] { log << QStringLiteral("A2"); });
    });
    protocol_->whenIdle([&] { log << QStringLiteral("B"); });
    fake_->answer();
    QCoreApplication::processEvents();
    QCOMPARE(log, QStringList{"A1"});
    QVERIFY(protocol_->attemptInFlight());
    fake_->answer();
    QCoreApplication::processEvents();
    QCOMPARE(log, (QStringList{"A1", "A2", "B"}));
}

QTEST_GUILESS_MAIN(tst_RetryProtocol)
#include "tst_retryprotocol.moc"
