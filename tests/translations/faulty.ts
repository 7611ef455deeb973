<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<!-- Every fault the catalogue check must find, one per message. -->
<TS version="2.1" language="de_DE">
<context>
    <name>Faults</name>
    <message>
        <source>Not translated yet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gone from the code</source>
        <translation type="vanished">Aus dem Code verschwunden</translation>
    </message>
    <message>
        <source>The clock %1 is not running.</source>
        <translation>Die Uhr läuft nicht.</translation>
    </message>
    <message>
        <source>&amp;Apply</source>
        <translation>Übernehmen</translation>
    </message>
    <message>
        <source>The clock %1 is gone.</source>
        <translation>Die Uhr &quot;%1&quot; ist weg.</translation>
    </message>
    <message>
        <source>%1 - %2</source>
        <translation>Ovra Clock – %1 - %2</translation>
    </message>
    <message numerus="yes">
        <source>%n minutes</source>
        <translation>
            <numerusform>eine Minute</numerusform>
            <numerusform>%n Minuten</numerusform>
        </translation>
    </message>
</context>
</TS>
