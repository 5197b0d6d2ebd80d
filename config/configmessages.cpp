#include "config/configmessages.h"

#include "config/translation.h"

#include <QtGlobal>

namespace {

// German source texts; English comes from the translation, context "ConfigMessages".
const char *germanText(ConfigMessage message)
{
    switch (message) {
    case ConfigMessage::CommunicationFailed:
        return QT_TRANSLATE_NOOP("ConfigMessages", "Kommunikation fehlgeschlagen!");
    case ConfigMessage::TransmissionSuccessful:
        return QT_TRANSLATE_NOOP("ConfigMessages", "Übertragung erfolgreich!");
    case ConfigMessage::FillAllFields:
        return QT_TRANSLATE_NOOP("ConfigMessages", "Bitte alle Felder korrekt ausfüllen");
    case ConfigMessage::FileReadCorrectly:
        return QT_TRANSLATE_NOOP("ConfigMessages", "Datei korrekt eingelesen");
    case ConfigMessage::FileError:
        return QT_TRANSLATE_NOOP("ConfigMessages", "Datei fehlerhaft C");
    case ConfigMessage::FileNotSaved:
        return QT_TRANSLATE_NOOP("ConfigMessages", "Datei konnte nicht gespeichert werden");
    case ConfigMessage::NotHexadecimal:
        return QT_TRANSLATE_NOOP("ConfigMessages", "'%1' ist kein gültiger Hexadezimalwert.");
    }
    Q_UNREACHABLE();
}

} // namespace

QString configMessage(ConfigMessage message, Language language)
{
    const char *german = germanText(message);
    return language == Language::German ? QString::fromUtf8(german) : englishText("ConfigMessages", german);
}

QString fileErrorMessage(int code, Language language)
{
    return configMessage(ConfigMessage::FileError, language) + QString::number(code);
}

QString notHexadecimalMessage(const QString &text, Language language)
{
    return configMessage(ConfigMessage::NotHexadecimal, language).arg(text);
}
