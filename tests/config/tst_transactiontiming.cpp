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
    void init() { QVERIFY(sim.commandOk("config-delay 10")); QVERIFY(sim.commandOk("config-split 0"));
                  QVERIFY(sim.commandOk("config-long 0")); QVERIFY(sim.commandOk("config-mute off")); }
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
    QTest::addColumn<int>("bytes");       // what the read takes in
    QTest::addColumn<int>("atLeastMs");   // how long the exchange takes, at least ...
    QTest::addColumn<int>("atMostMs");    // ... and at most

    // The simulator's single-port reply is 29 bytes.
    QTest::newRow("prompt reply, whole") << "config-delay 10" << 29 << 0 << 200;
    QTest::newRow("40 ms late, one burst: whole") << "config-delay 40" << 29 << 40 << 230;
    QTest::newRow("pause of 40 ms inside: whole") << "config-split 40" << 29 << 40 << 260;
    QTest::newRow("pause of 120 ms inside: cut at the pause") << "config-split 120" << 14 << 80 << 300;
    QTest::newRow("longer than 50 bytes: first 50") << "config-long 40" << 50 << 0 << 250;
    QTest::newRow("no answer: ends after 260 ms") << "config-mute on" << 0 << 255 << 330;
    QTest::newRow("answer after 300 ms: nothing") << "config-delay 300" << 0 << 255 << 330;
}

void tst_TransactionTiming::replies()
{
    QFETCH(QString, setting);
    QFETCH(int, bytes);
    QFETCH(int, atLeastMs);
    QFETCH(int, atMostMs);
    QVERIFY(sim.commandOk(setting));
    SerialLine line;
    ConfigTransaction transaction(line);
    QElapsedTimer clock;
    clock.start();
    const QByteArray reply = commandOnce(transaction, sim.deviceName(), ReadRequest);
    const qint64 took = clock.elapsed();
    QCOMPARE(reply.size(), bytes);
    if (bytes > 0)
        QCOMPARE(quint8(reply[0]), quint8(0xE4));
    QVERIFY2(took >= atLeastMs && took <= atMostMs, qPrintable(QStringLiteral("%1 ms").arg(took)));
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
    QElapsedTimer clock;
    clock.start();
    transaction.command(sim.deviceName(), ReadRequest);
    QVERIFY(clock.elapsed() < 20);   // the exchange is started, not waited for
    QVERIFY(replied.wait(2000));
    QVERIFY(replied.first().first().toByteArray().isEmpty());
    // 260 ms of waiting for a reply that never comes: the 5 ms timer ran all along
    // (generous bound).
    QVERIFY2(ticks >= 15, qPrintable(QString::number(ticks)));
    sim.receivedRequests();
}

QTEST_MAIN(tst_TransactionTiming)
#include "tst_transactiontiming.moc"
