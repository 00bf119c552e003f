#pragma once

#include <QList>

class QAction;
class QObject;

// The Edit entries, "Undo" (Ctrl+Z) to "Select All" (Ctrl+A), each sent to the focused text
// field of whichever window of ours is active.
namespace EditActions {

QList<QAction*> make(QObject* parent);

} // namespace EditActions
