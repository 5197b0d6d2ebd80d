#include "cli/monitorrecord.h"

#include "link/statustelegram.h"

#include <QStringList>

namespace monitorrecord {

namespace {

const char *const LampNames[LampCount] = {
    "mb1_1", "mb1_2", "mb1_3", "mb1_4", "mb1_5", "mb1_6", "mb1_7", "mb1_8", "mb2", "mb2_2",
};

quint16 word(const QByteArray &frame, int offset)
{
    return quint16(quint8(frame.at(offset)) << 8 | quint8(frame.at(offset + 1)));
}

// Hundredths with a decimal point and both decimals: 1234 -> "12.34".
QString hundredths(quint16 value)
{
    return QString::asprintf("%d.%02d", value / 100, value % 100);
}

// The fields in column order; an empty optional for a field of an absent channel.
struct Field
{
    QString name;
    std::optional<QString> text;   // as it is printed
    bool number = false;           // printed bare in JSON, else as a string
};

QList<Field> fields(const Record &r)
{
    QList<Field> f;
    f << Field{QStringLiteral("time"), isoTime(r.time), false};
    f << Field{QStringLiteral("variant"), variantName(r.variant), false};
    const auto perChannel = [&](const QString &pattern, auto text) {
        for (int ch = 0; ch < ChannelCount; ++ch) {
            Field field{pattern.arg(ch + 1), std::nullopt, true};
            if (ch < r.channels)
                field.text = text(ch);
            f << field;
        }
    };
    perChannel(QStringLiteral("i%1"), [&](int ch) { return hundredths(r.current[ch]); });
    perChannel(QStringLiteral("i%1_max"), [&](int ch) { return hundredths(r.maxCurrent[ch]); });
    f << Field{QStringLiteral("uin"), hundredths(r.uin), true};
    f << Field{QStringLiteral("uin_min"), hundredths(r.uinMin), true};
    perChannel(QStringLiteral("i%1_endwert"), [&](int ch) { return QString::number(r.rated[ch]); });
    for (int lamp = 0; lamp < LampCount; ++lamp) {
        // Lamps 4..7 belong to channels 3 and 4.
        const bool present = lamp < 4 || lamp >= 8 || r.channels == 4;
        Field field{QLatin1String(LampNames[lamp]), std::nullopt, true};
        if (present)
            field.text = r.lamps[lamp] ? QStringLiteral("1") : QStringLiteral("0");
        f << field;
    }
    return f;
}

QString jsonString(const QString &text)
{
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\\'))
            out += QLatin1Char('\\') + c;
        else if (c.unicode() < 0x20)
            out += QString::asprintf("\\u%04x", c.unicode());
        else
            out += c;
    }
    return out + QLatin1Char('"');
}

} // namespace

std::optional<Record> fromFrame(const QByteArray &frame, const QDateTime &time)
{
    // The decoder decides what is accepted, exactly as for the main window.
    const status::Decoded decoded = status::decode(frame);
    if (decoded.outcome != status::Decoded::Valid)
        return std::nullopt;
    Record r;
    r.time = time;
    r.variant = decoded.variant;
    r.channels = isFourChannel(decoded.variant) ? 4 : 2;
    for (int ch = 0; ch < ChannelCount; ++ch) {
        r.current[ch] = word(frame, 4 + 2 * ch);
        r.maxCurrent[ch] = word(frame, 12 + 2 * ch);
    }
    r.uin = word(frame, 20);
    r.uinMin = word(frame, 22);
    const quint8 rated12 = quint8(frame.at(24));
    const quint8 rated34 = quint8(frame.at(25));
    r.rated = {quint8(rated12 & 0x0F), quint8(rated12 >> 4), quint8(rated34 & 0x0F), quint8(rated34 >> 4)};
    for (int lamp = 0; lamp < LampCount; ++lamp)
        r.lamps[lamp] = decoded.lamps[lamp];
    return r;
}

QString variantName(ModuleVariant variant)
{
    switch (variant) {
    case ModuleVariant::TwoChannel6A: return QStringLiteral("TwoChannel6A");
    case ModuleVariant::TwoChannel10A: return QStringLiteral("TwoChannel10A");
    case ModuleVariant::FourChannelTwoPort: return QStringLiteral("FourChannelTwoPort");
    case ModuleVariant::FourChannel10A: return QStringLiteral("FourChannel10A");
    case ModuleVariant::FourChannel6A: return QStringLiteral("FourChannel6A");
    }
    return QString();
}

QStringList columnNames()
{
    QStringList names;
    for (const Field &f : fields(Record{}))
        names << f.name;
    return names;
}

QString csvField(const QString &text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"'))
        && !text.contains(QLatin1Char('\r')) && !text.contains(QLatin1Char('\n')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QByteArray csvHeader()
{
    QStringList cells;
    for (const QString &name : columnNames())
        cells << csvField(name);
    return cells.join(QLatin1Char(',')).toUtf8() + '\n';
}

QByteArray csvLine(const Record &record)
{
    QStringList cells;
    for (const Field &f : fields(record))
        cells << csvField(f.text.value_or(QString()));
    return cells.join(QLatin1Char(',')).toUtf8() + '\n';
}

QByteArray jsonLine(const Record &record)
{
    // Written by hand: QJsonObject sorts its keys and prints 3.00 as 3.
    QStringList members;
    for (const Field &f : fields(record)) {
        QString value;
        if (!f.text)
            value = QStringLiteral("null");
        else if (f.number)
            value = *f.text;
        else
            value = jsonString(*f.text);
        members << QLatin1Char('"') + f.name + QLatin1String("\":") + value;
    }
    return (QLatin1Char('{') + members.join(QLatin1Char(',')) + QLatin1Char('}')).toUtf8() + "\n";
}

QString isoTime(const QDateTime &time)
{
    // With the offset written out, so that records of different machines compare.
    const QDateTime withOffset = time.toOffsetFromUtc(time.offsetFromUtc());
    return withOffset.toString(Qt::ISODateWithMs);
}

} // namespace monitorrecord
