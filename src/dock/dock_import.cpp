#include "dock/dock_import.h"

#include "dock/dock.h"
#include "dock/dock_tiles.h"
#include "dock/launchers.h"
#include "dock/property_list.h"
#include "model/canonical_text.h"
#include "model/store.h"
#include "platform/desktop_entries.h"

#include <QFile>
#include <QHash>
#include <algorithm>
#include <iterator>

namespace {

const QString kOther = QStringLiteral("Other");

// "developer tools" -> "Developer Tools": each word's first character upper case, the rest
// lower case, words being separated by white space.
QString capitalized(const QString& text)
{
    QString result;
    result.reserve(text.size());
    bool wordStart = true;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool pair = text[i].isHighSurrogate() && i + 1 < text.size();
        const QString character = text.mid(i, pair ? 2 : 1);
        if (pair)
            ++i;
        if (character.front().isSpace()) {
            result += character;
            wordStart = true;
            continue;
        }
        result += wordStart ? character.toUpper() : character.toLower();
        wordStart = false;
    }
    return result;
}

QString bundleCategory(const QString& path)
{
    QFile file(path + QStringLiteral("/Contents/Info.plist"));
    if (!file.open(QIODevice::ReadOnly))
        return kOther;
    const PropertyList::Node info = PropertyList::parse(file.readAll());
    std::optional<QString> value = PropertyList::stringAt(info.get(), "LSApplicationCategoryType");
    if (!value)
        return kOther;
    value->remove(QStringLiteral("public.app-category."));
    value->replace(QLatin1Char('-'), QLatin1Char(' '));
    return capitalized(*value);
}

// The App Store name of a freedesktop main category, or nothing for other categories.
std::optional<QString> storeCategory(const QByteArray& mainCategory)
{
    static const QHash<QByteArray, QString> names = {
        {"AudioVideo", QStringLiteral("Music")},
        {"Audio", QStringLiteral("Music")},
        {"Video", QStringLiteral("Video")},
        {"Development", QStringLiteral("Developer Tools")},
        {"Education", QStringLiteral("Education")},
        {"Science", QStringLiteral("Education")},
        {"Game", QStringLiteral("Games")},
        {"Graphics", QStringLiteral("Graphics Design")},
        {"Network", QStringLiteral("Internet")},
        {"Office", QStringLiteral("Productivity")},
        {"Settings", QStringLiteral("Utilities")},
        {"System", QStringLiteral("Utilities")},
        {"Utility", QStringLiteral("Utilities")},
    };
    const auto found = names.constFind(mainCategory);
    if (found == names.constEnd())
        return std::nullopt;
    return *found;
}

// The first main category of the entry's Categories decides.
QString desktopEntryCategory(const QString& path)
{
    for (const QString& category : DesktopEntries::categories(path)) {
        if (std::optional<QString> name = storeCategory(category.toUtf8()))
            return *name;
    }
    return kOther;
}

// Plain code-point order; QString's own comparison orders UTF-16 units.
bool codePointLess(const QString& a, const QString& b)
{
    return a.toUcs4() < b.toUcs4();
}

} // namespace

namespace DockImport {

QStringList dockApps()
{
    QStringList apps = Dock::current().items();
    apps.removeIf([](const QString& path) { return !isApplicationPath(path); });
    return apps;
}

QString category(const QString& path)
{
    if (path.endsWith(QLatin1String(".desktop")))
        return desktopEntryCategory(path);
    return bundleCategory(path);
}

void importDockGrouped(Store& store)
{
    QList<AppGroup> emptied;
    std::copy_if(store.groups().cbegin(), store.groups().cend(), std::back_inserter(emptied),
                 [](const AppGroup& group) { return group.apps.isEmpty(); });
    // The launchers of the empty groups go with them: they are nothing to import.
    QStringList goneLaunchers;
    for (const AppGroup& group : std::as_const(emptied))
        goneLaunchers += Launchers::bundlesOf(group.id);

    QHash<QString, QStringList> table;
    for (const QString& path : dockApps()) {
        if (!goneLaunchers.contains(path))
            table[category(path)].append(path);
    }
    if (table.isEmpty())
        return;

    // As "Delete" does: the launcher first, so that no tile opens a group that is gone.
    for (const AppGroup& group : std::as_const(emptied))
        Launchers::removed(group);

    // One operation, one save: a crash part way can never leave half an import on disk.
    store.changeGroups([&](QList<AppGroup>& groups) {
        const QList<AppGroup> before = groups;
        groups.removeIf([](const AppGroup& group) { return group.apps.isEmpty(); });
        QStringList names = table.keys();
        std::sort(names.begin(), names.end(), codePointLess);
        for (const QString& name : names) {
            const QStringList& paths = table[name];
            const auto existing =
                std::find_if(groups.begin(), groups.end(),
                             [&](const AppGroup& g) { return CanonicalText::equal(g.name, name); });
            if (existing == groups.end()) {
                AppGroup created;
                created.name = name;
                created.apps = paths;
                groups.append(std::move(created));
                continue;
            }
            for (const QString& path : paths) {
                if (!CanonicalText::contains(existing->apps, path))
                    existing->apps.append(path);
            }
        }
        return groups != before;
    });
    const QList<AppGroup>& groups = store.groups();
    store.setSelected(groups.isEmpty() ? std::nullopt : std::optional(groups.first().id));
}

} // namespace DockImport
