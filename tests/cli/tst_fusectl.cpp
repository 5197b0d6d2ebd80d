// fusectl as a script runs it, against the module simulator on a pseudo-terminal.
#include "simulatorprocess.h"

#include <QtTest>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace {

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

const QByteArray SingleFile = "config\r\n55,A3,D9,04;\r\n81,C2;\r\nAE081DDD12F256\r\n";
const QByteArray TwoFile = "config\r\n31,58,E0,11,00;\r\n0A,81,40,40;\r\nAE081DDD12F256\r\n";

} // namespace

class TestFusectl : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void writeThenReadGivesTheFile_data();
    void writeThenReadGivesTheFile();
    void verifyReportsWhatTheModuleChanged();
    void muteModuleGivesUpAfterThirteenAttempts();
    void heldPortIsReportedAtOnce();
    void fileErrors_data();
    void fileErrors();
    void otherFamily_data();
    void otherFamily();
    void monitorRecordsEveryTelegram();
    void unusablePortSaysWhy_data();
    void unusablePortSaysWhy();
    void portsListsStateWithoutOpening();

private:
    Run fusectl(const QStringList &args, int timeoutMs = 30000);
    QString file(const QString &name, const QByteArray &contents);

    QTemporaryDir dir_;
};

void TestFusectl::initTestCase()
{
    SimulatorProcess::useTemporaryDataHome();
    QVERIFY(dir_.isValid());
}

Run TestFusectl::fusectl(const QStringList &args, int timeoutMs)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LC_ALL", "C");   // English messages
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(FUSECTL), args);
    Run r;
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

QString TestFusectl::file(const QString &name, const QByteArray &contents)
{
    const QString path = dir_.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(contents) != contents.size())
        return QString();
    return path;
}

void TestFusectl::writeThenReadGivesTheFile_data()
{
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("stored");   // what the simulator keeps, write-telegram order
    QTest::newRow("single-port FourChannel10A") << "17" << SingleFile << "55 A3 D9 81 C2 00 C7";
    QTest::newRow("two-port") << "15" << TwoFile << "31 58 E0 0A 81 40 40 11 00";
}

void TestFusectl::writeThenReadGivesTheFile()
{
    QFETCH(QString, variant);
    QFETCH(QByteArray, contents);
    QFETCH(QString, stored);
    SimulatorProcess sim;
    QVERIFY(sim.start({"--port", "COM3", "--variant", variant, "--rate", "10"}));
    const QString in = file("in.txt", contents);
    const Run w = fusectl({"write", "COM3", in});
    QVERIFY2(w.exitCode == 0, w.err.constData());
    QCOMPARE(sim.command("config-show").first(), stored);

    // To stdout and to a file, byte for byte.
    const Run r = fusectl({"read", "COM3"});
    QVERIFY2(r.exitCode == 0, r.err.constData());
    QCOMPARE(r.out, contents);
    const QString outPath = dir_.filePath("out.txt");
    QCOMPARE(fusectl({"read", sim.deviceName(), "-o", outPath}).exitCode, 0);
    QFile out(outPath);
    QVERIFY(out.open(QIODevice::ReadOnly));
    QCOMPARE(out.readAll(), contents);
}

void TestFusectl::verifyReportsWhatTheModuleChanged()
{
    SimulatorProcess sim;
    QVERIFY(sim.start({"--port", "COM4", "--variant", "15", "--rate", "10"}));
    const QString in = file("verify.txt", TwoFile);
    const Run same = fusectl({"write", "COM4", in, "--verify"});
    QVERIFY2(same.exitCode == 0, same.err.constData());
    QCOMPARE(same.out, QByteArray());

    // Byte 0 holds the currents of channels 1 (low) and 2 (high): 0x31 becomes 0x35. At 5 A
    // channel 1 offers only "0,1", so its trip time "0,2" comes back changed as well.
    QVERIFY(sim.commandOk("config-alter 0 35"));
    const Run changed = fusectl({"write", "COM4", in, "--verify"});
    QCOMPARE(changed.exitCode, 6);
    QCOMPARE(changed.out, QByteArray("k1_sel: written 1, read 5\nk1_time: written 0,2, read 0,1\n"));
    QVERIFY(changed.err.contains("2 fields differ"));
}

