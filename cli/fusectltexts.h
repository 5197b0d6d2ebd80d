#pragma once

#include <QCoreApplication>
#include <QtGlobal>

// Every text fusectl prints besides the records and files themselves. German is the source
// text, as everywhere in the tool; English comes from the tool's Qt Linguist file (context
// "Fusectl"), installed as translator unless the locale is German.
namespace fusectltext {

inline QString tr(const char *source) { return QCoreApplication::translate("Fusectl", source); }

// --help
inline constexpr const char *Description = QT_TRANSLATE_NOOP("Fusectl",
    "Überwacht, liest und schreibt Elektronische-Sicherungs-Module an einer seriellen Leitung.");
inline constexpr const char *CommandsHeading = QT_TRANSLATE_NOOP("Fusectl", "Befehle:");
inline constexpr const char *HelpMonitor = QT_TRANSLATE_NOOP("Fusectl",
    "ein Datensatz je Statustelegramm, CSV oder JSON Lines");
inline constexpr const char *HelpInfo = QT_TRANSLATE_NOOP("Fusectl",
    "Variante, Softwareversion und Nennströme");
inline constexpr const char *HelpRead = QT_TRANSLATE_NOOP("Fusectl",
    "Konfiguration lesen und als Konfigurationsdatei ausgeben");
inline constexpr const char *HelpWrite = QT_TRANSLATE_NOOP("Fusectl",
    "Konfigurationsdatei in das Modul schreiben");
inline constexpr const char *HelpPorts = QT_TRANSLATE_NOOP("Fusectl",
    "COM1 bis COM20 und die seriellen Adapter mit ihrem Zustand, ohne ein Gerät zu öffnen");
inline constexpr const char *HelpPort = QT_TRANSLATE_NOOP("Fusectl",
    "PORT ist COM1 bis COM20 oder ein Gerätepfad wie /dev/ttyUSB0.");
inline constexpr const char *HelpExit = QT_TRANSLATE_NOOP("Fusectl",
    "Rückgabewerte: 0 erledigt, 2 Aufruf falsch, 3 keine Antwort, 4 Dateifehler, "
    "5 andere Modulfamilie, 6 Abweichungen beim Prüfen, 7 Port nicht nutzbar.");
inline constexpr const char *OptionSeconds = QT_TRANSLATE_NOOP("Fusectl",
    "monitor: nach N Sekunden enden (sonst mit Strg+C).");
inline constexpr const char *OptionFormat = QT_TRANSLATE_NOOP("Fusectl",
    "monitor: Ausgabeformat csv oder json; ports: text oder json.");
inline constexpr const char *OptionOutput = QT_TRANSLATE_NOOP("Fusectl", "read: in DATEI statt auf die Standardausgabe.");
inline constexpr const char *OptionVariant = QT_TRANSLATE_NOOP("Fusectl",
    "Modulvariante (Typbyte 11, 13, 15, 17, 19 oder Name) statt sie aus den Statustelegrammen zu lernen.");
inline constexpr const char *OptionVerify = QT_TRANSLATE_NOOP("Fusectl",
    "write: zurücklesen und jedes Feld vergleichen.");
inline constexpr const char *OptionHelp = QT_TRANSLATE_NOOP("Fusectl", "Diese Hilfe anzeigen.");
inline constexpr const char *OptionVersion = QT_TRANSLATE_NOOP("Fusectl", "Versionsnummer anzeigen.");

// Usage errors
inline constexpr const char *UsageHint = QT_TRANSLATE_NOOP("Fusectl", "Aufruf: %1 --help zeigt die Befehle.");
inline constexpr const char *NoCommand = QT_TRANSLATE_NOOP("Fusectl", "Kein Befehl angegeben.");
inline constexpr const char *UnknownCommand = QT_TRANSLATE_NOOP("Fusectl", "Unbekannter Befehl „%1“.");
inline constexpr const char *MissingPort = QT_TRANSLATE_NOOP("Fusectl", "PORT fehlt.");
inline constexpr const char *BadPort = QT_TRANSLATE_NOOP("Fusectl",
    "„%1“ ist kein Port: COM1 bis COM20 oder ein Gerätepfad.");
inline constexpr const char *MissingFile = QT_TRANSLATE_NOOP("Fusectl", "DATEI fehlt.");
inline constexpr const char *ExtraArguments = QT_TRANSLATE_NOOP("Fusectl", "Überzählige Argumente: %1");
inline constexpr const char *BadSeconds = QT_TRANSLATE_NOOP("Fusectl",
    "--seconds erwartet eine ganze Zahl von Sekunden größer als 0.");
inline constexpr const char *BadFormat = QT_TRANSLATE_NOOP("Fusectl", "--format erwartet csv oder json.");
inline constexpr const char *BadPortsFormat = QT_TRANSLATE_NOOP("Fusectl", "--format erwartet für ports text oder json.");
inline constexpr const char *BadVariant = QT_TRANSLATE_NOOP("Fusectl",
    "„%1“ ist keine Modulvariante: 11, 13, 15, 17, 19 oder ihr Name.");
inline constexpr const char *OptionNotForCommand = QT_TRANSLATE_NOOP("Fusectl",
    "Die Option %1 gilt nicht für den Befehl %2.");
inline constexpr const char *OptionError = QT_TRANSLATE_NOOP("Fusectl", "Falscher Aufruf: %1");

// Running
inline constexpr const char *PortUnusable = QT_TRANSLATE_NOOP("Fusectl",
    "Port %1 (%2) lässt sich nicht öffnen: %3.");
// ports
inline constexpr const char *PortsAdapters = QT_TRANSLATE_NOOP("Fusectl", "Serielle Adapter:");
inline constexpr const char *PortsNoById = QT_TRANSLATE_NOOP("Fusectl",
    "%1 fehlt (kein udev): keine stabilen Namen.");
inline constexpr const char *PortsNoAdapter = QT_TRANSLATE_NOOP("Fusectl", "keiner gefunden");
inline constexpr const char *PortsNoComName = QT_TRANSLATE_NOOP("Fusectl", "ohne COM-Namen");
inline constexpr const char *PortsSerialNumber = QT_TRANSLATE_NOOP("Fusectl", "Seriennummer %1");

inline constexpr const char *SilentLine = QT_TRANSLATE_NOOP("Fusectl",
    "Kein Statustelegramm auf %1 in %2 s: Leitung stumm (--variant überspringt das Erkennen).");
inline constexpr const char *NoTelegram = QT_TRANSLATE_NOOP("Fusectl", "Kein Statustelegramm empfangen.");
inline constexpr const char *DroppedFrames = QT_TRANSLATE_NOOP("Fusectl",
    "%1 Datensätze, %2 Telegramme verworfen (%3 falsches Prüfbyte, %4 falsche Länge).");
inline constexpr const char *AttemptFailed = QT_TRANSLATE_NOOP("Fusectl", "Versuch %1 von %2 ohne gültige Antwort");
inline constexpr const char *NoAnswer = QT_TRANSLATE_NOOP("Fusectl",
    "Keine gültige Antwort nach %1 Versuchen.");
inline constexpr const char *OtherFamilyReply = QT_TRANSLATE_NOOP("Fusectl",
    "Das Modul antwortet als %1, nicht als %2.");
inline constexpr const char *OtherFamilyFile = QT_TRANSLATE_NOOP("Fusectl",
    "%1 ist eine Datei für %2-Module; das Modul ist ein %3-Modul.");
inline constexpr const char *FamilySinglePort = QT_TRANSLATE_NOOP("Fusectl", "Einzelport");
inline constexpr const char *FamilyTwoPort = QT_TRANSLATE_NOOP("Fusectl", "Zweiport");
inline constexpr const char *FileIncomplete = QT_TRANSLATE_NOOP("Fusectl",
    "Felder ohne gültigen Wert: %1");
inline constexpr const char *OutputNotWritten = QT_TRANSLATE_NOOP("Fusectl", "%1 konnte nicht geschrieben werden.");
inline constexpr const char *Written = QT_TRANSLATE_NOOP("Fusectl", "Konfiguration geschrieben.");
inline constexpr const char *Verified = QT_TRANSLATE_NOOP("Fusectl", "Zurückgelesen: alle Felder stimmen.");
inline constexpr const char *VerifyDifferences = QT_TRANSLATE_NOOP("Fusectl",
    "Zurückgelesen: %1 Felder weichen ab.");
inline constexpr const char *Difference = QT_TRANSLATE_NOOP("Fusectl", "%1: geschrieben %2, gelesen %3");

// info
inline constexpr const char *InfoVariant = QT_TRANSLATE_NOOP("Fusectl", "Variante");
inline constexpr const char *InfoSoftware = QT_TRANSLATE_NOOP("Fusectl", "Software");
inline constexpr const char *InfoRated = QT_TRANSLATE_NOOP("Fusectl", "Nennstrom Kanal %1");

} // namespace fusectltext
