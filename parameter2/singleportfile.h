#pragma once

#include "config/configfile.h"
#include "parameter2/singleportconfig.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// The single-port configuration file: four lines, each ended by CR LF.
//
//   config
//   AA,AA,D6,07;      channels 2/1, channels 4/3, powerGoodCode, trip-delay list index
//   AA,C0;            signalMask1, signalMask2 (loeschen included)
//   AE081DDD12F256
//
// Bytes are written as two upper-case hexadecimal digits; on loading either case is
// accepted and a line ends at LF, with or without CR before it.
namespace singleportfile {

using configfile::Header;
using configfile::Marker;

// Error codes of a rejected file; the one shown is that of the last failed check.
enum ErrorCode {
    NoError = 0,
    Line2Separator1 = 1,    // line 2, offset 2 is not ","
    Line2Separator2 = 2,    // line 2, offset 5 is not ","
    Line2Separator3 = 3,    // line 2, offset 8 is not ","
    Line2Terminator = 4,    // line 2, offset 11 is not ";"
    Line2Length = 5,        // line 2 is not 12 characters long
    Line3Separator = 10,    // line 3, offset 2 is not ","
    Line3Terminator = 11,   // line 3, offset 5 is not ";"
    Line3Length = 12,       // line 3 is not 6 characters long
    WrongHeaderOrMarker = 13,
    WrongHeaderOrMarkerLength = 14,   // also: the file could not be opened
};

// The four lines of a configuration, or nothing when a list has no selection.
std::optional<QStringList> lines(const SinglePortConfig &config);
// The file's bytes (lines with CR LF), or nothing when a list has no selection.
std::optional<QByteArray> contents(const SinglePortConfig &config);

// Writes the file through a temporary file that replaces the target only when complete:
// a failed save leaves an existing file as it was. False when the configuration is
// incomplete or the file could not be written.
bool save(const QString &path, const SinglePortConfig &config);

using LoadResult = configfile::LoadResult;

// Checks the lines and applies them to the controls, field by field, in the file's
// order. A value that selects no entry of its list leaves that list without a selection
// (not an error). With an error code, all lists are left without a selection and all
// boxes but loeschen unchecked.
LoadResult apply(const QStringList &lines, SinglePortConfig &config);

// configfile::readLines() and apply().
LoadResult load(const QString &path, SinglePortConfig &config);

} // namespace singleportfile
