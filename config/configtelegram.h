#pragma once

#include <QByteArray>
#include <QString>

// What the write telegrams and read replies of both module families share.
//
// A write telegram is FF F3, the family's fields, DD EE and a check byte, the XOR of
// everything from offset 2 up to the byte before it. The module acknowledges with a reply
// whose first byte is that check byte. A read reply carries the module's software version
// as four characters.
namespace configtelegram {

constexpr quint8 RequestByte = 0xFF;
constexpr quint8 WriteCommand = 0xF3;
constexpr quint8 TrailerA = 0xDD;
constexpr quint8 TrailerB = 0xEE;

constexpr int VersionLength = 4;

// FF F3, the fields, DD EE, the check byte.
QByteArray writeTelegram(const QByteArray &fields);

// True when the reply acknowledges the telegram: a telegram of writeLength bytes whose
// last byte (the check byte) the reply's first byte equals.
bool isAcknowledged(const QByteArray &telegram, const QByteArray &reply, int writeLength);

// "SW: " followed by the four characters at versionOffset.
QString versionText(const QByteArray &reply, int versionOffset);

} // namespace configtelegram
