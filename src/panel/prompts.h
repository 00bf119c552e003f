#pragma once

#include <QString>
#include <optional>

// The two modal questions asked from the panel; both keep the panel open while they run and
// come up above it, in front.

// The text typed, without spaces and tabs at either end; nothing when cancelled or blank.
std::optional<QString> promptText(const QString& message, const QString& initial);
// True only when the user chose Delete.
bool confirmAction(const QString& message);
