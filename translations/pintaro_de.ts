<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en">
<context>
    <name>Pintaro</name>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Pintaro Random Color</source>
        <translation>Pintaro-Zufallsfarbe</translation>
    </message>
    <message>
        <source>Recent color %d</source>
        <translation>Letzte Farbe %d</translation>
    </message>
    <message>
        <source>Usage:</source>
        <translation>Aufruf:</translation>
    </message>
    <message>
        <source>A finger-painting program for young children.</source>
        <translation>Ein Fingermalprogramm für kleine Kinder.</translation>
    </message>
    <message>
        <source>The screen to paint on: tablet (the default), phone or retina-phone.</source>
        <translation>Der Bildschirm zum Malen: tablet (Standard), phone oder retina-phone.</translation>
    </message>
    <message>
        <source>The language of the texts, e.g. de, en, es or fr (the default is the system&apos;s).</source>
        <translation>Die Sprache der Texte, z. B. de, en, es oder fr (Standard ist die des Systems).</translation>
    </message>
    <message>
        <source>Show this help and quit.</source>
        <translation>Diese Hilfe zeigen und beenden.</translation>
    </message>
    <message>
        <source>Show the version and quit.</source>
        <translation>Die Version zeigen und beenden.</translation>
    </message>
    <message>
        <source>unknown option</source>
        <translation>unbekannte Option</translation>
    </message>
    <message>
        <source>this option needs a value</source>
        <translation>diese Option braucht einen Wert</translation>
    </message>
    <message>
        <source>unknown device (tablet, phone or retina-phone)</source>
        <translation>unbekanntes Gerät (tablet, phone oder retina-phone)</translation>
    </message>
    <message>
        <source>no such language</source>
        <translation>diese Sprache gibt es nicht</translation>
    </message>
    <message>
        <source>unexpected argument</source>
        <translation>unerwartetes Argument</translation>
    </message>
    <message>
        <source>Try &quot;%1 --help&quot; for more.</source>
        <translation>Mehr mit „%1 --help“.</translation>
    </message>
    <message>
        <source>New painting, mirrored left and right</source>
        <translation>Neues Bild, links und rechts gespiegelt</translation>
    </message>
    <message>
        <source>New painting, mirrored top and bottom</source>
        <translation>Neues Bild, oben und unten gespiegelt</translation>
    </message>
    <message>
        <source>New painting, turned five times</source>
        <translation>Neues Bild, fünfmal gedreht</translation>
    </message>
    <message>
        <source>New painting, mirrored %d times</source>
        <translation>Neues Bild, %d-mal gespiegelt</translation>
    </message>
    <message>
        <source>Painting</source>
        <translation>Bild</translation>
    </message>
    <message>
        <source>Replay progress</source>
        <translation>Fortschritt der Wiedergabe</translation>
    </message>
    <message>
        <source>Replay speed</source>
        <translation>Tempo der Wiedergabe</translation>
    </message>
    <message>
        <source>Painting has not been saved. Do you want to save or discard it?</source>
        <translation>Das Bild ist noch nicht gespeichert. Möchtest du es speichern oder wegwerfen?</translation>
    </message>
    <message>
        <source>Save Painting</source>
        <translation>Bild speichern</translation>
    </message>
    <message>
        <source>Discard Painting</source>
        <translation>Bild wegwerfen</translation>
    </message>
    <message>
        <source>Painting could not be saved</source>
        <translation>Das Bild konnte nicht gespeichert werden</translation>
    </message>
    <message>
        <source>There may be no room left. Your painting is still here.</source>
        <translation>Vielleicht ist kein Platz mehr frei. Dein Bild ist noch da.</translation>
    </message>
    <message>
        <source>Error accessing media</source>
        <translation>Kein Zugriff auf die Bilder</translation>
    </message>
    <message>
        <source>Device doesn’t support that media source.</source>
        <translation>Dieses Gerät hat diese Bilderquelle nicht.</translation>
    </message>
    <message>
        <source>Drat!</source>
        <translation>Schade!</translation>
    </message>
    <message>
        <source>This picture could not be opened</source>
        <translation>Dieses Foto lässt sich nicht öffnen</translation>
    </message>
    <message>
        <source>Please choose another one.</source>
        <translation>Bitte wähle ein anderes.</translation>
    </message>
    <message>
        <source>Home</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>If you enjoy this game, please help rate. Thanks :)</source>
        <translation>Wenn dir das Spiel gefällt, bewerte es bitte. Danke :)</translation>
    </message>
    <message>
        <source>Rate</source>
        <translation>Bewerten</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Weitermalen</translation>
    </message>
    <message>
        <source>Delete Painting</source>
        <translation>Bild löschen</translation>
    </message>
    <message>
        <source>Save Movie to Album</source>
        <translation>Film ins Album</translation>
    </message>
    <message>
        <source>Save Picture to Album</source>
        <translation>Bild ins Album</translation>
    </message>
    <message>
        <source>Painting Unavailable</source>
        <translation>Bild nicht verfügbar</translation>
    </message>
    <message>
        <source>This painting could not be opened. Its file may be damaged.</source>
        <translation>Dieses Bild lässt sich nicht öffnen. Vielleicht ist die Datei kaputt.</translation>
    </message>
    <message>
        <source>New Painting</source>
        <translation>Neues Bild</translation>
    </message>
    <message>
        <source>Gallery</source>
        <translation>Galerie</translation>
    </message>
    <message>
        <source>%d paintings</source>
        <translation>%d Bilder</translation>
    </message>
    <message>
        <source>Turn Left</source>
        <translation>Nach links drehen</translation>
    </message>
    <message>
        <source>Turn Right</source>
        <translation>Nach rechts drehen</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Fertig</translation>
    </message>
    <message>
        <source>Movie Export</source>
        <translation>Film</translation>
    </message>
    <message>
        <source>Painting Orientation</source>
        <translation>Bildausrichtung</translation>
    </message>
    <message>
        <source>Create Movie</source>
        <translation>Film erstellen</translation>
    </message>
    <message>
        <source>Movie has been saved to Photo Album.</source>
        <translation>Der Film ist im Fotoalbum.</translation>
    </message>
    <message>
        <source>Fail to create movie. Ensure not to close the app when encoding is in progress.</source>
        <translation>Der Film konnte nicht erstellt werden. Bitte schließe das Programm nicht, während der Film entsteht.</translation>
    </message>
    <message>
        <source>Stop the movie?</source>
        <translation>Film abbrechen?</translation>
    </message>
    <message>
        <source>The movie is not finished yet. Closing now stops it, and no movie is saved.</source>
        <translation>Der Film ist noch nicht fertig. Wenn du jetzt schließt, wird er abgebrochen und nicht gespeichert.</translation>
    </message>
    <message>
        <source>Keep Going</source>
        <translation>Weitermachen</translation>
    </message>
    <message>
        <source>Stop and Close</source>
        <translation>Abbrechen und schließen</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Zurück</translation>
    </message>
    <message>
        <source>Choose a picture</source>
        <translation>Wähle ein Foto</translation>
    </message>
    <message>
        <source>Pictures</source>
        <translation>Bilder</translation>
    </message>
    <message>
        <source>New painting</source>
        <translation>Neues Bild</translation>
    </message>
    <message>
        <source>New painting on a photo</source>
        <translation>Neues Bild auf einem Foto</translation>
    </message>
    <message>
        <source>Go to the gallery</source>
        <translation>Zur Galerie</translation>
    </message>
    <message>
        <source>More</source>
        <translation>Mehr</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Eraser</source>
        <translation>Radiergummi</translation>
    </message>
    <message>
        <source>Next brush</source>
        <translation>Nächster Pinsel</translation>
    </message>
    <message>
        <source>Brush colour</source>
        <translation>Pinselfarbe</translation>
    </message>
    <message>
        <source>Replay the painting</source>
        <translation>Bild nochmal abspielen</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Abspielen</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Stop the replay</source>
        <translation>Wiedergabe beenden</translation>
    </message>
    <message>
        <source>Slower</source>
        <translation>Langsamer</translation>
    </message>
    <message>
        <source>Faster</source>
        <translation>Schneller</translation>
    </message>
    <message>
        <source>More apps</source>
        <translation>Mehr Apps</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stopp</translation>
    </message>
    <message>
        <source>Canvas</source>
        <translation>Malfläche</translation>
    </message>
    <message>
        <source>Choices</source>
        <translation>Auswahl</translation>
    </message>
    <message>
        <source>The picture is in the photo album.</source>
        <translation>Das Bild ist im Fotoalbum.</translation>
    </message>
    <message>
        <source>Picture could not be saved</source>
        <translation>Das Bild konnte nicht gespeichert werden</translation>
    </message>
    <message>
        <source>Saving</source>
        <translation>Wird gespeichert</translation>
    </message>
    <message>
        <source>Bring your painting back?</source>
        <translation>Dein Bild zurückholen?</translation>
    </message>
    <message>
        <source>Pintaro closed before your painting was saved. You can go on with it where you left off.</source>
        <translation>Pintaro wurde beendet, bevor dein Bild gespeichert war. Du kannst dort weitermalen, wo du aufgehört hast.</translation>
    </message>
    <message>
        <source>Discard</source>
        <translation>Wegwerfen</translation>
    </message>
    <message>
        <source>Restore</source>
        <translation>Zurückholen</translation>
    </message>
    <message>
        <source>Painting %d</source>
        <translation>Bild %d</translation>
    </message>
    <message>
        <source>The painting could not be deleted.</source>
        <translation>Das Bild konnte nicht gelöscht werden.</translation>
    </message>
</context>
</TS>
