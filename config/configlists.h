#pragma once

#include "config/configbytes.h"

#include <QString>
#include <QStringList>

// What the lists and check boxes of both configuration dialogs have in common: four
// channels, the power-good threshold list and the eight channel events that can drive a
// signal output.
namespace configlists {

using configbytes::NoSelection;

constexpr int ChannelCount = 4;

// "20,0", "20,1" .. "24,0".
constexpr int PowerGoodItemCount = 41;
// Factory setting "21,4".
constexpr int FactoryPowerGoodIndex = 14;

// The channel events, one check box each: which of them drive a signal output.
enum EventMask : quint8 {
    OvercurrentChannel1 = 0x01,
    TrippedChannel1 = 0x02,
    OvercurrentChannel2 = 0x04,
    TrippedChannel2 = 0x08,
    OvercurrentChannel3 = 0x10,
    TrippedChannel3 = 0x20,
    OvercurrentChannel4 = 0x40,
    TrippedChannel4 = 0x80,
};

// "20,0", "20,1" .. "24,0".
QStringList powerGoodItems();

// powerGoodCode from a list caption: the number (comma as decimal separator, no number
// counts as 0) times 10, rounded to the nearest integer, low 8 bits. "21,4" gives 214.
quint8 powerGoodCodeFromCaption(const QString &caption);

} // namespace configlists

// The power-good threshold list (pgood_sel_) as a configuration holds it.
struct PowerGoodList {
    int powerGood = configlists::NoSelection;   // 0 = "20,0" .. 40 = "24,0"

    // An index beyond the list's last entry (or below 0) leaves it without a selection.
    void selectPowerGood(int item) { powerGood = configbytes::selectionIn(item, configlists::PowerGoodItemCount); }
    // Caption of the selected entry, empty without a selection.
    QString powerGoodCaption() const;
    // powerGoodCode of the selection (see configlists::powerGoodCodeFromCaption).
    quint8 powerGoodCode() const { return configlists::powerGoodCodeFromCaption(powerGoodCaption()); }
};