void TestFusectl::muteModuleGivesUpAfterThirteenAttempts()
{
    SimulatorProcess sim;
    QVERIFY(sim.start({"--port", "COM5", "--variant", "19", "--rate", "10"}));
    QVERIFY(sim.commandOk("config-mute on"));
    sim.receivedRequests();
    QElapsedTimer clock;
    clock.start();
    const Run r = fusectl({"read", "COM5"});
    QCOMPARE(r.exitCode, 3);
    QVERIFY2(r.err.contains("13 attempts"), r.err.constData());
    QCOMPARE(r.out, QByteArray());
    int reads = 0;
    for (const QByteArray &request : sim.receivedRequests())
        reads += request == QByteArray::fromHex("FFFC");
    QCOMPARE(reads, 13);
    // Twelve retries 500 ms apart; generous bounds only.
    QVERIFY(clock.elapsed() > 5500);

    const QString in = file("mute.txt", "config\r\nAA,AA,D6,07;\r\nAA,C0;\r\nAE081DDD12F256\r\n");
    QCOMPARE(fusectl({"write", "COM5", in, "--variant", "19"}).exitCode, 4);   // 10 A on a 6 A module
    QCOMPARE(fusectl({"write", "COM5", file("mute6.txt", "config\r\n66,66,D6,07;\r\nAA,C0;\r\nAE081DDD12F256\r\n"),
                      "--variant", "19"}).exitCode, 3);
}

void TestFusectl::heldPortIsReportedAtOnce()
{
#ifdef Q_OS_UNIX
    SimulatorProcess sim;
    QVERIFY(sim.start({"--port", "COM6", "--variant", "17"}));
    const int fd = ::open(QFile::encodeName(sim.slavePath()).constData(), O_RDWR | O_NOCTTY);
    QVERIFY(fd >= 0);
    QCOMPARE(::flock(fd, LOCK_EX | LOCK_NB), 0);
    const QStringList cases[] = {{"read", "COM6"}, {"monitor", "COM6"}, {"info", "COM6"},
                                 {"write", "COM6", file("held.txt", SingleFile)}, {"read", "COM6", "--variant", "17"}};
    for (const QStringList &args : cases) {
        QElapsedTimer clock;
        clock.start();
        const Run r = fusectl(args);
        QCOMPARE(r.exitCode, 7);
        QVERIFY2(clock.elapsed() < 2000, qPrintable(args.join(' ')));   // no retries, no listening
    }
    ::close(fd);
    QCOMPARE(fusectl({"read", "/nonexistent/tty"}).exitCode, 7);
#else
    QSKIP("flock holds a device on Unix only");
#endif
}

void TestFusectl::fileErrors_data()
{
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QByteArray>("message");
    const QByteArray s = SingleFile;
    QTest::newRow("single C1") << "17" << QByteArray(s).replace("55,A3", "55;A3") << QByteArray("File error C1");
    QTest::newRow("single C2") << "17" << QByteArray(s).replace("A3,D9", "A3;D9") << QByteArray("File error C2");
    QTest::newRow("single C3") << "17" << QByteArray(s).replace("D9,04", "D9;04") << QByteArray("File error C3");
    QTest::newRow("single C4") << "17" << QByteArray(s).replace("04;", "04:") << QByteArray("File error C4");
    QTest::newRow("single C5") << "17" << QByteArray(s).replace("04;", "04;;") << QByteArray("File error C5");
    QTest::newRow("single C10") << "17" << QByteArray(s).replace("81,C2", "81;C2") << QByteArray("File error C10");
    QTest::newRow("single C11") << "17" << QByteArray(s).replace("C2;", "C2,") << QByteArray("File error C11");
    QTest::newRow("single C12") << "17" << QByteArray(s).replace("C2;", "C2") << QByteArray("File error C12");
    QTest::newRow("single C13") << "17" << QByteArray(s).replace("config", "Config") << QByteArray("File error C13");
    QTest::newRow("single C14") << "17" << QByteArray(s).replace("config", "config ") << QByteArray("File error C14");
    const QByteArray t = TwoFile;
    QTest::newRow("two C1") << "15" << QByteArray(t).replace("31,58", "31;58") << QByteArray("File error C1");
    QTest::newRow("two C5") << "15" << QByteArray(t).replace("00;\r\n0A", "00:\r\n0A") << QByteArray("File error C5");
    QTest::newRow("two C6") << "15" << QByteArray(t).replace("00;\r\n0A", "0;\r\n0A") << QByteArray("File error C6");
    QTest::newRow("two C7") << "15" << QByteArray(t).replace("0A,81", "0A;81") << QByteArray("File error C7");
    QTest::newRow("two C10") << "15" << QByteArray(t).replace("40;", "40:") << QByteArray("File error C10");
    QTest::newRow("two C11") << "15" << QByteArray(t).replace("40;", "4;") << QByteArray("File error C11");
    QTest::newRow("two C12") << "15" << QByteArray(t).replace("config", "Config") << QByteArray("File error C12");
    QTest::newRow("two C13") << "15" << QByteArray(t).replace("AE081DDD12F256\r\n", "") << QByteArray("File error C13");
    QTest::newRow("not hexadecimal") << "15" << QByteArray(t).replace(",E0,", ",XG,")
        << QByteArray("'XG' is not a valid hexadecimal value.");
}

