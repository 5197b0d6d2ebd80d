// The serial line against the module simulator on a real pseudo-terminal.
#include "link/portnames.h"
#include "link/serialline.h"
#include "linkwait.h"
#include "processfigures.h"
#include "simulatorprocess.h"

#include <QtTest>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

static const QString Com1 = QStringLiteral("\\\\.\\COM1");

class tst_SerialLine : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { SimulatorProcess::useTemporaryDataHome(); }
    void portNames_data();
    void portNames();
    void silentLineEndsAfter120ms();
    void telegramEndsAtTheGap();
    void readStopsAt60Bytes();
    void missingPortGivesNothing();
    void heldPortIsRefused();
    void secondOpenerByAnyNameIsRefused();
    void vanishedPortNeitherBlocksNorSpins();
    void eventsRunWhileAReadWaits();
    void closeDropsAReadInFlight();
};

void tst_SerialLine::portNames_data()
{
    QTest::addColumn<QString>("link");       // COM name linked in the user's folder, or empty
    QTest::addColumn<QString>("deviceName");
    QTest::addColumn<QString>("path");       // relative to the ports folder when starting with '@'
    QTest::newRow("user link wins") << "COM7" << "\\\\.\\COM7" << "@COM7";
    QTest::newRow("no link: ttyS of n-1") << "" << "\\\\.\\COM8" << "/dev/ttyS7";
    QTest::newRow("COM20 without link") << "" << "\\\\.\\COM20" << "/dev/ttyS19";
    // An unplugged adapter leaves its COM name absent; the on-board port does not stand in.
    QTest::newRow("dangling link still names the port") << "COM9!" << "\\\\.\\COM9" << "@COM9";
}

void tst_SerialLine::portNames()
{
    QFETCH(QString, link);
    QFETCH(QString, deviceName);
    QFETCH(QString, path);
    const QString folder = portnames::userPortsFolder();
    QDir().mkpath(folder);
    if (!link.isEmpty()) {
        const bool dangling = link.endsWith('!');
        link.remove('!');
        QFile::remove(folder + link);
        QVERIFY(QFile::link(dangling ? folder + "nowhere" : QStringLiteral("/dev/null"), folder + link));
    }
    if (path.startsWith('@'))
        path = folder + path.mid(1);
    QCOMPARE(portnames::systemPath(deviceName), path);
    QCOMPARE(portnames::portNumber(deviceName), deviceName.mid(7).toInt());
}

void tst_SerialLine::silentLineEndsAfter120ms()
{
    SimulatorProcess sim;
    QVERIFY(sim.start({"--rate", "0"}));
    SerialLine line;
    line.open(Com1);
    QVERIFY(line.isUsable());
    constexpr int TotalMs = 120;
    QElapsedTimer clock;
    clock.start();
    QVERIFY(readOnce(line, 60, 3, TotalMs).isEmpty());
    const qint64 took = clock.elapsed();
    // Not before its total time-out (1 ms for rounding); the upper bound is only a guard
    // against a read that does not end there, generous for a loaded machine.
    QVERIFY2(took >= TotalMs - 1 && took < 4 * TotalMs, qPrintable(QString::number(took)));
}

void tst_SerialLine::telegramEndsAtTheGap()
{
    // Telegrams 200 ms apart: one read ends a few ms after the 31 bytes, not at 60 bytes.
    // Its total time-out spans several telegrams, so a read that the gap did not end
    // would have taken in the next telegram too, and would have lasted its whole time.
    constexpr int TelegramPeriodMs = 200;   // --rate 5
    constexpr int TotalMs = 5 * TelegramPeriodMs;
    SimulatorProcess sim;
    QVERIFY(sim.start({"--rate", "5", "--variant", "19"}));
    SerialLine line;
    line.open(Com1);
    QByteArray got;
    QElapsedTimer clock;
    for (int i = 0; i < 10 && got.size() != 31; ++i) {
        readOnce(line, 60, 3, 120);   // align on the gap between two telegrams
        clock.start();
        got = readOnce(line, 60, 3, TotalMs);
    }
    QCOMPARE(got.size(), 31);
    QCOMPARE(quint8(got[0]), quint8(0xE4));
    QCOMPARE(quint8(got[1]), quint8(0x19));
    QVERIFY2(clock.elapsed() < TotalMs - 1, "the read waited for the total time-out");
}

void tst_SerialLine::readStopsAt60Bytes()
{
    SimulatorProcess sim;
    QVERIFY(sim.start({"--rate", "0"}));
    SerialLine line;
    line.open(Com1);
    QVERIFY(sim.commandOk("raw " + QByteArray(80, '\x5A').toHex(' ')));
    QCOMPARE(readOnce(line, 60, 3, 120).size(), 60);
    QCOMPARE(readOnce(line, 60, 3, 120).size(), 20);
}

