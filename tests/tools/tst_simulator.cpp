// The simulator process on its pseudo-terminal, seen through the tool's own serial layer.

#include "hexbytes.h"
#include "link/frame.h"
#include "link/portnames.h"
#include "link/serialline.h"
#include "link/statustelegram.h"
#include "linkwait.h"
#include "simulatorprocess.h"
#include "tools/simulator/modulesimulator.h"

#include <QtTest>

namespace {

const QString Com1 = QStringLiteral("\\\\.\\COM1");

// One configuration exchange as the tool makes it: open, write, one read, close.
QByteArray transaction(const QByteArray &request, int *elapsedMs = nullptr)
{
    SerialLine line;
    line.open(Com1);
    if (!line.isUsable())
        return QByteArray("port not usable");
    QElapsedTimer clock;
    clock.start();
    line.write(request, ConfigTransaction::WriteTimeoutMs);
    const QByteArray reply = readOnce(line, ConfigTransaction::ReplyMaxBytes, ConfigTransaction::ReplyGapMs,
                                      ConfigTransaction::ReplyTotalMs);
    if (elapsedMs)
        *elapsedMs = int(clock.elapsed());
    line.close();
    return reply;
}

QByteArray withCheck(QByteArray t)
{
    t += char(frame::checkByte(t, int(t.size())));
    return t;
}

} // namespace

class tst_Simulator : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void readyAndLink_data();
    void readyAndLink();
    void statusTelegram_data();
    void statusTelegram();
    void telegramRate_data();
    void telegramRate();
    void pacedTelegram_data();
    void pacedTelegram();
    void silence();
    void vanish();
    void rawBytes();
    void configuration_data();
    void configuration();
    void answerTiming_data();
    void answerTiming();
    void receivedRequests();
    void linkRemovedOnExit_data();
    void linkRemovedOnExit();

private:
    SimulatorProcess sim_;
};

void tst_Simulator::initTestCase()
{
    SimulatorProcess::useTemporaryDataHome();
    QVERIFY(QFileInfo::exists(SimulatorProcess::program()));
}

void tst_Simulator::cleanup()
{
    sim_.stop();
}

void tst_Simulator::readyAndLink_data()
{
    QTest::addColumn<QString>("port");
    QTest::addColumn<int>("number");
    QTest::newRow("COM1") << "COM1" << 1;
    QTest::newRow("COM7") << "COM7" << 7;
    QTest::newRow("COM20") << "COM20" << 20;
}

void tst_Simulator::readyAndLink()
{
    QFETCH(QString, port);
    QFETCH(int, number);

    QVERIFY(sim_.start({"--port", port}));
    QVERIFY(sim_.slavePath().startsWith("/dev/pts/"));
    const QFileInfo link(sim_.linkPath());
    QVERIFY(link.isSymLink());
    QCOMPARE(link.symLinkTarget(), sim_.slavePath());
    // The tool finds it under its COM name.
    QCOMPARE(sim_.deviceName(), portnames::deviceName(number));
    QCOMPARE(portnames::systemPath(sim_.deviceName()), sim_.linkPath());
}

