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

    // Feeds one byte; true when it completed a frame, which takeFrame() then hands over
    // (until the next byte comes).
    bool baue_string(quint8 b);
    // The frame the last byte completed, start byte first; empty when it completed none.
    QByteArray takeFrame();
    // Bytes held of the frame being assembled; 0 while hunting for a start byte.
    int count() const { return assemblyCount_; }
    // Whether any byte came since the last call (the display watchdog asks once a period).
    bool takeActivity();

private:
    QByteArray telegramBuffer_;   // the frame being assembled, start byte first
    int assemblyCount_ = 0;
    bool rxActivity_ = false;     // set for every byte
    bool complete_ = false;       // telegramBuffer_ holds a completed frame
};
