#pragma once

#include "config/configmodule.h"
#include "config/configtelegram.h"

#include <QByteArray>
#include <QString>

// What every family's ConfigModule does alike: it holds the configuration and its "!"
// markers, validates, sends the write telegram, checks the acknowledgement, takes the
// version text from a reply, saves and loads its file. Family names the family's parts:
//
//   Config, Markers              the configuration and its markers (Config::validate())
//   WriteLength, VersionOffset   of its write telegram and read reply
//   writeTelegram, save, load    its telegram and file functions
//
// The family's module adds what differs: clearing, entering a read reply, the factory
// settings and its own user actions.
template <class Family>
class FamilyModule : public ConfigModule
{
public:
    using Config = typename Family::Config;
    using Markers = typename Family::Markers;

    using ConfigModule::ConfigModule;

    Config &config() { return config_; }
    const Config &config() const { return config_; }
    const Markers &markers() const { return markers_; }

    QString versionText(const QByteArray &reply) const override
    {
        return configtelegram::versionText(reply, Family::VersionOffset);
    }
    bool validate() override
    {
        const Markers missing = config_.validate();
        setMarkers(missing);
        return !missing.any();
    }
    void hideMarkers() override { setMarkers({}); }
    QByteArray writeTelegram() const override { return Family::writeTelegram(config_).value_or(QByteArray()); }
    bool isAcknowledged(const QByteArray &telegram, const QByteArray &reply) const override
    {
        return configtelegram::isAcknowledged(telegram, reply, Family::WriteLength);
    }
    bool save(const QString &path) const override { return Family::save(path, config_); }
    configfile::LoadResult load(const QString &path) override
    {
        const configfile::LoadResult result = Family::load(path, config_);
        emit configChanged();
        return result;
    }

protected:
    void setMarkers(const Markers &markers)
    {
        if (markers == markers_)
            return;
        markers_ = markers;
        emit markersChanged();
    }

    Config config_;
    Markers markers_;
};
