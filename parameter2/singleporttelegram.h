#pragma once

#include "link/modulevariant.h"
#include "parameter2/singleportconfig.h"

#include <QByteArray>
#include <optional>

// What the single-port dialog sends to a module and reads back from it.
//
// Write telegram, 12 bytes: FF F3, channels 1/2 (channel 1 in the low four bits),
// channels 3/4, powerGoodCode, signalMask1, signalMask2, tripTimeCode (high byte first),
// DD EE, check byte = XOR of offsets 2 to 10. The module acknowledges with a reply whose
// first byte is that check byte.
//
// Read request FF FC; the reply is at least 27 bytes: E4, type byte, the same fields at
// the same offsets, the software version at offsets 9 to 12, a check byte at offset 26
// (XOR of offsets 2 to 25). Anything after it is ignored.
namespace singleporttelegram {

constexpr int WriteLength = 12;
constexpr int WriteCheckOffset = 11;
constexpr int ReplyMinLength = 27;
constexpr int ReplyCheckOffset = 26;
constexpr int VersionOffset = 9;   // configtelegram::versionText()

// The trip delay in units of 25 ms, minus one, for a list index (0 .. 8); 0 for others.
quint16 tripTimeCode(int tripDelayIndex);
// The list index of a received code: the delay (code + 1) x 25 ms looked up in the list;
// a delay that is not in the list selects "100,0" (index 7).
int tripDelayIndex(quint16 code);

// The 12 bytes, or nothing when a list has no selection (then nothing may be sent).
std::optional<QByteArray> writeTelegram(const SinglePortConfig &config);

enum class ReplyVerdict {
    Accepted,
    TooShort,         // fewer than 27 bytes
    WrongStartByte,   // offset 0 is not E4
    WrongType,        // offset 1 is no single-port variant (11, 13, 17, 19)
    WrongCheckByte,   // offset 26 is not the XOR of offsets 2 to 25
};

struct ReplyCheck {
    ReplyVerdict verdict = ReplyVerdict::TooShort;
    // The variant the type byte names, set as soon as the type is accepted: a reply
    // that then fails its check byte has already changed the dialog's variant.
    std::optional<ModuleVariant> variant;

    bool accepted() const { return verdict == ReplyVerdict::Accepted; }
};

// The tests in their order: length, start byte, type byte, check byte.
ReplyCheck checkReply(const QByteArray &reply);

// Enters the fields of an accepted reply into the controls: channel codes (a code beyond
// its list leaves the list without a selection), power good (value modulo 200), the
// eight event boxes, four of the five flag boxes (loeschen is never taken from a reply)
// and the trip delay.
void enterReply(const QByteArray &reply, SinglePortConfig &config);
} // namespace singleporttelegram
