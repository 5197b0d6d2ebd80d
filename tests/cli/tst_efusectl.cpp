// efusectl as a script runs it, against the module simulator on a pseudo-terminal.
#include "simulatorprocess.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
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

class TestEfusectl : public QObject
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
    void monitorCountOneGivesOneSample();
    void infoAsJson();
    void dashIsStandardInputAndOutput();
    void outputNotWrittenSaysWhy();
    void noRegularFileIsRefusedAtOnce();
    void versionOfEveryProgram_data();
    void versionOfEveryProgram();
    void helpNamesTheProgramAsCalled();
    void oneLanguagePerRun_data();
    void oneLanguagePerRun();
    void unusablePortSaysWhy_data();
    void unusablePortSaysWhy();
    void portsListsStateWithoutOpening();

private:
    Run efusectl(const QStringList &args, int timeoutMs = 30000, const QByteArray &input = QByteArray(),
                 const QStringList &environment = {"LC_ALL=C"});
    QString file(const QString &name, const QByteArray &contents);

    QTemporaryDir dir_;
};

void TestEfusectl::initTestCase()
{
    SimulatorProcess::useTemporaryDataHome();
    QVERIFY(dir_.isValid());
}

// English messages unless the environment says otherwise; input, when given, on stdin.
Run TestEfusectl::efusectl(const QStringList &args, int timeoutMs, const QByteArray &input,
                           const QStringList &environment)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANG", "LANGUAGE"})
        env.remove(name);
    for (const QString &setting : environment)
        env.insert(setting.section('=', 0, 0), setting.section('=', 1));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(EFUSECTL), args);
    if (!input.isNull()) {
        p.write(input);
        p.closeWriteChannel();
    }
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

QString TestEfusectl::file(const QString &name, const QByteArray &contents)
{
    const QString path = dir_.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(contents) != contents.size())
        return QString();
    return path;
}

void TestEfusectl::writeThenReadGivesTheFile_data()
{
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("stored");   // what the simulator keeps, write-telegram order
    QTest::newRow("single-port FourChannel10A") << "17" << SingleFile << "55 A3 D9 81 C2 00 C7";
    QTest::newRow("two-port") << "15" << TwoFile << "31 58 E0 0A 81 40 40 11 00";
}

void TestEfusectl::writeThenReadGivesTheFile()
{
    QFETCH(QString, variant);
    QFETCH(QByteArray, contents);
    QFETCH(QString, stored);
    SimulatorProcess sim;
    QVERIFY(sim.start({"--port", "COM3", "--variant", variant, "--rate", "10"}));
    const QString in = file("in.txt", contents);
    const Run w = efusectl({"write", "COM3", in});
    QVERIFY2(w.exitCode == 0, w.err.constData());
    QCOMPARE(sim.command("config-show").first(), stored);

    // To stdout and to a file, byte for byte.
    const Run r = efusectl({"read", "COM3"});
    QVERIFY2(r.exitCode == 0, r.err.constData());
    QCOMPARE(r.out, contents);
    const QString outPath = dir_.filePath("out.txt");
    QCOMPARE(efusectl({"read", sim.deviceName(), "-o", outPath}).exitCode, 0);
    QFile out(outPath);
    QVERIFY(out.open(QIODevice::ReadOnly));
    QCOMPARE(out.readAll(), contents);
}

void TestEfusectl::verifyReportsWhatTheModuleChanged()
{
    SimulatorProcess sim;
    QVERIFY(sim.start({"--port", "COM4", "--variant", "15", "--rate", "10"}));
    const QString in = file("verify.txt", TwoFile);
    const Run same = efusectl({"write", "COM4", in, "--verify"});
    QVERIFY2(same.exitCode == 0, same.err.constData());
    QCOMPARE(same.out, QByteArray());

    // Byte 0 holds the currents of channels 1 (low) and 2 (high): 0x31 becomes 0x35. At 5 A
    // channel 1 offers only "0,1", so its trip time "0,2" comes back changed as well.
    QVERIFY(sim.commandOk("config-alter 0 35"));
    const Run changed = efusectl({"write", "COM4", in, "--verify"});
    QCOMPARE(changed.exitCode, 6);
    QCOMPARE(changed.out, QByteArray("k1_sel: written 1, read 5\nk1_time: written 0,2, read 0,1\n"));
    QVERIFY(changed.err.contains("2 fields differ"));
}

