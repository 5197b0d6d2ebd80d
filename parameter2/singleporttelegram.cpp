#include "parameter2/singleporttelegram.h"

#include "link/frame.h"

namespace singleporttelegram {

namespace {

constexpr quint16 TripTimeCodes[singleport::TripDelayItemCount] = {
    3, 19, 39, 79, 199, 399, 1999, 3999, 23999,
};

quint8 at(const QByteArray &bytes, int offset)
{
    return static_cast<quint8>(bytes.at(offset));
}

} // namespace

QByteArray readRequest()
{
    const char request[] = {char(RequestByte), char(ReadCommand)};
    return QByteArray(request, sizeof request);
}

quint16 tripTimeCode(int tripDelayIndex)
{
    if (tripDelayIndex < 0 || tripDelayIndex >= singleport::TripDelayItemCount)
        return 0;
    return TripTimeCodes[tripDelayIndex];
}

int tripDelayIndex(quint16 code)
{
    const quint32 delayMs = (quint32(code) + 1) * 25;
    for (int i = 0; i < singleport::TripDelayItemCount; ++i) {
        if ((quint32(TripTimeCodes[i]) + 1) * 25 == delayMs)
            return i;
    }
    return singleport::FactoryTripDelayIndex;
}

std::optional<QByteArray> writeTelegram(const SinglePortConfig &config)
{
    if (!config.isComplete())
        return std::nullopt;
    const quint16 code = tripTimeCode(config.tripDelay);
    QByteArray t;
    t.reserve(WriteLength);
    t.append(char(RequestByte));
    t.append(char(WriteCommand));
    t.append(char(config.channelByte12()));
    t.append(char(config.channelByte34()));
    t.append(char(config.powerGoodCode()));
    t.append(char(config.events));
    t.append(char(config.signalMask2()));
    t.append(char(code >> 8));
    t.append(char(code & 0xFF));
    t.append(char(TrailerA));
    t.append(char(TrailerB));
    t.append(char(frame::checkByte(t, WriteCheckOffset)));
    return t;
}

bool isAcknowledged(const QByteArray &telegram, const QByteArray &reply)
{
    return telegram.size() == WriteLength && !reply.isEmpty() && reply.at(0) == telegram.at(WriteCheckOffset);
}

ReplyCheck checkReply(const QByteArray &reply)
{
    ReplyCheck check;
    if (reply.size() < ReplyMinLength) {
        check.verdict = ReplyVerdict::TooShort;
        return check;
    }
    if (at(reply, 0) != frame::StartByte) {
        check.verdict = ReplyVerdict::WrongStartByte;
        return check;
    }
    const auto variant = variantFromTypeByte(at(reply, 1));
    if (!variant || *variant == ModuleVariant::FourChannelTwoPort) {
        check.verdict = ReplyVerdict::WrongType;
        return check;
    }
    check.variant = variant;
    check.verdict = frame::checkByteMatches(reply, ReplyCheckOffset) ? ReplyVerdict::Accepted
                                                                     : ReplyVerdict::WrongCheckByte;
    return check;
}

void enterReply(const QByteArray &reply, SinglePortConfig &config)
{
    if (reply.size() < ReplyMinLength)
        return;
    config.selectChannel(0, at(reply, 2) & 0x0F);
    config.selectChannel(1, at(reply, 2) >> 4);
    config.selectChannel(2, at(reply, 3) & 0x0F);
    config.selectChannel(3, at(reply, 3) >> 4);
    config.selectPowerGood(at(reply, 4) % 200);
    config.events = at(reply, 5);
    config.setSignalMask2(at(reply, 6), false);
    config.selectTripDelay(tripDelayIndex(quint16(at(reply, 7) << 8 | at(reply, 8))));
}

QString versionText(const QByteArray &reply)
{
    return QStringLiteral("SW: ") + QString::fromLatin1(reply.mid(VersionOffset, VersionLength));
}

} // namespace singleporttelegram
