#pragma once

#include <QString>
#include <optional>

// Escapes "&", "<" and ">" for element text of hand-written XML.
QString xmlEscape(const QString& text);

// Modal questions asked from the panel; both keep the panel open while they run.
std::optional<QString> promptText(const QString& message, const QString& initial);
bool confirmAction(const QString& message);
