#include "config/configtransaction.h"

#include "config/transactionline.h"

ConfigTransaction::ConfigTransaction()
    : ownLine_(std::make_unique<SerialTransactionLine>())
    , line_(*ownLine_)
{
}

ConfigTransaction::ConfigTransaction(TransactionLine &line)
    : line_(line)
{
}

ConfigTransaction::~ConfigTransaction() = default;

QByteArray ConfigTransaction::command(const QString &portDeviceName, const QByteArray &request)
{
    line_.open(portDeviceName);
    if (!request.isEmpty())
        line_.write(request, WriteTimeoutMs);
    // One read only: a reply that pauses longer than 80 ms is cut there.
    const QByteArray reply = line_.read(ReplyMaxBytes, ReplyGapMs, ReplyTotalMs);
    line_.close();
    return reply.left(ReplyMaxBytes);
}
