// The simulator's logic without a line: telegrams, requests, stored configuration, commands.

#include "hexbytes.h"
#include "link/frame.h"
#include "link/statustelegram.h"
#include "modulesimulator.h"

#include <QtTest>

using Sim = ModuleSimulator;

// XOR of offsets 2 .. size-1, appended: the check byte of a write telegram.
static QByteArray withCheck(QByteArray t)
{
    t += char(frame::checkByte(t, int(t.size())));
    return t;
}

static QByteArray concat(const QList<Sim::Piece> &pieces)
{
    QByteArray all;
    for (const Sim::Piece &p : pieces)
        all += p.bytes;
    return all;
}

class tst_ModuleSimulator : public QObject
{
    Q_OBJECT
private slots:
    void statusFields_data();
    void statusFields();
    void telegramFaults_data();
    void telegramFaults();
    void movingValues();
    void writeAndReadBack_data();
    void writeAndReadBack();
    void refusedWrite_data();
    void refusedWrite();
    void alteredWrite();
    void answerShape_data();
    void answerShape();
    void requestsInPieces_data();
    void requestsInPieces();
    void receivedLog();
    void commandErrors_data();
    void commandErrors();
};

void tst_ModuleSimulator::statusFields_data()
{
    QTest::addColumn<QStringList>("commands");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("type byte") << QStringList{"variant 19"} << 1 << hexBytes("19");
    QTest::newRow("foreign type byte is sent as it is") << QStringList{"variant 20"} << 1 << hexBytes("20");
    QTest::newRow("status byte 1") << QStringList{"status1 A5"} << 2 << hexBytes("A5");
    QTest::newRow("status byte 2") << QStringList{"status2 3"} << 3 << hexBytes("03");
    QTest::newRow("current channel 1") << QStringList{"current 1 300"} << 4 << hexBytes("01 2C");
    QTest::newRow("current channel 3") << QStringList{"current 3 1234"} << 8 << hexBytes("04 D2");
    QTest::newRow("current channel 4 largest") << QStringList{"current 4 65535"} << 10 << hexBytes("FF FF");
    QTest::newRow("maximum channel 2") << QStringList{"max 2 7"} << 14 << hexBytes("00 07");
    QTest::newRow("maximum channel 4") << QStringList{"max 4 50"} << 18 << hexBytes("00 32");
    QTest::newRow("input voltage") << QStringList{"uin 2400"} << 20 << hexBytes("09 60");
    QTest::newRow("minimum input voltage") << QStringList{"uinmin 2395"} << 22 << hexBytes("09 5B");
    QTest::newRow("rated channels 1 and 2") << QStringList{"rated 1 6", "rated 2 10"} << 24 << hexBytes("A6");
    QTest::newRow("rated channels 3 and 4") << QStringList{"rated 3 0", "rated 4 15"} << 25 << hexBytes("F0");
    QTest::newRow("other end pair") << QStringList{"endpair 18"} << 29 << hexBytes("E4 18");
}

void tst_ModuleSimulator::statusFields()
{
    QFETCH(QStringList, commands);
    QFETCH(int, offset);
    QFETCH(QByteArray, bytes);

    Sim sim;
    for (const QString &c : commands)
        QVERIFY2(sim.command(c).error.isEmpty(), qPrintable(c));
    const QByteArray t = sim.nextStatusTelegram();
    QCOMPARE(t.size(), 31);
    QCOMPARE(quint8(t[0]), quint8(0xE4));
    QCOMPARE(t.mid(offset, bytes.size()), bytes);
    QVERIFY(frame::checkByteMatches(t, status::CheckOffset));
    QCOMPARE(quint8(t[29]), quint8(0xE4));
    QVERIFY(quint8(t[30]) == 0x16 || quint8(t[30]) == 0x18);
    // The tool's own decoder takes it, unless the type byte is foreign.
    const bool known = variantFromTypeByte(quint8(t[1])).has_value();
    QCOMPARE(status::decode(t).outcome, known ? status::Decoded::Valid : status::Decoded::Ignored);
}

