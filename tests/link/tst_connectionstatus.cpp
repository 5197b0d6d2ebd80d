// What the connection window reports of the main window's line: counters since the open,
// and the state that a vanished device leaves behind.
#include "fakeline.h"
#include "hexbytes.h"
#include "link/connectionstatus.h"
#include "link/frame.h"
#include "link/statustelegram.h"

#include <QtTest>

using Kind = ConnectionStatus::Kind;

static const QByteArray Example = hexBytes(
    "E4 17 05 00 01 2C 00 96 04 D2 00 00 03 E8 00 07 04 D2 00 32 09 60 09 5B A6 00 00 00 FD E4 16");

class tst_ConnectionStatus : public QObject
{
    Q_OBJECT
private slots:
    void counters_data();
    void counters();
    void countersStartAgainAtEveryOpen();
    void lostStaysUntilBackOrAnotherPort();
    void failedOpenIsDiagnosed();
};

void tst_ConnectionStatus::counters_data()
{
    QByteArray badCheck = Example;
    badCheck[28] = char(badCheck[28] ^ 0x01);
    QTest::addColumn<QByteArrayList>("reads");
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<qint64>("accepted");
    QTest::addColumn<qint64>("rejected");
    QTest::addColumn<qint64>("outside");
    QTest::newRow("two telegrams") << QByteArrayList{Example, Example} << qint64(62) << qint64(2) << qint64(0) << qint64(0);
    QTest::newRow("telegram cut across two reads") << QByteArrayList{Example.left(10), Example.mid(10)}
                                                   << qint64(31) << qint64(1) << qint64(0) << qint64(0);
    QTest::newRow("wrong check byte") << QByteArrayList{badCheck, Example} << qint64(62) << qint64(1) << qint64(1) << qint64(0);
    QTest::newRow("noise before a telegram") << QByteArrayList{hexBytes("00 55 16") + Example}
                                             << qint64(34) << qint64(1) << qint64(0) << qint64(3);
    QTest::newRow("start byte without a type byte") << QByteArrayList{hexBytes("E4 20") + Example}
                                                    << qint64(33) << qint64(1) << qint64(0) << qint64(2);
    QTest::newRow("short frame") << QByteArrayList{hexBytes("E4 11 E4 18")} << qint64(4) << qint64(0) << qint64(0) << qint64(4);
    QTest::newRow("overlong frame given up") << QByteArrayList{hexBytes("E4 13") + QByteArray(49, '\x33')}
                                             << qint64(51) << qint64(0) << qint64(0) << qint64(51);
}

void tst_ConnectionStatus::counters()
{
    QFETCH(QByteArrayList, reads);
    QFETCH(qint64, bytes);
    QFETCH(qint64, accepted);
    QFETCH(qint64, rejected);
    QFETCH(qint64, outside);
    FakeLine line;
    ConnectionStatus status(line);
    emit line.opened(QStringLiteral("\\\\.\\COM1"), true);
    for (const QByteArray &read : reads)
        emit line.readFinished(read);
    const ConnectionStatus::Counters c = status.counters();
    QCOMPARE(c.bytes, bytes);
    QCOMPARE(c.accepted, accepted);
    QCOMPARE(c.rejected, rejected);
    QCOMPARE(c.outside, outside);
    QCOMPARE(c.lastTelegram.isValid(), accepted > 0);
    QCOMPARE(status.kind(false), accepted > 0 ? Kind::Receiving : Kind::OpenNoData);
    QVERIFY(status.stateLine(false).startsWith(accepted > 0 ? QStringLiteral("Empfängt") : QStringLiteral("Offen, keine Daten")));
}

void tst_ConnectionStatus::countersStartAgainAtEveryOpen()
{
    FakeLine line;
    ConnectionStatus status(line);
    emit line.opened(QStringLiteral("\\\\.\\COM1"), true);
    emit line.readFinished(Example.left(20));   // half a telegram, then the port is reopened
    emit line.opened(QStringLiteral("\\\\.\\COM1"), true);
    emit line.readFinished(Example);
    QCOMPARE(status.counters().bytes, qint64(31));
    QCOMPARE(status.counters().accepted, qint64(1));
    QCOMPARE(status.counters().outside, qint64(0));
}

void tst_ConnectionStatus::lostStaysUntilBackOrAnotherPort()
{
    const QString com4 = QStringLiteral("\\\\.\\COM4");
    FakeLine line;
    ConnectionStatus status(line);
    emit line.opened(com4, true);
    emit line.readFinished(Example);
    emit line.lost();
    QCOMPARE(status.kind(false), Kind::Lost);
    QVERIFY(status.stateLine(false).startsWith(QStringLiteral("Verbindung verloren")));
    emit line.opened(com4, false);   // reopened while the name resolves to nothing
    QCOMPARE(status.kind(false), Kind::Lost);
    QCOMPARE(status.kind(true), Kind::HandedOver);
    emit line.opened(com4, true);    // back
    QCOMPARE(status.kind(false), Kind::OpenNoData);

    emit line.lost();
    emit line.opened(QStringLiteral("\\\\.\\COM5"), false);   // another port
    QCOMPARE(status.kind(false), Kind::Failed);
}

void tst_ConnectionStatus::failedOpenIsDiagnosed()
{
    SerialLine line;
    ConnectionStatus status(line);
    QVERIFY(!line.open(QStringLiteral("/dev/ttyNoSuchPort")));
    QCOMPARE(status.kind(false), Kind::Failed);
    QCOMPARE(status.failure().state, portdiagnosis::State::Absent);
    QCOMPARE(status.stateLine(false), QStringLiteral("Nicht vorhanden: /dev/ttyNoSuchPort gibt es nicht"));
}

QTEST_GUILESS_MAIN(tst_ConnectionStatus)
#include "tst_connectionstatus.moc"
