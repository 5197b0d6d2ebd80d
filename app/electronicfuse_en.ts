<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="de">
<context>
    <name>ConfigMessages</name>
    <message>
        <source>Kommunikation fehlgeschlagen!</source>
        <translation>Communikation error!</translation>
    </message>
    <message>
        <source>Übertragung erfolgreich!</source>
        <translation>Transmission successful!</translation>
    </message>
    <message>
        <source>Bitte alle Felder korrekt ausfüllen</source>
        <translation>All labels fill correctly, please</translation>
    </message>
    <message>
        <source>Datei korrekt eingelesen</source>
        <translation>Read file correctly</translation>
    </message>
    <message>
        <source>Datei fehlerhaft C</source>
        <translation>File error C</translation>
    </message>
    <message>
        <source>Datei konnte nicht gespeichert werden</source>
        <translation>File could not be saved</translation>
    </message>
    <message>
        <source>&apos;%1&apos; ist kein gültiger Hexadezimalwert.</source>
        <translation>&apos;%1&apos; is not a valid hexadecimal value.</translation>
    </message>
</context>
<context>
    <name>ConnectionStatus</name>
    <message>
        <source>An den Konfigurationsdialog übergeben</source>
        <translation>Handed to the configuration dialog</translation>
    </message>
    <message>
        <source>Verbindung verloren: %1 war verschwunden und ist wieder da; „Neu verbinden“ öffnet es</source>
        <translation>Connection lost: %1 had vanished and is back; &quot;Reconnect&quot; opens it</translation>
    </message>
    <message>
        <source>Verbindung verloren: %1 ist verschwunden</source>
        <translation>Connection lost: %1 has vanished</translation>
    </message>
    <message>
        <source>Noch nicht geöffnet</source>
        <translation>Not opened yet</translation>
    </message>
    <message>
        <source>Empfängt: %1 Telegramme/s</source>
        <translation>Receiving: %1 telegrams/s</translation>
    </message>
    <message>
        <source>Offen, keine Daten: seit %1 s kein Byte</source>
        <translation>Open, no data: no byte for %1 s</translation>
    </message>
    <message>
        <source>Offen, keine Daten: seit dem Öffnen vor %1 s kein Byte</source>
        <translation>Open, no data: no byte since it was opened %1 s ago</translation>
    </message>
