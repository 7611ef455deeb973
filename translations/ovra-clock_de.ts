<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>ClockApp</name>
    <message>
        <source>another program keeps it locked</source>
        <translation>ein anderes Programm hält ihn gesperrt</translation>
    </message>
    <message>
        <source>it is damaged</source>
        <translation>er ist beschädigt</translation>
    </message>
    <message>
        <source>access to it is denied</source>
        <translation>der Zugriff wird verweigert</translation>
    </message>
    <message>
        <source>it cannot be opened or read</source>
        <translation>er kann nicht geöffnet oder gelesen werden</translation>
    </message>
    <message>
        <source>error %1</source>
        <translation>Fehler %1</translation>
    </message>
    <message>
        <source>The settings of the clock &quot;%1&quot; could not be read from the settings store (%2). The clock shows default settings and does not save them, so the stored settings are kept.</source>
        <translation>Die Einstellungen der Uhr „%1“ konnten nicht aus dem Einstellungsspeicher gelesen werden (%2). Die Uhr zeigt die Standardeinstellungen und speichert sie nicht, damit die gespeicherten Einstellungen erhalten bleiben.</translation>
    </message>
    <message>
        <source>The settings of the clock &quot;%1&quot; could not be stored in the settings store (%2). The clock shows them, and the dialog keeps them: Apply tries again.</source>
        <translation>Die Einstellungen der Uhr „%1“ konnten nicht im Einstellungsspeicher gespeichert werden (%2). Die Uhr zeigt sie, und der Dialog behält sie: „Übernehmen“ versucht es erneut.</translation>
    </message>
</context>
<context>
    <name>ClockList</name>
    <message>
        <source>it is kept busy by another program</source>
        <translation>ein anderes Programm hält ihn belegt</translation>
    </message>
    <message>
        <source>it is damaged</source>
        <translation>er ist beschädigt</translation>
    </message>
    <message>
        <source>access to it is denied</source>
        <translation>der Zugriff wird verweigert</translation>
    </message>
    <message>
        <source>it could not be opened or read (status %1)</source>
        <translation>er konnte nicht geöffnet oder gelesen werden (Status %1)</translation>
    </message>
    <message>
        <source>The clock list could not be read from the settings store: %1.</source>
        <translation>Die Uhrenliste konnte nicht aus dem Einstellungsspeicher gelesen werden: %1.</translation>
    </message>
    <message>
        <source>The time zone index %1 does not exist; choose an index from 0 to %2.</source>
        <translation>Den Zeitzonenindex %1 gibt es nicht; wählen Sie einen Index von 0 bis %2.</translation>
    </message>
    <message>
        <source>The clock list is full: it keeps at most %1 clocks. Delete a clock before adding &quot;%2&quot;.</source>
        <translation>Die Uhrenliste ist voll: Sie fasst höchstens %1 Uhren. Löschen Sie eine Uhr, bevor Sie „%2“ hinzufügen.</translation>
    </message>
    <message>
        <source>The clock list is full: adding &quot;%1&quot; would make it longer than %2 bytes. Delete a clock or choose a shorter name.</source>
        <translation>Die Uhrenliste ist voll: Mit „%1“ würde sie länger als %2 Bytes. Löschen Sie eine Uhr oder wählen Sie einen kürzeren Namen.</translation>
    </message>
    <message>
        <source>The clock &quot;%1&quot; could not be added: the settings store cannot be written.</source>
        <translation>Die Uhr „%1“ konnte nicht hinzugefügt werden: Der Einstellungsspeicher kann nicht beschrieben werden.</translation>
    </message>
    <message>
        <source>The clock &quot;%1&quot; did not finish closing within %2 seconds; it is deleted, but its window may stay open.</source>
        <translation>Die Uhr „%1“ wurde nicht innerhalb von %2 Sekunden geschlossen; sie ist gelöscht, ihr Fenster bleibt aber eventuell offen.</translation>
    </message>
    <message>
        <source>The clock &quot;%1&quot; could not be deleted: the settings store cannot be written.</source>
        <translation>Die Uhr „%1“ konnte nicht gelöscht werden: Der Einstellungsspeicher kann nicht beschrieben werden.</translation>
    </message>
    <message>
        <source>The autostart entry of the clock &quot;%1&quot; could not be removed.</source>
        <translation>Der Autostart-Eintrag der Uhr „%1“ konnte nicht entfernt werden.</translation>
    </message>
    <message>
        <source>Whether the clock &quot;%1&quot; is running cannot be checked: %2.</source>
        <translation>Ob die Uhr „%1“ läuft, lässt sich nicht prüfen: %2.</translation>
    </message>
