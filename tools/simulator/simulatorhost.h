#pragma once

#include "modulesimulator.h"

#include <QByteArray>
#include <QString>
#include <deque>

// Puts a ModuleSimulator on a pseudo-terminal and runs it: links <userPortsFolder>/COMn to
// the slave side, paces the output like a 9600-baud line, answers requests and reads the
// control commands from stdin. Single-threaded: one ppoll() loop over the master, stdin
// and the signals SIGINT/SIGTERM.
class SimulatorHost
{
public:
    SimulatorHost(ModuleSimulator &sim, int portNumber, bool quitOnStdinEof);
    ~SimulatorHost();

    // Creates the pty and the link. False (with a message on stderr) when that fails.
    bool appear();
    // Closes the master and removes the link: the adapter is pulled.
    void vanish();
    // Runs until "quit", a signal or (with quitOnStdinEof) the end of stdin; returns the
    // exit code. Removes the link before returning.
    int run();

    QString readyLine() const;

private:
    enum class Kind { Status, Reply, Injected };
    struct Chunk
    {
        QByteArray bytes;
        int sent = 0;
        qint64 notBeforeNs = 0;
        qint64 pauseAfterPreviousNs = -1;   // resolved when the chunk before it ends
        bool paced = false;
        Kind kind = Kind::Injected;
    };

    qint64 now() const;
    void checkSlave(qint64 t);
    void readMaster(qint64 t);
    void maybeQueueStatus(qint64 t);
    void writeQueue(qint64 t);
    qint64 nextWakeNs(qint64 t) const;
    bool writeMaster(const char *data, int size);
    void handleStdin();
    void handleLine(const QByteArray &line);
    void print(const QString &line);
    bool replyQueued() const;

    ModuleSimulator &sim_;
    int portNumber_;
    bool quitOnStdinEof_;
    int master_ = -1;
    QString slavePath_;
    QString linkPath_;
    bool slaveOpen_ = false;
    bool stdinOpen_ = true;
    bool quit_ = false;
    QByteArray stdinBuffer_;

    std::deque<Chunk> queue_;
    qint64 lineFreeAtNs_ = 0;
    qint64 nextStatusAtNs_ = 0;
    qint64 statusHoldUntilNs_ = 0;
    qint64 setUpHoldUntilNs_ = 0;   // after an open, until the opener flushes its input
    qint64 lastSlaveCheckNs_ = 0;
};
