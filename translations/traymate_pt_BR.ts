<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt_BR">
<context>
    <name>AppDelegate</name>
    <message>
        <source>Quit Traymate</source>
        <translation>Sair do Traymate</translation>
    </message>
    <message>
        <source>Traymate Settings</source>
        <translation>Configurações do Traymate</translation>
    </message>
</context>
<context>
    <name>CompactPanel</name>
    <message>
        <source>All groups</source>
        <translation>Todos os grupos</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fechar</translation>
    </message>
    <message>
        <source>Empty group</source>
        <translation>Grupo vazio</translation>
    </message>
</context>
<context>
    <name>EditActions</name>
    <message>
        <source>Undo</source>
        <translation>Desfazer</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Refazer</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Recortar</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Copiar</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Colar</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Selecionar tudo</translation>
    </message>
</context>
<context>
    <name>FullPanel</name>
    <message>
        <source>Keep open</source>
        <translation>Manter aberto</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Configurações</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fechar</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Pesquisar</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Adicionar</translation>
    </message>
    <message>
        <source>Import Dock</source>
        <translation>Importar dock</translation>
    </message>
    <message>
        <source>New Group</source>
        <translation>Novo grupo</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Sair</translation>
    </message>
    <message>
        <source>Drop apps, files or folders here</source>
        <translation>Solte aqui aplicativos, arquivos ou pastas</translation>
    </message>
</context>
<context>
    <name>GroupActions</name>
    <message>
        <source>Rename group</source>
        <translation>Renomear grupo</translation>
    </message>
    <message>
        <source>Delete the group %1?</source>
        <translation>Excluir o grupo %1?</translation>
    </message>
    <message>
        <source>Choose an image for %1</source>
        <translation>Escolha uma imagem para %1</translation>
    </message>
    <message>
        <source>New group name</source>
        <translation>Nome do novo grupo</translation>
    </message>
</context>
<context>
    <name>HotKey</name>
    <message>
        <source>Ctrl+Alt+Space</source>
        <translation>Ctrl+Alt+Espaço</translation>
    </message>
    <message>
        <source>Ctrl+Space</source>
        <translation>Ctrl+Espaço</translation>
    </message>
    <message>
        <source>Alt+Space</source>
        <translation>Alt+Espaço</translation>
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
        <translation>Renomear</translation>
    </message>
    <message>
        <source>Set icon...</source>
        <translation>Definir ícone…</translation>
    </message>
    <message>
        <source>Reset icon</source>
        <translation>Redefinir ícone</translation>
    </message>
    <message>
        <source>Create Dock icon</source>
        <translation>Criar ícone no dock</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Excluir</translation>
    </message>
    <message>
        <source>Remove from group</source>
        <translation>Remover do grupo</translation>
    </message>
    <message>
        <source>Show in Folder</source>
        <translation>Mostrar na pasta</translation>
    </message>
</context>
<context>
    <name>PortalGlobalShortcut</name>
    <message>
        <source>Show or hide the Traymate panel</source>
        <translation>Mostrar ou ocultar o painel do Traymate</translation>
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
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Excluir</translation>
    </message>
</context>
<context>
    <name>QFileDialog</name>
    <message>
        <source>Images (%1)</source>
        <translation>Imagens (%1)</translation>
    </message>
</context>
<context>
    <name>SaveProblemLine</name>
    <message>
        <source>Groups not saved: %1</source>
        <translation>Grupos não salvos: %1</translation>
    </message>
</context>
<context>
    <name>SettingsView</name>
    <message>
        <source>General</source>
        <translation>Geral</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Sobre</translation>
    </message>
    <message>
        <source>Launch at login</source>
        <translation>Iniciar ao entrar na sessão</translation>
    </message>
    <message>
        <source>Hotkey</source>
        <translation>Tecla de atalho</translation>
    </message>
    <message>
        <source>The desktop does not let Traymate set a global key; bind a shortcut to: traymate --toggle</source>
        <translation>O ambiente de trabalho não permite que o Traymate defina uma tecla global; associe um atalho a: traymate --toggle</translation>
    </message>
    <message>
        <source>Bottom center</source>
        <translation>Embaixo, no centro</translation>
    </message>
    <message>
        <source>At mouse</source>
        <translation>No ponteiro do mouse</translation>
    </message>
    <message>
        <source>Open panel</source>
        <translation>Abrir o painel</translation>
    </message>
    <message>
        <source>Close after launching</source>
        <translation>Fechar após iniciar</translation>
    </message>
    <message>
        <source>Check for updates</source>
        <translation>Verificar atualizações</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>Baixar</translation>
    </message>
    <message>
        <source>Could not change the autostart entry. Check that ~/.config/autostart can be written and try again.</source>
        <translation>Não foi possível alterar a entrada de inicialização automática. Verifique se é possível gravar em ~/.config/autostart e tente novamente.</translation>
    </message>
    <message>
        <source>The desktop refused %1: another program (often an input method or the window manager) uses it. Choose another key.</source>
        <translation>A área de trabalho recusou %1: outro programa (geralmente um método de entrada ou o gerenciador de janelas) o usa. Escolha outra tecla.</translation>
    </message>
