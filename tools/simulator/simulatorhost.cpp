#include "simulatorhost.h"

#include "link/portnames.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

namespace {

constexpr qint64 Ms = 1000000;
const qint64 ByteNs = qint64(ModuleSimulator::ByteMs * Ms);
// After the tool opens the port it sets its line settings; nothing is written before.
constexpr qint64 OpenSettleNs = 30 * Ms;
// Status telegrams must never land in the tool's read of an answer: a two-port status
// telegram has the very shape of a configuration reply. Time alone cannot promise that on a
// busy machine (the tool may start its 260 ms read well after its request), so they wait
// after a request until the port is closed again (the tool's exchange ends so), at most this
// long for an opener that keeps the port ...
constexpr qint64 RequestHoldNs = 2000 * Ms;
// ... and this long after the last byte of an answer, longer than the tool's 80 ms gap ...
constexpr qint64 AnswerHoldNs = 150 * Ms;
// ... and after an open until the opener has cleared its input (the pty reports the flush):
// the tool does so once its line is set up, just before its request. Opening can take
// hundreds of milliseconds (Qt syncs a lock file to disk), and the kernel may still hand the
// opener a telegram sent before its flush. An opener that never flushes (a terminal program)
// waits this long, with room to spare for the lock file's sync on a disk busy with a
// build's writes (measured up to 0.4 s; a wait of 1 s was not always enough) ...
constexpr qint64 OpenSetUpHoldNs = 5000 * Ms;
// ... and after the flush this long, a whole read of the tool's.
constexpr qint64 FlushStatusHoldNs = 300 * Ms;
// While nobody has the slave open, look for an opener this often.
constexpr qint64 SlaveCheckNs = 5 * Ms;
constexpr qint64 IdleWakeNs = 50 * Ms;

volatile sig_atomic_t stopSignal = 0;

void onStopSignal(int)
{
    stopSignal = 1;
}

void makeRaw(int fd)
{
    termios t{};
    if (::tcgetattr(fd, &t) != 0)
        return;
    ::cfmakeraw(&t);
    ::cfsetispeed(&t, B9600);
    ::cfsetospeed(&t, B9600);
    ::tcsetattr(fd, TCSANOW, &t);
}

} // namespace

SimulatorHost::SimulatorHost(ModuleSimulator &sim, int portNumber, bool quitOnStdinEof)
    : sim_(sim), portNumber_(portNumber), quitOnStdinEof_(quitOnStdinEof)
{
    // SIGINT, SIGTERM and SIGHUP end the loop cleanly. They stay blocked except inside
    // ppoll(), so none is lost between the loop's test and its wait.
    sigset_t stopSet;
    sigemptyset(&stopSet);
    sigaddset(&stopSet, SIGINT);
    sigaddset(&stopSet, SIGTERM);
    sigaddset(&stopSet, SIGHUP);
    ::sigprocmask(SIG_BLOCK, &stopSet, nullptr);
    struct sigaction sa{};
    sa.sa_handler = onStopSignal;
    sigemptyset(&sa.sa_mask);
    ::sigaction(SIGINT, &sa, nullptr);
    ::sigaction(SIGTERM, &sa, nullptr);
    ::sigaction(SIGHUP, &sa, nullptr);
    ::signal(SIGPIPE, SIG_IGN);
}

SimulatorHost::~SimulatorHost()
{
    vanish();
}

qint64 SimulatorHost::now() const
{
    timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return qint64(ts.tv_sec) * 1000 * Ms + ts.tv_nsec;
}

QString SimulatorHost::readyLine() const
{
    return QStringLiteral("ready %1 %2").arg(slavePath_, linkPath_);
}

bool SimulatorHost::appear()
{
    const int fd = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    int packetMode = 1;   // the opener's flushes show on the master
    if (fd < 0 || ::grantpt(fd) != 0 || ::unlockpt(fd) != 0 || ::ioctl(fd, TIOCPKT, &packetMode) != 0) {
        std::fprintf(stderr, "fuse-simulator: no pseudo-terminal: %s\n", std::strerror(errno));
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    const char *name = ::ptsname(fd);
    if (!name) {
        ::close(fd);
        return false;
    }
    slavePath_ = QString::fromLocal8Bit(name);
    makeRaw(fd);
    // The slave starts raw as well, so that an opener that sets nothing gets the bytes
    // unchanged and nothing is echoed before it has set its line.
    const int slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave >= 0) {
        makeRaw(slave);
        ::close(slave);
    }
    master_ = fd;

    const QString folder = portnames::userPortsFolder();
    QDir().mkpath(folder);
    linkPath_ = folder + QStringLiteral("COM%1").arg(portNumber_);
    const QByteArray link = QFile::encodeName(linkPath_);
    ::unlink(link.constData());
    if (::symlink(name, link.constData()) != 0) {
        std::fprintf(stderr, "fuse-simulator: cannot link %s: %s\n", link.constData(), std::strerror(errno));
        ::close(master_);
        master_ = -1;
        return false;
    }
    slaveOpen_ = false;
    return true;
}

