<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es_ES">
<context>
    <name>AppDelegate</name>
    <message>
        <source>Quit Traymate</source>
        <translation>Salir de Traymate</translation>
    </message>
    <message>
        <source>Traymate Settings</source>
        <translation>Configuración de Traymate</translation>
    </message>
</context>
<context>
    <name>CompactPanel</name>
    <message>
        <source>All groups</source>
        <translation>Todos los grupos</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>Empty group</source>
        <translation>Grupo vacío</translation>
    </message>
</context>
<context>
    <name>EditActions</name>
    <message>
        <source>Undo</source>
        <translation>Deshacer</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Rehacer</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Cortar</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Copiar</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Pegar</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Seleccionar todo</translation>
    </message>
</context>
<context>
    <name>FullPanel</name>
    <message>
        <source>Keep open</source>
        <translation>Mantener abierto</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Configuración</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Buscar</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Añadir</translation>
    </message>
    <message>
        <source>Import Dock</source>
        <translation>Importar dock</translation>
    </message>
    <message>
        <source>New Group</source>
        <translation>Grupo nuevo</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Salir</translation>
    </message>
    <message>
        <source>Drop apps, files or folders here</source>
        <translation>Suelte aquí aplicaciones, archivos o carpetas</translation>
    </message>
</context>
<context>
    <name>GroupActions</name>
    <message>
        <source>Rename group</source>
        <translation>Renombrar grupo</translation>
    </message>
    <message>
        <source>Delete the group %1?</source>
        <translation>¿Eliminar el grupo %1?</translation>
    </message>
    <message>
        <source>Choose an image for %1</source>
        <translation>Elija una imagen para %1</translation>
    </message>
    <message>
        <source>New group name</source>
        <translation>Nombre del grupo nuevo</translation>
    </message>
</context>
<context>
    <name>HotKey</name>
    <message>
        <source>Ctrl+Alt+Space</source>
        <translation>Ctrl+Alt+Espacio</translation>
    </message>
    <message>
        <source>Ctrl+Space</source>
        <translation>Ctrl+Espacio</translation>
    </message>
    <message>
        <source>Alt+Space</source>
        <translation>Alt+Espacio</translation>
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
        <translation>Renombrar</translation>
    </message>
    <message>
        <source>Set icon...</source>
        <translation>Establecer icono…</translation>
    </message>
    <message>
        <source>Reset icon</source>
        <translation>Restablecer icono</translation>
    </message>
    <message>
        <source>Create Dock icon</source>
        <translation>Crear icono en el dock</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Eliminar</translation>
    </message>
    <message>
        <source>Remove from group</source>
        <translation>Quitar del grupo</translation>
    </message>
    <message>
        <source>Show in Folder</source>
        <translation>Mostrar en la carpeta</translation>
    </message>
</context>
<context>
    <name>PortalGlobalShortcut</name>
    <message>
        <source>Show or hide the Traymate panel</source>
        <translation>Mostrar u ocultar el panel de Traymate</translation>
    </message>
</context>
<context>
    <name>Prompts</name>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Eliminar</translation>
    </message>
</context>
<context>
    <name>QFileDialog</name>
    <message>
        <source>Images (%1)</source>
        <translation>Imágenes (%1)</translation>
    </message>
</context>
<context>
    <name>SaveProblemLine</name>
    <message>
        <source>Groups not saved: %1</source>
        <translation>Grupos sin guardar: %1</translation>
    </message>
</context>
<context>
    <name>SettingsView</name>
    <message>
        <source>General</source>
        <translation>General</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Acerca de</translation>
    </message>
    <message>
        <source>Launch at login</source>
        <translation>Abrir al iniciar sesión</translation>
    </message>
    <message>
        <source>Hotkey</source>
        <translation>Atajo de teclado</translation>
    </message>
    <message>
        <source>The desktop does not let Traymate set a global key; bind a shortcut to: traymate --toggle</source>
        <translation>El escritorio no permite que Traymate establezca una tecla global; asigne un atajo a: traymate --toggle</translation>
    </message>
    <message>
        <source>Bottom center</source>
        <translation>Abajo en el centro</translation>
    </message>
    <message>
        <source>At mouse</source>
        <translation>En el puntero</translation>
    </message>
    <message>
        <source>Open panel</source>
        <translation>Abrir el panel</translation>
    </message>
    <message>
        <source>Close after launching</source>
        <translation>Cerrar después de abrir</translation>
    </message>
    <message>
        <source>Check for updates</source>
        <translation>Buscar actualizaciones</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>Descargar</translation>
    </message>
    <message>
        <source>Could not change the autostart entry. Check that ~/.config/autostart can be written and try again.</source>
        <translation>No se pudo cambiar la entrada de inicio automático. Compruebe que se puede escribir en ~/.config/autostart e inténtelo de nuevo.</translation>
    </message>
    <message>
        <source>The desktop refused %1: another program (often an input method or the window manager) uses it. Choose another key.</source>
        <translation>El escritorio rechazó %1: otro programa (a menudo un método de entrada o el gestor de ventanas) lo usa. Elija otra combinación.</translation>
    </message>
