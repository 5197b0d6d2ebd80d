// How late the user-interface thread serves an event while the tool listens to a line.
//
// A probe timer is armed for 10 ms (single shot, precise) and re-armed each time it fires;
// its lateness (time since armed minus 10 ms) is what a click, a key or a screen reader's
// request would wait at that moment. Five states, each in its own process so that one
// state's port and memory do not carry into the next:
//   1  COM1 resolves to an existing port with nothing behind it (/dev/ttyS0)
//   2  a silent module (simulator, rate 0)
//   3  a module sending every 500 ms (rate 2)
//   4  full line rate, byte-paced at 9600 baud (rate 31 --paced); then, with the probe
//      stopped, CPU share and resident memory of the process
//   5  the single-port configuration dialog in a retry series against a mute module
//
//   bench_ui_latency [--seconds N]          all five states, N seconds each (default 10)
//   bench_ui_latency --state K [--seconds N] one state; prints one "result" line
//
// The tool runs in this process as it starts for the user (FuseApplication), on Qt's offscreen
// platform unless QT_QPA_PLATFORM says otherwise. Windows are driven only through their
// controls, found by object name. No pass or fail on timing: the figures go in the README.
#include "app/form1.h"
#include "app/fuseapplication.h"
#include "link/portnames.h"
#include "parameter2/parameter_rovo.h"
#include "simulatorprocess.h"
#include "processfigures.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int ProbeIntervalMs = 10;
constexpr int WarmUpMs = 1500;
constexpr int StateCount = 5;

const char *const StateNames[StateCount] = {
    "COM1 on a silent existing port",
    "silent module (rate 0)",
    "module every 500 ms (rate 2)",
    "full line rate, paced (rate 31)",
    "dialog retrying, mute module",
};

void fail(const QString &why)
{
    std::fprintf(stderr, "bench_ui_latency: %s\n", qPrintable(why));
    std::exit(2);
}

// Runs the event loop for ms milliseconds.
void runFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

// The re-armed 10 ms probe; collects each firing's lateness in microseconds.
class Probe : public QObject
{
public:
    Probe()
    {
        timer_.setSingleShot(true);
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(ProbeIntervalMs);
        connect(&timer_, &QTimer::timeout, this, [this] {
            // A timer that fires a hair early counts as on time.
            latenessUs_.push_back(std::max<qint64>(0, armed_.nsecsElapsed() / 1000 - ProbeIntervalMs * 1000));
            arm();
        });
    }
    void start() { arm(); }
    void stop() { timer_.stop(); }
    std::vector<qint64> &latenessUs() { return latenessUs_; }

private:
    void arm()
    {
        armed_.start();
        timer_.start();
    }

    QTimer timer_;
    QElapsedTimer armed_;
    std::vector<qint64> latenessUs_;
};

// Nearest-rank percentile of sorted values.
qint64 percentile(const std::vector<qint64> &sorted, double p)
{
    const size_t rank = size_t(std::ceil(p / 100.0 * double(sorted.size())));
    return sorted[std::clamp<size_t>(rank, 1, sorted.size()) - 1];
}

// Whether some other open file description holds an exclusive flock on path: the tool
// locks its port that way, so this tells that the tool really has it open.
bool heldByTool(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
    ::close(fd);
    return held;
}

// A pseudo-terminal nobody writes to, linked as COM1, for machines without /dev/ttyS0.
QString linkSilentPty()
{
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0)
        fail(QStringLiteral("no pseudo-terminal"));
    const QString slave = QString::fromLocal8Bit(ptsname(master));
    const QString link = portnames::userPortsFolder() + QStringLiteral("COM1");
    QDir().mkpath(portnames::userPortsFolder());
    if (!QFile::link(slave, link))
        fail(QStringLiteral("cannot link %1").arg(link));
    return slave;   // the master stays open until the process ends
}

