#include "config/configlists.h"

#include <QLocale>
#include <cmath>

namespace configlists {

QStringList powerGoodItems()
{
    QStringList items;
    for (int tenths = 200; tenths <= 240; ++tenths)
        items << QStringLiteral("%1,%2").arg(tenths / 10).arg(tenths % 10);
    return items;
}

quint8 powerGoodCodeFromCaption(const QString &caption)
{
    // The comma is the decimal separator whatever the machine's locale.
    QLocale comma(QLocale::German);
    comma.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double volts = comma.toDouble(caption.trimmed(), &ok);
    if (!ok || !std::isfinite(volts))
        return 0;
    const double tenths = std::round(volts * 10.0);
    if (std::fabs(tenths) > 1e9)
        return 0;
    return static_cast<quint8>(static_cast<qint64>(tenths) & 0xFF);
}

} // namespace configlists

QString PowerGoodList::powerGoodCaption() const
{
    if (powerGood < 0 || powerGood >= configlists::PowerGoodItemCount)
        return {};
    return configlists::powerGoodItems().at(powerGood);
}
