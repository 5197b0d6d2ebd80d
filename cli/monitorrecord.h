#pragma once

#include "link/modulevariant.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <array>
#include <optional>

// One record of `efusectl monitor`: what an accepted status telegram carries, in numbers a
// script can read. Values are kept in the module's own units (0.01 A, 0.01 V, whole
// amperes) and printed with a decimal point and all their digits, unlike the main window,
// which cuts them to four characters. Channels 3 and 4 are absent for a two-channel module.
namespace monitorrecord {

constexpr int ChannelCount = 4;
constexpr int LampCount = 10;

struct Record
{
    QDateTime time;
    ModuleVariant variant = ModuleVariant::FourChannel10A;
    int channels = 4;                                // 2 or 4: the fields of the others stay empty
    std::array<quint16, ChannelCount> current{};     // 0.01 A
    std::array<quint16, ChannelCount> maxCurrent{};  // 0.01 A
    quint16 uin = 0;                                 // 0.01 V
    quint16 uinMin = 0;                              // 0.01 V
    std::array<quint8, ChannelCount> rated{};        // whole amperes, 0 = off
    std::array<bool, LampCount> lamps{};             // in the order of the status bits
};

// The record of a frame that the status decoder accepts (length, type byte, check byte),
// or nothing for a frame it drops.
std::optional<Record> fromFrame(const QByteArray &frame, const QDateTime &time);

// "TwoChannel6A", "FourChannelTwoPort", ...
QString variantName(ModuleVariant variant);

// The column names, the same in both formats: time, variant, i1..i4, i1_max..i4_max, uin,
// uin_min, i1_endwert..i4_endwert, then the lamps by their names mb1_1..mb1_8, mb2, mb2_2.
QStringList columnNames();

// CSV (RFC 4180 fields): the header line and one line per record, each ended by LF alone,
// as awk, cut and the other shell tools expect.
QByteArray csvHeader();
QByteArray csvLine(const Record &record);
// One field, quoted when it holds a comma, a quote, CR or LF (quotes doubled inside).
QString csvField(const QString &text);

// JSON Lines: one object per record, ended by LF; fields of absent channels are null.
QByteArray jsonLine(const Record &record);

// ISO 8601 with milliseconds and the offset from UTC: 2026-12-01T14:03:07.042+01:00.
QString isoTime(const QDateTime &time);

} // namespace monitorrecord
