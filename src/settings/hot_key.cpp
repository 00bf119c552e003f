#include "settings/hot_key.h"

#include "platform/desktop.h"

const QList<HotKeyPreset> HotKey::presets = {
    {QStringLiteral(QT_TRANSLATE_NOOP("HotKey", "Ctrl+Alt+Space")), 49, 0x1800},
    {QStringLiteral(QT_TRANSLATE_NOOP("HotKey", "Ctrl+Space")), 49, 0x1000},
    {QStringLiteral(QT_TRANSLATE_NOOP("HotKey", "Alt+Space")), 49, 0x800},
    {QStringLiteral(QT_TRANSLATE_NOOP("HotKey", "Ctrl+Alt+D")), 2, 0x1800},
    {QStringLiteral(QT_TRANSLATE_NOOP("HotKey", "Super+Alt+D")), 2, 0x900},
};

HotKey::HotKey(QObject* parent)
    : QObject(parent)
{
}

HotKey::~HotKey() = default;

const HotKeyPreset& HotKey::presetAt(int index)
{
    if (index < 0 || index >= presets.size())
        index = 0;
    return presets.at(index);
}

void HotKey::apply(int index)
{
    const HotKeyPreset& preset = presetAt(index);
    if (!m_shortcut) {
        m_shortcut = Desktop::makeGlobalShortcut();
        m_shortcut->pressed = [this] { Q_EMIT pressed(); };
    }
    m_active = m_shortcut->grab(preset.key, preset.mods);
    m_applied = true;
}
