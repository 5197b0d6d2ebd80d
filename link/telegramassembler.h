#pragma once

#include <QByteArray>

// Recognises complete frames in the byte stream of the main window's port:
// start byte, a valid type byte, then everything up to the end pair 0xE4 0x16/0x18,
// at most 50 bytes. There is no byte stuffing, so a payload 0xE4 0x16 ends a frame early;
// the decoder rejects such a frame.
class TelegramAssembler
{
public:
    static constexpr int MaxFrame = 50;

    // Feeds one byte; true when it completed a frame, which telegramBuffer then holds
    // until the next call.
    bool baue_string(quint8 b);

    QByteArray telegramBuffer;   // the frame being assembled, start byte first
    int assemblyCount = 0;       // bytes held; 0 = hunting for a start byte
    bool rxActivity = false;     // set for every byte; cleared by the display watchdog
};
