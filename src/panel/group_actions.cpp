#include "panel/group_actions.h"

#include "model/store.h"
#include "panel/panel_state.h"

#include <QDir>

namespace {

const QString kApplicationsFolder = QStringLiteral("/Applications");
const QString kDesktopEntriesFolder = QStringLiteral("/usr/share/applications");

} // namespace

GroupActions::GroupActions(Store& store, PanelServices services)
    : m_store(store)
    , m_services(std::move(services))
{
}

AppGroup GroupActions::latest(const AppGroup& shown) const
{
    const AppGroup* now = m_store.group(shown.id);
    return now ? *now : shown;
}

QStringList GroupActions::choose(const FileChoice& choice) const
{
    const PanelState::KeepOpen keep;
    return m_services.choose(choice);
}

void GroupActions::rename(const QUuid& id)
{
    const AppGroup* group = m_store.group(id);
    if (!group)
        return;
    const std::optional<QString> answer = m_services.prompt(tr("Rename group"), group->name);
    if (!answer)
        return;
    const qsizetype index = m_store.indexOf(id); // the group may have gone while the prompt ran
    if (index < 0)
        return;
    const AppGroup before = m_store.groups()[index];
    AppGroup after = before;
    after.name = *answer;
    m_store.setGroup(index, after);
    m_services.launcherRenamed(before, m_store.groups()[index]);
}

void GroupActions::remove(const AppGroup& group)
{
    if (!m_services.confirm(tr("Delete the group %1?").arg(group.name)))
        return;
    // The store always keeps one group, so the last one keeps its launcher as well.
    if (m_store.groups().size() <= 1 && m_store.indexOf(group.id) >= 0)
        return;
    m_services.launcherRemoved(group);
    m_store.deleteGroup(group.id);
}

void GroupActions::chooseIcon(const AppGroup& group)
{
    FileChoice choice;
    choice.startFolder = QDir::homePath();
    choice.message = tr("Choose an image for %1").arg(group.name);
    choice.imagesOnly = true;
    const QStringList chosen = choose(choice);
    if (chosen.isEmpty())
        return;
    m_store.setIcon(chosen.first(), group.id);
    m_services.launcherRefresh(group.id);
}

void GroupActions::resetIcon(const QUuid& id)
{
    m_store.clearIcon(id);
    m_services.launcherRefresh(id);
}

void GroupActions::addToDock(const AppGroup& group)
{
    m_services.addToDock(group);
}

void GroupActions::newGroup()
{
    const std::optional<QString> name = m_services.prompt(tr("New group name"), QString());
    if (name)
        m_store.newGroup(*name);
}

void GroupActions::addItems(const QUuid& id)
{
    FileChoice choice;
    choice.startFolder =
        QDir(kApplicationsFolder).exists() ? kApplicationsFolder : kDesktopEntriesFolder;
    choice.multiple = true;
    choice.directories = true;
    for (const QString& path : choose(choice))
        m_store.add(path, id);
}
