<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>AppDelegate</name>
    <message>
        <source>Quit Traymate</source>
        <translation>Quitter Traymate</translation>
    </message>
    <message>
        <source>Traymate Settings</source>
        <translation>Paramètres de Traymate</translation>
    </message>
</context>
<context>
    <name>CompactPanel</name>
    <message>
        <source>All groups</source>
        <translation>Tous les groupes</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Empty group</source>
        <translation>Groupe vide</translation>
    </message>
</context>
<context>
    <name>EditActions</name>
    <message>
        <source>Undo</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Rétablir</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Couper</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Copier</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Coller</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Tout sélectionner</translation>
    </message>
</context>
<context>
    <name>FullPanel</name>
    <message>
        <source>Keep open</source>
        <translation>Garder ouvert</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Paramètres</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Rechercher</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Ajouter</translation>
    </message>
    <message>
        <source>Import Dock</source>
        <translation>Importer le dock</translation>
    </message>
    <message>
        <source>New Group</source>
        <translation>Nouveau</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Quitter</translation>
    </message>
    <message>
        <source>Drop apps, files or folders here</source>
        <translation>Déposez ici des applications, des fichiers ou des dossiers</translation>
    </message>
</context>
<context>
    <name>GroupActions</name>
    <message>
        <source>Rename group</source>
        <translation>Renommer le groupe</translation>
    </message>
    <message>
        <source>Delete the group %1?</source>
        <translation>Supprimer le groupe %1&#xa0;?</translation>
    </message>
    <message>
        <source>Choose an image for %1</source>
        <translation>Choisir une image pour %1</translation>
    </message>
    <message>
        <source>New group name</source>
        <translation>Nom du nouveau groupe</translation>
    </message>
</context>
<context>
    <name>HotKey</name>
    <message>
        <source>Ctrl+Alt+Space</source>
        <translation>Ctrl+Alt+Espace</translation>
    </message>
    <message>
        <source>Ctrl+Space</source>
        <translation>Ctrl+Espace</translation>
    </message>
    <message>
        <source>Alt+Space</source>
        <translation>Alt+Espace</translation>
    </message>
    <message>
        <source>Ctrl+Alt+D</source>
        <translation>Ctrl+Alt+D</translation>
    </message>
    <message>
        <source>Super+Alt+D</source>
        <translation>Super+Alt+D</translation>
    </message>
</context>
<context>
    <name>PanelView</name>
    <message>
        <source>Rename</source>
        <translation>Renommer</translation>
    </message>
    <message>
        <source>Set icon...</source>
        <translation>Définir l’icône…</translation>
    </message>
    <message>
        <source>Reset icon</source>
        <translation>Réinitialiser l’icône</translation>
    </message>
    <message>
        <source>Create Dock icon</source>
        <translation>Créer une icône dans le dock</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Supprimer</translation>
    </message>
    <message>
        <source>Remove from group</source>
        <translation>Retirer du groupe</translation>
    </message>
    <message>
        <source>Show in Folder</source>
        <translation>Afficher dans le dossier</translation>
    </message>
</context>
<context>
    <name>PortalGlobalShortcut</name>
    <message>
        <source>Show or hide the Traymate panel</source>
        <translation>Afficher ou masquer le panneau de Traymate</translation>
    </message>
</context>
<context>
    <name>Prompts</name>
    <message>
        <source>OK</source>
        <translation>Valider</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Supprimer</translation>
    </message>
</context>
<context>
    <name>QFileDialog</name>
    <message>
        <source>Images (%1)</source>
        <translation>Images (%1)</translation>
    </message>
</context>
<context>
    <name>SaveProblemLine</name>
    <message>
        <source>Groups not saved: %1</source>
        <translation>Groupes non enregistrés : %1</translation>
    </message>
</context>
<context>
    <name>SettingsView</name>
    <message>
        <source>General</source>
        <translation>Général</translation>
    </message>
    <message>
        <source>About</source>
        <translation>À propos</translation>
    </message>
    <message>
        <source>Launch at login</source>
        <translation>Lancer à l’ouverture de session</translation>
    </message>
    <message>
        <source>Hotkey</source>
        <translation>Raccourci clavier</translation>
    </message>
    <message>
        <source>The desktop does not let Traymate set a global key; bind a shortcut to: traymate --toggle</source>
        <translation>Le bureau ne permet pas à Traymate de définir un raccourci global&#xa0;; associez un raccourci à&#xa0;: traymate --toggle</translation>
    </message>
    <message>
        <source>Bottom center</source>
        <translation>En bas au centre</translation>
    </message>
    <message>
        <source>At mouse</source>
        <translation>Sous la souris</translation>
    </message>
    <message>
        <source>Open panel</source>
        <translation>Ouvrir le panneau</translation>
    </message>
    <message>
        <source>Close after launching</source>
        <translation>Fermer après le lancement</translation>
    </message>
    <message>
        <source>Check for updates</source>
        <translation>Rechercher des mises à jour</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>Télécharger</translation>
    </message>
    <message>
        <source>Could not change the autostart entry. Check that ~/.config/autostart can be written and try again.</source>
        <translation>Impossible de modifier l’entrée de démarrage automatique. Vérifiez que ~/.config/autostart est accessible en écriture et réessayez.</translation>
    </message>
    <message>
        <source>The desktop refused %1: another program (often an input method or the window manager) uses it. Choose another key.</source>
        <translation>Le bureau a refusé %1 : un autre programme (souvent une méthode de saisie ou le gestionnaire de fenêtres) l’utilise. Choisissez une autre touche.</translation>
    </message>