</context>
<context>
    <name>Efusectl</name>
    <message>
        <source>Überwacht, liest und schreibt Elektronische-Sicherungs-Module an einer seriellen Leitung.</source>
        <translation>Monitors, reads and writes electronic fuse modules on a serial line.</translation>
    </message>
    <message>
        <source>Befehle:</source>
        <translation>Commands:</translation>
    </message>
    <message>
        <source>ein Datensatz je Statustelegramm, CSV oder JSON Lines</source>
        <translation>one record per status telegram, CSV or JSON Lines</translation>
    </message>
    <message>
        <source>Variante, Softwareversion und Nennströme</source>
        <translation>variant, software version and rated currents</translation>
    </message>
    <message>
        <source>Konfiguration lesen und als Konfigurationsdatei ausgeben</source>
        <translation>read the configuration and put it out as a configuration file</translation>
    </message>
    <message>
        <source>Konfigurationsdatei in das Modul schreiben</source>
        <translation>write a configuration file into the module</translation>
    </message>
    <message>
        <source>PORT ist COM1 bis COM20 oder ein Gerätepfad wie /dev/ttyUSB0.</source>
        <translation>PORT is COM1 to COM20 or a device path such as /dev/ttyUSB0.</translation>
    </message>
    <message>
        <source>Rückgabewerte: 0 erledigt, 2 Aufruf falsch, 3 keine Antwort, 4 Dateifehler, 5 andere Modulfamilie, 6 Abweichungen beim Prüfen, 7 Port nicht nutzbar.</source>
        <translation>Exit status: 0 done, 2 usage, 3 no answer, 4 file error, 5 module of the other family, 6 verify found differences, 7 port unusable.</translation>
    </message>
    <message>
        <source>monitor: nach N Sekunden enden (sonst mit Strg+C).</source>
        <translation>monitor: end after N seconds (otherwise on Ctrl+C).</translation>
    </message>
    <message>
        <source>monitor: Ausgabeformat csv oder json.</source>
        <translation>monitor: output format csv or json.</translation>
    </message>
    <message>
        <source>Modulvariante (Typbyte 11, 13, 15, 17, 19 oder Name) statt sie aus den Statustelegrammen zu lernen.</source>
        <translation>module variant (type byte 11, 13, 15, 17, 19 or name) instead of learning it from the status telegrams.</translation>
    </message>
    <message>
        <source>write: zurücklesen und jedes Feld vergleichen.</source>
        <translation>write: read back and compare every field.</translation>
    </message>
    <message>
        <source>Diese Hilfe anzeigen.</source>
        <translation>Show this help.</translation>
    </message>
    <message>
        <source>Versionsnummer anzeigen.</source>
        <translation>Show the version number.</translation>
    </message>
    <message>
        <source>Aufruf: %1 --help zeigt die Befehle.</source>
        <translation>Usage: %1 --help lists the commands.</translation>
    </message>
    <message>
        <source>Kein Befehl angegeben.</source>
        <translation>No command given.</translation>
    </message>
    <message>
        <source>Unbekannter Befehl „%1“.</source>
        <translation>Unknown command &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>PORT fehlt.</source>
        <translation>PORT is missing.</translation>
    </message>
    <message>
        <source>„%1“ ist kein Port: COM1 bis COM20 oder ein Gerätepfad.</source>
        <translation>&quot;%1&quot; is no port: COM1 to COM20 or a device path.</translation>
    </message>
    <message>
        <source>Überzählige Argumente: %1</source>
        <translation>Surplus arguments: %1</translation>
    </message>
    <message>
        <source>--seconds erwartet eine ganze Zahl von Sekunden größer als 0.</source>
        <translation>--seconds expects a whole number of seconds above 0.</translation>
    </message>
    <message>
        <source>--format erwartet csv oder json.</source>
        <translation>--format expects csv or json.</translation>
    </message>
    <message>
        <source>„%1“ ist keine Modulvariante: 11, 13, 15, 17, 19 oder ihr Name.</source>
        <translation>&quot;%1&quot; is no module variant: 11, 13, 15, 17, 19 or its name.</translation>
    </message>
    <message>
        <source>Die Option %1 gilt nicht für den Befehl %2.</source>
        <translation>The option %1 does not apply to the command %2.</translation>
    </message>
    <message>
        <source>Falscher Aufruf: %1</source>
        <translation>Wrong usage: %1</translation>
    </message>
    <message>
        <source>Kein Statustelegramm auf %1 in %2 s: Leitung stumm (--variant überspringt das Erkennen).</source>
        <translation>No status telegram on %1 within %2 s: silent line (--variant skips the detection).</translation>
    </message>
    <message>
        <source>Kein Statustelegramm empfangen.</source>
        <translation>No status telegram received.</translation>
    </message>
    <message>
        <source>%1 Datensätze, %2 Telegramme verworfen (%3 falsches Prüfbyte, %4 falsche Länge).</source>
        <translation>%1 records, %2 telegrams dropped (%3 wrong check byte, %4 wrong length).</translation>
    </message>
    <message>
        <source>Versuch %1 von %2 ohne gültige Antwort</source>
        <translation>Attempt %1 of %2 without a valid answer</translation>
    </message>
    <message>
        <source>Keine gültige Antwort nach %1 Versuchen.</source>
        <translation>No valid answer after %1 attempts.</translation>
    </message>
    <message>
        <source>Das Modul antwortet als %1, nicht als %2.</source>
        <translation>The module answers as %1, not as %2.</translation>
    </message>
    <message>
        <source>Einzelport</source>
        <translation>single-port</translation>
    </message>
    <message>
        <source>Zweiport</source>
        <translation>two-port</translation>
    </message>
    <message>
        <source>Felder ohne gültigen Wert: %1</source>
        <translation>Fields without a valid value: %1</translation>
    </message>
    <message>
        <source>Konfiguration geschrieben.</source>
        <translation>Configuration written.</translation>
    </message>
    <message>
        <source>Zurückgelesen: alle Felder stimmen.</source>
        <translation>Read back: every field matches.</translation>
    </message>
    <message>
        <source>Zurückgelesen: %1 Felder weichen ab.</source>
        <translation>Read back: %1 fields differ.</translation>
    </message>
    <message>
        <source>%1: geschrieben %2, gelesen %3</source>
        <translation>%1: written %2, read %3</translation>
    </message>
    <message>
        <source>Variante</source>
        <translation>Variant</translation>
    </message>
    <message>
        <source>Software</source>
        <translation>Software</translation>
    </message>
    <message>
        <source>Nennstrom Kanal %1</source>
        <translation>Rated current channel %1</translation>
    </message>
    <message>
        <source>Aufruf: %1 COMMAND PORT [OPTIONS]</source>
        <translation>Usage: %1 COMMAND PORT [OPTIONS]</translation>
    </message>
    <message>
        <source>        %1 help [COMMAND]</source>
        <translation>       %1 help [COMMAND]</translation>
    </message>
    <message>
        <source>Aufruf: %1 %2</source>
        <translation>Usage: %1 %2</translation>
    </message>
    <message>
        <source>Optionen:</source>
        <translation>Options:</translation>
    </message>
    <message>
        <source>die Hilfe eines Befehls anzeigen</source>
        <translation>show the help of a command</translation>
    </message>
    <message>
        <source>„-“ als FILE ist die Standardeingabe (write) oder die Standardausgabe (read -o).</source>
        <translation>&apos;-&apos; as FILE is standard input (write) or standard output (read -o).</translation>
    </message>
    <message>
        <source>monitor: nach N Datensätzen enden.</source>
        <translation>monitor: end after N records.</translation>
    </message>
    <message>
        <source>info: Ausgabe als Text oder JSON.</source>
        <translation>info: output as text or JSON.</translation>
    </message>
    <message>
        <source>read: in FILE statt auf die Standardausgabe („-“: Standardausgabe).</source>
        <translation>read: to FILE instead of standard output (&apos;-&apos;: standard output).</translation>
    </message>
    <message>
        <source>FILE fehlt.</source>
        <translation>FILE is missing.</translation>
    </message>
    <message>
        <source>--count erwartet eine ganze Zahl von Datensätzen größer als 0.</source>
        <translation>--count expects a whole number of records greater than 0.</translation>
    </message>
    <message>
        <source>--format erwartet für info text oder json.</source>
        <translation>--format expects text or json for info.</translation>
    </message>
    <message>
        <source>%1 ist eine Datei für %2-Module (%4); das Modul ist ein %3-Modul.</source>
        <translation>%1 is a file for %2 modules (%4); the module is a %3 module.</translation>
    </message>
    <message>
        <source>%1 konnte nicht geschrieben werden: %2</source>
        <translation>%1 could not be written: %2</translation>
    </message>
    <message>
        <source>Standardeingabe</source>
        <translation>standard input</translation>
    </message>
    <message>
        <source>%1: keine solche Datei (%2)</source>
        <translation>%1: no such file (%2)</translation>
    </message>
    <message>
        <source>%1 ist ein Verzeichnis, keine Datei (%2)</source>
        <translation>%1 is a directory, not a file (%2)</translation>
    </message>
    <message>
        <source>%1 ist keine gewöhnliche Datei (ein Gerät, eine FIFO oder ein Socket) und wird nicht geöffnet (%2)</source>
        <translation>%1 is no regular file (a device, FIFO or socket) and is not opened (%2)</translation>
    </message>
    <message>
        <source>%1 lässt sich nicht lesen: %2 (%3)</source>
        <translation>%1 cannot be read: %2 (%3)</translation>
    </message>
    <message>
        <source>%1: die Datei ist leer (%2)</source>
        <translation>%1: the file is empty (%2)</translation>
    </message>
    <message>
        <source>%1: die Datei endet nach Zeile %2 (%3)</source>
        <translation>%1: the file ends after line %2 (%3)</translation>
    </message>
    <message>
        <source>%1: Zeile 1 lautet „%2“, nicht „config“ (%3)</source>
        <translation>%1: line 1 reads &apos;%2&apos;, not &apos;config&apos; (%3)</translation>
    </message>
    <message>
        <source>%1: Zeile 4 lautet „%2“, nicht „AE081DDD12F256“ (%3)</source>
        <translation>%1: line 4 reads &apos;%2&apos;, not &apos;AE081DDD12F256&apos; (%3)</translation>
    </message>
    <message>
        <source>%1: Zeile %2 hat %3 Zeichen, nicht %4 (%5)</source>
        <translation>%1: line %2 has %3 characters, not %4 (%5)</translation>
    </message>
    <message>
        <source>%1: Zeile %2, Zeichen %3 ist „%4“, nicht „%5“ (%6)</source>
        <translation>%1: line %2, character %3 is &apos;%4&apos;, not &apos;%5&apos; (%6)</translation>
    </message>
    <message>
        <source>%1: Datei fehlerhaft (%2)</source>
        <translation>%1: file error (%2)</translation>
    </message>
    <message>
        <source>%1: Zeile %2 enthält „%3“, keine Hexadezimalzahl</source>
        <translation>%1: line %2 holds &apos;%3&apos;, not a hexadecimal number</translation>
    </message>
    <message>
        <source>COM1 bis COM20 und die seriellen Adapter mit ihrem Zustand, ohne ein Gerät zu öffnen</source>
        <translation>COM1 to COM20 and the serial adapters with their state, without opening a device</translation>
    </message>
    <message>
        <source>--format erwartet für ports text oder json.</source>
        <translation>--format expects text or json for ports.</translation>
    </message>
    <message>
        <source>Port %1 (%2) lässt sich nicht öffnen: %3.</source>
        <translation>Port %1 (%2) cannot be opened: %3.</translation>
    </message>
    <message>
        <source>Serielle Adapter:</source>
        <translation>Serial adapters:</translation>
    </message>
    <message>
        <source>%1 fehlt (kein udev): keine stabilen Namen.</source>
        <translation>%1 is missing (no udev): no stable names.</translation>
    </message>
    <message>
        <source>keiner gefunden</source>
        <translation>none found</translation>
    </message>
    <message>
        <source>ohne COM-Namen</source>
        <translation>no COM name</translation>
    </message>
    <message>
        <source>Seriennummer %1</source>
        <translation>serial number %1</translation>
    </message>
    <message>
        <source>ports: Ausgabe als Text oder JSON.</source>
        <translation>ports: output as text or JSON.</translation>
    </message>
