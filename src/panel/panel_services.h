#pragma once

#include "model/app_group.h"

#include <QString>
#include <QStringList>
#include <QUuid>
#include <functional>
#include <optional>

// A file chooser as the panel asks for it.
struct FileChoice {
    QString startFolder;
    QString message;
    bool multiple = false;
    bool directories = false; // folders may be chosen as well as files
    bool imagesOnly = false;
};

// Everything the panel asks of the desktop, the launchers and the delegate, gathered so that
// tests can watch the panel's decisions without starting programs or opening dialogs.
struct PanelServices {
    std::function<void(const QString& path)> open;
    std::function<void(const QString& path)> reveal;
    std::function<std::optional<QString>(const QString& message, const QString& initial)> prompt;
    std::function<bool(const QString& message)> confirm;
    // The chosen paths in the chooser's order; empty when cancelled.
    std::function<QStringList(const FileChoice& choice)> choose;

    std::function<void(const AppGroup& from, const AppGroup& to)> launcherRenamed;
    std::function<void(const AppGroup& group)> launcherRemoved;
    std::function<void(const QUuid& id)> launcherRefresh;
    std::function<void(const AppGroup& group)> addToDock;

    // The shell's own; a panel built without a shell does nothing.
    std::function<void()> hidePanel;
    std::function<void()> showSettings;
    std::function<void()> clearAnchor;
    std::function<void()> resizePanel;
    std::function<void(bool inside)> hoverChanged;
    std::function<void()> quit;

    // The real desktop: GIO, D-Bus, Qt's file dialog and the launchers.
    static PanelServices desktop();
};