void tst_Simulator::statusTelegram_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QStringList>("labels");   // i1, i2, i3, i4, i1_max, uin, uin_min, i1_endwert, i2_endwert
    QTest::addColumn<QList<bool>>("lamps");     // the ten lamps in status-bit order

    QTest::newRow("four channels, fixed values")
        << QStringList{"--variant", "17", "--currents", "300,150,1234,0", "--max", "1000,7,1234,50",
                       "--uin", "2400", "--uin-min", "2395", "--rated", "6,10,0,0", "--status1", "05"}
        << "17"
        << QStringList{"3,00 Adc", "1,50 Adc", "12,3 Adc", "0,00 Adc", "10,0 Adc", "24,0 Vdc", "23,9 Vdc", "6 Adc", "10 Adc"}
        << QList<bool>{true, false, true, false, false, false, false, false, false, false};
    QTest::newRow("six-ampere module with faults")
        << QStringList{"--variant", "19", "--currents", "7,600,0,599", "--max", "610,600,0,601",
                       "--uin", "2000", "--uin-min", "1999", "--rated", "6,6,6,6", "--status1", "82", "--status2", "3"}
        << "19"
        << QStringList{"0,07 Adc", "6,00 Adc", "0,00 Adc", "5,99 Adc", "6,10 Adc", "20,0 Vdc", "19,9 Vdc", "6 Adc", "6 Adc"}
        << QList<bool>{false, true, false, false, false, false, false, true, true, true};
    QTest::newRow("two channels")
        << QStringList{"--variant", "11", "--currents", "99,1,0,0", "--max", "5000,0,0,0",
                       "--uin", "2455", "--uin-min", "2301", "--rated", "15,0,0,0"}
        << "11"
        << QStringList{"0,99 Adc", "0,01 Adc", "", "", "50,0 Adc", "24,5 Vdc", "23,0 Vdc", "15 Adc", "Off"}
        << QList<bool>{false, false, false, false, false, false, false, false, false, false};
}

void tst_Simulator::statusTelegram()
{
    QFETCH(QStringList, args);
    QFETCH(QString, variant);
    QFETCH(QStringList, labels);
    QFETCH(QList<bool>, lamps);

    QVERIFY(sim_.start(args << "--rate" << "20"));
    SerialLine line;
    line.open(Com1);
    QVERIFY(line.isUsable());
    const QByteArray t = readOnce(line, 31, 20, 1000);
    QCOMPARE(t.size(), 31);
    QCOMPARE(quint8(t[0]), quint8(0xE4));
    QCOMPARE(quint8(t[1]), quint8(variant.toUInt(nullptr, 16)));
    QVERIFY(frame::checkByteMatches(t, 28));
    QCOMPARE(t.right(2), hexBytes("E4 16"));

    // What the tool's decoder makes of it.
    const status::Decoded d = status::decode(t);
    QCOMPARE(d.outcome, status::Decoded::Valid);
    const QStringList shown{d.values[status::I1], d.values[status::I2], d.values[status::I3], d.values[status::I4],
                            d.values[status::I1Max], d.values[status::Uin], d.values[status::UinMin],
                            d.values[status::I1Rated], d.values[status::I2Rated]};
    QCOMPARE(shown, labels);
    const QList<bool> lit(d.lamps.begin(), d.lamps.end());
    QCOMPARE(lit, lamps);
}

void tst_Simulator::telegramRate_data()
{
    QTest::addColumn<QString>("rate");
    QTest::addColumn<int>("expected");   // telegrams in 1000 ms
    QTest::newRow("5 per second") << "5" << 5;
    QTest::newRow("full line rate") << "31" << 31;
    QTest::newRow("faster than the line is capped") << "100" << 31;
}

void tst_Simulator::telegramRate()
{
    QFETCH(QString, rate);
    QFETCH(int, expected);

    QVERIFY(sim_.start({"--rate", rate}));
    SerialLine line;
    line.open(Com1);
    QVERIFY(line.isUsable());
    readOnce(line, 31, 20, 500);   // the first telegram starts the count
    QByteArray bytes;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 1000)
        bytes += readOnce(line, 60, 3, int(1000 - clock.elapsed()));
    const int count = int((bytes.size() + 15) / 31);
    QVERIFY2(count >= expected * 85 / 100 - 1 && count <= expected + 1, qPrintable(QString::number(count)));
}

void tst_Simulator::pacedTelegram_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("paced");   // the last 30 bytes take their line time after the first
    QTest::newRow("burst") << QStringList{} << false;
    QTest::newRow("paced like a 9600-baud line") << QStringList{"--paced"} << true;
}