</context>
<context>
    <name>MainWindowAccessibility</name>
    <message>
        <source>an</source>
        <translation>on</translation>
    </message>
    <message>
        <source>aus</source>
        <translation>off</translation>
    </message>
</context>
<context>
    <name>PortDiagnosis</name>
    <message>
        <source>Frei</source>
        <translation>Free</translation>
    </message>
    <message>
        <source>Nicht vorhanden</source>
        <translation>Absent</translation>
    </message>
    <message>
        <source>Zugriff verweigert</source>
        <translation>Permission denied</translation>
    </message>
    <message>
        <source>Belegt</source>
        <translation>Held</translation>
    </message>
    <message>
        <source>Kein serieller Anschluss</source>
        <translation>Not a serial port</translation>
    </message>
    <message>
        <source>: %1 verweist auf %2, das es nicht gibt (Adapter abgezogen?)</source>
        <translation>: %1 names %2, which does not exist (adapter unplugged?)</translation>
    </message>
    <message>
        <source>: %1 gibt es nicht</source>
        <translation>: %1 does not exist</translation>
    </message>
    <message>
        <source>: %1 gehört der Gruppe %2 (Modus %3); Abhilfe: sudo usermod -aG %2 $USER, dann neu anmelden</source>
        <translation>: %1 belongs to the group %2 (mode %3); remedy: sudo usermod -aG %2 $USER, then log in again</translation>
    </message>
    <message>
        <source>: %1 dürfen nur %2 und root öffnen (Gruppe %3, Modus %4)</source>
        <translation>: only %2 and root may open %1 (group %3, mode %4)</translation>
    </message>
    <message>
        <source>: %1 hat ein anderes Programm geöffnet (das System nennt es nicht)</source>
        <translation>: another program has %1 open (the system does not name it)</translation>
    </message>
    <message>
        <source>%1 (Prozess %2)</source>
        <translation>%1 (process %2)</translation>
    </message>
    <message>
        <source> von %1: %2</source>
        <translation> by %1: %2</translation>
    </message>
    <message>
        <source>: %1 ist kein serielles Gerät</source>
        <translation>: %1 is not a serial device</translation>
    </message>
