#include "parameter/twoportmodule.h"

void TwoPortModule::chooseCurrent(int channel, int item)
{
    if (channel < 0 || channel >= twoport::ChannelCount)
        return;
    config_.chooseCurrent(channel, item);
    emit configChanged();
    twoport::Markers m = markers_;
    m.channel[channel] = false;
    setMarkers(m);
}

void TwoPortModule::choosePowerGood(int item)
{
    config_.selectPowerGood(item);
    emit configChanged();
    twoport::Markers m = markers_;
    m.powerGood = false;
    setMarkers(m);
}

void TwoPortModule::clearForRead()
{
    config_.clear();
    emit configChanged();
}

bool TwoPortModule::enterReply(const QByteArray &reply)
{
    if (!twoporttelegram::isAccepted(reply))
        return false;
    twoporttelegram::enterReply(reply, config_);
    emit configChanged();
    return true;
}

void TwoPortModule::applyFactorySettings()
{
    config_.applyFactorySettings();
    emit configChanged();
}