void TestEfusectl::muteModuleGivesUpAfterThirteenAttempts()
{
    SimulatorProcess sim;
    QVERIFY(sim.start({"--port", "COM5", "--variant", "19", "--rate", "10"}));
    QVERIFY(sim.commandOk("config-mute on"));
    sim.receivedRequests();
    QElapsedTimer clock;
    clock.start();
    const Run r = efusectl({"read", "COM5"});
    QCOMPARE(r.exitCode, 3);
    QVERIFY2(r.err.contains("13 attempts"), r.err.constData());
    QCOMPARE(r.out, QByteArray());
    int reads = 0;
    for (const QByteArray &request : sim.receivedRequests())
        reads += request == QByteArray::fromHex("FFFC");
    QCOMPARE(reads, 13);
    // Counted above; the time has only the lower bound of twelve retries of the dialogs'
    // protocol, which efusectl runs, 500 ms apart (1 ms a tick allowed for rounding).
    constexpr int RetryIntervalMs = 500, MaxRetries = 12;
    QVERIFY2(clock.elapsed() >= MaxRetries * (RetryIntervalMs - 1), qPrintable(QString::number(clock.elapsed())));

    const QString in = file("mute.txt", "config\r\nAA,AA,D6,07;\r\nAA,C0;\r\nAE081DDD12F256\r\n");
    QCOMPARE(efusectl({"write", "COM5", in, "--variant", "19"}).exitCode, 4);   // 10 A on a 6 A module
    QCOMPARE(efusectl({"write", "COM5", file("mute6.txt", "config\r\n66,66,D6,07;\r\nAA,C0;\r\nAE081DDD12F256\r\n"),
                      "--variant", "19"}).exitCode, 3);
}

void TestEfusectl::heldPortIsReportedAtOnce()
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
        const Run r = efusectl(args);
        QCOMPARE(r.exitCode, 7);
        // No retries and no listening: read and write listen 2 s for a status telegram
        // before anything else, and a retry series takes 6 s.
        constexpr int ListenMs = 2000;
        QVERIFY2(clock.elapsed() < ListenMs, qPrintable(QStringLiteral("%1: %2 ms").arg(args.join(' ')).arg(clock.elapsed())));
    }
    ::close(fd);
    QCOMPARE(efusectl({"read", "/nonexistent/tty"}).exitCode, 7);
#else
    QSKIP("flock holds a device on Unix only");
#endif
}

