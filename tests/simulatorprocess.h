#pragma once

// Runs the module simulator (tools/simulator) as a child process for integration tests.
//
//   target_link_libraries(tst_x PRIVATE fusesimtest)   # or LIBS fusesimtest in fuse_add_qtest
//
//   void initTestCase() { SimulatorProcess::useTemporaryDataHome(); }
//   SimulatorProcess sim;
//   QVERIFY(sim.start({"--variant", "19", "--rate", "31"}));
//   QCOMPARE(sim.command("current 1 250").last(), QString("ok"));
//   ... open "\\.\COM1" with the tool's SerialLine ...
//   sim.stop();
//
// The simulator links <XDG_DATA_HOME>/electronic-fuse/ports/COMn to its pty. The test process
// and the simulator must agree on XDG_DATA_HOME: useTemporaryDataHome() points both at one
// temporary folder, removed when the test process ends.

#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// How long a test waits for what the simulator will bring about (values shown, a display
// blanked, a port freed, a status text): only a guard against a hang, long enough for a
// machine loaded by the sanitizer build. Such a wait ends as soon as its condition holds;
// times that matter are counted or measured apart.
constexpr int PatienceMs = 20000;

#ifndef FUSE_SIMULATOR
#error "FUSE_SIMULATOR is not set: link the test target against fusesimtest"
#endif

class SimulatorProcess
{
public:
    SimulatorProcess() = default;
    SimulatorProcess(const SimulatorProcess &) = delete;
    SimulatorProcess &operator=(const SimulatorProcess &) = delete;
    ~SimulatorProcess() { stop(); }

    // Sets XDG_DATA_HOME of this process to a temporary folder, once per process, and returns
    // that folder. Call it before the first QStandardPaths lookup (initTestCase, or main).
    // start() calls it as well and hands the same folder to the simulator.
    static QString useTemporaryDataHome()
    {
        static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/fuse-test-XXXXXX"));
        static const bool set = [] {
            qputenv("XDG_DATA_HOME", QFile::encodeName(dir.path()));
            return true;
        }();
        Q_UNUSED(set);
        return dir.path();
    }

    static QString program() { return QStringLiteral(FUSE_SIMULATOR); }

    // Starts the simulator with these options (--port, --variant, --rate, ...; see
    // tools/README.md) and waits for its "ready" line, that is until the port link exists.
    bool start(const QStringList &args = {}, int timeoutMs = 5000)
    {
        stop();
        const QString dataHome = useTemporaryDataHome();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
        process_.setProcessEnvironment(env);
        // The simulator's complaints go to the test's own stderr.
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        output_.clear();
        process_.start(program(), QStringList(args) << QStringLiteral("--stdin-control"));
        if (!process_.waitForStarted(timeoutMs))
            return false;
        QString line;
        readLine(timeoutMs, &line);
        const QStringList parts = line.split(QLatin1Char(' '));
        if (parts.size() != 3 || parts[0] != QLatin1String("ready")) {
            stop();
            return false;
        }
        slavePath_ = parts[1];
        linkPath_ = parts[2];
        return true;
    }

    // Sends one command line and waits for its verdict. Returns every line the simulator
    // printed for it; the last one is "ok" or "error <text>". Empty when no verdict came.
    QStringList command(const QString &line, int timeoutMs = 3000)
    {
        QStringList lines;
        if (process_.state() != QProcess::Running)
            return lines;
        process_.write(line.toUtf8() + '\n');
        process_.waitForBytesWritten(timeoutMs);
        QElapsedTimer clock;
        clock.start();
        for (;;) {
            const int left = timeoutMs - int(clock.elapsed());
            QString l;
            if (!readLine(left, &l))
                return {};
            lines << l;
            if (l == QLatin1String("ok") || l.startsWith(QLatin1String("error")))
                return lines;
        }
    }

    // command() that reports only whether the simulator said "ok".
    bool commandOk(const QString &line)
    {
        const QStringList lines = command(line);
        return !lines.isEmpty() && lines.last() == QLatin1String("ok");
    }

    // Every request byte string the tool wrote since the last call (or the start), in order.
    QList<QByteArray> receivedRequests()
    {
        QList<QByteArray> requests;
        QStringList lines = command(QStringLiteral("received"));
        if (!lines.isEmpty())
            lines.removeLast();
        for (const QString &l : lines)
            requests << QByteArray::fromHex(l.toLatin1());
        return requests;
    }

    // Asks the simulator to quit (it removes its link) and waits; kills it if it hangs.
    void stop()
    {
        if (process_.state() == QProcess::NotRunning)
            return;
        process_.write("quit\n");
        process_.waitForBytesWritten(500);
        if (!process_.waitForFinished(2000)) {
            process_.kill();
            process_.waitForFinished(2000);
        }
    }

    bool isRunning() const { return process_.state() == QProcess::Running; }
    QString slavePath() const { return slavePath_; }   // /dev/pts/N
    QString linkPath() const { return linkPath_; }     // <data home>/electronic-fuse/ports/COMn
    // The name the tool opens it by: "\\.\COMn".
    QString deviceName() const
    {
        const int slash = int(linkPath_.lastIndexOf(QLatin1Char('/')));
        return QStringLiteral("\\\\.\\") + linkPath_.mid(slash + 1);
    }
    QProcess &process() { return process_; }

private:
    // The next line of stdout without its newline; false on time-out or exit.
    bool readLine(int timeoutMs, QString *line)
    {
        QElapsedTimer clock;
        clock.start();
        for (;;) {
            output_ += process_.readAllStandardOutput();
            const int end = output_.indexOf('\n');
            if (end >= 0) {
                *line = QString::fromUtf8(output_.left(end)).trimmed();
                output_.remove(0, end + 1);
                return true;
            }
            const int left = timeoutMs - int(clock.elapsed());
            if (left <= 0 || process_.state() != QProcess::Running)
                return false;
            process_.waitForReadyRead(left);
        }
    }

    QProcess process_;
    QByteArray output_;
    QString slavePath_;
    QString linkPath_;
};