void tst_ModuleSimulator::telegramFaults_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("faulty");            // telegrams affected
    QTest::addColumn<int>("length");            // length of an affected telegram
    QTest::addColumn<int>("decodedAs");         // status::Decoded::Outcome of an affected one

    QTest::newRow("badcheck 2") << "badcheck 2" << 2 << 31 << int(status::Decoded::BadCheck);
    QTest::newRow("short 3") << "short 3" << 3 << 28 << int(status::Decoded::Ignored);
    QTest::newRow("badcheck 0 affects none") << "badcheck 0" << 0 << 31 << int(status::Decoded::Valid);
}

void tst_ModuleSimulator::telegramFaults()
{
    QFETCH(QString, command);
    QFETCH(int, faulty);
    QFETCH(int, length);
    QFETCH(int, decodedAs);

    Sim sim;
    QVERIFY(sim.command(command).error.isEmpty());
    for (int i = 0; i < faulty; ++i) {
        const QByteArray t = sim.nextStatusTelegram();
        QCOMPARE(t.size(), length);
        QCOMPARE(t.right(2), hexBytes("E4 16"));
        QCOMPARE(int(status::decode(t).outcome), decodedAs);
    }
    const QByteArray good = sim.nextStatusTelegram();
    QCOMPARE(good.size(), 31);
    QCOMPARE(status::decode(good).outcome, status::Decoded::Valid);
}

void tst_ModuleSimulator::movingValues()
{
    Sim sim(0x13, 7);
    sim.setMoving(true);
    QSet<quint16> seen;
    bool warned = false;
    for (int i = 0; i < 2000; ++i) {
        const QByteArray t = sim.nextStatusTelegram();
        QVERIFY(frame::checkByteMatches(t, status::CheckOffset));
        const Sim::Readings &r = sim.readings();
        for (int ch = 0; ch < 4; ++ch)
            QVERIFY(r.maxCurrent[ch] >= r.current[ch]);
        QVERIFY(r.uinMin <= r.uin);
        QVERIFY(r.uin >= 2300 && r.uin <= 2500);
        // Two-channel module: channels 3 and 4 carry nothing.
        QCOMPARE(r.current[2], quint16(0));
        QCOMPARE(r.status1 & 0x50, 0);
        seen.insert(r.current[0]);
        warned = warned || (r.status1 & 0x05);
    }
    QVERIFY2(seen.size() > 20, "currents wander");
    QVERIFY2(warned, "an overcurrent warning now and then");
}

void tst_ModuleSimulator::writeAndReadBack_data()
{
    QTest::addColumn<quint8>("type");
    QTest::addColumn<QByteArray>("payload");     // write offsets 2 .. before 0xDD
    QTest::addColumn<QByteArray>("readBack");    // reply offsets 2 .. same length

    QTest::newRow("single-port four channels")
        << quint8(0x17) << hexBytes("21 43 C8 0F 03 00 27") << hexBytes("21 43 C8 0F 03 00 27");
    QTest::newRow("single-port release flag is not kept")
        << quint8(0x19) << hexBytes("66 66 F0 AA E3 5D BF") << hexBytes("66 66 F0 AA C3 5D BF");
    QTest::newRow("single-port two channels")
        << quint8(0x11) << hexBytes("36 00 D6 0F 80 07 CF") << hexBytes("36 00 D6 0F 80 07 CF");
    QTest::newRow("two-port")
        << quint8(0x15) << hexBytes("12 80 D0 0F 83 F0 C1 31 02") << hexBytes("12 80 D0 0F 83 F0 C1 31 02");
    QTest::newRow("two-port release flag is not kept")
        << quint8(0x15) << hexBytes("88 88 D6 02 C0 08 C0 00 00") << hexBytes("88 88 D6 02 80 08 C0 00 00");
}