</context>
<context>
    <name>Store</name>
    <message>
        <source>the unreadable groups file could not be moved aside (%1)</source>
        <translation>não foi possível mover o arquivo de grupos ilegível (%1)</translation>
    </message>
    <message>
        <source>the groups file could not be read</source>
        <translation>não foi possível ler o arquivo de grupos</translation>
    </message>
    <message>
        <source>the unreadable groups file could not be set aside (%1)</source>
        <translation>não foi possível guardar à parte o arquivo de grupos ilegível (%1)</translation>
    </message>
</context>
<context>
    <name>TrayMenu</name>
    <message>
        <source>Open Traymate</source>
        <translation>Abrir o Traymate</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Configurações</translation>
    </message>
    <message>
        <source>Quit Traymate</source>
        <translation>Sair do Traymate</translation>
    </message>
</context>
<context>
    <name>TraymateMain</name>
    <message>
        <source>Keeps groups of applications, documents and folders in a tray panel.

With a running Traymate, every request goes to it and this command exits at once.
Where the desktop lets no program grab a global key (Wayland sessions), bind a
keyboard shortcut of the desktop to &quot;traymate --toggle&quot;.</source>
        <translation>Mantém grupos de aplicativos, documentos e pastas em um painel na bandeja do
sistema.

Com o Traymate já em execução, cada pedido vai para ele e este comando termina
na hora. Onde o ambiente de trabalho não deixa nenhum programa capturar uma tecla
global (sessões Wayland), associe um atalho de teclado do ambiente a
“traymate --toggle”.</translation>
    </message>
    <message>
        <source>Shows this help.</source>
        <translation>Mostra esta ajuda.</translation>
    </message>
    <message>
        <source>Shows the version.</source>
        <translation>Mostra a versão.</translation>
    </message>
    <message>
        <source>Shows the panel, or hides it when it is open.</source>
        <translation>Mostra o painel, ou o oculta quando está aberto.</translation>
    </message>
    <message>
        <source>traymate://group/&lt;UUID&gt;: opens that group&apos;s panel.</source>
        <translation>traymate://group/&lt;UUID&gt;: abre o painel desse grupo.</translation>
    </message>
    <message>
        <source>traymate: the running instance does not answer.</source>
        <translation>traymate: a instância em execução não responde.</translation>
    </message>
    <message>
        <source>traymate: too many URLs: at most %1, %2 bytes in all.</source>
        <translation>traymate: URLs demais: no máximo %1, %2 bytes no total.</translation>
    </message>
    <message>
        <source>traymate: cannot start: no private folder for the lock that keeps Traymate to one instance.
$XDG_RUNTIME_DIR is unset or not a folder of this user&apos;s with mode 0700, and %1 is not one either
(it must belong to you, have mode 0700 and not be a link).</source>
        <translation>traymate: não é possível iniciar: não há pasta privada para a trava que mantém o Traymate em uma só instância.
$XDG_RUNTIME_DIR não está definida ou não é uma pasta deste usuário com modo 0700, e %1 também não é
(ela deve pertencer a você, ter modo 0700 e não ser um link).</translation>
    </message>
</context>
<context>
    <name>UpdateChecker</name>
    <message>
        <source>Checking...</source>
        <translation>Verificando…</translation>
    </message>
    <message>
        <source>Could not check for updates</source>
        <translation>Não foi possível verificar se há atualizações</translation>
    </message>
    <message>
        <source>Version %1 is available</source>
        <translation>A versão %1 está disponível</translation>
    </message>
    <message>
        <source>You are up to date</source>
        <translation>O Traymate está atualizado</translation>
    </message>
</context>
</TS>
