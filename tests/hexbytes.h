#pragma once

#include <QByteArray>
#include <QString>

// "E4 17 05" -> bytes; lets test tables show telegrams as they appear on a line monitor.
inline QByteArray hexBytes(const char *text)
{
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}
