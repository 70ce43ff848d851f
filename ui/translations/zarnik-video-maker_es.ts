<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es_ES">
<context>
    <name>EncoderWindow</name>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>Command</source>
        <translation>Comando</translation>
    </message>
    <message>
        <source>Encoder output</source>
        <translation>Salida del codificador</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Progreso</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Estado</translation>
    </message>
    <message>
        <source>Check of the output</source>
        <translation>Comprobación de la salida</translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <translation>&amp;Detener</translation>
    </message>
    <message>
        <source>Copy &amp;log</source>
        <translation>Copiar el &amp;registro</translation>
    </message>
    <message>
        <source>Cl&amp;ose</source>
        <translation>&amp;Cerrar</translation>
    </message>
    <message>
        <source>Stopped. The partial output was kept: %1</source>
        <translation>Detenido. Se conservó la salida parcial: %1</translation>
    </message>
    <message>
        <source>Stopped. No output was written</source>
        <translation>Detenido. No se escribió ninguna salida</translation>
    </message>
    <message>
        <source>Finished</source>
        <translation>Terminado</translation>
    </message>
    <message>
        <source>Failed (ended by signal %1)</source>
        <translation>Falló (terminado por la señal %1)</translation>
    </message>
    <message>
        <source>Failed (exit code %1)</source>
        <translation>Falló (código de salida %1)</translation>
    </message>
    <message>
        <source>Checking the output...</source>
        <translation>Comprobando la salida…</translation>
    </message>
    <message>
        <source>Failed: the DPG file could not be put together: %1</source>
        <translation>Falló: no se pudo montar el archivo DPG: %1</translation>
    </message>
    <message>
        <source>Failed: no output file</source>
        <translation>Falló: no hay archivo de salida</translation>
    </message>
    <message>
        <source>Running</source>
        <translation>En curso</translation>
    </message>
    <message>
        <source>%1 - %2 elapsed</source>
        <translation>%1 – %2 transcurrido</translation>
    </message>
    <message>
        <source>. This encoder needs the modern command: turn on Options &gt; Modern ffmpeg command in the main window, then Convert again.</source>
        <translation>. Este codificador necesita la orden moderna: active Opciones &gt; Orden de ffmpeg moderna en la ventana principal y vuelva a convertir.</translation>
    </message>
</context>
<context>
    <name>FrameView</name>
    <message>
        <source>Fit preview</source>
        <translation>Vista previa del ajuste</translation>
    </message>
    <message>
        <source>No fit: the source&apos;s width and height are needed</source>
        <translation>Sin ajuste: se necesitan el ancho y el alto del origen</translation>
    </message>
    <message>
        <source>Screen %1 x %2, picture %3 x %4, pads top %5, bottom %6, left %7, right %8</source>
        <translation>Pantalla %1 x %2, imagen %3 x %4, bordes arriba %5, abajo %6, izquierda %7, derecha %8</translation>
    </message>
    <message>
        <source>picture %1 x %2</source>
        <translation>imagen %1 x %2</translation>
    </message>
    <message>
        <source>screen %1 x %2</source>
        <translation>pantalla %1 x %2</translation>
    </message>
    <message>
        <source>top %1</source>
        <translation>arriba %1</translation>
    </message>
    <message>
        <source>bottom %1</source>
        <translation>abajo %1</translation>
    </message>
    <message>
        <source>left
%1</source>
        <translation>izquierda
%1</translation>
    </message>
    <message>
        <source>right
%1</source>
        <translation>derecha
%1</translation>
    </message>
</context>
<context>
    <name>OutputCheck</name>
    <message>
        <source>stereo</source>
        <translation>estéreo</translation>
    </message>
    <message>
        <source>mono</source>
        <translation>mono</translation>
    </message>
    <message>
        <source>%1 channels</source>
        <translation>%1 canales</translation>
    </message>
    <message>
        <source>%1x%2, %3, %4 fps, %5 %6 Hz %7</source>
        <translation>%1x%2, %3, %4 fps, %5 %6 Hz %7</translation>
    </message>
    <message>
        <source>width</source>
        <translation>ancho</translation>
    </message>
    <message>
        <source>height</source>
        <translation>alto</translation>
    </message>
    <message>
        <source>video codec</source>
        <translation>códec de vídeo</translation>
    </message>
    <message>
        <source>frame rate</source>
        <translation>velocidad de fotogramas</translation>
    </message>
    <message>
        <source>audio codec</source>
        <translation>códec de audio</translation>
    </message>
    <message>
        <source>sample rate</source>
        <translation>frecuencia de muestreo</translation>
    </message>
    <message>
        <source>channels</source>
        <translation>canales</translation>
    </message>
    <message>
        <source>duration</source>
        <translation>duración</translation>
    </message>
    <message>
        <source>The encoder ended without writing %1</source>
        <translation>El codificador terminó sin escribir %1</translation>
    </message>
    <message>
        <source>The output could not be checked: %1</source>
        <translation>No se pudo comprobar la salida: %1</translation>
    </message>
    <message>
        <source>Fits %1: %2</source>
        <translation>Se ajusta a %1: %2</translation>
    </message>
    <message>
        <source>no %1, expected %2</source>
        <translation>falta %1, se esperaba %2</translation>
    </message>
    <message>
        <source>%1 %2, expected %3</source>
        <translation>%1 %2, se esperaba %3</translation>
    </message>
    <message>
        <source>Does not fit %1: %2</source>
        <translation>No se ajusta a %1: %2</translation>
    </message>
    <message>
        <source>; </source>
        <translation>; </translation>
    </message>
    <message>
        <source>The output is not a readable video: %1</source>
        <translation>La salida no es un vídeo legible: %1</translation>
    </message>
    <message>
        <source>pixel aspect</source>
        <translation>proporción del píxel</translation>
    </message>
    <message>
        <source>video %1 kbit/s (asked %2)</source>
        <translation>vídeo %1 kbit/s (pedido %2)</translation>
    </message>
    <message>
        <source>video %1 kbit/s</source>
        <translation>vídeo %1 kbit/s</translation>
    </message>
    <message>
        <source>audio %1 kbit/s (asked %2)</source>
        <translation>audio %1 kbit/s (pedido %2)</translation>
    </message>
    <message>
        <source>audio %1 kbit/s</source>
        <translation>audio %1 kbit/s</translation>
    </message>
    <message>
        <source>the video is %1% over the bitrate asked</source>
        <translation>el vídeo supera en un %1% la tasa de bits pedida</translation>
    </message>
    <message>
        <source>on a 4:3 TV the picture appears %1% narrower; the target &apos;%2&apos; fits it</source>
        <translation>en un televisor 4:3 la imagen se ve un %1% más estrecha; el destino «%2» se ajusta a él</translation>
    </message>
    <message>
        <source>the end</source>
        <translation>el final</translation>
    </message>
    <message>
        <source>cut %1 to %2: %3 s of %4 s kept (within %5 s)</source>
        <translation>corte de %1 a %2: %3 s de %4 s conservados (con %5 s de margen)</translation>
    </message>
    <message>
        <source>cut %1 to %2: %3 s of %4 s kept</source>
        <translation>corte de %1 a %2: %3 s de %4 s conservados</translation>
    </message>
    <message>
        <source>file %1 MB (asked %2 MB)</source>
        <translation>archivo %1 MB (pedido %2 MB)</translation>
    </message>
    <message>
        <source>the file is %1% over the size asked</source>
        <translation>el archivo supera en un %1% el tamaño pedido</translation>
    </message>
    <message>
        <source>the file is %1% under the size asked: the encoder reached its best quality with fewer bits</source>
        <translation>el archivo queda un %1% por debajo del tamaño pedido: el codificador alcanzó su mejor calidad con menos bits</translation>
    </message>
    <message>
        <source>profile</source>
        <translation>perfil</translation>
    </message>
    <message>
        <source>level</source>
        <translation>nivel</translation>
    </message>
    <message>
        <source>video bitrate</source>
        <translation>tasa de bits de vídeo</translation>
    </message>
    <message>
        <source>picture size</source>
        <translation>tamaño de imagen</translation>
    </message>
    <message>
        <source>pixels per frame</source>
        <translation>píxeles por fotograma</translation>
    </message>
    <message>
        <source>audio bitrate</source>
        <translation>tasa de bits de audio</translation>
    </message>
    <message>
        <source>brand</source>
        <translation>marca</translation>
    </message>
    <message>
        <source>sound stream</source>
        <translation>pista de sonido</translation>
    </message>
    <message>
        <source>reference frames</source>
        <translation>fotogramas de referencia</translation>
    </message>
    <message>
        <source>B-frames</source>
        <translation>fotogramas B</translation>
    </message>
    <message>
        <source>video bitrate in its fullest second</source>
        <translation>tasa de bits de vídeo en su segundo más lleno</translation>
    </message>
    <message>
        <source>index before the data</source>
        <translation>índice antes de los datos</translation>
    </message>
    <message>
        <source>Plays on %1: %2 of %3 limits held</source>
        <translation>Se reproduce en %1: %2 de %3 límites respetados</translation>
    </message>
    <message>
        <source>its %1 is %2, more than the %3 it plays</source>
        <translation>su %1 es %2, más que los %3 que reproduce</translation>
    </message>
    <message>
        <source>its %1 is %2, where it plays %3</source>
        <translation>su %1 es %2, pero reproduce %3</translation>
    </message>
    <message>
        <source>its %1 %2 is not a multiple of 16</source>
        <translation>su %1 %2 no es múltiplo de 16</translation>
    </message>
    <message>
        <source>it has no %1, which it needs</source>
        <translation>no tiene %1, que necesita</translation>
    </message>
    <message>
        <source>it has %1, which it does not play</source>
        <translation>tiene %1, que no reproduce</translation>
    </message>
    <message>
        <source>May not play on %1: %2 of %3 limits held; %4</source>
        <translation>Puede no reproducirse en %1: %2 de %3 límites respetados; %4</translation>
    </message>
    <message>
        <source>sound in %1</source>
        <translation>sonido en %1</translation>
    </message>
    <message>
        <source>sound language</source>
        <translation>idioma del sonido</translation>
    </message>
    <message>
        <source>this file keeps no language tag, so the sound stream&apos;s language (%1) was not checked</source>
        <translation>este archivo no guarda etiqueta de idioma, así que no se comprobó el idioma de la pista de sonido (%1)</translation>
    </message>
    <message>
        <source>%1x%2, %3, %4 fps, no sound</source>
        <translation>%1x%2, %3, %4 fps, sin sonido</translation>
    </message>
