<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>AppDelegate</name>
    <message>
        <source>Quit Traymate</source>
        <translation>退出 Traymate</translation>
    </message>
    <message>
        <source>Traymate Settings</source>
        <translation>Traymate 设置</translation>
    </message>
</context>
<context>
    <name>CompactPanel</name>
    <message>
        <source>All groups</source>
        <translation>所有分组</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Empty group</source>
        <translation>空分组</translation>
    </message>
</context>
<context>
    <name>EditActions</name>
    <message>
        <source>Undo</source>
        <translation>撤销</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>重做</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>剪切</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>复制</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>粘贴</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>全选</translation>
    </message>
</context>
<context>
    <name>FullPanel</name>
    <message>
        <source>Keep open</source>
        <translation>保持打开</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>设置</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>搜索</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>添加</translation>
    </message>
    <message>
        <source>Import Dock</source>
        <translation>导入程序坞</translation>
    </message>
    <message>
        <source>New Group</source>
        <translation>新建分组</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>退出</translation>
    </message>
    <message>
        <source>Drop apps, files or folders here</source>
        <translation>将应用、文件或文件夹拖放到此处</translation>
    </message>
</context>
<context>
    <name>GroupActions</name>
    <message>
        <source>Rename group</source>
        <translation>重命名分组</translation>
    </message>
    <message>
        <source>Delete the group %1?</source>
        <translation>删除分组“%1”？</translation>
    </message>
    <message>
        <source>Choose an image for %1</source>
        <translation>为“%1”选择图像</translation>
    </message>
    <message>
        <source>New group name</source>
        <translation>新分组名称</translation>
    </message>
</context>
<context>
    <name>HotKey</name>
    <message>
        <source>Ctrl+Alt+Space</source>
        <translation>Ctrl+Alt+空格</translation>
    </message>
    <message>
        <source>Ctrl+Space</source>
        <translation>Ctrl+空格</translation>
    </message>
    <message>
        <source>Alt+Space</source>
        <translation>Alt+空格</translation>
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
        <translation>重命名</translation>
    </message>
    <message>
        <source>Set icon...</source>
        <translation>设置图标…</translation>
    </message>
    <message>
        <source>Reset icon</source>
        <translation>重置图标</translation>
    </message>
    <message>
        <source>Create Dock icon</source>
        <translation>创建程序坞图标</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>Remove from group</source>
        <translation>从分组中移除</translation>
    </message>
    <message>
        <source>Show in Folder</source>
        <translation>在文件夹中显示</translation>
    </message>
</context>
<context>
    <name>PortalGlobalShortcut</name>
    <message>
        <source>Show or hide the Traymate panel</source>
        <translation>显示或隐藏 Traymate 面板</translation>
    </message>
</context>
<context>
    <name>Prompts</name>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>删除</translation>
    </message>
</context>
<context>
    <name>QFileDialog</name>
    <message>
        <source>Images (%1)</source>
        <translation>图像 (%1)</translation>
    </message>
</context>
<context>
    <name>SaveProblemLine</name>
    <message>
        <source>Groups not saved: %1</source>
        <translation>分组未保存：%1</translation>
    </message>
</context>
<context>
    <name>SettingsView</name>
    <message>
        <source>General</source>
        <translation>常规</translation>
    </message>
    <message>
        <source>About</source>
        <translation>关于</translation>
    </message>
    <message>
        <source>Launch at login</source>
        <translation>登录时启动</translation>
    </message>
    <message>
        <source>Hotkey</source>
        <translation>快捷键</translation>
    </message>
    <message>
        <source>The desktop does not let Traymate set a global key; bind a shortcut to: traymate --toggle</source>
        <translation>桌面不允许 Traymate 设置全局快捷键；请为以下命令绑定快捷键：traymate --toggle</translation>
    </message>
    <message>
        <source>Bottom center</source>
        <translation>底部居中</translation>
    </message>
    <message>
        <source>At mouse</source>
        <translation>鼠标位置</translation>
    </message>
    <message>
        <source>Open panel</source>
        <translation>面板打开位置</translation>
    </message>
    <message>
        <source>Close after launching</source>
        <translation>启动后关闭</translation>
    </message>
    <message>
        <source>Check for updates</source>
        <translation>检查更新</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>下载</translation>
    </message>
    <message>
        <source>Could not change the autostart entry. Check that ~/.config/autostart can be written and try again.</source>
        <translation>无法更改自动启动项。请检查 ~/.config/autostart 是否可写，然后重试。</translation>
    </message>
    <message>
        <source>The desktop refused %1: another program (often an input method or the window manager) uses it. Choose another key.</source>
        <translation>桌面拒绝了 %1：另一个程序（通常是输入法或窗口管理器）正在使用它。请选择其他快捷键。</translation>
    </message>