void TestFusectl::fileErrors()
{
    QFETCH(QString, variant);
    QFETCH(QByteArray, contents);
    QFETCH(QByteArray, message);
    static SimulatorProcess sim;
    static QString running;
    if (running != variant) {
        QVERIFY(sim.start({"--port", "COM7", "--variant", variant, "--rate", "10"}));
        running = variant;
    }
    QVERIFY(sim.commandOk("config-factory"));
    const QByteArray before = sim.command("config-show").first().toLatin1();
    sim.receivedRequests();
    const Run r = fusectl({"write", "COM7", file("broken.txt", contents)});
    QCOMPARE(r.exitCode, 4);
    QVERIFY2(r.err.contains(message), r.err.constData());
    QVERIFY(sim.receivedRequests().isEmpty());   // nothing was sent
    QCOMPARE(sim.command("config-show").first().toLatin1(), before);
}

void TestFusectl::otherFamily_data()
{
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QStringList>("args");
    QTest::newRow("two-port file, single-port module") << "13" << QStringList{"write", "COM8", "two.txt"};
    QTest::newRow("single-port file, two-port module") << "15" << QStringList{"write", "COM8", "single.txt"};
    QTest::newRow("read as two-port from a single-port module") << "17" << QStringList{"read", "COM8", "--variant", "15"};
}

void TestFusectl::otherFamily()
{
    QFETCH(QString, variant);
    QFETCH(QStringList, args);
    file("two.txt", TwoFile);
    file("single.txt", SingleFile);
    for (QString &a : args)
        if (a.endsWith(".txt"))
            a = dir_.filePath(a);
    SimulatorProcess sim;
    QVERIFY(sim.start({"--port", "COM8", "--variant", variant, "--rate", "10"}));
    const Run r = fusectl(args);
    QCOMPARE(r.exitCode, 5);
    QCOMPARE(r.out, QByteArray());
}

void TestFusectl::monitorRecordsEveryTelegram()
{
    SimulatorProcess sim;
    QVERIFY(sim.start({"--port", "COM9", "--variant", "13", "--rate", "0"}));
    QVERIFY(sim.commandOk("current 1 1234"));
    QVERIFY(sim.commandOk("max 2 7"));
    QVERIFY(sim.commandOk("uin 2395"));
    QVERIFY(sim.commandOk("status1 09"));   // overcurrent channel 1, channel 2 tripped
    QVERIFY(sim.commandOk("status2 02"));   // hardware fault

    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LC_ALL", "C");
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(FUSECTL), {"monitor", "COM9", "--seconds", "4"});
    QVERIFY(p.waitForStarted());
    // Telegrams only while the monitor surely listens, then two bad frames.
    QTest::qWait(800);
    QVERIFY(sim.commandOk("rate 10"));
    QTest::qWait(1500);
    QVERIFY(sim.commandOk("badcheck 1"));
    QVERIFY(sim.commandOk("short 1"));
    QTest::qWait(400);
    QVERIFY(sim.commandOk("rate 0"));
    const QStringList count = sim.command("count");
    QVERIFY(p.waitForFinished(10000));
    QCOMPARE(p.exitCode(), 0);
    const QList<QByteArray> lines = p.readAllStandardOutput().split('\n');
    const int sent = count.first().section(' ', 1).toInt();
    QVERIFY(sent >= 10);
    QCOMPARE(lines.last(), QByteArray());   // every line complete
    QCOMPARE(lines.size() - 2, sent);       // header, records, nothing after the last CR LF
    QVERIFY(lines.first().startsWith("time,variant,i1,"));
    QCOMPARE(QString::fromLatin1(lines.at(1)).section(',', 1),
             QString("TwoChannel10A,12.34,1.20,,,3.10,0.07,,,23.95,23.85,10,10,,,1,0,0,1,,,,,0,1\r"));
    QVERIFY(p.readAllStandardError().contains("2 telegrams dropped (1 wrong check byte, 1 wrong length)"));
}

void TestFusectl::unusablePortSaysWhy_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QStringList>("words");   // what the message must hold
    QTest::newRow("absent") << "absent" << QStringList{"Absent: /dev/ttyNoSuchPort does not exist"};
    QTest::newRow("not a serial port") << "file" << QStringList{"Not a serial port: ", " is not a serial device"};
    QTest::newRow("held by another process") << "held" << QStringList{"Held by fusectl (process "};
    QTest::newRow("permission denied") << "forbidden" << QStringList{"Permission denied: "};
}

