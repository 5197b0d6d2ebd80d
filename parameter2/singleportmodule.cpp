#include "parameter2/singleportmodule.h"

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

void SinglePortModule::applyFactorySettings()
{
    config_.applyFactorySettings(state_.variant);
    emit configChanged();
}

void SinglePortModule::setChannels34Hidden(bool hidden)
{
    if (hidden == channels34Hidden_)
        return;
    channels34Hidden_ = hidden;
    emit channels34HiddenChanged(hidden);
}
