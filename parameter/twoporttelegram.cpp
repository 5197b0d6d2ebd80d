#include "parameter/twoporttelegram.h"

#include "link/frame.h"

namespace twoporttelegram {

namespace {

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

std::optional<QByteArray> writeTelegram(const TwoPortConfig &config)
{
    if (!config.isComplete())
        return std::nullopt;
    QByteArray t;
    t.reserve(WriteLength);
    t.append(char(RequestByte));
    t.append(char(WriteCommand));
    t.append(char(config.channelByte12()));
    t.append(char(config.channelByte34()));
    t.append(char(config.powerGoodCode()));
    t.append(char(config.port1Byte1()));
    t.append(char(config.port1Byte2()));
    t.append(char(config.port2Byte1()));
    t.append(char(config.port2Byte2()));
    t.append(char(config.tripTimeByte12()));
    t.append(char(config.tripTimeByte34()));
    t.append(char(TrailerA));
    t.append(char(TrailerB));
    t.append(char(frame::checkByte(t, WriteCheckOffset)));
    return t;
}

bool isAcknowledged(const QByteArray &telegram, const QByteArray &reply)
{
    return telegram.size() == WriteLength && !reply.isEmpty() && reply.at(0) == telegram.at(WriteCheckOffset);
}

ReplyVerdict checkReply(const QByteArray &reply)
{
    if (reply.size() < ReplyMinLength)
        return ReplyVerdict::TooShort;
    if (at(reply, 0) != frame::StartByte)
        return ReplyVerdict::WrongStartByte;
    if (at(reply, 1) != TypeByte)
        return ReplyVerdict::WrongType;
    return frame::checkByteMatches(reply, ReplyCheckOffset) ? ReplyVerdict::Accepted : ReplyVerdict::WrongCheckByte;
}

void enterReply(const QByteArray &reply, TwoPortConfig &config)
{
    if (reply.size() < ReplyMinLength)
        return;
    const int codes[twoport::ChannelCount] = {at(reply, 2) & 0x0F, at(reply, 2) >> 4, at(reply, 3) & 0x0F,
                                              at(reply, 3) >> 4};
    const int times[twoport::ChannelCount] = {at(reply, 9) & 0x0F, at(reply, 9) >> 4, at(reply, 10) & 0x0F,
                                              at(reply, 10) >> 4};
    for (int c = 0; c < twoport::ChannelCount; ++c)
        config.setCurrent(c, codes[c]);
    for (int c = 0; c < twoport::ChannelCount; ++c)
        config.fillTripTimes(c, codes[c]);
    for (int c = 0; c < twoport::ChannelCount; ++c)
        config.selectTripTime(c, times[c]);
    config.selectPowerGood(at(reply, 4) % 200);
    config.setPort1Byte1(at(reply, 5));
    config.setPort1Byte2(at(reply, 6), false);
    config.setPort2Byte1(at(reply, 7));
    config.setPort2Byte2(at(reply, 8));
}

QString versionText(const QByteArray &reply)
{
    return QStringLiteral("SW: ") + QString::fromLatin1(reply.mid(VersionOffset, VersionLength));
}

} // namespace twoporttelegram