void tst_Simulator::pacedTelegram()
{
    QFETCH(QStringList, args);
    QFETCH(bool, paced);

    QVERIFY(sim_.start(args << "--rate" << "5"));
    SerialLine line;
    line.open(Com1);
    QVERIFY(line.isUsable());
    const QByteArray first = readOnce(line, 1, 20, 1000);
    QElapsedTimer clock;
    clock.start();
    // The read ends at 30 bytes; its gap only has to outlast a simulator the machine stalls.
    const QByteArray rest = readOnce(line, 30, 200, 500);
    const qint64 elapsed = clock.elapsed();
    const QByteArray t = first + rest;
    QCOMPARE(t.size(), 31);
    QVERIFY(frame::checkByteMatches(t, 28));
    // 30 characters at 9600 baud take 31 ms. A burst arrives faster than the line could
    // carry it; paced ones arrive no faster, less ten character times for noticing the
    // first one late, and the upper bound is only a guard, generous for a loaded machine
    // (a line of 1200 baud would take 250 ms).
    const double lineMs = 30 * ModuleSimulator::ByteMs;
    if (paced)
        QVERIFY2(elapsed >= lineMs - 10 * ModuleSimulator::ByteMs && elapsed < 6 * lineMs, qPrintable(QString::number(elapsed)));
    else
        QVERIFY2(elapsed < lineMs - 1, qPrintable(QString::number(elapsed)));
}

void tst_Simulator::silence()
{
    QVERIFY(sim_.start({"--rate", "31"}));
    SerialLine line;
    line.open(Com1);
    QVERIFY(line.isUsable());
    QCOMPARE(readOnce(line, 31, 20, 500).size(), 31);
    QVERIFY(sim_.commandOk("silence"));
    readOnce(line, 60, 40, 100);   // whatever was on its way
    constexpr int TotalMs = 120;
    QElapsedTimer clock;
    clock.start();
    const QByteArray nothing = readOnce(line, 60, 3, TotalMs);
    const qint64 elapsed = clock.elapsed();
    QVERIFY(nothing.isEmpty());
    // The read lasted its whole time (1 ms for rounding); the upper bound is only a guard,
    // generous for a loaded machine.
    QVERIFY2(elapsed >= TotalMs - 1 && elapsed < 4 * TotalMs, qPrintable(QString::number(elapsed)));

    QVERIFY(sim_.commandOk("resume"));
    QCOMPARE(readOnce(line, 31, 20, 500).size(), 31);
}

