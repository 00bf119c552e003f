#include "platform/installed_entries.h"

// No installed entries to watch: nothing is ever covered, so readers look at each entry again.
struct InstalledEntries::Watch {};

InstalledEntries::InstalledEntries(QObject* parent)
    : QObject(parent)
{
}

InstalledEntries::~InstalledEntries() = default;

bool InstalledEntries::covers(const QString&) const
{
    return false;
}

void InstalledEntries::listen() {}
