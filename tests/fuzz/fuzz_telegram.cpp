// The byte stream of the main window's port through the assembler and the decoder.
#include "link/statustelegram.h"
#include "link/telegramassembler.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    TelegramAssembler assembler;
    for (size_t i = 0; i < size; ++i) {
        const bool complete = assembler.baue_string(data[i]);
        if (!assembler.takeActivity() || assembler.count() > TelegramAssembler::MaxFrame)
            abort();
        const QByteArray frame = assembler.takeFrame();
        if (complete != !frame.isEmpty())
            abort();
        if (!complete)
            continue;
        if (frame.size() < 4 || quint8(frame[0]) != 0xE4 || quint8(frame[frame.size() - 2]) != 0xE4)
            abort();
        const status::Decoded d = status::decode(frame);
        for (const QString &text : d.values) {
            // Every text is short and, unless empty, ends in its unit or is a rated current.
            if (text.size() > 9 || (d.outcome != status::Decoded::Valid && !text.isEmpty()))
                abort();
        }
    }
    return 0;
}