</context>
<context>
    <name>ClockName</name>
    <message>
        <source>A clock name cannot be empty.</source>
        <translation>Ein Uhrname darf nicht leer sein.</translation>
    </message>
    <message>
        <source>The clock name is too long: at most %1 bytes are allowed.</source>
        <translation>Der Uhrname ist zu lang: Höchstens %1 Bytes sind erlaubt.</translation>
    </message>
    <message>
        <source>A clock name cannot contain control characters.</source>
        <translation>Ein Uhrname darf keine Steuerzeichen enthalten.</translation>
    </message>
    <message>
        <source>The clock name %1 contains bytes that are not valid text.</source>
        <translation>Der Uhrname %1 enthält Bytes, die kein gültiger Text sind.</translation>
    </message>
    <message>
        <source>The clock name %1 contains U+%2, which is not a character.</source>
        <translation>Der Uhrname %1 enthält U+%2, das kein Zeichen ist.</translation>
    </message>
    <message>
        <source>The clock name %1 cannot contain &quot;/&quot; or &quot;\&quot;.</source>
        <translation>Der Uhrname %1 darf weder „/“ noch „\“ enthalten.</translation>
    </message>
    <message>
        <source>The clock name %1 cannot contain &quot;{&quot; or &quot;}&quot;.</source>
        <translation>Der Uhrname %1 darf weder „{“ noch „}“ enthalten.</translation>
    </message>
    <message>
        <source>A clock name must contain a visible character, not only spaces.</source>
        <translation>Ein Uhrname muss ein sichtbares Zeichen enthalten, nicht nur Leerzeichen.</translation>
    </message>
    <message>
        <source>The clock name %1 is reserved.</source>
        <translation>Der Uhrname %1 ist reserviert.</translation>
    </message>
    <message>
        <source>The clock name &quot;System&quot; is reserved for the clock list.</source>
        <translation>Der Uhrname „System“ ist für die Uhrenliste reserviert.</translation>
    </message>
    <message>
        <source>The clock name %1 cannot begin with &quot;--&quot;.</source>
        <translation>Der Uhrname %1 darf nicht mit „--“ beginnen.</translation>
    </message>
    <message>
        <source>The clock name contains bytes that are not valid UTF-8 text.</source>
        <translation>Der Uhrname enthält Bytes, die kein gültiger UTF-8-Text sind.</translation>
    </message>
    <message>
        <source>Default</source>
        <extracomment>The name of the first clock, as windows and lists show it; it is stored in English.</extracomment>
        <translation>Standard</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>%1 needs a value.</source>
        <translation>%1 braucht einen Wert.</translation>
    </message>
    <message>
        <source>Unknown option %1. Try --help.</source>
        <translation>Unbekannte Option %1. Siehe --help.</translation>
    </message>
    <message>
        <source>%1 cannot be combined with another action.</source>
        <translation>%1 kann nicht mit einer anderen Aktion kombiniert werden.</translation>
    </message>
    <message>
        <source>%1 takes no value.</source>
        <translation>%1 nimmt keinen Wert.</translation>
    </message>
    <message>
        <source>--at only goes with --render.</source>
        <translation>--at geht nur zusammen mit --render.</translation>
    </message>
    <message>
        <source>--zone only goes with --add.</source>
        <translation>--zone geht nur zusammen mit --add.</translation>
    </message>
    <message>
        <source>%1 got two names, &quot;%2&quot; and &quot;%3&quot;; give one.</source>
        <translation>%1 hat zwei Namen erhalten, „%2“ und „%3“; geben Sie einen an.</translation>
    </message>
    <message>
        <source>%1 needs a clock name.</source>
        <translation>%1 braucht einen Uhrnamen.</translation>
    </message>
    <message>
        <source>Exit status: 0 when done; 1 when refused (a name no clock can have, a clock that
does not exist or does not answer, no display, a store that cannot be read); 2 when
the words are not understood (an unknown option, a missing value, two actions).
</source>
        <translation>Rückgabewert: 0, wenn erledigt; 1, wenn abgelehnt (ein Name, den keine Uhr haben kann,
eine Uhr, die es nicht gibt oder die nicht antwortet, keine Anzeige, ein Speicher, der
nicht gelesen werden kann); 2, wenn die Wörter nicht verstanden werden (eine unbekannte
Option, ein fehlender Wert, zwei Aktionen).
</translation>
    </message>
    <message>
        <source> Other clocks cannot reach this one.</source>
        <translation> Andere Uhren können diese nicht erreichen.</translation>
    </message>
    <message>
        <source>The connection to the display was lost; the settings of the clock &quot;%1&quot; are saved.</source>
        <translation>Die Verbindung zur Anzeige ist verloren gegangen; die Einstellungen der Uhr „%1“ sind gespeichert.</translation>
    </message>
    <message>
        <source>This option is not available in this build.</source>
        <translation>Diese Option ist in diesem Build nicht verfügbar.</translation>
    </message>
    <message>
        <source>it is a folder, not a file.</source>
        <translation>es ist ein Ordner, keine Datei.</translation>
    </message>
    <message>
        <source>it is not a regular file (a device, a pipe or a socket); only a regular file is replaced by the picture.</source>
        <translation>es ist keine reguläre Datei (ein Gerät, eine Pipe oder ein Socket); nur eine reguläre Datei wird durch das Bild ersetzt.</translation>
    </message>
    <message>
        <source>--render needs the name of a PNG file.</source>
        <translation>--render braucht den Namen einer PNG-Datei.</translation>
    </message>
    <message>
        <source>--at needs a time like &quot;2026-05-17 15:25:07&quot;, not &quot;%1&quot;.</source>
        <translation>--at braucht eine Zeit wie „2026-05-17 15:25:07“, nicht „%1“.</translation>
    </message>
    <message>
        <source>Cannot write &quot;%1&quot;: %2</source>
        <translation>„%1“ kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>The clock %1 was %2, but it did not answer within %3 seconds.</source>
        <extracomment>%2 is &quot;started&quot; or &quot;added&quot;.</extracomment>
        <translation>Die Uhr %1 wurde %2, hat aber nicht innerhalb von %3 Sekunden geantwortet.</translation>
    </message>
    <message>
        <source>The clock %1 is running but does not answer.</source>
        <translation>Die Uhr %1 läuft, antwortet aber nicht.</translation>
    </message>
    <message>
        <source>The clock %1 is already running.</source>
        <translation>Die Uhr %1 läuft bereits.</translation>
    </message>
    <message>
        <source>The clock %1 could not be started.</source>
        <translation>Die Uhr %1 konnte nicht gestartet werden.</translation>
    </message>
    <message>
        <source>started</source>
        <translation>gestartet</translation>
    </message>
    <message>
        <source>There is no clock named %1.</source>
        <translation>Es gibt keine Uhr namens %1.</translation>
    </message>
    <message>
        <source>The clock %1 is not running.</source>
        <translation>Die Uhr %1 läuft nicht.</translation>
    </message>
    <message>
        <source>The clock %1 did not finish closing within %2 seconds.</source>
        <translation>Die Uhr %1 wurde nicht innerhalb von %2 Sekunden geschlossen.</translation>
    </message>
    <message>
        <source>added</source>
        <translation>hinzugefügt</translation>
    </message>
    <message>
        <source>No zone matches &quot;%1&quot;. --list-zones lists every zone.</source>
        <translation>Keine Zone passt zu „%1“. --list-zones listet alle Zonen.</translation>
    </message>
    <message numerus="yes">
        <source>&quot;%1&quot; matches %n zones; give one of these:</source>
        <translation>
            <numerusform>„%1“ passt zu %n Zone; gib eine davon an:</numerusform>
            <numerusform>„%1“ passt zu %n Zonen; gib eine davon an:</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 takes no clock name, but got &quot;%2&quot;.</source>
        <translation>%1 nimmt keinen Uhrnamen, erhielt aber „%2“.</translation>
    </message>
    <message>
        <source>No thread can be started (a process or memory limit), so the clock cannot draw and does not start.</source>
        <translation>Es kann kein Thread gestartet werden (eine Prozess- oder Speichergrenze); die Uhr kann nicht zeichnen und startet nicht.</translation>
    </message>
    <message>
        <source> The clock cannot be started.</source>
        <translation> Die Uhr kann nicht gestartet werden.</translation>
    </message>
    <message>
        <source>No zone has the number %1; --list-zones lists them from 0 to %2.</source>
        <translation>Keine Zone hat die Nummer %1; --list-zones listet sie von 0 bis %2 auf.</translation>
    </message>
    <message>
        <source>Shows the clock NAME on the desktop (&quot;Default&quot; when no name is given); a NAME that
