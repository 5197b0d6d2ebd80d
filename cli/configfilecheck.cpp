#include "cli/configfilecheck.h"

#include "config/configfile.h"
#include "parameter/twoportfile.h"
#include "parameter2/singleportfile.h"

namespace configfilecheck {

namespace {

// A file the dialog of the module's family rejects may be a correct file of the other
// family (their data lines have other lengths); that is told apart from a broken file.
bool isTwoPortFile(const QStringList &lines)
{
    TwoPortConfig scratch;
    return twoportfile::apply(lines, scratch).ok();
}

bool isSinglePortFile(const QStringList &lines)
{
    SinglePortConfig scratch;
    return singleportfile::apply(lines, scratch).ok();
}

bool rejected(const configfile::LoadResult &loaded, Result &result)
{
    if (loaded.notHexadecimal) {
        result.kind = Result::NotHexadecimal;
        result.invalidText = loaded.invalidText;
        return true;
    }
    if (loaded.errorCode != 0) {
        result.kind = Result::FileError;
        result.errorCode = loaded.errorCode;
        return true;
    }
    return false;
}

QStringList channelFields(const std::array<bool, 4> &markers)
{
    QStringList fields;
    for (int ch = 0; ch < 4; ++ch) {
        if (markers[ch])
            fields << QStringLiteral("k%1_sel").arg(ch + 1);
    }
    return fields;
}

} // namespace

QStringList emptyFields(const SinglePortConfig &config)
{
    const singleport::Markers markers = config.validate();
    QStringList fields = channelFields(markers.channel);
    if (markers.powerGood)
        fields << QStringLiteral("pgood_sel_");
    if (markers.tripDelay)
        fields << QStringLiteral("abschaltzeit");
    return fields;
}

QStringList emptyFields(const TwoPortConfig &config)
{
    const twoport::Markers markers = config.validate();
    QStringList fields = channelFields(markers.channel);
    if (markers.powerGood)
        fields << QStringLiteral("pgood_sel_");
    return fields;
}

Family familyOf(ModuleVariant variant)
{
    return variant == ModuleVariant::FourChannelTwoPort ? Family::TwoPort : Family::SinglePort;
}

Result loadSinglePort(const QString &path, ModuleVariant variant, SinglePortConfig &config)
{
    return loadSinglePort(configfile::readLines(path), variant, config);
}

Result loadTwoPort(const QString &path, TwoPortConfig &config)
{
    return loadTwoPort(configfile::readLines(path), config);
}

Result loadSinglePort(const QStringList &lines, ModuleVariant variant, SinglePortConfig &config)
{
    Result result;
    config = SinglePortConfig();
    config.rebuildChannelLists(variant);
    if (rejected(singleportfile::apply(lines, config), result)) {
        if (result.kind == Result::FileError && isTwoPortFile(lines))
            result.kind = Result::OtherFamily;
        return result;
    }
    result.emptyFields = emptyFields(config);
    if (!result.emptyFields.isEmpty())
        result.kind = Result::Incomplete;
    return result;
}

Result loadTwoPort(const QStringList &lines, TwoPortConfig &config)
{
    Result result;
    config = TwoPortConfig();
    if (rejected(twoportfile::apply(lines, config), result)) {
        if (result.kind == Result::FileError && isSinglePortFile(lines))
            result.kind = Result::OtherFamily;
        return result;
    }
    result.emptyFields = emptyFields(config);
    if (!result.emptyFields.isEmpty())
        result.kind = Result::Incomplete;
    return result;
}

} // namespace configfilecheck
