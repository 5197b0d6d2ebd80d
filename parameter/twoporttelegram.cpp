#include "parameter/twoporttelegram.h"

#include "config/configbytes.h"
#include "config/configtelegram.h"
#include "link/frame.h"

namespace twoporttelegram {

using configbytes::byteAt;

std::optional<QByteArray> writeTelegram(const TwoPortConfig &config)
{
    if (!config.isComplete())
        return std::nullopt;
    QByteArray fields;
    fields.append(char(config.channelByte12()));
    fields.append(char(config.channelByte34()));
    fields.append(char(config.powerGoodCode()));
    fields.append(char(config.port1Byte1()));
    fields.append(char(config.port1Byte2()));
    fields.append(char(config.port2Byte1()));
    fields.append(char(config.port2Byte2()));
    fields.append(char(config.tripTimeByte12()));
    fields.append(char(config.tripTimeByte34()));
    return configtelegram::writeTelegram(fields);
}

ReplyVerdict checkReply(const QByteArray &reply)
{
    if (reply.size() < ReplyMinLength)
        return ReplyVerdict::TooShort;
    if (byteAt(reply, 0) != frame::StartByte)
        return ReplyVerdict::WrongStartByte;
    if (byteAt(reply, 1) != TypeByte)
        return ReplyVerdict::WrongType;
    return frame::checkByteMatches(reply, ReplyCheckOffset) ? ReplyVerdict::Accepted : ReplyVerdict::WrongCheckByte;
}

void enterReply(const QByteArray &reply, TwoPortConfig &config)
{
    if (reply.size() < ReplyMinLength)
        return;
    const int codes[twoport::ChannelCount] = {byteAt(reply, 2) & 0x0F, byteAt(reply, 2) >> 4, byteAt(reply, 3) & 0x0F,
                                              byteAt(reply, 3) >> 4};
    const int times[twoport::ChannelCount] = {byteAt(reply, 9) & 0x0F, byteAt(reply, 9) >> 4, byteAt(reply, 10) & 0x0F,
                                              byteAt(reply, 10) >> 4};
    for (int c = 0; c < twoport::ChannelCount; ++c)
        config.selectCurrent(c, codes[c]);
    for (int c = 0; c < twoport::ChannelCount; ++c)
        config.fillTripTimes(c, codes[c]);
    for (int c = 0; c < twoport::ChannelCount; ++c)
        config.selectTripTime(c, times[c]);
    config.selectPowerGood(byteAt(reply, 4) % 200);
    config.setPort1Byte1(byteAt(reply, 5));
    config.setPort1Byte2(byteAt(reply, 6), false);
    config.setPort2Byte1(byteAt(reply, 7));
    config.setPort2Byte2(byteAt(reply, 8));
}

} // namespace twoporttelegram
