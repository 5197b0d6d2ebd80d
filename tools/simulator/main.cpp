// fuse-simulator: an electronic fuse module on a pseudo-terminal, linked as
// <userPortsFolder>/COMn so that the tool opens it as "\\.\COMn". See tools/README.md.

#include "modulesimulator.h"
#include "simulatorhost.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

namespace {

bool fail(const QString &message)
{
    std::fprintf(stderr, "fuse-simulator: %s\n", qPrintable(message));
    return false;
}

// "a,b,c,d" with up to four numbers in [0, max] into values.
template<typename T>
bool parseList(const QString &text, int max, std::array<T, 4> &values)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.isEmpty() || parts.size() > 4)
        return false;
    for (int i = 0; i < parts.size(); ++i) {
        bool ok = false;
        const int v = parts[i].trimmed().toInt(&ok);
        if (!ok || v < 0 || v > max)
            return false;
        values[i] = T(v);
    }
    return true;
}

bool parseNumber(const QString &text, int base, int max, int *value)
{
    bool ok = false;
    const int v = text.toInt(&ok, base);
    if (!ok || v < 0 || v > max)
        return false;
    *value = v;
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("fuse-simulator"));
    QCoreApplication::setApplicationVersion(QStringLiteral(FUSE_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Simulates an electronic fuse module on a pseudo-terminal linked as COMn in the user's ports "
        "folder. Commands are read line by line on stdin; see man fuse-simulator."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("Port name, COM1 to COM20."),
                                  QStringLiteral("COMn"), QStringLiteral("COM1"));
    const QCommandLineOption variant(QStringLiteral("variant"), QStringLiteral("Type byte in hex: 11, 13, 15, 17, 19."),
                                     QStringLiteral("hex"), QStringLiteral("17"));
    const QCommandLineOption rate(QStringLiteral("rate"), QStringLiteral("Status telegrams per second, 0 = none."),
                                  QStringLiteral("n"), QStringLiteral("5"));
    const QCommandLineOption moving(QStringLiteral("moving"), QStringLiteral("Values change over time."));
    const QCommandLineOption paced(QStringLiteral("paced"), QStringLiteral("Write one character per character time."));
    const QCommandLineOption status1(QStringLiteral("status1"), QStringLiteral("Status byte 1 in hex."), QStringLiteral("hex"));
    const QCommandLineOption status2(QStringLiteral("status2"), QStringLiteral("Status byte 2 in hex."), QStringLiteral("hex"));
    const QCommandLineOption currents(QStringLiteral("currents"), QStringLiteral("Output currents in 0.01 A."), QStringLiteral("a,b,c,d"));
    const QCommandLineOption maxima(QStringLiteral("max"), QStringLiteral("Maximum output currents in 0.01 A."), QStringLiteral("a,b,c,d"));
    const QCommandLineOption uin(QStringLiteral("uin"), QStringLiteral("Input voltage in 0.01 V."), QStringLiteral("v"));
    const QCommandLineOption uinMin(QStringLiteral("uin-min"), QStringLiteral("Minimum input voltage in 0.01 V."), QStringLiteral("v"));
    const QCommandLineOption rated(QStringLiteral("rated"), QStringLiteral("Rated currents in whole amperes, 0 = off."), QStringLiteral("a,b,c,d"));
    const QCommandLineOption software(QStringLiteral("software"), QStringLiteral("Software version, four characters."),
                                      QStringLiteral("text"), QStringLiteral("1.07"));
    const QCommandLineOption seed(QStringLiteral("seed"), QStringLiteral("Seed of the moving values and of noise."),
                                  QStringLiteral("n"), QStringLiteral("1"));
    const QCommandLineOption stdinControl(QStringLiteral("stdin-control"),
                                          QStringLiteral("End when stdin ends (for test harnesses)."));
    parser.addOptions({port, variant, rate, moving, paced, status1, status2, currents, maxima, uin, uinMin,
                       rated, software, seed, stdinControl});
    parser.process(app);

    auto bad = [&](const QString &what) {
        fail(QStringLiteral("bad value for --") + what);
        return 2;
    };

    const QString portName = parser.value(port);
    int portNumber = 0;
    if (!portName.startsWith(QLatin1String("COM")) || !parseNumber(portName.mid(3), 10, 20, &portNumber)
        || portNumber < 1)
        return bad(QStringLiteral("port"));
    int type = 0;
    if (!parseNumber(parser.value(variant), 16, 255, &type))
        return bad(QStringLiteral("variant"));
    int seedValue = 0;
    if (!parseNumber(parser.value(seed), 10, 1 << 30, &seedValue))
        return bad(QStringLiteral("seed"));

    ModuleSimulator sim{quint8(type), quint32(seedValue)};
    bool ok = false;
    const double r = parser.value(rate).toDouble(&ok);
    if (!ok || r < 0 || r > 1000)
        return bad(QStringLiteral("rate"));
    sim.setRate(r);
    sim.setMoving(parser.isSet(moving));
    sim.setPaced(parser.isSet(paced));
    sim.setSoftwareVersion(parser.value(software).toLatin1());

    ModuleSimulator::Readings &v = sim.readings();
    int n = 0;
    if (parser.isSet(status1)) {
        if (!parseNumber(parser.value(status1), 16, 255, &n))
            return bad(QStringLiteral("status1"));
        v.status1 = quint8(n);
    }
    if (parser.isSet(status2)) {
        if (!parseNumber(parser.value(status2), 16, 255, &n))
            return bad(QStringLiteral("status2"));
        v.status2 = quint8(n);
    }
    if (parser.isSet(currents) && !parseList(parser.value(currents), 65535, v.current))
        return bad(QStringLiteral("currents"));
    if (parser.isSet(maxima) && !parseList(parser.value(maxima), 65535, v.maxCurrent))
        return bad(QStringLiteral("max"));
    if (parser.isSet(uin)) {
        if (!parseNumber(parser.value(uin), 10, 65535, &n))
            return bad(QStringLiteral("uin"));
        v.uin = quint16(n);
    }
    if (parser.isSet(uinMin)) {
        if (!parseNumber(parser.value(uinMin), 10, 65535, &n))
            return bad(QStringLiteral("uin-min"));
        v.uinMin = quint16(n);
    }
    if (parser.isSet(rated) && !parseList(parser.value(rated), 15, v.rated))
        return bad(QStringLiteral("rated"));

    SimulatorHost host(sim, portNumber, parser.isSet(stdinControl));
    if (!host.appear())
        return 1;
    std::printf("%s\n", qPrintable(host.readyLine()));
    std::fflush(stdout);
    return host.run();
}