</context>
<context>
    <name>Recording</name>
    <message>
        <source>Aufzeichnung starten</source>
        <translation>Start recording</translation>
    </message>
    <message>
        <source>CSV-Dateien (*.csv)</source>
        <translation>CSV files (*.csv)</translation>
    </message>
    <message>
        <source>Die Aufzeichnung in %1 konnte nicht beginnen: %2</source>
        <translation>The recording to %1 could not start: %2</translation>
    </message>
    <message>
        <source>Die Aufzeichnung in %1 wurde beendet, weil nicht geschrieben werden konnte: %2</source>
        <translation>The recording to %1 was stopped because writing failed: %2</translation>
    </message>
    <message>
        <source>Aufzeichnung</source>
        <translation>Recording</translation>
    </message>
    <message>
        <source>Aufzeichnung beenden</source>
        <translation>Stop recording</translation>
    </message>
    <message>
        <source>Aufzeichnung starten...</source>
        <translation>Start recording...</translation>
    </message>
</context>
<context>
    <name>StartOptions</name>
    <message>
        <source>Mit diesem Port starten: COM1 bis COM20 oder ein Gerätepfad.</source>
        <translation>Start with this port: COM1 to COM20 or a device path.</translation>
    </message>
    <message>
        <source>Diese Hilfe anzeigen.</source>
        <translation>Show this help.</translation>
    </message>
    <message>
        <source>Versionsnummer anzeigen.</source>
        <translation>Show the version number.</translation>
    </message>
    <message>
        <source>Zeigt den Zustand von Elektronische-Sicherungs-Modulen und konfiguriert sie.</source>
        <translation>Shows the state of electronic fuse modules and configures them.</translation>
    </message>
    <message>
        <source>„%1“ ist kein Port: COM1 bis COM20 oder ein Gerätepfad.</source>
        <translation>&quot;%1&quot; is no port: COM1 to COM20 or a device path.</translation>
    </message>
