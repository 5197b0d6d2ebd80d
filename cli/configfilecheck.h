#pragma once

#include "link/modulevariant.h"
#include "parameter/twoportconfig.h"
#include "parameter2/singleportconfig.h"

#include <QString>
#include <QStringList>

// Loading a configuration file for `efusectl write`: the checks and error numbers of the
// dialog of the module's family, then the family check and the completeness the dialog's
// write button asks for.
namespace configfilecheck {

enum class Family { SinglePort, TwoPort };

Family familyOf(ModuleVariant variant);

struct Result
{
    enum Kind {
        Loaded,           // every list has a value: ready to be written
        FileError,        // "Datei fehlerhaft C<errorCode>"
        NotHexadecimal,   // invalidText is no hexadecimal number
        OtherFamily,      // a correct file of the other family
        Incomplete,       // loaded, but emptyFields have no value the dialog's lists offer
    };
    Kind kind = Loaded;
    int errorCode = 0;
    QString invalidText;
    QStringList emptyFields;   // "k1_sel", "pgood_sel_", "abschaltzeit"

    bool ok() const { return kind == Loaded; }
};

// The lists that have no value (their controls' names: "k1_sel", "pgood_sel_",
// "abschaltzeit"), as the dialog's write button would mark them.
QStringList emptyFields(const SinglePortConfig &config);
QStringList emptyFields(const TwoPortConfig &config);

// Into a configuration as the single-port dialog opened for the variant holds it.
Result loadSinglePort(const QString &path, ModuleVariant variant, SinglePortConfig &config);
// Into a configuration as the two-port dialog holds it after its read button (all empty).
Result loadTwoPort(const QString &path, TwoPortConfig &config);

// The same from the file's lines as read (standard input has no path).
Result loadSinglePort(const QStringList &lines, ModuleVariant variant, SinglePortConfig &config);
Result loadTwoPort(const QStringList &lines, TwoPortConfig &config);

} // namespace configfilecheck
