#include "config/configmessages.h"

#include <QtGlobal>

namespace {

struct MessagePair {
    const char *german;
    const char *english;
};

// The context name is the one lupdate will file these texts under.
const MessagePair &pairFor(ConfigMessage message)
{
    static const MessagePair communicationFailed{
        QT_TRANSLATE_NOOP("ConfigMessages", "Kommunikation fehlgeschlagen!"), "Communikation error!"};
    static const MessagePair transmissionSuccessful{
        QT_TRANSLATE_NOOP("ConfigMessages", "Übertragung erfolgreich!"), "Transmission successful!"};
    static const MessagePair fillAllFields{
        QT_TRANSLATE_NOOP("ConfigMessages", "Bitte alle Felder korrekt ausfüllen"), "All labels fill correctly, please"};
    static const MessagePair fileReadCorrectly{
        QT_TRANSLATE_NOOP("ConfigMessages", "Datei korrekt eingelesen"), "Read file correctly"};
    static const MessagePair fileError{
        QT_TRANSLATE_NOOP("ConfigMessages", "Datei fehlerhaft C"), "File error C"};
    static const MessagePair fileNotSaved{
        QT_TRANSLATE_NOOP("ConfigMessages", "Datei konnte nicht gespeichert werden"), "File could not be saved"};
    static const MessagePair notHexadecimal{
        QT_TRANSLATE_NOOP("ConfigMessages", "'%1' ist kein gültiger Hexadezimalwert."),
        "'%1' is not a valid hexadecimal value."};

    switch (message) {
    case ConfigMessage::CommunicationFailed: return communicationFailed;
    case ConfigMessage::TransmissionSuccessful: return transmissionSuccessful;
    case ConfigMessage::FillAllFields: return fillAllFields;
    case ConfigMessage::FileReadCorrectly: return fileReadCorrectly;
    case ConfigMessage::FileError: return fileError;
    case ConfigMessage::FileNotSaved: return fileNotSaved;
    case ConfigMessage::NotHexadecimal: return notHexadecimal;
    }
    Q_UNREACHABLE();
}

} // namespace

QString configMessage(ConfigMessage message, Language language)
{
    const MessagePair &pair = pairFor(message);
    return QString::fromUtf8(language == Language::German ? pair.german : pair.english);
}

QString fileErrorMessage(int code, Language language)
{
    return configMessage(ConfigMessage::FileError, language) + QString::number(code);
}

QString notHexadecimalMessage(const QString &text, Language language)
{
    return configMessage(ConfigMessage::NotHexadecimal, language).arg(text);
}
