#pragma once

#include "model/app_group.h"
#include "panel/panel_services.h"

#include <QCoreApplication>
#include <QUuid>

class Store;

// What the panel's group menu and footer do to groups. Each action asks the user first, then
// changes the store and the group's Dock launcher in the order that keeps the two in step.
// It keeps its own copy of the services, so it may outlive the view that started it: a
// prompt runs the event loop, and the panel may be replaced meanwhile.
class GroupActions {
    Q_DECLARE_TR_FUNCTIONS(GroupActions)

public:
    GroupActions(Store& store, PanelServices services);

    // The group as the store holds it now, else `shown` (a menu built before a change).
    AppGroup latest(const AppGroup& shown) const;

    void rename(const QUuid& id);
    // The last group is never deleted; a deleted group's launcher goes before the group.
    void remove(const AppGroup& group);
    void chooseIcon(const AppGroup& group);
    void resetIcon(const QUuid& id);
    void addToDock(const AppGroup& group);
    void newGroup();
    // Asks for files and folders and adds them to the group `id`.
    void addItems(const QUuid& id);

private:
    QStringList choose(const FileChoice& choice) const;

    Store& m_store;
    PanelServices m_services;
};
