#pragma once

#include "../model/store_fixture.h"
#include "panel/panel_view.h"
#include "service_log.h"

#include <QStringList>
#include <memory>

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