// One state in this process; prints "result <state> <median> <p95> <p99> <worst> <samples>"
// in microseconds, and for state 4 "cpu <percent> <KiB>", then a note line.
int runState(int state, int seconds)
{
    SimulatorProcess::useTemporaryDataHome();
    SimulatorProcess sim;   // declared before the tool: the tool lets go of the port first
    QString portPath;
    QString note;

    if (state == 1) {
        if (QFileInfo::exists(QStringLiteral("/dev/COM1")))
            fail(QStringLiteral("/dev/COM1 exists, COM1 would not fall back to /dev/ttyS0"));
        if (QFileInfo::exists(QStringLiteral("/dev/ttyS0"))) {
            portPath = QStringLiteral("/dev/ttyS0");
            if (heldByTool(portPath))
                fail(QStringLiteral("/dev/ttyS0 is held by another process"));
            note = QStringLiteral("COM1 -> /dev/ttyS0 (no hardware behind it)");
        } else {
            portPath = linkSilentPty();
            note = QStringLiteral("no /dev/ttyS0 here: COM1 -> a silent pseudo-terminal");
        }
    } else {
        const QString rate = state == 3 ? QStringLiteral("2") : state == 4 ? QStringLiteral("31") : QStringLiteral("0");
        QStringList args {QStringLiteral("--variant"), QStringLiteral("17"), QStringLiteral("--rate"), rate};
        if (state == 4)
            args << QStringLiteral("--paced");
        if (!sim.start(args))
            fail(QStringLiteral("the simulator %1 did not start").arg(SimulatorProcess::program()));
        if (state == 5 && !sim.commandOk(QStringLiteral("config-mute on")))
            fail(QStringLiteral("the simulator did not take config-mute"));
        portPath = sim.slavePath();
        note = QStringLiteral("simulator --variant 17 --rate %1%2").arg(rate, state == 4 ? QStringLiteral(" --paced") : QString());
    }

    FuseApplication fuse;
    fuse.show();
    runFor(WarmUpMs);   // the first tick opens COM1
    if (!heldByTool(portPath))
        fail(QStringLiteral("the main window did not open COM1 (%1)").arg(portPath));

    QPushButton *readButton = nullptr;
    QLabel *statusLine = nullptr;
    if (state == 5) {
        auto *configure = fuse.Form1->findChild<QPushButton *>(QStringLiteral("Button1"));
        if (!configure)
            fail(QStringLiteral("main window without Button1"));
        configure->click();
        QWidget *dialog = fuse.parameter_rovo.get();
        // A telegram that is arriving is read to its end first.
        for (int waited = 0; !dialog->isVisible() && waited < 500; waited += 10)
            runFor(10);
        readButton = dialog->findChild<QPushButton *>(QStringLiteral("Button1"));
        statusLine = dialog->findChild<QLabel *>(QStringLiteral("status"));
        if (!dialog->isVisible() || !readButton || !statusLine)
            fail(QStringLiteral("the single-port dialog did not open with Button1 and status"));
        sim.receivedRequests();   // from here on, count the read requests
    }

    Probe probe;
    probe.start();
    QTimer reclick;   // a failure text on the status line ends a series: start the next one
    if (state == 5) {
        QTimer::singleShot(0, readButton, &QPushButton::click);
        QObject::connect(&reclick, &QTimer::timeout, readButton, [&] {
            if (!statusLine->isHidden() && !statusLine->text().isEmpty())
                readButton->click();
        });
        reclick.start(100);
    }
    runFor(seconds * 1000);
    probe.stop();
    reclick.stop();

    std::vector<qint64> &lateness = probe.latenessUs();
    if (lateness.empty())
        fail(QStringLiteral("the probe never fired"));
    std::sort(lateness.begin(), lateness.end());
    std::printf("result %d %lld %lld %lld %lld %zu\n", state, percentile(lateness, 50), percentile(lateness, 95),
                percentile(lateness, 99), lateness.back(), lateness.size());

    if (state == 4) {
        // Without the probe, which would add its own 100 wake-ups a second.
        const double cpu0 = cpuSeconds();
        QElapsedTimer wall;
        wall.start();
        runFor(seconds * 1000);
        const double share = 100.0 * (cpuSeconds() - cpu0) / (double(wall.nsecsElapsed()) / 1e9);
        std::printf("cpu %.2f %lld\n", share, residentKiB());
        const QStringList count = sim.command(QStringLiteral("count"));   // "telegrams <n>", "ok"
        if (count.size() == 2)
            note += QStringLiteral("; %1 status telegrams sent").arg(count.first().section(QLatin1Char(' '), 1));
    }
    if (state == 5)
        note += QStringLiteral("; %1 read requests on the line").arg(sim.receivedRequests().size());
    std::printf("note %d %s\n", state, qPrintable(note));
    std::fflush(stdout);
    return 0;
}

