#include "settings/settings_view.h"

#include "platform/desktop.h"
#include "platform/login_item.h"
#include "settings/hot_key.h"
#include "settings/preferences.h"
#include "settings/update_checker.h"
#include "settings/web_address.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QVBoxLayout>

namespace {

// The negative-text red of the common Linux themes, readable on light and dark windows.
const QColor errorRed(0xda, 0x44, 0x53);

void makeCaption(QLabel* label)
{
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * 0.85);
    label->setFont(font);
}

void setTextColour(QLabel* label, const QColor& colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

} // namespace

SettingsView::SettingsView(const HotKey* hotKey, QWidget* parent)
    : QWidget(parent)
    , m_registeredKey(hotKey)
{
    auto* layout = new QVBoxLayout(this);
    auto* general = new QGroupBox(tr("General"), this);
    auto* about = new QGroupBox(tr("About"), this);
    buildGeneral(general);
    buildAbout(about);
    layout->addWidget(general);
    layout->addWidget(about);
    layout->addStretch(1);

    colourCaptions();
    readPreferences();
    readLoginStatus();
    showUpdates();
}

void SettingsView::colourCaptions()
{
    setTextColour(m_loginFailed, errorRed);
    setTextColour(m_updateStatus, palette().color(QPalette::PlaceholderText));
}

void SettingsView::buildGeneral(QWidget* box)
{
    auto* form = new QFormLayout(box);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);

    m_launchAtLogin = new QCheckBox(tr("Launch at login"), box);
    m_launchAtLogin->setObjectName(QStringLiteral("launchAtLogin"));
    m_launchAtLogin->setEnabled(LoginItem::isAvailable());
    // Only a click changes the registration; the box itself always shows the real status.
    connect(m_launchAtLogin, &QCheckBox::clicked, this, [this](bool on) { setLogin(on); });
    form->addRow(m_launchAtLogin);

    m_loginFailed =
        new QLabel(tr("Could not change the autostart entry. Check that ~/.config/autostart can be "
                      "written and try again."),
                   box);
    m_loginFailed->setObjectName(QStringLiteral("loginError"));
    m_loginFailed->setWordWrap(true);
    makeCaption(m_loginFailed);
    // Lined up with the toggle's text, whose failure it explains.
    m_loginFailed->setIndent(style()->pixelMetric(QStyle::PM_IndicatorWidth) +
                             style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing));
    m_loginFailed->setVisible(false);
    form->addRow(m_loginFailed);

    m_hotkey = new QComboBox(box);
    m_hotkey->setObjectName(QStringLiteral("hotkey"));
    for (int index = 0; index < HotKey::presets.size(); ++index)
        m_hotkey->addItem(QCoreApplication::translate(
                              "HotKey", HotKey::presets.at(index).name.toUtf8().constData()),
                          index);
    connect(m_hotkey, &QComboBox::currentIndexChanged, this, [this](int row) {
        const int index = m_hotkey->itemData(row).toInt();
        Preferences::setValue(Preferences::hotkeyIndex, index);
        Q_EMIT hotKeyChosen(index);
        showHotkeyRefusal();
    });
    form->addRow(tr("Hotkey"), m_hotkey);

    // Ctrl+Space (input methods) and Alt+Space (window managers) are often taken already.
    m_hotkeyRefused = new QLabel(box);
    m_hotkeyRefused->setObjectName(QStringLiteral("hotkeyRefused"));
    m_hotkeyRefused->setWordWrap(true);
    makeCaption(m_hotkeyRefused);
    m_hotkeyRefused->setVisible(false);
    form->addRow(QString(), m_hotkeyRefused);
    if (!Desktop::canRegisterGlobalShortcut()) {
        auto* fallback = new QLabel(tr("The desktop does not let Traymate set a global "
                                       "key; bind a shortcut to: traymate --toggle"),
                                    box);
        fallback->setObjectName(QStringLiteral("hotkeyFallback"));
        fallback->setWordWrap(true);
        fallback->setTextInteractionFlags(Qt::TextSelectableByMouse);
        makeCaption(fallback);
        form->addRow(QString(), fallback);
    }

    m_openPanel = new QComboBox(box);
    m_openPanel->setObjectName(QStringLiteral("openPanel"));
    m_openPanel->addItem(tr("Bottom center"), 0);
    m_openPanel->addItem(tr("At mouse"), 1);
    connect(m_openPanel, &QComboBox::currentIndexChanged, this, [this](int row) {
        Preferences::setValue(Preferences::panelPosition, m_openPanel->itemData(row).toInt());
    });
    form->addRow(tr("Open panel"), m_openPanel);

    m_closeAfterLaunch = new QCheckBox(tr("Close after launching"), box);
    m_closeAfterLaunch->setObjectName(QStringLiteral("closeAfterLaunch"));
    connect(m_closeAfterLaunch, &QCheckBox::toggled, this,
            [](bool on) { Preferences::setValue(Preferences::closeAfterLaunch, on); });
    form->addRow(m_closeAfterLaunch);
}