void tst_SerialLine::missingPortGivesNothing()
{
    if (QFile::exists(QStringLiteral("/dev/ttyS16")))
        QSKIP("this machine has a /dev/ttyS16");
    SerialLine line;
    line.open(QStringLiteral("\\\\.\\COM17"));   // nothing linked
    QVERIFY(!line.isUsable());
    // Completes from the event loop, without waiting for its total time-out, which is
    // long enough here that no busy machine comes near it.
    constexpr int TotalMs = 2000;
    QElapsedTimer clock;
    clock.start();
    QVERIFY(readOnce(line, 60, 3, TotalMs).isEmpty());
    QVERIFY2(clock.elapsed() < TotalMs - 1, qPrintable(QString::number(clock.elapsed())));
}

void tst_SerialLine::heldPortIsRefused()
{
    // Another program holds the device by its real name.
    SimulatorProcess sim;
    QVERIFY(sim.start({"--rate", "20"}));
    const int fd = ::open(QFile::encodeName(sim.slavePath()).constData(), O_RDWR | O_NOCTTY);
    QVERIFY(fd >= 0);
    QCOMPARE(::flock(fd, LOCK_EX | LOCK_NB), 0);
    SerialLine line;
    line.open(Com1);
    QVERIFY(!line.isUsable());
    QVERIFY(readOnce(line, 60, 3, 120).isEmpty());
    ::close(fd);
    line.open(Com1);
    QVERIFY(line.isUsable());
}

void tst_SerialLine::secondOpenerByAnyNameIsRefused()
{
    SimulatorProcess sim;
    QVERIFY(sim.start({"--rate", "20"}));
    SerialLine first;
    first.open(Com1);
    QVERIFY(first.isUsable());
    // The same device under its real name, as another program would open it.
    const int fd = ::open(QFile::encodeName(sim.slavePath()).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    QVERIFY(fd >= 0);
    QVERIFY(::flock(fd, LOCK_EX | LOCK_NB) != 0);
    ::close(fd);
    SerialLine second;
    second.open(Com1);
    QVERIFY(!second.isUsable());
    first.close();
    second.open(Com1);
    QVERIFY(second.isUsable());
}

void tst_SerialLine::vanishedPortNeitherBlocksNorSpins()
{
    SimulatorProcess sim;
    QVERIFY(sim.start({"--rate", "20"}));
    SerialLine line;
    line.open(Com1);
    QTRY_VERIFY(!readOnce(line, 60, 3, 120).isEmpty());
    QVERIFY(sim.commandOk("vanish"));
    // Ticks as the main window makes them: 50 ms apart, one read each.
    const double cpuBefore = cpuSeconds();
    QElapsedTimer clock;
    clock.start();
    int bytes = 0;
    while (clock.elapsed() < 1500) {
        bytes += readOnce(line, 60, 3, 120).size();
        QTest::qWait(50);
    }
    QVERIFY(bytes < 200);   // at most what was under way when the adapter went
    QVERIFY(readOnce(line, 60, 3, 120).isEmpty());
    const double cpu = cpuSeconds() - cpuBefore;
    QVERIFY2(cpu < 0.3, qPrintable(QStringLiteral("%1 s of CPU in 1.5 s").arg(cpu)));
    QVERIFY(sim.isRunning());
}

void tst_SerialLine::eventsRunWhileAReadWaits()
{
    SimulatorProcess sim;
    QVERIFY(sim.start({"--rate", "0"}));
    SerialLine line;
    QVERIFY(line.open(Com1));
    int ticks = 0;
    QTimer probe;
    probe.setInterval(5);
    connect(&probe, &QTimer::timeout, this, [&] { ++ticks; });
    probe.start();
    QSignalSpy done(&line, &SerialLine::readFinished);
    constexpr int TotalMs = 120;
    QElapsedTimer clock;
    clock.start();
    line.startRead(60, 3, TotalMs);
    // Starting a read does not wait: a start that did would have taken the whole 120 ms of
    // silence.
    QVERIFY2(clock.elapsed() < TotalMs - 1, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(done.isEmpty());
    const int ticksAtStart = ticks;
    QVERIFY(done.wait(2000));
    QVERIFY(done.first().first().toByteArray().isEmpty());
    // 120 ms of silence: the 5 ms timer ran meanwhile. A loop held by the read would let
    // one overdue tick through at its end; a few of the 24 periods is a generous bound.
    QVERIFY2(ticks - ticksAtStart >= 3, qPrintable(QString::number(ticks - ticksAtStart)));
}

void tst_SerialLine::closeDropsAReadInFlight()
{
    SimulatorProcess sim;
    QVERIFY(sim.start({"--rate", "20"}));
    SerialLine line;
    QVERIFY(line.open(Com1));
    QSignalSpy done(&line, &SerialLine::readFinished);
    line.startRead(60, 3, 120);
    line.close();
    QTest::qWait(300);
    QVERIFY(done.isEmpty());
    // Reopened, it reads again.
    QVERIFY(line.open(Com1));
    QTRY_VERIFY(!readOnce(line, 60, 3, 120).isEmpty());
}

QTEST_MAIN(tst_SerialLine)
#include "tst_serialline.moc"
