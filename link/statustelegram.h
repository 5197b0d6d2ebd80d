#pragma once

#include "modulevariant.h"

#include <QByteArray>
#include <QString>
#include <array>

// The 31-byte status telegram a module sends of its own accord:
//  0 E4 | 1 type | 2 status byte 1 | 3 status byte 2 | 4..11 output currents ch1..4
//  12..19 maximum output currents ch1..4 | 20 input voltage | 22 minimum input voltage
//  24, 25 rated currents (nibbles: ch1 low, ch2 high; ch3 low, ch4 high) | 26..27 unused
//  28 check byte over 2..27 | 29..30 end pair.
// Currents are in 0.01 A, voltages in 0.01 V, 16 bits high byte first.
namespace status {

constexpr int MinLength = 29;
constexpr int CheckOffset = 28;

// The ten lamps in the order of their status bits: byte 2 bits 0..7, byte 3 bits 0..1.
enum Lamp { Ovc1, Trip1, Ovc2, Trip2, Ovc3, Trip3, Ovc4, Trip4, PowerGood, HardwareFault, LampCount };

// The fourteen value labels.
enum Value {
    I1, I2, I3, I4, I1Max, I2Max, I3Max, I4Max, Uin, UinMin,
    I1Rated, I2Rated, I3Rated, I4Rated, ValueCount
};

struct Decoded
{
    enum Outcome {
        Ignored,   // too short or a foreign type byte: no reaction at all
        BadCheck,  // variant known, activity shown, display untouched
        Valid,
    };
    Outcome outcome = Ignored;
    ModuleVariant variant = ModuleVariant::FourChannel10A;
    std::array<bool, LampCount> lamps{};      // on/off; channels 3, 4 only for four-channel variants
    std::array<QString, ValueCount> values{}; // label texts; empty for channels 3, 4 of two-channel variants
};

Decoded decode(const QByteArray &frame);

// Value hi*256+lo in hundredths as a four-character text with a decimal comma, cut not
// rounded: 0,07 / 3,00 / 10,0 / 99,9. From 100 on one decimal is kept: 100,5 / 655,3.
QString measurement(quint8 hi, quint8 lo, const char *unit);

// Rated current of one nibble: "6 Adc", "15 Adc", or "Off" for 0.
QString ratedCurrent(quint8 nibble);

} // namespace status
