<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>EncoderWindow</name>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>Command</source>
        <translation>Befehl</translation>
    </message>
    <message>
        <source>Encoder output</source>
        <translation>Ausgabe des Encoders</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Fortschritt</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Zustand</translation>
    </message>
    <message>
        <source>Check of the output</source>
        <translation>Prüfung der Ausgabe</translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <translation>&amp;Anhalten</translation>
    </message>
    <message>
        <source>Copy &amp;log</source>
        <translation>Protokoll &amp;kopieren</translation>
    </message>
    <message>
        <source>Cl&amp;ose</source>
        <translation>&amp;Schließen</translation>
    </message>
    <message>
        <source>Stopped. The partial output was kept: %1</source>
        <translation>Angehalten. Die unvollständige Ausgabe wurde behalten: %1</translation>
    </message>
    <message>
        <source>Stopped. No output was written</source>
        <translation>Angehalten. Es wurde keine Ausgabe geschrieben</translation>
    </message>
    <message>
        <source>Finished</source>
        <translation>Fertig</translation>
    </message>
    <message>
        <source>Failed (ended by signal %1)</source>
        <translation>Fehlgeschlagen (durch Signal %1 beendet)</translation>
    </message>
    <message>
        <source>Failed (exit code %1)</source>
        <translation>Fehlgeschlagen (Exit-Code %1)</translation>
    </message>
    <message>
        <source>Checking the output...</source>
        <translation>Die Ausgabe wird geprüft …</translation>
    </message>
    <message>
        <source>Failed: the DPG file could not be put together: %1</source>
        <translation>Fehlgeschlagen: die DPG-Datei ließ sich nicht zusammensetzen: %1</translation>
    </message>
    <message>
        <source>Failed: no output file</source>
        <translation>Fehlgeschlagen: keine Ausgabedatei</translation>
    </message>
    <message>
        <source>Running</source>
        <translation>Läuft</translation>
    </message>
    <message>
        <source>%1 - %2 elapsed</source>
        <translation>%1 – %2 vergangen</translation>
    </message>
    <message>
        <source>. This encoder needs the modern command: turn on Options &gt; Modern ffmpeg command in the main window, then Convert again.</source>
        <translation>. Dieser Encoder braucht den modernen Befehl: im Hauptfenster Optionen &gt; Moderner ffmpeg-Befehl einschalten und erneut konvertieren.</translation>
    </message>
</context>
<context>
    <name>FrameView</name>
    <message>
        <source>Fit preview</source>
        <translation>Vorschau der Einpassung</translation>
    </message>
    <message>
        <source>No fit: the source&apos;s width and height are needed</source>
        <translation>Keine Einpassung: Breite und Höhe der Quelle werden benötigt</translation>
    </message>
    <message>
        <source>Screen %1 x %2, picture %3 x %4, pads top %5, bottom %6, left %7, right %8</source>
        <translation>Bildschirm %1 x %2, Bild %3 x %4, Ränder oben %5, unten %6, links %7, rechts %8</translation>
    </message>
    <message>
        <source>picture %1 x %2</source>
        <translation>Bild %1 x %2</translation>
    </message>
    <message>
        <source>screen %1 x %2</source>
        <translation>Bildschirm %1 x %2</translation>
    </message>
    <message>
        <source>top %1</source>
        <translation>oben %1</translation>
    </message>
    <message>
        <source>bottom %1</source>
        <translation>unten %1</translation>
    </message>
    <message>
        <source>left
%1</source>
        <translation>links
%1</translation>
    </message>
    <message>
        <source>right
%1</source>
        <translation>rechts
%1</translation>
    </message>
</context>
<context>
    <name>OutputCheck</name>
    <message>
        <source>stereo</source>
        <translation>Stereo</translation>
    </message>
    <message>
        <source>mono</source>
        <translation>Mono</translation>
    </message>
    <message>
        <source>%1 channels</source>
        <translation>%1 Kanäle</translation>
    </message>
    <message>
        <source>%1x%2, %3, %4 fps, %5 %6 Hz %7</source>
        <translation>%1x%2, %3, %4 fps, %5 %6 Hz %7</translation>
    </message>
    <message>
        <source>width</source>
        <translation>Breite</translation>
    </message>
    <message>
        <source>height</source>
        <translation>Höhe</translation>
    </message>
    <message>
        <source>video codec</source>
        <translation>Video-Codec</translation>
    </message>
    <message>
        <source>frame rate</source>
        <translation>Bildrate</translation>
    </message>
    <message>
        <source>audio codec</source>
        <translation>Audio-Codec</translation>
    </message>
    <message>
        <source>sample rate</source>
        <translation>Abtastrate</translation>
    </message>
    <message>
        <source>channels</source>
        <translation>Kanäle</translation>
    </message>
    <message>
        <source>duration</source>
        <translation>Dauer</translation>
    </message>
    <message>
        <source>The encoder ended without writing %1</source>
        <translation>Der Encoder endete, ohne %1 zu schreiben</translation>
    </message>
    <message>
        <source>The output could not be checked: %1</source>
        <translation>Die Ausgabe konnte nicht geprüft werden: %1</translation>
    </message>
    <message>
        <source>Fits %1: %2</source>
        <translation>Passt zu %1: %2</translation>
    </message>
    <message>
        <source>no %1, expected %2</source>
        <translation>%1 fehlt, erwartet %2</translation>
    </message>
    <message>
        <source>%1 %2, expected %3</source>
        <translation>%1 %2, erwartet %3</translation>
    </message>
    <message>
        <source>Does not fit %1: %2</source>
        <translation>Passt nicht zu %1: %2</translation>
    </message>
    <message>
        <source>; </source>
        <translation>; </translation>
    </message>
    <message>
        <source>The output is not a readable video: %1</source>
        <translation>Die Ausgabe ist kein lesbares Video: %1</translation>
    </message>
    <message>
        <source>pixel aspect</source>
        <translation>Pixelseitenverhältnis</translation>
    </message>
    <message>
        <source>video %1 kbit/s (asked %2)</source>
        <translation>Video %1 kbit/s (verlangt %2)</translation>
    </message>
    <message>
        <source>video %1 kbit/s</source>
        <translation>Video %1 kbit/s</translation>
    </message>
    <message>
        <source>audio %1 kbit/s (asked %2)</source>
        <translation>Audio %1 kbit/s (verlangt %2)</translation>
    </message>
    <message>
        <source>audio %1 kbit/s</source>
        <translation>Audio %1 kbit/s</translation>
    </message>
    <message>
        <source>the video is %1% over the bitrate asked</source>
        <translation>das Video liegt %1 % über der verlangten Bitrate</translation>
    </message>
    <message>
        <source>on a 4:3 TV the picture appears %1% narrower; the target &apos;%2&apos; fits it</source>
        <translation>auf einem 4:3-Fernseher erscheint das Bild %1 % schmaler; das Ziel „%2“ passt dazu</translation>
    </message>
    <message>
        <source>the end</source>
        <translation>das Ende</translation>
    </message>
    <message>
        <source>cut %1 to %2: %3 s of %4 s kept (within %5 s)</source>
        <translation>Schnitt %1 bis %2: %3 s von %4 s behalten (auf %5 s genau)</translation>
    </message>
    <message>
        <source>cut %1 to %2: %3 s of %4 s kept</source>
        <translation>Schnitt %1 bis %2: %3 s von %4 s behalten</translation>
    </message>
    <message>
        <source>file %1 MB (asked %2 MB)</source>
        <translation>Datei %1 MB (verlangt %2 MB)</translation>
    </message>
    <message>
        <source>the file is %1% over the size asked</source>
        <translation>die Datei ist %1 % größer als verlangt</translation>
    </message>
    <message>
        <source>the file is %1% under the size asked: the encoder reached its best quality with fewer bits</source>
        <translation>die Datei ist %1 % kleiner als verlangt: der Encoder erreichte seine beste Qualität mit weniger Bits</translation>
    </message>
    <message>
        <source>profile</source>
        <translation>Profil</translation>
    </message>
    <message>
        <source>level</source>
        <translation>Level</translation>
    </message>
    <message>
        <source>video bitrate</source>
        <translation>Videobitrate</translation>
    </message>
    <message>
        <source>picture size</source>
        <translation>Bildgröße</translation>
    </message>
    <message>
        <source>pixels per frame</source>
        <translation>Pixel pro Bild</translation>
    </message>
    <message>
        <source>audio bitrate</source>
        <translation>Audiobitrate</translation>
    </message>
    <message>
        <source>brand</source>
        <translation>Marke</translation>
    </message>
    <message>
        <source>sound stream</source>
        <translation>Tonspur</translation>
    </message>
    <message>
        <source>reference frames</source>
        <translation>Referenzbilder</translation>
    </message>
    <message>
        <source>B-frames</source>
        <translation>B-Bilder</translation>
    </message>
    <message>
        <source>video bitrate in its fullest second</source>
        <translation>Videobitrate in der vollsten Sekunde</translation>
    </message>
    <message>
        <source>index before the data</source>
        <translation>Index vor den Daten</translation>
    </message>
    <message>
        <source>Plays on %1: %2 of %3 limits held</source>
        <translation>Läuft auf %1: %2 von %3 Grenzen eingehalten</translation>
    </message>
    <message>
        <source>its %1 is %2, more than the %3 it plays</source>
        <translation>%1 %2, mehr als die %3, die das Gerät abspielt</translation>
    </message>
    <message>
        <source>its %1 is %2, where it plays %3</source>
        <translation>%1 %2, das Gerät spielt %3</translation>
    </message>
    <message>
        <source>its %1 %2 is not a multiple of 16</source>
        <translation>%1 %2 ist kein Vielfaches von 16</translation>
    </message>
    <message>
        <source>it has no %1, which it needs</source>
        <translation>keine %1, die das Gerät braucht</translation>
    </message>
    <message>
        <source>it has %1, which it does not play</source>
        <translation>%1, die das Gerät nicht abspielt</translation>
    </message>
    <message>
        <source>May not play on %1: %2 of %3 limits held; %4</source>
        <translation>Läuft vielleicht nicht auf %1: %2 von %3 Grenzen eingehalten; %4</translation>
    </message>
    <message>
        <source>sound in %1</source>
        <translation>Ton in %1</translation>
    </message>
    <message>
        <source>sound language</source>
        <translation>Tonsprache</translation>
    </message>
    <message>
        <source>this file keeps no language tag, so the sound stream&apos;s language (%1) was not checked</source>
        <translation>diese Datei trägt keine Sprachangabe, daher wurde die Sprache der Tonspur (%1) nicht geprüft</translation>
    </message>
    <message>
        <source>%1x%2, %3, %4 fps, no sound</source>
        <translation>%1x%2, %3, %4 fps, ohne Ton</translation>
    </message>
