<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>AppDelegate</name>
    <message>
        <source>Quit Traymate</source>
        <translation>Выйти из Traymate</translation>
    </message>
    <message>
        <source>Traymate Settings</source>
        <translation>Настройки Traymate</translation>
    </message>
</context>
<context>
    <name>CompactPanel</name>
    <message>
        <source>All groups</source>
        <translation>Все группы</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Закрыть</translation>
    </message>
    <message>
        <source>Empty group</source>
        <translation>Пустая группа</translation>
    </message>
</context>
<context>
    <name>EditActions</name>
    <message>
        <source>Undo</source>
        <translation>Отменить</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Повторить</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Вырезать</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Копировать</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Вставить</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Выделить всё</translation>
    </message>
</context>
<context>
    <name>FullPanel</name>
    <message>
        <source>Keep open</source>
        <translation>Не закрывать</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Настройки</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Закрыть</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Поиск</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Добавить</translation>
    </message>
    <message>
        <source>Import Dock</source>
        <translation>Импорт из дока</translation>
    </message>
    <message>
        <source>New Group</source>
        <translation>Новая группа</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Выйти</translation>
    </message>
    <message>
        <source>Drop apps, files or folders here</source>
        <translation>Перетащите сюда приложения, файлы или папки</translation>
    </message>
</context>
<context>
    <name>GroupActions</name>
    <message>
        <source>Rename group</source>
        <translation>Переименовать группу</translation>
    </message>
    <message>
        <source>Delete the group %1?</source>
        <translation>Удалить группу «%1»?</translation>
    </message>
    <message>
        <source>Choose an image for %1</source>
        <translation>Выберите изображение для «%1»</translation>
    </message>
    <message>
        <source>New group name</source>
        <translation>Имя новой группы</translation>
    </message>
</context>
<context>
    <name>HotKey</name>
    <message>
        <source>Ctrl+Alt+Space</source>
        <translation>Ctrl+Alt+Пробел</translation>
    </message>
    <message>
        <source>Ctrl+Space</source>
        <translation>Ctrl+Пробел</translation>
    </message>
    <message>
        <source>Alt+Space</source>
        <translation>Alt+Пробел</translation>
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
        <translation>Переименовать</translation>
    </message>
    <message>
        <source>Set icon...</source>
        <translation>Выбрать значок…</translation>
    </message>
    <message>
        <source>Reset icon</source>
        <translation>Сбросить значок</translation>
    </message>
    <message>
        <source>Create Dock icon</source>
        <translation>Создать значок в доке</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Удалить</translation>
    </message>
    <message>
        <source>Remove from group</source>
        <translation>Убрать из группы</translation>
    </message>
    <message>
        <source>Show in Folder</source>
        <translation>Показать в папке</translation>
    </message>
</context>
<context>
    <name>PortalGlobalShortcut</name>
    <message>
        <source>Show or hide the Traymate panel</source>
        <translation>Показать или скрыть панель Traymate</translation>
    </message>
</context>
<context>
    <name>Prompts</name>
    <message>
        <source>OK</source>
        <translation>ОК</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Удалить</translation>
    </message>
</context>
<context>
    <name>QFileDialog</name>
    <message>
        <source>Images (%1)</source>
        <translation>Изображения (%1)</translation>
    </message>
</context>
<context>
    <name>SaveProblemLine</name>
    <message>
        <source>Groups not saved: %1</source>
        <translation>Группы не сохранены: %1</translation>
    </message>
</context>
<context>
    <name>SettingsView</name>
    <message>
        <source>General</source>
        <translation>Общие</translation>
    </message>
    <message>
        <source>About</source>
        <translation>О программе</translation>
    </message>
    <message>
        <source>Launch at login</source>
        <translation>Запускать при входе в систему</translation>
    </message>
    <message>
        <source>Hotkey</source>
        <translation>Горячая клавиша</translation>
    </message>
    <message>
        <source>The desktop does not let Traymate set a global key; bind a shortcut to: traymate --toggle</source>
        <translation>Рабочий стол не позволяет Traymate назначить глобальную клавишу; назначьте сочетание клавиш для команды: traymate --toggle</translation>
    </message>
    <message>
        <source>Bottom center</source>
        <translation>Внизу по центру</translation>
    </message>
    <message>
        <source>At mouse</source>
        <translation>У указателя мыши</translation>
    </message>
    <message>
        <source>Open panel</source>
        <translation>Открывать панель</translation>
    </message>
    <message>
        <source>Close after launching</source>
        <translation>Закрывать после запуска</translation>
    </message>
    <message>
        <source>Check for updates</source>
        <translation>Проверить обновления</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>Загрузить</translation>
    </message>
    <message>
        <source>Could not change the autostart entry. Check that ~/.config/autostart can be written and try again.</source>
        <translation>Не удалось изменить запись автозапуска. Проверьте, что в ~/.config/autostart можно писать, и повторите попытку.</translation>
    </message>
    <message>
        <source>The desktop refused %1: another program (often an input method or the window manager) uses it. Choose another key.</source>
        <translation>Рабочий стол отклонил %1: его использует другая программа (часто метод ввода или оконный менеджер). Выберите другое сочетание.</translation>
    </message>
