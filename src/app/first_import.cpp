#include "app/first_import.h"

#include "model/store.h"
#include "settings/preferences.h"

namespace FirstImport {

bool runOnce(Store& store, const std::function<void()>& importDock)
{
    if (Preferences::boolValue(Preferences::didFirstImport).value_or(false))
        return false;
    const QList<AppGroup>& groups = store.groups();
    if (groups.size() == 1 && groups.first().apps.isEmpty())
        importDock();
    if (!store.saveFailed())
        Preferences::setValue(Preferences::didFirstImport, true);
    return true;
}

} // namespace FirstImport
