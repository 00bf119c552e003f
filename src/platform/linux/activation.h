#pragma once

#include <QString>

class QWindow;

// Focus for windows shown on another process's behalf: the activation token or startup id
// that process was launched with, handed on to the desktop.
namespace Activation {

// $XDG_ACTIVATION_TOKEN, $DESKTOP_STARTUP_ID, or on an X display a startup id made now.
QString startupToken();
void prepare(QWindow* window, const QString& token);
void complete(QWindow* window, const QString& token);

} // namespace Activation