is not in the list is refused: --add adds a clock. Every word that does not begin
with &quot;-&quot; is part of the name, whichever option is given and wherever the words
stand: &quot;--add New York --zone America/New_York&quot; adds the clock &quot;New York&quot; in New
York&apos;s zone. A ZONE of several words is quoted: --zone &quot;New York&quot;. After &quot;--&quot;
every word is part of the name, also one that begins with &quot;-&quot;: --start -- -x.
</source>
        <translation>Zeigt die Uhr NAME auf dem Desktop („Default“, wenn kein Name angegeben ist); ein
NAME, der nicht in der Liste steht, wird abgelehnt: --add fügt eine Uhr hinzu. Jedes
Wort, das nicht mit „-“ beginnt, gehört zum Namen, gleich welche Option angegeben ist
und wo die Wörter stehen: „--add New York --zone America/New_York“ fügt die Uhr
„New York“ in der Zone von New York hinzu. Eine ZONE aus mehreren Wörtern steht in
Anführungszeichen: --zone &quot;New York&quot;. Nach „--“ gehört jedes Wort zum Namen, auch
eines, das mit „-“ beginnt: --start -- -x.
</translation>
    </message>
    <message>
        <source>Did you mean %1?</source>
        <translation>Meinten Sie %1?</translation>
    </message>
    <message>
        <source>There is no clock named %1. Add it with --add %2.</source>
        <extracomment>%2 is the name as it is typed after --add, with &quot;-- &quot; before a name that begins with &quot;-&quot;.</extracomment>
        <translation>Es gibt keine Uhr namens %1. Fügen Sie sie mit --add %2 hinzu.</translation>
    </message>
    <message>
        <source>The clock %1 cannot be started: no display could be opened.</source>
        <translation>Die Uhr %1 kann nicht gestartet werden: Es konnte keine Anzeige geöffnet werden.</translation>
    </message>
    <message>
        <source>The clock %1 was added, but it cannot be shown: no display could be opened.</source>
        <translation>Die Uhr %1 wurde hinzugefügt, kann aber nicht gezeigt werden: Es konnte keine Anzeige geöffnet werden.</translation>
    </message>
    <message>
        <source>&quot;%1&quot;</source>
        <extracomment>Quotation marks around a clock&apos;s name in a message: „%1“ in German.</extracomment>
        <translation>„%1“</translation>
    </message>
    <message>
        <source>Usage: ovra-clock [NAME]
       ovra-clock --render FILE.png [--at &quot;YYYY-MM-DD HH:MM:SS&quot;] [NAME]
       ovra-clock --list | --list-zones | --list-places |
                  --add NAME [--zone ZONE] |
                  --start NAME | --stop NAME | --delete NAME |
                  --settings [NAME]
</source>
        <extracomment>Keep the option names and the alignment of the lines.</extracomment>
        <translation>Aufruf: ovra-clock [NAME]
        ovra-clock --render FILE.png [--at &quot;YYYY-MM-DD HH:MM:SS&quot;] [NAME]
        ovra-clock --list | --list-zones | --list-places |
                   --add NAME [--zone ZONE] |
                   --start NAME | --stop NAME | --delete NAME |
                   --settings [NAME]
</translation>
    </message>
    <message>
        <source>Options:
  -h, --help         show this text and exit
  -v, --version      show the version and exit
  --render FILE.png  draw one frame of the clock&apos;s face into a PNG file; needs no display
  --at TIME          with --render: the time the clock&apos;s own zone shows
  --list             list every clock with &quot;Running&quot;, &quot;Stopped&quot; or &quot;Not answering&quot;
  --list-zones       list the zones: number, text, zone name, offset from UTC now
  --list-places      list the places of the system&apos;s zone database: zone name, city,
                     country
  --add NAME         add a clock and start it
  --zone ZONE        with --add: the new clock&apos;s zone, by its number (0-96), a zone
                     name, a city or a country (Zurich, Schweiz); the computer&apos;s
                     zone without it
  --start NAME       start a clock
  --stop NAME        stop a running clock; its settings are saved
  --delete NAME      stop a clock and delete its settings (its alarms are kept)
  --settings [NAME]  open the settings of the running clock NAME (&quot;Default&quot; when
                     no name is given) with the keyboard
  --                 the end of the options: every word after it is part of NAME
</source>
        <translation>Optionen:
  -h, --help         diesen Text zeigen und beenden
  -v, --version      die Version zeigen und beenden
  --render FILE.png  ein Bild des Zifferblatts in eine PNG-Datei zeichnen; braucht keine Anzeige
  --at TIME          mit --render: die Zeit, die die eigene Zone der Uhr zeigt
  --list             jede Uhr mit „Running“, „Stopped“ oder „Not answering“ auflisten
  --list-zones       die Zonen auflisten: Nummer, Text, Zonenname, jetziger Abstand zu UTC
  --list-places      die Orte der Zeitzonendatenbank des Systems auflisten: Zonenname,
                     Stadt, Land
  --add NAME         eine Uhr hinzufügen und starten
  --zone ZONE        mit --add: die Zone der neuen Uhr, als Nummer (0-96), Zonenname,
                     Stadt oder Land (Zurich, Schweiz); ohne sie die Zone des Computers
  --start NAME       eine Uhr starten
  --stop NAME        eine laufende Uhr beenden; ihre Einstellungen werden gespeichert
  --delete NAME      eine Uhr beenden und ihre Einstellungen löschen (ihre Alarme bleiben)
  --settings [NAME]  die Einstellungen der laufenden Uhr NAME mit der Tastatur öffnen
                     („Default“, wenn kein Name angegeben ist)
  --                 das Ende der Optionen: jedes Wort danach gehört zu NAME