void SimulatorHost::vanish()
{
    if (master_ < 0)
        return;
    ::close(master_);
    master_ = -1;
    ::unlink(QFile::encodeName(linkPath_).constData());
    slaveOpen_ = false;
    queue_.clear();
    sim_.lineClosed();
}

void SimulatorHost::print(const QString &line)
{
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

bool SimulatorHost::replyQueued() const
{
    return std::any_of(queue_.begin(), queue_.end(), [](const Chunk &c) { return c.kind == Kind::Reply; });
}

void SimulatorHost::checkSlave(qint64 t)
{
    if (master_ < 0) {
        slaveOpen_ = false;
        return;
    }
    if (!slaveOpen_ && t - lastSlaveCheckNs_ < SlaveCheckNs)
        return;
    lastSlaveCheckNs_ = t;
    pollfd p{master_, POLLIN, 0};
    ::poll(&p, 1, 0);
    const bool open = !(p.revents & POLLHUP);
    if (open == slaveOpen_)
        return;
    slaveOpen_ = open;
    if (open) {
        lineFreeAtNs_ = std::max(lineFreeAtNs_, t + OpenSettleNs);
        statusHoldUntilNs_ = 0;
        setUpHoldUntilNs_ = t + OpenSetUpHoldNs;
        return;
    }
    // What the opener sent or flushed before it closed is its own, not the next opener's.
    readMaster(t);
    statusHoldUntilNs_ = 0;
    setUpHoldUntilNs_ = 0;
    // A real line has no memory: what was on its way is lost, and a pty would keep it
    // for the next opener. Bytes injected by command and not yet begun wait.
    std::deque<Chunk> kept;
    for (Chunk &c : queue_) {
        if (c.kind == Kind::Injected && c.sent == 0)
            kept.push_back(std::move(c));
    }
    queue_.swap(kept);
    sim_.lineClosed();
}

void SimulatorHost::readMaster(qint64 t)
{
    char buffer[512];
    QByteArray bytes;
    for (;;) {
        // In packet mode each read is one control byte, or TIOCPKT_DATA and the data.
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n > 0) {
            if (buffer[0] == TIOCPKT_DATA) {
                bytes.append(buffer + 1, int(n - 1));
            } else if (buffer[0] & TIOCPKT_FLUSHREAD) {
                setUpHoldUntilNs_ = 0;
                statusHoldUntilNs_ = std::max(statusHoldUntilNs_, t + FlushStatusHoldNs);
            }
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break;
    }
    if (bytes.isEmpty())
        return;
    const QList<ModuleSimulator::Answer> answers = sim_.receive(bytes, t / Ms);
    for (const ModuleSimulator::Answer &a : answers) {
        statusHoldUntilNs_ = std::max(statusHoldUntilNs_, t + RequestHoldNs);
        bool first = true;
        for (const ModuleSimulator::Piece &p : a.pieces) {
            Chunk c;
            c.bytes = p.bytes;
            c.kind = Kind::Reply;
            c.paced = sim_.paced();
            if (first)
                c.notBeforeNs = t + p.pauseMs * Ms;
            else
                c.pauseAfterPreviousNs = p.pauseMs * Ms;
            first = false;
            queue_.push_back(c);
        }
    }
}

void SimulatorHost::maybeQueueStatus(qint64 t)
{
    if (!slaveOpen_ || !sim_.sending() || sim_.rate() <= 0)
        return;
    if (!queue_.empty() || lineFreeAtNs_ > t || t < statusHoldUntilNs_ || t < setUpHoldUntilNs_
        || t < nextStatusAtNs_)
        return;
    if (sim_.requestInProgress(t / Ms))
        return;
    Chunk c;
    c.bytes = sim_.nextStatusTelegram();
    c.kind = Kind::Status;
    c.paced = sim_.paced();
    c.notBeforeNs = t;
    queue_.push_back(c);
    const qint64 period = qint64(sim_.periodMs() * Ms);
    nextStatusAtNs_ += period;
    if (nextStatusAtNs_ < t)
        nextStatusAtNs_ = t + period;
}

bool SimulatorHost::writeMaster(const char *data, int size)
{
    while (size > 0) {
        const ssize_t n = ::write(master_, data, size_t(size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;   // full (nobody reads) or gone: the rest is lost, as on a line
        data += n;
        size -= int(n);
    }
    return true;
}

void SimulatorHost::writeQueue(qint64 t)
{
    while (slaveOpen_ && !queue_.empty()) {
        Chunk &c = queue_.front();
        if (t < c.notBeforeNs || t < lineFreeAtNs_)
            return;
        const qint64 start = std::max(t, lineFreeAtNs_);
        if (c.paced) {
            writeMaster(c.bytes.constData() + c.sent, 1);
            c.sent += 1;
            lineFreeAtNs_ = start + ByteNs;
        } else {
            const int rest = int(c.bytes.size()) - c.sent;
            writeMaster(c.bytes.constData() + c.sent, rest);
            c.sent += rest;
            lineFreeAtNs_ = start + rest * ByteNs;
        }
        if (c.sent < c.bytes.size())
            return;   // paced: the next character when the line is free
        const Kind kind = c.kind;
        queue_.pop_front();
        if (kind == Kind::Reply)
            statusHoldUntilNs_ = std::max(statusHoldUntilNs_, lineFreeAtNs_ + AnswerHoldNs);
        if (!queue_.empty() && queue_.front().pauseAfterPreviousNs >= 0) {
            queue_.front().notBeforeNs = lineFreeAtNs_ + queue_.front().pauseAfterPreviousNs;
            queue_.front().pauseAfterPreviousNs = -1;
        }
    }
}

qint64 SimulatorHost::nextWakeNs(qint64 t) const
{
    qint64 wake = t + IdleWakeNs;
    if (master_ >= 0 && !slaveOpen_)
        wake = std::min(wake, lastSlaveCheckNs_ + SlaveCheckNs);
    if (slaveOpen_) {
        if (!queue_.empty()) {
            wake = std::min(wake, std::max(queue_.front().notBeforeNs, lineFreeAtNs_));
        } else if (sim_.sending() && sim_.rate() > 0) {
            qint64 w = std::max({nextStatusAtNs_, lineFreeAtNs_, statusHoldUntilNs_, setUpHoldUntilNs_});
            if (sim_.requestInProgress(t / Ms))
                w = std::max(w, t + SlaveCheckNs);
            wake = std::min(wake, w);
        }
    }
    return std::max(wake, t);
}

void SimulatorHost::handleStdin()
{
    char buffer[4096];
    const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (n < 0) {
        if (errno != EINTR && errno != EAGAIN)
            stdinOpen_ = false;
    } else if (n == 0) {
        stdinOpen_ = false;
    } else {
        stdinBuffer_.append(buffer, int(n));
    }
    int end;
    while ((end = stdinBuffer_.indexOf('\n')) >= 0) {
        const QByteArray line = stdinBuffer_.left(end).trimmed();
        stdinBuffer_.remove(0, end + 1);
        if (!line.isEmpty())
            handleLine(line);
        if (quit_)
            return;
    }
    if (!stdinOpen_ && quitOnStdinEof_)
        quit_ = true;
}

void SimulatorHost::handleLine(const QByteArray &line)
{
    const ModuleSimulator::CommandOutcome out = sim_.command(QString::fromUtf8(line));
    QStringList lines = out.lines;
    QString error = out.error;
    const qint64 t = now();
    switch (out.effect) {
    case ModuleSimulator::CommandOutcome::NoEffect:
        break;
    case ModuleSimulator::CommandOutcome::Quit:
        quit_ = true;
        break;
    case ModuleSimulator::CommandOutcome::Vanish:
        vanish();
        break;
    case ModuleSimulator::CommandOutcome::Appear:
        if (master_ >= 0)
            error = QStringLiteral("the port is there already");
        else if (appear())
            lines << readyLine();
        else
            error = QStringLiteral("cannot create the port");
        break;
    case ModuleSimulator::CommandOutcome::Send: {
        Chunk c;
        c.bytes = out.bytes;
        c.paced = out.paced || sim_.paced();
        c.kind = Kind::Injected;
        c.notBeforeNs = t;
        queue_.push_back(c);
        break;
    }
    }
    // A new rate or the end of a silence takes effect at once.
    if (error.isEmpty() && (line.startsWith("rate") || line.startsWith("resume")))
        nextStatusAtNs_ = t;
    for (const QString &l : lines)
        print(l);
    print(error.isEmpty() ? QStringLiteral("ok") : QStringLiteral("error ") + error);
}

int SimulatorHost::run()
{
    sigset_t waitSet;
    ::sigprocmask(SIG_BLOCK, nullptr, &waitSet);
    sigdelset(&waitSet, SIGINT);
    sigdelset(&waitSet, SIGTERM);
    sigdelset(&waitSet, SIGHUP);

    const int stdinFlags = ::fcntl(STDIN_FILENO, F_GETFL);
    if (stdinFlags >= 0)
        ::fcntl(STDIN_FILENO, F_SETFL, stdinFlags | O_NONBLOCK);

    while (!quit_ && !stopSignal) {
        qint64 t = now();
        checkSlave(t);
        if (slaveOpen_)
            readMaster(t);
        maybeQueueStatus(t);
        writeQueue(t);

        pollfd fds[2];
        nfds_t count = 0;
        int stdinIndex = -1;
        if (stdinOpen_) {
            stdinIndex = int(count);
            fds[count++] = pollfd{STDIN_FILENO, POLLIN, 0};
        }
        if (slaveOpen_)
            fds[count++] = pollfd{master_, POLLIN, 0};
        const qint64 wait = nextWakeNs(t) - now();
        timespec ts{};
        if (wait > 0) {
            ts.tv_sec = time_t(wait / (1000 * Ms));
            ts.tv_nsec = long(wait % (1000 * Ms));
        }
        const int ready = ::ppoll(fds, count, &ts, &waitSet);
        if (ready > 0 && stdinIndex >= 0 && fds[stdinIndex].revents)
            handleStdin();
    }
    vanish();
    if (stdinFlags >= 0)
        ::fcntl(STDIN_FILENO, F_SETFL, stdinFlags);
    return 0;
}