</context>
<context>
    <name>PickerDialog</name>
    <message>
        <source>%1 is not a program that can be run. Choose the encoder program itself.</source>
        <translation>%1 no es un programa que se pueda ejecutar. Elija el propio programa codificador.</translation>
    </message>
    <message>
        <source>Subtitles (*.srt *.ass *.ssa *.vtt *.SRT *.ASS *.SSA *.VTT)</source>
        <translation>Subtítulos (*.srt *.ass *.ssa *.vtt *.SRT *.ASS *.SSA *.VTT)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Todos los archivos (*)</translation>
    </message>
</context>
<context>
    <name>Platform</name>
    <message>
        <source>The desktop could not open it. Open it by hand:
%1</source>
        <translation>El escritorio no pudo abrirlo. Ábralo a mano:
%1</translation>
    </message>
</context>
<context>
    <name>PreviewWindow</name>
    <message>
        <source>none</source>
        <translation>ninguno</translation>
    </message>
    <message>
        <source>The picture kept before the fit, in the source&apos;s stored pixels: width:height:left:top, for example 480:480:80:0. Empty: no crop.</source>
        <translation>La imagen que se conserva antes del ajuste, en los píxeles guardados del origen: ancho:alto:izquierda:arriba, por ejemplo 480:480:80:0. Vacío: sin recorte.</translation>
    </message>
    <message>
        <source>C&amp;rop (W:H:X:Y):</source>
        <translation>&amp;Recorte (An:Al:X:Y):</translation>
    </message>
    <message>
        <source>Type the crop as width:height:left:top, for example 480:480:80:0</source>
        <translation>Escriba el recorte como ancho:alto:izquierda:arriba, por ejemplo 480:480:80:0</translation>
    </message>
    <message>
        <source>A frame at %1, rendered through the command&apos;s own picture filter</source>
        <translation>Un fotograma en %1, generado con el filtro de imagen de la orden</translation>
    </message>
    <message>
        <source>No frame: %1</source>
        <translation>Sin fotograma: %1</translation>
    </message>
    <message>
        <source>Moment of the frame</source>
        <translation>Momento del fotograma</translation>
    </message>
    <message>
        <source>&amp;Moment:</source>
        <translation>&amp;Momento:</translation>
    </message>
    <message>
        <source>Zoom %1 times</source>
        <translation>Ampliación de %1 veces</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Estado</translation>
    </message>
    <message>
        <source>Preview - %1</source>
        <translation>Vista previa - %1</translation>
    </message>
    <message>
        <source>modern</source>
        <translation>moderna</translation>
    </message>
    <message>
        <source>classic</source>
        <translation>clásica</translation>
    </message>
    <message>
        <source>%1 fps, %2 command form</source>
        <translation>%1 fps, forma de orden %2</translation>
    </message>
    <message>
        <source>No movie type chosen: no command is written for this target</source>
        <translation>No se eligió tipo de película: no se escribe ninguna orden para este destino</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 de %2</translation>
    </message>
    <message>
        <source>No frame: enter the source&apos;s width and height</source>
        <translation>Sin fotograma: introduzca el ancho y el alto del origen</translation>
    </message>
    <message>
        <source>Rendering a frame...</source>
        <translation>Generando un fotograma…</translation>
    </message>
    <message>
        <source>A VCD&apos;s pixels are not square: the frame is shown as a 4:3 television displays it.</source>
        <translation>Los píxeles de un VCD no son cuadrados: el fotograma se muestra como lo muestra un televisor 4:3.</translation>
    </message>
    <message>
        <source>at most %1 fps, %2 command form</source>
        <translation>como máximo %1 fps, forma de orden %2</translation>
    </message>
    <message>
        <source>On a 4:3 TV the picture appears %1% narrower; the target &apos;%2&apos; fits it.</source>
        <translation>En un televisor 4:3 la imagen se ve un %1% más estrecha; el destino «%2» se ajusta a él.</translation>
    </message>
    <message>
        <source>Set &amp;start</source>
        <translation>Fijar &amp;inicio</translation>
    </message>
    <message>
        <source>Set &amp;end</source>
        <translation>Fijar &amp;final</translation>
    </message>
    <message>
        <source>C&amp;lear cut</source>
        <translation>&amp;Quitar corte</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Corte</translation>
    </message>
    <message>
        <source>Add to &amp;queue</source>
        <translation>Añadir a la &amp;cola</translation>
    </message>
    <message>
        <source>No cut: the video&apos;s duration is not known yet</source>
        <translation>Sin corte: aún no se conoce la duración del vídeo</translation>
    </message>
    <message>
        <source>Cut from %1 to %2</source>
        <translation>Corte de %1 a %2</translation>
    </message>
    <message>
        <source>the end</source>
        <translation>el final</translation>
    </message>
    <message>
        <source>No cut: the whole video is converted</source>
        <translation>Sin corte: se convierte el vídeo entero</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Ninguno</translation>
    </message>
    <message>
        <source>Automatic</source>
        <translation>Automático</translation>
    </message>
    <message>
        <source>File...</source>
        <translation>Archivo...</translation>
    </message>
    <message>
        <source>Automatic: a subtitle file beside the video with its name, else the video&apos;s first subtitle stream</source>
        <translation>Automático: un archivo de subtítulos junto al vídeo con su nombre; si no, la primera pista de subtítulos del vídeo</translation>
    </message>
    <message>
        <source>S&amp;ubtitles:</source>
        <translation>Su&amp;btítulos:</translation>
    </message>
    <message>
        <source>Subtitles to burn in</source>
        <translation>Subtítulos que incrustar</translation>
    </message>
    <message>
        <source> px</source>
        <translation> px</translation>
    </message>
    <message>
        <source>Height of the subtitles&apos; text in pixels of the target</source>
        <translation>Altura del texto de los subtítulos en píxeles del destino</translation>
    </message>
    <message>
        <source>%1 px left and right, %2 px above and below</source>
        <translation>%1 px a izquierda y derecha, %2 px arriba y abajo</translation>
    </message>
    <message>
        <source>%1 px left and right</source>
        <translation>%1 px a izquierda y derecha</translation>
    </message>
    <message>
        <source>%1 px above and below</source>
        <translation>%1 px arriba y abajo</translation>
    </message>
    <message>
        <source>Black bars found: %1 — Crop them</source>
        <translation>Barras negras encontradas: %1 — Recortarlas</translation>
    </message>
    <message>
        <source>(the picture fills %1% of the screen instead of %2%)</source>
        <translation>(la imagen llena el %1% de la pantalla en vez del %2%)</translation>
    </message>
    <message>
        <source>A frame at %1, deinterlaced and rendered through the command&apos;s own picture filter</source>
        <translation>Un fotograma en %1, desentrelazado y generado con el filtro de imagen de la orden</translation>
    </message>