</translation>
    </message>
    <message>
        <source>The clock %1 could not be asked to open its settings: it runs an older version of the program. Stop it with --stop and start it again with --start.</source>
        <translation>Die Uhr %1 konnte nicht gebeten werden, ihre Einstellungen zu öffnen: Sie läuft mit einer älteren Version des Programms. Beenden Sie sie mit --stop und starten Sie sie mit --start neu.</translation>
    </message>
    <message>
        <source>There is no clock named %1. Add it with --add.</source>
        <translation>Es gibt keine Uhr namens %1. Fügen Sie sie mit --add hinzu.</translation>
    </message>
    <message>
        <source>The clock %1 is not running. Start it with --start.</source>
        <translation>Die Uhr %1 läuft nicht. Starten Sie sie mit --start.</translation>
    </message>
    <message>
        <source>The system bus does not answer: resume from sleep is not noticed and power actions cannot be carried out.</source>
        <translation>Der Systembus antwortet nicht: Das Aufwachen aus dem Ruhezustand wird nicht bemerkt, und Energieaktionen können nicht ausgeführt werden.</translation>
    </message>
    <message>
        <source>The session bus does not answer: screen readers cannot reach the clock and the session is not asked to end before a shutdown.</source>
        <translation>Der Sitzungsbus antwortet nicht: Bildschirmleser erreichen die Uhr nicht, und die Sitzung wird vor dem Herunterfahren nicht gebeten, sich zu beenden.</translation>
    </message>
    <message>
        <source>The accessibility bus does not answer: screen readers cannot reach the clock.</source>
        <translation>Der Barrierefreiheitsbus antwortet nicht: Bildschirmleser erreichen die Uhr nicht.</translation>
    </message>
</context>
<context>
    <name>Messages</name>
    <message>
        <source>Reading configuration file failed! </source>
        <translation>Lesen der Konfigurationsdatei fehlgeschlagen! </translation>
    </message>
    <message>
        <source>Saving configuration file failed! </source>
        <translation>Speichern der Konfigurationsdatei fehlgeschlagen! </translation>
    </message>
    <message>
        <source>Power off PC error</source>
        <translation>Fehler beim Ausschalten des Rechners</translation>
    </message>
    <message>
        <source>Reboot PC error</source>
        <translation>Fehler beim Neustart des Rechners</translation>
    </message>
    <message>
        <source>This is not a clock-management option.</source>
        <translation>Dies ist keine Option zur Verwaltung von Uhren.</translation>
    </message>
    <message>
        <source>Ovra Clock Error</source>
        <translation>Ovra Clock – Fehler</translation>
    </message>
    <message>
        <source>Ovra Clock</source>
        <translation>Ovra Clock</translation>
    </message>
    <message>
        <source>%1 is not a regular file.</source>
        <translation>%1 ist keine reguläre Datei.</translation>
    </message>
    <message>
        <source>%1 cannot be opened: %2</source>
        <translation>%1 kann nicht geöffnet werden: %2</translation>
    </message>
    <message>
        <source>%1 cannot be read: %2</source>
        <translation>%1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>Filename Length Overflow</source>
        <translation>Dateiname zu lang</translation>
    </message>
    <message>
        <source>The file dialog cannot open: no thread can be started (a process or memory limit).</source>
        <translation>Die Dateiauswahl kann nicht geöffnet werden: Es kann kein Thread gestartet werden (eine Prozess- oder Speichergrenze).</translation>
    </message>
    <message>
        <source>Ovra Clock - FileDialog Function</source>
        <translation>Ovra Clock – Dateiauswahl</translation>
    </message>
    <message>
        <source>Add a clock failed. Please enter a clock name.</source>
        <translation>Die Uhr konnte nicht hinzugefügt werden. Bitte geben Sie einen Uhrnamen ein.</translation>
    </message>
    <message>
        <source>Clock Name is already exist. Please rename.</source>
        <translation>Dieser Uhrname existiert bereits. Bitte wählen Sie einen anderen Namen.</translation>
    </message>
    <message>
        <source>Default clock can not be deleted.</source>
        <translation>Die Standarduhr kann nicht gelöscht werden.</translation>
    </message>
    <message>
        <source>Cannot open the display.</source>
        <translation>Die Anzeige kann nicht geöffnet werden.</translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source> The clock&apos;s autostart entry is left as it is.</source>
        <translation> Der Autostart-Eintrag der Uhr bleibt unverändert.</translation>
    </message>
    <message>
        <source>The clock&apos;s channel cannot be locked (%1).</source>
        <translation>Der Kanal der Uhr kann nicht gesperrt werden (%1).</translation>
    </message>
    <message>
        <source>The clock&apos;s channel cannot be noted in %1.</source>
        <translation>Der Kanal der Uhr kann nicht in %1 vermerkt werden.</translation>
    </message>
    <message>
        <source>The clock&apos;s channel %1 cannot be opened: %2</source>
        <translation>Der Kanal %1 der Uhr kann nicht geöffnet werden: %2</translation>
    </message>
    <message>
        <source>The folder %1 cannot be created (%2).</source>
        <translation>Der Ordner %1 kann nicht angelegt werden (%2).</translation>
    </message>
    <message>
        <source>The folder %1 cannot be read (%2).</source>
        <translation>Der Ordner %1 kann nicht gelesen werden (%2).</translation>
    </message>
    <message>
        <source>The folder %1 is not a folder.</source>
        <translation>%1 ist kein Ordner.</translation>
    </message>
    <message>
        <source>The folder %1 belongs to another user.</source>
        <translation>Der Ordner %1 gehört einem anderen Benutzer.</translation>
    </message>
    <message>
        <source>The folder %1 can be entered by other users and cannot be made private.</source>
        <translation>Der Ordner %1 ist für andere Benutzer zugänglich und kann nicht privat gemacht werden.</translation>
    </message>
    <message>
        <source>read</source>
        <extracomment>Completes &quot;The settings store %1 cannot be %2&quot;.</extracomment>
        <translation>gelesen</translation>
    </message>
    <message>
        <source>written</source>
        <extracomment>Completes &quot;The settings store %1 cannot be %2&quot;.</extracomment>
        <translation>geschrieben</translation>
    </message>
    <message>
        <source>The settings store %1 cannot be %2 (%3); settings are not saved until it is repaired or removed.</source>
        <translation>Der Einstellungsspeicher %1 kann nicht %2 werden (%3); Einstellungen werden nicht gespeichert, bis er repariert oder entfernt ist.</translation>
    </message>
    <message>
        <source>The settings store %1 cannot be %2: %3.</source>
        <translation>Der Einstellungsspeicher %1 kann nicht %2 werden: %3.</translation>
    </message>
    <message>
        <source>The settings store %1 cannot be written; settings will not be saved.</source>
        <translation>Der Einstellungsspeicher %1 kann nicht beschrieben werden; Einstellungen werden nicht gespeichert.</translation>
    </message>
    <message>
        <source>The settings store %1 is damaged; it is left untouched and settings are not saved until it is repaired or removed.</source>
        <translation>Der Einstellungsspeicher %1 ist beschädigt; er bleibt unverändert, und Einstellungen werden nicht gespeichert, bis er repariert oder entfernt ist.</translation>
    </message>
    <message>
        <source>The settings store %1 belongs to another program; it is left untouched and settings are not saved.</source>
        <translation>Der Einstellungsspeicher %1 gehört zu einem anderen Programm; er bleibt unverändert, und Einstellungen werden nicht gespeichert.</translation>
    </message>
