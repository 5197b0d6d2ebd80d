#include "cli/configinput.h"

#include "cli/efusectltexts.h"
#include "config/configfile.h"
#include "parameter/twoportfile.h"
#include "parameter2/singleportfile.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

namespace configinput {

namespace {

using efusectltext::tr;

// More than four valid lines; the rest of an endless stream is not read.
constexpr qint64 MaxStandardInput = 64 * 1024;

QStringList linesOf(QIODevice &device)
{
    // Standard input may be a pipe: read it whole (bounded) before taking lines.
    QByteArray bytes;
    char chunk[4096];
    qint64 n = 0;
    while (bytes.size() < MaxStandardInput && (n = device.read(chunk, sizeof chunk)) > 0)
        bytes.append(chunk, int(n));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return configfile::readLines(buffer);
}

// What one error number checks.
struct Check
{
    enum Kind { Separator, Length, HeaderOrMarker, HeaderOrMarkerLength } kind;
    int line = 0;       // 1-based
    int offset = 0;     // Separator: 0-based offset in the line; Length: the length wanted
    char wanted = 0;    // Separator: ',' or ';'
};

std::optional<Check> checkOf(configfilecheck::Family family, int code)
{
    using configfilecheck::Family;
    if (family == Family::SinglePort) {
        using namespace singleportfile;
        switch (code) {
        case Line2Separator1: return Check{Check::Separator, 2, 2, ','};
        case Line2Separator2: return Check{Check::Separator, 2, 5, ','};
        case Line2Separator3: return Check{Check::Separator, 2, 8, ','};
        case Line2Terminator: return Check{Check::Separator, 2, 11, ';'};
        case Line2Length: return Check{Check::Length, 2, 12};
        case Line3Separator: return Check{Check::Separator, 3, 2, ','};
        case Line3Terminator: return Check{Check::Separator, 3, 5, ';'};
        case Line3Length: return Check{Check::Length, 3, 6};
        case WrongHeaderOrMarker: return Check{Check::HeaderOrMarker};
        case WrongHeaderOrMarkerLength: return Check{Check::HeaderOrMarkerLength};
        default: return std::nullopt;
        }
    }
    using namespace twoportfile;
    switch (code) {
    case Line2Separator1: return Check{Check::Separator, 2, 2, ','};
    case Line2Separator2: return Check{Check::Separator, 2, 5, ','};
    case Line2Separator3: return Check{Check::Separator, 2, 8, ','};
    case Line2Separator4: return Check{Check::Separator, 2, 11, ','};
    case Line2Terminator: return Check{Check::Separator, 2, 14, ';'};
    case Line2Length: return Check{Check::Length, 2, 15};
    case Line3Separator1: return Check{Check::Separator, 3, 2, ','};
    case Line3Separator2: return Check{Check::Separator, 3, 5, ','};
    case Line3Separator3: return Check{Check::Separator, 3, 8, ','};
    case Line3Terminator: return Check{Check::Separator, 3, 11, ';'};
    case Line3Length: return Check{Check::Length, 3, 12};
    case WrongHeaderOrMarker: return Check{Check::HeaderOrMarker};
    case WrongHeaderOrMarkerLength: return Check{Check::HeaderOrMarkerLength};
    default: return std::nullopt;
    }
}

QString problemText(const Input &input, const QString &code)
{
    switch (input.problem) {
    case Problem::None:
        break;
    case Problem::Missing:
        return tr(efusectltext::FileMissing).arg(input.name, code);
    case Problem::Directory:
        return tr(efusectltext::FileDirectory).arg(input.name, code);
    case Problem::NotRegular:
        return tr(efusectltext::FileNotRegular).arg(input.name, code);
    case Problem::Unreadable:
        return tr(efusectltext::FileUnreadable).arg(input.name, input.reason, code);
    }
    return QString();
}

// Line 1 or 4 is not what it must be.
QString headerOrMarkerText(const Input &input, const QString &code)
{
    const QString line1 = input.lines.value(0);
    if (line1 != QLatin1String(configfile::Header))
        return tr(efusectltext::FileNotHeader).arg(input.name, line1, code);
    return tr(efusectltext::FileNotMarker).arg(input.name, input.lines.value(3), code);
}

} // namespace

Input read(const QString &path)
{
    Input input;
    if (path == QLatin1String("-")) {
        input.name = tr(efusectltext::StandardInput);
        QFile in;
        if (!in.open(stdin, QIODevice::ReadOnly)) {
            input.problem = Problem::Unreadable;
            input.reason = in.errorString();
            return input;
        }
        input.lines = linesOf(in);
        return input;
    }
    input.name = path;
    const QFileInfo info(path);
    if (!info.exists()) {
        input.problem = Problem::Missing;
        return input;
    }
    if (info.isDir()) {
        input.problem = Problem::Directory;
        return input;
    }
    if (!info.isFile()) {
        input.problem = Problem::NotRegular;
        return input;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        input.problem = Problem::Unreadable;
        input.reason = file.errorString();
        return input;
    }
    input.lines = linesOf(file);
    return input;
}

QString describeError(const Input &input, configfilecheck::Family family, int code)
{
    const QString c = QStringLiteral("C%1").arg(code);
    if (input.problem != Problem::None)
        return problemText(input, c);
    const std::optional<Check> check = checkOf(family, code);
    if (!check)
        return tr(efusectltext::FileErrorCode).arg(input.name, c);
    switch (check->kind) {
    case Check::HeaderOrMarkerLength:
        if (input.lines.isEmpty())
            return tr(efusectltext::FileEmpty).arg(input.name, c);
        if (input.lines.size() < configfile::LineCount)
            return tr(efusectltext::FileEndsAfter).arg(input.name, QString::number(input.lines.size()), c);
        return headerOrMarkerText(input, c);
    case Check::HeaderOrMarker:
        return headerOrMarkerText(input, c);
    case Check::Length:
        return tr(efusectltext::FileLineLength)
            .arg(input.name, QString::number(check->line), QString::number(input.lines.value(check->line - 1).size()),
                 QString::number(check->offset), c);
    case Check::Separator:
        return tr(efusectltext::FileSeparator)
            .arg(input.name, QString::number(check->line), QString::number(check->offset + 1),
                 input.lines.value(check->line - 1).mid(check->offset, 1), QString(QLatin1Char(check->wanted)), c);
    }
    return QString();
}

QString describeNotHexadecimal(const Input &input, const QString &invalidText)
{
    // The load reads line 2, then line 3, and stops at the first text that is no number.
    int line = 3;
    if (input.lines.value(1).contains(invalidText))
        line = 2;
    return tr(efusectltext::FileNotHexadecimal).arg(input.name, QString::number(line), invalidText);
}

} // namespace configinput
