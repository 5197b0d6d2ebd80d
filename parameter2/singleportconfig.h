#pragma once

#include "config/configlists.h"
#include "link/modulevariant.h"

#include <QString>
#include <QStringList>
#include <array>

// The configuration of a single-port module as the dialog's controls hold it: the item
// index selected in each list (NoSelection when none), the contents of the four
// current-limit lists, and the check boxes. Nothing here knows about widgets.

namespace singleport {

// ChannelCount, NoSelection, the power-good list and the channel events.
using namespace configlists;

// Items of the trip-delay list.
constexpr int TripDelayItemCount = 9;

// Factory settings: "21,4" V and "100,0" s.
constexpr int FactoryTripDelayIndex = 7;

// signalMask1 is EventMask bits: which events drive the signal output (check boxes
// port1_byte1_01 .. _80).

// signalMask2: two further events and three flags; bits 2 to 4 are always 0.
enum FlagMask : quint8 {
    LowInputVoltage = 0x01,    // port1_byte2_01: input below the power-good threshold
    HardwareFault = 0x02,      // port1_byte2_02
    ReleaseTripped = 0x20,     // loeschen: release tripped channels (written, never read back)
    InvertOutput = 0x40,       // port1_byte2_40
    AllowProgramming = 0x80,   // programmieren
};

// "OFF", "1" .. maxAmperes: the item index is the limit in amperes.
QStringList currentLimitItems(int maxAmperes);
// "0,1", "0,5", "1,0", "2,0", "5,0", "10,0", "50,0", "100,0", "600,0" seconds.
QStringList tripDelayItems();

// Last entry of a channel's current-limit list (channel 0..3) for a variant: "10" for
// channels 1 and 2 of the 10 A variants and channels 3 and 4 of FourChannel10A, "6" otherwise.
int channelListMax(ModuleVariant variant, int channel);

// Which lists are empty: each shows its "!" marker beside it.
struct Markers {
    std::array<bool, ChannelCount> channel{};   // error_k1 .. error_k4
    bool powerGood = false;                     // error_pg
    bool tripDelay = false;                     // ab_error

    bool any() const;
    bool operator==(const Markers &other) const;
    bool operator!=(const Markers &other) const { return !(*this == other); }
};

} // namespace singleport

struct SinglePortConfig : PowerGoodList {
    // Number of items in k1_sel .. k4_sel (the lists are rebuilt for each opening).
    std::array<int, singleport::ChannelCount> channelListSize{11, 11, 11, 11};
    // Selected item of k1_sel .. k4_sel: the limit in amperes, 0 = "OFF".
    std::array<int, singleport::ChannelCount> channel{
        singleport::NoSelection, singleport::NoSelection, singleport::NoSelection, singleport::NoSelection};
    int tripDelay = singleport::NoSelection;   // abschaltzeit: 0 = "0,1" .. 8 = "600,0"
    quint8 events = 0;                         // signalMask1, one bit per check box
    bool lowInputVoltage = false;              // port1_byte2_01
    bool hardwareFault = false;                // port1_byte2_02
    bool releaseTripped = false;               // loeschen
    bool invertOutput = false;                 // port1_byte2_40
    bool allowProgramming = false;             // programmieren

    // Selecting an index beyond a list's last entry (or below 0) leaves it without a selection.
    void selectCurrent(int channelIndex, int item);
    void selectTripDelay(int item);

    bool event(quint8 mask) const { return (events & mask) != 0; }
    void setEvent(quint8 mask, bool checked);

    // signalMask2 from the five boxes.
    quint8 signalMask2() const;
    // The boxes from signalMask2; loeschen only when withRelease is set.
    void setSignalMask2(quint8 mask, bool withRelease);

    // Channel bytes: limit of channel 1 (or 3) in the low four bits, 2 (or 4) in the high four.
    quint8 channelByte12() const;
    quint8 channelByte34() const;

    // The lists a dialog opened for this variant offers; their selection is cleared.
    void rebuildChannelLists(ModuleVariant variant);
    // All six lists without a selection.
    void clearSelections();
    // All check boxes unchecked except loeschen.
    void uncheckBoxesKeepingRelease();
    // The factory settings for the variant (all boxes, loeschen included).
    void applyFactorySettings(ModuleVariant variant);

    // The "!" markers an operation that needs every list would show.
    singleport::Markers validate() const;
    bool isComplete() const { return !validate().any(); }

    bool operator==(const SinglePortConfig &other) const;
    bool operator!=(const SinglePortConfig &other) const { return !(*this == other); }
};
