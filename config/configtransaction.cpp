#include "config/configtransaction.h"

#include "link/serialline.h"

ConfigTransaction::ConfigTransaction(QObject *parent)
    : QObject(parent)
    , ownLine_(std::make_unique<SerialLine>())
    , line_(*ownLine_)
{
    init();
}

ConfigTransaction::ConfigTransaction(SerialLine &line, QObject *parent)
    : QObject(parent)
    , line_(line)
{
    init();
}

ConfigTransaction::~ConfigTransaction() = default;

void ConfigTransaction::init()
{
    connect(&line_, &SerialLine::writeFinished, this, [this] {
        if (!inFlight_ || !writing_)
            return;
        writing_ = false;
        // One read only: a reply that pauses longer than 80 ms is cut there.
        line_.startRead(ReplyMaxBytes, ReplyGapMs, ReplyTotalMs);
    });
    connect(&line_, &SerialLine::readFinished, this, [this](const QByteArray &bytes) {
        if (!inFlight_ || writing_)
            return;
        inFlight_ = false;
        line_.close();
        emit replied(bytes.left(ReplyMaxBytes));
    });
}

void ConfigTransaction::command(const QString &portDeviceName, const QByteArray &request)
{
    abort();
    inFlight_ = true;
    line_.open(portDeviceName);
    if (request.isEmpty()) {
        line_.startRead(ReplyMaxBytes, ReplyGapMs, ReplyTotalMs);
        return;
    }
    writing_ = true;
    line_.write(request, WriteTimeoutMs);
}

void ConfigTransaction::abort()
{
    if (!inFlight_)
        return;
    inFlight_ = false;
    writing_ = false;
    line_.close();
}
