#include "parameter2/singleporttelegram.h"

#include "config/configbytes.h"
#include "config/configtelegram.h"
#include "link/frame.h"

namespace singleporttelegram {

namespace {

constexpr quint16 TripTimeCodes[singleport::TripDelayItemCount] = {
    3, 19, 39, 79, 199, 399, 1999, 3999, 23999,
};

} // namespace

using configbytes::byteAt;

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
    QByteArray fields;
    fields.append(char(config.channelByte12()));
    fields.append(char(config.channelByte34()));
    fields.append(char(config.powerGoodCode()));
    fields.append(char(config.events));
    fields.append(char(config.signalMask2()));
    fields.append(char(code >> 8));
    fields.append(char(code & 0xFF));
    return configtelegram::writeTelegram(fields);
}

ReplyCheck checkReply(const QByteArray &reply)
{
    ReplyCheck check;
    if (reply.size() < ReplyMinLength) {
        check.verdict = ReplyVerdict::TooShort;
        return check;
    }
    if (byteAt(reply, 0) != frame::StartByte) {
        check.verdict = ReplyVerdict::WrongStartByte;
        return check;
    }
    const auto variant = variantFromTypeByte(byteAt(reply, 1));
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
    config.selectCurrent(0, byteAt(reply, 2) & 0x0F);
    config.selectCurrent(1, byteAt(reply, 2) >> 4);
    config.selectCurrent(2, byteAt(reply, 3) & 0x0F);
    config.selectCurrent(3, byteAt(reply, 3) >> 4);
    config.selectPowerGood(byteAt(reply, 4) % 200);
    config.events = byteAt(reply, 5);
    config.setSignalMask2(byteAt(reply, 6), false);
    config.selectTripDelay(tripDelayIndex(quint16(byteAt(reply, 7) << 8 | byteAt(reply, 8))));
}

} // namespace singleporttelegram
