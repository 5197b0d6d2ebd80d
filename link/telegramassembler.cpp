#include "telegramassembler.h"

#include "frame.h"
#include "modulevariant.h"

bool TelegramAssembler::baue_string(quint8 b)
{
    rxActivity = true;

    if (assemblyCount == 0) {
        telegramBuffer.clear();
        if (b == frame::StartByte) {
            telegramBuffer.append(char(b));
            assemblyCount = 1;
        }
        return false;
    }
    if (assemblyCount == 1) {
        if (variantFromTypeByte(b)) {
            telegramBuffer.append(char(b));
            assemblyCount = 2;
        } else {
            telegramBuffer.clear();
            assemblyCount = 0;
        }
        return false;
    }
    if (assemblyCount >= MaxFrame) {
        // Full without an end pair: this byte is dropped, not taken as a start byte.
        telegramBuffer.clear();
        assemblyCount = 0;
        return false;
    }

    telegramBuffer.append(char(b));
    ++assemblyCount;
    const bool endPair = (b == frame::EndByteA || b == frame::EndByteB)
        && quint8(telegramBuffer.at(telegramBuffer.size() - 2)) == frame::StartByte;
    if (endPair)
        assemblyCount = 0;
    return endPair;
}
