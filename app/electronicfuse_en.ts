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
</context>
</TS>