void TestFusectl::unusablePortSaysWhy()
{
#ifdef Q_OS_UNIX
    QFETCH(QString, how);
    QFETCH(QStringList, words);
    SimulatorProcess sim;
    QVERIFY(sim.start({"--port", "COM6", "--variant", "17", "--rate", "10"}));
    QString port = sim.slavePath();
    QStringList prefix;   // runs fusectl through this command
    QProcess holder;
    if (how == "absent") {
        port = QStringLiteral("/dev/ttyNoSuchPort");
    } else if (how == "file") {
        port = file("plain.txt", "no port");
    } else if (how == "held") {
        holder.start(QStringLiteral(FUSECTL), {"monitor", "COM6", "--seconds", "20"});
        QVERIFY(holder.waitForStarted());
        QTest::qWait(500);
        words << QString::number(holder.processId()) + ")";
    } else if (::getuid() == 0) {
        // As root the test hands the device to the group dialout, as udev does for an
        // adapter, and runs fusectl as a user outside that group.
        QCOMPARE(QProcess::execute("chgrp", {"dialout", port}), 0);
        QCOMPARE(QProcess::execute("chmod", {"660", port}), 0);
        prefix = QStringList{"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", QStringLiteral(FUSECTL)};
        words << "belongs to the group dialout (mode 0660)" << "sudo usermod -aG dialout $USER, then log in again";
    } else {
        QCOMPARE(QProcess::execute("chmod", {"000", port}), 0);
    }
    Run r;
    if (prefix.isEmpty()) {
        r = fusectl({"read", port});
    } else {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("LC_ALL", "C");
        p.setProcessEnvironment(env);
        p.start(prefix.takeFirst(), prefix + QStringList{"read", port});
        QVERIFY(p.waitForFinished(30000));
        r.exitCode = p.exitCode();
        r.err = p.readAllStandardError();
    }
    QCOMPARE(r.exitCode, 7);
    for (const QString &w : words)
        QVERIFY2(r.err.contains(w.toUtf8()), r.err.constData());
    if (holder.state() != QProcess::NotRunning) {
        holder.kill();
        holder.waitForFinished();
    }
#else
    QSKIP("device permissions and holders are read the Unix way");
#endif
}

void TestFusectl::portsListsStateWithoutOpening()
{
#ifdef Q_OS_UNIX
    SimulatorProcess sim;
    QVERIFY(sim.start({"--port", "COM6", "--variant", "17", "--rate", "10"}));
    Run r = fusectl({"ports"});
    QCOMPARE(r.exitCode, 0);
    const QList<QByteArray> lines = r.out.split('\n');
    QCOMPARE(lines.value(5), ("COM6   " + sim.linkPath() + " -> " + sim.slavePath() + "  Free").toUtf8());
    QVERIFY(lines.value(6).startsWith("COM7 "));
    QVERIFY(r.out.contains("Serial adapters:"));

    QProcess holder;
    holder.start(QStringLiteral("flock"), {"--no-fork", "-x", sim.slavePath(), "sleep", "20"});
    QVERIFY(holder.waitForStarted());
    QTest::qWait(300);
    r = fusectl({"ports", "--format", "json"});
    QCOMPARE(r.exitCode, 0);
    const QJsonObject root = QJsonDocument::fromJson(r.out).object();
    const QJsonObject com6 = root["ports"].toArray().at(5).toObject();
    QCOMPARE(com6["name"].toString(), QStringLiteral("COM6"));
    QCOMPARE(com6["device"].toString(), sim.slavePath());
    QCOMPARE(com6["link"].toString(), sim.linkPath());
    QCOMPARE(com6["state"].toString(), QStringLiteral("held"));
    QCOMPARE(com6["holders"].toArray().at(0).toObject()["pid"].toInteger(), holder.processId());
    QCOMPARE(com6["holders"].toArray().at(0).toObject()["program"].toString(), QStringLiteral("sleep"));
    QCOMPARE(root["ports"].toArray().size(), 20);
    QVERIFY(root.contains("adapters"));
    QCOMPARE(root["byIdFolderExists"].toBool(), QFileInfo::exists("/dev/serial/by-id"));
    holder.kill();
    holder.waitForFinished();
#else
    QSKIP("the lock and process tables are read the Unix way");
#endif
}

QTEST_GUILESS_MAIN(TestFusectl)
#include "tst_fusectl.moc"
