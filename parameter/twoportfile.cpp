#include "parameter/twoportfile.h"

namespace twoportfile {

namespace {

constexpr int Line2Length_ = 15;
constexpr int Line3Length_ = 12;
constexpr int TripTimeDigitLimit = 5;

using configfile::FieldReader;
using configfile::hexByte;
using configfile::separatorAt;

// Line 2; false when the load stops.
bool applyLine2(const QString &line, TwoPortConfig &config, LoadResult &result)
{
    if (line.size() != Line2Length_) {
        result.errorCode = Line2Length;
        return true;
    }
    FieldReader hex{line, result};
    // A load that stops before the trip-time lists are rebuilt leaves them as they were
    // (a time the new current does not allow is sent as 0).
    const auto stop = [] { return false; };
    const auto enterCurrent = [&](int channel, int offset) {
        const auto digit = hex(offset, 1);
        if (!digit)
            return false;
        config.selectCurrent(channel, *digit);
        return true;
    };

    if (separatorAt(line, 2, ',')) {
        if (!enterCurrent(0, 1) || !enterCurrent(1, 0))
            return stop();
    } else {
        result.errorCode = Line2Separator1;
    }
    if (separatorAt(line, 5, ',')) {
        if (!enterCurrent(2, 4) || !enterCurrent(3, 3))
            return stop();
    } else {
        result.errorCode = Line2Separator2;
    }
    if (separatorAt(line, 8, ',')) {
        // Modulo 100 maps the codes 200 .. 240 ("C8" .. "F0") onto the items 0 .. 40.
        const auto code = hex(6, 2);
        if (!code)
            return stop();
        config.selectPowerGood(*code % 100);
    } else {
        result.errorCode = Line2Separator3;
    }

    config.fillTripTimesFromCurrents();

    const auto enterTripTime = [&](int channel, int offset) {
        const auto digit = hex(offset, 1);
        if (!digit)
            return false;
        if (*digit < TripTimeDigitLimit)
            config.selectTripTime(channel, *digit);
        return true;
    };
    if (separatorAt(line, 11, ',')) {
        if (!enterTripTime(0, 10) || !enterTripTime(1, 9))
            return false;
    } else {
        result.errorCode = Line2Separator4;
    }
    if (separatorAt(line, 14, ';')) {
        if (!enterTripTime(2, 13) || !enterTripTime(3, 12))
            return false;
    } else {
        result.errorCode = Line2Terminator;
    }
    return true;
}

// Line 3; false when the load stops.
bool applyLine3(const QString &line, TwoPortConfig &config, LoadResult &result)
{
    if (line.size() != Line3Length_) {
        result.errorCode = Line3Length;
        return true;
    }
    FieldReader hex{line, result};
    if (separatorAt(line, 2, ',')) {
        const auto byte = hex(0, 2);
        if (!byte) return false;
        config.setPort1Byte1(quint8(*byte));
    } else {
        result.errorCode = Line3Separator1;
    }
    if (separatorAt(line, 5, ',')) {
        const auto byte = hex(3, 2);
        if (!byte) return false;
        config.setPort1Byte2(quint8(*byte), true);
    } else {
        result.errorCode = Line3Separator2;
    }
    if (separatorAt(line, 8, ',')) {
        const auto byte = hex(6, 2);
        if (!byte) return false;
        config.setPort2Byte1(quint8(*byte));
    } else {
        result.errorCode = Line3Separator3;
    }
    if (separatorAt(line, 11, ';')) {
        const auto byte = hex(9, 2);
        if (!byte) return false;
        config.setPort2Byte2(quint8(*byte));
    } else {
        result.errorCode = Line3Terminator;
    }
    return true;
}

} // namespace

std::optional<QStringList> lines(const TwoPortConfig &config)
{
    if (!config.isComplete())
        return std::nullopt;
    return QStringList{
        QString::fromLatin1(Header),
        hexByte(config.channelByte12()) + ',' + hexByte(config.channelByte34()) + ','
            + hexByte(config.powerGoodCode()) + ',' + hexByte(config.tripTimeByte12()) + ','
            + hexByte(config.tripTimeByte34()) + ';',
        hexByte(config.port1Byte1()) + ',' + hexByte(config.port1Byte2()) + ',' + hexByte(config.port2Byte1())
            + ',' + hexByte(config.port2Byte2()) + ';',
        QString::fromLatin1(Marker),
    };
}

std::optional<QByteArray> contents(const TwoPortConfig &config)
{
    return configfile::contents(lines(config));
}

bool save(const QString &path, const TwoPortConfig &config)
{
    return configfile::save(path, lines(config));
}

LoadResult apply(const QStringList &fileLines, TwoPortConfig &config)
{
    return configfile::apply(
        fileLines, {WrongHeaderOrMarkerLength, WrongHeaderOrMarker},
        [&config](const QString &line, LoadResult &result) { return applyLine2(line, config, result); },
        [&config](const QString &line, LoadResult &result) { return applyLine3(line, config, result); });
}

LoadResult load(const QString &path, TwoPortConfig &config)
{
    return apply(configfile::readLines(path), config);
}

} // namespace twoportfile