</context>
<context>
    <name>QueueWindow</name>
    <message>
        <source>Command: %1</source>
        <translation>Orden: %1</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>%1 finished, %2 failed, %3 skipped</source>
        <translation>%1 terminados, %2 fallidos, %3 omitidos</translation>
    </message>
    <message>
        <source>Videos in the queue</source>
        <translation>Vídeos en la cola</translation>
    </message>
    <message>
        <source>Source</source>
        <translation>Origen</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Tamaño</translation>
    </message>
    <message>
        <source>Target</source>
        <translation>Destino</translation>
    </message>
    <message>
        <source>Output</source>
        <translation>Salida</translation>
    </message>
    <message>
        <source>State</source>
        <translation>Estado</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Progreso</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Tiempo</translation>
    </message>
    <message>
        <source>Details of the selected video</source>
        <translation>Detalles del vídeo seleccionado</translation>
    </message>
    <message>
        <source>&amp;Start</source>
        <translation>&amp;Iniciar</translation>
    </message>
    <message>
        <source>&amp;Pause after current</source>
        <translation>&amp;Pausar tras el actual</translation>
    </message>
    <message>
        <source>S&amp;top current</source>
        <translation>&amp;Detener el actual</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>&amp;Quitar</translation>
    </message>
    <message>
        <source>Move &amp;up</source>
        <translation>&amp;Subir</translation>
    </message>
    <message>
        <source>Move do&amp;wn</source>
        <translation>&amp;Bajar</translation>
    </message>
    <message>
        <source>C&amp;lear finished</source>
        <translation>&amp;Limpiar terminados</translation>
    </message>
    <message>
        <source>&amp;Open output folder</source>
        <translation>&amp;Abrir la carpeta de salida</translation>
    </message>
    <message>
        <source>running, %1 of %2 done</source>
        <translation>en curso, %1 de %2 hechos</translation>
    </message>
    <message>
        <source>not running</source>
        <translation>detenida</translation>
    </message>
    <message>
        <source>, %1 left</source>
        <translation>, quedan %1</translation>
    </message>
    <message>
        <source>Queue - %1</source>
        <translation>Cola - %1</translation>
    </message>
    <message>
        <source>%1 left</source>
        <translation>quedan %1</translation>
    </message>
    <message>
        <source>Enter the size as width x height, for example 640x480</source>
        <translation>Introduzca el tamaño como ancho x alto, por ejemplo 640x480</translation>
    </message>
    <message>
        <source>Invalid Size!</source>
        <translation>¡Tamaño no válido!</translation>
    </message>
    <message>
        <source>Start the queue</source>
        <translation>Iniciar la cola</translation>
    </message>
    <message>
        <source>&amp;Replace them</source>
        <translation>&amp;Reemplazarlos</translation>
    </message>
    <message>
        <source>&amp;Skip those videos</source>
        <translation>&amp;Omitir esos vídeos</translation>
    </message>
    <message>
        <source>The queue is done: %1.</source>
        <translation>La cola ha terminado: %1.</translation>
    </message>
    <message>
        <source>Queue - done: %1</source>
        <translation>Cola - terminada: %1</translation>
    </message>
    <message>
        <source>Detecting size</source>
        <translation>Detectando el tamaño</translation>
    </message>
    <message>
        <source>Waiting</source>
        <translation>En espera</translation>
    </message>
    <message>
        <source>Needs attention: %1</source>
        <translation>Requiere atención: %1</translation>
    </message>
    <message>
        <source>Running</source>
        <translation>En curso</translation>
    </message>
    <message>
        <source>Finished, but does not fit</source>
        <translation>Terminado, pero no se ajusta</translation>
    </message>
    <message>
        <source>Finished</source>
        <translation>Terminado</translation>
    </message>
    <message>
        <source>Failed: %1</source>
        <translation>Falló: %1</translation>
    </message>
    <message>
        <source>Stopped</source>
        <translation>Detenido</translation>
    </message>
    <message>
        <source>Skipped: %1</source>
        <translation>Omitido: %1</translation>
    </message>
    <message numerus="yes">
        <source>%n video(s): %1</source>
        <translation>
            <numerusform>%n vídeo: %1</numerusform>
            <numerusform>%n vídeos: %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n output file(s) exist already. Replace them, or skip those videos?</source>
        <translation>
            <numerusform>Ya existe %n archivo de salida. ¿Reemplazarlo u omitir ese vídeo?</numerusform>
            <numerusform>Ya existen %n archivos de salida. ¿Reemplazarlos u omitir esos vídeos?</numerusform>
        </translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Cancelar</translation>
    </message>
    <message>
        <source>The queue could not be saved: %1</source>
        <translation>No se pudo guardar la cola: %1</translation>
    </message>
    <message>
        <source>Cut from %1 to %2</source>
        <translation>Corte de %1 a %2</translation>
    </message>
    <message>
        <source>the end</source>
        <translation>el final</translation>
    </message>
    <message>
        <source>%1 finished, %2 not fitting their target, %3 failed, %4 skipped</source>
        <translation>%1 terminados, %2 no se ajustan a su destino, %3 fallidos, %4 omitidos</translation>
    </message>
    <message>
        <source>Optio&amp;ns</source>
        <translation>Opcio&amp;nes</translation>
    </message>
    <message>
        <source>Videos converted at once</source>
        <translation>Vídeos convertidos a la vez</translation>
    </message>
    <message numerus="yes">
        <source>&amp;Automatic (%n at once)</source>
        <translation>
            <numerusform>&amp;Automático (%n a la vez)</numerusform>
            <numerusform>&amp;Automático (%n a la vez)</numerusform>
        </translation>
    </message>
    <message>
        <source>&amp;1, one after another</source>
        <translation>&amp;1, uno tras otro</translation>
    </message>
    <message>
        <source>%1% - %2</source>
        <translation>%1% - %2</translation>
    </message>
    <message>
        <source>Several videos are converting. Select the one to stop.</source>
        <translation>Se están convirtiendo varios vídeos. Seleccione el que quiere detener.</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Detener</translation>
    </message>
    <message>
        <source>Target &amp;file size...</source>
        <translation>&amp;Tamaño de archivo de destino...</translation>
    </message>
    <message>
        <source>File size asked: %1 MB, in two passes</source>
        <translation>Tamaño de archivo pedido: %1 MB, en dos pasadas</translation>
    </message>
    <message>
        <source>Target file size</source>
        <translation>Tamaño de archivo de destino</translation>
    </message>
    <message>
        <source>Size of the output in MB (0: keep the bitrates):</source>
        <translation>Tamaño de la salida en MB (0: mantener las tasas de bits):</translation>
    </message>
    <message>
        <source>S&amp;ubtitles</source>
        <translation>Su&amp;btítulos</translation>
    </message>
    <message>
        <source>&amp;Automatic (a file beside the video or its first subtitle stream)</source>
        <translation>&amp;Automático (un archivo junto al vídeo o su primera pista de subtítulos)</translation>
    </message>
    <message>
        <source>&amp;None</source>
        <translation>&amp;Ninguno</translation>
    </message>
    <message>
        <source>&amp;File...</source>
        <translation>A&amp;rchivo...</translation>
    </message>
    <message>
        <source>Text &amp;size...</source>
        <translation>&amp;Tamaño del texto...</translation>
    </message>
    <message>
        <source>Subtitles burned in: %1, text %2 pixels high</source>
        <translation>Subtítulos incrustados: %1, texto de %2 píxeles de alto</translation>
    </message>
    <message>
        <source>Subtitles burned in: subtitle stream %1 of the video, text %2 pixels high</source>
        <translation>Subtítulos incrustados: pista de subtítulos %1 del vídeo, texto de %2 píxeles de alto</translation>
    </message>
    <message>
        <source>Subtitles: automatic, looked for once the video is read</source>
        <translation>Subtítulos: automáticos, se buscan en cuanto se lea el vídeo</translation>
    </message>
    <message>
        <source>Subtitles: automatic, but there is none beside the video or in it</source>
        <translation>Subtítulos: automáticos, pero no hay ninguno junto al vídeo ni dentro de él</translation>
    </message>
    <message>
        <source>Subtitles to burn in</source>
        <translation>Subtítulos que incrustar</translation>
    </message>
    <message>
        <source>Subtitle text size</source>
        <translation>Tamaño del texto de los subtítulos</translation>
    </message>
    <message>
        <source>Height of the subtitles&apos; text in pixels of the target (0: chosen for the target&apos;s height):</source>
        <translation>Altura del texto de los subtítulos en píxeles del destino (0: elegida según la altura del destino):</translation>
    </message>
    <message>
        <source>Output folder</source>
        <translation>Carpeta de salida</translation>
    </message>
    <message>
        <source>Waiting: %1</source>
        <translation>En espera: %1</translation>
    </message>
    <message>
        <source>Cropped to %1x%2 at %3,%4 before the fit: the picture %5x%6</source>
        <translation>Recortado a %1x%2 en %3,%4 antes del ajuste: la imagen %5x%6</translation>
    </message>
    <message>
        <source>Black bars: cropped where the video&apos;s frames agree on them</source>
        <translation>Barras negras: recortadas donde los fotogramas del vídeo coinciden</translation>
    </message>
    <message>
        <source>Sound stream %1</source>
        <translation>Pista de sonido %1</translation>
    </message>
    <message>
        <source>Sound stream %1, in %2</source>
        <translation>Pista de sonido %1, en %2</translation>
    </message>
    <message>
        <source>Deinterlaced</source>
        <translation>Desentrelazado</translation>
    </message>
    <message>
        <source>Reading the video&apos;s sound streams...</source>
        <translation>Leyendo las pistas de sonido del vídeo...</translation>
    </message>
    <message>
        <source>Black bars found and cropped: the picture %1x%2 fits as %3x%4</source>
        <translation>Barras negras encontradas y recortadas: la imagen %1x%2 cabe como %3x%4</translation>
    </message>
    <message>
        <source>No black bars cropped: %1</source>
        <translation>No se recortaron barras negras: %1</translation>
    </message>
</context>
<context>
    <name>SourceReader</name>
    <message>
        <source>The size could not be detected: %1.</source>
        <translation>No se pudo detectar el tamaño: %1.</translation>
    </message>
    <message>
        <source>Detect size from video</source>
        <translation>Detectar el tamaño del vídeo</translation>
    </message>
    <message>
        <source>%1 pixels</source>
        <translation>%1 píxeles</translation>
    </message>
    <message>
        <source>%1 pixels, shown as %2</source>
        <translation>%1 píxeles, mostrado como %2</translation>
    </message>
    <message>
        <source>%1 (pixel aspect %2:%3)</source>
        <translation>%1 (aspecto de píxel %2:%3)</translation>
    </message>
    <message>
        <source>Width of original video: %1</source>
        <translation>Ancho del vídeo original: %1</translation>
    </message>
    <message>
        <source>Height of original video: %1</source>
        <translation>Alto del vídeo original: %1</translation>
    </message>