</context>
<context>
    <name>ovra::AboutDialog</name>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>About Ovra Clock</source>
        <translation>Über Ovra Clock</translation>
    </message>
    <message>
        <source>A round, transparent desktop clock.</source>
        <translation>Eine runde, durchsichtige Uhr für den Desktop.</translation>
    </message>
    <message>
        <source>Copyright © Tamrel. All rights reserved.</source>
        <translation>Copyright © Tamrel. Alle Rechte vorbehalten.</translation>
    </message>
    <message>
        <source>This program is provided as is, without warranty of any kind.</source>
        <translation>Dieses Programm wird so bereitgestellt, wie es ist, ohne jegliche Gewährleistung.</translation>
    </message>
    <message>
        <source>Website: %1</source>
        <translation>Webseite: %1</translation>
    </message>
    <message>
        <source>Support: %1</source>
        <translation>Unterstützung: %1</translation>
    </message>
</context>
<context>
    <name>ovra::AlarmController</name>
    <message>
        <source>no such file, program or address</source>
        <translation>keine solche Datei, kein solches Programm und keine solche Adresse</translation>
    </message>
</context>
<context>
    <name>ovra::AlarmNotice</name>
    <message>
        <source>Alarm Tip</source>
        <translation>Alarmhinweis</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Snooze</source>
        <translation>&amp;Schlummern</translation>
    </message>
    <message numerus="yes">
        <source>%n minutes</source>
        <translation>
            <numerusform>%n Minute</numerusform>
            <numerusform>%n Minuten</numerusform>
        </translation>
    </message>
    <message>
        <source>Clock: %1  -  Alarm: %2</source>
        <extracomment>The notice window&apos;s title: %1 is the clock&apos;s name, %2 the alarm time.</extracomment>
        <translation>Uhr: %1  –  Alarm: %2</translation>
    </message>
    <message>
        <source>%1 (snoozed)</source>
        <extracomment>%1 is the notice window&apos;s title.</extracomment>
        <translation>%1 (schlummert)</translation>
    </message>
    <message>
        <source>missed at %1</source>
        <extracomment>%1 is the time an alarm was due while the computer slept.</extracomment>
        <translation>verpasst um %1</translation>
    </message>
    <message>
        <source>the computer was not shut down</source>
        <translation>der Rechner wurde nicht heruntergefahren</translation>
    </message>
    <message>
        <source>the computer was not restarted</source>
        <translation>der Rechner wurde nicht neu gestartet</translation>
    </message>
    <message>
        <source>the computer was not locked</source>
        <translation>der Rechner wurde nicht gesperrt</translation>
    </message>
    <message>
        <source>the computer was not powered off</source>
        <translation>der Rechner wurde nicht ausgeschaltet</translation>
    </message>
    <message>
        <source>the computer was not rebooted</source>
        <translation>der Rechner wurde nicht neu gestartet</translation>
    </message>
    <message>
        <source>would have opened %1</source>
        <extracomment>%1 is the file, document or address a missed alarm would have opened.</extracomment>
        <translation>hätte %1 geöffnet</translation>
    </message>
    <message numerus="yes">
        <source>Computer will be shutted down in %n seconds</source>
        <translation>
            <numerusform>Der Rechner wird in %n Sekunde heruntergefahren</numerusform>
            <numerusform>Der Rechner wird in %n Sekunden heruntergefahren</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Computer will be restarted in %n seconds</source>
        <translation>
            <numerusform>Der Rechner wird in %n Sekunde neu gestartet</numerusform>
            <numerusform>Der Rechner wird in %n Sekunden neu gestartet</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Computer will be locked in %n seconds</source>
        <translation>
            <numerusform>Der Rechner wird in %n Sekunde gesperrt</numerusform>
            <numerusform>Der Rechner wird in %n Sekunden gesperrt</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Computer will be powered off without saving in %n seconds</source>
        <translation>
            <numerusform>Der Rechner wird in %n Sekunde ohne Speichern ausgeschaltet</numerusform>
            <numerusform>Der Rechner wird in %n Sekunden ohne Speichern ausgeschaltet</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Computer will be rebooted without saving in %n seconds</source>
        <translation>
            <numerusform>Der Rechner wird in %n Sekunde ohne Speichern neu gestartet</numerusform>
            <numerusform>Der Rechner wird in %n Sekunden ohne Speichern neu gestartet</numerusform>
        </translation>
    </message>
    <message>
        <source>&amp;Cancel (%1)</source>
        <extracomment>&quot;&amp;&quot; marks the access key; %1 is the number of seconds left.</extracomment>
        <translation>&amp;Abbrechen (%1)</translation>
    </message>
    <message>
        <source>no alarm sound is installed</source>
        <translation>kein Alarmton installiert</translation>
    </message>
    <message>
        <source>No sound: %1</source>
        <extracomment>The notice&apos;s status line; %1 says why, such as &quot;no audio output&quot;.</extracomment>
        <translation>Kein Ton: %1</translation>
    </message>
    <message>
        <source>Action failed: %1</source>
        <extracomment>The notice&apos;s status line; %1 is the reason the system or the session gave.</extracomment>
        <translation>Aktion fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>Cannot open %1: %2</source>
        <extracomment>%1 is the file, program or address of an alarm, %2 why it did not open.</extracomment>
        <translation>%1 kann nicht geöffnet werden: %2</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>The countdown was cancelled and %1: the computer slept past its end.</source>
        <extracomment>%1 says what did not happen: &quot;the computer was not restarted&quot;.</extracomment>
        <translation>Der Countdown wurde abgebrochen und %1: Der Rechner schlief über sein Ende hinaus.</translation>
    </message>
