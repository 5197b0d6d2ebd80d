#pragma once

#include "config/configmodule.h"
#include "config/sharedstate.h"
#include "link/modulevariant.h"
#include "parameter2/singleportconfig.h"

// The single-port family's part of the configuration flow. Its dialog mirrors config() in
// its controls (refreshing them on configChanged(), writing user edits straight into
// config()) and shows markers() and the channel 3 and 4 controls as told.
class SinglePortModule : public ConfigModule
{
    Q_OBJECT
public:
    // The module variant is the state's: the factory settings follow it, a read reply
    // sets it.
    explicit SinglePortModule(SharedState &state, QObject *parent = nullptr)
        : ConfigModule(parent), state_(state) {}

    SinglePortConfig &config() { return config_; }
    const SinglePortConfig &config() const { return config_; }
    const singleport::Markers &markers() const { return markers_; }
    // Channel 3 and 4 controls (lists, row labels, event labels and boxes) hidden.
    bool channels34Hidden() const { return channels34Hidden_; }

    // The dialog is shown for the variant (which becomes the state's): current-limit lists
    // rebuilt for it, their selection cleared, channels 3 and 4 hidden for a two-channel
    // variant.
    void open(ModuleVariant variant);

    // Every list without a selection, every box but loeschen unchecked.
    void clearForRead() override;
    bool enterReply(const QByteArray &reply) override;
    QString versionText(const QByteArray &reply) const override;
    bool validate() override;
    void hideMarkers() override;
    QByteArray writeTelegram() const override;
    bool isAcknowledged(const QByteArray &telegram, const QByteArray &reply) const override;
    // The settings for the state's variant.
    void applyFactorySettings() override;
    bool save(const QString &path) const override;
    configfile::LoadResult load(const QString &path) override;
    void clearOnClose() override;

signals:
    void channels34HiddenChanged(bool hidden);

private:
    void setMarkers(const singleport::Markers &markers);
    void setChannels34Hidden(bool hidden);

    SharedState &state_;
    SinglePortConfig config_;
    singleport::Markers markers_;
    bool channels34Hidden_ = false;
};
