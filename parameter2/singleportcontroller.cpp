#include "parameter2/singleportcontroller.h"

#include "parameter2/singleporttelegram.h"

SinglePortController::SinglePortController(QObject *parent)
    : QObject(parent)
{
    init();
}

SinglePortController::SinglePortController(TransactionLine &line, QObject *parent)
    : QObject(parent)
    , transaction_(line)
{
    init();
}

void SinglePortController::init()
{
    protocol_.setAttempt([this](bool readMode) { return attempt(readMode); });
}

void SinglePortController::open(ModuleVariant variant)
{
    currentVariant_ = variant;
    config_.rebuildChannelLists(variant);
    setChannels34Hidden(!isFourChannel(variant));
    emit configChanged();
}

void SinglePortController::readConfiguration()
{
    config_.clearSelections();
    config_.uncheckBoxesKeepingRelease();
    emit configChanged();
    protocol_.setVersionText(QString());
    protocol_.startRead();
}

void SinglePortController::writeConfiguration()
{
    protocol_.startWrite();
}

void SinglePortController::enterFactorySettings()
{
    config_.applyFactorySettings(currentVariant_);
    emit configChanged();
    protocol_.emptyStatusText();
    setMarkers({});
}

bool SinglePortController::prepareSave()
{
    protocol_.emptyStatusText();
    setMarkers({});
    const singleport::Markers missing = config_.validate();
    if (missing.any()) {
        setMarkers(missing);
        protocol_.showMessage(ConfigMessage::FillAllFields, RetryProtocol::StatusColour::Red);
        return false;
    }
    return true;
}

bool SinglePortController::saveTo(const QString &path)
{
    if (singleportfile::save(path, config_))
        return true;
    protocol_.reportSaveFailed();
    return false;
}

singleportfile::LoadResult SinglePortController::loadFrom(const QString &path)
{
    protocol_.emptyStatusText();
    setMarkers({});
    const singleportfile::LoadResult result = singleportfile::load(path, config_);
    emit configChanged();
    if (result.notHexadecimal)
        return result;
    protocol_.reportFileLoaded(result.errorCode);
    return result;
}

void SinglePortController::close()
{
    protocol_.closeDialog();
    config_.clearSelections();
    config_.uncheckBoxesKeepingRelease();
    emit configChanged();
    setMarkers({});
}

RetryProtocol::Outcome SinglePortController::attempt(bool readMode)
{
    setMarkers({});
    return readMode ? readAttempt() : writeAttempt();
}

RetryProtocol::Outcome SinglePortController::readAttempt()
{
    configReply_.clear();
    configReply_ = transaction_.command(portDeviceName_, singleporttelegram::readRequest());
    const singleporttelegram::ReplyCheck check = singleporttelegram::checkReply(configReply_);
    // The type byte takes effect before the check byte is tested: a two-channel type
    // hides channels 3 and 4 at once; only an accepted four-channel reply shows them.
    if (check.variant) {
        currentVariant_ = *check.variant;
        emit currentVariantChanged(currentVariant_);
        if (!isFourChannel(currentVariant_))
            setChannels34Hidden(true);
    }
    if (!check.accepted())
        return RetryProtocol::Outcome::Failure;
    setChannels34Hidden(!isFourChannel(currentVariant_));
    singleporttelegram::enterReply(configReply_, config_);
    emit configChanged();
    protocol_.setVersionText(singleporttelegram::versionText(configReply_));
    return RetryProtocol::Outcome::Success;
}

RetryProtocol::Outcome SinglePortController::writeAttempt()
{
    const singleport::Markers missing = config_.validate();
    if (missing.any()) {
        setMarkers(missing);
        return RetryProtocol::Outcome::Refused;
    }
    const auto telegram = singleporttelegram::writeTelegram(config_);
    configReply_.clear();
    configReply_ = transaction_.command(portDeviceName_, *telegram);
    return singleporttelegram::isAcknowledged(*telegram, configReply_) ? RetryProtocol::Outcome::Success
                                                                       : RetryProtocol::Outcome::Failure;
}

void SinglePortController::setMarkers(const singleport::Markers &markers)
{
    if (markers == markers_)
        return;
    markers_ = markers;
    emit markersChanged();
}

void SinglePortController::setChannels34Hidden(bool hidden)
{
    if (hidden == channels34Hidden_)
        return;
    channels34Hidden_ = hidden;
    emit channels34HiddenChanged(hidden);
}
