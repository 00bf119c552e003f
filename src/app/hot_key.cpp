#include "app/hot_key.h"

const QList<HotKeyPreset> HotKey::presets = {
    {QStringLiteral("Control+Option+Space"), 49, 0x1800},
    {QStringLiteral("Control+Space"), 49, 0x1000},
    {QStringLiteral("Option+Space"), 49, 0x800},
    {QStringLiteral("Control+Option+D"), 2, 0x1800},
    {QStringLiteral("Command+Option+D"), 2, 0x900},
};

const HotKeyPreset& HotKey::presetAt(int index) {
    if (index < 0 || index >= presets.size())
        index = 0;
    return presets.at(index);
}

void HotKey::apply(int) {}

bool HotKey::isActive() {
    return false;
}
