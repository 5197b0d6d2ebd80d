#pragma once

#include "parameter/twoportconfig.h"

#include <QByteArray>
#include <optional>

// What the two-port dialog sends to a module and reads back from it.
//
// Write telegram, 14 bytes: FF F3, channels 1/2 (channel 1 in the low four bits),
// channels 3/4, powerGoodCode, port1Byte1, port1Byte2 (loeschen in bit 6), port2Byte1,
// port2Byte2 (programmieren in bit 6), trip times 1/2, trip times 3/4, DD EE, check byte
// = XOR of offsets 2 to 12. The module acknowledges with a reply whose first byte is that
// check byte.
//
// Read request FF FC; the reply is at least 30 bytes: E4, type byte 15, the same fields at
// the same offsets (bit 6 of port1Byte2 is not taken over), the software version at
// offsets 11 to 14, a check byte at offset 28 (XOR of offsets 2 to 27). Anything after it
// is ignored. Reading a two-port configuration does not change the program's module variant.
namespace twoporttelegram {

constexpr quint8 TypeByte = 0x15;   // FourChannelTwoPort

constexpr int WriteLength = 14;
constexpr int WriteCheckOffset = 13;
constexpr int ReplyMinLength = 30;
constexpr int ReplyCheckOffset = 28;
constexpr int VersionOffset = 11;   // configtelegram::versionText()

// The 14 bytes, or nothing when a current list or the threshold list has no selection
// (then nothing may be sent; TwoPortConfig::validate() names the lists). The trip time
// of a channel that is "OFF" or has an empty list goes out as 0.
std::optional<QByteArray> writeTelegram(const TwoPortConfig &config);

enum class ReplyVerdict {
    Accepted,
    TooShort,         // fewer than 30 bytes
    WrongStartByte,   // offset 0 is not E4
    WrongType,        // offset 1 is not 15 (single-port modules included)
    WrongCheckByte,   // offset 28 is not the XOR of offsets 2 to 27
};

// The tests in their order: length, start byte, type byte, check byte.
ReplyVerdict checkReply(const QByteArray &reply);
inline bool isAccepted(const QByteArray &reply) { return checkReply(reply) == ReplyVerdict::Accepted; }

// Enters the fields of an accepted reply into the controls, in this order: the four
// currents (a code above 8 leaves its list without a selection), each channel's trip-time
// list rebuilt from the code received (codes 5 and above select "0,1"), the four trip
// times (an index beyond the list leaves it without a selection), the threshold (value
// modulo 200), the boxes of both outputs and programmieren. loeschen is never taken from a
// reply. No change handler runs.
void enterReply(const QByteArray &reply, TwoPortConfig &config);
} // namespace twoporttelegram
