<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR" sourcelanguage="en">
<context>
    <name>Pintaro</name>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Pintaro Random Color</source>
        <translation>Couleur surprise Pintaro</translation>
    </message>
    <message>
        <source>Recent color %d</source>
        <translation>Couleur récente %d</translation>
    </message>
    <message>
        <source>Usage:</source>
        <translation>Utilisation :</translation>
    </message>
    <message>
        <source>A finger-painting program for young children.</source>
        <translation>Un programme de peinture au doigt pour les petits enfants.</translation>
    </message>
    <message>
        <source>The screen to paint on: tablet (the default), phone or retina-phone.</source>
        <translation>L’écran sur lequel peindre : tablet (par défaut), phone ou retina-phone.</translation>
    </message>
    <message>
        <source>The language of the texts, e.g. de, en, es or fr (the default is the system&apos;s).</source>
        <translation>La langue des textes, par ex. de, en, es ou fr (par défaut celle du système).</translation>
    </message>
    <message>
        <source>Show this help and quit.</source>
        <translation>Afficher cette aide et quitter.</translation>
    </message>
    <message>
        <source>Show the version and quit.</source>
        <translation>Afficher la version et quitter.</translation>
    </message>
    <message>
        <source>unknown option</source>
        <translation>option inconnue</translation>
    </message>
    <message>
        <source>this option needs a value</source>
        <translation>cette option demande une valeur</translation>
    </message>
    <message>
        <source>unknown device (tablet, phone or retina-phone)</source>
        <translation>appareil inconnu (tablet, phone ou retina-phone)</translation>
    </message>
    <message>
        <source>no such language</source>
        <translation>langue non disponible</translation>
    </message>
    <message>
        <source>unexpected argument</source>
        <translation>argument inattendu</translation>
    </message>
    <message>
        <source>Try &quot;%1 --help&quot; for more.</source>
        <translation>Plus d’infos avec « %1 --help ».</translation>
    </message>
    <message>
        <source>New painting, mirrored left and right</source>
        <translation>Nouveau dessin, en miroir gauche-droite</translation>
    </message>
    <message>
        <source>New painting, mirrored top and bottom</source>
        <translation>Nouveau dessin, en miroir haut-bas</translation>
    </message>
    <message>
        <source>New painting, turned five times</source>
        <translation>Nouveau dessin, tourné cinq fois</translation>
    </message>
    <message>
        <source>New painting, mirrored %d times</source>
        <translation>Nouveau dessin, en miroir %d fois</translation>
    </message>
    <message>
        <source>Painting</source>
        <translation>Dessin</translation>
    </message>
    <message>
        <source>Replay progress</source>
        <translation>Avancement de la relecture</translation>
    </message>
    <message>
        <source>Replay speed</source>
        <translation>Vitesse de la relecture</translation>
    </message>
    <message>
        <source>Painting has not been saved. Do you want to save or discard it?</source>
        <translation>Le dessin n’est pas encore enregistré. Veux-tu le garder ou le jeter ?</translation>
    </message>
    <message>
        <source>Save Painting</source>
        <translation>Garder le dessin</translation>
    </message>
    <message>
        <source>Discard Painting</source>
        <translation>Jeter le dessin</translation>
    </message>
    <message>
        <source>Painting could not be saved</source>
        <translation>Impossible d’enregistrer le dessin</translation>
    </message>
    <message>
        <source>There may be no room left. Your painting is still here.</source>
        <translation>Il n’y a peut-être plus de place. Ton dessin est toujours là.</translation>
    </message>
    <message>
        <source>Error accessing media</source>
        <translation>Impossible d’ouvrir les images</translation>
    </message>
    <message>
        <source>Device doesn’t support that media source.</source>
        <translation>Cet appareil n’a pas cette source d’images.</translation>
    </message>
    <message>
        <source>Drat!</source>
        <translation>Zut !</translation>
    </message>
    <message>
        <source>This picture could not be opened</source>
        <translation>Impossible d’ouvrir cette photo</translation>
    </message>
    <message>
        <source>Please choose another one.</source>
        <translation>Choisis-en une autre, s’il te plaît.</translation>
    </message>
    <message>
        <source>Home</source>
        <translation>Accueil</translation>
    </message>
    <message>
        <source>If you enjoy this game, please help rate. Thanks :)</source>
        <translation>Si ce jeu te plaît, aide-nous en le notant. Merci :)</translation>
    </message>
    <message>
        <source>Rate</source>
        <translation>Noter</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Modifier</translation>
    </message>
    <message>
        <source>Delete Painting</source>
        <translation>Effacer le dessin</translation>
    </message>
    <message>
        <source>Save Movie to Album</source>
        <translation>Film dans l’album</translation>
    </message>
    <message>
        <source>Save Picture to Album</source>
        <translation>Image dans l’album</translation>
    </message>
    <message>
        <source>Painting Unavailable</source>
        <translation>Dessin indisponible</translation>
    </message>
    <message>
        <source>This painting could not be opened. Its file may be damaged.</source>
        <translation>Impossible d’ouvrir ce dessin. Son fichier est peut-être abîmé.</translation>
    </message>
    <message>
        <source>New Painting</source>
        <translation>Nouveau dessin</translation>
    </message>
    <message>
        <source>Gallery</source>
        <translation>Galerie</translation>
    </message>
    <message>
        <source>%d paintings</source>
        <translation>%d dessins</translation>
    </message>
    <message>
        <source>Turn Left</source>
        <translation>Tourner à gauche</translation>
    </message>
    <message>
        <source>Turn Right</source>
        <translation>Tourner à droite</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Terminé</translation>
    </message>
    <message>
        <source>Movie Export</source>
        <translation>Film</translation>
    </message>
    <message>
        <source>Painting Orientation</source>
        <translation>Orientation du dessin</translation>
    </message>
    <message>
        <source>Create Movie</source>
        <translation>Créer le film</translation>
    </message>
    <message>
        <source>Movie has been saved to Photo Album.</source>
        <translation>Le film est dans l’album photo.</translation>
    </message>
    <message>
        <source>Fail to create movie. Ensure not to close the app when encoding is in progress.</source>
        <translation>Impossible de créer le film. Ne ferme pas le programme pendant que le film se fabrique.</translation>
    </message>
    <message>
        <source>Stop the movie?</source>
        <translation>Arrêter le film ?</translation>
    </message>
    <message>
        <source>The movie is not finished yet. Closing now stops it, and no movie is saved.</source>
        <translation>Le film n’est pas encore fini. Si tu fermes maintenant, il s’arrête et n’est pas enregistré.</translation>
    </message>
    <message>
        <source>Keep Going</source>
        <translation>Continuer</translation>
    </message>
    <message>
        <source>Stop and Close</source>
        <translation>Arrêter et fermer</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Retour</translation>
    </message>
    <message>
        <source>Choose a picture</source>
        <translation>Choisis une photo</translation>
    </message>
    <message>
        <source>Pictures</source>
        <translation>Images</translation>
    </message>
    <message>
        <source>New painting</source>
        <translation>Nouveau dessin</translation>
    </message>
    <message>
        <source>New painting on a photo</source>
        <translation>Nouveau dessin sur une photo</translation>
    </message>
    <message>
        <source>Go to the gallery</source>
        <translation>Aller à la galerie</translation>
    </message>
    <message>
        <source>More</source>
        <translation>Plus</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Annuler le trait</translation>
    </message>
    <message>
        <source>Eraser</source>
        <translation>Gomme</translation>
    </message>
    <message>
        <source>Next brush</source>
        <translation>Pinceau suivant</translation>
    </message>
    <message>
        <source>Brush colour</source>
        <translation>Couleur du pinceau</translation>
    </message>
    <message>
        <source>Replay the painting</source>
        <translation>Revoir le dessin</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Lire</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Stop the replay</source>
        <translation>Arrêter la relecture</translation>
    </message>
    <message>
        <source>Slower</source>
        <translation>Plus lent</translation>
    </message>
    <message>
        <source>Faster</source>
        <translation>Plus vite</translation>
    </message>
    <message>
        <source>More apps</source>
        <translation>Plus d’applis</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Arrêter</translation>
    </message>
    <message>
        <source>Canvas</source>
        <translation>Toile</translation>
    </message>
    <message>
        <source>Choices</source>
        <translation>Choix</translation>
    </message>
    <message>
        <source>The picture is in the photo album.</source>
        <translation>L’image est dans l’album photo.</translation>
    </message>
    <message>
        <source>Picture could not be saved</source>
        <translation>Impossible d’enregistrer l’image</translation>
    </message>
    <message>
        <source>Saving</source>
        <translation>Enregistrement</translation>
    </message>
    <message>
        <source>Bring your painting back?</source>
        <translation>Récupérer ton dessin ?</translation>
    </message>
    <message>
        <source>Pintaro closed before your painting was saved. You can go on with it where you left off.</source>
        <translation>Pintaro s’est fermé avant que ton dessin soit enregistré. Tu peux le continuer là où tu t’es arrêté.</translation>
    </message>
    <message>
        <source>Discard</source>
        <translation>Jeter</translation>
    </message>
    <message>
        <source>Restore</source>
        <translation>Récupérer</translation>
    </message>
    <message>
        <source>Painting %d</source>
        <translation>Dessin %d</translation>
    </message>
    <message>
        <source>The painting could not be deleted.</source>
        <translation>Le dessin n'a pas pu être effacé.</translation>
    </message>
</context>
</TS>
