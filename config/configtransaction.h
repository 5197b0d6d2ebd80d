#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class SerialLine;

// One request and one reply on a port opened for this exchange alone (the dialog's
// `command`): open exclusively at 9600 8N1, write the request in one call unless it is
// empty (30 ms for the bytes to leave), read once, close, then hand the reply over by
// replied(). Nothing waits: each step follows the one before from the event loop, and the
// whole exchange takes at most about 300 ms. Nothing is checked on the way: a port that
// cannot be opened (absent or held by another program) gives an empty reply, like a
// silent module.
class ConfigTransaction : public QObject
{
    Q_OBJECT
public:
    static constexpr int ReplyMaxBytes = 50;   // one read asks for this many bytes
    static constexpr int ReplyGapMs = 80;      // the read ends after a pause longer than this
    static constexpr int ReplyTotalMs = 260;   // ... or this long after it began
    static constexpr int WriteTimeoutMs = 30;

    // The line must outlive the transaction (the application owns it; tests pass a fake).
    explicit ConfigTransaction(SerialLine &line, QObject *parent = nullptr);

    // Starts one exchange; at most one is in flight (a new one aborts the old).
    void command(const QString &portDeviceName, const QByteArray &request);
    // Drops the exchange in flight: the port is closed now, nothing more is written and
    // replied() does not come.
    void abort();
    bool inFlight() const { return state_ != State::Idle; }

signals:
    // The bytes that arrived, in order; empty when none did or the port was unusable.
    void replied(const QByteArray &reply);

private:
    enum class State {
        Idle,      // no exchange, or the last one has replied or was aborted
        Writing,   // the request is leaving
        Reading,   // the one read of the reply
    };

    SerialLine &line_;
    State state_ = State::Idle;
};