QString ms(qint64 us)
{
    return QString::number(double(us) / 1000.0, 'f', 1);
}

// Runs each state in a child process and prints the table.
int runAll(const QString &self, int seconds)
{
    QTextStream out(stdout);
    out << "User-interface thread: lateness of a 10 ms probe timer, " << seconds << " s per state, QT_QPA_PLATFORM="
        << qEnvironmentVariable("QT_QPA_PLATFORM") << "\n\n";
    out << QStringLiteral("%1 %2 %3 %4 %5 %6\n")
               .arg(QStringLiteral("state"), -34)
               .arg(QStringLiteral("median"), 8)
               .arg(QStringLiteral("p95"), 8)
               .arg(QStringLiteral("p99"), 8)
               .arg(QStringLiteral("worst"), 8)
               .arg(QStringLiteral("events"), 7);
    out.flush();
    QStringList notes;
    QString cpuLine;
    int status = 0;
    for (int state = 1; state <= StateCount; ++state) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(self, {QStringLiteral("--state"), QString::number(state), QStringLiteral("--seconds"),
                           QString::number(seconds)});
        child.waitForFinished(-1);
        bool printed = false;
        for (const QByteArray &line : child.readAllStandardOutput().split('\n')) {
            const QList<QByteArray> f = line.split(' ');
            if (f.value(0) == "result" && f.size() == 7) {
                out << QStringLiteral("%1 %2 %3 %4 %5 %6\n")
                           .arg(QString::number(state) + QStringLiteral("  ") + QLatin1String(StateNames[state - 1]), -34)
                           .arg(ms(f[2].toLongLong()), 8)
                           .arg(ms(f[3].toLongLong()), 8)
                           .arg(ms(f[4].toLongLong()), 8)
                           .arg(ms(f[5].toLongLong()), 8)
                           .arg(QString::fromLatin1(f[6]), 7);
                printed = true;
            } else if (f.value(0) == "cpu" && f.size() == 3) {
                cpuLine = QStringLiteral("full line rate, without the probe: CPU %1 % of one core, resident %2 MiB")
                              .arg(QString::fromLatin1(f[1]))
                              .arg(double(f[2].toLongLong()) / 1024.0, 0, 'f', 1);
            } else if (f.value(0) == "note") {
                notes << QString::fromUtf8(line.mid(5));
            }
        }
        if (!printed || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0) {
            out << QStringLiteral("%1  %2: could not be measured\n").arg(state).arg(QLatin1String(StateNames[state - 1]));
            status = 2;
        }
        out.flush();
    }
    out << "(milliseconds; events = probe firings; target: p99 <= 16 ms, worst <= 50 ms)\n\n";
    if (!cpuLine.isEmpty())
        out << cpuLine << " (target: at most 1 %)\n";
    for (const QString &n : notes)
        out << n << "\n";
    return status;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int seconds = 10;
    int state = 0;
    bool usage = argc % 2 == 0;
    for (int i = 1; i + 1 < argc; i += 2) {
        const QByteArray option = argv[i];
        if (option == "--seconds")
            seconds = std::max(1, atoi(argv[i + 1]));
        else if (option == "--state")
            state = atoi(argv[i + 1]);
        else
            usage = true;
    }
    if (usage || state < 0 || state > StateCount) {
        std::fprintf(stderr, "usage: bench_ui_latency [--seconds N] [--state 1..%d]\n", StateCount);
        return 2;
    }
    if (state == 0) {
        QCoreApplication app(argc, argv);
        return runAll(QCoreApplication::applicationFilePath(), seconds);
    }
    QApplication app(argc, argv);
    return runState(state, seconds);
}
