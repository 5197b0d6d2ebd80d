#include "link/monitorport.h"
#include "fakeline.h"

#include <QtTest>


class tst_MonitorPort : public QObject
{
    Q_OBJECT
private slots:
    void ticks_data();
    void ticks();
    void reopenAfterConfiguration();
    void readBytesArriveLater();
    void closingDropsTheReadInFlight();
    void chosenPort_data();
    void chosenPort();
    void reconnectAutomatically_data();
    void reconnectAutomatically();
};

static const QString Read = QStringLiteral("read 60 3 120");

void tst_MonitorPort::ticks_data()
{
    QTest::addColumn<QList<int>>("selections");   // selected index at each tick
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<QString>("deviceName");

    QTest::newRow("first tick with COM1 selected opens once")
        << QList<int>{0} << QStringList{"open \\\\.\\COM1", Read} << "\\\\.\\COM1";
    QTest::newRow("first tick with COM3 opens COM1, then COM3")
        << QList<int>{2} << QStringList{"open \\\\.\\COM1", "close", "open \\\\.\\COM3", Read} << "\\\\.\\COM3";
    QTest::newRow("unchanged selection neither closes nor opens")
        << QList<int>{0, 0, 0} << QStringList{"open \\\\.\\COM1", Read, Read, Read} << "\\\\.\\COM1";
    QTest::newRow("COM12 opens in device-namespace form")
        << QList<int>{0, 11} << QStringList{"open \\\\.\\COM1", Read, "close", "open \\\\.\\COM12", Read}
        << "\\\\.\\COM12";
    QTest::newRow("no selection keeps the open port")
        << QList<int>{4, -1} << QStringList{"open \\\\.\\COM1", "close", "open \\\\.\\COM5", Read, Read}
        << "\\\\.\\COM5";
    QTest::newRow("no selection on the first tick opens COM1")
        << QList<int>{-1} << QStringList{"open \\\\.\\COM1", Read} << "\\\\.\\COM1";
    QTest::newRow("COM20")
        << QList<int>{19} << QStringList{"open \\\\.\\COM1", "close", "open \\\\.\\COM20", Read} << "\\\\.\\COM20";
}

void tst_MonitorPort::ticks()
{
    QFETCH(QList<int>, selections);
    QFETCH(QStringList, calls);
    QFETCH(QString, deviceName);

    FakeLine line;
    MonitorPort port(line);
    for (int index : selections)
        port.tick(index);
    QCOMPARE(line.calls, calls);
    QCOMPARE(port.deviceName(), deviceName);
    QVERIFY(port.portOpened);
}

void tst_MonitorPort::reopenAfterConfiguration()
{
    // A configuration dialog takes the port and gives it back: the same name reopens,
    // there is no fall-back to COM1 once a port has been opened.
    FakeLine line;
    MonitorPort port(line);
    port.tick(6);
    port.schliessecom();
    port.oeffnecom();
    port.tick(6);
    QCOMPARE(line.calls, (QStringList{"open \\\\.\\COM1", "close", "open \\\\.\\COM7", Read,
                                      "close", "open \\\\.\\COM7", Read}));
    QCOMPARE(port.openPortNumber, quint8(7));
}

void tst_MonitorPort::readBytesArriveLater()
{
    FakeLine line;
    line.replies = {QByteArray("\xE4\x17", 2)};
    MonitorPort port(line);
    QSignalSpy received(&port, &MonitorPort::received);
    port.tick(0);
    QVERIFY(received.isEmpty());   // the tick only starts the read
    QVERIFY(received.wait(1000));
    QCOMPARE(received.first().first().toByteArray(), QByteArray("\xE4\x17", 2));
}

void tst_MonitorPort::closingDropsTheReadInFlight()
{
    // The configuration button takes the port while a read waits: its bytes never come.
    FakeLine line;
    line.holdReads = true;
    MonitorPort port(line);
    QSignalSpy received(&port, &MonitorPort::received);
    port.tick(0);
    QVERIFY(line.readInFlight());
    port.schliessecom();
    line.completeRead("late");
    QTest::qWait(20);
    QVERIFY(received.isEmpty());
}

void tst_MonitorPort::chosenPort_data()
{
    // Each step: a list index to tick with, "choose NAME", or "reopen".
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<QString>("deviceName");
    const QString pts = QStringLiteral("/dev/pts/7");
    QTest::newRow("chosen before the first tick: COM1 first, then it")
        << QStringList{"choose /dev/pts/7", "0", "0"}
        << QStringList{"open \\\\.\\COM1", "close", "open " + pts, Read, Read} << pts;
    QTest::newRow("chosen while the list is hidden: kept by every tick")
        << QStringList{"3", "3", "choose /dev/pts/7", "3", "3", "3"}
        << QStringList{"open \\\\.\\COM1", "close", "open \\\\.\\COM4", Read, Read, "close", "open " + pts, Read, Read, Read}
        << pts;
    QTest::newRow("a new pick in the list ends the choice")
        << QStringList{"0", "choose /dev/pts/7", "0", "5"}
        << QStringList{"open \\\\.\\COM1", Read, "close", "open " + pts, Read, "close", "open \\\\.\\COM6", Read}
        << "\\\\.\\COM6";
    QTest::newRow("choosing the open port again changes nothing")
        << QStringList{"0", "choose \\\\.\\COM1", "0"}
        << QStringList{"open \\\\.\\COM1", Read, Read} << "\\\\.\\COM1";
    QTest::newRow("reopen closes and opens the same name once")
        << QStringList{"2", "reopen", "2", "2"}
        << QStringList{"open \\\\.\\COM1", "close", "open \\\\.\\COM3", Read, "close", "open \\\\.\\COM3", Read, Read}
        << "\\\\.\\COM3";
}

void tst_MonitorPort::chosenPort()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, calls);
    QFETCH(QString, deviceName);
    FakeLine line;
    MonitorPort port(line);
    for (const QString &step : steps) {
        if (step.startsWith("choose "))
            port.choose(step.mid(7));
        else if (step == "reopen")
            port.requestReopen();
        else
            port.tick(step.toInt());
    }
    QCOMPARE(line.calls, calls);
    QCOMPARE(port.deviceName(), deviceName);
}

void tst_MonitorPort::reconnectAutomatically_data()
{
    QTest::addColumn<bool>("automatic");
    QTest::newRow("on: reopened when the device appears") << true;
    QTest::newRow("off: never reopened") << false;
}

void tst_MonitorPort::reconnectAutomatically()
{
    // The device is a file that comes and goes; the fake line cannot open it until it is there.
    QFETCH(bool, automatic);
    QTemporaryDir dir;
    const QString device = dir.filePath("ttyUSB0");
    FakeLine line;
    line.usable = false;
    MonitorPort port(line);
    port.setAutoReconnect(automatic);
    port.choose(device);
    port.tick(0);
    port.tick(0);
    port.tick(0);
    const QStringList absent{"open \\\\.\\COM1", "close", "open " + device, Read, Read, Read};
    QCOMPARE(line.calls, absent);   // nothing tried while it is absent

    QFile f(device);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    line.usable = true;
    QTest::qWait(250);   // it looks five times a second
    port.tick(0);
    port.tick(0);
    const QStringList after = automatic ? QStringList{"close", "open " + device, Read, Read} : QStringList{Read, Read};
    QCOMPARE(line.calls, absent + after);
}

QTEST_MAIN(tst_MonitorPort)
#include "tst_monitorport.moc"