void TestEfusectl::fileErrors_data()
{
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QByteArray>("message");
    const QByteArray s = SingleFile;
    QTest::newRow("single C1") << "17" << QByteArray(s).replace("55,A3", "55;A3") << QByteArray("line 2, character 3 is ';', not ',' (C1)");
    QTest::newRow("single C2") << "17" << QByteArray(s).replace("A3,D9", "A3;D9") << QByteArray("line 2, character 6 is ';', not ',' (C2)");
    QTest::newRow("single C3") << "17" << QByteArray(s).replace("D9,04", "D9;04") << QByteArray("line 2, character 9 is ';', not ',' (C3)");
    QTest::newRow("single C4") << "17" << QByteArray(s).replace("04;", "04:") << QByteArray("line 2, character 12 is ':', not ';' (C4)");
    QTest::newRow("single C5") << "17" << QByteArray(s).replace("04;", "04;;") << QByteArray("line 2 has 13 characters, not 12 (C5)");
    QTest::newRow("single C10") << "17" << QByteArray(s).replace("81,C2", "81;C2") << QByteArray("line 3, character 3 is ';', not ',' (C10)");
    QTest::newRow("single C11") << "17" << QByteArray(s).replace("C2;", "C2,") << QByteArray("line 3, character 6 is ',', not ';' (C11)");
    QTest::newRow("single C12") << "17" << QByteArray(s).replace("C2;", "C2") << QByteArray("line 3 has 5 characters, not 6 (C12)");
    QTest::newRow("single C13") << "17" << QByteArray(s).replace("config", "Config") << QByteArray("line 1 reads 'Config', not 'config' (C13)");
    QTest::newRow("single C14") << "17" << QByteArray(s).replace("config", "config ") << QByteArray("line 1 reads 'config ', not 'config' (C14)");
    const QByteArray t = TwoFile;
    QTest::newRow("two C1") << "15" << QByteArray(t).replace("31,58", "31;58") << QByteArray("line 2, character 3 is ';', not ',' (C1)");
    QTest::newRow("two C5") << "15" << QByteArray(t).replace("00;\r\n0A", "00:\r\n0A") << QByteArray("line 2, character 15 is ':', not ';' (C5)");
    QTest::newRow("two C6") << "15" << QByteArray(t).replace("00;\r\n0A", "0;\r\n0A") << QByteArray("line 2 has 14 characters, not 15 (C6)");
    QTest::newRow("two C7") << "15" << QByteArray(t).replace("0A,81", "0A;81") << QByteArray("line 3, character 3 is ';', not ',' (C7)");
    QTest::newRow("two C10") << "15" << QByteArray(t).replace("40;", "40:") << QByteArray("line 3, character 12 is ':', not ';' (C10)");
    QTest::newRow("two C11") << "15" << QByteArray(t).replace("40;", "4;") << QByteArray("line 3 has 11 characters, not 12 (C11)");
    QTest::newRow("two C12") << "15" << QByteArray(t).replace("config", "Config") << QByteArray("line 1 reads 'Config', not 'config' (C12)");
    QTest::newRow("two C13") << "15" << QByteArray(t).replace("AE081DDD12F256\r\n", "") << QByteArray("the file ends after line 3 (C13)");
    QTest::newRow("not hexadecimal") << "15" << QByteArray(t).replace(",E0,", ",XG,")
        << QByteArray("line 2 holds 'XG', not a hexadecimal number");
}

void TestEfusectl::fileErrors()
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
    const Run r = efusectl({"write", "COM7", file("broken.txt", contents)});
    QCOMPARE(r.exitCode, 4);
    QVERIFY2(r.err.contains(message), r.err.constData());
    QVERIFY(sim.receivedRequests().isEmpty());   // nothing was sent
    QCOMPARE(sim.command("config-show").first().toLatin1(), before);
}

void TestEfusectl::otherFamily_data()
{
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QStringList>("args");
    QTest::newRow("two-port file, single-port module") << "13" << QStringList{"write", "COM8", "two.txt"};
    QTest::newRow("single-port file, two-port module") << "15" << QStringList{"write", "COM8", "single.txt"};
    QTest::newRow("read as two-port from a single-port module") << "17" << QStringList{"read", "COM8", "--variant", "15"};
}

void TestEfusectl::otherFamily()
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
    const Run r = efusectl(args);
    QCOMPARE(r.exitCode, 5);
    QCOMPARE(r.out, QByteArray());
}

void TestEfusectl::monitorRecordsEveryTelegram()
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
    p.start(QStringLiteral(EFUSECTL), {"monitor", "COM9", "--seconds", "4"});
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
    QCOMPARE(lines.size() - 2, sent);       // header, records, nothing after the last LF
    QVERIFY(lines.first().startsWith("time,variant,i1,"));
    QCOMPARE(QString::fromLatin1(lines.at(1)).section(',', 1),
             QString("TwoChannel10A,12.34,1.20,,,3.10,0.07,,,23.95,23.85,10,10,,,1,0,0,1,,,,,0,1"));
    for (const QByteArray &line : lines)
        QVERIFY(!line.contains('\r'));   // LF alone ends a line
    QVERIFY(p.readAllStandardError().contains("2 telegrams dropped (1 wrong check byte, 1 wrong length)"));
}

