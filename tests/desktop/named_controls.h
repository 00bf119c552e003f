#pragma once

#include "accessible_tree.h"

#include <QPoint>
#include <QRect>

class DesktopSession;

// A program's tiles, tabs and buttons found on the screen by their names, as a screen reader
// finds them, and clicked there: tests then follow the controls wherever the layout puts them.
// Each lookup waits up to the given time for its control; one that never shows, or shows more
// than once, gives an empty place and a warning that says why.
class NamedControls {
public:
    // Reads the program "traymate" on the accessibility bus that `environment` leads to.
    NamedControls(const DesktopSession& desktop, QProcessEnvironment environment, int timeoutMs);

    QRect placeOf(const QString& role, const QString& name) const;
    QRect tile(const QString& name) const { return placeOf(AccessibleRole::button, name); }
    QRect button(const QString& name) const { return placeOf(AccessibleRole::button, name); }
    QRect tab(const QString& name) const { return placeOf(AccessibleRole::tab, name); }
    QRect toggle(const QString& name) const { return placeOf(AccessibleRole::toggle, name); }

    // Clicks `mouseButton` in the middle of `place`, or of the control; false for no place.
    bool click(const QRect& place, int mouseButton = 1) const;
    bool clickTile(const QString& name, int mouseButton = 1) const;
    bool clickButton(const QString& name, int mouseButton = 1) const;
    bool clickTab(const QString& name, int mouseButton = 1) const;
    bool clickToggle(const QString& name, int mouseButton = 1) const;

    // A point of the one grid shown outside every tile: halfway between its last tile and its
    // bottom, or its middle when it holds none; (-1, -1) when no single grid with room shows.
    QPoint besideTheTiles() const;

private:
    const DesktopSession& m_desktop;
    AccessibleTree m_tree;
    int m_timeoutMs;
};
