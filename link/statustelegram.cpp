#include "statustelegram.h"

#include "frame.h"

namespace status {

QString measurement(quint8 hi, quint8 lo, const char *unit)
{
    const int raw = hi * 256 + lo;
    const int whole = raw / 100;
    const int hundredths = raw % 100;
    QString text;
    if (whole >= 100) {
        text = QString::number(whole) + QLatin1Char(',') + QString::number(hundredths / 10);
    } else {
        // Shortest decimal text, then brought to four characters.
        text = QString::number(whole);
        if (hundredths % 10 != 0)
            text += QLatin1Char(',') + QString::asprintf("%02d", hundredths);
        else if (hundredths != 0)
            text += QLatin1Char(',') + QString::number(hundredths / 10);
        switch (text.size()) {
        case 1: text += QLatin1String(",00"); break;
        case 2: text += QLatin1String(",0"); break;
        case 3: text += QLatin1Char('0'); break;
        default: text.truncate(4); break;
        }
    }
    return text + QLatin1String(unit);
}

QString ratedCurrent(quint8 nibble)
{
    return nibble == 0 ? QStringLiteral("Off") : QString::number(nibble) + QLatin1String(" Adc");
}

Decoded decode(const QByteArray &frame)
{
    Decoded d;
    if (frame.size() < MinLength)
        return d;
    const auto variant = variantFromTypeByte(quint8(frame.at(1)));
    if (!variant)
        return d;
    d.variant = *variant;
    if (!frame::checkByteMatches(frame, CheckOffset)) {
        d.outcome = Decoded::BadCheck;
        return d;
    }
    d.outcome = Decoded::Valid;

    const auto byte = [&](int i) { return quint8(frame.at(i)); };
    const bool four = isFourChannel(d.variant);
    for (int bit = 0; bit < 8; ++bit)
        d.lamps[bit] = (bit < 4 || four) && (byte(2) & (1 << bit));
    d.lamps[PowerGood] = byte(3) & 0x01;
    d.lamps[HardwareFault] = byte(3) & 0x02;

    const auto current = [&](int offset) { return measurement(byte(offset), byte(offset + 1), " Adc"); };
    const int channels = four ? 4 : 2;
    for (int ch = 0; ch < channels; ++ch) {
        d.values[I1 + ch] = current(4 + 2 * ch);
        d.values[I1Max + ch] = current(12 + 2 * ch);
    }
    d.values[Uin] = measurement(byte(20), byte(21), " Vdc");
    d.values[UinMin] = measurement(byte(22), byte(23), " Vdc");
    d.values[I1Rated] = ratedCurrent(byte(24) & 0x0F);
    d.values[I2Rated] = ratedCurrent(byte(24) >> 4);
    if (four) {
        d.values[I3Rated] = ratedCurrent(byte(25) & 0x0F);
        d.values[I4Rated] = ratedCurrent(byte(25) >> 4);
    }
    return d;
}

} // namespace status