void TestEfusectl::monitorCountOneGivesOneSample()
{
    SimulatorProcess sim;
    QVERIFY(sim.start({"--port", "COM10", "--variant", "17", "--rate", "10"}));
    QElapsedTimer clock;
    clock.start();
    constexpr int RunTimeoutMs = 10000;   // a run still going then is killed, and exits with -1
    const Run csv = efusectl({"monitor", "COM10", "--count", "1"}, RunTimeoutMs);
    // Ends after the first record, without Ctrl+C: the exit code says it ended by itself;
    // the time is only a guard, well inside the run's time-out.
    QCOMPARE(csv.exitCode, 0);
    QVERIFY2(clock.elapsed() < RunTimeoutMs / 2, qPrintable(QString::number(clock.elapsed())));
    const QList<QByteArray> lines = csv.out.split('\n');
    QCOMPARE(lines.size(), 3);   // header, one record, nothing after the last LF
    QVERIFY(lines.at(1).contains(",FourChannel10A,"));
    const Run json = efusectl({"monitor", "COM10", "--count", "3", "--format", "json"}, RunTimeoutMs);
    QCOMPARE(json.exitCode, 0);
    QCOMPARE(json.out.count('\n'), 3);
    QVERIFY(json.err.contains("3 records"));
}

void TestEfusectl::infoAsJson()
{
    SimulatorProcess sim;
    QVERIFY(sim.start({"--port", "COM11", "--variant", "13", "--rate", "10", "--software", "2.31"}));
    const Run r = efusectl({"info", "COM11", "--format", "json"});
    QVERIFY2(r.exitCode == 0, r.err.constData());
    QVERIFY(r.out.endsWith("}\n"));
    QJsonParseError error{};
    const QJsonObject o = QJsonDocument::fromJson(r.out, &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(o.value("variant").toString(), QString("TwoChannel10A"));
    QCOMPARE(o.value("type").toString(), QString("13"));
    QCOMPARE(o.value("software").toString(), QString("2.31"));
    QCOMPARE(o.value("rated").toArray(), QJsonArray({10, 10}));
}

void TestEfusectl::dashIsStandardInputAndOutput()
{
    SimulatorProcess sim;
    QVERIFY(sim.start({"--port", "COM12", "--variant", "17", "--rate", "10"}));
    const Run w = efusectl({"write", "COM12", "-"}, 30000, SingleFile);
    QVERIFY2(w.exitCode == 0, w.err.constData());
    QCOMPARE(sim.command("config-show").first(), QString("55 A3 D9 81 C2 00 C7"));
    const Run r = efusectl({"read", "COM12", "-o", "-"});
    QVERIFY2(r.exitCode == 0, r.err.constData());
    QCOMPARE(r.out, SingleFile);
    QVERIFY(!QFile::exists("-"));
    // A broken file on stdin is named as such.
    const Run broken = efusectl({"write", "COM12", "-"}, 30000, SingleFile.left(22));
    QCOMPARE(broken.exitCode, 4);
    QVERIFY2(broken.err.contains("standard input: the file ends after line 2 (C14)"), broken.err.constData());
}

void TestEfusectl::outputNotWrittenSaysWhy()
{
    SimulatorProcess sim;
    QVERIFY(sim.start({"--port", "COM13", "--variant", "17", "--rate", "10"}));
    const QString path = dir_.filePath("no-such-folder/out.txt");
    const Run r = efusectl({"read", "COM13", "-o", path});
    QCOMPARE(r.exitCode, 4);
    QVERIFY2(r.err.contains(path.toUtf8() + " could not be written: "), r.err.constData());
    QVERIFY2(r.err.contains("No such file or directory"), r.err.constData());
#ifdef Q_OS_UNIX
    // A FIFO is not replaced by a file.
    const QString fifo = dir_.filePath("out-fifo");
    QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
    const Run f = efusectl({"read", "COM13", "-o", fifo});
    QCOMPARE(f.exitCode, 4);
    QVERIFY2(f.err.contains(fifo.toUtf8() + " could not be written: no regular file"), f.err.constData());
    QVERIFY(!QFileInfo(fifo).isFile());
#endif
}

void TestEfusectl::noRegularFileIsRefusedAtOnce()
{
#ifdef Q_OS_UNIX
    SimulatorProcess sim;
    QVERIFY(sim.start({"--port", "COM14", "--variant", "15", "--rate", "10"}));
    const QString fifo = dir_.filePath("fifo");
    QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
    // Opening the FIFO for reading would wait for a writer: the run would hang.
    const Run r = efusectl({"write", "COM14", fifo, "--variant", "15"}, 10000);
    QCOMPARE(r.exitCode, 4);
    QVERIFY2(r.err.contains(fifo.toUtf8() + " is no regular file"), r.err.constData());
    QVERIFY2(r.err.contains("(C13)"), r.err.constData());
    const Run dir = efusectl({"write", "COM14", dir_.path(), "--variant", "15"}, 10000);
    QCOMPARE(dir.exitCode, 4);
    QVERIFY2(dir.err.contains(" is a directory, not a file (C13)"), dir.err.constData());
    QVERIFY(sim.receivedRequests().isEmpty());
#else
    QSKIP("FIFOs are a Unix matter");
#endif
}

void TestEfusectl::versionOfEveryProgram_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("name");
    QTest::newRow("efusectl") << QStringLiteral(EFUSECTL) << "efusectl";
    QTest::newRow("fuse-simulator") << SimulatorProcess::program() << "fuse-simulator";
    QTest::newRow("electronic-fuse") << QStringLiteral(ELECTRONIC_FUSE) << "electronic-fuse";
}

