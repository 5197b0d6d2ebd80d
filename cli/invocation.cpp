#include "cli/invocation.h"

#include "cli/fusectltexts.h"
#include "link/portnames.h"

#include <QCommandLineParser>
#include <QRegularExpression>

namespace invocation {

using fusectltext::tr;

std::optional<QString> portDeviceName(const QString &argument)
{
    const QString name = portnames::deviceNameFromText(argument);
    return name.isEmpty() ? std::nullopt : std::optional<QString>(name);
}

std::optional<ModuleVariant> parseVariant(const QString &text)
{
    const ModuleVariant all[] = {ModuleVariant::TwoChannel6A, ModuleVariant::TwoChannel10A,
                                 ModuleVariant::FourChannelTwoPort, ModuleVariant::FourChannel10A,
                                 ModuleVariant::FourChannel6A};
    static const char *const names[] = {"TwoChannel6A", "TwoChannel10A", "FourChannelTwoPort",
                                        "FourChannel10A", "FourChannel6A"};
    for (int i = 0; i < 5; ++i) {
        if (text.compare(QLatin1String(names[i]), Qt::CaseInsensitive) == 0)
            return all[i];
    }
    QString hex = text;
    if (hex.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        hex = hex.mid(2);
    if (hex.size() != 2)
        return std::nullopt;
    bool ok = false;
    const int type = hex.toInt(&ok, 16);
    return ok ? variantFromTypeByte(quint8(type)) : std::nullopt;
}

namespace {

struct Options
{
    QCommandLineOption seconds{QStringLiteral("seconds"), tr(fusectltext::OptionSeconds), QStringLiteral("N")};
    QCommandLineOption format{QStringLiteral("format"), tr(fusectltext::OptionFormat), QStringLiteral("csv|json")};
    QCommandLineOption output{{QStringLiteral("o"), QStringLiteral("output")}, tr(fusectltext::OptionOutput),
                              QStringLiteral("FILE")};
    QCommandLineOption variant{QStringLiteral("variant"), tr(fusectltext::OptionVariant), QStringLiteral("TYPE")};
    QCommandLineOption verify{QStringLiteral("verify"), tr(fusectltext::OptionVerify)};
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")}, tr(fusectltext::OptionHelp)};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")}, tr(fusectltext::OptionVersion)};

    void addTo(QCommandLineParser &parser) const
    {
        parser.addOptions({seconds, format, output, variant, verify, help, version});
    }
};

void describe(QCommandLineParser &parser)
{
    parser.setApplicationDescription(tr(fusectltext::Description));
    parser.addPositionalArgument(QStringLiteral("monitor"), QStringLiteral("PORT [--seconds N] [--format csv|json]"));
    parser.addPositionalArgument(QStringLiteral("info"), QStringLiteral("PORT"));
    parser.addPositionalArgument(QStringLiteral("read"), QStringLiteral("PORT [-o FILE] [--variant TYPE]"));
    parser.addPositionalArgument(QStringLiteral("write"), QStringLiteral("PORT FILE [--verify] [--variant TYPE]"));
    parser.addPositionalArgument(QStringLiteral("ports"), QStringLiteral("[--format text|json]"));
}

} // namespace