</context>
<context>
    <name>TConnection</name>
    <message>
        <source>Verbindung</source>
        <translation>Connection</translation>
    </message>
    <message>
        <source>Port in Betrieb</source>
        <translation>Port in use</translation>
    </message>
    <message>
        <source>Port:</source>
        <translation>Port:</translation>
    </message>
    <message>
        <source>Aufgelöst:</source>
        <translation>Resolved:</translation>
    </message>
    <message>
        <source>Adapter:</source>
        <translation>Adapter:</translation>
    </message>
    <message>
        <source>Zustand:</source>
        <translation>State:</translation>
    </message>
    <message>
        <source>Seit dem Öffnen</source>
        <translation>Since it was opened</translation>
    </message>
    <message>
        <source>Bytes:</source>
        <translation>Bytes:</translation>
    </message>
    <message>
        <source>Telegramme angenommen:</source>
        <translation>Telegrams accepted:</translation>
    </message>
    <message>
        <source>Telegramme verworfen (falsches Prüfbyte):</source>
        <translation>Telegrams rejected (wrong check byte):</translation>
    </message>
    <message>
        <source>Bytes außerhalb eines Telegramms:</source>
        <translation>Bytes outside any telegram:</translation>
    </message>
    <message>
        <source>Letztes Telegramm:</source>
        <translation>Last telegram:</translation>
    </message>
    <message>
        <source>Serielle Adapter auf diesem Rechner</source>
        <translation>Serial adapters on this machine</translation>
    </message>
    <message>
        <source>Gerät</source>
        <translation>Device</translation>
    </message>
    <message>
        <source>Stabiler Name</source>
        <translation>Stable name</translation>
    </message>
    <message>
        <source>COM-Name</source>
        <translation>COM name</translation>
    </message>
    <message>
        <source>Adapter</source>
        <translation>Adapter</translation>
    </message>
    <message>
        <source>Gewählten Adapter als</source>
        <translation>Chosen adapter as</translation>
    </message>
    <message>
        <source>Zuordnen...</source>
        <translation>Assign...</translation>
    </message>
    <message>
        <source>Verwenden</source>
        <translation>Use</translation>
    </message>
    <message>
        <source>Neu verbinden</source>
        <translation>Reconnect</translation>
    </message>
    <message>
        <source>Automatisch neu verbinden</source>
        <translation>Reconnect automatically</translation>
    </message>
    <message>
        <source>noch keiner</source>
        <translation>none yet</translation>
    </message>
    <message>
        <source>Verweis %1 → %2</source>
        <translation>link %1 → %2</translation>
    </message>
    <message>
        <source>; kein Gerät</source>
        <translation>; no device</translation>
    </message>
    <message>
        <source>; Gerät %1</source>
        <translation>; device %1</translation>
    </message>
    <message>
        <source>Hersteller %1</source>
        <translation>maker %1</translation>
    </message>
    <message>
        <source>Produkt %1</source>
        <translation>product %1</translation>
    </message>
    <message>
        <source>Seriennummer %1</source>
        <translation>serial number %1</translation>
    </message>
    <message>
        <source>USB %1:%2</source>
        <translation>USB %1:%2</translation>
    </message>
    <message>
        <source>das System weiß nichts über das Gerät</source>
        <translation>the system knows nothing about the device</translation>
    </message>
    <message>
        <source>keines</source>
        <translation>none</translation>
    </message>
    <message>
        <source>%1 fehlt (kein udev): die Adapter haben keine stabilen Namen, „Zuordnen...“ verweist auf den Gerätepfad.</source>
        <translation>%1 is missing (no udev): the adapters have no stable names, &quot;Assign...&quot; links to the device path.</translation>
    </message>
    <message>
        <source>Kein serieller Adapter gefunden.</source>
        <translation>No serial adapter found.</translation>
    </message>
    <message>
        <source>„%1“ ist kein Port: COM1 bis COM20 oder ein Gerätepfad.</source>
        <translation>&quot;%1&quot; is no port: COM1 to COM20 or a device path.</translation>
    </message>
    <message>
        <source>%1 wird verwendet.</source>
        <translation>%1 is in use now.</translation>
    </message>
    <message>
        <source>Der Port wird neu geöffnet.</source>
        <translation>The port is being reopened.</translation>
    </message>
    <message>
        <source>Erst einen Adapter in der Liste wählen.</source>
        <translation>Choose an adapter in the list first.</translation>
    </message>
    <message>
        <source>%1 ist kein Verweis; es bleibt, wie es ist.</source>
        <translation>%1 is not a link; it stays as it is.</translation>
    </message>
    <message>
        <source>%1 konnte nicht angelegt werden.</source>
        <translation>%1 could not be created.</translation>
    </message>
    <message>
        <source>%1 verweist jetzt auf %2.</source>
        <translation>%1 now links to %2.</translation>
    </message>
