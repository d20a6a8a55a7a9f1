<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en">
<context>
    <name>Pintaro</name>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pintaro Random Color</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recent color %d</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Usage:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A finger-painting program for young children.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The screen to paint on: tablet (the default), phone or retina-phone.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The language of the texts, e.g. de, en, es or fr (the default is the system&apos;s).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show this help and quit.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show the version and quit.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unknown option</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>this option needs a value</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unknown device (tablet, phone or retina-phone)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no such language</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unexpected argument</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Try &quot;%1 --help&quot; for more.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New painting, mirrored left and right</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New painting, mirrored top and bottom</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New painting, turned five times</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New painting, mirrored %d times</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Painting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Replay progress</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Replay speed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Painting has not been saved. Do you want to save or discard it?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Painting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Discard Painting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Painting could not be saved</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There may be no room left. Your painting is still here.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error accessing media</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Device doesn’t support that media source.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drat!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This picture could not be opened</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please choose another one.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Home</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>If you enjoy this game, please help rate. Thanks :)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Edit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete Painting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Movie to Album</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Picture to Album</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Painting Unavailable</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This painting could not be opened. Its file may be damaged.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New Painting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gallery</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%d paintings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Turn Left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Turn Right</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Done</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Movie Export</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Painting Orientation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Create Movie</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Movie has been saved to Photo Album.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fail to create movie. Ensure not to close the app when encoding is in progress.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop the movie?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The movie is not finished yet. Closing now stops it, and no movie is saved.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep Going</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop and Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Back</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose a picture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pictures</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New painting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New painting on a photo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Go to the gallery</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>More</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Undo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Eraser</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next brush</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Brush colour</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Replay the painting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Play</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pause</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop the replay</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Slower</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Faster</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>More apps</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
