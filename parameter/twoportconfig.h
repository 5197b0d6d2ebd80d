#pragma once

#include "config/configlists.h"

#include <QString>
#include <QStringList>
#include <array>

// The configuration of a two-port module as the dialog's controls hold it: the item index
// selected in each list (NoSelection when none), how many entries each trip-time list
// offers, and the check boxes. Nothing here knows about widgets.
//
// Selections set by the program (read reply, file load, factory settings, reset) never
// run the change handlers: selectCurrent() only selects, chooseCurrent() is the user's pick
// and rebuilds that channel's trip-time list.

namespace twoport {

// ChannelCount, NoSelection, the power-good list and the channel events.
using namespace configlists;

constexpr int PortCount = 2;

// "OFF", "1" .. "8": the item index is the currentLimitCode.
constexpr int CurrentItemCount = 9;
// "0,1", "0,2", "0,5", "1,0", "1,5": the item index is the tripTimeIndex.
constexpr int TripTimeItemCount = 5;

// Factory settings: every channel "8", trip time "0,1", threshold "21,4".
constexpr int FactoryCurrentIndex = 8;
constexpr int FactoryTripTimeIndex = 0;

// port1Byte1 and port2Byte1 are EventMask bits: the channel events that drive the output.

// port1Byte2 and port2Byte2; bits 2 to 5 are always 0. Bit 6 is loeschen in port1Byte2
// and programmieren in port2Byte2.
enum FlagMask : quint8 {
    LowInputVoltage = 0x01,   // portN_byte2_01: input below the power-good threshold
    HardwareFault = 0x02,     // portN_byte2_02
    Port1Release = 0x40,      // loeschen: release tripped channels (written, never read back)
    Port2Programming = 0x40,  // programmieren: programming allowed
    InvertOutput = 0x80,      // portN_byte2_80
};
// The bits of a byte 2 that belong to the output's own check boxes.
constexpr quint8 OutputFlagBits = LowInputVoltage | HardwareFault | InvertOutput;

// "OFF", "1" .. "8".
QStringList currentItems();
// "0,1", "0,2", "0,5", "1,0", "1,5".
QStringList tripTimeItems();

// How many trip times a current limit allows: 1 A five, 2 A three, 3 A and 4 A two,
// 5 A and above one, "OFF" (and no selection) none.
int tripTimeCountFor(int currentLimitCode);
// The first tripTimeCountFor() entries of tripTimeItems().
QStringList tripTimeItemsFor(int currentLimitCode);

// Which lists are empty: each shows its "!" marker beside it.
struct Markers {
    std::array<bool, ChannelCount> channel{};   // error_k1 .. error_k4
    bool powerGood = false;                     // error_pg

    bool any() const;
    bool operator==(const Markers &other) const;
    bool operator!=(const Markers &other) const { return !(*this == other); }
};

// One signal output, "Port 1" or "Port 2": its check boxes.
struct SignalOutput {
    quint8 events = 0;   // portN_byte1_01 .. portN_byte1_80, one bit per box
    quint8 flags = 0;    // portN_byte2_01, portN_byte2_02, portN_byte2_80 (OutputFlagBits only)

    bool operator==(const SignalOutput &other) const { return events == other.events && flags == other.flags; }
    bool operator!=(const SignalOutput &other) const { return !(*this == other); }
};

} // namespace twoport

struct TwoPortConfig : PowerGoodList {
    // Selected item of k1_sel .. k4_sel: the currentLimitCode, 0 = "OFF".
    std::array<int, twoport::ChannelCount> current{
        twoport::NoSelection, twoport::NoSelection, twoport::NoSelection, twoport::NoSelection};
    // Number of entries in k1_time .. k4_time (0: the list is empty).
    std::array<int, twoport::ChannelCount> tripTimeCount{0, 0, 0, 0};
    // Selected item of k1_time .. k4_time: the tripTimeIndex.
    std::array<int, twoport::ChannelCount> tripTime{
        twoport::NoSelection, twoport::NoSelection, twoport::NoSelection, twoport::NoSelection};
    std::array<twoport::SignalOutput, twoport::PortCount> port;   // "Port 1", "Port 2"
    bool loeschen = false;                          // release tripped channels
    bool programmieren = false;                     // programming allowed

    // --- Selections set by the program: no change handler runs. ---
    // An index beyond a list's last entry (or below 0) leaves the list without a selection.
    void selectCurrent(int channel, int item);
    void selectTripTime(int channel, int item);
    // Empties the channel's trip-time list and fills it for the given current limit code
    // (see twoport::tripTimeCountFor); codes 5 and above select "0,1" at once, 1 to 4
    // leave the list without a selection.
    void fillTripTimes(int channel, int currentLimitCode);
    // fillTripTimes() for every channel from its present current selection.
    void fillTripTimesFromCurrents();

    // --- The user's pick of a current (zeit1 .. zeit4): the trip-time rule. ---
    // Selects the current, rebuilds the channel's trip-time list and selects the longest
    // time it offers. (The dialog hides the channel's marker; see TwoPortModule::chooseCurrent.)
    void chooseCurrent(int channel, int item);

    // Check box portN_byteB_XX: port 0 or 1, byte 1 or 2, the bit's value. Bit 0x40 of
    // byte 2 is not a box of the output (it is loeschen / programmieren): ignored here.
    bool box(int port, int byte, quint8 bit) const;
    void setBox(int port, int byte, quint8 bit, bool checked);

    // The wire bytes.
    quint8 channelByte12() const;    // currentLimitCode: channel 1 low four bits, 2 high
    quint8 channelByte34() const;
    quint8 tripTimeByte12() const;   // tripTimeIndex: channel 1 low four bits, 2 high
    quint8 tripTimeByte34() const;
    quint8 port1Byte1() const { return port[0].events; }
    quint8 port1Byte2() const;       // loeschen in bit 6
    quint8 port2Byte1() const { return port[1].events; }
    quint8 port2Byte2() const;       // programmieren in bit 6

    // The tripTimeIndex that goes on the wire for a channel: the selection, or 0 when the
    // list has none, the channel is "OFF" (or has no current), or the selection is not a
    // time that the channel's current allows.
    int tripTimeIndex(int channel) const;

    // The boxes from a received or loaded byte. port1: loeschen only when withRelease.
    void setPort1Byte1(quint8 mask) { port[0].events = mask; }
    void setPort1Byte2(quint8 mask, bool withRelease);
    void setPort2Byte1(quint8 mask) { port[1].events = mask; }
    void setPort2Byte2(quint8 mask);

    // The reset of the read button and of closing: no list has a selection, every
    // trip-time list is empty, every box (loeschen and programmieren included) unchecked.
    void clear();
    // The factory settings (every box, loeschen included).
    void applyFactorySettings();

    // The "!" markers a write or a save would show: every empty current list and the
    // threshold list. Trip-time lists are never validated.
    twoport::Markers validate() const;
    bool isComplete() const { return !validate().any(); }

    bool operator==(const TwoPortConfig &other) const;
    bool operator!=(const TwoPortConfig &other) const { return !(*this == other); }
};
