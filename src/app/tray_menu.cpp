#include "app/tray_menu.h"

#include "model/store.h"

#include <QAction>
#include <QMenu>

namespace {

// A group name is shown as written: '&' would otherwise mark a mnemonic.
QString entryText(const QString& name)
{
    QString text = name;
    return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

} // namespace

TrayMenu::TrayMenu(Store& store, QObject* parent)
    : QObject(parent)
    , m_store(store)
    , m_menu(new QMenu)
{
    connect(m_menu->addAction(tr("Open Traymate")), &QAction::triggered, this,
            &TrayMenu::panelRequested);
    m_menu->addSeparator();
    m_groupsEnd = m_menu->addSeparator();
    QAction* settings = m_menu->addAction(tr("Settings"));
    settings->setShortcut(QKeySequence(QStringLiteral("Ctrl+,")));
    connect(settings, &QAction::triggered, this, &TrayMenu::settingsRequested);
    m_menu->addSeparator();
    QAction* quit = m_menu->addAction(tr("Quit Traymate"));
    quit->setShortcut(QKeySequence(QStringLiteral("Ctrl+Q")));
    connect(quit, &QAction::triggered, this, &TrayMenu::quitRequested);

    showGroups();
    connect(&m_store, &Store::changed, this, &TrayMenu::showGroups);
}

TrayMenu::~TrayMenu()
{
    delete m_menu;
}

void TrayMenu::showGroups()
{
    QList<QPair<QUuid, QString>> groups;
    for (const AppGroup& group : m_store.groups())
        groups.append({group.id, group.name});
    if (groups == m_shown)
        return;
    m_shown = groups;

    qDeleteAll(m_groupEntries);
    m_groupEntries.clear();
    for (const auto& [id, name] : groups) {
        auto* entry = new QAction(entryText(name), m_menu);
        connect(entry, &QAction::triggered, this, [this, id = id] { Q_EMIT groupRequested(id); });
        m_menu->insertAction(m_groupsEnd, entry);
        m_groupEntries.append(entry);
    }
    // Without groups one separator is enough.
    m_groupsEnd->setVisible(!groups.isEmpty());
}
