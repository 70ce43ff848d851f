<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<!-- English needs only the plural forms of the texts that count something; every other text is its own source. -->
<context>
    <name>QueueWindow</name>
    <message numerus="yes">
        <source>%n video(s): %1</source>
        <translation>
            <numerusform>%n video: %1</numerusform>
            <numerusform>%n videos: %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n output file(s) exist already. Replace them, or skip those videos?</source>
        <translation>
            <numerusform>%n output file exists already. Replace it, or skip that video?</numerusform>
            <numerusform>%n output files exist already. Replace them, or skip those videos?</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>frmZCM</name>
    <message numerus="yes">
        <source>%n video(s) were waiting in the queue.</source>
        <translation>
            <numerusform>%n video was waiting in the queue.</numerusform>
            <numerusform>%n videos were waiting in the queue.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n channel(s)</source>
        <translation>
            <numerusform>%n channel</numerusform>
            <numerusform>%n channels</numerusform>
        </translation>
    </message>
</context>
</TS>
