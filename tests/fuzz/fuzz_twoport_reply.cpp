// The two-port module's reply to the read request, as the dialog takes it.
#include "config/configtelegram.h"
#include "parameter/twoporttelegram.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray reply(reinterpret_cast<const char *>(data), int(size));
    if (twoporttelegram::checkReply(reply) != twoporttelegram::ReplyVerdict::Accepted)
        return 0;
    TwoPortConfig config;
    twoporttelegram::enterReply(reply, config);
    if (!configtelegram::versionText(reply, twoporttelegram::VersionOffset).startsWith(QLatin1String("SW: ")))
        abort();
    // What was read can be written back unless a list was left without a selection.
    if (const auto telegram = twoporttelegram::writeTelegram(config)) {
        if (telegram->size() != 14)
            abort();
    }
    return 0;
}
