#pragma once

#include "link/modulevariant.h"

#include <QString>
#include <QStringList>
#include <optional>

// The command line of fusectl, checked before anything touches a port or a file.
namespace invocation {

// The device name of a PORT argument: "COM1" .. "COM20" (any case) and "\\.\COMn" become
// "\\.\COMn", which the serial layer resolves exactly as the tool does; anything holding
// a '/' is taken as a device path. Nothing for every other text.
std::optional<QString> portDeviceName(const QString &argument);

// --variant: the type byte in hexadecimal ("17", "0x17") or the variant's name
// ("FourChannel10A", any case). Nothing for anything else.
std::optional<ModuleVariant> parseVariant(const QString &text);

enum class Command { Monitor, Info, Read, Write, Ports };
enum class Format { Csv, Json, Text };

struct Invocation
{
    Command command = Command::Monitor;
    QString portArgument;      // as typed; empty for ports
    QString portDeviceName;    // resolved
    int seconds = 0;           // monitor: 0 runs until Ctrl+C
    Format format = Format::Csv;   // ports: Text or Json
    QString outputFile;        // read: empty writes to stdout
    QString configFile;        // write
    bool verify = false;       // write
    std::optional<ModuleVariant> variant;   // read, write: skips learning it
};

struct Parsed
{
    std::optional<Invocation> invocation;
    bool help = false;       // --help: print helpText(), exit 0
    bool version = false;    // --version
    QString error;           // usage error: print it and the short usage, exit 2
};

// arguments[0] is the program name, as QCoreApplication::arguments() has it.
Parsed parse(const QStringList &arguments);

// The whole --help text (translated).
QString helpText();
// One line pointing at --help.
QString usageHint();

} // namespace invocation
