<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>AppDelegate</name>
    <message>
        <source>Quit Traymate</source>
        <translation>Traymate beenden</translation>
    </message>
    <message>
        <source>Traymate Settings</source>
        <translation>Traymate-Einstellungen</translation>
    </message>
</context>
<context>
    <name>CompactPanel</name>
    <message>
        <source>All groups</source>
        <translation>Alle Gruppen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Empty group</source>
        <translation>Leere Gruppe</translation>
    </message>
</context>
<context>
    <name>EditActions</name>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Wiederholen</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Ausschneiden</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Einfügen</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Alles auswählen</translation>
    </message>
</context>
<context>
    <name>FullPanel</name>
    <message>
        <source>Keep open</source>
        <translation>Geöffnet lassen</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <source>Import Dock</source>
        <translation>Dock importieren</translation>
    </message>
    <message>
        <source>New Group</source>
        <translation>Neue Gruppe</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Drop apps, files or folders here</source>
        <translation>Anwendungen, Dateien oder Ordner hier ablegen</translation>
    </message>
</context>
<context>
    <name>GroupActions</name>
    <message>
        <source>Rename group</source>
        <translation>Gruppe umbenennen</translation>
    </message>
    <message>
        <source>Delete the group %1?</source>
        <translation>Die Gruppe %1 löschen?</translation>
    </message>
    <message>
        <source>Choose an image for %1</source>
        <translation>Bild für %1 auswählen</translation>
    </message>
    <message>
        <source>New group name</source>
        <translation>Name der neuen Gruppe</translation>
    </message>
</context>
<context>
    <name>HotKey</name>
    <message>
        <source>Ctrl+Alt+Space</source>
        <translation>Strg+Alt+Leertaste</translation>
    </message>
    <message>
        <source>Ctrl+Space</source>
        <translation>Strg+Leertaste</translation>
    </message>
    <message>
        <source>Alt+Space</source>
        <translation>Alt+Leertaste</translation>
    </message>
    <message>
        <source>Ctrl+Alt+D</source>
        <translation>Strg+Alt+D</translation>
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
        <translation>Umbenennen</translation>
    </message>
    <message>
        <source>Set icon...</source>
        <translation>Symbol festlegen …</translation>
    </message>
    <message>
        <source>Reset icon</source>
        <translation>Symbol zurücksetzen</translation>
    </message>
    <message>
        <source>Create Dock icon</source>
        <translation>Dock-Symbol erstellen</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Remove from group</source>
        <translation>Aus der Gruppe entfernen</translation>
    </message>
    <message>
        <source>Show in Folder</source>
        <translation>Im Ordner anzeigen</translation>
    </message>
</context>
<context>
    <name>PortalGlobalShortcut</name>
    <message>
        <source>Show or hide the Traymate panel</source>
        <translation>Traymate-Panel anzeigen oder ausblenden</translation>
    </message>
</context>
<context>
    <name>Prompts</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
</context>
<context>
    <name>QFileDialog</name>
    <message>
        <source>Images (%1)</source>
        <translation>Bilder (%1)</translation>
    </message>
</context>
<context>
    <name>SaveProblemLine</name>
    <message>
        <source>Groups not saved: %1</source>
        <translation>Gruppen nicht gespeichert: %1</translation>
    </message>
</context>
<context>
    <name>SettingsView</name>
    <message>
        <source>General</source>
        <translation>Allgemein</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>Launch at login</source>
        <translation>Beim Anmelden starten</translation>
    </message>
    <message>
        <source>Hotkey</source>
        <translation>Tastenkürzel</translation>
    </message>
    <message>
        <source>The desktop does not let Traymate set a global key; bind a shortcut to: traymate --toggle</source>
        <translation>Die Arbeitsumgebung lässt Traymate kein globales Tastenkürzel festlegen. Legen Sie ein Tastenkürzel an für: traymate --toggle</translation>
    </message>
    <message>
        <source>Bottom center</source>
        <translation>Unten mittig</translation>
    </message>
    <message>
        <source>At mouse</source>
        <translation>Am Mauszeiger</translation>
    </message>
    <message>
        <source>Open panel</source>
        <translation>Panel öffnen</translation>
    </message>
    <message>
        <source>Close after launching</source>
        <translation>Nach dem Starten schließen</translation>
    </message>
    <message>
        <source>Check for updates</source>
        <translation>Nach Aktualisierungen suchen</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>Herunterladen</translation>
    </message>
    <message>
        <source>Could not change the autostart entry. Check that ~/.config/autostart can be written and try again.</source>
        <translation>Der Autostart-Eintrag konnte nicht geändert werden. Prüfen Sie, ob ~/.config/autostart beschreibbar ist, und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>The desktop refused %1: another program (often an input method or the window manager) uses it. Choose another key.</source>
        <translation>Die Arbeitsumgebung hat %1 abgelehnt: Ein anderes Programm (oft eine Eingabemethode oder der Fenstermanager) verwendet es. Wählen Sie ein anderes Tastenkürzel.</translation>
    </message>