</context>
<context>
    <name>StartOptions</name>
    <message>
        <source>Fits videos to the screens of handheld players with ffmpeg.</source>
        <translation>Ajusta vídeos a las pantallas de reproductores portátiles con ffmpeg.</translation>
    </message>
    <message>
        <source>Keep settings.ini in the per-user configuration folder, not the current one.</source>
        <translation>Guardar settings.ini en la carpeta de configuración del usuario, no en la actual.</translation>
    </message>
    <message>
        <source>Videos to open: one is opened in the window, several go to the queue.</source>
        <translation>Vídeos que abrir: uno se abre en la ventana, varios van a la cola.</translation>
    </message>
</context>
<context>
    <name>TargetsDialog</name>
    <message>
        <source>Your targets</source>
        <translation>Sus destinos</translation>
    </message>
    <message>
        <source>Your own target screens, listed after the built-in ones. The built-in targets are not shown here: they cannot be changed.</source>
        <translation>Sus propias pantallas de destino, listadas tras las incorporadas. Los destinos incorporados no se muestran aquí: no se pueden cambiar.</translation>
    </message>
    <message>
        <source>&amp;Name (the tool&apos;s word):</source>
        <translation>&amp;Nombre (la palabra de la herramienta):</translation>
    </message>
    <message>
        <source>&amp;Label (the list&apos;s text):</source>
        <translation>&amp;Etiqueta (el texto de la lista):</translation>
    </message>
    <message>
        <source>&amp;Width:</source>
        <translation>&amp;Ancho:</translation>
    </message>
    <message>
        <source>&amp;Height:</source>
        <translation>A&amp;lto:</translation>
    </message>
    <message>
        <source>&amp;Pixel aspect (W:H):</source>
        <translation>&amp;Proporción del píxel (An:Al):</translation>
    </message>
    <message>
        <source>&amp;Video:</source>
        <translation>&amp;Vídeo:</translation>
    </message>
    <message>
        <source>&amp;Container:</source>
        <translation>&amp;Contenedor:</translation>
    </message>
    <message>
        <source>N&amp;orm (VCD only):</source>
        <translation>N&amp;orma (solo VCD):</translation>
    </message>
    <message>
        <source>Highest &amp;frame rate:</source>
        <translation>&amp;Frecuencia de imagen máxima:</translation>
    </message>
    <message>
        <source>&amp;Audio bitrate (kbit/s, optional):</source>
        <translation>Tasa de &amp;bits de audio (kbit/s, opcional):</translation>
    </message>
    <message>
        <source>&amp;Sample rate (Hz, optional):</source>
        <translation>Frecuencia de &amp;muestreo (Hz, opcional):</translation>
    </message>
    <message>
        <source>A&amp;dd</source>
        <translation>A&amp;ñadir</translation>
    </message>
    <message>
        <source>&amp;Replace</source>
        <translation>&amp;Reemplazar</translation>
    </message>
    <message>
        <source>Re&amp;move</source>
        <translation>&amp;Quitar</translation>
    </message>
    <message>
        <source>The pixel aspect must be two whole numbers, such as 10:11.</source>
        <translation>La proporción del píxel deben ser dos números enteros, como 10:11.</translation>
    </message>
    <message>
        <source>The frame rate must be a whole number or a fraction, such as 25 or 30000/1001.</source>
        <translation>La frecuencia de imagen debe ser un número entero o una fracción, como 25 o 30000/1001.</translation>
    </message>
    <message>
        <source>The target was not taken: %1</source>
        <translation>El destino no se aceptó: %1</translation>
    </message>
    <message>
        <source>Choose the target to replace in the list first.</source>
        <translation>Elija primero en la lista el destino que quiere reemplazar.</translation>
    </message>
    <message>
        <source>%1 is a damaged file that could not be set aside; it is not written over. Move it away and open this dialog again.</source>
        <translation>%1 es un archivo dañado que no se pudo apartar; no se sobrescribe. Muévalo a otro sitio y abra de nuevo este diálogo.</translation>
    </message>
    <message>
        <source>Your targets could not be saved: %1</source>
        <translation>No se pudieron guardar sus destinos: %1</translation>
    </message>
    <message>
        <source>Your targets have changes that are not saved.</source>
        <translation>Sus destinos tienen cambios que no están guardados.</translation>
    </message>
    <message>
        <source>&amp;Save them</source>
        <translation>&amp;Guardarlos</translation>
    </message>
    <message>
        <source>&amp;Drop them</source>
        <translation>&amp;Descartarlos</translation>
    </message>
    <message>
        <source>&amp;Keep editing</source>
        <translation>&amp;Seguir editando</translation>
    </message>
    <message>
        <source>Built-in target to copy</source>
        <translation>Destino incorporado que copiar</translation>
    </message>
    <message>
        <source>Cop&amp;y</source>
        <translation>Cop&amp;iar</translation>
    </message>
    <message>
        <source>S&amp;tart from:</source>
        <translation>Par&amp;tir de:</translation>
    </message>
    <message>
        <source>Copy of %1</source>
        <translation>Copia de %1</translation>
    </message>
</context>
<context>
    <name>frmZCM</name>
    <message>
        <source>&amp;Best quality (slower)</source>
        <translation>Mejor ca&amp;lidad (más lenta)</translation>
    </message>
    <message>
        <source>Two passes and the best options the target's format takes, for the first five targets (the later ones have theirs already); the PSP rows then write the PSP's own format. Needs the modern command.</source>
        <translation>Dos pasadas y las mejores opciones que admite el formato del destino, para los cinco primeros destinos (los siguientes ya tienen las suyas); las filas de PSP escriben entonces el formato propio de la PSP. Necesita la orden moderna.</translation>
    </message>
    <message>
        <source>Choose a resolution</source>
        <translation>Elija una resolución</translation>
    </message>
    <message>
        <source>Choose a resolution: %1</source>
        <translation>Elija una resolución: %1</translation>
    </message>
    <message>
        <source>In use: the %1</source>
        <translation>En uso: la %1</translation>
    </message>
    <message>
        <source>Choose a Movie Type!</source>
        <translation>¡Elija un tipo de película!</translation>
    </message>
    <message>
        <source>The output file is the source video. Choose another output filename</source>
        <translation>El archivo de salida es el vídeo de origen. Elija otro nombre para el archivo de salida</translation>
    </message>
    <message>
        <source>Invalid Filename!</source>
        <translation>¡Nombre de archivo no válido!</translation>
    </message>
    <message>
        <source>

Program: %1</source>
        <translation>

