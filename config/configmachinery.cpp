#include "config/configmachinery.h"

#include "config/configmodule.h"

// Every configuration request starts with FF and a command byte; FC reads.
static const QByteArray ReadRequest("\xFF\xFC", 2);

ConfigMachinery::ConfigMachinery(ConfigModule &module, SerialLine &line, PortName portName, QObject *parent)
    : QObject(parent)
    , module_(module)
    , transaction_(line)
    , portName_(std::move(portName))
{
    protocol_.setAttempt([this](bool readMode) { sende_ff(readMode); });
    connect(&transaction_, &ConfigTransaction::replied, this, &ConfigMachinery::replied);
}

void ConfigMachinery::read()
{
    protocol_.whenIdle([this] {
        module_.clearForRead();
        protocol_.statusLine().setVersionText(QString());
        protocol_.startRead();
    });
}

void ConfigMachinery::write()
{
    protocol_.startWrite();
}

void ConfigMachinery::enterFactorySettings()
{
    protocol_.whenIdle([this] {
        module_.applyFactorySettings();
        protocol_.statusLine().emptyText();
        module_.hideMarkers();
    });
}

bool ConfigMachinery::prepareSave()
{
    protocol_.statusLine().emptyText();
    module_.hideMarkers();
    if (module_.validate())
        return true;
    protocol_.showMessage(ConfigMessage::FillAllFields, RetryProtocol::StatusColour::Red);
    return false;
}

bool ConfigMachinery::saveTo(const QString &path)
{
    if (module_.save(path))
        return true;
    protocol_.reportSaveFailed();
    return false;
}

configfile::LoadResult ConfigMachinery::loadFrom(const QString &path)
{
    protocol_.statusLine().emptyText();
    module_.hideMarkers();
    const configfile::LoadResult result = module_.load(path);
    if (!result.notHexadecimal)
        protocol_.reportFileLoaded(result.errorCode);
    return result;
}

void ConfigMachinery::abort()
{
    transaction_.abort();
    protocol_.closeDialog();
}

void ConfigMachinery::close()
{
    abort();
    module_.clearOnClose();
    module_.hideMarkers();
}

void ConfigMachinery::sende_ff(bool readMode)
{
    module_.hideMarkers();
    if (readMode) {
        sentTelegram_.clear();
        configReply_.clear();
        transaction_.command(portName_(), ReadRequest);
        return;
    }
    if (!module_.validate()) {
        protocol_.finishAttempt(RetryProtocol::Outcome::Refused);
        return;
    }
    sentTelegram_ = module_.writeTelegram();
    configReply_.clear();
    transaction_.command(portName_(), sentTelegram_);
}

void ConfigMachinery::replied(const QByteArray &reply)
{
    configReply_ = reply;
    bool success = false;
    if (sentTelegram_.isEmpty()) {
        success = module_.enterReply(reply);
        if (success)
            protocol_.statusLine().setVersionText(module_.versionText(reply));
    } else {
        success = module_.isAcknowledged(sentTelegram_, reply);
    }
    protocol_.finishAttempt(success ? RetryProtocol::Outcome::Success : RetryProtocol::Outcome::Failure);
}