</context>
<context>
    <name>ovra::AlarmSound</name>
    <message>
        <source>%1 cannot be read</source>
        <extracomment>%1 is the name of a sound file.</extracomment>
        <translation>%1 kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>the sound module cannot be loaded</source>
        <translation>das Tonmodul kann nicht geladen werden</translation>
    </message>
    <message>
        <source>%1 cannot be played</source>
        <translation>%1 kann nicht abgespielt werden</translation>
    </message>
    <message>
        <source>no audio output</source>
        <translation>keine Audioausgabe</translation>
    </message>
    <message>
        <source>no thread can be started (a process or memory limit)</source>
        <translation>es kann kein Thread gestartet werden (eine Prozess- oder Speichergrenze)</translation>
    </message>
    <message>
        <source>%1 is larger than 50 MB</source>
        <extracomment>%1 is the name of a sound file.</extracomment>
        <translation>%1 ist größer als 50 MB</translation>
    </message>
    <message>
        <source>%1 is not a WAV file that can be played</source>
        <extracomment>%1 is the name of a sound file.</extracomment>
        <translation>%1 ist keine abspielbare WAV-Datei</translation>
    </message>
    <message>
        <source>%1 is not 8, 16, 24 or 32-bit PCM or 32-bit float</source>
        <extracomment>%1 is the name of a sound file.</extracomment>
        <translation>%1 ist weder 8-, 16-, 24- oder 32-Bit-PCM noch 32-Bit-Gleitkomma</translation>
    </message>
    <message>
        <source>%1 has %2 channels, where %3 to %4 can be played</source>
        <extracomment>%1 is the name of a sound file, %2 the channels its header claims, %3 to %4 the channels a sound may have.</extracomment>
        <translation>%1 hat %2 Kanäle, abspielbar sind %3 bis %4</translation>
    </message>
    <message>
        <source>%1 has %2 samples a second, where %3 to %4 can be played</source>
        <extracomment>%1 is the name of a sound file, %2 the samples a second its header claims, %3 to %4 the rates a sound may have.</extracomment>
        <translation>%1 hat %2 Abtastwerte pro Sekunde, abspielbar sind %3 bis %4</translation>
    </message>
    <message>
        <source>%1 holds no sound</source>
        <extracomment>%1 is the name of a sound file.</extracomment>
        <translation>%1 enthält keinen Ton</translation>
    </message>
</context>
<context>
    <name>ovra::AlarmsPage</name>
    <message>
        <source> - Enabled</source>
        <translation> – Eingeschaltet</translation>
    </message>
    <message>
        <source> - Disabled</source>
        <translation> – Ausgeschaltet</translation>
    </message>
    <message>
        <source>Show Tip</source>
        <translation>Hinweis zeigen</translation>
    </message>
    <message>
        <source>Shut Down Computer</source>
        <translation>Rechner herunterfahren</translation>
    </message>
    <message>
        <source>Restart Computer</source>
        <translation>Rechner neu starten</translation>
    </message>
    <message>
        <source>Lock Computer</source>
        <translation>Rechner sperren</translation>
    </message>
    <message>
        <source>Power Off Without Saving</source>
        <translation>Ohne Speichern ausschalten</translation>
    </message>
    <message>
        <source>Reboot Without Saving</source>
        <translation>Ohne Speichern neu starten</translation>
    </message>
    <message>
        <source>Excute a file (Exe,Document,Url...)</source>
        <translation>Datei öffnen (Programm, Dokument, URL …)</translation>
    </message>
    <message>
        <source>1 Minute</source>
        <translation>1 Minute</translation>
    </message>
    <message>
        <source>2 Minutes</source>
        <translation>2 Minuten</translation>
    </message>
    <message>
        <source>3 Minutes</source>
        <translation>3 Minuten</translation>
    </message>
    <message>
        <source>5 Minutes</source>
        <translation>5 Minuten</translation>
    </message>
    <message>
        <source>Loop</source>
        <translation>Endlos</translation>
    </message>
    <message>
        <source>Select a file to be executed by Ovra Clock</source>
        <translation>Datei wählen, die Ovra Clock öffnen soll</translation>
    </message>
    <message>
        <source>&amp;Tip (256 characters maximum) :</source>
        <translation>Hinweis (höchstens 256 &amp;Zeichen):</translation>
    </message>
    <message>
        <source>Parame&amp;ter (256 characters maximum) :</source>
        <translation>&amp;Parameter (höchstens 256 Zeichen):</translation>
    </message>
    <message>
        <source> Add Alarm: </source>
        <translation> Alarm hinzufügen: </translation>
    </message>
    <message>
        <source> Manage Alarms: </source>
        <translation> Alarme verwalten: </translation>
    </message>
    <message>
        <source>A&amp;dd</source>
        <translation>&amp;Hinzufügen</translation>
    </message>
    <message>
        <source>&amp;Browse</source>
        <translation>Dur&amp;chsuchen</translation>
    </message>
    <message>
        <source>D&amp;elete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>E&amp;nable</source>
        <translation>&amp;Einschalten</translation>
    </message>
    <message>
        <source>Disab&amp;le</source>
        <translation>Ausschalte&amp;n</translation>
    </message>
    <message>
        <source>Select a sound file</source>
        <translation>Klangdatei wählen</translation>
    </message>
    <message>
        <source>(H:)</source>
        <translation>(Std.:)</translation>
    </message>
    <message>
        <source>(M:)</source>
        <translation>(Min.:)</translation>
    </message>
    <message>
        <source>Ala&amp;rm Time:</source>
        <translation>Ala&amp;rmzeit:</translation>
    </message>
    <message>
        <source>Days:</source>
        <translation>Tage:</translation>
    </message>
    <message>
        <source>Act&amp;ion:</source>
        <translation>Ak&amp;tion:</translation>
    </message>
    <message>
        <source>&amp;Sound:</source>
        <translation>&amp;Klang:</translation>
    </message>
    <message>
        <source>Pla&amp;ytime:</source>
        <translation>&amp;Spieldauer:</translation>
    </message>
    <message>
        <source>Please check at least one day for the alarm.</source>
        <translation>Bitte wählen Sie mindestens einen Tag für den Alarm.</translation>
    </message>
    <message>
        <source>Alarm is already exists. Please check and reset.</source>
        <translation>Diesen Alarm gibt es bereits. Bitte prüfen und ändern Sie ihn.</translation>
    </message>
    <message>
        <source>This clock already has %1 alarms, as many as it can keep. Delete an alarm before adding another.</source>
        <translation>Diese Uhr hat bereits %1 Alarme, so viele, wie sie halten kann. Löschen Sie einen Alarm, bevor Sie einen weiteren hinzufügen.</translation>
    </message>
    <message>
        <source>WAV sounds</source>
        <translation>WAV-Klänge</translation>
    </message>
    <message>
        <source>All files</source>
        <translation>Alle Dateien</translation>
    </message>
    <message>
        <source>AM%1 (%2)</source>
        <extracomment>An hour of the alarm&apos;s hour list: %1 on the twelve-hour clock, %2 on the 24-hour one.</extracomment>
        <translation>%2 Uhr (vorm. %1)</translation>
    </message>
    <message>
        <source>PM%1 (%2)</source>
        <translation>%2 Uhr (nachm. %1)</translation>
    </message>
    <message>
        <source>Default Alarm Sound</source>
        <extracomment>What the sound box shows for the alarm sound that comes with the clock; the alarm file keeps &quot;Default Alarm Sound&quot;.</extracomment>
        <translation>Standard-Alarmklang</translation>
    </message>