Programa: %1</translation>
    </message>
    <message>
        <source>The encoder could not be started: %1.%2</source>
        <translation>No se pudo iniciar el codificador: %1.%2</translation>
    </message>
    <message>
        <source>Convert using ffmpeg</source>
        <translation>Convertir con ffmpeg</translation>
    </message>
    <message>
        <source>Zarnik Video Maker</source>
        <translation>Zarnik Video Maker</translation>
    </message>
    <message>
        <source>Original Video to convert</source>
        <translation>Vídeo original a convertir</translation>
    </message>
    <message>
        <source>Video filename with extension (.avi, .mpg, etc)</source>
        <translation>Nombre del archivo de vídeo con extensión (.avi, .mpg, etc.)</translation>
    </message>
    <message>
        <source>Browse</source>
        <translation>Buscar</translation>
    </message>
    <message>
        <source>Browse for the source video</source>
        <translation>Buscar el vídeo de origen</translation>
    </message>
    <message>
        <source>Outputted MP4 filename</source>
        <translation>Nombre del archivo MP4 de salida</translation>
    </message>
    <message>
        <source>Where to save the .mp4 video file</source>
        <translation>Dónde guardar el archivo de vídeo .mp4</translation>
    </message>
    <message>
        <source>Browse for the output file</source>
        <translation>Buscar el archivo de salida</translation>
    </message>
    <message>
        <source>Original Video</source>
        <translation>Vídeo original</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>Ancho</translation>
    </message>
    <message>
        <source>Height</source>
        <translation>Alto</translation>
    </message>
    <message>
        <source>Width of original video</source>
        <translation>Ancho del vídeo original</translation>
    </message>
    <message>
        <source>X</source>
        <translation>X</translation>
    </message>
    <message>
        <source>Height of original video</source>
        <translation>Alto del vídeo original</translation>
    </message>
    <message>
        <source>Ratio</source>
        <translation>Proporción</translation>
    </message>
    <message>
        <source>Movie Type</source>
        <translation>Tipo de película</translation>
    </message>
    <message>
        <source>Live Action</source>
        <translation>Imagen real</translation>
    </message>
    <message>
        <source>Animation</source>
        <translation>Animación</translation>
    </message>
    <message>
        <source>Target screen</source>
        <translation>Pantalla de destino</translation>
    </message>
    <message>
        <source>New Dimensions</source>
        <translation>Nuevas medidas</translation>
    </message>
    <message>
        <source>New width</source>
        <translation>Nuevo ancho</translation>
    </message>
    <message>
        <source>New height</source>
        <translation>Nuevo alto</translation>
    </message>
    <message>
        <source>Padding</source>
        <translation>Bordes</translation>
    </message>
    <message>
        <source>Top</source>
        <translation>Arriba</translation>
    </message>
    <message>
        <source>Pad top</source>
        <translation>Borde superior</translation>
    </message>
    <message>
        <source>Left</source>
        <translation>Izq.</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>Dcha.</translation>
    </message>
    <message>
        <source>Pad left</source>
        <translation>Borde izquierdo</translation>
    </message>
    <message>
        <source>Pad right</source>
        <translation>Borde derecho</translation>
    </message>
    <message>
        <source>Bottom</source>
        <translation>Abajo</translation>
    </message>
    <message>
        <source>Pad bottom</source>
        <translation>Borde inferior</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Opciones</translation>
    </message>
    <message>
        <source>Video Bitrate</source>
        <translation>Bitrate de vídeo</translation>
    </message>
    <message>
        <source>video bitrate (in kbit/s) </source>
        <translation>tasa de bits de vídeo (en kbit/s) </translation>
    </message>
    <message>
        <source>kbit/s</source>
        <translation>kbit/s</translation>
    </message>
    <message>
        <source>Audio Bitrate</source>
        <translation>Bitrate de audio</translation>
    </message>
    <message>
        <source>audio bitrate (in kbit/s) </source>
        <translation>tasa de bits de audio (en kbit/s) </translation>
    </message>
    <message>
        <source>Audio Sample Rate</source>
        <translation>Muestreo de audio</translation>
    </message>
    <message>
        <source>audio sampling rate (in Hz) </source>
        <translation>frecuencia de muestreo del audio (en Hz) </translation>
    </message>
    <message>
        <source>Hz</source>
        <translation>Hz</translation>
    </message>
    <message>
        <source>Location of FFMPEG.EXE</source>
        <translation>Ubicación de FFMPEG.EXE</translation>
    </message>
    <message>
        <source>Browse for the encoder</source>
        <translation>Buscar el codificador</translation>
    </message>
    <message>
        <source>ffmpeg command</source>
        <translation>orden de ffmpeg</translation>
    </message>
    <message>
        <source>Con&amp;vert</source>
        <translation>Con&amp;vertir</translation>
    </message>
    <message>
        <source>&amp;Clear</source>
        <translation>&amp;Limpiar</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Salir</translation>
    </message>
    <message>
        <source>&amp;Generate</source>
        <translation>&amp;Generar</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Archivo</translation>
    </message>
    <message>
        <source>&amp;Save settings to INI</source>
        <translation>&amp;Guardar los ajustes en INI</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>&amp;Opciones</translation>
    </message>
    <message>
        <source>&amp;Modern ffmpeg command</source>
        <translation>Orden de ffmpeg &amp;moderna</translation>
    </message>
    <message>
        <source>&amp;Detect size from video</source>
        <translation>&amp;Detectar el tamaño del vídeo</translation>
    </message>
    <message>
        <source>&amp;Preview</source>
        <translation>&amp;Vista previa</translation>
    </message>
    <message>
        <source>Add videos to &amp;queue...</source>
        <translation>Añadir vídeos a la &amp;cola…</translation>
    </message>
    <message>
        <source>Add c&amp;urrent to queue</source>
        <translation>Añadir el act&amp;ual a la cola</translation>
    </message>
    <message>
        <source>Queu&amp;e</source>
        <translation>C&amp;ola</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>Ay&amp;uda</translation>
    </message>
    <message>
        <source>&amp;Web site</source>
        <translation>Sitio &amp;web</translation>
    </message>
    <message>
        <source>Add videos to queue</source>
        <translation>Añadir vídeos a la cola</translation>
    </message>
    <message>
        <source>Queue</source>
        <translation>Cola</translation>
    </message>
    <message>
        <source>&amp;Resume</source>
        <translation>&amp;Reanudar</translation>
    </message>
    <message>
        <source>&amp;Discard</source>
        <translation>&amp;Descartar</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Salir</translation>
    </message>
    <message>
        <source>Stop the queue and &amp;quit</source>
        <translation>Detener la cola y &amp;salir</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Cancelar</translation>
    </message>
    <message>
        <source>Save settings to settings.ini</source>
        <translation>Guardar los ajustes en settings.ini</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Todos los archivos (*)</translation>
    </message>
    <message>
        <source>Zarnik Video Maker v0.61 - by the Zarnik Video Maker team</source>
        <translation>Zarnik Video Maker v0.61 - del equipo de Zarnik Video Maker</translation>
    </message>
    <message>
        <source>Settings not loaded</source>
        <translation>Ajustes no cargados</translation>
    </message>
    <message>
        <source>contains a double quote (&quot;), which settings.ini cannot store</source>
        <translation>contiene una comilla doble (&quot;), que settings.ini no puede guardar</translation>
    </message>
    <message>
        <source>holds more text than settings.ini can keep</source>
        <translation>contiene más texto del que settings.ini puede guardar</translation>
    </message>
    <message>
        <source>The settings were not saved: the box &quot;%1&quot; %2.</source>
        <translation>No se guardaron los ajustes: el campo «%1» %2.</translation>
    </message>
    <message>
        <source>The settings could not be saved to settings.ini: %1</source>
        <translation>No se pudieron guardar los ajustes en settings.ini: %1</translation>
    </message>
    <message>
        <source>Settings Saved!</source>
        <translation>¡Ajustes guardados!</translation>
    </message>
    <message>
        <source>Video files (*.avi *.wmv *.mpg *.mpeg *.mp4 *.ogm)</source>
        <translation>Archivos de vídeo (*.avi *.wmv *.mpg *.mpeg *.mp4 *.ogm)</translation>
    </message>
    <message>
        <source>All videos (*.mkv *.mov *.m4v *.webm *.3gp *.ts *.flv *.avi *.wmv *.mpg *.mpeg *.mp4 *.ogm)</source>
        <translation>Todos los vídeos (*.mkv *.mov *.m4v *.webm *.3gp *.ts *.flv *.avi *.wmv *.mpg *.mpeg *.mp4 *.ogm)</translation>
    </message>
    <message>
        <source>Locate Video File</source>
        <translation>Buscar archivo de vídeo</translation>
    </message>
    <message>
        <source>Save as .mp4</source>
        <translation>Guardar como .mp4</translation>
    </message>
    <message>
        <source>MP4 files (*.mp4)</source>
        <translation>Archivos MP4 (*.mp4)</translation>
    </message>
    <message>
        <source>Locate FFMPEG.EXE</source>
        <translation>Buscar FFMPEG.EXE</translation>
    </message>
    <message>
        <source>The queue is converting. Stop it and quit? The current video is stopped and its partial output removed; the videos not yet converted are kept for the next start.</source>
        <translation>La cola está convirtiendo. ¿Detenerla y salir? El vídeo actual se detiene y se elimina su salida parcial; los vídeos aún no convertidos se conservan para el próximo inicio.</translation>
    </message>
    <message>
        <source>%1 could not be read: %2. This run uses the default values; the file is left as it is.</source>
        <translation>No se pudo leer %1: %2. Esta ejecución usa los valores predeterminados; el archivo se deja como está.</translation>
    </message>
    <message numerus="yes">
        <source>%n video(s) were waiting in the queue.</source>
        <translation>
            <numerusform>%n vídeo esperaba en la cola.</numerusform>
            <numerusform>%n vídeos esperaban en la cola.</numerusform>
        </translation>
    </message>
    <message>
        <source>The form is decided when a command is first written, by asking the encoder</source>
        <translation>La forma se decide al escribir el primer comando, preguntando al codificador</translation>
    </message>
    <message>
        <source>The output file %1 exists already. Replace it?</source>
        <translation>El archivo de salida %1 ya existe. ¿Reemplazarlo?</translation>
    </message>
    <message>
        <source>&amp;Replace</source>
        <translation>&amp;Reemplazar</translation>
    </message>
    <message>
        <source>The manual was not found. It was looked for in:
%1</source>
        <translation>No se encontró el manual. Se buscó en:
