#pragma once

#include <QList>
#include <QString>

class QLabel;
class QWidget;

// The name of a field or value for screen readers: "Kanal 1, konfigurierter Strom [A]",
// "Channel 1, configured current [A]": its row caption and the heading of its column
// without their colons; the heading alone when the row is empty.
QString accessibleFieldName(const QString &row, const QString &column);

// A "!" marker beside a list says the list must be filled in.
struct MarkedField
{
    QLabel *marker;
    QWidget *field;
    QLabel *row;      // null for a list alone under its heading
    QLabel *column;
};

// Screen readers hear a shown marker with its field: the field is named by its row and
// column and carries the marker as its description while the marker is shown, and the
// marker is named after its field ("Kanal 1, konfigurierter Strom [A]: !"). Follows the
// marker being shown or hidden and the language switch by itself; nothing is drawn
// differently.
void announceMarkers(const QList<MarkedField> &fields);

// A list or check box that a screen reader would hear without a name (a check box has no
// text of its own, a list reads as its value): named by the caption the dialog shows beside
// it, and by the heading of its column where there are two ("Überstrom Kanal 1, Port 2",
// "Kanal 1, Auslösezeit [s]"). Follows the language switch by itself; nothing visible changes.
struct CaptionedField
{
    QWidget *field;
    QLabel *caption;
    QLabel *column = nullptr;   // null when the caption alone tells the field apart
};

void nameByCaptions(const QList<CaptionedField> &fields);
