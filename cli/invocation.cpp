#include "cli/invocation.h"

#include "cli/efusectltexts.h"
#include "link/portnames.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QRegularExpression>

namespace invocation {

using efusectltext::tr;

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

QString commandName(Command command)
{
    switch (command) {
    case Command::Monitor: return QStringLiteral("monitor");
    case Command::Info: return QStringLiteral("info");
    case Command::Read: return QStringLiteral("read");
    case Command::Write: return QStringLiteral("write");
    case Command::Ports: return QStringLiteral("ports");
    }
    return QString();
}

namespace {

constexpr Command AllCommands[] = {Command::Monitor, Command::Info, Command::Read, Command::Write,
                                   Command::Ports};

std::optional<Command> commandNamed(const QString &name)
{
    for (const Command c : AllCommands) {
        if (name == commandName(c))
            return c;
    }
    return std::nullopt;
}

struct Options
{
    QCommandLineOption seconds{QStringLiteral("seconds"), tr(efusectltext::OptionSeconds), QStringLiteral("N")};
    QCommandLineOption count{QStringLiteral("count"), tr(efusectltext::OptionCount), QStringLiteral("N")};
    QCommandLineOption format{QStringLiteral("format"), tr(efusectltext::OptionFormat), QStringLiteral("FORMAT")};
    QCommandLineOption output{{QStringLiteral("o"), QStringLiteral("output")}, tr(efusectltext::OptionOutput),
                              QStringLiteral("FILE")};
    QCommandLineOption variant{QStringLiteral("variant"), tr(efusectltext::OptionVariant), QStringLiteral("TYPE")};
    QCommandLineOption verify{QStringLiteral("verify"), tr(efusectltext::OptionVerify)};
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")}, tr(efusectltext::OptionHelp)};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")}, tr(efusectltext::OptionVersion)};

    void addTo(QCommandLineParser &parser) const
    {
        parser.addOptions({seconds, count, format, output, variant, verify, help, version});
    }
};

// The options of a command, as they are written in its help.
struct OptionHelp
{
    const char *names;
    const char *text;
};

QList<OptionHelp> optionsOf(Command command)
{
    switch (command) {
    case Command::Monitor:
        return {{"--seconds N", efusectltext::OptionSeconds}, {"--count N", efusectltext::OptionCount},
                {"--format csv|json", efusectltext::OptionFormat}};
    case Command::Info:
        return {{"--format text|json", efusectltext::OptionInfoFormat}};
    case Command::Read:
        return {{"-o, --output FILE", efusectltext::OptionOutput}, {"--variant TYPE", efusectltext::OptionVariant}};
    case Command::Write:
        return {{"--verify", efusectltext::OptionVerify}, {"--variant TYPE", efusectltext::OptionVariant}};
    case Command::Ports:
        return {{"--format text|json", efusectltext::OptionPortsFormat}};
    }
    return {};
}

QString synopsis(Command command)
{
    switch (command) {
    case Command::Monitor: return QStringLiteral("monitor PORT [--seconds N] [--count N] [--format csv|json]");
    case Command::Info: return QStringLiteral("info PORT [--format text|json]");
    case Command::Read: return QStringLiteral("read PORT [-o FILE|-] [--variant TYPE]");
    case Command::Write: return QStringLiteral("write PORT FILE|- [--verify] [--variant TYPE]");
    case Command::Ports: return QStringLiteral("ports [--format text|json]");
    }
    return QString();
}

const char *summaryOf(Command command)
{
    switch (command) {
    case Command::Monitor: return efusectltext::HelpMonitor;
    case Command::Info: return efusectltext::HelpInfo;
    case Command::Read: return efusectltext::HelpRead;
    case Command::Write: return efusectltext::HelpWrite;
    case Command::Ports: return efusectltext::HelpPorts;
    }
    return "";
}

QString optionLine(const QString &names, const QString &text)
{
    return QStringLiteral("  %1 %2\n").arg(names, -20).arg(text);
}

QString programName(const QStringList &arguments)
{
    const QString name = arguments.isEmpty() ? QString() : QFileInfo(arguments.first()).fileName();
    return name.isEmpty() ? QStringLiteral("efusectl") : name;
}

} // namespace