</context>
<context>
    <name>TForm1</name>
    <message>
        <source>Visualisierung</source>
        <translation>Visualization</translation>
    </message>
    <message>
        <source>aktueller Strom</source>
        <translation>Output current</translation>
    </message>
    <message>
        <source>maximaler Strom</source>
        <translation>Maximum output current</translation>
    </message>
    <message>
        <source>I Nenn</source>
        <translation>I Rated</translation>
    </message>
    <message>
        <source>aktuelle Eingangsspannung</source>
        <translation>Input voltage</translation>
    </message>
    <message>
        <source>minimale Eingangsspannung</source>
        <translation>Minimum input voltage</translation>
    </message>
    <message>
        <source>Warnungen</source>
        <translation>Warnings</translation>
    </message>
    <message>
        <source>Fehler</source>
        <translation>Errors</translation>
    </message>
    <message>
        <source>Kanal 1:</source>
        <translation>Channel 1:</translation>
    </message>
    <message>
        <source>Kanal 2:</source>
        <translation>Channel 2:</translation>
    </message>
    <message>
        <source>Kanal 3:</source>
        <translation>Channel 3:</translation>
    </message>
    <message>
        <source>Kanal 4:</source>
        <translation>Channel 4:</translation>
    </message>
    <message>
        <source>Überstrom Kanal 1</source>
        <translation>Overcurrent channel 1</translation>
    </message>
    <message>
        <source>Überstrom Kanal 2</source>
        <translation>Overcurrent channel 2</translation>
    </message>
    <message>
        <source>Überstrom Kanal 3</source>
        <translation>Overcurrent channel 3</translation>
    </message>
    <message>
        <source>Überstrom Kanal 4</source>
        <translation>Overcurrent channel 4</translation>
    </message>
    <message>
        <source>Kanal 1 ausgelöst</source>
        <translation>Channel 1 open circuit</translation>
    </message>
    <message>
        <source>Kanal 2 ausgelöst</source>
        <translation>Channel 2 open circuit</translation>
    </message>
    <message>
        <source>Kanal 3 ausgelöst</source>
        <translation>Channel 3 open circuit</translation>
    </message>
    <message>
        <source>Kanal 4 ausgelöst</source>
        <translation>Channel 4 open circuit</translation>
    </message>
    <message>
        <source>Uin &lt; Power Good</source>
        <translation>Uin &lt; power good</translation>
    </message>
    <message>
        <source>Gerätefehler</source>
        <translation>Hardware fault</translation>
    </message>
    <message>
        <source>Aktualisierung</source>
        <translation>Update</translation>
    </message>
    <message>
        <source>Konfiguration</source>
        <translation>Configuration</translation>
    </message>
    <message>
        <source>Datei</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Info...</source>
        <translation>Info...</translation>
    </message>
    <message>
        <source>Schließen</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Extras</source>
        <translation>Tools</translation>
    </message>
    <message>
        <source>Verlauf...</source>
        <translation>Trend...</translation>
    </message>
    <message>
        <source>Aufzeichnung starten...</source>
        <translation>Start recording...</translation>
    </message>
    <message>
        <source>Verbindung...</source>
        <translation>Connection...</translation>
    </message>