void SettingsView::buildAbout(QWidget* box)
{
    auto* column = new QVBoxLayout(box);

    auto* version = new QLabel(QStringLiteral("Traymate ") + UpdateChecker::current(), box);
    version->setObjectName(QStringLiteral("version"));
    version->setTextInteractionFlags(Qt::TextSelectableByMouse);
    column->addWidget(version);

    m_updateStatus = new QLabel(box);
    m_updateStatus->setObjectName(QStringLiteral("updateStatus"));
    m_updateStatus->setWordWrap(true);
    makeCaption(m_updateStatus);
    column->addWidget(m_updateStatus);

    auto* buttons = new QHBoxLayout;
    auto* check = new QPushButton(tr("Check for updates"), box);
    check->setObjectName(QStringLiteral("checkForUpdates"));
    connect(check, &QPushButton::clicked, this, [] { UpdateChecker::shared().check(); });
    m_download = new QPushButton(tr("Download"), box);
    m_download->setObjectName(QStringLiteral("download"));
    connect(m_download, &QPushButton::clicked, this, &SettingsView::download);
    buttons->addWidget(check, 0, Qt::AlignVCenter);
    buttons->addWidget(m_download, 0, Qt::AlignVCenter);
    buttons->addStretch(1);
    column->addLayout(buttons);

    UpdateChecker& updates = UpdateChecker::shared();
    connect(&updates, &UpdateChecker::statusChanged, this, &SettingsView::showUpdates);
    connect(&updates, &UpdateChecker::latestChanged, this, &SettingsView::showUpdates);
}

void SettingsView::showEvent(QShowEvent* event)
{
    readPreferences();
    readLoginStatus();
    QWidget::showEvent(event);
}

void SettingsView::changeEvent(QEvent* event)
{
    // A new desktop theme brings its own secondary text colour.
    if (event->type() == QEvent::PaletteChange)
        colourCaptions();
    QWidget::changeEvent(event);
}

void SettingsView::readPreferences()
{
    // Out-of-range indexes show what is in effect (the first choice) without rewriting them.
    const QSignalBlocker hotkeyBlocker(m_hotkey);
    const int hotkey = Preferences::intValue(Preferences::hotkeyIndex, 0);
    const int hotkeyRow = m_hotkey->findData(hotkey);
    m_hotkey->setCurrentIndex(hotkeyRow >= 0 ? hotkeyRow : 0);
    showHotkeyRefusal();

    const QSignalBlocker positionBlocker(m_openPanel);
    const int positionRow =
        m_openPanel->findData(Preferences::intValue(Preferences::panelPosition, 0));
    m_openPanel->setCurrentIndex(positionRow >= 0 ? positionRow : 0);

    const QSignalBlocker closeBlocker(m_closeAfterLaunch);
    m_closeAfterLaunch->setChecked(
        Preferences::boolValue(Preferences::closeAfterLaunch).value_or(true));
}

void SettingsView::readLoginStatus()
{
    m_loginOn = LoginItem::isEnabled();
    showLogin();
}

void SettingsView::setLogin(bool on)
{
    m_loginError = false;
    const bool changed = on ? LoginItem::registerItem() : LoginItem::unregisterItem();
    m_loginError = !changed;
    readLoginStatus();
}

void SettingsView::showLogin()
{
    m_launchAtLogin->setChecked(m_loginOn);
    m_loginFailed->setVisible(m_loginError);
}

void SettingsView::showHotkeyRefusal()
{
    // Where no key can be set at all, the fallback caption already says what to do.
    const bool refused =
        Desktop::canRegisterGlobalShortcut() && m_registeredKey && m_registeredKey->isRefused();
    if (refused)
        m_hotkeyRefused->setText(tr("The desktop refused %1: another program (often an input "
                                    "method or the window manager) uses it. Choose another key.")
                                     .arg(m_hotkey->currentText()));
    m_hotkeyRefused->setVisible(refused);
}

void SettingsView::showUpdates()
{
    const UpdateChecker& updates = UpdateChecker::shared();
    m_updateStatus->setText(updates.status());
    m_updateStatus->setVisible(!updates.status().isEmpty());
    m_download->setVisible(updates.latest().has_value());
}

void SettingsView::download()
{
    if (const std::optional<QUrl> page = webAddress(UpdateChecker::shared().downloadURL()))
        QDesktopServices::openUrl(*page);
}
