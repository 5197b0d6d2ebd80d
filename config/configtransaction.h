#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

class TransactionLine;

// One request and one reply on a port opened for this exchange alone (the dialog's
// `command`): open exclusively at 9600 8N1, write the request in one call unless it is
// empty, read once, close. Nothing is checked on the way: a port that cannot be opened
// (absent or held by another program) gives an empty reply, like a silent module. The
// caller waits at most about 300 ms.
class ConfigTransaction
{
public:
    static constexpr int ReplyMaxBytes = 50;   // one read asks for this many bytes
    static constexpr int ReplyGapMs = 80;      // the read ends after a pause longer than this
    static constexpr int ReplyTotalMs = 260;   // ... or this long after it began
    static constexpr int WriteTimeoutMs = 30;

    // Uses a serial line of its own.
    ConfigTransaction();
    // Uses the given line, which must outlive the transaction (tests pass a fake).
    explicit ConfigTransaction(TransactionLine &line);
    ~ConfigTransaction();

    ConfigTransaction(const ConfigTransaction &) = delete;
    ConfigTransaction &operator=(const ConfigTransaction &) = delete;

    // The bytes that arrived, in order; empty when none did or the port was unusable.
    QByteArray command(const QString &portDeviceName, const QByteArray &request);

private:
    std::unique_ptr<TransactionLine> ownLine_;
    TransactionLine &line_;
};