</context>
<context>
    <name>TTrend</name>
    <message>
        <source>Verlauf</source>
        <translation>Trend</translation>
    </message>
    <message>
        <source>Sichtbarer Bereich:</source>
        <translation>Visible range:</translation>
    </message>
    <message>
        <source>1 Minute</source>
        <translation>1 minute</translation>
    </message>
    <message>
        <source>5 Minuten</source>
        <translation>5 minutes</translation>
    </message>
    <message>
        <source>15 Minuten</source>
        <translation>15 minutes</translation>
    </message>
    <message>
        <source>60 Minuten</source>
        <translation>60 minutes</translation>
    </message>
    <message>
        <source>Gesamter Lauf</source>
        <translation>Whole run</translation>
    </message>
    <message>
        <source>Anhalten</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Live</source>
        <translation>Live</translation>
    </message>
    <message>
        <source>Bild speichern...</source>
        <translation>Save picture...</translation>
    </message>
    <message>
        <source>Daten speichern...</source>
        <translation>Save data...</translation>
    </message>
    <message>
        <source>min %1, max %2</source>
        <translation>min %1, max %2</translation>
    </message>
    <message>
        <source>keine Werte im sichtbaren Bereich</source>
        <translation>no values in the visible range</translation>
    </message>
    <message>
        <source>Eingangsspannung</source>
        <translation>Input voltage</translation>
    </message>
    <message>
        <source>Kanal %1</source>
        <translation>Channel %1</translation>
    </message>
    <message>
        <source>Überstrom Kanal %1</source>
        <translation>Overcurrent channel %1</translation>
    </message>
    <message>
        <source>Kanal %1 ausgelöst</source>
        <translation>Channel %1 open circuit</translation>
    </message>
    <message>
        <source>Uin &lt; Power Good</source>
        <translation>Uin &lt; power good</translation>
    </message>
    <message>
        <source>Gerätefehler</source>
        <translation>Hardware fault</translation>
    </message>
    <message>
        <source>%1: %2 ein</source>
        <translation>%1: %2 on</translation>
    </message>
    <message>
        <source>%1: %2 aus</source>
        <translation>%1: %2 off</translation>
    </message>
    <message>
        <source>Fortsetzen</source>
        <translation>Resume</translation>
    </message>
    <message>
        <source>Zurück zur Gegenwart mit dem gewählten Bereich</source>
        <translation>Back to the present with the chosen range</translation>
    </message>
    <message>
        <source>Strom (A)</source>
        <translation>Current (A)</translation>
    </message>
    <message>
        <source>Spannung (V)</source>
        <translation>Voltage (V)</translation>
    </message>
    <message>
        <source>Uhrzeit</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Verlauf der Ströme und der Eingangsspannung</source>
        <translation>Trend of the currents and the input voltage</translation>
    </message>
    <message>
        <source>Das Bild ließ sich nicht schreiben.</source>
        <translation>The picture could not be written.</translation>
    </message>
    <message>
        <source>Bild speichern</source>
        <translation>Save picture</translation>
    </message>
    <message>
        <source>PNG-Bilder (*.png)</source>
        <translation>PNG pictures (*.png)</translation>
    </message>
    <message>
        <source>Das Bild wurde nicht gespeichert: %1: %2</source>
        <translation>The picture was not saved: %1: %2</translation>
    </message>
    <message>
        <source>Daten speichern</source>
        <translation>Save data</translation>
    </message>
    <message>
        <source>CSV-Dateien (*.csv)</source>
        <translation>CSV files (*.csv)</translation>
    </message>
    <message>
        <source>Die Daten wurden nicht gespeichert: %1: %2</source>
        <translation>The data were not saved: %1: %2</translation>
    </message>
</context>
<context>
    <name>Tpara</name>
    <message>
        <source>Konfiguration</source>
        <translation>Configuration</translation>
    </message>
    <message>
        <source>konfigurierter Strom [A]</source>
        <translation>Configured current [A]</translation>
    </message>
    <message>
        <source>Auslösezeit [s]</source>
        <translation>Fuse delay [s]</translation>
    </message>
    <message>
        <source>Kanal 1:</source>
        <translation>Channel 1:</translation>
    </message>
    <message>
        <source>Kanal 2:</source>
        <translation>Channel 2:</translation>
    </message>
    <message>
        <source>Kanal 3:</source>
        <translation>Channel 3:</translation>
    </message>
    <message>
        <source>Kanal 4:</source>
        <translation>Channel 4:</translation>
    </message>
    <message>
        <source>Power Good Schwellwert [V]</source>
        <translation>Power good threshold [V]</translation>
    </message>
    <message>
        <source>Port 1</source>
        <translation>Port 1</translation>
    </message>
    <message>
        <source>Port 2</source>
        <translation>Port 2</translation>
    </message>
    <message>
        <source>Überstrom Kanal 1</source>
        <translation>Overcurrent channel 1</translation>
    </message>
    <message>
        <source>Überstrom Kanal 2</source>
        <translation>Overcurrent channel 2</translation>
    </message>
    <message>
        <source>Überstrom Kanal 3</source>
        <translation>Overcurrent channel 3</translation>
    </message>
    <message>
        <source>Überstrom Kanal 4</source>
        <translation>Overcurrent channel 4</translation>
    </message>
    <message>
        <source>Kanal 1 ausgelöst</source>
        <translation>Channel 1 open circuit</translation>
    </message>
    <message>
        <source>Kanal 2 ausgelöst</source>
        <translation>Channel 2 open circuit</translation>
    </message>
    <message>
        <source>Kanal 3 ausgelöst</source>
        <translation>Channel 3 open circuit</translation>
    </message>
    <message>
        <source>Kanal 4 ausgelöst</source>
        <translation>Channel 4 open circuit</translation>
    </message>
    <message>
        <source>Uin &lt; Power Good</source>
        <translation>Uin &lt; power good</translation>
    </message>
    <message>
        <source>Gerätefehler</source>
        <translation>Hardware fault</translation>
    </message>
    <message>
        <source>Ausgang invertieren</source>
        <translation>Output inverted</translation>
    </message>
    <message>
        <source>Freigeben ausgelöster Kanäle</source>
        <translation>Release channel, if open circuit</translation>
    </message>
    <message>
        <source>Programmierung erlauben</source>
        <translation>Programming allowed</translation>
    </message>
    <message>
        <source>Konfiguration laden</source>
        <translation>Load configuration</translation>
    </message>
    <message>
        <source>Konfiguration schreiben</source>
        <translation>Write configuration</translation>
    </message>
    <message>
        <source>Werkseinstellung</source>
        <translation>Factory setting</translation>
    </message>
    <message>
        <source>Datei</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Öffnen</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Speichern</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Schließen</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Softwareversion anzeigen</source>
        <translation>Show software version</translation>
    </message>
