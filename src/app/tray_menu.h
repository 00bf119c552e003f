#pragma once

#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <QUuid>

class QAction;
class QMenu;
class Store;

// The tray icon's menu. Some hosts (Ubuntu's AppIndicator) open it on a left click and send no
// activation, so it reaches everything: the full panel, each group, the settings and quitting.
// The group entries follow the store.
class TrayMenu : public QObject {
    Q_OBJECT

public:
    explicit TrayMenu(Store& store, QObject* parent = nullptr);
    ~TrayMenu() override;

    QMenu* menu() const { return m_menu; }

Q_SIGNALS:
    void panelRequested();
    void groupRequested(const QUuid& id);
    void settingsRequested();
    void quitRequested();

private:
    void showGroups();

    Store& m_store;
    QMenu* m_menu = nullptr; // no parent: a QMenu takes only a widget
    QAction* m_groupsEnd = nullptr;
    QList<QAction*> m_groupEntries;
    // What the group entries show, so a change elsewhere in the store leaves them alone (each
    // rebuild is a layout update the host has to fetch again).
    QList<QPair<QUuid, QString>> m_shown;
};
