#pragma once

#include "parameter/twoportconfig.h"

#include <QByteArray>
#include <QMetaType>
#include <QtTest>

Q_DECLARE_METATYPE(TwoPortConfig)

// Readable failure output for QCOMPARE on configurations.
inline char *toString(const TwoPortConfig &c)
{
    QString text;
    for (int i = 0; i < twoport::ChannelCount; ++i)
        text += QStringLiteral("k%1=%2 t%1=%3/%4 ").arg(i + 1).arg(c.current[i]).arg(c.tripTime[i]).arg(c.tripTimeCount[i]);
    text += QStringLiteral("pg=%1 p1=%2/%3 p2=%4/%5 loeschen=%6 programmieren=%7")
                .arg(c.powerGood)
                .arg(c.port[0].events, 2, 16, QLatin1Char('0'))
                .arg(c.port[0].flags, 2, 16, QLatin1Char('0'))
                .arg(c.port[1].events, 2, 16, QLatin1Char('0'))
                .arg(c.port[1].flags, 2, 16, QLatin1Char('0'))
                .arg(c.loeschen)
                .arg(c.programmieren);
    return qstrdup(text.toUtf8().constData());
}

inline char *toString(const twoport::Markers &m)
{
    return qstrdup(QStringLiteral("k1=%1 k2=%2 k3=%3 k4=%4 pg=%5")
                       .arg(m.channel[0]).arg(m.channel[1]).arg(m.channel[2]).arg(m.channel[3]).arg(m.powerGood)
                       .toUtf8().constData());
}
Q_DECLARE_METATYPE(twoport::Markers)

// A read reply of a two-port module: E4, the type byte, the fields from offset 2 on
// (zero-filled up to offset 27), the check byte worked out here, then the end pair.
// totalLength cuts or pads the result.
inline QByteArray twoPortReply(const QByteArray &fields, quint8 type = 0x15, int totalLength = 31)
{
    QByteArray r;
    r.append(char(0xE4));
    r.append(char(type));
    r.append(fields.left(26));
    while (r.size() < 28)
        r.append(char(0));
    quint8 x = 0;
    for (int i = 2; i < 28; ++i)
        x ^= quint8(r.at(i));
    r.append(char(x));
    r.append(char(0xE4));
    r.append(char(0x16));
    while (r.size() < totalLength)
        r.append(char(0));
    return r.left(totalLength);
}

// Channel selections: the current and the trip-time list as the dialog would show them.
inline void setChannel(TwoPortConfig &c, int channel, int current, int count, int selected)
{
    c.current[channel] = current;
    c.tripTimeCount[channel] = count;
    c.tripTime[channel] = selected;
}