</context>
<context>
    <name>ovra::AlphaDialog</name>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>Set Color Alpha Value</source>
        <translation>Deckkraft der Farbe einstellen</translation>
    </message>
    <message>
        <source>Transparent</source>
        <translation>Durchsichtig</translation>
    </message>
    <message>
        <source>Opaque</source>
        <translation>Deckend</translation>
    </message>
    <message>
        <source>Alpha Value: %1</source>
        <translation>Deckkraft: %1</translation>
    </message>
</context>
<context>
    <name>ovra::AppearancePage</name>
    <message>
        <source>&amp;Hour Circle Width(10 ~ 50):</source>
        <translation>Bre&amp;ite des Stundenrings (10 ~ 50):</translation>
    </message>
    <message>
        <source>Minute Circle &amp;Width(10 ~ 50):</source>
        <translation>Brei&amp;te des Minutenrings (10 ~ 50):</translation>
    </message>
    <message>
        <source>S&amp;econd Circle Width(10 ~ 50):</source>
        <translation>Breite des Seku&amp;ndenrings (10 ~ 50):</translation>
    </message>
    <message>
        <source>Clock Ra&amp;dius(48 ~ 128):</source>
        <translation>&amp;Radius der Uhr (48 ~ 128):</translation>
    </message>
    <message>
        <source> Appearance: </source>
        <translation> Darstellung: </translation>
    </message>
    <message>
        <source>AM Hour/24 Hour C&amp;ircle Color:</source>
        <translation>Farbe des Stundenrin&amp;gs (AM/24 Stunden):</translation>
    </message>
    <message>
        <source>PM Hour Circ&amp;le Color:</source>
        <translation>Farbe des Stundenrings (&amp;PM):</translation>
    </message>
    <message>
        <source>Minu&amp;te Circle Color:</source>
        <translation>Farb&amp;e des Minutenrings:</translation>
    </message>
    <message>
        <source>&amp;Second Circle Color:</source>
        <translation>Farbe des Se&amp;kundenrings:</translation>
    </message>
    <message>
        <source>Time &amp;Font Color:</source>
        <translation>Sc&amp;hriftfarbe der Uhrzeit:</translation>
    </message>
    <message>
        <source>Date Fo&amp;nt Color:</source>
        <translation>S&amp;chriftfarbe des Datums:</translation>
    </message>
    <message>
        <source>Cloc&amp;k Dial Scale Color:</source>
        <translation>&amp;Farbe der Skala:</translation>
    </message>
</context>
<context>
    <name>ovra::ClockAccessible</name>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Move</source>
        <translation>Verschieben</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <extracomment>The clock&apos;s time and date as a screen reader speaks them: %1 the time, %2 the date.</extracomment>
        <translation>%1, %2</translation>
    </message>
</context>
<context>
    <name>ovra::ClockWindow</name>
    <message>
        <source>&amp;Settings…</source>
        <translation>&amp;Einstellungen…</translation>
    </message>
    <message>
        <source>Always on &amp;Top</source>
        <translation>Immer im &amp;Vordergrund</translation>
    </message>
    <message>
        <source>Show Sc&amp;ale</source>
        <translation>&amp;Skala anzeigen</translation>
    </message>
    <message>
        <source>A&amp;bout…</source>
        <translation>Ü&amp;ber…</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>S&amp;chließen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Move</source>
        <translation>Verschieben</translation>
    </message>
</context>
<context>
    <name>ovra::ClocksPage</name>
    <message>
        <source> Add Clock: </source>
        <translation> Uhr hinzufügen: </translation>
    </message>
    <message>
        <source> Manage Clocks: </source>
        <translation> Uhren verwalten: </translation>
    </message>
    <message>
        <source>A&amp;dd</source>
        <translation>&amp;Hinzufügen</translation>
    </message>
    <message>
        <source>D&amp;elete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>&amp;Run</source>
        <translation>&amp;Starten</translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <translation>B&amp;eenden</translation>
    </message>
    <message>
        <source>Re&amp;fresh</source>
        <translation>A&amp;ktualisieren</translation>
    </message>
    <message>
        <source>Select Time &amp;Zone:</source>
        <translation>&amp;Zeitzone wählen:</translation>
    </message>
    <message>
        <source>Display &amp;Name:</source>
        <translation>A&amp;nzeigename:</translation>
    </message>
    <message>
        <source>%1 -- Running</source>
        <extracomment>%1 is a clock&apos;s name.</extracomment>
        <translation>%1 -- Läuft</translation>
    </message>
    <message>
        <source>%1 -- Stopped</source>
        <extracomment>%1 is a clock&apos;s name.</extracomment>
        <translation>%1 -- Beendet</translation>
    </message>
    <message>
        <source>Find a P&amp;lace:</source>
        <translation>Ort su&amp;chen:</translation>
    </message>
    <message>
        <source>Add Clock</source>
        <extracomment>The name box&apos;s text before a name is chosen; Add takes it as it stands.</extracomment>
        <translation>Uhr hinzufügen</translation>
    </message>
</context>
<context>
    <name>ovra::ColourRow</name>
    <message>
        <source>Choose a colour and its alpha</source>
        <translation>Farbe und Deckkraft wählen</translation>
    </message>
