#pragma once

#include "../model/store_fixture.h"
#include "panel/panel_services.h"
#include "panel/panel_state.h"
#include "panel/panel_view.h"

#include <QStringList>
#include <memory>

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

// A store over temporary files and a panel on it whose desktop is a ServiceLog.
class PanelFixture : public StoreFixture {
public:
    ServiceLog log;

    PanelView& panel(Store& store, bool show = true)
    {
        m_view = std::make_unique<PanelView>(store);
        m_view->setServices(log.services());
        m_view->resize(m_view->panelSize());
        if (show) {
            m_view->show();
            QCoreApplication::processEvents(); // scroll bars settle one turn after a resize
        }
        return *m_view;
    }
    void closePanel() { m_view.reset(); }

    // Items named as the desktop would show them: "<name>.app" folders under one scratch folder.
    QString app(const QString& name) const
    {
        return makeItem(QStringLiteral("Applications/") + name + QStringLiteral(".app/"));
    }
    QStringList apps(int count, const QString& prefix = QStringLiteral("Item")) const
    {
        QStringList paths;
        for (int i = 0; i < count; ++i)
            paths << app(prefix + QString::number(i + 1));
        return paths;
    }

private:
    std::unique_ptr<PanelView> m_view;
};

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>

// Delivers one step of a drag to `target` as Qt would, and says whether it was taken.
inline bool sendDrag(QWidget* target, QEvent::Type type, const QPoint& pos, const QMimeData* mime)
{
    if (type == QEvent::DragLeave) {
        QDragLeaveEvent leave;
        QCoreApplication::sendEvent(target, &leave);
        return leave.isAccepted();
    }
    if (type == QEvent::DragEnter) {
        QDragEnterEvent enter(pos, Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, mime,
                              Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        return enter.isAccepted();
    }
    if (type == QEvent::DragMove) {
        QDragMoveEvent move(pos, Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, mime,
                            Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &move);
        return move.isAccepted();
    }
    QDropEvent drop(QPointF(pos), Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, mime,
                    Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}
