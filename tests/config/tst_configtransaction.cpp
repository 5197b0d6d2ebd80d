#include "config/configtransaction.h"

#include "fakeline.h"
#include "hexbytes.h"
#include "linkwait.h"

#include <QtTest>

class tst_ConfigTransaction : public QObject
{
    Q_OBJECT
private slots:
    void command_data();
    void command();
    void unusablePortGivesEmptyReply();
    void everyCommandOpensAndClosesAgain();
    void realLineWithoutDevice();
    void abortDropsTheExchangeInFlight();
};

static const QString Com3 = QStringLiteral("\\\\.\\COM3");

void tst_ConfigTransaction::command_data()
{
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("moduleSends");
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<QByteArray>("reply");

    const QString open = "open " + Com3;
    const QString read = QStringLiteral("read 50 80 260");
    QTest::newRow("read request, 31-byte telegram")
        << hexBytes("FF FC") << QByteArray(31, 'x')
        << QStringList{open, "write FF FC 30", read, "close"} << QByteArray(31, 'x');
    QTest::newRow("empty request writes nothing and still reads")
        << QByteArray() << hexBytes("E4 17")
        << QStringList{open, read, "close"} << hexBytes("E4 17");
    QTest::newRow("write telegram in one call, one-byte acknowledgement")
        << hexBytes("FF F3 AA AA D6 AA C0 0F 9F DD EE 1F") << hexBytes("1F")
        << QStringList{open, "write FF F3 AA AA D6 AA C0 0F 9F DD EE 1F 30", read, "close"} << hexBytes("1F");
    QTest::newRow("silent module")
        << hexBytes("FF FC") << QByteArray()
        << QStringList{open, "write FF FC 30", read, "close"} << QByteArray();
    QTest::newRow("a reply longer than 50 bytes is cut to 50")
        << hexBytes("FF FC") << QByteArray(64, 'y')
        << QStringList{open, "write FF FC 30", read, "close"} << QByteArray(50, 'y');
}

void tst_ConfigTransaction::command()
{
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, moduleSends);
    QFETCH(QStringList, calls);
    QFETCH(QByteArray, reply);

    FakeLine line;
    line.replies << moduleSends;
    ConfigTransaction transaction(line);
    QCOMPARE(commandOnce(transaction, Com3, request), reply);
    QCOMPARE(line.calls, calls);
}

void tst_ConfigTransaction::unusablePortGivesEmptyReply()
{
    FakeLine line;
    line.usable = false;
    line.replies << hexBytes("1F");
    ConfigTransaction transaction(line);
    QCOMPARE(commandOnce(transaction, Com3, hexBytes("FF FC")), QByteArray());
    QVERIFY(line.written.isEmpty());
    QCOMPARE(line.calls.last(), QStringLiteral("close"));
}

void tst_ConfigTransaction::everyCommandOpensAndClosesAgain()
{
    FakeLine line;
    line.replies << hexBytes("01") << hexBytes("02");
    ConfigTransaction transaction(line);
    QCOMPARE(commandOnce(transaction, Com3, hexBytes("FF FC")), hexBytes("01"));
    QCOMPARE(commandOnce(transaction, "\\\\.\\COM7", hexBytes("FF FC")), hexBytes("02"));
    QCOMPARE(line.calls.filter("open").size(), 2);
    QCOMPARE(line.calls.filter("close").size(), 2);
    QCOMPARE(line.calls.at(4), QStringLiteral("open \\\\.\\COM7"));
}

void tst_ConfigTransaction::realLineWithoutDevice()
{
    // A device that does not exist: the real serial line cannot be opened, and the
    // transaction comes back empty without waiting for a reply.
    QTemporaryDir dir;
    SerialLine line;
    ConfigTransaction transaction(line);
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(commandOnce(transaction, dir.filePath("absent"), hexBytes("FF FC")), QByteArray());
    // An exchange that waited for the reply would have taken the read's total time-out.
    QVERIFY2(clock.elapsed() < ConfigTransaction::ReplyTotalMs - 1, qPrintable(QString::number(clock.elapsed())));
}

void tst_ConfigTransaction::abortDropsTheExchangeInFlight()
{
    FakeLine line;
    line.holdReads = true;
    ConfigTransaction transaction(line);
    QSignalSpy replied(&transaction, &ConfigTransaction::replied);
    transaction.command(Com3, hexBytes("FF FC"));
    QVERIFY(transaction.inFlight());
    QTRY_VERIFY(line.readInFlight());   // written, now waiting for the reply
    transaction.abort();
    QVERIFY(!transaction.inFlight());
    QCOMPARE(line.calls.last(), QStringLiteral("close"));
    line.completeRead(hexBytes("E4"));
    QTest::qWait(20);
    QVERIFY(replied.isEmpty());
    QCOMPARE(line.written.size(), 1);
}

QTEST_GUILESS_MAIN(tst_ConfigTransaction)
#include "tst_configtransaction.moc"
