#pragma once

#include "config/configfile.h"
#include "parameter/twoportconfig.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// The two-port configuration file: four lines, each ended by CR LF.
//
//   config
//   88,88,D6,00,00;   channels 2/1, channels 4/3, powerGoodCode, trip times 2/1, 4/3
//   02,80,08,C0;      port1Byte1, port1Byte2 (loeschen), port2Byte1, port2Byte2 (programmieren)
//   AE081DDD12F256
//
// Bytes are written as two upper-case hexadecimal digits; on loading either case is
// accepted and a line ends at LF, with or without CR before it. The data lines are 15 and
// 12 characters long: a single-port file (12 and 6) is refused with error 11.
namespace twoportfile {

using configfile::Header;
using configfile::Marker;

// Error codes of a rejected file; the one shown is that of the last failed check.
enum ErrorCode {
    NoError = 0,
    Line2Separator1 = 1,    // line 2, offset 2 is not ",": channels 1 and 2 not entered
    Line2Separator2 = 2,    // line 2, offset 5 is not ",": channels 3 and 4 not entered
    Line2Separator3 = 3,    // line 2, offset 8 is not ",": threshold not entered
    Line2Separator4 = 4,    // line 2, offset 11 is not ",": trip times 1 and 2 not entered
    Line2Terminator = 5,    // line 2, offset 14 is not ";": trip times 3 and 4 not entered
    Line2Length = 6,        // line 2 is not 15 characters long: nothing of it entered
    Line3Separator1 = 7,    // line 3, offset 2 is not ",": port1Byte1 not entered
    Line3Separator2 = 8,    // line 3, offset 5 is not ",": port1Byte2 not entered
    Line3Separator3 = 9,    // line 3, offset 8 is not ",": port2Byte1 not entered
    Line3Terminator = 10,   // line 3, offset 11 is not ";": port2Byte2 not entered
    Line3Length = 11,       // line 3 is not 12 characters long: nothing of it entered
    WrongHeaderOrMarker = 12,         // nothing entered
    WrongHeaderOrMarkerLength = 13,   // nothing entered; also: the file could not be opened
};

// The four lines of a configuration, or nothing when a list has no selection.
std::optional<QStringList> lines(const TwoPortConfig &config);
// The file's bytes (lines with CR LF), or nothing when a list has no selection.
std::optional<QByteArray> contents(const TwoPortConfig &config);

// Writes the file through a temporary file that replaces the target only when complete:
// a failed save leaves an existing file as it was. False when the configuration is
// incomplete or the file could not be written.
bool save(const QString &path, const TwoPortConfig &config);

using LoadResult = configfile::LoadResult;

// Checks the lines and enters them into the controls, field by field, in the file's
// order; a field is entered only when the separator after it is right. Fields not
// entered keep what they held. The trip-time lists are rebuilt from the currents then
// selected (no default time for 1 A to 4 A). A value that selects no entry of its list
// leaves that list without a selection (not an error).
LoadResult apply(const QStringList &lines, TwoPortConfig &config);

// configfile::readLines() and apply().
LoadResult load(const QString &path, TwoPortConfig &config);

} // namespace twoportfile