</context>
<context>
    <name>Store</name>
    <message>
        <source>the unreadable groups file could not be moved aside (%1)</source>
        <translation>no se pudo apartar el archivo de grupos ilegible (%1)</translation>
    </message>
    <message>
        <source>the groups file could not be read</source>
        <translation>no se pudo leer el archivo de grupos</translation>
    </message>
    <message>
        <source>the unreadable groups file could not be set aside (%1)</source>
        <translation>no se pudo guardar aparte el archivo de grupos ilegible (%1)</translation>
    </message>
</context>
<context>
    <name>TrayMenu</name>
    <message>
        <source>Open Traymate</source>
        <translation>Abrir Traymate</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Configuración</translation>
    </message>
    <message>
        <source>Quit Traymate</source>
        <translation>Salir de Traymate</translation>
    </message>
</context>
<context>
    <name>TraymateMain</name>
    <message>
        <source>Keeps groups of applications, documents and folders in a tray panel.

With a running Traymate, every request goes to it and this command exits at once.
Where the desktop lets no program grab a global key (Wayland sessions), bind a
keyboard shortcut of the desktop to &quot;traymate --toggle&quot;.</source>
        <translation>Mantiene grupos de aplicaciones, documentos y carpetas en un panel de la bandeja
del sistema.

Si Traymate ya está en ejecución, cada petición se le envía y esta orden termina
de inmediato. Donde el escritorio no permite a ningún programa capturar una tecla
global (sesiones Wayland), asigne un atajo de teclado del escritorio a
«traymate --toggle».</translation>
    </message>
    <message>
        <source>Shows this help.</source>
        <translation>Muestra esta ayuda.</translation>
    </message>
    <message>
        <source>Shows the version.</source>
        <translation>Muestra la versión.</translation>
    </message>
    <message>
        <source>Shows the panel, or hides it when it is open.</source>
        <translation>Muestra el panel, o lo oculta si está abierto.</translation>
    </message>
    <message>
        <source>traymate://group/&lt;UUID&gt;: opens that group&apos;s panel.</source>
        <translation>traymate://group/&lt;UUID&gt;: abre el panel de ese grupo.</translation>
    </message>
    <message>
        <source>traymate: the running instance does not answer.</source>
        <translation>traymate: la instancia en ejecución no responde.</translation>
    </message>
    <message>
        <source>traymate: too many URLs: at most %1, %2 bytes in all.</source>
        <translation>traymate: demasiadas URL: como máximo %1, %2 bytes en total.</translation>
    </message>
    <message>
        <source>traymate: cannot start: no private folder for the lock that keeps Traymate to one instance.
$XDG_RUNTIME_DIR is unset or not a folder of this user&apos;s with mode 0700, and %1 is not one either
(it must belong to you, have mode 0700 and not be a link).</source>
        <translation>traymate: no se puede iniciar: no hay una carpeta privada para el bloqueo que mantiene Traymate en una sola instancia.
$XDG_RUNTIME_DIR no está definida o no es una carpeta de este usuario con modo 0700, y %1 tampoco lo es
(debe pertenecerle, tener modo 0700 y no ser un enlace).</translation>
    </message>
</context>
<context>
    <name>UpdateChecker</name>
    <message>
        <source>Checking...</source>
        <translation>Comprobando…</translation>
    </message>
    <message>
        <source>Could not check for updates</source>
        <translation>No se pudo comprobar si hay actualizaciones</translation>
    </message>
    <message>
        <source>Version %1 is available</source>
        <translation>La versión %1 está disponible</translation>
    </message>
    <message>
        <source>You are up to date</source>
        <translation>Traymate está actualizado</translation>
    </message>
</context>
</TS>