</context>
<context>
    <name>PickerDialog</name>
    <message>
        <source>%1 is not a program that can be run. Choose the encoder program itself.</source>
        <translation>%1 ist kein Programm, das sich starten lässt. Wählen Sie das Encoder-Programm selbst.</translation>
    </message>
    <message>
        <source>Subtitles (*.srt *.ass *.ssa *.vtt *.SRT *.ASS *.SSA *.VTT)</source>
        <translation>Untertitel (*.srt *.ass *.ssa *.vtt *.SRT *.ASS *.SSA *.VTT)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
</context>
<context>
    <name>Platform</name>
    <message>
        <source>The desktop could not open it. Open it by hand:
%1</source>
        <translation>Der Desktop konnte es nicht öffnen. Öffnen Sie es von Hand:
%1</translation>
    </message>
</context>
<context>
    <name>PreviewWindow</name>
    <message>
        <source>none</source>
        <translation>keiner</translation>
    </message>
    <message>
        <source>The picture kept before the fit, in the source&apos;s stored pixels: width:height:left:top, for example 480:480:80:0. Empty: no crop.</source>
        <translation>Das vor der Anpassung behaltene Bild, in den gespeicherten Pixeln der Quelle: Breite:Höhe:links:oben, zum Beispiel 480:480:80:0. Leer: kein Zuschnitt.</translation>
    </message>
    <message>
        <source>C&amp;rop (W:H:X:Y):</source>
        <translation>Zu&amp;schnitt (B:H:X:Y):</translation>
    </message>
    <message>
        <source>Type the crop as width:height:left:top, for example 480:480:80:0</source>
        <translation>Geben Sie den Zuschnitt als Breite:Höhe:links:oben ein, zum Beispiel 480:480:80:0</translation>
    </message>
    <message>
        <source>A frame at %1, rendered through the command&apos;s own picture filter</source>
        <translation>Ein Bild bei %1, durch den Bildfilter des Befehls berechnet</translation>
    </message>
    <message>
        <source>No frame: %1</source>
        <translation>Kein Bild: %1</translation>
    </message>
    <message>
        <source>Moment of the frame</source>
        <translation>Zeitpunkt des Bildes</translation>
    </message>
    <message>
        <source>&amp;Moment:</source>
        <translation>&amp;Zeitpunkt:</translation>
    </message>
    <message>
        <source>Zoom %1 times</source>
        <translation>%1-fach vergrößert</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Zustand</translation>
    </message>
    <message>
        <source>Preview - %1</source>
        <translation>Vorschau - %1</translation>
    </message>
    <message>
        <source>modern</source>
        <translation>modern</translation>
    </message>
    <message>
        <source>classic</source>
        <translation>klassisch</translation>
    </message>
    <message>
        <source>%1 fps, %2 command form</source>
        <translation>%1 fps, Befehlsform %2</translation>
    </message>
    <message>
        <source>No movie type chosen: no command is written for this target</source>
        <translation>Kein Filmtyp gewählt: für dieses Ziel wird kein Befehl geschrieben</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 von %2</translation>
    </message>
    <message>
        <source>No frame: enter the source&apos;s width and height</source>
        <translation>Kein Bild: Breite und Höhe der Quelle eingeben</translation>
    </message>
    <message>
        <source>Rendering a frame...</source>
        <translation>Ein Bild wird berechnet …</translation>
    </message>
    <message>
        <source>A VCD&apos;s pixels are not square: the frame is shown as a 4:3 television displays it.</source>
        <translation>Die Bildpunkte einer VCD sind nicht quadratisch: das Bild wird gezeigt, wie ein 4:3-Fernseher es darstellt.</translation>
    </message>
    <message>
        <source>at most %1 fps, %2 command form</source>
        <translation>höchstens %1 fps, Befehlsform %2</translation>
    </message>
    <message>
        <source>On a 4:3 TV the picture appears %1% narrower; the target &apos;%2&apos; fits it.</source>
        <translation>Auf einem 4:3-Fernseher erscheint das Bild %1 % schmaler; das Ziel „%2“ passt dazu.</translation>
    </message>
    <message>
        <source>Set &amp;start</source>
        <translation>&amp;Anfang setzen</translation>
    </message>
    <message>
        <source>Set &amp;end</source>
        <translation>&amp;Ende setzen</translation>
    </message>
    <message>
        <source>C&amp;lear cut</source>
        <translation>Schnitt &amp;löschen</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Schnitt</translation>
    </message>
    <message>
        <source>Add to &amp;queue</source>
        <translation>Zur &amp;Warteschlange hinzufügen</translation>
    </message>
    <message>
        <source>No cut: the video&apos;s duration is not known yet</source>
        <translation>Kein Schnitt: Die Dauer des Videos ist noch nicht bekannt</translation>
    </message>
    <message>
        <source>Cut from %1 to %2</source>
        <translation>Schnitt von %1 bis %2</translation>
    </message>
    <message>
        <source>the end</source>
        <translation>das Ende</translation>
    </message>
    <message>
        <source>No cut: the whole video is converted</source>
        <translation>Kein Schnitt: Das ganze Video wird konvertiert</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Keine</translation>
    </message>
    <message>
        <source>Automatic</source>
        <translation>Automatisch</translation>
    </message>
    <message>
        <source>File...</source>
        <translation>Datei...</translation>
    </message>
    <message>
        <source>Automatic: a subtitle file beside the video with its name, else the video&apos;s first subtitle stream</source>
        <translation>Automatisch: eine Untertiteldatei mit dem Namen des Videos neben ihm, sonst die erste Untertitelspur des Videos</translation>
    </message>
    <message>
        <source>S&amp;ubtitles:</source>
        <translation>&amp;Untertitel:</translation>
    </message>
    <message>
        <source>Subtitles to burn in</source>
        <translation>Einzubrennende Untertitel</translation>
    </message>
    <message>
        <source> px</source>
        <translation> px</translation>
    </message>
    <message>
        <source>Height of the subtitles&apos; text in pixels of the target</source>
        <translation>Höhe des Untertiteltexts in Pixeln des Ziels</translation>
    </message>
    <message>
        <source>%1 px left and right, %2 px above and below</source>
        <translation>%1 px links und rechts, %2 px oben und unten</translation>
    </message>
    <message>
        <source>%1 px left and right</source>
        <translation>%1 px links und rechts</translation>
    </message>
    <message>
        <source>%1 px above and below</source>
        <translation>%1 px oben und unten</translation>
    </message>
    <message>
        <source>Black bars found: %1 — Crop them</source>
        <translation>Schwarze Balken gefunden: %1 — Abschneiden</translation>
    </message>
    <message>
        <source>(the picture fills %1% of the screen instead of %2%)</source>
        <translation>(das Bild füllt %1% des Bildschirms statt %2%)</translation>
    </message>
    <message>
        <source>A frame at %1, deinterlaced and rendered through the command&apos;s own picture filter</source>
        <translation>Ein Bild bei %1, entflochten und durch den Bildfilter des Befehls berechnet</translation>
    </message>
