#include "parameter2/singleportmodule.h"

#include "parameter2/singleportfile.h"
#include "parameter2/singleporttelegram.h"

void SinglePortModule::open(ModuleVariant variant)
{
    state_.variant = variant;
    config_.rebuildChannelLists(variant);
    setChannels34Hidden(!isFourChannel(variant));
    emit configChanged();
}

void SinglePortModule::clearForRead()
{
    config_.clearSelections();
    config_.uncheckBoxesKeepingRelease();
    emit configChanged();
}

bool SinglePortModule::enterReply(const QByteArray &reply)
{
    const singleporttelegram::ReplyCheck check = singleporttelegram::checkReply(reply);
    // The type byte takes effect before the check byte is tested: a two-channel type
    // hides channels 3 and 4 at once; only an accepted four-channel reply shows them.
    // A reply names the module's variant even when it then fails its check byte.
    if (check.variant) {
        state_.variant = *check.variant;
        if (!isFourChannel(state_.variant))
            setChannels34Hidden(true);
    }
    if (!check.accepted())
        return false;
    setChannels34Hidden(!isFourChannel(state_.variant));
    singleporttelegram::enterReply(reply, config_);
    emit configChanged();
    return true;
}

QString SinglePortModule::versionText(const QByteArray &reply) const
{
    return singleporttelegram::versionText(reply);
}

bool SinglePortModule::validate()
{
    const singleport::Markers missing = config_.validate();
    setMarkers(missing);
    return !missing.any();
}

void SinglePortModule::hideMarkers()
{
    setMarkers({});
}

QByteArray SinglePortModule::writeTelegram() const
{
    return singleporttelegram::writeTelegram(config_).value_or(QByteArray());
}

bool SinglePortModule::isAcknowledged(const QByteArray &telegram, const QByteArray &reply) const
{
    return singleporttelegram::isAcknowledged(telegram, reply);
}

void SinglePortModule::applyFactorySettings()
{
    config_.applyFactorySettings(state_.variant);
    emit configChanged();
}

bool SinglePortModule::save(const QString &path) const
{
    return singleportfile::save(path, config_);
}

configfile::LoadResult SinglePortModule::load(const QString &path)
{
    const configfile::LoadResult result = singleportfile::load(path, config_);
    emit configChanged();
    return result;
}

void SinglePortModule::clearOnClose()
{
    config_.clearSelections();
    config_.uncheckBoxesKeepingRelease();
    emit configChanged();
}

void SinglePortModule::setMarkers(const singleport::Markers &markers)
{
    if (markers == markers_)
        return;
    markers_ = markers;
    emit markersChanged();
}

void SinglePortModule::setChannels34Hidden(bool hidden)
{
    if (hidden == channels34Hidden_)
        return;
    channels34Hidden_ = hidden;
    emit channels34HiddenChanged(hidden);
}