void TestEfusectl::versionOfEveryProgram()
{
    QFETCH(QString, program);
    QFETCH(QString, name);
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");   // answered without a display
    env.remove("QT_QPA_PLATFORM");
    p.setProcessEnvironment(env);
    p.start(program, {"--version"});
    QVERIFY(p.waitForFinished(10000));
    QCOMPARE(p.exitCode(), 0);
    QCOMPARE(p.readAllStandardOutput(), (name + " " + PROJECT_VERSION + "\n").toUtf8());
}

void TestEfusectl::helpNamesTheProgramAsCalled()
{
    const Run help = efusectl({"help", "monitor"});
    QCOMPARE(help.exitCode, 0);
    QVERIFY2(help.out.startsWith("Usage: efusectl monitor PORT [--seconds N] [--count N]"), help.out.constData());
    QVERIFY(!help.out.contains(QByteArray(EFUSECTL)));
    QCOMPARE(efusectl({"monitor", "--help"}).out, help.out);
    const Run all = efusectl({"--help"});
    QVERIFY(all.out.startsWith("Usage: efusectl COMMAND PORT [OPTIONS]\n"));
    const Run wrong = efusectl({"erase"});
    QCOMPARE(wrong.exitCode, 2);
    QCOMPARE(wrong.err, QByteArray("efusectl: Unknown command \"erase\".\nUsage: efusectl --help lists the commands.\n"));
}

void TestEfusectl::oneLanguagePerRun_data()
{
    QTest::addColumn<QStringList>("environment");
    QTest::addColumn<QByteArray>("message");   // of an unknown option: ours and Qt's part
    const QByteArray german = "efusectl: Falscher Aufruf: Unbekannte Option 'fast'.\n"
                              "Aufruf: efusectl --help zeigt die Befehle.\n";
    const QByteArray english = "efusectl: Wrong usage: Unknown option 'fast'.\n"
                               "Usage: efusectl --help lists the commands.\n";
    QTest::newRow("LANG German") << QStringList{"LANG=de_DE.UTF-8"} << german;
    QTest::newRow("LC_MESSAGES German") << QStringList{"LANG=en_GB.UTF-8", "LC_MESSAGES=de_AT.UTF-8"} << german;
    QTest::newRow("German numbers, English messages") << QStringList{"LANG=de_DE.UTF-8", "LC_MESSAGES=C"} << english;
    QTest::newRow("LC_ALL over LANG") << QStringList{"LANG=de_DE.UTF-8", "LC_ALL=C"} << english;
    QTest::newRow("no locale") << QStringList{} << english;
}