</context>
<context>
    <name>ovra::DesktopShellOpen</name>
    <message>
        <source>no such file</source>
        <translation>Datei nicht vorhanden</translation>
    </message>
    <message>
        <source>no application opens it</source>
        <translation>keine Anwendung öffnet es</translation>
    </message>
    <message>
        <source>xdg-open failed with status %1</source>
        <extracomment>%1 is the exit status of xdg-open.</extracomment>
        <translation>xdg-open ist mit Status %1 gescheitert</translation>
    </message>
    <message>
        <source>it cannot be started</source>
        <translation>es kann nicht gestartet werden</translation>
    </message>
    <message>
        <source>xdg-open is not installed</source>
        <translation>xdg-open ist nicht installiert</translation>
    </message>
</context>
<context>
    <name>ovra::GeneralPage</name>
    <message>
        <source> General: </source>
        <translation> Allgemein: </translation>
    </message>
    <message>
        <source>No</source>
        <translation>Nein</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>12 Hour</source>
        <translation>12 Stunden</translation>
    </message>
    <message>
        <source>24 Hour</source>
        <translation>24 Stunden</translation>
    </message>
    <message>
        <source>Standard Time</source>
        <translation>Normalzeit</translation>
    </message>
    <message>
        <source>Daylight Saving Time</source>
        <translation>Sommerzeit</translation>
    </message>
    <message>
        <source>Automatic Daylight Saving</source>
        <translation>Sommerzeit automatisch</translation>
    </message>
    <message>
        <source>Clock Always On &amp;Top:</source>
        <translation>Uhr &amp;immer im Vordergrund:</translation>
    </message>
    <message>
        <source>Display Clock &amp;Scale:</source>
        <translation>S&amp;kala anzeigen:</translation>
    </message>
    <message>
        <source>Bac&amp;kground Opacity:</source>
        <translation>Deckkraft des &amp;Hintergrunds:</translation>
    </message>
    <message>
        <source>Time &amp;Format:</source>
        <translation>Z&amp;eitformat:</translation>
    </message>
    <message>
        <source>Time Stan&amp;dard:</source>
        <translation>&amp;Zeitnorm:</translation>
    </message>
    <message>
        <source>Start at &amp;Login:</source>
        <translation>Bei de&amp;r Anmeldung starten:</translation>
    </message>
</context>
<context>
    <name>ovra::LoadedAlarmSound</name>
    <message>
        <source>not found in %1</source>
        <translation>nicht gefunden in %1</translation>
    </message>
    <message>
        <source>Alarms stay silent: the sound module %1 cannot be loaded (%2).</source>
        <translation>Alarme bleiben stumm: Das Klangmodul %1 kann nicht geladen werden (%2).</translation>
    </message>
    <message>
        <source>An alarm stays silent: no thread can be started (a process or memory limit).</source>
        <translation>Ein Alarm bleibt stumm: Es kann kein Thread gestartet werden (eine Prozess- oder Speichergrenze).</translation>
    </message>
    <message>
        <source>%1 has no %2: it belongs to another version</source>
        <translation>%1 hat kein %2: es gehört zu einer anderen Version</translation>
    </message>
</context>
<context>
    <name>ovra::PowerControl</name>
    <message>
        <source>%1 does not answer</source>
        <extracomment>%1 names a system service, such as logind or a session manager.</extracomment>
        <translation>%1 antwortet nicht</translation>
    </message>
</context>
<context>
    <name>ovra::SettingsDialog</name>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>Abo&amp;ut</source>
        <translation>Ü&amp;ber</translation>
    </message>
    <message>
        <source>&amp;Apply</source>
        <translation>&amp;Übernehmen</translation>
    </message>
    <message>
        <source>A&amp;ppearance</source>
        <translation>&amp;Darstellung</translation>
    </message>
    <message>
        <source>&amp;Clocks</source>
        <translation>&amp;Uhren</translation>
    </message>
    <message>
        <source>Alar&amp;ms</source>
        <translation>Alar&amp;me</translation>
    </message>
    <message>
        <source>&amp;General</source>
        <translation>&amp;Allgemein</translation>
    </message>
    <message>
        <source>Ovra Clock Configuration</source>
        <translation>Ovra Clock – Einstellungen</translation>
    </message>
    <message>
        <source>&amp;Restore Default Settings</source>
        <translation>&amp;Standardeinstellungen wiederherstellen</translation>
    </message>
    <message>
        <source>Time zone: %1</source>
        <extracomment>%1 is a zone as the zone list shows it.</extracomment>
        <translation>Zeitzone: %1</translation>
    </message>
    <message>
        <source>%1 - %2</source>
        <extracomment>A window&apos;s title and the clock it belongs to; the dash the language&apos;s titles use.</extracomment>
        <translation>%1 – %2</translation>
    </message>
</context>
<context>
    <name>ovra::ShellTarget</name>
    <message>
        <source>it cannot be looked at</source>
        <translation>es lässt sich nicht prüfen</translation>
    </message>
    <message>
        <source>it is a program of another user</source>
        <translation>es ist ein Programm eines anderen Benutzers</translation>
    </message>
    <message>
        <source>other users may change it</source>
        <translation>andere Benutzer dürfen es ändern</translation>
    </message>
    <message>
        <source>its folder %1 cannot be looked at</source>
        <extracomment>%1 is a folder.</extracomment>
        <translation>sein Ordner %1 lässt sich nicht prüfen</translation>
    </message>
    <message>
        <source>its folder %1 belongs to another user</source>
        <extracomment>%1 is a folder.</extracomment>
        <translation>sein Ordner %1 gehört einem anderen Benutzer</translation>
    </message>
    <message>
        <source>other users may change its folder %1</source>
        <extracomment>%1 is a folder.</extracomment>
        <translation>andere Benutzer dürfen seinen Ordner %1 ändern</translation>
    </message>
    <message>
        <source>a file: address needs the file&apos;s absolute path</source>
        <translation>eine file:-Adresse braucht den absoluten Pfad der Datei</translation>
    </message>
</context>
<context>
    <name>ovra::ZonePicker</name>
    <message>
        <source>Now UTC%1, %2 %3</source>
        <extracomment>%1 is the offset from UTC (&quot;+13:00&quot;), %2 a weekday and %3 a time (&quot;03:29&quot;).</extracomment>
        <translation>Jetzt UTC%1, %2 %3</translation>
    </message>
    <message>
        <source>City, country or zone name</source>
        <translation>Stadt, Land oder Zonenname</translation>
    </message>
    <message>
        <source>%1 (now %2)</source>
        <extracomment>A place found by typing: %1 is the place, %2 its offset from UTC now.</extracomment>
        <translation>%1 (jetzt %2)</translation>
    </message>
</context>
</TS>
