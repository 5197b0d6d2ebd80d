#include "parameter2/singleportfile.h"

#include "config/configfile.h"

namespace singleportfile {

namespace {


using configfile::hexByte;
using configfile::hexValue;

// Converts text at line[offset .. offset+length); stops the load on text that is no number.
struct Converter {
    const QString &line;
    LoadResult &result;

    std::optional<int> operator()(int offset, int length)
    {
        const QString text = line.mid(offset, length);
        const auto value = hexValue(text);
        if (!value) {
            result.notHexadecimal = true;
            result.invalidText = text;
        }
        return value;
    }
};

// Line 2; false when the load stops.
bool applyLine2(const QString &line, SinglePortConfig &config, LoadResult &result)
{
    if (line.size() != 12) {
        result.errorCode = Line2Length;
        return true;
    }
    Converter hex{line, result};
    if (line.at(2) == QLatin1Char(',')) {
        const auto ch1 = hex(1, 1);
        if (!ch1) return false;
        config.selectChannel(0, *ch1);
        const auto ch2 = hex(0, 1);
        if (!ch2) return false;
        config.selectChannel(1, *ch2);
    } else {
        result.errorCode = Line2Separator1;
    }
    if (line.at(5) == QLatin1Char(',')) {
        const auto ch3 = hex(4, 1);
        if (!ch3) return false;
        config.selectChannel(2, *ch3);
        const auto ch4 = hex(3, 1);
        if (!ch4) return false;
        config.selectChannel(3, *ch4);
    } else {
        result.errorCode = Line2Separator2;
    }
    if (line.at(8) == QLatin1Char(',')) {
        // Modulo 100 maps the codes 200 .. 240 onto the items 0 .. 40.
        const auto code = hex(6, 2);
        if (!code) return false;
        config.selectPowerGood(*code % 100);
    } else {
        result.errorCode = Line2Separator3;
    }
    if (line.at(11) == QLatin1Char(';')) {
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
    Converter hex{line, result};
    if (line.at(2) == QLatin1Char(',')) {
        const auto mask1 = hex(0, 2);
        if (!mask1) return false;
        config.events = quint8(*mask1);
    } else {
        result.errorCode = Line3Separator;
    }
    if (line.at(5) == QLatin1Char(';')) {
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
    const auto l = lines(config);
    if (!l)
        return std::nullopt;
    return configfile::contents(*l);
}

bool save(const QString &path, const SinglePortConfig &config)
{
    const auto bytes = contents(config);
    return bytes && configfile::save(path, *bytes);
}

QStringList readLines(const QString &path)
{
    return configfile::readLines(path);
}

LoadResult apply(const QStringList &fileLines, SinglePortConfig &config)
{
    LoadResult result;
    const QString line1 = fileLines.value(0);
    const QString line2 = fileLines.value(1);
    const QString line3 = fileLines.value(2);
    const QString line4 = fileLines.value(3);

    if (line1.size() != 6 || line4.size() != 14) {
        result.errorCode = WrongHeaderOrMarkerLength;
    } else if (line1 != QLatin1String(Header) || line4 != QLatin1String(Marker)) {
        result.errorCode = WrongHeaderOrMarker;
    } else {
        // Text that is no number stops the load where it stands: no code, no reset.
        if (!applyLine2(line2, config, result) || !applyLine3(line3, config, result)) {
            result.errorCode = NoError;
            return result;
        }
    }

    if (result.errorCode != NoError) {
        config.clearSelections();
        config.uncheckBoxesKeepingRelease();
    }
    return result;
}

LoadResult load(const QString &path, SinglePortConfig &config)
{
    return apply(readLines(path), config);
}

} // namespace singleportfile
