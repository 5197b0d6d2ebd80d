#include "telegramassembler.h"

#include "frame.h"
#include "modulevariant.h"

#include <utility>

bool TelegramAssembler::baue_string(quint8 b)
{
    rxActivity_ = true;
    complete_ = false;

    if (assemblyCount_ == 0) {
        telegramBuffer_.clear();
        if (b == frame::StartByte) {
            telegramBuffer_.append(char(b));
            assemblyCount_ = 1;
        }
        return false;
    }
    if (assemblyCount_ == 1) {
        if (variantFromTypeByte(b)) {
            telegramBuffer_.append(char(b));
            assemblyCount_ = 2;
        } else {
            telegramBuffer_.clear();
            assemblyCount_ = 0;
        }
        return false;
    }
    if (assemblyCount_ >= MaxFrame) {
        // Full without an end pair: this byte is dropped, not taken as a start byte.
        telegramBuffer_.clear();
        assemblyCount_ = 0;
        return false;
    }

    telegramBuffer_.append(char(b));
    ++assemblyCount_;
    complete_ = (b == frame::EndByteA || b == frame::EndByteB)
        && quint8(telegramBuffer_.at(telegramBuffer_.size() - 2)) == frame::StartByte;
    if (complete_)
        assemblyCount_ = 0;
    return complete_;
}

QByteArray TelegramAssembler::takeFrame()
{
    if (!std::exchange(complete_, false))
        return {};
    return std::exchange(telegramBuffer_, {});
}

bool TelegramAssembler::takeActivity()
{
    return std::exchange(rxActivity_, false);
}
