#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>

class GlobalShortcut;

// One choice of global hot key. `key` and `mods` keep the original virtual key code and
// modifier mask (command 0x100, shift 0x200, option 0x800, control 0x1000); the platform
// layer maps them to the desktop's own keys.
struct HotKeyPreset {
    QString name;
    std::uint32_t key = 0;
    std::uint32_t mods = 0;
};

// The one system-wide key that toggles the panel.
class HotKey : public QObject {
    Q_OBJECT

public:
    explicit HotKey(QObject* parent = nullptr);
    ~HotKey() override;

    // The choices, in picker order; "hotkeyIndex" stores an index into this list.
    static const QList<HotKeyPreset> presets;

    // The preset `apply()` uses for `index`: out-of-range indexes fall back to 0.
    static const HotKeyPreset& presetAt(int index);

    // Makes the preset at `index` the one registered hot key, releasing the previous one
    // first. A refused registration leaves no hot key and no message.
    void apply(int index);

    // Whether the last apply() got its key from the desktop.
    bool isActive() const { return m_active; }

    // Whether apply() ran and the desktop refused its key (another program holds it).
    bool isRefused() const { return m_applied && !m_active; }

Q_SIGNALS:
    void pressed();

private:
    // Made (and its event filter installed) on the first apply().
    std::unique_ptr<GlobalShortcut> m_shortcut;
    bool m_active = false;
    bool m_applied = false;
};