%1</translation>
    </message>
    <message>
        <source>Manual</source>
        <translation>Manual</translation>
    </message>
    <message>
        <source>&amp;Manual</source>
        <translation>&amp;Manual</translation>
    </message>
    <message>
        <source>The queue is in use by another window of this program. This window keeps the videos you add in memory and joins them to the saved queue when the other window is closed.</source>
        <translation>La cola está en uso por otra ventana de este programa. Esta ventana guarda en memoria los vídeos que añada y los une a la cola guardada cuando se cierre la otra ventana.</translation>
    </message>
    <message>
        <source>The conversion goes on after the program ends: %1 is still being written.</source>
        <translation>La conversión continúa tras cerrar el programa: %1 todavía se está escribiendo.</translation>
    </message>
    <message>
        <source>This encoder cannot write it: %1</source>
        <translation>Este codificador no puede escribirlo: %1</translation>
    </message>
    <message>
        <source>&amp;Targets...</source>
        <translation>Des&amp;tinos...</translation>
    </message>
    <message>
        <source>Your targets in %1 could not be read: %2.</source>
        <translation>No se pudieron leer sus destinos en %1: %2.</translation>
    </message>
    <message>
        <source>The file could not be set aside as %1 and is left as it is.</source>
        <translation>El archivo no se pudo apartar como %1 y se deja tal como está.</translation>
    </message>
    <message>
        <source>The file was set aside as %1, with all it held.</source>
        <translation>El archivo se apartó como %1, con todo lo que contenía.</translation>
    </message>
    <message>
        <source>This run offers the built-in targets.</source>
        <translation>Esta ejecución ofrece los destinos incorporados.</translation>
    </message>
    <message>
        <source>Targets not loaded</source>
        <translation>Destinos no cargados</translation>
    </message>
    <message>
        <source>Web site</source>
        <translation>Sitio web</translation>
    </message>
    <message>
        <source>&amp;Crop black bars automatically</source>
        <translation>&amp;Recortar las barras negras automáticamente</translation>
    </message>
    <message>
        <source>Looking for black bars...</source>
        <translation>Buscando barras negras...</translation>
    </message>
    <message>
        <source>Black bars found: the picture is %1x%2</source>
        <translation>Barras negras encontradas: la imagen es de %1x%2</translation>
    </message>
    <message>
        <source>No black bars cropped: %1</source>
        <translation>No se recortaron barras negras: %1</translation>
    </message>
    <message>
        <source>&amp;Sound stream</source>
        <translation>Pista de &amp;sonido</translation>
    </message>
    <message>
        <source>&amp;Automatic (the video&apos;s own choice)</source>
        <translation>&amp;Automática (la elección del vídeo)</translation>
    </message>
    <message>
        <source>default</source>
        <translation>predeterminada</translation>
    </message>
    <message numerus="yes">
        <source>%n channel(s)</source>
        <translation>
            <numerusform>%n canal</numerusform>
            <numerusform>%n canales</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>zvm</name>
    <message>
        <source>in the PSP&apos;s own format, which older firmware plays too, from MP_ROOT/100MNV01 as M4Vnnnnn.MP4</source>
        <translation>en el formato propio de la PSP, que también reproduce el firmware antiguo, desde MP_ROOT/100MNV01 como M4Vnnnnn.MP4</translation>
    </message>
    <message>
        <source>plain MP4, which later firmware plays from VIDEO; older firmware wants the PSP&apos;s own format, which Best quality writes</source>
        <translation>MP4 simple, que el firmware posterior reproduce desde VIDEO; el firmware antiguo quiere el formato propio de la PSP, que escribe Mejor calidad</translation>
    </message>
    <message>
        <source>480x272, which firmware 3.30 and later play</source>
        <translation>480x272, que reproduce el firmware 3.30 y posterior</translation>
    </message>
    <message>
        <source>The saved queue could not be read (%1). It is left as it is, and this run keeps no queue.</source>
        <translation>No se pudo leer la cola guardada (%1). Se deja como está, y esta ejecución no guarda ninguna cola.</translation>
    </message>
    <message>
        <source>The saved queue could not be read (%1), and it could not be set aside as %2. It is left as it is, and this run keeps no queue.</source>
        <translation>No se pudo leer la cola guardada (%1), ni apartarla como %2. Se deja como está, y esta ejecución no guarda ninguna cola.</translation>
    </message>
    <message>
        <source>The saved queue could not be read (%1). It was set aside as %2.</source>
        <translation>No se pudo leer la cola guardada (%1). Se apartó como %2.</translation>
    </message>
    <message>
        <source>Best quality needs the modern command form: the classic options cannot ask for it</source>
        <translation>La mejor calidad necesita la forma moderna de la orden: las opciones clásicas no pueden pedirla</translation>
    </message>
    <message>
        <source>the disk is full</source>
        <translation>el disco está lleno</translation>
    </message>
    <message>
        <source>the output's folder is on a read-only disk</source>
        <translation>la carpeta de la salida está en un disco de solo lectura</translation>
    </message>
    <message>
        <source>this user may not write the output there</source>
        <translation>este usuario no puede escribir la salida allí</translation>
    </message>
    <message>
        <source>the target's format needs a sound track</source>
        <translation>el formato del destino necesita una pista de sonido</translation>
    </message>
    <message>
        <source>the bitrate is too low for this encoder</source>
        <translation>la tasa de bits es demasiado baja para este codificador</translation>
    </message>
    <message>
        <source>this ffmpeg lacks an encoder the command needs</source>
        <translation>a este ffmpeg le falta un codificador que la orden necesita</translation>
    </message>
    <message>
        <source>this ffmpeg lacks a filter the command needs</source>
        <translation>a este ffmpeg le falta un filtro que la orden necesita</translation>
    </message>
    <message>
        <source>this ffmpeg cannot write the target's format</source>
        <translation>este ffmpeg no puede escribir el formato del destino</translation>
    </message>
    <message>
        <source>this ffmpeg does not know an option of the command</source>
        <translation>este ffmpeg no conoce una opción de la orden</translation>
    </message>
    <message>
        <source>the output cannot be written in %1</source>
        <translation>la salida no se puede escribir en %1</translation>
    </message>
    <message>
        <source>too little room for the output in %1</source>
        <translation>no hay sitio suficiente para la salida en %1</translation>
    </message>
    <message>
        <source>%1; kept as %2</source>
        <translation>%1; guardado como %2</translation>
    </message>
    <message>
        <source>%1; it could not be named so (%3) and is kept as %2</source>
        <translation>%1; no se pudo dar ese nombre al archivo (%3) y se guarda como %2</translation>
    </message>
    <message>
        <source>the source video %1 was not found</source>
        <translation>no se encontró el vídeo de origen %1</translation>
    </message>
    <message>
        <source>the file has no video stream</source>
        <translation>el archivo no tiene flujo de vídeo</translation>
    </message>
    <message>
        <source>the video stream has no size</source>
        <translation>el flujo de vídeo no tiene tamaño</translation>
    </message>
    <message>
        <source>no video is named</source>
        <translation>no se indicó ningún vídeo</translation>
    </message>
    <message>
        <source>needs an encoder that takes today&apos;s options; this one takes only the classic ones</source>
        <translation>necesita un codificador que acepte las opciones actuales; este solo acepta las clásicas</translation>
    </message>
    <message>
        <source>needs ffmpeg 4.4 or later, which can keep a slower source&apos;s frame rate (-fpsmax)</source>
        <translation>necesita ffmpeg 4.4 o posterior, que puede conservar la frecuencia de imagen de una fuente más lenta (-fpsmax)</translation>
    </message>
    <message>
        <source>needs an ffmpeg with the libx264 H.264 encoder; this one has none</source>
        <translation>necesita un ffmpeg con el codificador H.264 libx264; este no lo tiene</translation>
    </message>
    <message>
        <source>modern form, chosen by you</source>
        <translation>forma moderna, elegida por usted</translation>
    </message>
    <message>
        <source>classic form, chosen by you</source>
        <translation>forma clásica, elegida por usted</translation>
    </message>
    <message>
        <source>modern form, chosen automatically: this ffmpeg rejects the classic options</source>
        <translation>forma moderna, elegida automáticamente: este ffmpeg rechaza las opciones clásicas</translation>
    </message>
    <message>
        <source>classic form, chosen automatically: this ffmpeg accepts the classic options</source>
        <translation>forma clásica, elegida automáticamente: este ffmpeg acepta las opciones clásicas</translation>
    </message>
    <message>
        <source>classic form, as designed: the encoder could not be asked which options it knows</source>
        <translation>forma clásica, como se diseñó: no se pudo preguntar al codificador qué opciones conoce</translation>
    </message>
    <message>
        <source>You must enter a valid filename with extention (eg. movie.avi)</source>
        <translation>Debe introducir un nombre de archivo válido con extensión (p. ej. pelicula.avi)</translation>
    </message>
    <message>
        <source>Enter an input filename!</source>
        <translation>¡Introduzca un nombre de archivo de entrada!</translation>
    </message>
    <message>
        <source>You must enter a valid filename with extension (eg movie.avi)</source>
        <translation>Debe introducir un nombre de archivo válido con extensión (p. ej. pelicula.avi)</translation>
    </message>
    <message>
        <source>Invalid Filename!</source>
        <translation>¡Nombre de archivo no válido!</translation>
    </message>
    <message>
        <source>Where do you want to save this MP4? (eg. c:\movie.mp4)</source>
        <translation>¿Dónde quiere guardar este MP4? (p. ej. c:\pelicula.mp4)</translation>
    </message>
    <message>
        <source>Enter an output filename!</source>
        <translation>¡Introduzca un nombre de archivo de salida!</translation>
    </message>
    <message>
        <source>You must enter a number for the width</source>
        <translation>Debe introducir un número para el ancho</translation>
    </message>
    <message>
        <source>Invalid Width!</source>
        <translation>¡Ancho no válido!</translation>
    </message>
    <message>
        <source>The width must be greater than 0</source>
        <translation>El ancho debe ser mayor que 0</translation>
    </message>
    <message>
        <source>You must enter a number for the height</source>
        <translation>Debe introducir un número para el alto</translation>
    </message>
    <message>
        <source>Invalid Height!</source>
        <translation>¡Alto no válido!</translation>
    </message>
    <message>
        <source>The height must be greater than 0</source>
        <translation>El alto debe ser mayor que 0</translation>
    </message>
    <message>
        <source>You must enter a number for the video bitrate</source>
        <translation>Debe introducir un número para la tasa de bits de vídeo</translation>
    </message>
    <message>
        <source>Invalid Video Bitrate!</source>
        <translation>¡Tasa de bits de vídeo no válida!</translation>
    </message>
    <message>
        <source>You must enter a number for the audio bitrate</source>
        <translation>Debe introducir un número para la tasa de bits de audio</translation>
    </message>
    <message>
        <source>Invalid Audio Bitrate!</source>
        <translation>¡Tasa de bits de audio no válida!</translation>
    </message>
    <message>
        <source>You must enter a number for the samplerate</source>
        <translation>Debe introducir un número para la frecuencia de muestreo</translation>
    </message>
    <message>
        <source>Invalid Samplerate!</source>
        <translation>¡Frecuencia de muestreo no válida!</translation>
    </message>
    <message>
        <source>A filename cannot contain a double quote (&quot;)</source>
        <translation>Un nombre de archivo no puede contener comillas dobles (&quot;)</translation>
    </message>
    <message>
        <source>The video bitrate must be between 1 and 100000 kbit/s, not %1</source>
        <translation>La tasa de bits de vídeo debe estar entre 1 y 100000 kbit/s, no %1</translation>
    </message>
    <message>
        <source>The audio bitrate must be between 1 and 1024 kbit/s, not %1</source>
        <translation>La tasa de bits de audio debe estar entre 1 y 1024 kbit/s, no %1</translation>
    </message>
    <message>
        <source>The sample rate must be between 8000 and 192000 Hz, not %1</source>
        <translation>La frecuencia de muestreo debe estar entre 8000 y 192000 Hz, no %1</translation>
    </message>
    <message>
        <source>The picture would be %1 pixels, too small for an encoder</source>
        <translation>La imagen tendría %1 píxeles, demasiado pequeña para un codificador</translation>
    </message>
    <message>
        <source>Choose a target screen from the list</source>
        <translation>Elija una pantalla de destino de la lista</translation>
    </message>
    <message>
        <source>Invalid Target!</source>
        <translation>¡Destino no válido!</translation>
    </message>
    <message>
        <source>The target %1 needs a frame rate and a pixel aspect above 0</source>
        <translation>El destino %1 necesita una frecuencia de imagen y una proporción del píxel mayores que 0</translation>
    </message>
    <message>
        <source>The target %1 pairs a video and a container no player takes</source>
        <translation>El destino %1 combina un vídeo y un contenedor que ningún reproductor acepta</translation>
    </message>
    <message>
        <source>The target %1 needs even sides from 16 to 4096 pixels</source>
        <translation>El destino %1 necesita lados pares de 16 a 4096 píxeles</translation>
    </message>
    <message>
        <source>The target %1 needs a norm exactly when it is a VCD</source>
        <translation>El destino %1 necesita una norma exactamente cuando es un VCD</translation>
    </message>
    <message>
        <source>The target %1 does not have its norm&apos;s size and frame rate</source>
        <translation>El destino %1 no tiene el tamaño y la frecuencia de imagen de su norma</translation>
    </message>
    <message>
        <source>The target %1 is larger than H.264 level 5.1 carries</source>
        <translation>El destino %1 es mayor de lo que admite el nivel 5.1 de H.264</translation>
    </message>
    <message>
        <source>Invalid Subtitles!</source>
        <translation>¡Subtítulos no válidos!</translation>
    </message>
    <message>
        <source>Burned-in subtitles need the modern command form: the classic options cannot draw them</source>
        <translation>Los subtítulos incrustados necesitan la forma moderna de la orden: las opciones clásicas no pueden dibujarlos</translation>
    </message>
    <message>
        <source>The subtitle file must be named, and its name cannot contain a double quote (&quot;)</source>
        <translation>Hay que nombrar el archivo de subtítulos, y su nombre no puede contener comillas dobles (&quot;)</translation>
    </message>
    <message>
        <source>Choose which subtitle stream of the video to draw</source>
        <translation>Elija qué pista de subtítulos del vídeo se dibuja</translation>
    </message>
    <message>
        <source>The subtitle size must be between 1 and 200 pixels</source>
        <translation>El tamaño de los subtítulos debe estar entre 1 y 200 píxeles</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a time: give seconds (90 or 12.5) or [[H:]MM:]SS[.mmm] (2:05 or 1:02:03.250)</source>
        <translation>&apos;%1&apos; no es un tiempo: indique segundos (90 o 12.5) o [[H:]MM:]SS[.mmm] (2:05 o 1:02:03.250)</translation>
    </message>
    <message>
        <source>A time cannot be negative: %1</source>
        <translation>Un tiempo no puede ser negativo: %1</translation>
    </message>
    <message>
        <source>Minutes and seconds after a colon must be below 60: %1</source>
        <translation>Los minutos y los segundos tras dos puntos deben ser menores que 60: %1</translation>
    </message>
    <message>
        <source>The cut&apos;s times cannot be used: %1</source>
        <translation>Los tiempos del corte no se pueden usar: %1</translation>
    </message>
    <message>
        <source>The cut must end after it starts: %1</source>
        <translation>El corte debe terminar después de empezar: %1</translation>
    </message>
    <message>
        <source>The cut starts after the video&apos;s end: %1</source>
        <translation>El corte empieza después del final del vídeo: %1</translation>
    </message>
    <message>
        <source>The target name &apos;%1&apos; is not one the tool can take: use up to 40 lowercase letters, digits and &apos;-&apos;, with a letter, not starting with &apos;-&apos;</source>
        <translation>El nombre de destino «%1» no es uno que la herramienta acepte: use hasta 40 minúsculas, cifras y «-», con una letra, sin empezar por «-»</translation>
    </message>
    <message>
        <source>The target name %1 is a built-in target&apos;s</source>
        <translation>El nombre de destino %1 es el de un destino incorporado</translation>
    </message>
    <message>
        <source>The target %1 needs a label of one line, at most 80 characters</source>
        <translation>El destino %1 necesita una etiqueta de una línea, de 80 caracteres como máximo</translation>
    </message>
    <message>
        <source>The target %1 needs an audio bitrate from 1 to 1024 kbit/s and a sample rate from 8000 to 192000 Hz, as whole numbers</source>
        <translation>El destino %1 necesita una tasa de bits de audio de 1 a 1024 kbit/s y una frecuencia de muestreo de 8000 a 192000 Hz, como números enteros</translation>
    </message>
    <message>
        <source>The file size must be above 0 MB, not %1</source>
        <translation>El tamaño de archivo debe ser mayor que 0 MB, no %1</translation>
    </message>
    <message>
        <source>A file size cannot be asked for %1: its bitrate is fixed</source>
        <translation>No se puede pedir un tamaño de archivo para %1: su bitrate es fijo</translation>
    </message>
    <message>
        <source>A file size needs the video&apos;s duration, which is not known: %1</source>
        <translation>Un tamaño de archivo necesita la duración del vídeo, que no se conoce: %1</translation>
    </message>
    <message>
        <source>Nothing of the video is kept: %1 s</source>
        <translation>No se conserva nada del vídeo: %1 s</translation>
    </message>
    <message>
        <source>This file size leaves too few bits for a watchable picture; the smallest size that works is %1 MB</source>
        <translation>Este tamaño de archivo deja muy pocos bits para una imagen aceptable; el tamaño más pequeño que sirve es %1 MB</translation>
    </message>
    <message>
        <source>The first pass found this video needs more than this file size holds; the smallest file size that works is %1</source>
        <translation>La primera pasada ha visto que este vídeo necesita más de lo que cabe en este tamaño de archivo; el tamaño de archivo más pequeño que sirve es %1</translation>
    </message>
    <message>
        <source>The first pass found this video needs more than this bitrate; the smallest video bitrate that works is %1 kbit/s</source>
        <translation>La primera pasada ha visto que este vídeo necesita más que este bitrate; el bitrate de vídeo más pequeño que sirve es %1 kbit/s</translation>
    </message>
    <message>
        <source>the file could not be read: %1</source>
        <translation>no se pudo leer el archivo: %1</translation>
    </message>
    <message>
        <source>no frame could be rendered: %1</source>
        <translation>no se pudo generar ningún fotograma: %1</translation>
    </message>
    <message>
        <source>The folder for the passes&apos; logs could not be made: %1</source>
        <translation>No se pudo crear la carpeta de los registros de las pasadas: %1</translation>
    </message>
    <message>
        <source>the media reader did not answer within %1 seconds</source>
        <translation>el lector de medios no respondió en %1 segundos</translation>
    </message>
    <message>
        <source>the media reader %1 was not found</source>
        <translation>no se encontró el lector de medios %1</translation>
    </message>
    <message>
        <source>the media reader %1 could not be started</source>
        <translation>no se pudo iniciar el lector de medios %1</translation>
    </message>
    <message>
        <source>the media reader crashed while reading the file</source>
        <translation>el lector de medios falló al leer el archivo</translation>
    </message>
    <message>
        <source>the media reader ended while reading the file (exit code %1)</source>
        <translation>el lector de medios terminó al leer el archivo (código de salida %1)</translation>
    </message>
    <message>
        <source>the media reader&apos;s message is malformed: %1</source>
        <translation>el mensaje del lector de medios está mal formado: %1</translation>
    </message>
    <message>
        <source>the program&apos;s name is longer than the system allows</source>
        <translation>el nombre del programa es más largo de lo que permite el sistema</translation>
    </message>
    <message>
        <source>no program of that name was found on the search path</source>
        <translation>no se encontró ningún programa con ese nombre en la ruta de búsqueda</translation>
    </message>
    <message>
        <source>it is not an executable program</source>
        <translation>no es un programa ejecutable</translation>
    </message>
    <message>
        <source>no such program was found</source>
        <translation>no se encontró ese programa</translation>
    </message>
    <message>
        <source>the command is empty</source>
        <translation>la orden está vacía</translation>
    </message>
    <message>
        <source>no encoder is named: the box for its location is empty</source>
        <translation>no se indicó ningún codificador: el campo de su ubicación está vacío</translation>
    </message>
    <message>
        <source>Choose Live Action or Animation for this target</source>
        <translation>Elija Imagen real o Animación para este destino</translation>
    </message>
    <message>
        <source>The output file is the source video</source>
        <translation>El archivo de salida es el vídeo de origen</translation>
    </message>
    <message>
        <source>Another video of the queue is written to the same output file</source>
        <translation>Otro vídeo de la cola se escribe en el mismo archivo de salida</translation>
    </message>
    <message>
        <source>The size could not be detected: %1</source>
        <translation>No se pudo detectar el tamaño: %1</translation>
    </message>
    <message>
        <source>the encoder was ended by a signal</source>
        <translation>el codificador terminó por una señal</translation>
    </message>
    <message>
        <source>the encoder ended with exit code %1</source>
        <translation>el codificador terminó con el código de salida %1</translation>
    </message>
    <message>
        <source>the encoder could not be started: %1</source>
        <translation>no se pudo iniciar el codificador: %1</translation>
    </message>
    <message>
        <source>stopped on request; its partial output was removed</source>
        <translation>detenido a petición; se eliminó su salida parcial</translation>
    </message>
    <message>
        <source>its output exists already</source>
        <translation>su salida ya existe</translation>
    </message>
    <message>
        <source>The output file is the source of another video of the queue</source>
        <translation>El archivo de salida es el origen de otro vídeo de la cola</translation>
    </message>
    <message>
        <source>The source video is not there any more: %1</source>
        <translation>El vídeo de origen ya no está: %1</translation>
    </message>
    <message>
        <source>the encoder was ended by a signal; its partial output was removed</source>
        <translation>el codificador terminó por una señal; se eliminó su salida parcial</translation>
    </message>
    <message>
        <source>the encoder ended with exit code %1; its partial output was removed</source>
        <translation>el codificador terminó con el código de salida %1; se eliminó su salida parcial</translation>
    </message>
    <message>
        <source>stopped on request</source>
        <translation>detenido a petición</translation>
    </message>
    <message>
        <source>it is in use by another window; this window keeps its videos in memory until that one closes</source>
        <translation>está en uso por otra ventana; esta ventana guarda sus vídeos en memoria hasta que aquella se cierre</translation>
    </message>
    <message>
        <source>The subtitle file is not there: %1</source>
        <translation>El archivo de subtítulos no está: %1</translation>
    </message>
    <message>
        <source>it is larger than 64 KiB</source>
        <translation>es mayor de 64 KiB</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>no es un archivo normal</translation>
    </message>
    <message>
        <source>it does not hold this program&apos;s settings</source>
        <translation>no contiene los ajustes de este programa</translation>
    </message>
    <message>
        <source>%1 is not a target: a target is a JSON object</source>
        <translation>%1 no es un destino: un destino es un objeto JSON</translation>
    </message>
    <message>
        <source>%1 is not a field of a target</source>
        <translation>%1 no es un campo de un destino</translation>
    </message>
    <message>
        <source>%1 is missing or not of its kind (a text, or a whole number for sizes and rates)</source>
        <translation>%1 falta o no es de su tipo (un texto, o un número entero para tamaños y tasas)</translation>
    </message>
    <message>
        <source>%1 is not a word this program knows there</source>
        <translation>%1 no es una palabra que este programa conozca ahí</translation>
    </message>
    <message>
        <source>Two targets are named %1</source>
        <translation>Dos destinos se llaman %1</translation>
    </message>
    <message>
        <source>it is not JSON: %1</source>
        <translation>no es JSON: %1</translation>
    </message>
    <message>
        <source>it has no list of targets under %1</source>
        <translation>no tiene una lista de destinos bajo %1</translation>
    </message>
    <message>
        <source>The output file is the subtitle file the video is drawn with</source>
        <translation>El archivo de salida es el archivo de subtítulos que se dibuja en el vídeo</translation>
    </message>
    <message>
        <source>The output file is the encoder program</source>
        <translation>El archivo de salida es el programa codificador</translation>
    </message>
    <message>
        <source>The source has no sound: the command adds a silent track, as this target&apos;s file needs one</source>
        <translation>La fuente no tiene sonido: el comando añade una pista silenciosa, porque el archivo de este destino la necesita</translation>
    </message>
    <message>
        <source>The source is film: the command keeps its frame rate, which this target&apos;s player takes</source>
        <translation>La fuente es una película: el comando conserva su velocidad de fotogramas, que el reproductor de este destino acepta</translation>
    </message>
    <message>
        <source>Choosing the sound stream or deinterlacing needs the modern command form</source>
        <translation>Elegir la pista de sonido o desentrelazar necesita la forma moderna del comando</translation>
    </message>
    <message>
        <source>Cropping needs the modern command form: the classic options cannot cut the picture</source>
        <translation>Recortar necesita la forma moderna del comando: las opciones clásicas no pueden recortar la imagen</translation>
    </message>
    <message>
        <source>Invalid Crop!</source>
        <translation>¡Recorte no válido!</translation>
    </message>
    <message>
        <source>Invalid Source Choice!</source>
        <translation>¡Elección de la fuente no válida!</translation>
    </message>
    <message>
        <source>The crop rectangle must lie inside the picture and keep at least 2 by 2 pixels</source>
        <translation>El rectángulo de recorte debe estar dentro de la imagen y conservar al menos 2 por 2 píxeles</translation>
    </message>
    <message>
        <source>The video has no sound stream %1 (counted from 0)</source>
        <translation>El vídeo no tiene la pista de sonido %1 (contando desde 0)</translation>
    </message>
    <message>
        <source>Nintendo DS</source>
        <translation>Nintendo DS</translation>
    </message>
    <message>
        <source>MP4 players (AMV)</source>
        <translation>Reproductores MP4 (AMV)</translation>
    </message>
    <message>
        <source>Microcontroller screens</source>
        <translation>Pantallas de microcontrolador</translation>
    </message>
    <message>
        <source>Baseline H.264</source>
        <translation>H.264 Baseline</translation>
    </message>
    <message>
        <source>Retro handhelds</source>
        <translation>Consolas portátiles retro</translation>
    </message>
    <message>
        <source>The target %1 starts from a built-in target that does not exist</source>
        <translation>El destino %1 parte de un destino incorporado que no existe</translation>
    </message>
    <message>
        <source>The target %1 is AMV: its frame rate must divide 22050 evenly (10, 15, 25, 30)</source>
        <translation>El destino %1 es AMV: su frecuencia de imagen debe dividir 22050 sin resto (10, 15, 25, 30)</translation>
    </message>
    <message>
        <source>The target %1 is raw frames, whose name tells its rate: a whole number of frames a second</source>
        <translation>El destino %1 son fotogramas sin formato, cuyo nombre dice su frecuencia: un número entero de fotogramas por segundo</translation>
    </message>
    <message>
        <source>the DPG file would pass the 4 GB the format can hold: %1 bytes</source>
        <translation>el archivo DPG pasaría de los 4 GB que admite el formato: %1 bytes</translation>
    </message>
    <message>
        <source>the file is no DPG file: its first bytes are not a DPG header</source>
        <translation>el archivo no es un DPG: sus primeros bytes no son una cabecera DPG</translation>
    </message>
    <message>
        <source>the file is a DPG of a version not known: %1</source>
        <translation>el archivo es un DPG de una versión desconocida: %1</translation>
    </message>
    <message>
        <source>the DPG file ends within its header, after %1 bytes</source>
        <translation>el archivo DPG termina dentro de su cabecera, tras %1 bytes</translation>
    </message>
    <message>
        <source>the DPG file is damaged: its header names parts beyond its %1 bytes</source>
        <translation>el archivo DPG está dañado: su cabecera nombra partes más allá de sus %1 bytes</translation>
    </message>
    <message>
        <source>the DPG file is damaged: its header gives no video or no frame rate</source>
        <translation>el archivo DPG está dañado: su cabecera no da vídeo o no da frecuencia de imagen</translation>
    </message>
    <message>
        <source>a stream of the DPG file could not be read: %1</source>
        <translation>no se pudo leer un flujo del archivo DPG: %1</translation>
    </message>
    <message>
        <source>the DPG file&apos;s video stream holds no picture: %1</source>
        <translation>el flujo de vídeo del archivo DPG no contiene ninguna imagen: %1</translation>
    </message>
    <message>
        <source>the DPG file is damaged: its sound stream cannot be read</source>
        <translation>el archivo DPG está dañado: su flujo de sonido no se puede leer</translation>
    </message>
    <message>
        <source>the DPG file is damaged: its video stream cannot be read</source>
        <translation>el archivo DPG está dañado: su flujo de vídeo no se puede leer</translation>
    </message>
    <message>
        <source>the DPG file is damaged: its header and its video disagree on the frame count (%1)</source>
        <translation>el archivo DPG está dañado: la cabecera y el vídeo no coinciden en el número de imágenes (%1)</translation>
    </message>
    <message>
        <source>the DPG file is damaged: its header and its sound disagree on the sample rate (%1)</source>
        <translation>el archivo DPG está dañado: la cabecera y el sonido no coinciden en la frecuencia de muestreo (%1)</translation>
    </message>
    <message>
        <source>the raw frames end within a frame: %1 bytes are not whole frames</source>
        <translation>los fotogramas sin formato terminan a mitad de uno: %1 bytes no son fotogramas enteros</translation>
    </message>
    <message>
        <source>raw frames are read by their name, which must end in their size, rate and byte order, as in %1</source>
        <translation>los fotogramas sin formato se leen por su nombre, que debe terminar en su tamaño, frecuencia y orden de bytes, como en %1</translation>
    </message>
    <message>
        <source>%1 names no built-in target</source>
        <translation>%1 no nombra ningún destino incorporado</translation>
    </message>
</context>
</TS>
