#pragma once

#include "parameter/twoportconfig.h"
#include "parameter2/singleportconfig.h"

#include <QList>
#include <QString>

// `efusectl write --verify`: what was written against what the module gives back, field by
// field. Fields are named after the dialog's controls and shown as the dialog's lists
// show them ("OFF", "10", "21,4", "100,0"; boxes 1 or 0; "-" for a list without a
// selection). The release flag (loeschen) is left out: the module acts on it and never
// reports it.
namespace configcompare {

struct Difference
{
    QString field;     // "k1_sel", "pgood_sel_", "port1_byte1_01", ...
    QString written;
    QString read;

    bool operator==(const Difference &o) const
    {
        return field == o.field && written == o.written && read == o.read;
    }
};

QList<Difference> compare(const SinglePortConfig &written, const SinglePortConfig &read);

// Trip times are compared as they go on the wire: a channel that is "OFF", or whose list
// has no selection, sends 0 and reads back as "0,1" or an empty list.
QList<Difference> compare(const TwoPortConfig &written, const TwoPortConfig &read);

} // namespace configcompare