void tst_Simulator::vanish()
{
    QVERIFY(sim_.start({"--rate", "31"}));
    SerialLine line;
    line.open(Com1);
    QVERIFY(line.isUsable());
    QCOMPARE(readOnce(line, 31, 20, 500).size(), 31);
    QVERIFY(sim_.commandOk("vanish"));
    QVERIFY(!QFileInfo(sim_.linkPath()).isSymLink());
    readOnce(line, 60, 3, 120);   // bytes read before the master closed
    // The dead line completes its read at once, without waiting for its total time-out,
    // which is long enough here that no busy machine comes near it.
    constexpr int TotalMs = 2000;
    QElapsedTimer clock;
    clock.start();
    const QByteArray nothing = readOnce(line, 60, 3, TotalMs);
    QVERIFY(nothing.isEmpty());
    QVERIFY2(clock.elapsed() < TotalMs - 1, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(sim_.isRunning());
    QVERIFY(sim_.commandOk("rate 5"));

    // Plugged in again: the link is back and telegrams flow. (The dead line is closed
    // first: its lock on the link's name would keep the new open out.)
    line.close();
    QVERIFY(sim_.commandOk("appear"));
    QVERIFY(QFileInfo(sim_.linkPath()).isSymLink());
    SerialLine again;
    again.open(Com1);
    QVERIFY(again.isUsable());
    QCOMPARE(readOnce(again, 31, 20, 500).size(), 31);
}

void tst_Simulator::rawBytes()
{
    QVERIFY(sim_.start({"--rate", "0"}));
    SerialLine line;
    line.open(Com1);
    QVERIFY(line.isUsable());
    const QByteArray bytes = hexBytes("E4 17 05 00 01 2C 00 96 04 D2 00 00 03 E8 00 07 04 D2 00 32 09 60 09 5B A6 00 00 00 FD E4 16");
    QVERIFY(sim_.commandOk("raw " + QString::fromLatin1(bytes.toHex(' '))));
    QCOMPARE(readOnce(line, 60, 20, 500), bytes);
    // The read ends at the noise's 40 bytes, whatever pause a busy machine leaves in it;
    // nothing follows them.
    QVERIFY(sim_.commandOk("noise 40"));
    QCOMPARE(readOnce(line, 40, 200, 2000).size(), 40);
    QVERIFY(readOnce(line, 60, 20, 300).isEmpty());
}

void tst_Simulator::configuration_data()
{
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QByteArray>("payload");    // written
    QTest::addColumn<QByteArray>("readBack");   // reply offsets 2 ..

    QTest::newRow("FourChannel10A") << "17" << hexBytes("A1 3A E6 55 43 00 C7") << hexBytes("A1 3A E6 55 43 00 C7");
    QTest::newRow("FourChannel6A") << "19" << hexBytes("56 65 D6 AA E0 0F 9F") << hexBytes("56 65 D6 AA C0 0F 9F");
    QTest::newRow("TwoChannel6A") << "11" << hexBytes("36 00 C8 0F 03 00 03") << hexBytes("36 00 C8 0F 03 00 03");
    QTest::newRow("TwoChannel10A") << "13" << hexBytes("0A 00 F0 00 80 5D BF") << hexBytes("0A 00 F0 00 80 5D BF");
    QTest::newRow("FourChannelTwoPort") << "15" << hexBytes("81 00 D6 02 C0 08 C0 04 00")
                                        << hexBytes("81 00 D6 02 80 08 C0 04 00");
}

void tst_Simulator::configuration()
{
    QFETCH(QString, variant);
    QFETCH(QByteArray, payload);
    QFETCH(QByteArray, readBack);

    // Status telegrams at full rate must not get into the answers.
    QVERIFY(sim_.start({"--variant", variant, "--rate", "31"}));
    const quint8 type = quint8(variant.toUInt(nullptr, 16));
    const bool two = type == 0x15;
    const int check = two ? 28 : 26;

    QByteArray reply = transaction(hexBytes("FF FC"));
    QVERIFY2(reply.size() >= check + 1, reply.toHex(' '));
    QCOMPARE(quint8(reply[0]), quint8(0xE4));
    QCOMPARE(quint8(reply[1]), type);
    QVERIFY(frame::checkByteMatches(reply, check));
    QVERIFY(reply.mid(2, payload.size()) != readBack);   // so that the read-back below means something

    const QByteArray write = withCheck(hexBytes("FF F3") + payload + hexBytes("DD EE"));
    QCOMPARE(write.size(), two ? 14 : 12);
    const QByteArray ack = transaction(write);
    QVERIFY(!ack.isEmpty());
    QCOMPARE(ack.at(0), write.back());

    reply = transaction(hexBytes("FF FC"));
    QVERIFY(frame::checkByteMatches(reply, check));
    QCOMPARE(reply.mid(2, readBack.size()), readBack);

    // A telegram with a wrong check byte is neither acknowledged nor taken.
    QByteArray broken = withCheck(hexBytes("FF F3") + QByteArray(payload.size(), '\x11') + hexBytes("DD EE"));
    broken[broken.size() - 1] = char(quint8(broken.back()) ^ 0xFF);
    QVERIFY(transaction(broken).isEmpty());
    QCOMPARE(transaction(hexBytes("FF FC")).mid(2, readBack.size()), readBack);
}

void tst_Simulator::answerTiming_data()
{
    QTest::addColumn<QString>("behaviour");
    QTest::addColumn<int>("length");       // bytes the one read delivers
    QTest::addColumn<bool>("valid");       // they form a valid single-port reply
    QTest::addColumn<int>("minMs");        // the read ends no earlier
    QTest::addColumn<bool>("wholeTime");   // the read lasts its total time-out

    // A burst arrives at once, 10 ms after the request unless delayed; the read then ends
    // 80 ms after its last byte, or at 50 bytes, or 260 ms after it began. 1 ms is allowed
    // for rounding.
    constexpr int Gap = ConfigTransaction::ReplyGapMs - 1;
    constexpr int Total = ConfigTransaction::ReplyTotalMs - 1;
    QTest::newRow("answer 40 ms late, whole") << "config-delay 40" << 29 << true << 40 + Gap << false;
    QTest::newRow("split by 120 ms, cut at the pause") << "config-split 120" << 14 << false << 10 + Gap << false;
    QTest::newRow("40 bytes too many, cut at 50") << "config-long 40" << 50 << true << 10 << false;
    QTest::newRow("answer too late for the read") << "config-delay 300" << 0 << false << Total << true;
    QTest::newRow("mute") << "config-mute on" << 0 << false << Total << true;
    QTest::newRow("foreign type byte") << "config-type 15" << 29 << false << 10 + Gap << false;
}

void tst_Simulator::answerTiming()
{
    QFETCH(QString, behaviour);
    QFETCH(int, length);
    QFETCH(bool, valid);
    QFETCH(int, minMs);
    QFETCH(bool, wholeTime);

    QVERIFY(sim_.start({"--variant", "17", "--rate", "31"}));
    QVERIFY(sim_.commandOk(behaviour));
    // A read this process was held still in for longer than half its margin cannot show
    // which time-out ended it: it is made again, five times at most.
    int elapsed = 0;
    QByteArray reply;
    HoldWatch hold;
    for (int round = 0; round < 5; ++round) {
        if (round > 0)
            QTest::qWait(400);   // a late answer goes by first
        hold.start();
        reply = transaction(hexBytes("FF FC"), &elapsed);
        const qint64 held = hold.stop();
        if (wholeTime || held < (ConfigTransaction::ReplyTotalMs - minMs) / 2)
            break;
        qInfo("held still for %lld ms in a read of %d ms: made again", held, elapsed);
    }
    QCOMPARE(reply.size(), length);
    const bool accepted = reply.size() >= 27 && quint8(reply[0]) == 0xE4 && quint8(reply[1]) == 0x17
        && frame::checkByteMatches(reply, 26);
    QCOMPARE(accepted, valid);
    QVERIFY2(elapsed >= minMs, qPrintable(QString::number(elapsed)));
    // A read that a pause or its size ended did not wait for the total time-out, which it
    // could not have ended before; one that lasts its whole time has only a guard against
    // a hang, generous for a loaded machine.
    if (wholeTime)
        QVERIFY2(elapsed < 4 * (ConfigTransaction::WriteTimeoutMs + ConfigTransaction::ReplyTotalMs), qPrintable(QString::number(elapsed)));
    else
        QVERIFY2(elapsed < ConfigTransaction::ReplyTotalMs - 1, qPrintable(QString::number(elapsed)));
}

void tst_Simulator::receivedRequests()
{
    QVERIFY(sim_.start({"--variant", "19"}));
    const QByteArray write = withCheck(hexBytes("FF F3 66 66 D6 AA C0 0F 9F DD EE"));
    transaction(hexBytes("FF FC"));
    transaction(write);
    QCOMPARE(sim_.receivedRequests(), (QList<QByteArray>{hexBytes("FF FC"), write}));
    QVERIFY(sim_.receivedRequests().isEmpty());
}

void tst_Simulator::linkRemovedOnExit_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("quit command") << "quit";
    QTest::newRow("SIGTERM") << "terminate";
    QTest::newRow("stdin closed") << "eof";
}

void tst_Simulator::linkRemovedOnExit()
{
    QFETCH(QString, how);

    QVERIFY(sim_.start());
    const QString link = sim_.linkPath();
    QVERIFY(QFileInfo(link).isSymLink());
    QProcess &p = sim_.process();
    if (how == "quit")
        p.write("quit\n");
    else if (how == "terminate")
        p.terminate();
    else
        p.closeWriteChannel();
    QVERIFY(p.waitForFinished(3000));
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), 0);
    QVERIFY(!QFileInfo(link).isSymLink());
}

QTEST_GUILESS_MAIN(tst_Simulator)
#include "tst_simulator.moc"
