#pragma once

#include "link/modulevariant.h"

#include <QString>
#include <QStringList>
#include <optional>

// The command line of efusectl, checked before anything touches a port or a file.
namespace invocation {

// The device name of a PORT argument: "COM1" .. "COM20" (any case) and "\\.\COMn" become
// "\\.\COMn", which the serial layer resolves exactly as the tool does; anything holding
// a '/' is taken as a device path. Nothing for every other text.
std::optional<QString> portDeviceName(const QString &argument);

// --variant: the type byte in hexadecimal ("17", "0x17") or the variant's name
// ("FourChannel10A", any case). Nothing for anything else.
std::optional<ModuleVariant> parseVariant(const QString &text);

enum class Command { Monitor, Info, Read, Write, Ports };
// monitor: Csv (the default) or Json; info, ports: text unless Json.
enum class Format { Csv, Json, Text };

// "monitor", "info", "read", "write", "ports".
QString commandName(Command command);

struct Invocation
{
    Command command = Command::Monitor;
    QString portArgument;      // as typed; empty for ports
    QString portDeviceName;    // resolved
    int seconds = 0;           // monitor: 0 runs until Ctrl+C
    int count = 0;             // monitor: 0 runs until Ctrl+C or --seconds, else N records
    Format format = Format::Csv;
    QString outputFile;        // read: empty or "-" writes to stdout
    QString configFile;        // write: "-" reads stdin
    bool verify = false;       // write
    std::optional<ModuleVariant> variant;   // read, write: skips learning it
};

struct Parsed
{
    QString program;         // the program's name as called, without its folder
    std::optional<Invocation> invocation;
    bool help = false;       // --help or help: print helpText(), exit 0
    std::optional<Command> helpCommand;   // COMMAND --help or help COMMAND: commandHelp()
    bool version = false;    // --version
    QString error;           // usage error: print it and the short usage, exit 2
};

// arguments[0] is the program name, as QCoreApplication::arguments() has it.
Parsed parse(const QStringList &arguments);

// The whole --help text (translated), naming the program as program.
QString helpText(const QString &program);
// The help of one command.
QString commandHelp(Command command, const QString &program);
// One line pointing at --help.
QString usageHint(const QString &program);

} // namespace invocation