</context>
<context>
    <name>Store</name>
    <message>
        <source>the unreadable groups file could not be moved aside (%1)</source>
        <translation>не удалось переместить нечитаемый файл групп (%1)</translation>
    </message>
    <message>
        <source>the groups file could not be read</source>
        <translation>не удалось прочитать файл групп</translation>
    </message>
    <message>
        <source>the unreadable groups file could not be set aside (%1)</source>
        <translation>не удалось сохранить копию нечитаемого файла групп (%1)</translation>
    </message>
</context>
<context>
    <name>TrayMenu</name>
    <message>
        <source>Open Traymate</source>
        <translation>Открыть Traymate</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Настройки</translation>
    </message>
    <message>
        <source>Quit Traymate</source>
        <translation>Выйти из Traymate</translation>
    </message>
</context>
<context>
    <name>TraymateMain</name>
    <message>
        <source>Keeps groups of applications, documents and folders in a tray panel.

With a running Traymate, every request goes to it and this command exits at once.
Where the desktop lets no program grab a global key (Wayland sessions), bind a
keyboard shortcut of the desktop to &quot;traymate --toggle&quot;.</source>
        <translation>Хранит группы приложений, документов и папок в панели, открываемой из системного
лотка.

Если Traymate уже запущен, каждый запрос передаётся ему, а эта команда сразу
завершается. Если рабочий стол не позволяет программам перехватывать глобальные
клавиши (сеансы Wayland), назначьте в настройках рабочего стола сочетание клавиш
для «traymate --toggle».</translation>
    </message>
    <message>
        <source>Shows this help.</source>
        <translation>Показывает эту справку.</translation>
    </message>
    <message>
        <source>Shows the version.</source>
        <translation>Показывает версию.</translation>
    </message>
    <message>
        <source>Shows the panel, or hides it when it is open.</source>
        <translation>Показывает панель или скрывает её, если она открыта.</translation>
    </message>
    <message>
        <source>traymate://group/&lt;UUID&gt;: opens that group&apos;s panel.</source>
        <translation>traymate://group/&lt;UUID&gt;: открывает панель этой группы.</translation>
    </message>
    <message>
        <source>traymate: the running instance does not answer.</source>
        <translation>traymate: запущенный экземпляр не отвечает.</translation>
    </message>
    <message>
        <source>traymate: too many URLs: at most %1, %2 bytes in all.</source>
        <translation>traymate: слишком много URL: не более %1, всего %2 байт.</translation>
    </message>
    <message>
        <source>traymate: cannot start: no private folder for the lock that keeps Traymate to one instance.
$XDG_RUNTIME_DIR is unset or not a folder of this user&apos;s with mode 0700, and %1 is not one either
(it must belong to you, have mode 0700 and not be a link).</source>
        <translation>traymate: невозможно запустить: нет личной папки для блокировки, которая не даёт запустить второй экземпляр Traymate.
$XDG_RUNTIME_DIR не задана или не является папкой этого пользователя с режимом 0700, и %1 тоже
(папка должна принадлежать вам, иметь режим 0700 и не быть ссылкой).</translation>
    </message>
</context>
<context>
    <name>UpdateChecker</name>
    <message>
        <source>Checking...</source>
        <translation>Проверка…</translation>
    </message>
    <message>
        <source>Could not check for updates</source>
        <translation>Не удалось проверить наличие обновлений</translation>
    </message>
    <message>
        <source>Version %1 is available</source>
        <translation>Доступна версия %1</translation>
    </message>
    <message>
        <source>You are up to date</source>
        <translation>Установлена последняя версия</translation>
    </message>
</context>
</TS>
