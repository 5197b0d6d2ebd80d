#include "cli/configcompare.h"

namespace configcompare {

namespace {

QString caption(const QStringList &items, int index)
{
    return index >= 0 && index < items.size() ? items.at(index) : QStringLiteral("-");
}

QString boxText(bool checked)
{
    return checked ? QStringLiteral("1") : QStringLiteral("0");
}

struct Collector
{
    QList<Difference> list;

    void add(const QString &field, const QString &written, const QString &read)
    {
        if (written != read)
            list << Difference{field, written, read};
    }
    // The eight event boxes of one output: portN_byte1_01 .. portN_byte1_80.
    void events(int port, quint8 written, quint8 read)
    {
        for (int bit = 0; bit < 8; ++bit) {
            const quint8 mask = quint8(1u << bit);
            add(QStringLiteral("port%1_byte1_%2").arg(port).arg(mask, 2, 16, QLatin1Char('0')),
                boxText(written & mask), boxText(read & mask));
        }
    }
};

} // namespace

QList<Difference> compare(const SinglePortConfig &written, const SinglePortConfig &read)
{
    Collector c;
    // No variant's current list goes beyond "10".
    const QStringList currents = singleport::currentLimitItems(10);
    for (int ch = 0; ch < singleport::ChannelCount; ++ch)
        c.add(QStringLiteral("k%1_sel").arg(ch + 1), caption(currents, written.channel[ch]),
              caption(currents, read.channel[ch]));
    const QStringList pg = singleport::powerGoodItems();
    c.add(QStringLiteral("pgood_sel_"), caption(pg, written.powerGood), caption(pg, read.powerGood));
    const QStringList delays = singleport::tripDelayItems();
    c.add(QStringLiteral("abschaltzeit"), caption(delays, written.tripDelay), caption(delays, read.tripDelay));
    c.events(1, written.events, read.events);
    c.add(QStringLiteral("port1_byte2_01"), boxText(written.lowInputVoltage), boxText(read.lowInputVoltage));
    c.add(QStringLiteral("port1_byte2_02"), boxText(written.hardwareFault), boxText(read.hardwareFault));
    c.add(QStringLiteral("port1_byte2_40"), boxText(written.invertOutput), boxText(read.invertOutput));
    c.add(QStringLiteral("programmieren"), boxText(written.allowProgramming), boxText(read.allowProgramming));
    return c.list;
}

QList<Difference> compare(const TwoPortConfig &written, const TwoPortConfig &read)
{
    Collector c;
    const QStringList currents = twoport::currentItems();
    const QStringList times = twoport::tripTimeItems();
    for (int ch = 0; ch < twoport::ChannelCount; ++ch)
        c.add(QStringLiteral("k%1_sel").arg(ch + 1), caption(currents, written.current[ch]),
              caption(currents, read.current[ch]));
    for (int ch = 0; ch < twoport::ChannelCount; ++ch)
        c.add(QStringLiteral("k%1_time").arg(ch + 1), caption(times, written.tripTimeIndex(ch)),
              caption(times, read.tripTimeIndex(ch)));
    const QStringList pg = twoport::powerGoodItems();
    c.add(QStringLiteral("pgood_sel_"), caption(pg, written.powerGood), caption(pg, read.powerGood));
    for (int port = 0; port < twoport::PortCount; ++port) {
        c.events(port + 1, written.port[port].events, read.port[port].events);
        for (const quint8 mask : {twoport::LowInputVoltage, twoport::HardwareFault, twoport::InvertOutput})
            c.add(QStringLiteral("port%1_byte2_%2").arg(port + 1).arg(mask, 2, 16, QLatin1Char('0')),
                  boxText(written.port[port].flags & mask), boxText(read.port[port].flags & mask));
    }
    c.add(QStringLiteral("programmieren"), boxText(written.programmieren), boxText(read.programmieren));
    return c.list;
}

} // namespace configcompare
