#include "config/configtransaction.h"

#include "link/serialline.h"

ConfigTransaction::ConfigTransaction(SerialLine &line, QObject *parent)
    : QObject(parent)
    , line_(line)
{
    connect(&line_, &SerialLine::writeFinished, this, [this] {
        if (state_ != State::Writing)
            return;
        // One read only: a reply that pauses longer than 80 ms is cut there.
        state_ = State::Reading;
        line_.startRead(ReplyMaxBytes, ReplyGapMs, ReplyTotalMs);
    });
    connect(&line_, &SerialLine::readFinished, this, [this](const QByteArray &bytes) {
        if (state_ != State::Reading)
            return;
        state_ = State::Idle;
        line_.close();
        emit replied(bytes.left(ReplyMaxBytes));
    });
}

void ConfigTransaction::command(const QString &portDeviceName, const QByteArray &request)
{
    abort();
    line_.open(portDeviceName);
    if (request.isEmpty()) {
        state_ = State::Reading;
        line_.startRead(ReplyMaxBytes, ReplyGapMs, ReplyTotalMs);
        return;
    }
    state_ = State::Writing;
    line_.write(request, WriteTimeoutMs);
}

void ConfigTransaction::abort()
{
    if (state_ == State::Idle)
        return;
    state_ = State::Idle;
    line_.close();
}
