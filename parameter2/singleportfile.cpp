#include "parameter2/singleportfile.h"

namespace singleportfile {

namespace {

using configfile::FieldReader;
using configfile::hexByte;
using configfile::separatorAt;

// Line 2; false when the load stops.
bool applyLine2(const QString &line, SinglePortConfig &config, LoadResult &result)
{
    if (line.size() != 12) {
        result.errorCode = Line2Length;
        return true;
    }
    FieldReader hex{line, result};
    if (separatorAt(line, 2, ',')) {
        const auto ch1 = hex(1, 1);
        if (!ch1) return false;
        config.selectCurrent(0, *ch1);
        const auto ch2 = hex(0, 1);
        if (!ch2) return false;
        config.selectCurrent(1, *ch2);
    } else {
        result.errorCode = Line2Separator1;
    }
    if (separatorAt(line, 5, ',')) {
        const auto ch3 = hex(4, 1);
        if (!ch3) return false;
        config.selectCurrent(2, *ch3);
        const auto ch4 = hex(3, 1);
        if (!ch4) return false;
        config.selectCurrent(3, *ch4);
    } else {
        result.errorCode = Line2Separator2;
    }
    if (separatorAt(line, 8, ',')) {
        // Modulo 100 maps the codes 200 .. 240 onto the items 0 .. 40.
        const auto code = hex(6, 2);
        if (!code) return false;
        config.selectPowerGood(*code % 100);
    } else {
        result.errorCode = Line2Separator3;
    }
    if (separatorAt(line, 11, ';')) {
        const auto delay = hex(9, 2);
        if (!delay) return false;
        config.selectTripDelay(*delay);
    } else {
        result.errorCode = Line2Terminator;
    }
    return true;
}

// Line 3; false when the load stops.
bool applyLine3(const QString &line, SinglePortConfig &config, LoadResult &result)
{
    if (line.size() != 6) {
        result.errorCode = Line3Length;
        return true;
    }
    FieldReader hex{line, result};
    if (separatorAt(line, 2, ',')) {
        const auto mask1 = hex(0, 2);
        if (!mask1) return false;
        config.events = quint8(*mask1);
    } else {
        result.errorCode = Line3Separator;
    }
    if (separatorAt(line, 5, ';')) {
        const auto mask2 = hex(3, 2);
        if (!mask2) return false;
        config.setSignalMask2(quint8(*mask2), true);
    } else {
        result.errorCode = Line3Terminator;
    }
    return true;
}

} // namespace

std::optional<QStringList> lines(const SinglePortConfig &config)
{
    if (!config.isComplete())
        return std::nullopt;
    return QStringList{
        QString::fromLatin1(Header),
        hexByte(config.channelByte12()) + ',' + hexByte(config.channelByte34()) + ','
            + hexByte(config.powerGoodCode()) + ',' + hexByte(config.tripDelay) + ';',
        hexByte(config.events) + ',' + hexByte(config.signalMask2()) + ';',
        QString::fromLatin1(Marker),
    };
}

std::optional<QByteArray> contents(const SinglePortConfig &config)
{
    return configfile::contents(lines(config));
}

bool save(const QString &path, const SinglePortConfig &config)
{
    return configfile::save(path, lines(config));
}

LoadResult apply(const QStringList &fileLines, SinglePortConfig &config)
{
    const LoadResult result = configfile::apply(
        fileLines, {WrongHeaderOrMarkerLength, WrongHeaderOrMarker},
        [&config](const QString &line, LoadResult &r) { return applyLine2(line, config, r); },
        [&config](const QString &line, LoadResult &r) { return applyLine3(line, config, r); });
    // A rejected file leaves the controls empty; a load stopped by text keeps what it entered.
    if (result.errorCode != NoError) {
        config.clearSelections();
        config.uncheckBoxesKeepingRelease();
    }
    return result;
}

LoadResult load(const QString &path, SinglePortConfig &config)
{
    return apply(configfile::readLines(path), config);
}

} // namespace singleportfile