</context>
<context>
    <name>QueueWindow</name>
    <message>
        <source>Command: %1</source>
        <translation>Befehl: %1</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>%1 finished, %2 failed, %3 skipped</source>
        <translation>%1 fertig, %2 fehlgeschlagen, %3 übersprungen</translation>
    </message>
    <message>
        <source>Videos in the queue</source>
        <translation>Videos in der Warteschlange</translation>
    </message>
    <message>
        <source>Source</source>
        <translation>Quelle</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Target</source>
        <translation>Ziel</translation>
    </message>
    <message>
        <source>Output</source>
        <translation>Ausgabe</translation>
    </message>
    <message>
        <source>State</source>
        <translation>Zustand</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Fortschritt</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
    <message>
        <source>Details of the selected video</source>
        <translation>Einzelheiten des gewählten Videos</translation>
    </message>
    <message>
        <source>&amp;Start</source>
        <translation>&amp;Starten</translation>
    </message>
    <message>
        <source>&amp;Pause after current</source>
        <translation>&amp;Pause nach dem aktuellen</translation>
    </message>
    <message>
        <source>S&amp;top current</source>
        <translation>Aktuelles a&amp;nhalten</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>&amp;Entfernen</translation>
    </message>
    <message>
        <source>Move &amp;up</source>
        <translation>Nach &amp;oben</translation>
    </message>
    <message>
        <source>Move do&amp;wn</source>
        <translation>Nach &amp;unten</translation>
    </message>
    <message>
        <source>C&amp;lear finished</source>
        <translation>&amp;Fertige leeren</translation>
    </message>
    <message>
        <source>&amp;Open output folder</source>
        <translation>&amp;Ausgabeordner öffnen</translation>
    </message>
    <message>
        <source>running, %1 of %2 done</source>
        <translation>läuft, %1 von %2 fertig</translation>
    </message>
    <message>
        <source>not running</source>
        <translation>läuft nicht</translation>
    </message>
    <message>
        <source>, %1 left</source>
        <translation>, noch %1</translation>
    </message>
    <message>
        <source>Queue - %1</source>
        <translation>Warteschlange - %1</translation>
    </message>
    <message>
        <source>%1 left</source>
        <translation>noch %1</translation>
    </message>
    <message>
        <source>Enter the size as width x height, for example 640x480</source>
        <translation>Die Größe als Breite x Höhe eingeben, zum Beispiel 640x480</translation>
    </message>
    <message>
        <source>Invalid Size!</source>
        <translation>Ungültige Größe!</translation>
    </message>
    <message>
        <source>Start the queue</source>
        <translation>Warteschlange starten</translation>
    </message>
    <message>
        <source>&amp;Replace them</source>
        <translation>&amp;Ersetzen</translation>
    </message>
    <message>
        <source>&amp;Skip those videos</source>
        <translation>Diese Videos &amp;überspringen</translation>
    </message>
    <message>
        <source>The queue is done: %1.</source>
        <translation>Die Warteschlange ist fertig: %1.</translation>
    </message>
    <message>
        <source>Queue - done: %1</source>
        <translation>Warteschlange - fertig: %1</translation>
    </message>
    <message>
        <source>Detecting size</source>
        <translation>Größe wird ermittelt</translation>
    </message>
    <message>
        <source>Waiting</source>
        <translation>Wartet</translation>
    </message>
    <message>
        <source>Needs attention: %1</source>
        <translation>Braucht Aufmerksamkeit: %1</translation>
    </message>
    <message>
        <source>Running</source>
        <translation>Läuft</translation>
    </message>
    <message>
        <source>Finished, but does not fit</source>
        <translation>Fertig, passt aber nicht</translation>
    </message>
    <message>
        <source>Finished</source>
        <translation>Fertig</translation>
    </message>
    <message>
        <source>Failed: %1</source>
        <translation>Fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>Stopped</source>
        <translation>Angehalten</translation>
    </message>
    <message>
        <source>Skipped: %1</source>
        <translation>Übersprungen: %1</translation>
    </message>
    <message numerus="yes">
        <source>%n video(s): %1</source>
        <translation>
            <numerusform>%n Video: %1</numerusform>
            <numerusform>%n Videos: %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n output file(s) exist already. Replace them, or skip those videos?</source>
        <translation>
            <numerusform>%n Ausgabedatei gibt es schon. Ersetzen oder dieses Video überspringen?</numerusform>
            <numerusform>%n Ausgabedateien gibt es schon. Ersetzen oder diese Videos überspringen?</numerusform>
        </translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>The queue could not be saved: %1</source>
        <translation>Die Warteschlange konnte nicht gespeichert werden: %1</translation>
    </message>
    <message>
        <source>Cut from %1 to %2</source>
        <translation>Schnitt von %1 bis %2</translation>
    </message>
    <message>
        <source>the end</source>
        <translation>das Ende</translation>
    </message>
    <message>
        <source>%1 finished, %2 not fitting their target, %3 failed, %4 skipped</source>
        <translation>%1 fertig, %2 passen nicht zum Ziel, %3 fehlgeschlagen, %4 übersprungen</translation>
    </message>
    <message>
        <source>Optio&amp;ns</source>
        <translation>Op&amp;tionen</translation>
    </message>
    <message>
        <source>Videos converted at once</source>
        <translation>Gleichzeitig umgewandelte Videos</translation>
    </message>
    <message numerus="yes">
        <source>&amp;Automatic (%n at once)</source>
        <translation>
            <numerusform>&amp;Automatisch (%n gleichzeitig)</numerusform>
            <numerusform>&amp;Automatisch (%n gleichzeitig)</numerusform>
        </translation>
    </message>
    <message>
        <source>&amp;1, one after another</source>
        <translation>&amp;1, eines nach dem anderen</translation>
    </message>
    <message>
        <source>%1% - %2</source>
        <translation>%1% - %2</translation>
    </message>
    <message>
        <source>Several videos are converting. Select the one to stop.</source>
        <translation>Mehrere Videos werden umgewandelt. Wählen Sie das aus, das angehalten werden soll.</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Anhalten</translation>
    </message>
    <message>
        <source>Target &amp;file size...</source>
        <translation>Ziel-&amp;Dateigröße...</translation>
    </message>
    <message>
        <source>File size asked: %1 MB, in two passes</source>
        <translation>Verlangte Dateigröße: %1 MB, in zwei Durchgängen</translation>
    </message>
    <message>
        <source>Target file size</source>
        <translation>Ziel-Dateigröße</translation>
    </message>
    <message>
        <source>Size of the output in MB (0: keep the bitrates):</source>
        <translation>Größe der Ausgabe in MB (0: die Bitraten behalten):</translation>
    </message>
    <message>
        <source>S&amp;ubtitles</source>
        <translation>&amp;Untertitel</translation>
    </message>
    <message>
        <source>&amp;Automatic (a file beside the video or its first subtitle stream)</source>
        <translation>&amp;Automatisch (eine Datei neben dem Video oder seine erste Untertitelspur)</translation>
    </message>
    <message>
        <source>&amp;None</source>
        <translation>&amp;Keine</translation>
    </message>
    <message>
        <source>&amp;File...</source>
        <translation>&amp;Datei...</translation>
    </message>
    <message>
        <source>Text &amp;size...</source>
        <translation>Text&amp;größe...</translation>
    </message>
    <message>
        <source>Subtitles burned in: %1, text %2 pixels high</source>
        <translation>Eingebrannte Untertitel: %1, Text %2 Pixel hoch</translation>
    </message>
    <message>
        <source>Subtitles burned in: subtitle stream %1 of the video, text %2 pixels high</source>
        <translation>Eingebrannte Untertitel: Untertitelspur %1 des Videos, Text %2 Pixel hoch</translation>
    </message>
    <message>
        <source>Subtitles: automatic, looked for once the video is read</source>
        <translation>Untertitel: automatisch, gesucht, sobald das Video gelesen ist</translation>
    </message>
    <message>
        <source>Subtitles: automatic, but there is none beside the video or in it</source>
        <translation>Untertitel: automatisch, aber es gibt keine neben dem Video oder darin</translation>
    </message>
    <message>
        <source>Subtitles to burn in</source>
        <translation>Einzubrennende Untertitel</translation>
    </message>
    <message>
        <source>Subtitle text size</source>
        <translation>Textgröße der Untertitel</translation>
    </message>
    <message>
        <source>Height of the subtitles&apos; text in pixels of the target (0: chosen for the target&apos;s height):</source>
        <translation>Höhe des Untertiteltexts in Pixeln des Ziels (0: passend zur Höhe des Ziels gewählt):</translation>
    </message>
    <message>
        <source>Output folder</source>
        <translation>Ausgabeordner</translation>
    </message>
    <message>
        <source>Waiting: %1</source>
        <translation>Wartet: %1</translation>
    </message>
    <message>
        <source>Cropped to %1x%2 at %3,%4 before the fit: the picture %5x%6</source>
        <translation>Vor der Anpassung auf %1x%2 bei %3,%4 zugeschnitten: das Bild %5x%6</translation>
    </message>
    <message>
        <source>Black bars: cropped where the video&apos;s frames agree on them</source>
        <translation>Schwarze Balken: abgeschnitten, wo die Bilder des Videos übereinstimmen</translation>
    </message>
    <message>
        <source>Sound stream %1</source>
        <translation>Tonspur %1</translation>
    </message>
    <message>
        <source>Sound stream %1, in %2</source>
        <translation>Tonspur %1, in %2</translation>
    </message>
    <message>
        <source>Deinterlaced</source>
        <translation>Halbbilder zusammengeführt (Deinterlacing)</translation>
    </message>
    <message>
        <source>Reading the video&apos;s sound streams...</source>
        <translation>Die Tonspuren des Videos werden gelesen...</translation>
    </message>
    <message>
        <source>Black bars found and cropped: the picture %1x%2 fits as %3x%4</source>
        <translation>Schwarze Balken gefunden und abgeschnitten: das Bild %1x%2 passt als %3x%4</translation>
    </message>
    <message>
        <source>No black bars cropped: %1</source>
        <translation>Keine schwarzen Balken abgeschnitten: %1</translation>
    </message>
</context>
<context>
    <name>SourceReader</name>
    <message>
        <source>The size could not be detected: %1.</source>
        <translation>Die Größe konnte nicht ermittelt werden: %1.</translation>
    </message>
    <message>
        <source>Detect size from video</source>
        <translation>Größe aus dem Video ermitteln</translation>
    </message>
    <message>
        <source>%1 pixels</source>
        <translation>%1 Pixel</translation>
    </message>
    <message>
        <source>%1 pixels, shown as %2</source>
        <translation>%1 Pixel, angezeigt als %2</translation>
    </message>
    <message>
        <source>%1 (pixel aspect %2:%3)</source>
        <translation>%1 (Pixelseitenverhältnis %2:%3)</translation>
    </message>
    <message>
        <source>Width of original video: %1</source>
        <translation>Breite des Originalvideos: %1</translation>
    </message>
    <message>
        <source>Height of original video: %1</source>
        <translation>Höhe des Originalvideos: %1</translation>
    </message>
</context>
<context>
    <name>StartOptions</name>
    <message>
        <source>Fits videos to the screens of handheld players with ffmpeg.</source>
        <translation>Passt Videos mit ffmpeg an die Bildschirme tragbarer Spieler an.</translation>
    </message>
    <message>
        <source>Keep settings.ini in the per-user configuration folder, not the current one.</source>
        <translation>settings.ini im Konfigurationsordner des Benutzers führen, nicht im aktuellen Ordner.</translation>
    </message>
    <message>
        <source>Videos to open: one is opened in the window, several go to the queue.</source>
        <translation>Zu öffnende Videos: eines wird im Fenster geöffnet, mehrere kommen in die Warteschlange.</translation>
    </message>