void tst_ModuleSimulator::writeAndReadBack()
{
    QFETCH(quint8, type);
    QFETCH(QByteArray, payload);
    QFETCH(QByteArray, readBack);

    Sim sim(type);
    const QByteArray write = withCheck(hexBytes("FF F3") + payload + hexBytes("DD EE"));
    QList<Sim::Answer> answers = sim.receive(write, 0);
    QCOMPARE(answers.size(), 1);
    QCOMPARE(answers[0].request, write);
    QCOMPARE(concat(answers[0].pieces), write.right(1));   // acknowledged with its check byte

    answers = sim.receive(hexBytes("FF FC"), 1000);
    QCOMPARE(answers.size(), 1);
    const QByteArray reply = concat(answers[0].pieces);
    const bool two = type == 0x15;
    const int check = two ? 28 : 26;
    QVERIFY(reply.size() >= check + 1);
    QCOMPARE(quint8(reply[0]), quint8(0xE4));
    QCOMPARE(quint8(reply[1]), type);
    QCOMPARE(reply.mid(2, readBack.size()), readBack);
    QVERIFY(frame::checkByteMatches(reply, check));
    QCOMPARE(reply.mid(check + 1, 2), hexBytes("E4 16"));
    QCOMPARE(reply.mid(2 + readBack.size(), 4), QByteArray("1.07"));   // software version
}

void tst_ModuleSimulator::refusedWrite_data()
{
    QTest::addColumn<quint8>("type");
    QTest::addColumn<QByteArray>("write");

    const QByteArray single = withCheck(hexBytes("FF F3 21 43 C8 0F 03 00 27 DD EE"));
    const QByteArray two = withCheck(hexBytes("FF F3 12 80 D0 0F 83 F0 C1 31 02 DD EE"));
    QByteArray wrongCheck = single;
    wrongCheck[11] = char(quint8(wrongCheck[11]) ^ 1);
    QTest::newRow("wrong check byte") << quint8(0x17) << wrongCheck;
    QTest::newRow("wrong trailer") << quint8(0x17) << withCheck(hexBytes("FF F3 21 43 C8 0F 03 00 27 DD EF"));
    // A single-port telegram to the two-port module: two bytes too short, never complete.
    QTest::newRow("single-port telegram to the two-port module") << quint8(0x15) << single;
    // A two-port telegram to a single-port module: cut after 12 bytes, which do not check.
    QTest::newRow("two-port telegram to a single-port module") << quint8(0x13) << two;
}

void tst_ModuleSimulator::refusedWrite()
{
    QFETCH(quint8, type);
    QFETCH(QByteArray, write);

    Sim sim(type);
    const QByteArray before = sim.configuration();
    const QList<Sim::Answer> answers = sim.receive(write, 0);
    for (const Sim::Answer &a : answers)
        QVERIFY(a.pieces.isEmpty());
    QCOMPARE(sim.configuration(), before);
}

// config-alter: a module that keeps something else than it was given, for read-back tests.
void tst_ModuleSimulator::alteredWrite()
{
    Sim sim(0x17);
    QVERIFY(sim.command("config-alter 2 C8").error.isEmpty());
    const QByteArray write = withCheck(hexBytes("FF F3 21 43 D6 0F 03 00 27 DD EE"));
    const QList<Sim::Answer> answers = sim.receive(write, 0);
    QCOMPARE(answers.size(), 1);
    QCOMPARE(concat(answers[0].pieces), write.right(1));   // acknowledged as sent
    QCOMPARE(sim.configuration(), hexBytes("21 43 C8 0F 03 00 27"));
    QVERIFY(sim.command("config-alter off").error.isEmpty());
    sim.receive(write, 1000);
    QCOMPARE(sim.configuration(), hexBytes("21 43 D6 0F 03 00 27"));
}

