#pragma once

#include "config/familymodule.h"
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
    using FamilyModule::FamilyModule;

    // Channel 3 and 4 controls (lists, row labels, event labels and boxes) hidden.
    bool channels34Hidden() const { return channels34Hidden_; }

    // The program's module variant: the factory settings follow it, a read reply sets it.
    void setCurrentVariant(ModuleVariant variant) { currentVariant_ = variant; }
    ModuleVariant currentVariant() const { return currentVariant_; }

    // The dialog is shown for the variant: current-limit lists rebuilt for it, their
    // selection cleared, channels 3 and 4 hidden for a two-channel variant.
    void open(ModuleVariant variant);

    // Every list without a selection, every box but loeschen unchecked.
    void clearForRead() override;
    bool enterReply(const QByteArray &reply) override;
    // The settings for currentVariant().
    void applyFactorySettings() override;

signals:
    void channels34HiddenChanged(bool hidden);
    // A read reply named the module's variant (even one that then failed its check byte).
    void currentVariantChanged(ModuleVariant variant);

private:
    void setChannels34Hidden(bool hidden);

    bool channels34Hidden_ = false;
    ModuleVariant currentVariant_ = ModuleVariant::FourChannel10A;
};