Parsed parse(const QStringList &arguments)
{
    Parsed result;
    result.program = programName(arguments);
    QCommandLineParser parser;
    Options o;
    o.addTo(parser);
    if (!parser.parse(arguments)) {
        result.error = tr(efusectltext::OptionError).arg(parser.errorText());
        return result;
    }
    QStringList args = parser.positionalArguments();

    // "help [COMMAND]" and "COMMAND --help".
    const bool helpCommand = !args.isEmpty() && args.first() == QLatin1String("help");
    if (helpCommand || parser.isSet(o.help)) {
        if (helpCommand)
            args.removeFirst();
        if (!args.isEmpty()) {
            result.helpCommand = commandNamed(args.first());
            if (!result.helpCommand) {
                result.error = tr(efusectltext::UnknownCommand).arg(args.first());
                return result;
            }
        }
        result.help = true;
        return result;
    }
    if (parser.isSet(o.version)) {
        result.version = true;
        return result;
    }

    if (args.isEmpty()) {
        result.error = tr(efusectltext::NoCommand);
        return result;
    }
    Invocation inv;
    const QString command = args.takeFirst();
    const std::optional<Command> named = commandNamed(command);
    if (!named) {
        result.error = tr(efusectltext::UnknownCommand).arg(command);
        return result;
    }
    inv.command = *named;

    // Which options each command takes.
    const auto refuse = [&](const QCommandLineOption &option, bool allowed) {
        if (allowed || !parser.isSet(option))
            return false;
        result.error = tr(efusectltext::OptionNotForCommand)
                           .arg(QStringLiteral("--") + option.names().last(), command);
        return true;
    };
    const bool monitor = inv.command == Command::Monitor;
    const bool ports = inv.command == Command::Ports;
    if (refuse(o.seconds, monitor) || refuse(o.count, monitor)
        || refuse(o.format, monitor || inv.command == Command::Info || ports)
        || refuse(o.variant, inv.command == Command::Read || inv.command == Command::Write)
        || refuse(o.output, inv.command == Command::Read) || refuse(o.verify, inv.command == Command::Write))
        return result;

    if (ports) {
        inv.format = Format::Text;
        if (!args.isEmpty()) {
            result.error = tr(efusectltext::ExtraArguments).arg(args.join(QLatin1Char(' ')));
            return result;
        }
        if (parser.isSet(o.format)) {
            const QString f = parser.value(o.format);
            if (f != QLatin1String("text") && f != QLatin1String("json")) {
                result.error = tr(efusectltext::BadPortsFormat);
                return result;
            }
            inv.format = f == QLatin1String("json") ? Format::Json : Format::Text;
        }
        result.invocation = inv;
        return result;
    }
    if (args.isEmpty()) {
        result.error = tr(efusectltext::MissingPort);
        return result;
    }
    inv.portArgument = args.takeFirst();
    const auto device = portDeviceName(inv.portArgument);
    if (!device) {
        result.error = tr(efusectltext::BadPort).arg(inv.portArgument);
        return result;
    }
    inv.portDeviceName = *device;
    if (inv.command == Command::Write) {
        if (args.isEmpty()) {
            result.error = tr(efusectltext::MissingFile);
            return result;
        }
        inv.configFile = args.takeFirst();
    }
    if (!args.isEmpty()) {
        result.error = tr(efusectltext::ExtraArguments).arg(args.join(QLatin1Char(' ')));
        return result;
    }

    const auto positive = [&](const QCommandLineOption &option, int &value, const char *error) {
        if (!parser.isSet(option))
            return true;
        bool ok = false;
        value = parser.value(option).toInt(&ok);
        if (ok && value > 0)
            return true;
        result.error = tr(error);
        return false;
    };
    if (!positive(o.seconds, inv.seconds, efusectltext::BadSeconds)
        || !positive(o.count, inv.count, efusectltext::BadCount))
        return result;
    if (parser.isSet(o.format)) {
        const QString f = parser.value(o.format);
        if (monitor && f == QLatin1String("csv"))
            inv.format = Format::Csv;
        else if (f == QLatin1String("json"))
            inv.format = Format::Json;
        else if (!monitor && f == QLatin1String("text"))
            inv.format = Format::Text;
        else {
            result.error = tr(monitor ? efusectltext::BadFormat : efusectltext::BadInfoFormat);
            return result;
        }
    }
    if (parser.isSet(o.variant)) {
        inv.variant = parseVariant(parser.value(o.variant));
        if (!inv.variant) {
            result.error = tr(efusectltext::BadVariant).arg(parser.value(o.variant));
            return result;
        }
    }
    inv.outputFile = parser.value(o.output);
    inv.verify = parser.isSet(o.verify);
    result.invocation = inv;
    return result;
}

QString helpText(const QString &program)
{
    QString text = tr(efusectltext::UsageLine).arg(program) + QLatin1Char('\n');
    text += tr(efusectltext::UsageHelpLine).arg(program) + QLatin1String("\n\n");
    text += tr(efusectltext::Description) + QLatin1String("\n\n");
    text += tr(efusectltext::CommandsHeading) + QLatin1Char('\n');
    for (const Command c : AllCommands)
        text += QStringLiteral("  %1\n      %2\n").arg(synopsis(c), tr(summaryOf(c)));
    text += QStringLiteral("  help [COMMAND]\n      %1\n").arg(tr(efusectltext::HelpHelp));
    text += QLatin1Char('\n') + tr(efusectltext::OptionsHeading) + QLatin1Char('\n');
    for (const Command c : AllCommands) {
        for (const OptionHelp &option : optionsOf(c)) {
            if (c == Command::Write && QLatin1String(option.names) == QLatin1String("--variant TYPE"))
                continue;   // listed once, under read
            text += optionLine(QLatin1String(option.names), tr(option.text));
        }
    }
    text += optionLine(QStringLiteral("-h, --help"), tr(efusectltext::OptionHelp));
    text += optionLine(QStringLiteral("-v, --version"), tr(efusectltext::OptionVersion));
    text += QLatin1Char('\n') + tr(efusectltext::HelpPort) + QLatin1Char('\n');
    text += tr(efusectltext::HelpDash) + QLatin1Char('\n');
    text += tr(efusectltext::HelpExit) + QLatin1Char('\n');
    return text;
}

QString commandHelp(Command command, const QString &program)
{
    QString text = tr(efusectltext::UsageCommand).arg(program, synopsis(command)) + QLatin1String("\n\n");
    text += tr(summaryOf(command)) + QLatin1String("\n\n");
    text += tr(efusectltext::OptionsHeading) + QLatin1Char('\n');
    for (const OptionHelp &option : optionsOf(command))
        text += optionLine(QLatin1String(option.names), tr(option.text));
    text += optionLine(QStringLiteral("-h, --help"), tr(efusectltext::OptionHelp));
    if (command != Command::Ports)
        text += QLatin1Char('\n') + tr(efusectltext::HelpPort) + QLatin1Char('\n');
    if (command == Command::Read || command == Command::Write)
        text += tr(efusectltext::HelpDash) + QLatin1Char('\n');
    return text;
}

QString usageHint(const QString &program)
{
    return tr(efusectltext::UsageHint).arg(program);
}

} // namespace invocation