</context>
<context>
    <name>Store</name>
    <message>
        <source>the unreadable groups file could not be moved aside (%1)</source>
        <translation>le fichier de groupes illisible n’a pas pu être déplacé (%1)</translation>
    </message>
    <message>
        <source>the groups file could not be read</source>
        <translation>le fichier de groupes n’a pas pu être lu</translation>
    </message>
    <message>
        <source>the unreadable groups file could not be set aside (%1)</source>
        <translation>le fichier de groupes illisible n’a pas pu être mis de côté (%1)</translation>
    </message>
</context>
<context>
    <name>TrayMenu</name>
    <message>
        <source>Open Traymate</source>
        <translation>Ouvrir Traymate</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Paramètres</translation>
    </message>
    <message>
        <source>Quit Traymate</source>
        <translation>Quitter Traymate</translation>
    </message>
</context>
<context>
    <name>TraymateMain</name>
    <message>
        <source>Keeps groups of applications, documents and folders in a tray panel.

With a running Traymate, every request goes to it and this command exits at once.
Where the desktop lets no program grab a global key (Wayland sessions), bind a
keyboard shortcut of the desktop to &quot;traymate --toggle&quot;.</source>
        <translation>Garde des groupes d’applications, de documents et de dossiers dans un panneau de
la zone de notification.

Si Traymate est déjà lancé, chaque demande lui est transmise et cette commande
se termine aussitôt. Là où le bureau ne permet à aucun programme de capturer une
touche globale (sessions Wayland), associez un raccourci clavier du bureau à
«&#xa0;traymate --toggle&#xa0;».</translation>
    </message>
    <message>
        <source>Shows this help.</source>
        <translation>Affiche cette aide.</translation>
    </message>
    <message>
        <source>Shows the version.</source>
        <translation>Affiche la version.</translation>
    </message>
    <message>
        <source>Shows the panel, or hides it when it is open.</source>
        <translation>Affiche le panneau, ou le masque s’il est ouvert.</translation>
    </message>
    <message>
        <source>traymate://group/&lt;UUID&gt;: opens that group&apos;s panel.</source>
        <translation>traymate://group/&lt;UUID&gt;&#xa0;: ouvre le panneau de ce groupe.</translation>
    </message>
    <message>
        <source>traymate: the running instance does not answer.</source>
        <translation>traymate&#xa0;: l’instance en cours d’exécution ne répond pas.</translation>
    </message>
    <message>
        <source>traymate: too many URLs: at most %1, %2 bytes in all.</source>
        <translation>traymate : trop d’URL : %1 au plus, %2 octets en tout.</translation>
    </message>
    <message>
        <source>traymate: cannot start: no private folder for the lock that keeps Traymate to one instance.
$XDG_RUNTIME_DIR is unset or not a folder of this user&apos;s with mode 0700, and %1 is not one either
(it must belong to you, have mode 0700 and not be a link).</source>
        <translation>traymate : démarrage impossible : aucun dossier privé pour le verrou qui limite Traymate à une seule instance.
$XDG_RUNTIME_DIR n’est pas défini ou n’est pas un dossier de cet utilisateur en mode 0700, et %1 non plus
(il doit vous appartenir, être en mode 0700 et ne pas être un lien).</translation>
    </message>
</context>
<context>
    <name>UpdateChecker</name>
    <message>
        <source>Checking...</source>
        <translation>Vérification…</translation>
    </message>
    <message>
        <source>Could not check for updates</source>
        <translation>Impossible de rechercher des mises à jour</translation>
    </message>
    <message>
        <source>Version %1 is available</source>
        <translation>La version %1 est disponible</translation>
    </message>
    <message>
        <source>You are up to date</source>
        <translation>Traymate est à jour</translation>
    </message>
</context>
</TS>
