#pragma once

#include <QWidget>

class HotKey;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

// The content of the settings window: launch at login, the hot key, where the panel opens,
// whether it closes after a launch, and the version with the update check. Preferences are
// read from the user defaults whenever the view comes on screen and written on every change.
class SettingsView : public QWidget {
    Q_OBJECT

public:
    // `hotKey` tells whether the desktop refused the chosen key; none shows no refusal.
    explicit SettingsView(const HotKey* hotKey = nullptr, QWidget* parent = nullptr);

    // Registers (true) or unregisters (false) launch at login; the toggle then shows the
    // registration as it really is, and a failure shows the red caption until the next try.
    void setLogin(bool on);

    bool loginOn() const { return m_loginOn; }
    bool loginError() const { return m_loginError; }

Q_SIGNALS:
    // The user chose the preset at `index` (already stored); the owner applies it.
    void hotKeyChosen(int index);

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildGeneral(QWidget* box);
    void buildAbout(QWidget* box);
    void colourCaptions();
    void readPreferences();
    void readLoginStatus();
    void showLogin();
    void showHotkeyRefusal();
    void showUpdates();
    void download();

    const HotKey* m_registeredKey;
    QCheckBox* m_launchAtLogin = nullptr;
    QLabel* m_loginFailed = nullptr;
    QComboBox* m_hotkey = nullptr;
    QLabel* m_hotkeyRefused = nullptr;
    QComboBox* m_openPanel = nullptr;
    QCheckBox* m_closeAfterLaunch = nullptr;
    QLabel* m_updateStatus = nullptr;
    QPushButton* m_download = nullptr;
    bool m_loginOn = false;
    bool m_loginError = false;
};
