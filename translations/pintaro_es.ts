<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es_ES" sourcelanguage="en">
<context>
    <name>Pintaro</name>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Pintaro Random Color</source>
        <translation>Color sorpresa de Pintaro</translation>
    </message>
    <message>
        <source>Recent color %d</source>
        <translation>Color reciente %d</translation>
    </message>
    <message>
        <source>Usage:</source>
        <translation>Uso:</translation>
    </message>
    <message>
        <source>A finger-painting program for young children.</source>
        <translation>Un programa para pintar con el dedo para niños pequeños.</translation>
    </message>
    <message>
        <source>The screen to paint on: tablet (the default), phone or retina-phone.</source>
        <translation>La pantalla en la que pintar: tablet (predeterminada), phone o retina-phone.</translation>
    </message>
    <message>
        <source>The language of the texts, e.g. de, en, es or fr (the default is the system&apos;s).</source>
        <translation>El idioma de los textos, p. ej. de, en, es o fr (por defecto, el del sistema).</translation>
    </message>
    <message>
        <source>Show this help and quit.</source>
        <translation>Mostrar esta ayuda y salir.</translation>
    </message>
    <message>
        <source>Show the version and quit.</source>
        <translation>Mostrar la versión y salir.</translation>
    </message>
    <message>
        <source>unknown option</source>
        <translation>opción desconocida</translation>
    </message>
    <message>
        <source>this option needs a value</source>
        <translation>esta opción necesita un valor</translation>
    </message>
    <message>
        <source>unknown device (tablet, phone or retina-phone)</source>
        <translation>dispositivo desconocido (tablet, phone o retina-phone)</translation>
    </message>
    <message>
        <source>no such language</source>
        <translation>idioma no disponible</translation>
    </message>
    <message>
        <source>unexpected argument</source>
        <translation>argumento inesperado</translation>
    </message>
    <message>
        <source>Try &quot;%1 --help&quot; for more.</source>
        <translation>Más información con «%1 --help».</translation>
    </message>
    <message>
        <source>New painting, mirrored left and right</source>
        <translation>Dibujo nuevo, con espejo izquierda y derecha</translation>
    </message>
    <message>
        <source>New painting, mirrored top and bottom</source>
        <translation>Dibujo nuevo, con espejo arriba y abajo</translation>
    </message>
    <message>
        <source>New painting, turned five times</source>
        <translation>Dibujo nuevo, girado cinco veces</translation>
    </message>
    <message>
        <source>New painting, mirrored %d times</source>
        <translation>Dibujo nuevo, con espejo %d veces</translation>
    </message>
    <message>
        <source>Painting</source>
        <translation>Dibujo</translation>
    </message>
    <message>
        <source>Replay progress</source>
        <translation>Progreso de la repetición</translation>
    </message>
    <message>
        <source>Replay speed</source>
        <translation>Velocidad de la repetición</translation>
    </message>
    <message>
        <source>Painting has not been saved. Do you want to save or discard it?</source>
        <translation>El dibujo aún no está guardado. ¿Quieres guardarlo o tirarlo?</translation>
    </message>
    <message>
        <source>Save Painting</source>
        <translation>Guardar dibujo</translation>
    </message>
    <message>
        <source>Discard Painting</source>
        <translation>Tirar dibujo</translation>
    </message>
    <message>
        <source>Painting could not be saved</source>
        <translation>No se pudo guardar el dibujo</translation>
    </message>
    <message>
        <source>There may be no room left. Your painting is still here.</source>
        <translation>Puede que no quede espacio. Tu dibujo sigue aquí.</translation>
    </message>
    <message>
        <source>Error accessing media</source>
        <translation>No se puede abrir las imágenes</translation>
    </message>
    <message>
        <source>Device doesn’t support that media source.</source>
        <translation>Este dispositivo no tiene esa fuente de imágenes.</translation>
    </message>
    <message>
        <source>Drat!</source>
        <translation>¡Vaya!</translation>
    </message>
    <message>
        <source>This picture could not be opened</source>
        <translation>No se puede abrir esta foto</translation>
    </message>
    <message>
        <source>Please choose another one.</source>
        <translation>Elige otra, por favor.</translation>
    </message>
    <message>
        <source>Home</source>
        <translation>Inicio</translation>
    </message>
    <message>
        <source>If you enjoy this game, please help rate. Thanks :)</source>
        <translation>Si te gusta este juego, ayúdanos valorándolo. ¡Gracias! :)</translation>
    </message>
    <message>
        <source>Rate</source>
        <translation>Valorar</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Editar</translation>
    </message>
    <message>
        <source>Delete Painting</source>
        <translation>Borrar dibujo</translation>
    </message>
    <message>
        <source>Save Movie to Album</source>
        <translation>Película al álbum</translation>
    </message>
    <message>
        <source>Save Picture to Album</source>
        <translation>Imagen al álbum</translation>
    </message>
    <message>
        <source>Painting Unavailable</source>
        <translation>Dibujo no disponible</translation>
    </message>
    <message>
        <source>This painting could not be opened. Its file may be damaged.</source>
        <translation>No se puede abrir este dibujo. Puede que su archivo esté dañado.</translation>
    </message>
    <message>
        <source>New Painting</source>
        <translation>Dibujo nuevo</translation>
    </message>
    <message>
        <source>Gallery</source>
        <translation>Galería</translation>
    </message>
    <message>
        <source>%d paintings</source>
        <translation>%d dibujos</translation>
    </message>
    <message>
        <source>Turn Left</source>
        <translation>Girar a la izquierda</translation>
    </message>
    <message>
        <source>Turn Right</source>
        <translation>Girar a la derecha</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Listo</translation>
    </message>
    <message>
        <source>Movie Export</source>
        <translation>Película</translation>
    </message>
    <message>
        <source>Painting Orientation</source>
        <translation>Orientación del dibujo</translation>
    </message>
    <message>
        <source>Create Movie</source>
        <translation>Crear película</translation>
    </message>
    <message>
        <source>Movie has been saved to Photo Album.</source>
        <translation>La película está en el álbum de fotos.</translation>
    </message>
    <message>
        <source>Fail to create movie. Ensure not to close the app when encoding is in progress.</source>
        <translation>No se pudo crear la película. No cierres el programa mientras se crea la película.</translation>
    </message>
    <message>
        <source>Stop the movie?</source>
        <translation>¿Parar la película?</translation>
    </message>
    <message>
        <source>The movie is not finished yet. Closing now stops it, and no movie is saved.</source>
        <translation>La película aún no está terminada. Si cierras ahora, se para y no se guarda.</translation>
    </message>
    <message>
        <source>Keep Going</source>
        <translation>Seguir</translation>
    </message>
    <message>
        <source>Stop and Close</source>
        <translation>Parar y cerrar</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Atrás</translation>
    </message>
    <message>
        <source>Choose a picture</source>
        <translation>Elige una foto</translation>
    </message>
    <message>
        <source>Pictures</source>
        <translation>Imágenes</translation>
    </message>
    <message>
        <source>New painting</source>
        <translation>Dibujo nuevo</translation>
    </message>
    <message>
        <source>New painting on a photo</source>
        <translation>Dibujo nuevo sobre una foto</translation>
    </message>
    <message>
        <source>Go to the gallery</source>
        <translation>Ir a la galería</translation>
    </message>
    <message>
        <source>More</source>
        <translation>Más</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Deshacer</translation>
    </message>
    <message>
        <source>Eraser</source>
        <translation>Goma</translation>
    </message>
    <message>
        <source>Next brush</source>
        <translation>Siguiente pincel</translation>
    </message>
    <message>
        <source>Brush colour</source>
        <translation>Color del pincel</translation>
    </message>
    <message>
        <source>Replay the painting</source>
        <translation>Repetir el dibujo</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Reproducir</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pausa</translation>
    </message>
    <message>
        <source>Stop the replay</source>
        <translation>Parar la repetición</translation>
    </message>
    <message>
        <source>Slower</source>
        <translation>Más despacio</translation>
    </message>
    <message>
        <source>Faster</source>
        <translation>Más rápido</translation>
    </message>
    <message>
        <source>More apps</source>
        <translation>Más apps</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Parar</translation>
    </message>
    <message>
        <source>Canvas</source>
        <translation>Lienzo</translation>
    </message>
    <message>
        <source>Choices</source>
        <translation>Opciones</translation>
    </message>
    <message>
        <source>The picture is in the photo album.</source>
        <translation>La imagen está en el álbum de fotos.</translation>
    </message>
    <message>
        <source>Picture could not be saved</source>
        <translation>No se pudo guardar la imagen</translation>
    </message>
    <message>
        <source>Saving</source>
        <translation>Guardando</translation>
    </message>
    <message>
        <source>Bring your painting back?</source>
        <translation>¿Recuperar tu dibujo?</translation>
    </message>
    <message>
        <source>Pintaro closed before your painting was saved. You can go on with it where you left off.</source>
        <translation>Pintaro se cerró antes de guardar tu dibujo. Puedes seguir donde lo dejaste.</translation>
    </message>
    <message>
        <source>Discard</source>
        <translation>Tirar</translation>
    </message>
    <message>
        <source>Restore</source>
        <translation>Recuperar</translation>
    </message>
    <message>
        <source>Painting %d</source>
        <translation>Dibujo %d</translation>
    </message>
    <message>
        <source>The painting could not be deleted.</source>
        <translation>No se pudo borrar el dibujo.</translation>
    </message>
</context>
</TS>
