#include "platform/desktop_entries.h"

// No desktop entries on this desktop.
namespace DesktopEntries {

std::optional<QString> name(const QString&)
{
    return std::nullopt;
}
QStringList categories(const QString&)
{
    return {};
}
std::optional<QString> value(const QString&, const char*)
{
    return std::nullopt;
}

} // namespace DesktopEntries