void tst_ModuleSimulator::answerShape_data()
{
    QTest::addColumn<QStringList>("commands");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<int>("pieces");
    QTest::addColumn<int>("delayMs");
    QTest::addColumn<int>("pauseMs");
    QTest::addColumn<int>("length");
    QTest::addColumn<bool>("checks");    // reply passes its check byte / ack equals the check byte
    QTest::addColumn<int>("typeByte");   // of a read reply, -1 for an acknowledgement

    const QByteArray read = hexBytes("FF FC");
    const QByteArray write = withCheck(hexBytes("FF F3 AA AA D6 AA C0 0F 9F DD EE"));
    QTest::newRow("plain read") << QStringList{} << read << 1 << 10 << 0 << 29 << true << 0x17;
    QTest::newRow("late read") << QStringList{"config-delay 40"} << read << 1 << 40 << 0 << 29 << true << 0x17;
    QTest::newRow("split read") << QStringList{"config-split 120"} << read << 2 << 10 << 120 << 29 << true << 0x17;
    QTest::newRow("long read") << QStringList{"config-long 40"} << read << 1 << 10 << 0 << 69 << true << 0x17;
    QTest::newRow("bad check read") << QStringList{"config-badcheck on"} << read << 1 << 10 << 0 << 29 << false << 0x17;
    QTest::newRow("foreign type read") << QStringList{"config-type 15"} << read << 1 << 10 << 0 << 29 << true << 0x15;
    QTest::newRow("mute read") << QStringList{"config-mute on"} << read << 0 << 0 << 0 << 0 << false << -1;
    QTest::newRow("plain write") << QStringList{} << write << 1 << 10 << 0 << 1 << true << -1;
    QTest::newRow("long write") << QStringList{"config-long 3"} << write << 1 << 10 << 0 << 4 << true << -1;
    QTest::newRow("bad check write") << QStringList{"config-badcheck on"} << write << 1 << 10 << 0 << 1 << false << -1;
    QTest::newRow("mute write") << QStringList{"config-mute on"} << write << 0 << 0 << 0 << 0 << false << -1;
}

void tst_ModuleSimulator::answerShape()
{
    QFETCH(QStringList, commands);
    QFETCH(QByteArray, request);
    QFETCH(int, pieces);
    QFETCH(int, delayMs);
    QFETCH(int, pauseMs);
    QFETCH(int, length);
    QFETCH(bool, checks);
    QFETCH(int, typeByte);

    Sim sim(0x17);
    for (const QString &c : commands)
        QVERIFY2(sim.command(c).error.isEmpty(), qPrintable(c));
    const QList<Sim::Answer> answers = sim.receive(request, 0);
    QCOMPARE(answers.size(), 1);
    const Sim::Answer &a = answers[0];
    QCOMPARE(a.pieces.size(), pieces);
    if (pieces == 0)
        return;
    QCOMPARE(a.pieces[0].pauseMs, delayMs);
    if (pieces > 1)
        QCOMPARE(a.pieces[1].pauseMs, pauseMs);
    const QByteArray reply = concat(a.pieces);
    QCOMPARE(reply.size(), length);
    if (typeByte < 0) {
        QCOMPARE(reply[0] == request.back(), checks);
    } else {
        QCOMPARE(quint8(reply[1]), quint8(typeByte));
        QCOMPARE(frame::checkByteMatches(reply, 26), checks);
    }
}

void tst_ModuleSimulator::requestsInPieces_data()
{
    QTest::addColumn<QList<QByteArray>>("chunks");
    QTest::addColumn<QList<int>>("times");
    QTest::addColumn<int>("answers");

    const QByteArray write = withCheck(hexBytes("FF F3 AA AA D6 AA C0 0F 9F DD EE"));
    QTest::newRow("read request in one") << QList<QByteArray>{hexBytes("FF FC")} << QList<int>{0} << 1;
    QTest::newRow("read request byte by byte") << QList<QByteArray>{hexBytes("FF"), hexBytes("FC")}
                                               << QList<int>{0, 2} << 1;
    QTest::newRow("noise before the request") << QList<QByteArray>{hexBytes("00 E4 17 FF FC")} << QList<int>{0} << 1;
    QTest::newRow("unknown command, then a request") << QList<QByteArray>{hexBytes("FF 01 FF FC")} << QList<int>{0} << 1;
    QTest::newRow("two requests at once") << QList<QByteArray>{hexBytes("FF FC FF FC")} << QList<int>{0} << 2;
    QTest::newRow("write in two pieces") << QList<QByteArray>{write.left(5), write.mid(5)} << QList<int>{0, 3} << 1;
    QTest::newRow("stale start is dropped") << QList<QByteArray>{write.left(5), hexBytes("FF FC")}
                                            << QList<int>{0, 500} << 1;
    QTest::newRow("a write left incomplete gets nothing") << QList<QByteArray>{write.left(11)} << QList<int>{0} << 0;
}

