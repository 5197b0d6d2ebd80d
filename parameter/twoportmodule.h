#pragma once

#include "config/familymodule.h"
#include "parameter/twoportconfig.h"
#include "parameter/twoportfile.h"
#include "parameter/twoporttelegram.h"

// The two-port family's parts for FamilyModule.
struct TwoPortFamily {
    using Config = TwoPortConfig;
    using Markers = twoport::Markers;
    static constexpr int WriteLength = twoporttelegram::WriteLength;
    static constexpr int VersionOffset = twoporttelegram::VersionOffset;
    static constexpr auto writeTelegram = &twoporttelegram::writeTelegram;
    static constexpr auto save = &twoportfile::save;
    static constexpr auto load = &twoportfile::load;
};

// The two-port family's part of the configuration flow. Its dialog mirrors config() in
// its controls (refreshing them on configChanged(), with its change handlers blocked),
// writes the user's check-box and trip-time edits straight into config() and shows
// markers(). The module variant is not changed by this family's read.
class TwoPortModule : public FamilyModule<TwoPortFamily>
{
    Q_OBJECT
public:
    using FamilyModule::FamilyModule;

    // The user picked a current for a channel (0 .. 3): its marker hidden, its trip-time
    // list rebuilt with the longest time selected.
    void chooseCurrent(int channel, int item);
    // The user picked a threshold: error_pg hidden.
    void choosePowerGood(int item);

    // Every list without a selection, trip-time lists emptied, every box (loeschen and
    // programmieren too) unchecked.
    void clearForRead() override;
    bool enterReply(const QByteArray &reply) override;
    void applyFactorySettings() override;
};
