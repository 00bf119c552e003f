#pragma once

#include "panel/panel_services.h"

#include <QStringList>

// Runs a modal file chooser as asked, brought to the front; the chosen paths in order, or
// nothing when cancelled.
QStringList runFileChooser(const FileChoice& choice);
