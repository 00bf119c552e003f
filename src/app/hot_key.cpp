#include "app/hot_key.h"

#include "app/notifications.h"
#include "platform/desktop.h"

#include <memory>

namespace {
// The registered key; made (and its event filter installed) on the first apply().
std::unique_ptr<GlobalShortcut> g_shortcut;
bool g_active = false;
bool g_applied = false;
} // namespace

const QList<HotKeyPreset> HotKey::presets = {
    {QStringLiteral(QT_TRANSLATE_NOOP("HotKey", "Ctrl+Alt+Space")), 49, 0x1800},
    {QStringLiteral(QT_TRANSLATE_NOOP("HotKey", "Ctrl+Space")), 49, 0x1000},
    {QStringLiteral(QT_TRANSLATE_NOOP("HotKey", "Alt+Space")), 49, 0x800},
    {QStringLiteral(QT_TRANSLATE_NOOP("HotKey", "Ctrl+Alt+D")), 2, 0x1800},
    {QStringLiteral(QT_TRANSLATE_NOOP("HotKey", "Super+Alt+D")), 2, 0x900},
};

const HotKeyPreset& HotKey::presetAt(int index)
{
    if (index < 0 || index >= presets.size())
        index = 0;
    return presets.at(index);
}

void HotKey::apply(int index)
{
    const HotKeyPreset& preset = presetAt(index);
    if (!g_shortcut) {
        g_shortcut = Desktop::makeGlobalShortcut();
        g_shortcut->pressed = [] { NotificationCenter::instance().post(dockHotKey); };
    }
    g_active = g_shortcut->grab(preset.key, preset.mods);
    g_applied = true;
}

bool HotKey::isActive()
{
    return g_active;
}

bool HotKey::isRefused()
{
    return g_applied && !g_active;
}