Parsed parse(const QStringList &arguments)
{
    Parsed result;
    QCommandLineParser parser;
    Options o;
    o.addTo(parser);
    describe(parser);
    if (!parser.parse(arguments)) {
        result.error = tr(fusectltext::OptionError).arg(parser.errorText());
        return result;
    }
    if (parser.isSet(o.help)) {
        result.help = true;
        return result;
    }
    if (parser.isSet(o.version)) {
        result.version = true;
        return result;
    }

    QStringList args = parser.positionalArguments();
    if (args.isEmpty()) {
        result.error = tr(fusectltext::NoCommand);
        return result;
    }
    Invocation inv;
    const QString command = args.takeFirst();
    if (command == QLatin1String("monitor"))
        inv.command = Command::Monitor;
    else if (command == QLatin1String("info"))
        inv.command = Command::Info;
    else if (command == QLatin1String("read"))
        inv.command = Command::Read;
    else if (command == QLatin1String("write"))
        inv.command = Command::Write;
    else if (command == QLatin1String("ports"))
        inv.command = Command::Ports;
    else {
        result.error = tr(fusectltext::UnknownCommand).arg(command);
        return result;
    }

    // Which options each command takes.
    const auto refuse = [&](const QCommandLineOption &option, bool allowed) {
        if (allowed || !parser.isSet(option))
            return false;
        result.error = tr(fusectltext::OptionNotForCommand)
                           .arg(QStringLiteral("--") + option.names().last(), command);
        return true;
    };
    const bool monitor = inv.command == Command::Monitor;
    const bool ports = inv.command == Command::Ports;
    if (refuse(o.seconds, monitor) || refuse(o.format, monitor || ports) || refuse(o.variant, inv.command == Command::Read || inv.command == Command::Write)
        || refuse(o.output, inv.command == Command::Read) || refuse(o.verify, inv.command == Command::Write))
        return result;

    if (ports) {
        inv.format = Format::Text;
        if (!args.isEmpty()) {
            result.error = tr(fusectltext::ExtraArguments).arg(args.join(QLatin1Char(' ')));
            return result;
        }
        if (parser.isSet(o.format)) {
            const QString f = parser.value(o.format);
            if (f != QLatin1String("text") && f != QLatin1String("json")) {
                result.error = tr(fusectltext::BadPortsFormat);
                return result;
            }
            inv.format = f == QLatin1String("json") ? Format::Json : Format::Text;
        }
        result.invocation = inv;
        return result;
    }
    if (args.isEmpty()) {
        result.error = tr(fusectltext::MissingPort);
        return result;
    }
    inv.portArgument = args.takeFirst();
    const auto device = portDeviceName(inv.portArgument);
    if (!device) {
        result.error = tr(fusectltext::BadPort).arg(inv.portArgument);
        return result;
    }
    inv.portDeviceName = *device;
    if (inv.command == Command::Write) {
        if (args.isEmpty()) {
            result.error = tr(fusectltext::MissingFile);
            return result;
        }
        inv.configFile = args.takeFirst();
    }
    if (!args.isEmpty()) {
        result.error = tr(fusectltext::ExtraArguments).arg(args.join(QLatin1Char(' ')));
        return result;
    }

    if (parser.isSet(o.seconds)) {
        bool ok = false;
        inv.seconds = parser.value(o.seconds).toInt(&ok);
        if (!ok || inv.seconds <= 0) {
            result.error = tr(fusectltext::BadSeconds);
            return result;
        }
    }
    if (parser.isSet(o.format)) {
        const QString f = parser.value(o.format);
        if (f == QLatin1String("csv"))
            inv.format = Format::Csv;
        else if (f == QLatin1String("json"))
            inv.format = Format::Json;
        else {
            result.error = tr(fusectltext::BadFormat);
            return result;
        }
    }
    if (parser.isSet(o.variant)) {
        inv.variant = parseVariant(parser.value(o.variant));
        if (!inv.variant) {
            result.error = tr(fusectltext::BadVariant).arg(parser.value(o.variant));
            return result;
        }
    }
    inv.outputFile = parser.value(o.output);
    inv.verify = parser.isSet(o.verify);
    result.invocation = inv;
    return result;
}

QString helpText()
{
    QCommandLineParser parser;
    Options o;
    o.addTo(parser);
    describe(parser);
    QString text = parser.helpText();
    text += QLatin1Char('\n') + tr(fusectltext::CommandsHeading) + QLatin1Char('\n');
    text += QStringLiteral("  monitor  ") + tr(fusectltext::HelpMonitor) + QLatin1Char('\n');
    text += QStringLiteral("  info     ") + tr(fusectltext::HelpInfo) + QLatin1Char('\n');
    text += QStringLiteral("  read     ") + tr(fusectltext::HelpRead) + QLatin1Char('\n');
    text += QStringLiteral("  write    ") + tr(fusectltext::HelpWrite) + QLatin1Char('\n');
    text += QStringLiteral("  ports    ") + tr(fusectltext::HelpPorts) + QLatin1Char('\n');
    text += QLatin1Char('\n') + tr(fusectltext::HelpPort) + QLatin1Char('\n');
    text += tr(fusectltext::HelpExit) + QLatin1Char('\n');
    return text;
}

QString usageHint()
{
    return tr(fusectltext::UsageHint).arg(QStringLiteral("fusectl"));
}

} // namespace invocation
