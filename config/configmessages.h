#pragma once

#include "config/language.h"

#include <QString>

// Every message a configuration dialog writes into its status line (and the one it shows
// in a message box). German is the source text; English is its translation.
enum class ConfigMessage {
    CommunicationFailed,      // all retries of a transaction failed
    TransmissionSuccessful,   // configuration read from or written to the module
    FillAllFields,            // a list without a selection refuses a write or a save
    FileReadCorrectly,        // configuration file loaded
    FileError,                // configuration file rejected; followed by its error code
    FileNotSaved,             // configuration file could not be written
    NotHexadecimal,           // a loaded file holds text that is no hexadecimal number; %1 is that text
};

// The text of a message in the given language.
QString configMessage(ConfigMessage message, Language language);

// "Datei fehlerhaft C13" / "File error C13".
QString fileErrorMessage(int code, Language language);

// "'XG' ist kein gültiger Hexadezimalwert." with the text that failed to convert.
QString notHexadecimalMessage(const QString &text, Language language);