</context>
<context>
    <name>TargetsDialog</name>
    <message>
        <source>Your targets</source>
        <translation>Ihre Ziele</translation>
    </message>
    <message>
        <source>Your own target screens, listed after the built-in ones. The built-in targets are not shown here: they cannot be changed.</source>
        <translation>Ihre eigenen Zielbildschirme, aufgeführt nach den eingebauten. Die eingebauten Ziele werden hier nicht gezeigt: sie sind nicht änderbar.</translation>
    </message>
    <message>
        <source>&amp;Name (the tool&apos;s word):</source>
        <translation>&amp;Name (das Wort des Werkzeugs):</translation>
    </message>
    <message>
        <source>&amp;Label (the list&apos;s text):</source>
        <translation>&amp;Beschriftung (der Text der Liste):</translation>
    </message>
    <message>
        <source>&amp;Width:</source>
        <translation>B&amp;reite:</translation>
    </message>
    <message>
        <source>&amp;Height:</source>
        <translation>&amp;Höhe:</translation>
    </message>
    <message>
        <source>&amp;Pixel aspect (W:H):</source>
        <translation>&amp;Pixelseitenverhältnis (B:H):</translation>
    </message>
    <message>
        <source>&amp;Video:</source>
        <translation>&amp;Video:</translation>
    </message>
    <message>
        <source>&amp;Container:</source>
        <translation>&amp;Container:</translation>
    </message>
    <message>
        <source>N&amp;orm (VCD only):</source>
        <translation>N&amp;orm (nur VCD):</translation>
    </message>
    <message>
        <source>Highest &amp;frame rate:</source>
        <translation>Höchste Bild&amp;rate:</translation>
    </message>
    <message>
        <source>&amp;Audio bitrate (kbit/s, optional):</source>
        <translation>Audiob&amp;itrate (kbit/s, wahlweise):</translation>
    </message>
    <message>
        <source>&amp;Sample rate (Hz, optional):</source>
        <translation>Abtas&amp;trate (Hz, wahlweise):</translation>
    </message>
    <message>
        <source>A&amp;dd</source>
        <translation>Hin&amp;zufügen</translation>
    </message>
    <message>
        <source>&amp;Replace</source>
        <translation>&amp;Ersetzen</translation>
    </message>
    <message>
        <source>Re&amp;move</source>
        <translation>Ent&amp;fernen</translation>
    </message>
    <message>
        <source>The pixel aspect must be two whole numbers, such as 10:11.</source>
        <translation>Das Pixelseitenverhältnis muss aus zwei ganzen Zahlen bestehen, etwa 10:11.</translation>
    </message>
    <message>
        <source>The frame rate must be a whole number or a fraction, such as 25 or 30000/1001.</source>
        <translation>Die Bildrate muss eine ganze Zahl oder ein Bruch sein, etwa 25 oder 30000/1001.</translation>
    </message>
    <message>
        <source>The target was not taken: %1</source>
        <translation>Das Ziel wurde nicht übernommen: %1</translation>
    </message>
    <message>
        <source>Choose the target to replace in the list first.</source>
        <translation>Wählen Sie zuerst das zu ersetzende Ziel in der Liste.</translation>
    </message>
    <message>
        <source>%1 is a damaged file that could not be set aside; it is not written over. Move it away and open this dialog again.</source>
        <translation>%1 ist eine beschädigte Datei, die nicht beiseitegelegt werden konnte; sie wird nicht überschrieben. Verschieben Sie sie und öffnen Sie diesen Dialog erneut.</translation>
    </message>
    <message>
        <source>Your targets could not be saved: %1</source>
        <translation>Ihre Ziele konnten nicht gespeichert werden: %1</translation>
    </message>
    <message>
        <source>Your targets have changes that are not saved.</source>
        <translation>Ihre Ziele haben Änderungen, die nicht gespeichert sind.</translation>
    </message>
    <message>
        <source>&amp;Save them</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>&amp;Drop them</source>
        <translation>&amp;Verwerfen</translation>
    </message>
    <message>
        <source>&amp;Keep editing</source>
        <translation>&amp;Weiter bearbeiten</translation>
    </message>
    <message>
        <source>Built-in target to copy</source>
        <translation>Eingebautes Ziel zum Kopieren</translation>
    </message>
    <message>
        <source>Cop&amp;y</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>S&amp;tart from:</source>
        <translation>&amp;Ausgehend von:</translation>
    </message>
    <message>
        <source>Copy of %1</source>
        <translation>Kopie von %1</translation>
    </message>
</context>
<context>
    <name>frmZCM</name>
    <message>
        <source>&amp;Best quality (slower)</source>
        <translation>Beste &amp;Qualität (langsamer)</translation>
    </message>
    <message>
        <source>Two passes and the best options the target's format takes, for the first five targets (the later ones have theirs already); the PSP rows then write the PSP's own format. Needs the modern command.</source>
        <translation>Zwei Durchgänge und die besten Optionen, die das Format des Ziels kennt, für die ersten fünf Ziele (die späteren haben ihre schon); die PSP-Zeilen schreiben dann das eigene Format der PSP. Braucht den modernen Befehl.</translation>
    </message>
    <message>
        <source>Choose a resolution</source>
        <translation>Auflösung wählen</translation>
    </message>
    <message>
        <source>Choose a resolution: %1</source>
        <translation>Auflösung wählen: %1</translation>
    </message>
    <message>
        <source>In use: the %1</source>
        <translation>Verwendet: die %1</translation>
    </message>
    <message>
        <source>Choose a Movie Type!</source>
        <translation>Filmtyp wählen!</translation>
    </message>
    <message>
        <source>The output file is the source video. Choose another output filename</source>
        <translation>Die Ausgabedatei ist das Quellvideo. Einen anderen Namen für die Ausgabedatei wählen</translation>
    </message>
    <message>
        <source>Invalid Filename!</source>
        <translation>Ungültiger Dateiname!</translation>
    </message>
    <message>
        <source>

Program: %1</source>
        <translation>