</context>
<context>
    <name>Store</name>
    <message>
        <source>the unreadable groups file could not be moved aside (%1)</source>
        <translation>无法移开无法读取的分组文件（%1）</translation>
    </message>
    <message>
        <source>the groups file could not be read</source>
        <translation>无法读取分组文件</translation>
    </message>
    <message>
        <source>the unreadable groups file could not be set aside (%1)</source>
        <translation>无法另存无法读取的分组文件（%1）</translation>
    </message>
</context>
<context>
    <name>TrayMenu</name>
    <message>
        <source>Open Traymate</source>
        <translation>打开 Traymate</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>设置</translation>
    </message>
    <message>
        <source>Quit Traymate</source>
        <translation>退出 Traymate</translation>
    </message>
</context>
<context>
    <name>TraymateMain</name>
    <message>
        <source>Keeps groups of applications, documents and folders in a tray panel.

With a running Traymate, every request goes to it and this command exits at once.
Where the desktop lets no program grab a global key (Wayland sessions), bind a
keyboard shortcut of the desktop to &quot;traymate --toggle&quot;.</source>
        <translation>将应用程序、文档和文件夹分组保存在托盘面板中。

若 Traymate 已在运行，所有请求都会交给它处理，此命令会立即退出。
若桌面不允许任何程序占用全局按键（Wayland 会话），请在桌面设置中
将一个键盘快捷键绑定到“traymate --toggle”。</translation>
    </message>
    <message>
        <source>Shows this help.</source>
        <translation>显示此帮助。</translation>
    </message>
    <message>
        <source>Shows the version.</source>
        <translation>显示版本。</translation>
    </message>
    <message>
        <source>Shows the panel, or hides it when it is open.</source>
        <translation>显示面板；面板已打开时将其隐藏。</translation>
    </message>
    <message>
        <source>traymate://group/&lt;UUID&gt;: opens that group&apos;s panel.</source>
        <translation>traymate://group/&lt;UUID&gt;：打开该分组的面板。</translation>
    </message>
    <message>
        <source>traymate: the running instance does not answer.</source>
        <translation>traymate：正在运行的实例没有响应。</translation>
    </message>
    <message>
        <source>traymate: too many URLs: at most %1, %2 bytes in all.</source>
        <translation>traymate：URL 过多：最多 %1 个，共 %2 字节。</translation>
    </message>
    <message>
        <source>traymate: cannot start: no private folder for the lock that keeps Traymate to one instance.
$XDG_RUNTIME_DIR is unset or not a folder of this user&apos;s with mode 0700, and %1 is not one either
(it must belong to you, have mode 0700 and not be a link).</source>
        <translation>traymate：无法启动：没有用于保证 Traymate 只运行一个实例的锁的私有文件夹。
$XDG_RUNTIME_DIR 未设置，或不是此用户的模式为 0700 的文件夹，%1 也不是
（它必须属于您、模式为 0700 且不是链接）。</translation>
    </message>
</context>
<context>
    <name>UpdateChecker</name>
    <message>
        <source>Checking...</source>
        <translation>正在检查…</translation>
    </message>
    <message>
        <source>Could not check for updates</source>
        <translation>无法检查更新</translation>
    </message>
    <message>
        <source>Version %1 is available</source>
        <translation>有新版本 %1 可用</translation>
    </message>
    <message>
        <source>You are up to date</source>
        <translation>已是最新版本</translation>
    </message>
</context>
</TS>
