#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// What the single-port and the two-port configuration files have in common: four lines
// of text, "config", two data lines of two-digit hexadecimal fields, and a fixed marker;
// written with CR LF, read with or without CR before the LF.
namespace configfile {

inline constexpr char Header[] = "config";
inline constexpr char Marker[] = "AE081DDD12F256";
constexpr int LineCount = 4;

// A byte as two upper-case hexadecimal digits.
QString hexByte(int value);

// The value of hexadecimal digits (either case, nothing else), or nothing.
std::optional<int> hexValue(const QString &text);

// The lines joined with CR LF after each.
QByteArray contents(const QStringList &lines);
// The same for a configuration's lines, nothing when there are none (a list without a
// selection).
std::optional<QByteArray> contents(const std::optional<QStringList> &lines);

// Writes through a temporary file that replaces the target only when complete: a failed
// save leaves an existing file as it was. False when the file could not be written; then
// reason, when given, receives the system's words for it. A path that exists and is no
// regular file (a directory, a FIFO, a device) is not written.
bool save(const QString &path, const QByteArray &contents, QString *reason = nullptr);
// Saves a configuration's lines; false without lines (nothing is written then).
bool save(const QString &path, const std::optional<QStringList> &lines);

// What loading a configuration file came to.
struct LoadResult {
    int errorCode = 0;   // 0: read correctly; else the file's "C<n>" error number
    // The load stopped at text that is no hexadecimal number: what was applied before
    // it stays, no error code is reported and nothing is reset.
    bool notHexadecimal = false;
    QString invalidText;   // the text that failed to convert

    bool ok() const { return errorCode == 0 && !notHexadecimal; }
};

// The first four lines of a file (missing lines are empty, further lines ignored; a file
// that cannot be opened gives four empty lines). Overlong lines are cut, so that an
// unsuitable file cannot fill the memory. A path that is no regular file (a directory, a
// FIFO, a device) is not opened at all: opening a FIFO would wait for a writer.
QStringList readLines(const QString &path);

// Up to the first four lines of an open device, as readLines() takes them; fewer when it
// ends sooner (not padded).
QStringList readLines(QIODevice &device);

// Converts the text at line[offset .. offset+length); text that is no hexadecimal number
// gives nothing and marks the load as stopped there (notHexadecimal, invalidText).
struct FieldReader {
    const QString &line;
    LoadResult &result;

    std::optional<int> operator()(int offset, int length) const;
};

// True when the character at offset is the separator (the line must be long enough).
bool separatorAt(const QString &line, int offset, char separator);

// Enters one data line of a family's file; false when text that is no number stopped the load.
using LineStep = std::function<bool(const QString &line, LoadResult &result)>;

// What the error codes of the first and the last line are in a family's numbering.
struct FrameCodes {
    int wrongLength;   // line 1 is not 6 or line 4 not 14 characters long (an unreadable file too)
    int wrongText;     // line 1 is not "config" or line 4 not the marker
};

// Checks line 1 and line 4, then has the family enter line 2 and line 3, in that order.
// A wrong line 1 or 4 enters nothing. A load stopped by text that is no number reports no
// error code, whatever the lines before found.
LoadResult apply(const QStringList &lines, FrameCodes codes, const LineStep &line2, const LineStep &line3);

} // namespace configfile
