// Does every kind of move, rename and import on a store as fast as it can until it is killed;
// the soak (tests/model/soak_driver.h) kills it at random moments and counts what was lost.
// With "--check" it only starts (which tidies the folder) and exits.
#include "app/first_import.h"
#include "dock/dock_import.h"
#include "dock/dock_preferences.h"
#include "dock/file_dock_preferences.h"
#include "model/store.h"

#include <QCoreApplication>
#include <QRandomGenerator>

namespace {

const QStringList kNames = {"Developer Tools", "Productivity", "Games", "Work", "Internet", "Misc"};

// A group with at least two items, so that moving one out never leaves a group empty (an
// empty group is one the import may remove on purpose).
qsizetype groupWithTwoItems(const Store& store, QRandomGenerator& random)
{
    QList<qsizetype> candidates;
    for (qsizetype i = 0; i < store.groups().size(); ++i) {
        if (store.groups()[i].apps.size() >= 2)
            candidates.append(i);
    }
    return candidates.isEmpty() ? -1 : candidates[random.bounded(int(candidates.size()))];
}

void step(Store& store, QRandomGenerator& random)
{
    const QList<AppGroup>& groups = store.groups();
    const int count = int(groups.size());
    switch (random.bounded(5)) {
    case 0: { // an item dragged over another one of its group
        const qsizetype g = groupWithTwoItems(store, random);
        if (g < 0)
            return;
        const QStringList apps = groups[g].apps;
        store.moveApp(apps[random.bounded(int(apps.size()))],
                      apps[random.bounded(int(apps.size()))], groups[g].id);
        return;
    }
    case 1: { // an item dropped on another group's tab
        const qsizetype g = groupWithTwoItems(store, random);
        const int target = random.bounded(count);
        if (g < 0 || target == g)
            return;
        const QString app = groups[g].apps[random.bounded(int(groups[g].apps.size()))];
        const QUuid to = groups[target].id;
        store.setSelected(groups[g].id);
        store.moveApp(app, to);
        return;
    }
    case 2: // a tab dragged over another one
        store.moveGroup(groups[random.bounded(count)].id, groups[random.bounded(count)].id);
        return;
    case 3: { // a rename from the tab's menu
        const int g = random.bounded(count);
        AppGroup renamed = groups[g];
        renamed.name = kNames[random.bounded(int(kNames.size()))];
        store.setGroup(g, std::move(renamed));
        return;
    }
    default: DockImport::importDockGrouped(store); return;
    }
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() < 4)
        return 2;
    DockPreferences::setCurrent(std::make_unique<FileDockPreferences>(arguments[2]));
    Store store(arguments[1]);
    if (arguments.contains(QStringLiteral("--check")))
        return 0;
    FirstImport::runOnce(store, [&store] { DockImport::importDockGrouped(store); });
    QRandomGenerator random(arguments[3].toUInt());
    for (;;) {
        step(store, random);
        app.processEvents();
    }
}
