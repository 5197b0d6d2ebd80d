#pragma once

#include <QCoreApplication>
#include <QtGlobal>

// Every text efusectl prints besides the records and files themselves. German is the source
// text, as everywhere in the tool; English comes from the tool's Qt Linguist file (context
// "Efusectl"), installed as translator unless the locale is German.
namespace efusectltext {

inline QString tr(const char *source) { return QCoreApplication::translate("Efusectl", source); }

// --help
inline constexpr const char *Description = QT_TRANSLATE_NOOP("Efusectl",
    "Überwacht, liest und schreibt Elektronische-Sicherungs-Module an einer seriellen Leitung.");
inline constexpr const char *UsageLine = QT_TRANSLATE_NOOP("Efusectl", "Aufruf: %1 COMMAND PORT [OPTIONS]");
inline constexpr const char *UsageHelpLine = QT_TRANSLATE_NOOP("Efusectl", "        %1 help [COMMAND]");
inline constexpr const char *UsageCommand = QT_TRANSLATE_NOOP("Efusectl", "Aufruf: %1 %2");
inline constexpr const char *CommandsHeading = QT_TRANSLATE_NOOP("Efusectl", "Befehle:");
inline constexpr const char *OptionsHeading = QT_TRANSLATE_NOOP("Efusectl", "Optionen:");
inline constexpr const char *HelpHelp = QT_TRANSLATE_NOOP("Efusectl", "die Hilfe eines Befehls anzeigen");
inline constexpr const char *HelpDash = QT_TRANSLATE_NOOP("Efusectl",
    "„-“ als FILE ist die Standardeingabe (write) oder die Standardausgabe (read -o).");
inline constexpr const char *HelpMonitor = QT_TRANSLATE_NOOP("Efusectl",
    "ein Datensatz je Statustelegramm, CSV oder JSON Lines");
inline constexpr const char *HelpInfo = QT_TRANSLATE_NOOP("Efusectl",
    "Variante, Softwareversion und Nennströme");
inline constexpr const char *HelpRead = QT_TRANSLATE_NOOP("Efusectl",
    "Konfiguration lesen und als Konfigurationsdatei ausgeben");
inline constexpr const char *HelpWrite = QT_TRANSLATE_NOOP("Efusectl",
    "Konfigurationsdatei in das Modul schreiben");
inline constexpr const char *HelpPorts = QT_TRANSLATE_NOOP("Efusectl",
    "COM1 bis COM20 und die seriellen Adapter mit ihrem Zustand, ohne ein Gerät zu öffnen");
inline constexpr const char *HelpPort = QT_TRANSLATE_NOOP("Efusectl",
    "PORT ist COM1 bis COM20 oder ein Gerätepfad wie /dev/ttyUSB0.");
inline constexpr const char *HelpExit = QT_TRANSLATE_NOOP("Efusectl",
    "Rückgabewerte: 0 erledigt, 2 Aufruf falsch, 3 keine Antwort, 4 Dateifehler, "
    "5 andere Modulfamilie, 6 Abweichungen beim Prüfen, 7 Port nicht nutzbar.");
inline constexpr const char *OptionSeconds = QT_TRANSLATE_NOOP("Efusectl",
    "monitor: nach N Sekunden enden (sonst mit Strg+C).");
inline constexpr const char *OptionCount = QT_TRANSLATE_NOOP("Efusectl",
    "monitor: nach N Datensätzen enden.");
inline constexpr const char *OptionFormat = QT_TRANSLATE_NOOP("Efusectl", "monitor: Ausgabeformat csv oder json.");
inline constexpr const char *OptionInfoFormat = QT_TRANSLATE_NOOP("Efusectl", "info: Ausgabe als Text oder JSON.");
inline constexpr const char *OptionPortsFormat = QT_TRANSLATE_NOOP("Efusectl", "ports: Ausgabe als Text oder JSON.");
inline constexpr const char *OptionOutput = QT_TRANSLATE_NOOP("Efusectl",
    "read: in FILE statt auf die Standardausgabe („-“: Standardausgabe).");
inline constexpr const char *OptionVariant = QT_TRANSLATE_NOOP("Efusectl",
    "Modulvariante (Typbyte 11, 13, 15, 17, 19 oder Name) statt sie aus den Statustelegrammen zu lernen.");
inline constexpr const char *OptionVerify = QT_TRANSLATE_NOOP("Efusectl",
    "write: zurücklesen und jedes Feld vergleichen.");
inline constexpr const char *OptionHelp = QT_TRANSLATE_NOOP("Efusectl", "Diese Hilfe anzeigen.");
inline constexpr const char *OptionVersion = QT_TRANSLATE_NOOP("Efusectl", "Versionsnummer anzeigen.");

// Usage errors
inline constexpr const char *UsageHint = QT_TRANSLATE_NOOP("Efusectl", "Aufruf: %1 --help zeigt die Befehle.");
inline constexpr const char *NoCommand = QT_TRANSLATE_NOOP("Efusectl", "Kein Befehl angegeben.");
inline constexpr const char *UnknownCommand = QT_TRANSLATE_NOOP("Efusectl", "Unbekannter Befehl „%1“.");
inline constexpr const char *MissingPort = QT_TRANSLATE_NOOP("Efusectl", "PORT fehlt.");
inline constexpr const char *BadPort = QT_TRANSLATE_NOOP("Efusectl",
    "„%1“ ist kein Port: COM1 bis COM20 oder ein Gerätepfad.");
inline constexpr const char *MissingFile = QT_TRANSLATE_NOOP("Efusectl", "FILE fehlt.");
inline constexpr const char *ExtraArguments = QT_TRANSLATE_NOOP("Efusectl", "Überzählige Argumente: %1");
inline constexpr const char *BadSeconds = QT_TRANSLATE_NOOP("Efusectl",
    "--seconds erwartet eine ganze Zahl von Sekunden größer als 0.");
inline constexpr const char *BadCount = QT_TRANSLATE_NOOP("Efusectl",
    "--count erwartet eine ganze Zahl von Datensätzen größer als 0.");
inline constexpr const char *BadFormat = QT_TRANSLATE_NOOP("Efusectl", "--format erwartet csv oder json.");
inline constexpr const char *BadInfoFormat = QT_TRANSLATE_NOOP("Efusectl", "--format erwartet für info text oder json.");
inline constexpr const char *BadPortsFormat = QT_TRANSLATE_NOOP("Efusectl", "--format erwartet für ports text oder json.");
inline constexpr const char *BadVariant = QT_TRANSLATE_NOOP("Efusectl",
    "„%1“ ist keine Modulvariante: 11, 13, 15, 17, 19 oder ihr Name.");
inline constexpr const char *OptionNotForCommand = QT_TRANSLATE_NOOP("Efusectl",
    "Die Option %1 gilt nicht für den Befehl %2.");
inline constexpr const char *OptionError = QT_TRANSLATE_NOOP("Efusectl", "Falscher Aufruf: %1");

// Running
inline constexpr const char *PortUnusable = QT_TRANSLATE_NOOP("Efusectl",
    "Port %1 (%2) lässt sich nicht öffnen: %3.");
// ports
inline constexpr const char *PortsAdapters = QT_TRANSLATE_NOOP("Efusectl", "Serielle Adapter:");
inline constexpr const char *PortsNoById = QT_TRANSLATE_NOOP("Efusectl",
    "%1 fehlt (kein udev): keine stabilen Namen.");
inline constexpr const char *PortsNoAdapter = QT_TRANSLATE_NOOP("Efusectl", "keiner gefunden");
inline constexpr const char *PortsNoComName = QT_TRANSLATE_NOOP("Efusectl", "ohne COM-Namen");
inline constexpr const char *PortsSerialNumber = QT_TRANSLATE_NOOP("Efusectl", "Seriennummer %1");
inline constexpr const char *SilentLine = QT_TRANSLATE_NOOP("Efusectl",
    "Kein Statustelegramm auf %1 in %2 s: Leitung stumm (--variant überspringt das Erkennen).");
inline constexpr const char *NoTelegram = QT_TRANSLATE_NOOP("Efusectl", "Kein Statustelegramm empfangen.");
inline constexpr const char *DroppedFrames = QT_TRANSLATE_NOOP("Efusectl",
    "%1 Datensätze, %2 Telegramme verworfen (%3 falsches Prüfbyte, %4 falsche Länge).");
inline constexpr const char *AttemptFailed = QT_TRANSLATE_NOOP("Efusectl", "Versuch %1 von %2 ohne gültige Antwort");
inline constexpr const char *NoAnswer = QT_TRANSLATE_NOOP("Efusectl",
    "Keine gültige Antwort nach %1 Versuchen.");
inline constexpr const char *OtherFamilyReply = QT_TRANSLATE_NOOP("Efusectl",
    "Das Modul antwortet als %1, nicht als %2.");
inline constexpr const char *OtherFamilyFile = QT_TRANSLATE_NOOP("Efusectl",
    "%1 ist eine Datei für %2-Module (%4); das Modul ist ein %3-Modul.");
inline constexpr const char *FamilySinglePort = QT_TRANSLATE_NOOP("Efusectl", "Einzelport");
inline constexpr const char *FamilyTwoPort = QT_TRANSLATE_NOOP("Efusectl", "Zweiport");
inline constexpr const char *FileIncomplete = QT_TRANSLATE_NOOP("Efusectl",
    "Felder ohne gültigen Wert: %1");
inline constexpr const char *OutputNotWritten = QT_TRANSLATE_NOOP("Efusectl", "%1 konnte nicht geschrieben werden: %2");
inline constexpr const char *Written = QT_TRANSLATE_NOOP("Efusectl", "Konfiguration geschrieben.");
inline constexpr const char *Verified = QT_TRANSLATE_NOOP("Efusectl", "Zurückgelesen: alle Felder stimmen.");
inline constexpr const char *VerifyDifferences = QT_TRANSLATE_NOOP("Efusectl",
    "Zurückgelesen: %1 Felder weichen ab.");
inline constexpr const char *Difference = QT_TRANSLATE_NOOP("Efusectl", "%1: geschrieben %2, gelesen %3");

// Configuration files: what is wrong and where, the dialog's error number last.
inline constexpr const char *StandardInput = QT_TRANSLATE_NOOP("Efusectl", "Standardeingabe");
inline constexpr const char *FileMissing = QT_TRANSLATE_NOOP("Efusectl", "%1: keine solche Datei (%2)");
inline constexpr const char *FileDirectory = QT_TRANSLATE_NOOP("Efusectl", "%1 ist ein Verzeichnis, keine Datei (%2)");
inline constexpr const char *FileNotRegular = QT_TRANSLATE_NOOP("Efusectl",
    "%1 ist keine gewöhnliche Datei (ein Gerät, eine FIFO oder ein Socket) und wird nicht geöffnet (%2)");
inline constexpr const char *FileUnreadable = QT_TRANSLATE_NOOP("Efusectl", "%1 lässt sich nicht lesen: %2 (%3)");
inline constexpr const char *FileEmpty = QT_TRANSLATE_NOOP("Efusectl", "%1: die Datei ist leer (%2)");
inline constexpr const char *FileEndsAfter = QT_TRANSLATE_NOOP("Efusectl", "%1: die Datei endet nach Zeile %2 (%3)");
inline constexpr const char *FileNotHeader = QT_TRANSLATE_NOOP("Efusectl",
    "%1: Zeile 1 lautet „%2“, nicht „config“ (%3)");
inline constexpr const char *FileNotMarker = QT_TRANSLATE_NOOP("Efusectl",
    "%1: Zeile 4 lautet „%2“, nicht „AE081DDD12F256“ (%3)");
inline constexpr const char *FileLineLength = QT_TRANSLATE_NOOP("Efusectl",
    "%1: Zeile %2 hat %3 Zeichen, nicht %4 (%5)");
inline constexpr const char *FileSeparator = QT_TRANSLATE_NOOP("Efusectl",
    "%1: Zeile %2, Zeichen %3 ist „%4“, nicht „%5“ (%6)");
inline constexpr const char *FileErrorCode = QT_TRANSLATE_NOOP("Efusectl", "%1: Datei fehlerhaft (%2)");
inline constexpr const char *FileNotHexadecimal = QT_TRANSLATE_NOOP("Efusectl",
    "%1: Zeile %2 enthält „%3“, keine Hexadezimalzahl");

// info
inline constexpr const char *InfoVariant = QT_TRANSLATE_NOOP("Efusectl", "Variante");
inline constexpr const char *InfoSoftware = QT_TRANSLATE_NOOP("Efusectl", "Software");
inline constexpr const char *InfoRated = QT_TRANSLATE_NOOP("Efusectl", "Nennstrom Kanal %1");

} // namespace efusectltext
