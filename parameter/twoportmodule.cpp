#include "parameter/twoportmodule.h"

#include "parameter/twoportfile.h"
#include "parameter/twoporttelegram.h"

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

QString TwoPortModule::versionText(const QByteArray &reply) const
{
    return twoporttelegram::versionText(reply);
}

bool TwoPortModule::validate()
{
    const twoport::Markers missing = config_.validate();
    setMarkers(missing);
    return !missing.any();
}

void TwoPortModule::hideMarkers()
{
    setMarkers({});
}

QByteArray TwoPortModule::writeTelegram() const
{
    return twoporttelegram::writeTelegram(config_).value_or(QByteArray());
}

bool TwoPortModule::isAcknowledged(const QByteArray &telegram, const QByteArray &reply) const
{
    return twoporttelegram::isAcknowledged(telegram, reply);
}

void TwoPortModule::applyFactorySettings()
{
    config_.applyFactorySettings();
    emit configChanged();
}

bool TwoPortModule::save(const QString &path) const
{
    return twoportfile::save(path, config_);
}

configfile::LoadResult TwoPortModule::load(const QString &path)
{
    const configfile::LoadResult result = twoportfile::load(path, config_);
    emit configChanged();
    return result;
}

void TwoPortModule::clearOnClose()
{
    config_.clear();
    emit configChanged();
}

void TwoPortModule::setMarkers(const twoport::Markers &markers)
{
    if (markers == markers_)
        return;
    markers_ = markers;
    emit markersChanged();
}