</context>
<context>
    <name>Store</name>
    <message>
        <source>the unreadable groups file could not be moved aside (%1)</source>
        <translation>die unlesbare Gruppendatei konnte nicht beiseitegelegt werden (%1)</translation>
    </message>
    <message>
        <source>the groups file could not be read</source>
        <translation>die Gruppendatei konnte nicht gelesen werden</translation>
    </message>
    <message>
        <source>the unreadable groups file could not be set aside (%1)</source>
        <translation>die unlesbare Gruppendatei konnte nicht gesichert werden (%1)</translation>
    </message>
</context>
<context>
    <name>TrayMenu</name>
    <message>
        <source>Open Traymate</source>
        <translation>Traymate öffnen</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Quit Traymate</source>
        <translation>Traymate beenden</translation>
    </message>
</context>
<context>
    <name>TraymateMain</name>
    <message>
        <source>Keeps groups of applications, documents and folders in a tray panel.

With a running Traymate, every request goes to it and this command exits at once.
Where the desktop lets no program grab a global key (Wayland sessions), bind a
keyboard shortcut of the desktop to &quot;traymate --toggle&quot;.</source>
        <translation>Verwaltet Gruppen von Anwendungen, Dokumenten und Ordnern in einem Panel im
Benachrichtigungsfeld.

Läuft Traymate bereits, geht jede Anfrage an das laufende Programm, und dieser
Befehl endet sofort. Wo die Arbeitsumgebung keinem Programm eine globale Taste
erlaubt (Wayland-Sitzungen), legen Sie in der Arbeitsumgebung ein Tastenkürzel
für „traymate --toggle“ an.</translation>
    </message>
    <message>
        <source>Shows this help.</source>
        <translation>Zeigt diese Hilfe an.</translation>
    </message>
    <message>
        <source>Shows the version.</source>
        <translation>Zeigt die Version an.</translation>
    </message>
    <message>
        <source>Shows the panel, or hides it when it is open.</source>
        <translation>Zeigt das Panel an oder blendet es aus, wenn es geöffnet ist.</translation>
    </message>
    <message>
        <source>traymate://group/&lt;UUID&gt;: opens that group&apos;s panel.</source>
        <translation>traymate://group/&lt;UUID&gt;: öffnet das Panel dieser Gruppe.</translation>
    </message>
    <message>
        <source>traymate: the running instance does not answer.</source>
        <translation>traymate: Die laufende Instanz antwortet nicht.</translation>
    </message>
    <message>
        <source>traymate: too many URLs: at most %1, %2 bytes in all.</source>
        <translation>traymate: zu viele URLs: höchstens %1, insgesamt %2 Bytes.</translation>
    </message>
    <message>
        <source>traymate: cannot start: no private folder for the lock that keeps Traymate to one instance.
$XDG_RUNTIME_DIR is unset or not a folder of this user&apos;s with mode 0700, and %1 is not one either
(it must belong to you, have mode 0700 and not be a link).</source>
        <translation>traymate: Start nicht möglich: kein privater Ordner für die Sperre, die Traymate auf eine Instanz beschränkt.
$XDG_RUNTIME_DIR ist nicht gesetzt oder kein Ordner dieses Benutzers mit Modus 0700, und %1 ist es auch nicht
(er muss Ihnen gehören, Modus 0700 haben und darf kein Link sein).</translation>
    </message>
</context>
<context>
    <name>UpdateChecker</name>
    <message>
        <source>Checking...</source>
        <translation>Wird geprüft …</translation>
    </message>
    <message>
        <source>Could not check for updates</source>
        <translation>Die Suche nach Aktualisierungen ist fehlgeschlagen</translation>
    </message>
    <message>
        <source>Version %1 is available</source>
        <translation>Version %1 ist verfügbar</translation>
    </message>
    <message>
        <source>You are up to date</source>
        <translation>Traymate ist auf dem neuesten Stand</translation>
    </message>
</context>
</TS>
