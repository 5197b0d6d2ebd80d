// The configuration transaction on a real pseudo-terminal against the module simulator:
// what one read takes in, and how long the dialog waits.
#include "config/configtransaction.h"
#include "linkwait.h"
#include "simulatorprocess.h"

#include <QtTest>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

static const QByteArray ReadRequest = QByteArray::fromHex("FFFC");

class tst_TransactionTiming : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase() { sim.stop(); }
    // A row that failed before its end leaves its requests behind: they are not the next row's.
    void init() { QVERIFY(sim.commandOk("config-delay 10")); QVERIFY(sim.commandOk("config-split 0"));
                  QVERIFY(sim.commandOk("config-long 0")); QVERIFY(sim.commandOk("config-mute off"));
                  sim.receivedRequests(); }
    void replies_data();
    void replies();
    void heldPortGivesNothing();
    void eventsRunWhileAnExchangeWaits();

private:
    SimulatorProcess sim;
};

void tst_TransactionTiming::initTestCase()
{
    SimulatorProcess::useTemporaryDataHome();
    QVERIFY(sim.start({"--variant", "17", "--rate", "0"}));
}

void tst_TransactionTiming::replies_data()
{
    QTest::addColumn<QString>("setting");
    QTest::addColumn<int>("bytes");         // what the read takes in
    QTest::addColumn<int>("atLeastMs");     // how long the exchange takes, at least
    QTest::addColumn<bool>("wholeTime");    // the read lasts its total time-out

    // The simulator's single-port reply is 29 bytes. A read that ends at a pause waits
    // ReplyGapMs after the last byte; 1 ms is allowed for rounding everywhere.
    constexpr int Gap = ConfigTransaction::ReplyGapMs - 1;
    constexpr int Total = ConfigTransaction::ReplyTotalMs - 1;
    QTest::newRow("prompt reply, whole") << "config-delay 10" << 29 << 10 + Gap << false;
    QTest::newRow("40 ms late, one burst: whole") << "config-delay 40" << 29 << 40 + Gap << false;
    QTest::newRow("pause of 40 ms inside: whole") << "config-split 40" << 29 << 10 + 40 + Gap << false;
    QTest::newRow("pause of 120 ms inside: cut at the pause") << "config-split 120" << 14 << 10 + Gap << false;
    QTest::newRow("longer than 50 bytes: first 50") << "config-long 40" << 50 << 10 << false;
    QTest::newRow("no answer: ends after 260 ms") << "config-mute on" << 0 << Total << true;
    QTest::newRow("answer after 300 ms: nothing") << "config-delay 300" << 0 << Total << true;
}

void tst_TransactionTiming::replies()
{
    QFETCH(QString, setting);
    QFETCH(int, bytes);
    QFETCH(int, atLeastMs);
    QFETCH(bool, wholeTime);
    QVERIFY(sim.commandOk(setting));
    SerialLine line;
    ConfigTransaction transaction(line);
    // The read begins when the request has left. What comes before it (the open, which as
    // root syncs a lock file to disk) is not the read's time and is timed apart.
    // A read held still for longer than half its margin is made again, five times at most.
    QElapsedTimer clock;
    qint64 readBegan = -1;
    HoldWatch hold;
    connect(&line, &SerialLine::writeFinished, this, [&] {
        readBegan = clock.elapsed();
        hold.start();
    });
    const qint64 margin = ConfigTransaction::ReplyTotalMs - atLeastMs;
    QByteArray reply;
    qint64 took = 0;
    qint64 readTook = 0;
    qint64 longestHold = 0;
    for (int round = 0; round < 5; ++round) {
        if (round > 0) {
            qInfo("held still for %lld ms in a read of %lld ms: made again", longestHold, readTook);
            QTest::qWait(400);   // a late answer goes by first
            sim.receivedRequests();
        }
        readBegan = -1;
        clock.start();
        reply = commandOnce(transaction, sim.deviceName(), ReadRequest);
        took = clock.elapsed();
        QVERIFY2(readBegan >= 0, "the request never left");
        longestHold = hold.stop();
        readTook = took - readBegan;
        if (wholeTime || longestHold < margin / 2)
            break;
    }
    QCOMPARE(reply.size(), bytes);
    if (bytes > 0)
        QCOMPARE(quint8(reply[0]), quint8(0xE4));
    const QString times = QStringLiteral("read %1 ms of an exchange of %2 ms, held still for %3 ms at most")
                              .arg(readTook).arg(took).arg(longestHold);
    // The reply comes after the request, which leaves after the command: the lower bound
    // holds for the whole exchange.
    QVERIFY2(took >= atLeastMs, qPrintable(times));
    // A read that a pause or its size ended did not wait for the total time-out, which it
    // could not have ended before; a read that lasts its whole time has only a guard
    // against a hang, generous for a loaded machine.
    constexpr int Exchange = ConfigTransaction::WriteTimeoutMs + ConfigTransaction::ReplyTotalMs;
    if (wholeTime)
        QVERIFY2(took < 4 * Exchange, qPrintable(times));
    else
        QVERIFY2(readTook < ConfigTransaction::ReplyTotalMs - 1, qPrintable(times + ": waited for the total time-out"));
    QCOMPARE(sim.receivedRequests(), QList<QByteArray>{ReadRequest});
    QTest::qWait(400);   // a late answer goes by before the next row
    sim.receivedRequests();
}

void tst_TransactionTiming::heldPortGivesNothing()
{
    const int fd = ::open(QFile::encodeName(sim.slavePath()).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    QVERIFY(fd >= 0);
    QCOMPARE(::flock(fd, LOCK_EX | LOCK_NB), 0);
    SerialLine line;
    ConfigTransaction transaction(line);
    QVERIFY(commandOnce(transaction, sim.deviceName(), ReadRequest).isEmpty());
    ::close(fd);
    QTest::qWait(100);
    QVERIFY(sim.receivedRequests().isEmpty());   // nothing was written past the holder
    QCOMPARE(commandOnce(transaction, sim.deviceName(), ReadRequest).size(), 29);
}

void tst_TransactionTiming::eventsRunWhileAnExchangeWaits()
{
    QVERIFY(sim.commandOk("config-mute on"));
    int ticks = 0;
    QTimer probe;
    probe.setInterval(5);
    connect(&probe, &QTimer::timeout, this, [&] { ++ticks; });
    probe.start();
    SerialLine line;
    ConfigTransaction transaction(line);
    QSignalSpy replied(&transaction, &ConfigTransaction::replied);
    transaction.command(sim.deviceName(), ReadRequest);
    // The exchange is started, not waited for: one that waited would have replied before
    // command() returned. (Its time says little: as root the open syncs a lock file.)
    QVERIFY(replied.isEmpty());
    QVERIFY(transaction.inFlight());
    const int ticksAtStart = ticks;
    QVERIFY(replied.wait(2000));
    QVERIFY(replied.first().first().toByteArray().isEmpty());
    // 260 ms of waiting for a reply that never comes: the 5 ms timer ran meanwhile. A loop
    // held by the exchange would let one overdue tick through at its end; a few of the 52
    // periods is a generous bound.
    QVERIFY2(ticks - ticksAtStart >= 3, qPrintable(QString::number(ticks - ticksAtStart)));
    sim.receivedRequests();
}

QTEST_MAIN(tst_TransactionTiming)
#include "tst_transactiontiming.moc"
