#pragma once

#include <QString>

// Escapes "&", "<" and ">" for element text of hand-written XML.
QString xmlEscape(const QString& text);

