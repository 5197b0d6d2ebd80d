#pragma once

#include "config/familymodule.h"
#include "config/sharedstate.h"
#include "link/modulevariant.h"
#include "parameter2/singleportconfig.h"
#include "parameter2/singleportfile.h"
#include "parameter2/singleporttelegram.h"

// The single-port family's parts for FamilyModule.
struct SinglePortFamily {
    using Config = SinglePortConfig;
    using Markers = singleport::Markers;
    static constexpr int WriteLength = singleporttelegram::WriteLength;
    static constexpr int VersionOffset = singleporttelegram::VersionOffset;
    static constexpr auto writeTelegram = &singleporttelegram::writeTelegram;
    static constexpr auto save = &singleportfile::save;
    static constexpr auto load = &singleportfile::load;
};

// The single-port family's part of the configuration flow. Its dialog mirrors config() in
// its controls (refreshing them on configChanged(), writing user edits straight into
// config()) and shows markers() and the channel 3 and 4 controls as told.
class SinglePortModule : public FamilyModule<SinglePortFamily>
{
    Q_OBJECT
public:
    // The module variant is the state's: the factory settings follow it, a read reply
    // sets it.
    explicit SinglePortModule(SharedState &state, QObject *parent = nullptr)
        : FamilyModule(parent), state_(state) {}

    // Channel 3 and 4 controls (lists, row labels, event labels and boxes) hidden.
    bool channels34Hidden() const { return channels34Hidden_; }

    // The dialog is shown for the variant (which becomes the state's): current-limit lists
    // rebuilt for it, their selection cleared, channels 3 and 4 hidden for a two-channel
    // variant.
    void open(ModuleVariant variant);

    // Every list without a selection, every box but loeschen unchecked.
    void clearForRead() override;
    bool enterReply(const QByteArray &reply) override;
    // The settings for the state's variant.
    void applyFactorySettings() override;

signals:
    void channels34HiddenChanged(bool hidden);

private:
    void setChannels34Hidden(bool hidden);

    SharedState &state_;
    bool channels34Hidden_ = false;
};