void TestEfusectl::oneLanguagePerRun()
{
    QFETCH(QStringList, environment);
    QFETCH(QByteArray, message);
    const Run r = efusectl({"read", "COM1", "--fast"}, 10000, QByteArray(), environment);
    QCOMPARE(r.exitCode, 2);
    QCOMPARE(r.err, message);
}

void TestEfusectl::unusablePortSaysWhy_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QStringList>("words");   // what the message must hold
    QTest::newRow("absent") << "absent" << QStringList{"Absent: /dev/ttyNoSuchPort does not exist"};
    QTest::newRow("not a serial port") << "file" << QStringList{"Not a serial port: ", " is not a serial device"};
    QTest::newRow("held by another process") << "held" << QStringList{"Held by efusectl (process "};
    QTest::newRow("permission denied") << "forbidden" << QStringList{"Permission denied: "};
}

void TestEfusectl::unusablePortSaysWhy()
{
#ifdef Q_OS_UNIX
    QFETCH(QString, how);
    QFETCH(QStringList, words);
    SimulatorProcess sim;
    QVERIFY(sim.start({"--port", "COM6", "--variant", "17", "--rate", "10"}));
    QString port = sim.slavePath();
    QStringList prefix;   // runs efusectl through this command
    QProcess holder;
    if (how == "absent") {
        port = QStringLiteral("/dev/ttyNoSuchPort");
    } else if (how == "file") {
        port = file("plain.txt", "no port");
    } else if (how == "held") {
        holder.start(QStringLiteral(EFUSECTL), {"monitor", "COM6", "--seconds", "20"});
        QVERIFY(holder.waitForStarted());
        QTest::qWait(500);
        words << QString::number(holder.processId()) + ")";
    } else if (::getuid() == 0) {
        // As root the test hands the device to the group dialout, as udev does for an
        // adapter, and runs efusectl as a user outside that group.
        QCOMPARE(QProcess::execute("chgrp", {"dialout", port}), 0);
        QCOMPARE(QProcess::execute("chmod", {"660", port}), 0);
        prefix = QStringList{"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", QStringLiteral(EFUSECTL)};
        words << "belongs to the group dialout (mode 0660)" << "sudo usermod -aG dialout $USER, then log in again";
    } else {
        QCOMPARE(QProcess::execute("chmod", {"000", port}), 0);
    }
    Run r;
    if (prefix.isEmpty()) {
        r = efusectl({"read", port});
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

void TestEfusectl::portsListsStateWithoutOpening()
{
#ifdef Q_OS_UNIX
    SimulatorProcess sim;
    QVERIFY(sim.start({"--port", "COM6", "--variant", "17", "--rate", "10"}));
    Run r = efusectl({"ports"});
    QCOMPARE(r.exitCode, 0);
    const QList<QByteArray> lines = r.out.split('\n');
    QCOMPARE(lines.value(5), ("COM6   " + sim.linkPath() + " -> " + sim.slavePath() + "  Free").toUtf8());
    QVERIFY(lines.value(6).startsWith("COM7 "));
    QVERIFY(r.out.contains("Serial adapters:"));

    QProcess holder;
    holder.start(QStringLiteral("flock"), {"--no-fork", "-x", sim.slavePath(), "sleep", "20"});
    QVERIFY(holder.waitForStarted());
    QTest::qWait(300);
    r = efusectl({"ports", "--format", "json"});
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

QTEST_GUILESS_MAIN(TestEfusectl)
#include "tst_efusectl.moc"
