#pragma once

#include "cli/configfilecheck.h"

#include <QString>
#include <QStringList>

// The configuration file `efusectl write` loads, read before the port is touched, and the
// words for everything that can be wrong with it. The windows keep their short "C<n>"
// texts; the command line says what and where, with the same number in brackets.
namespace configinput {

enum class Problem {
    None,
    Missing,      // no such file
    Directory,
    NotRegular,   // a FIFO, device or socket: refused without opening (a FIFO would block)
    Unreadable,   // exists but cannot be opened or read (reason says why)
};

struct Input
{
    QString name;          // as shown in messages: the path, or "standard input" for "-"
    QStringList lines;     // the first four lines as read, fewer when the file ends sooner
    Problem problem = Problem::None;
    QString reason;        // the system's words, for Unreadable
};

// "-" reads standard input (at most a few kilobytes are kept).
Input read(const QString &path);

// What a file rejected with the error number code of the family's dialog holds wrong, and
// where: "in.txt: the file ends after line 2 (C14)".
QString describeError(const Input &input, configfilecheck::Family family, int code);

// The load stopped at invalidText, which is no hexadecimal number.
QString describeNotHexadecimal(const Input &input, const QString &invalidText);

} // namespace configinput
