#pragma once

#include <QString>

// Opening an item path the way the desktop does.
namespace ItemOpening {

// A desktop entry starts its application; anything else opens with its default handler.
// Never waits for the program, never hands on DESKTOP_AUTOSTART_ID.
void open(const QString& path);

// Shows the item selected in the file manager, or opens the folder that holds it when no file
// manager answers.
void reveal(const QString& path);

} // namespace ItemOpening