Programm: %1</translation>
    </message>
    <message>
        <source>The encoder could not be started: %1.%2</source>
        <translation>Der Encoder konnte nicht gestartet werden: %1.%2</translation>
    </message>
    <message>
        <source>Convert using ffmpeg</source>
        <translation>Mit ffmpeg konvertieren</translation>
    </message>
    <message>
        <source>Zarnik Video Maker</source>
        <translation>Zarnik Video Maker</translation>
    </message>
    <message>
        <source>Original Video to convert</source>
        <translation>Zu konvertierendes Video</translation>
    </message>
    <message>
        <source>Video filename with extension (.avi, .mpg, etc)</source>
        <translation>Videodateiname mit Endung (.avi, .mpg usw.)</translation>
    </message>
    <message>
        <source>Browse</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Browse for the source video</source>
        <translation>Quellvideo suchen</translation>
    </message>
    <message>
        <source>Outputted MP4 filename</source>
        <translation>Name der MP4-Ausgabedatei</translation>
    </message>
    <message>
        <source>Where to save the .mp4 video file</source>
        <translation>Wo die .mp4-Videodatei gespeichert wird</translation>
    </message>
    <message>
        <source>Browse for the output file</source>
        <translation>Ausgabedatei suchen</translation>
    </message>
    <message>
        <source>Original Video</source>
        <translation>Originalvideo</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>Breite</translation>
    </message>
    <message>
        <source>Height</source>
        <translation>Höhe</translation>
    </message>
    <message>
        <source>Width of original video</source>
        <translation>Breite des Originalvideos</translation>
    </message>
    <message>
        <source>X</source>
        <translation>X</translation>
    </message>
    <message>
        <source>Height of original video</source>
        <translation>Höhe des Originalvideos</translation>
    </message>
    <message>
        <source>Ratio</source>
        <translation>Verhältnis</translation>
    </message>
    <message>
        <source>Movie Type</source>
        <translation>Filmtyp</translation>
    </message>
    <message>
        <source>Live Action</source>
        <translation>Realfilm</translation>
    </message>
    <message>
        <source>Animation</source>
        <translation>Trickfilm</translation>
    </message>
    <message>
        <source>Target screen</source>
        <translation>Zielbildschirm</translation>
    </message>
    <message>
        <source>New Dimensions</source>
        <translation>Neue Maße</translation>
    </message>
    <message>
        <source>New width</source>
        <translation>Neue Breite</translation>
    </message>
    <message>
        <source>New height</source>
        <translation>Neue Höhe</translation>
    </message>
    <message>
        <source>Padding</source>
        <translation>Ränder</translation>
    </message>
    <message>
        <source>Top</source>
        <translation>Oben</translation>
    </message>
    <message>
        <source>Pad top</source>
        <translation>Rand oben</translation>
    </message>
    <message>
        <source>Left</source>
        <translation>Links</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>Rechts</translation>
    </message>
    <message>
        <source>Pad left</source>
        <translation>Rand links</translation>
    </message>
    <message>
        <source>Pad right</source>
        <translation>Rand rechts</translation>
    </message>
    <message>
        <source>Bottom</source>
        <translation>Unten</translation>
    </message>
    <message>
        <source>Pad bottom</source>
        <translation>Rand unten</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Optionen</translation>
    </message>
    <message>
        <source>Video Bitrate</source>
        <translation>Videobitrate</translation>
    </message>
    <message>
        <source>video bitrate (in kbit/s) </source>
        <translation>Videobitrate (in kbit/s) </translation>
    </message>
    <message>
        <source>kbit/s</source>
        <translation>kbit/s</translation>
    </message>
    <message>
        <source>Audio Bitrate</source>
        <translation>Audiobitrate</translation>
    </message>
    <message>
        <source>audio bitrate (in kbit/s) </source>
        <translation>Audiobitrate (in kbit/s) </translation>
    </message>
    <message>
        <source>Audio Sample Rate</source>
        <translation>Abtastrate</translation>
    </message>
    <message>
        <source>audio sampling rate (in Hz) </source>
        <translation>Abtastrate des Tons (in Hz) </translation>
    </message>
    <message>
        <source>Hz</source>
        <translation>Hz</translation>
    </message>
    <message>
        <source>Location of FFMPEG.EXE</source>
        <translation>Ort von FFMPEG.EXE</translation>
    </message>
    <message>
        <source>Browse for the encoder</source>
        <translation>Encoder suchen</translation>
    </message>
    <message>
        <source>ffmpeg command</source>
        <translation>ffmpeg-Befehl</translation>
    </message>
    <message>
        <source>Con&amp;vert</source>
        <translation>&amp;Konvertieren</translation>
    </message>
    <message>
        <source>&amp;Clear</source>
        <translation>&amp;Leeren</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Generate</source>
        <translation>&amp;Erzeugen</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Save settings to INI</source>
        <translation>Einstellungen in INI &amp;speichern</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>&amp;Optionen</translation>
    </message>
    <message>
        <source>&amp;Modern ffmpeg command</source>
        <translation>&amp;Moderner ffmpeg-Befehl</translation>
    </message>
    <message>
        <source>&amp;Detect size from video</source>
        <translation>Größe aus dem Video &amp;ermitteln</translation>
    </message>
    <message>
        <source>&amp;Preview</source>
        <translation>&amp;Vorschau</translation>
    </message>
    <message>
        <source>Add videos to &amp;queue...</source>
        <translation>Videos zur &amp;Warteschlange hinzufügen …</translation>
    </message>
    <message>
        <source>Add c&amp;urrent to queue</source>
        <translation>&amp;Aktuelles zur Warteschlange hinzufügen</translation>
    </message>
    <message>
        <source>Queu&amp;e</source>
        <translation>Warte&amp;schlange</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;Web site</source>
        <translation>&amp;Webseite</translation>
    </message>
    <message>
        <source>Add videos to queue</source>
        <translation>Videos zur Warteschlange hinzufügen</translation>
    </message>
    <message>
        <source>Queue</source>
        <translation>Warteschlange</translation>
    </message>
    <message>
        <source>&amp;Resume</source>
        <translation>&amp;Fortsetzen</translation>
    </message>
    <message>
        <source>&amp;Discard</source>
        <translation>&amp;Verwerfen</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Stop the queue and &amp;quit</source>
        <translation>Warteschlange anhalten und &amp;beenden</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>Save settings to settings.ini</source>
        <translation>Einstellungen in settings.ini speichern</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Zarnik Video Maker v0.61 - by the Zarnik Video Maker team</source>
        <translation>Zarnik Video Maker v0.61 - vom Zarnik-Video-Maker-Team</translation>
    </message>
    <message>
        <source>Settings not loaded</source>
        <translation>Einstellungen nicht geladen</translation>
    </message>
    <message>
        <source>contains a double quote (&quot;), which settings.ini cannot store</source>
        <translation>enthält ein Anführungszeichen (&quot;), das settings.ini nicht speichern kann</translation>
    </message>
    <message>
        <source>holds more text than settings.ini can keep</source>
        <translation>enthält mehr Text, als settings.ini fassen kann</translation>
    </message>
    <message>
        <source>The settings were not saved: the box &quot;%1&quot; %2.</source>
        <translation>Die Einstellungen wurden nicht gespeichert: das Feld „%1“ %2.</translation>
    </message>
    <message>
        <source>The settings could not be saved to settings.ini: %1</source>
        <translation>Die Einstellungen konnten nicht in settings.ini gespeichert werden: %1</translation>
    </message>
    <message>
        <source>Settings Saved!</source>
        <translation>Einstellungen gespeichert!</translation>
    </message>
    <message>
        <source>Video files (*.avi *.wmv *.mpg *.mpeg *.mp4 *.ogm)</source>
        <translation>Videodateien (*.avi *.wmv *.mpg *.mpeg *.mp4 *.ogm)</translation>
    </message>
    <message>
        <source>All videos (*.mkv *.mov *.m4v *.webm *.3gp *.ts *.flv *.avi *.wmv *.mpg *.mpeg *.mp4 *.ogm)</source>
        <translation>Alle Videos (*.mkv *.mov *.m4v *.webm *.3gp *.ts *.flv *.avi *.wmv *.mpg *.mpeg *.mp4 *.ogm)</translation>
    </message>
    <message>
        <source>Locate Video File</source>
        <translation>Videodatei suchen</translation>
    </message>
    <message>
        <source>Save as .mp4</source>
        <translation>Speichern als .mp4</translation>
    </message>
    <message>
        <source>MP4 files (*.mp4)</source>
        <translation>MP4-Dateien (*.mp4)</translation>
    </message>
    <message>
        <source>Locate FFMPEG.EXE</source>
        <translation>FFMPEG.EXE suchen</translation>
    </message>
    <message>
        <source>The queue is converting. Stop it and quit? The current video is stopped and its partial output removed; the videos not yet converted are kept for the next start.</source>
        <translation>Die Warteschlange konvertiert gerade. Anhalten und beenden? Das aktuelle Video wird angehalten und seine unvollständige Ausgabe entfernt; die noch nicht konvertierten Videos bleiben für den nächsten Start erhalten.</translation>
    </message>
    <message>
        <source>%1 could not be read: %2. This run uses the default values; the file is left as it is.</source>
        <translation>%1 konnte nicht gelesen werden: %2. Dieser Lauf verwendet die Vorgabewerte; die Datei bleibt, wie sie ist.</translation>
    </message>
    <message numerus="yes">
        <source>%n video(s) were waiting in the queue.</source>
        <translation>
            <numerusform>%n Video wartete in der Warteschlange.</numerusform>
            <numerusform>%n Videos warteten in der Warteschlange.</numerusform>
        </translation>
    </message>
    <message>
        <source>The form is decided when a command is first written, by asking the encoder</source>
        <translation>Die Form wird beim ersten Befehl festgelegt, durch eine Frage an den Encoder</translation>
    </message>
    <message>
        <source>The output file %1 exists already. Replace it?</source>
        <translation>Die Ausgabedatei %1 gibt es schon. Ersetzen?</translation>
    </message>
    <message>
        <source>&amp;Replace</source>
        <translation>&amp;Ersetzen</translation>
    </message>
    <message>
        <source>The manual was not found. It was looked for in:
%1</source>
        <translation>Das Handbuch wurde nicht gefunden. Gesucht wurde in:
%1</translation>
    </message>
    <message>
        <source>Manual</source>
        <translation>Handbuch</translation>
    </message>
    <message>
        <source>&amp;Manual</source>
        <translation>&amp;Handbuch</translation>
    </message>
    <message>
        <source>The queue is in use by another window of this program. This window keeps the videos you add in memory and joins them to the saved queue when the other window is closed.</source>
        <translation>Die Warteschlange wird von einem anderen Fenster dieses Programms verwendet. Dieses Fenster behält die Videos, die Sie hinzufügen, im Speicher und fügt sie der gespeicherten Warteschlange hinzu, sobald das andere Fenster geschlossen ist.</translation>
    </message>
    <message>
        <source>The conversion goes on after the program ends: %1 is still being written.</source>
        <translation>Die Umwandlung läuft nach dem Ende des Programms weiter: %1 wird noch geschrieben.</translation>
    </message>
    <message>
        <source>This encoder cannot write it: %1</source>
        <translation>Dieser Encoder kann es nicht schreiben: %1</translation>
    </message>
    <message>
        <source>&amp;Targets...</source>
        <translation>&amp;Ziele...</translation>
    </message>
    <message>
        <source>Your targets in %1 could not be read: %2.</source>
        <translation>Ihre Ziele in %1 konnten nicht gelesen werden: %2.</translation>
    </message>
    <message>
        <source>The file could not be set aside as %1 and is left as it is.</source>
        <translation>Die Datei konnte nicht als %1 beiseitegelegt werden und bleibt, wie sie ist.</translation>
    </message>
    <message>
        <source>The file was set aside as %1, with all it held.</source>
        <translation>Die Datei wurde mit ihrem ganzen Inhalt als %1 beiseitegelegt.</translation>
    </message>
    <message>
        <source>This run offers the built-in targets.</source>
        <translation>Dieser Lauf bietet die eingebauten Ziele an.</translation>
    </message>
    <message>
        <source>Targets not loaded</source>
        <translation>Ziele nicht geladen</translation>
    </message>
    <message>
        <source>Web site</source>
        <translation>Webseite</translation>
    </message>
    <message>
        <source>&amp;Crop black bars automatically</source>
        <translation>Schwarze &amp;Balken automatisch zuschneiden</translation>
    </message>
    <message>
        <source>Looking for black bars...</source>
        <translation>Suche schwarze Balken...</translation>
    </message>
    <message>
        <source>Black bars found: the picture is %1x%2</source>
        <translation>Schwarze Balken gefunden: das Bild ist %1x%2</translation>
    </message>
    <message>
        <source>No black bars cropped: %1</source>
        <translation>Keine schwarzen Balken abgeschnitten: %1</translation>
    </message>
    <message>
        <source>&amp;Sound stream</source>
        <translation>&amp;Tonspur</translation>
    </message>
    <message>
        <source>&amp;Automatic (the video&apos;s own choice)</source>
        <translation>&amp;Automatisch (die Wahl des Videos)</translation>
    </message>
    <message>
        <source>default</source>
        <translation>Standard</translation>
    </message>
    <message numerus="yes">
        <source>%n channel(s)</source>
        <translation>
            <numerusform>%n Kanal</numerusform>
            <numerusform>%n Kanäle</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>zvm</name>
    <message>
        <source>in the PSP&apos;s own format, which older firmware plays too, from MP_ROOT/100MNV01 as M4Vnnnnn.MP4</source>
        <translation>im eigenen Format der PSP, das auch ältere Firmware abspielt, aus MP_ROOT/100MNV01 als M4Vnnnnn.MP4</translation>
    </message>
    <message>
        <source>plain MP4, which later firmware plays from VIDEO; older firmware wants the PSP&apos;s own format, which Best quality writes</source>
        <translation>einfaches MP4, das spätere Firmware aus VIDEO abspielt; ältere Firmware will das eigene Format der PSP, das Beste Qualität schreibt</translation>
    </message>
    <message>
        <source>480x272, which firmware 3.30 and later play</source>
        <translation>480x272, das Firmware ab 3.30 abspielt</translation>
    </message>
    <message>
        <source>The saved queue could not be read (%1). It is left as it is, and this run keeps no queue.</source>
        <translation>Die gespeicherte Warteschlange ließ sich nicht lesen (%1). Sie bleibt, wie sie ist, und dieser Lauf führt keine Warteschlange.</translation>
    </message>
    <message>
        <source>The saved queue could not be read (%1), and it could not be set aside as %2. It is left as it is, and this run keeps no queue.</source>
        <translation>Die gespeicherte Warteschlange ließ sich nicht lesen (%1) und nicht als %2 beiseitelegen. Sie bleibt, wie sie ist, und dieser Lauf führt keine Warteschlange.</translation>
    </message>
    <message>
        <source>The saved queue could not be read (%1). It was set aside as %2.</source>
        <translation>Die gespeicherte Warteschlange ließ sich nicht lesen (%1). Sie wurde als %2 beiseitegelegt.</translation>
    </message>
    <message>
        <source>Best quality needs the modern command form: the classic options cannot ask for it</source>
        <translation>Beste Qualität braucht die moderne Befehlsform: die klassischen Optionen können sie nicht verlangen</translation>
    </message>
    <message>
        <source>the disk is full</source>
        <translation>der Datenträger ist voll</translation>
    </message>
    <message>
        <source>the output's folder is on a read-only disk</source>
        <translation>der Ordner der Ausgabe liegt auf einem schreibgeschützten Datenträger</translation>
    </message>
    <message>
        <source>this user may not write the output there</source>
        <translation>dieser Benutzer darf die Ausgabe dort nicht schreiben</translation>
    </message>
    <message>
        <source>the target's format needs a sound track</source>
        <translation>das Format des Ziels braucht eine Tonspur</translation>
    </message>
    <message>
        <source>the bitrate is too low for this encoder</source>
        <translation>die Bitrate ist für diesen Encoder zu niedrig</translation>
    </message>
    <message>
        <source>this ffmpeg lacks an encoder the command needs</source>
        <translation>diesem ffmpeg fehlt ein Encoder, den der Befehl braucht</translation>
    </message>
    <message>
        <source>this ffmpeg lacks a filter the command needs</source>
        <translation>diesem ffmpeg fehlt ein Filter, den der Befehl braucht</translation>
    </message>
    <message>
        <source>this ffmpeg cannot write the target's format</source>
        <translation>dieses ffmpeg kann das Format des Ziels nicht schreiben</translation>
    </message>
    <message>
        <source>this ffmpeg does not know an option of the command</source>
        <translation>dieses ffmpeg kennt eine Option des Befehls nicht</translation>
    </message>
    <message>
        <source>the output cannot be written in %1</source>
        <translation>die Ausgabe kann in %1 nicht geschrieben werden</translation>
    </message>
    <message>
        <source>too little room for the output in %1</source>
        <translation>zu wenig Platz für die Ausgabe in %1</translation>
    </message>
    <message>
        <source>%1; kept as %2</source>
        <translation>%1; aufbewahrt als %2</translation>
    </message>
    <message>
        <source>%1; it could not be named so (%3) and is kept as %2</source>
        <translation>%1; die Datei konnte nicht so benannt werden (%3) und wird als %2 aufbewahrt</translation>
    </message>
    <message>
        <source>the source video %1 was not found</source>
        <translation>das Quellvideo %1 wurde nicht gefunden</translation>
    </message>
    <message>
        <source>the file has no video stream</source>
        <translation>die Datei hat keinen Videostrom</translation>
    </message>
    <message>
        <source>the video stream has no size</source>
        <translation>der Videostrom hat keine Größe</translation>
    </message>
    <message>
        <source>no video is named</source>
        <translation>es ist kein Video angegeben</translation>
    </message>
    <message>
        <source>needs an encoder that takes today&apos;s options; this one takes only the classic ones</source>
        <translation>braucht einen Encoder, der die heutigen Optionen kennt; dieser kennt nur die klassischen</translation>
    </message>
    <message>
        <source>needs ffmpeg 4.4 or later, which can keep a slower source&apos;s frame rate (-fpsmax)</source>
        <translation>braucht ffmpeg 4.4 oder neuer, das die Bildrate einer langsameren Quelle beibehalten kann (-fpsmax)</translation>
    </message>
    <message>
        <source>needs an ffmpeg with the libx264 H.264 encoder; this one has none</source>
        <translation>braucht ein ffmpeg mit dem H.264-Encoder libx264; dieses hat keinen</translation>
    </message>
    <message>
        <source>modern form, chosen by you</source>
        <translation>moderne Form, von Ihnen gewählt</translation>
    </message>
    <message>
        <source>classic form, chosen by you</source>
        <translation>klassische Form, von Ihnen gewählt</translation>
    </message>
    <message>
        <source>modern form, chosen automatically: this ffmpeg rejects the classic options</source>
        <translation>moderne Form, automatisch gewählt: dieses ffmpeg lehnt die klassischen Optionen ab</translation>
    </message>
    <message>
        <source>classic form, chosen automatically: this ffmpeg accepts the classic options</source>
        <translation>klassische Form, automatisch gewählt: dieses ffmpeg nimmt die klassischen Optionen an</translation>
    </message>
    <message>
        <source>classic form, as designed: the encoder could not be asked which options it knows</source>
        <translation>klassische Form, wie vorgesehen: der Encoder konnte nicht nach seinen Optionen gefragt werden</translation>
    </message>
    <message>
        <source>You must enter a valid filename with extention (eg. movie.avi)</source>
        <translation>Sie müssen einen gültigen Dateinamen mit Endung eingeben (z. B. film.avi)</translation>
    </message>
    <message>
        <source>Enter an input filename!</source>
        <translation>Eingabedateinamen eingeben!</translation>
    </message>
    <message>
        <source>You must enter a valid filename with extension (eg movie.avi)</source>
        <translation>Sie müssen einen gültigen Dateinamen mit Endung eingeben (z. B. film.avi)</translation>
    </message>
    <message>
        <source>Invalid Filename!</source>
        <translation>Ungültiger Dateiname!</translation>
    </message>
    <message>
        <source>Where do you want to save this MP4? (eg. c:\movie.mp4)</source>
        <translation>Wo soll diese MP4 gespeichert werden? (z. B. c:\film.mp4)</translation>
    </message>
    <message>
        <source>Enter an output filename!</source>
        <translation>Ausgabedateinamen eingeben!</translation>
    </message>
    <message>
        <source>You must enter a number for the width</source>
        <translation>Sie müssen für die Breite eine Zahl eingeben</translation>
    </message>
    <message>
        <source>Invalid Width!</source>
        <translation>Ungültige Breite!</translation>
    </message>
    <message>
        <source>The width must be greater than 0</source>
        <translation>Die Breite muss größer als 0 sein</translation>
    </message>
    <message>
        <source>You must enter a number for the height</source>
        <translation>Sie müssen für die Höhe eine Zahl eingeben</translation>
    </message>
    <message>
        <source>Invalid Height!</source>
        <translation>Ungültige Höhe!</translation>
    </message>
    <message>
        <source>The height must be greater than 0</source>
        <translation>Die Höhe muss größer als 0 sein</translation>
    </message>
    <message>
        <source>You must enter a number for the video bitrate</source>
        <translation>Sie müssen für die Videobitrate eine Zahl eingeben</translation>
    </message>
    <message>
        <source>Invalid Video Bitrate!</source>
        <translation>Ungültige Videobitrate!</translation>
    </message>
    <message>
        <source>You must enter a number for the audio bitrate</source>
        <translation>Sie müssen für die Audiobitrate eine Zahl eingeben</translation>
    </message>
    <message>
        <source>Invalid Audio Bitrate!</source>
        <translation>Ungültige Audiobitrate!</translation>
    </message>
    <message>
        <source>You must enter a number for the samplerate</source>
        <translation>Sie müssen für die Abtastrate eine Zahl eingeben</translation>
    </message>
    <message>
        <source>Invalid Samplerate!</source>
        <translation>Ungültige Abtastrate!</translation>
    </message>
    <message>
        <source>A filename cannot contain a double quote (&quot;)</source>
        <translation>Ein Dateiname darf kein Anführungszeichen (&quot;) enthalten</translation>
    </message>
    <message>
        <source>The video bitrate must be between 1 and 100000 kbit/s, not %1</source>
        <translation>Die Videobitrate muss zwischen 1 und 100000 kbit/s liegen, nicht %1</translation>
    </message>
    <message>
        <source>The audio bitrate must be between 1 and 1024 kbit/s, not %1</source>
        <translation>Die Audiobitrate muss zwischen 1 und 1024 kbit/s liegen, nicht %1</translation>
    </message>
    <message>
        <source>The sample rate must be between 8000 and 192000 Hz, not %1</source>
        <translation>Die Abtastrate muss zwischen 8000 und 192000 Hz liegen, nicht %1</translation>
    </message>
    <message>
        <source>The picture would be %1 pixels, too small for an encoder</source>
        <translation>Das Bild hätte %1 Pixel, zu klein für einen Encoder</translation>
    </message>
    <message>
        <source>Choose a target screen from the list</source>
        <translation>Wählen Sie einen Zielbildschirm aus der Liste</translation>
    </message>
    <message>
        <source>Invalid Target!</source>
        <translation>Ungültiges Ziel!</translation>
    </message>
    <message>
        <source>The target %1 needs a frame rate and a pixel aspect above 0</source>
        <translation>Das Ziel %1 braucht eine Bildrate und ein Pixelseitenverhältnis über 0</translation>
    </message>
    <message>
        <source>The target %1 pairs a video and a container no player takes</source>
        <translation>Das Ziel %1 verbindet Video und Container so, wie es kein Abspielgerät annimmt</translation>
    </message>
    <message>
        <source>The target %1 needs even sides from 16 to 4096 pixels</source>
        <translation>Das Ziel %1 braucht gerade Seiten von 16 bis 4096 Pixeln</translation>
    </message>
    <message>
        <source>The target %1 needs a norm exactly when it is a VCD</source>
        <translation>Das Ziel %1 braucht genau dann eine Norm, wenn es eine VCD ist</translation>
    </message>
    <message>
        <source>The target %1 does not have its norm&apos;s size and frame rate</source>
        <translation>Das Ziel %1 hat nicht die Größe und Bildrate seiner Norm</translation>
    </message>
    <message>
        <source>The target %1 is larger than H.264 level 5.1 carries</source>
        <translation>Das Ziel %1 ist größer, als H.264 Level 5.1 trägt</translation>
    </message>
    <message>
        <source>Invalid Subtitles!</source>
        <translation>Ungültige Untertitel!</translation>
    </message>
    <message>
        <source>Burned-in subtitles need the modern command form: the classic options cannot draw them</source>
        <translation>Eingebrannte Untertitel brauchen die moderne Befehlsform: die klassischen Optionen können sie nicht zeichnen</translation>
    </message>
    <message>
        <source>The subtitle file must be named, and its name cannot contain a double quote (&quot;)</source>
        <translation>Die Untertiteldatei muss genannt sein, und ihr Name darf kein doppeltes Anführungszeichen (&quot;) enthalten</translation>
    </message>
    <message>
        <source>Choose which subtitle stream of the video to draw</source>
        <translation>Wählen Sie, welche Untertitelspur des Videos gezeichnet wird</translation>
    </message>
    <message>
        <source>The subtitle size must be between 1 and 200 pixels</source>
        <translation>Die Untertitelgröße muss zwischen 1 und 200 Pixeln liegen</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a time: give seconds (90 or 12.5) or [[H:]MM:]SS[.mmm] (2:05 or 1:02:03.250)</source>
        <translation>&apos;%1&apos; ist keine Zeit: Geben Sie Sekunden (90 oder 12.5) oder [[H:]MM:]SS[.mmm] (2:05 oder 1:02:03.250) an</translation>
    </message>
    <message>
        <source>A time cannot be negative: %1</source>
        <translation>Eine Zeit kann nicht negativ sein: %1</translation>
    </message>
    <message>
        <source>Minutes and seconds after a colon must be below 60: %1</source>
        <translation>Minuten und Sekunden nach einem Doppelpunkt müssen unter 60 liegen: %1</translation>
    </message>
    <message>
        <source>The cut&apos;s times cannot be used: %1</source>
        <translation>Die Zeiten des Schnitts sind nicht verwendbar: %1</translation>
    </message>
    <message>
        <source>The cut must end after it starts: %1</source>
        <translation>Der Schnitt muss nach seinem Anfang enden: %1</translation>
    </message>
    <message>
        <source>The cut starts after the video&apos;s end: %1</source>
        <translation>Der Schnitt beginnt nach dem Ende des Videos: %1</translation>
    </message>
    <message>
        <source>The target name &apos;%1&apos; is not one the tool can take: use up to 40 lowercase letters, digits and &apos;-&apos;, with a letter, not starting with &apos;-&apos;</source>
        <translation>Der Zielname „%1“ ist keiner, den das Werkzeug annimmt: bis zu 40 Kleinbuchstaben, Ziffern und „-“ verwenden, mit einem Buchstaben, nicht mit „-“ beginnend</translation>
    </message>
    <message>
        <source>The target name %1 is a built-in target&apos;s</source>
        <translation>Der Zielname %1 gehört einem eingebauten Ziel</translation>
    </message>
    <message>
        <source>The target %1 needs a label of one line, at most 80 characters</source>
        <translation>Das Ziel %1 braucht eine einzeilige Beschriftung mit höchstens 80 Zeichen</translation>
    </message>
    <message>
        <source>The target %1 needs an audio bitrate from 1 to 1024 kbit/s and a sample rate from 8000 to 192000 Hz, as whole numbers</source>
        <translation>Das Ziel %1 braucht eine Audiobitrate von 1 bis 1024 kbit/s und eine Abtastrate von 8000 bis 192000 Hz, als ganze Zahlen</translation>
    </message>
    <message>
        <source>The file size must be above 0 MB, not %1</source>
        <translation>Die Dateigröße muss über 0 MB liegen, nicht %1</translation>
    </message>
    <message>
        <source>A file size cannot be asked for %1: its bitrate is fixed</source>
        <translation>Für %1 kann keine Dateigröße verlangt werden: seine Bitrate steht fest</translation>
    </message>
    <message>
        <source>A file size needs the video&apos;s duration, which is not known: %1</source>
        <translation>Eine Dateigröße braucht die Dauer des Videos, die nicht bekannt ist: %1</translation>
    </message>
    <message>
        <source>Nothing of the video is kept: %1 s</source>
        <translation>Vom Video bleibt nichts: %1 s</translation>
    </message>
    <message>
        <source>This file size leaves too few bits for a watchable picture; the smallest size that works is %1 MB</source>
        <translation>Diese Dateigröße lässt zu wenige Bits für ein ansehbares Bild; die kleinste Größe, die geht, ist %1 MB</translation>
    </message>
    <message>
        <source>The first pass found this video needs more than this file size holds; the smallest file size that works is %1</source>
        <translation>Der erste Durchgang hat ergeben, dass dieses Video mehr braucht, als diese Dateigröße fasst; die kleinste Dateigröße, die geht, ist %1</translation>
    </message>
    <message>
        <source>The first pass found this video needs more than this bitrate; the smallest video bitrate that works is %1 kbit/s</source>
        <translation>Der erste Durchgang hat ergeben, dass dieses Video mehr braucht als diese Bitrate; die kleinste Video-Bitrate, die geht, ist %1 kbit/s</translation>
    </message>
    <message>
        <source>the file could not be read: %1</source>
        <translation>die Datei konnte nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>no frame could be rendered: %1</source>
        <translation>es konnte kein Bild erzeugt werden: %1</translation>
    </message>
    <message>
        <source>The folder for the passes&apos; logs could not be made: %1</source>
        <translation>Der Ordner für die Protokolle der Durchgänge konnte nicht angelegt werden: %1</translation>
    </message>
    <message>
        <source>the media reader did not answer within %1 seconds</source>
        <translation>der Medienleser hat nicht innerhalb von %1 Sekunden geantwortet</translation>
    </message>
    <message>
        <source>the media reader %1 was not found</source>
        <translation>der Medienleser %1 wurde nicht gefunden</translation>
    </message>
    <message>
        <source>the media reader %1 could not be started</source>
        <translation>der Medienleser %1 konnte nicht gestartet werden</translation>
    </message>
    <message>
        <source>the media reader crashed while reading the file</source>
        <translation>der Medienleser ist beim Lesen der Datei abgestürzt</translation>
    </message>
    <message>
        <source>the media reader ended while reading the file (exit code %1)</source>
        <translation>der Medienleser hat sich beim Lesen der Datei beendet (Rückgabewert %1)</translation>
    </message>
    <message>
        <source>the media reader&apos;s message is malformed: %1</source>
        <translation>die Nachricht des Medienlesers ist fehlerhaft: %1</translation>
    </message>
    <message>
        <source>the program&apos;s name is longer than the system allows</source>
        <translation>der Programmname ist länger, als das System erlaubt</translation>
    </message>
    <message>
        <source>no program of that name was found on the search path</source>
        <translation>im Suchpfad wurde kein Programm dieses Namens gefunden</translation>
    </message>
    <message>
        <source>it is not an executable program</source>
        <translation>es ist kein ausführbares Programm</translation>
    </message>
    <message>
        <source>no such program was found</source>
        <translation>dieses Programm wurde nicht gefunden</translation>
    </message>
    <message>
        <source>the command is empty</source>
        <translation>der Befehl ist leer</translation>
    </message>
    <message>
        <source>no encoder is named: the box for its location is empty</source>
        <translation>kein Encoder angegeben: das Feld für seinen Ort ist leer</translation>
    </message>
    <message>
        <source>Choose Live Action or Animation for this target</source>
        <translation>Für dieses Ziel Realfilm oder Trickfilm wählen</translation>
    </message>
    <message>
        <source>The output file is the source video</source>
        <translation>Die Ausgabedatei ist das Quellvideo</translation>
    </message>
    <message>
        <source>Another video of the queue is written to the same output file</source>
        <translation>Ein anderes Video der Warteschlange wird in dieselbe Ausgabedatei geschrieben</translation>
    </message>
    <message>
        <source>The size could not be detected: %1</source>
        <translation>Die Größe konnte nicht ermittelt werden: %1</translation>
    </message>
    <message>
        <source>the encoder was ended by a signal</source>
        <translation>der Encoder wurde durch ein Signal beendet</translation>
    </message>
    <message>
        <source>the encoder ended with exit code %1</source>
        <translation>der Encoder endete mit Exit-Code %1</translation>
    </message>
    <message>
        <source>the encoder could not be started: %1</source>
        <translation>der Encoder konnte nicht gestartet werden: %1</translation>
    </message>
    <message>
        <source>stopped on request; its partial output was removed</source>
        <translation>auf Wunsch angehalten; die unvollständige Ausgabe wurde entfernt</translation>
    </message>
    <message>
        <source>its output exists already</source>
        <translation>seine Ausgabe gibt es schon</translation>
    </message>
    <message>
        <source>The output file is the source of another video of the queue</source>
        <translation>Die Ausgabedatei ist die Quelle eines anderen Videos der Warteschlange</translation>
    </message>
    <message>
        <source>The source video is not there any more: %1</source>
        <translation>Das Quellvideo ist nicht mehr vorhanden: %1</translation>
    </message>
    <message>
        <source>the encoder was ended by a signal; its partial output was removed</source>
        <translation>der Encoder wurde durch ein Signal beendet; die unvollständige Ausgabe wurde entfernt</translation>
    </message>
    <message>
        <source>the encoder ended with exit code %1; its partial output was removed</source>
        <translation>der Encoder endete mit Exit-Code %1; die unvollständige Ausgabe wurde entfernt</translation>
    </message>
    <message>
        <source>stopped on request</source>
        <translation>auf Wunsch angehalten</translation>
    </message>
    <message>
        <source>it is in use by another window; this window keeps its videos in memory until that one closes</source>
        <translation>sie wird von einem anderen Fenster verwendet; dieses Fenster behält seine Videos im Speicher, bis jenes geschlossen wird</translation>
    </message>
    <message>
        <source>The subtitle file is not there: %1</source>
        <translation>Die Untertiteldatei ist nicht vorhanden: %1</translation>
    </message>
    <message>
        <source>it is larger than 64 KiB</source>
        <translation>sie ist größer als 64 KiB</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>sie ist keine gewöhnliche Datei</translation>
    </message>
    <message>
        <source>it does not hold this program&apos;s settings</source>
        <translation>sie enthält nicht die Einstellungen dieses Programms</translation>
    </message>
    <message>
        <source>%1 is not a target: a target is a JSON object</source>
        <translation>%1 ist kein Ziel: ein Ziel ist ein JSON-Objekt</translation>
    </message>
    <message>
        <source>%1 is not a field of a target</source>
        <translation>%1 ist kein Feld eines Ziels</translation>
    </message>
    <message>
        <source>%1 is missing or not of its kind (a text, or a whole number for sizes and rates)</source>
        <translation>%1 fehlt oder hat nicht seine Art (ein Text, oder eine ganze Zahl für Größen und Raten)</translation>
    </message>
    <message>
        <source>%1 is not a word this program knows there</source>
        <translation>%1 ist kein Wort, das dieses Programm dort kennt</translation>
    </message>
    <message>
        <source>Two targets are named %1</source>
        <translation>Zwei Ziele heißen %1</translation>
    </message>
    <message>
        <source>it is not JSON: %1</source>
        <translation>sie ist kein JSON: %1</translation>
    </message>
    <message>
        <source>it has no list of targets under %1</source>
        <translation>sie hat keine Liste von Zielen unter %1</translation>
    </message>
    <message>
        <source>The output file is the subtitle file the video is drawn with</source>
        <translation>Die Ausgabedatei ist die Untertiteldatei, die in das Video gezeichnet wird</translation>
    </message>
    <message>
        <source>The output file is the encoder program</source>
        <translation>Die Ausgabedatei ist das Encoder-Programm</translation>
    </message>
    <message>
        <source>The source has no sound: the command adds a silent track, as this target&apos;s file needs one</source>
        <translation>Die Quelle hat keinen Ton: Der Befehl fügt eine stille Tonspur hinzu, da die Datei dieses Ziels eine braucht</translation>
    </message>
    <message>
        <source>The source is film: the command keeps its frame rate, which this target&apos;s player takes</source>
        <translation>Die Quelle ist ein Film: Der Befehl behält ihre Bildrate, die das Abspielgerät dieses Ziels annimmt</translation>
    </message>
    <message>
        <source>Choosing the sound stream or deinterlacing needs the modern command form</source>
        <translation>Die Wahl der Tonspur oder das Deinterlacing braucht die moderne Befehlsform</translation>
    </message>
    <message>
        <source>Cropping needs the modern command form: the classic options cannot cut the picture</source>
        <translation>Zuschneiden braucht die moderne Befehlsform: die klassischen Optionen können das Bild nicht beschneiden</translation>
    </message>
    <message>
        <source>Invalid Crop!</source>
        <translation>Ungültiger Zuschnitt!</translation>
    </message>
    <message>
        <source>Invalid Source Choice!</source>
        <translation>Ungültige Quellenwahl!</translation>
    </message>
    <message>
        <source>The crop rectangle must lie inside the picture and keep at least 2 by 2 pixels</source>
        <translation>Das Zuschnittrechteck muss im Bild liegen und mindestens 2 mal 2 Pixel behalten</translation>
    </message>
    <message>
        <source>The video has no sound stream %1 (counted from 0)</source>
        <translation>Das Video hat keine Tonspur %1 (ab 0 gezählt)</translation>
    </message>
    <message>
        <source>Nintendo DS</source>
        <translation>Nintendo DS</translation>
    </message>
    <message>
        <source>MP4 players (AMV)</source>
        <translation>MP4-Player (AMV)</translation>
    </message>
    <message>
        <source>Microcontroller screens</source>
        <translation>Bildschirme an Mikrocontrollern</translation>
    </message>
    <message>
        <source>Baseline H.264</source>
        <translation>H.264 Baseline</translation>
    </message>
    <message>
        <source>Retro handhelds</source>
        <translation>Retro-Handhelds</translation>
    </message>
    <message>
        <source>The target %1 starts from a built-in target that does not exist</source>
        <translation>Das Ziel %1 geht von einem eingebauten Ziel aus, das es nicht gibt</translation>
    </message>
    <message>
        <source>The target %1 is AMV: its frame rate must divide 22050 evenly (10, 15, 25, 30)</source>
        <translation>Das Ziel %1 ist AMV: seine Bildrate muss 22050 ohne Rest teilen (10, 15, 25, 30)</translation>
    </message>
    <message>
        <source>The target %1 is raw frames, whose name tells its rate: a whole number of frames a second</source>
        <translation>Das Ziel %1 sind rohe Bilder, deren Name ihre Rate nennt: eine ganze Zahl von Bildern je Sekunde</translation>
    </message>
    <message>
        <source>the DPG file would pass the 4 GB the format can hold: %1 bytes</source>
        <translation>die DPG-Datei würde die 4 GB überschreiten, die das Format fasst: %1 Bytes</translation>
    </message>
    <message>
        <source>the file is no DPG file: its first bytes are not a DPG header</source>
        <translation>die Datei ist keine DPG-Datei: ihre ersten Bytes sind kein DPG-Kopf</translation>
    </message>
    <message>
        <source>the file is a DPG of a version not known: %1</source>
        <translation>die Datei ist ein DPG einer unbekannten Version: %1</translation>
    </message>
    <message>
        <source>the DPG file ends within its header, after %1 bytes</source>
        <translation>die DPG-Datei endet mitten in ihrem Kopf, nach %1 Bytes</translation>
    </message>
    <message>
        <source>the DPG file is damaged: its header names parts beyond its %1 bytes</source>
        <translation>die DPG-Datei ist beschädigt: ihr Kopf nennt Teile jenseits ihrer %1 Bytes</translation>
    </message>
    <message>
        <source>the DPG file is damaged: its header gives no video or no frame rate</source>
        <translation>die DPG-Datei ist beschädigt: ihr Kopf nennt kein Video oder keine Bildrate</translation>
    </message>
    <message>
        <source>a stream of the DPG file could not be read: %1</source>
        <translation>ein Strom der DPG-Datei konnte nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>the DPG file&apos;s video stream holds no picture: %1</source>
        <translation>der Videostrom der DPG-Datei enthält kein Bild: %1</translation>
    </message>
    <message>
        <source>the DPG file is damaged: its sound stream cannot be read</source>
        <translation>die DPG-Datei ist beschädigt: ihr Tonstrom lässt sich nicht lesen</translation>
    </message>
    <message>
        <source>the DPG file is damaged: its video stream cannot be read</source>
        <translation>die DPG-Datei ist beschädigt: ihr Videostrom lässt sich nicht lesen</translation>
    </message>
    <message>
        <source>the DPG file is damaged: its header and its video disagree on the frame count (%1)</source>
        <translation>die DPG-Datei ist beschädigt: Kopf und Video nennen verschiedene Bildzahlen (%1)</translation>
    </message>
    <message>
        <source>the DPG file is damaged: its header and its sound disagree on the sample rate (%1)</source>
        <translation>die DPG-Datei ist beschädigt: Kopf und Ton nennen verschiedene Abtastraten (%1)</translation>
    </message>
    <message>
        <source>the raw frames end within a frame: %1 bytes are not whole frames</source>
        <translation>die rohen Bilder enden mitten in einem Bild: %1 Bytes sind keine ganzen Bilder</translation>
    </message>
    <message>
        <source>raw frames are read by their name, which must end in their size, rate and byte order, as in %1</source>
        <translation>rohe Bilder werden nach ihrem Namen gelesen, der auf ihre Größe, Rate und Bytefolge enden muss, wie in %1</translation>
    </message>
    <message>
        <source>%1 names no built-in target</source>
        <translation>%1 nennt kein eingebautes Ziel</translation>
    </message>
</context>
</TS>
