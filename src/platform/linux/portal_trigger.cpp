#include "platform/linux/portal_trigger.h"

#include <QStringList>

namespace {

QString keyName(std::uint32_t virtualKey)
{
    switch (virtualKey) {
    case 49: return QStringLiteral("space");
    case 2: return QStringLiteral("d");
    default: return {};
    }
}

} // namespace

QString PortalTrigger::text(std::uint32_t virtualKey, std::uint32_t mods)
{
    const QString key = keyName(virtualKey);
    if (key.isEmpty())
        return {};
    // In the order the preset names use, so "Super+Alt+D" reads "LOGO+ALT+d".
    const std::pair<std::uint32_t, const char*> modifiers[] = {
        {0x1000, "CTRL"}, {0x100, "LOGO"}, {0x800, "ALT"}, {0x200, "SHIFT"}};
    QStringList parts;
    for (const auto& [mask, name] : modifiers) {
        if (mods & mask)
            parts.append(QLatin1String(name));
    }
    parts.append(key);
    return parts.join(QLatin1Char('+'));
}
