#include "parameter2/singleportconfig.h"

namespace singleport {

QStringList currentLimitItems(int maxAmperes)
{
    QStringList items{QStringLiteral("OFF")};
    for (int a = 1; a <= maxAmperes; ++a)
        items << QString::number(a);
    return items;
}

QStringList tripDelayItems()
{
    return {QStringLiteral("0,1"), QStringLiteral("0,5"), QStringLiteral("1,0"),
            QStringLiteral("2,0"), QStringLiteral("5,0"), QStringLiteral("10,0"),
            QStringLiteral("50,0"), QStringLiteral("100,0"), QStringLiteral("600,0")};
}

int channelListMax(ModuleVariant variant, int channel)
{
    if (channel < 2)
        return (variant == ModuleVariant::FourChannel10A || variant == ModuleVariant::TwoChannel10A) ? 10 : 6;
    return variant == ModuleVariant::FourChannel10A ? 10 : 6;
}

bool Markers::any() const
{
    return channel[0] || channel[1] || channel[2] || channel[3] || powerGood || tripDelay;
}

bool Markers::operator==(const Markers &other) const
{
    return channel == other.channel && powerGood == other.powerGood && tripDelay == other.tripDelay;
}

} // namespace singleport

using namespace singleport;

using configbytes::selectionIn;

void SinglePortConfig::selectCurrent(int channelIndex, int item)
{
    if (channelIndex < 0 || channelIndex >= ChannelCount)
        return;
    channel[channelIndex] = selectionIn(item, channelListSize[channelIndex]);
}

void SinglePortConfig::selectTripDelay(int item)
{
    tripDelay = selectionIn(item, TripDelayItemCount);
}

void SinglePortConfig::setEvent(quint8 mask, bool checked)
{
    events = configbytes::withBit(events, mask, checked);
}

quint8 SinglePortConfig::signalMask2() const
{
    quint8 mask = 0;
    if (lowInputVoltage) mask |= LowInputVoltage;
    if (hardwareFault) mask |= HardwareFault;
    if (releaseTripped) mask |= ReleaseTripped;
    if (invertOutput) mask |= InvertOutput;
    if (allowProgramming) mask |= AllowProgramming;
    return mask;
}

void SinglePortConfig::setSignalMask2(quint8 mask, bool withRelease)
{
    lowInputVoltage = mask & LowInputVoltage;
    hardwareFault = mask & HardwareFault;
    if (withRelease)
        releaseTripped = mask & ReleaseTripped;
    invertOutput = mask & InvertOutput;
    allowProgramming = mask & AllowProgramming;
}

quint8 SinglePortConfig::channelByte12() const
{
    return quint8((channel[0] + 16 * channel[1]) & 0xFF);
}

quint8 SinglePortConfig::channelByte34() const
{
    return quint8((channel[2] + 16 * channel[3]) & 0xFF);
}

void SinglePortConfig::rebuildChannelLists(ModuleVariant variant)
{
    for (int c = 0; c < ChannelCount; ++c) {
        channelListSize[c] = channelListMax(variant, c) + 1;
        channel[c] = NoSelection;
    }
}

void SinglePortConfig::clearSelections()
{
    channel.fill(NoSelection);
    powerGood = NoSelection;
    tripDelay = NoSelection;
}

void SinglePortConfig::uncheckBoxesKeepingRelease()
{
    events = 0;
    lowInputVoltage = false;
    hardwareFault = false;
    invertOutput = false;
    allowProgramming = false;
}

void SinglePortConfig::applyFactorySettings(ModuleVariant variant)
{
    // Each channel gets the largest limit its variant allows: on TwoChannel10A the
    // hidden channels 3 and 4 get 6 A, the last entry of their lists.
    for (int c = 0; c < ChannelCount; ++c)
        selectCurrent(c, channelListMax(variant, c));
    selectPowerGood(FactoryPowerGoodIndex);
    selectTripDelay(FactoryTripDelayIndex);
    events = TrippedChannel1 | TrippedChannel2 | TrippedChannel3 | TrippedChannel4;
    lowInputVoltage = false;
    hardwareFault = false;
    invertOutput = true;
    releaseTripped = false;
    allowProgramming = true;
}

Markers SinglePortConfig::validate() const
{
    Markers m;
    for (int c = 0; c < ChannelCount; ++c)
        m.channel[c] = channel[c] < 0;
    m.powerGood = powerGood < 0;
    m.tripDelay = tripDelay < 0;
    return m;
}

bool SinglePortConfig::operator==(const SinglePortConfig &o) const
{
    return channelListSize == o.channelListSize && channel == o.channel && powerGood == o.powerGood
        && tripDelay == o.tripDelay && events == o.events && lowInputVoltage == o.lowInputVoltage
        && hardwareFault == o.hardwareFault && releaseTripped == o.releaseTripped
        && invertOutput == o.invertOutput && allowProgramming == o.allowProgramming;
}