void tst_ModuleSimulator::requestsInPieces()
{
    QFETCH(QList<QByteArray>, chunks);
    QFETCH(QList<int>, times);
    QFETCH(int, answers);

    Sim sim(0x17);
    int count = 0;
    for (int i = 0; i < chunks.size(); ++i) {
        for (const Sim::Answer &a : sim.receive(chunks[i], times[i])) {
            QVERIFY(!a.pieces.isEmpty());
            ++count;
        }
    }
    QCOMPARE(count, answers);
}

void tst_ModuleSimulator::receivedLog()
{
    Sim sim;
    sim.receive(hexBytes("FF"), 1000);
    sim.receive(hexBytes("FC"), 1005);                 // same burst
    sim.receive(hexBytes("FF F3 01"), 1300);           // a new string after a pause
    QCOMPARE(sim.takeReceived(), (QList<QByteArray>{hexBytes("FF FC"), hexBytes("FF F3 01")}));
    QVERIFY(sim.takeReceived().isEmpty());
    sim.receive(hexBytes("FF FC"), 1310);              // after taking, a new string begins
    const Sim::CommandOutcome out = sim.command("received");
    QCOMPARE(out.lines, QStringList{"FF FC"});
}

void tst_ModuleSimulator::commandErrors_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("variant hex") << "variant 1B" << true;
    QTest::newRow("variant not hex") << "variant zz" << false;
    QTest::newRow("rate with decimals") << "rate 0.5" << true;
    QTest::newRow("rate negative") << "rate -1" << false;
    QTest::newRow("current channel 5") << "current 5 100" << false;
    QTest::newRow("current channel 0") << "current 0 100" << false;
    QTest::newRow("current too large") << "current 1 65536" << false;
    QTest::newRow("rated 16 A") << "rated 1 16" << false;
    QTest::newRow("moving maybe") << "moving maybe" << false;
    QTest::newRow("raw odd digits") << "raw E4 1" << false;
    QTest::newRow("raw not hex") << "raw E4 XY" << false;
    QTest::newRow("raw with blanks") << "raw E4 17 05" << true;
    QTest::newRow("noise without count") << "noise" << false;
    QTest::newRow("config-type own") << "config-type own" << true;
    QTest::newRow("config-set wrong length") << "config-set AA AA" << false;
    QTest::newRow("config-set single-port") << "config-set AA AA D6 AA C0 0F 9F" << true;
    QTest::newRow("config-alter byte beyond the configuration") << "config-alter 9 00" << false;
    QTest::newRow("config-alter without value") << "config-alter 1" << false;
    QTest::newRow("config-alter off") << "config-alter off" << true;
    QTest::newRow("unknown") << "explode" << false;
    QTest::newRow("silence takes no argument") << "silence now" << false;
    QTest::newRow("end pair 18") << "endpair 18" << true;
    QTest::newRow("end pair 17") << "endpair 17" << false;
}

void tst_ModuleSimulator::commandErrors()
{
    QFETCH(QString, line);
    QFETCH(bool, accepted);

    Sim sim;
    const Sim::CommandOutcome out = sim.command(line);
    QCOMPARE(out.error.isEmpty(), accepted);
}

QTEST_GUILESS_MAIN(tst_ModuleSimulator)
#include "tst_modulesimulator.moc"
