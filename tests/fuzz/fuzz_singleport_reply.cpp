// A single-port module's reply to the read request, as the dialog takes it.
#include "config/configtelegram.h"
#include "parameter2/singleporttelegram.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray reply(reinterpret_cast<const char *>(data), int(size));
    const auto check = singleporttelegram::checkReply(reply);
    if (!check.accepted())
        return 0;
    SinglePortConfig config;
    singleporttelegram::enterReply(reply, config);
    if (!configtelegram::versionText(reply, singleporttelegram::VersionOffset).startsWith(QLatin1String("SW: ")))
        abort();
    // What was read can be written back unless a list was left without a selection.
    if (const auto telegram = singleporttelegram::writeTelegram(config)) {
        if (telegram->size() != singleporttelegram::WriteLength)
            abort();
    }
    return 0;
}
