#pragma once

#include "model/app_group.h"
#include "panel/panel_services.h"
#include "panel/panel_state.h"

#include <QList>
#include <QStringList>
#include <optional>
#include <utility>

// Stands in for the desktop: records what the panel asks for, in order, and answers prompts,
// confirmations and choosers as a test sets them up.
struct ServiceLog {
    QStringList calls;
    std::optional<QString> promptAnswer;
    bool confirmAnswer = true;
    QStringList chosen;
    QList<FileChoice> choices;
    QList<bool> keptOpenWhileChoosing;
    QList<std::pair<AppGroup, AppGroup>> renames;
    QList<bool> hovers; // apart from `calls`: the pointer may cross the window at any time

    PanelServices services()
    {
        PanelServices s;
        s.open = [this](const QString& path) { calls << QStringLiteral("open ") + path; };
        s.reveal = [this](const QString& path) { calls << QStringLiteral("reveal ") + path; };
        s.prompt = [this](const QString& message, const QString& initial) {
            calls << QStringLiteral("prompt ") + message + QStringLiteral(" | ") + initial;
            return promptAnswer;
        };
        s.confirm = [this](const QString& message) {
            calls << QStringLiteral("confirm ") + message;
            return confirmAnswer;
        };
        s.choose = [this](const FileChoice& choice) {
            choices << choice;
            keptOpenWhileChoosing << PanelState::keepOpen;
            calls << QStringLiteral("choose");
            return chosen;
        };
        s.launcherRenamed = [this](const AppGroup& from, const AppGroup& to) {
            renames.append({from, to});
            calls << QStringLiteral("renamed ") + from.name + QStringLiteral(" -> ") + to.name;
        };
        s.launcherRemoved = [this](const AppGroup& g) {
            calls << QStringLiteral("removed ") + g.name;
        };
        s.launcherRefresh = [this](const QUuid& id) {
            calls << QStringLiteral("refresh ") + groupIdText(id);
        };
        s.addToDock = [this](const AppGroup& g) { calls << QStringLiteral("addToDock ") + g.name; };
        s.hidePanel = [this] { calls << QStringLiteral("hide"); };
        s.showSettings = [this] { calls << QStringLiteral("settings"); };
        s.clearAnchor = [this] { calls << QStringLiteral("clearAnchor"); };
        s.resizePanel = [this] { calls << QStringLiteral("resize"); };
        s.hoverChanged = [this](bool inside) { hovers << inside; };
        s.quit = [this] { calls << QStringLiteral("quit"); };
        return s;
    }
};
