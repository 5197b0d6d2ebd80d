#pragma once

#include "config/configmodule.h"
#include "parameter/twoportconfig.h"

// The two-port family's part of the configuration flow. Its dialog mirrors config() in
// its controls (refreshing them on configChanged(), with its change handlers blocked),
// writes the user's check-box and trip-time edits straight into config() and shows
// markers(). The module variant is not changed by this family's read.
class TwoPortModule : public ConfigModule
{
    Q_OBJECT
public:
    using ConfigModule::ConfigModule;

    TwoPortConfig &config() { return config_; }
    const TwoPortConfig &config() const { return config_; }
    const twoport::Markers &markers() const { return markers_; }

    // The user picked a current for a channel (0 .. 3): its marker hidden, its trip-time
    // list rebuilt with the longest time selected.
    void chooseCurrent(int channel, int item);
    // The user picked a threshold: error_pg hidden.
    void choosePowerGood(int item);

    // Every list without a selection, trip-time lists emptied, every box (loeschen and
    // programmieren too) unchecked.
    void clearForRead() override;
    bool enterReply(const QByteArray &reply) override;
    QString versionText(const QByteArray &reply) const override;
    bool validate() override;
    void hideMarkers() override;
    QByteArray writeTelegram() const override;
    bool isAcknowledged(const QByteArray &telegram, const QByteArray &reply) const override;
    void applyFactorySettings() override;
    bool save(const QString &path) const override;
    configfile::LoadResult load(const QString &path) override;
    void clearOnClose() override;

private:
    void setMarkers(const twoport::Markers &markers);

    TwoPortConfig config_;
    twoport::Markers markers_;
};
