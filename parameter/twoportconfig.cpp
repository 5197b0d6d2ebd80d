#include "parameter/twoportconfig.h"

namespace twoport {

QStringList currentItems()
{
    QStringList items{QStringLiteral("OFF")};
    for (int a = 1; a < CurrentItemCount; ++a)
        items << QString::number(a);
    return items;
}

QStringList tripTimeItems()
{
    return {QStringLiteral("0,1"), QStringLiteral("0,2"), QStringLiteral("0,5"), QStringLiteral("1,0"),
            QStringLiteral("1,5")};
}

int tripTimeCountFor(int currentLimitCode)
{
    if (currentLimitCode <= 0)
        return 0;
    if (currentLimitCode == 1)
        return 5;
    if (currentLimitCode == 2)
        return 3;
    if (currentLimitCode <= 4)
        return 2;
    return 1;
}

QStringList tripTimeItemsFor(int currentLimitCode)
{
    return tripTimeItems().mid(0, tripTimeCountFor(currentLimitCode));
}

bool Markers::any() const
{
    return channel[0] || channel[1] || channel[2] || channel[3] || powerGood;
}

bool Markers::operator==(const Markers &other) const
{
    return channel == other.channel && powerGood == other.powerGood;
}

} // namespace twoport

using namespace twoport;

using configbytes::selectionIn;
using configbytes::withBit;

namespace {

bool validChannel(int channel)
{
    return channel >= 0 && channel < ChannelCount;
}

} // namespace

void TwoPortConfig::selectCurrent(int channel, int item)
{
    if (validChannel(channel))
        current[channel] = selectionIn(item, CurrentItemCount);
}

void TwoPortConfig::selectTripTime(int channel, int item)
{
    if (validChannel(channel))
        tripTime[channel] = selectionIn(item, tripTimeCount[channel]);
}

void TwoPortConfig::fillTripTimes(int channel, int currentLimitCode)
{
    if (!validChannel(channel))
        return;
    tripTimeCount[channel] = tripTimeCountFor(currentLimitCode);
    tripTime[channel] = currentLimitCode >= 5 ? 0 : NoSelection;
}

void TwoPortConfig::fillTripTimesFromCurrents()
{
    for (int c = 0; c < ChannelCount; ++c)
        fillTripTimes(c, current[c]);
}

void TwoPortConfig::chooseCurrent(int channel, int item)
{
    if (!validChannel(channel))
        return;
    selectCurrent(channel, item);
    tripTimeCount[channel] = tripTimeCountFor(current[channel]);
    // The longest time the current allows.
    tripTime[channel] = tripTimeCount[channel] > 0 ? tripTimeCount[channel] - 1 : NoSelection;
}

bool TwoPortConfig::box(int p, int byte, quint8 bit) const
{
    if (p < 0 || p >= PortCount)
        return false;
    if (byte == 1)
        return (port[p].events & bit) != 0;
    if (byte == 2)
        return (port[p].flags & bit & OutputFlagBits) != 0;
    return false;
}

void TwoPortConfig::setBox(int p, int byte, quint8 bit, bool checked)
{
    if (p < 0 || p >= PortCount)
        return;
    if (byte == 1)
        port[p].events = withBit(port[p].events, bit, checked);
    else if (byte == 2)
        port[p].flags = withBit(port[p].flags, bit & OutputFlagBits, checked);
}

quint8 TwoPortConfig::channelByte12() const
{
    return quint8(((current[0] & 0x0F) | (current[1] & 0x0F) << 4) & 0xFF);
}

quint8 TwoPortConfig::channelByte34() const
{
    return quint8(((current[2] & 0x0F) | (current[3] & 0x0F) << 4) & 0xFF);
}

int TwoPortConfig::tripTimeIndex(int channel) const
{
    if (!validChannel(channel))
        return 0;
    const int allowed = tripTimeCountFor(current[channel]);
    const int item = tripTime[channel];
    return (item >= 0 && item < allowed && item < tripTimeCount[channel]) ? item : 0;
}

quint8 TwoPortConfig::tripTimeByte12() const
{
    return quint8(tripTimeIndex(0) | tripTimeIndex(1) << 4);
}

quint8 TwoPortConfig::tripTimeByte34() const
{
    return quint8(tripTimeIndex(2) | tripTimeIndex(3) << 4);
}

quint8 TwoPortConfig::port1Byte2() const
{
    return quint8((port[0].flags & OutputFlagBits) | (loeschen ? Port1Release : 0));
}

quint8 TwoPortConfig::port2Byte2() const
{
    return quint8((port[1].flags & OutputFlagBits) | (programmieren ? Port2Programming : 0));
}

void TwoPortConfig::setPort1Byte2(quint8 mask, bool withRelease)
{
    port[0].flags = mask & OutputFlagBits;
    if (withRelease)
        loeschen = (mask & Port1Release) != 0;
}

void TwoPortConfig::setPort2Byte2(quint8 mask)
{
    port[1].flags = mask & OutputFlagBits;
    programmieren = (mask & Port2Programming) != 0;
}

void TwoPortConfig::clear()
{
    *this = TwoPortConfig();
}

void TwoPortConfig::applyFactorySettings()
{
    for (int c = 0; c < ChannelCount; ++c) {
        selectCurrent(c, FactoryCurrentIndex);
        fillTripTimes(c, FactoryCurrentIndex);
        selectTripTime(c, FactoryTripTimeIndex);
    }
    selectPowerGood(FactoryPowerGoodIndex);
    port[0].events = TrippedChannel1;
    port[0].flags = InvertOutput;
    port[1].events = TrippedChannel2;
    port[1].flags = InvertOutput;
    loeschen = false;
    programmieren = true;
}

Markers TwoPortConfig::validate() const
{
    Markers m;
    for (int c = 0; c < ChannelCount; ++c)
        m.channel[c] = current[c] < 0;
    m.powerGood = powerGood < 0;
    return m;
}

bool TwoPortConfig::operator==(const TwoPortConfig &o) const
{
    return current == o.current && tripTimeCount == o.tripTimeCount && tripTime == o.tripTime
        && powerGood == o.powerGood && port == o.port && loeschen == o.loeschen
        && programmieren == o.programmieren;
}