</context>
<context>
    <name>Tparameter_rovo</name>
    <message>
        <source>Konfiguration</source>
        <translation>Configuration</translation>
    </message>
    <message>
        <source>konfigurierter Strom [A]</source>
        <translation>Configured current [A]</translation>
    </message>
    <message>
        <source>Kanal 1:</source>
        <translation>Channel 1:</translation>
    </message>
    <message>
        <source>Kanal 2:</source>
        <translation>Channel 2:</translation>
    </message>
    <message>
        <source>Kanal 3:</source>
        <translation>Channel 3:</translation>
    </message>
    <message>
        <source>Kanal 4:</source>
        <translation>Channel 4:</translation>
    </message>
    <message>
        <source>Konfiguration laden</source>
        <translation>Load configuration</translation>
    </message>
    <message>
        <source>Konfiguration schreiben</source>
        <translation>Write configuration</translation>
    </message>
    <message>
        <source>Werkseinstellung</source>
        <translation>Factory setting</translation>
    </message>
    <message>
        <source>Power Good Schwellwert [V]</source>
        <translation>Power good threshold [V]</translation>
    </message>
    <message>
        <source>Auslösezeit [s]</source>
        <translation>Fuse delay [s]</translation>
    </message>
    <message>
        <source>Port 1</source>
        <translation>Port 1</translation>
    </message>
    <message>
        <source>Überstrom Kanal 1</source>
        <translation>Overcurrent channel 1</translation>
    </message>
    <message>
        <source>Überstrom Kanal 2</source>
        <translation>Overcurrent channel 2</translation>
    </message>
    <message>
        <source>Überstrom Kanal 3</source>
        <translation>Overcurrent channel 3</translation>
    </message>
    <message>
        <source>Überstrom Kanal 4</source>
        <translation>Overcurrent channel 4</translation>
    </message>
    <message>
        <source>Kanal 1 ausgelöst</source>
        <translation>Channel 1 open circuit</translation>
    </message>
    <message>
        <source>Kanal 2 ausgelöst</source>
        <translation>Channel 2 open circuit</translation>
    </message>
    <message>
        <source>Kanal 3 ausgelöst</source>
        <translation>Channel 3 open circuit</translation>
    </message>
    <message>
        <source>Kanal 4 ausgelöst</source>
        <translation>Channel 4 open circuit</translation>
    </message>
    <message>
        <source>Uin &lt; Power Good</source>
        <translation>Uin &lt; power good</translation>
    </message>
    <message>
        <source>Gerätefehler</source>
        <translation>Hardware fault</translation>
    </message>
    <message>
        <source>Ausgang invertieren</source>
        <translation>Output inverted</translation>
    </message>
    <message>
        <source>Programmierung erlauben</source>
        <translation>Programming allowed</translation>
    </message>
    <message>
        <source>Freigeben ausgelöster Kanäle</source>
        <translation>Release channel, if open circuit</translation>
    </message>
    <message>
        <source>Datei</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Öffnen</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Speichern</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Schließen</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Softwareversion anzeigen</source>
        <translation>Show software version</translation>
    </message>
</context>
<context>
    <name>configfile</name>
    <message>
        <source>keine gewöhnliche Datei</source>
        <translation>no regular file</translation>
    </message>
</context>
</TS>
