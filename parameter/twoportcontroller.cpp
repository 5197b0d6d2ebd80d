#include "parameter/twoportcontroller.h"

#include "parameter/twoporttelegram.h"

TwoPortController::TwoPortController(QObject *parent)
    : QObject(parent)
{
    init();
}

TwoPortController::TwoPortController(TransactionLine &line, QObject *parent)
    : QObject(parent)
    , transaction_(line)
{
    init();
}

void TwoPortController::init()
{
    protocol_.setAttempt([this](bool readMode) { return attempt(readMode); });
}

void TwoPortController::open()
{
    emit configChanged();
    emit markersChanged();
}

void TwoPortController::readConfiguration()
{
    config_.clear();
    emit configChanged();
    protocol_.setVersionText(QString());
    protocol_.startRead();
}

void TwoPortController::writeConfiguration()
{
    protocol_.startWrite();
}

void TwoPortController::enterFactorySettings()
{
    config_.applyFactorySettings();
    emit configChanged();
    protocol_.emptyStatusText();
    setMarkers({});
}

void TwoPortController::chooseCurrent(int channel, int item)
{
    if (channel < 0 || channel >= twoport::ChannelCount)
        return;
    config_.chooseCurrent(channel, item);
    emit configChanged();
    twoport::Markers m = markers_;
    m.channel[channel] = false;
    setMarkers(m);
}

void TwoPortController::choosePowerGood(int item)
{
    config_.selectPowerGood(item);
    emit configChanged();
    twoport::Markers m = markers_;
    m.powerGood = false;
    setMarkers(m);
}

bool TwoPortController::prepareSave()
{
    protocol_.emptyStatusText();
    setMarkers({});
    const twoport::Markers missing = config_.validate();
    if (missing.any()) {
        setMarkers(missing);
        protocol_.showMessage(ConfigMessage::FillAllFields, RetryProtocol::StatusColour::Red);
        return false;
    }
    return true;
}

bool TwoPortController::saveTo(const QString &path)
{
    if (twoportfile::save(path, config_))
        return true;
    protocol_.reportSaveFailed();
    return false;
}

twoportfile::LoadResult TwoPortController::loadFrom(const QString &path)
{
    protocol_.emptyStatusText();
    setMarkers({});
    const twoportfile::LoadResult result = twoportfile::load(path, config_);
    emit configChanged();
    if (result.notHexadecimal)
        return result;
    protocol_.reportFileLoaded(result.errorCode);
    return result;
}

void TwoPortController::close()
{
    protocol_.closeDialog();
    config_.clear();
    emit configChanged();
    setMarkers({});
}

RetryProtocol::Outcome TwoPortController::attempt(bool readMode)
{
    setMarkers({});
    return readMode ? readAttempt() : writeAttempt();
}

RetryProtocol::Outcome TwoPortController::readAttempt()
{
    configReply_.clear();
    configReply_ = transaction_.command(portDeviceName_, twoporttelegram::readRequest());
    if (!twoporttelegram::isAccepted(configReply_))
        return RetryProtocol::Outcome::Failure;
    twoporttelegram::enterReply(configReply_, config_);
    emit configChanged();
    protocol_.setVersionText(twoporttelegram::versionText(configReply_));
    return RetryProtocol::Outcome::Success;
}

RetryProtocol::Outcome TwoPortController::writeAttempt()
{
    const twoport::Markers missing = config_.validate();
    if (missing.any()) {
        setMarkers(missing);
        return RetryProtocol::Outcome::Refused;
    }
    const auto telegram = twoporttelegram::writeTelegram(config_);
    configReply_.clear();
    configReply_ = transaction_.command(portDeviceName_, *telegram);
    return twoporttelegram::isAcknowledged(*telegram, configReply_) ? RetryProtocol::Outcome::Success
                                                                    : RetryProtocol::Outcome::Failure;
}

void TwoPortController::setMarkers(const twoport::Markers &markers)
{
    if (markers == markers_)
        return;
    markers_ = markers;
    emit markersChanged();
}
