#!/usr/bin/python3
"""Prints what a screen reader finds of one application over AT-SPI.

Usage: atspi_tree.py APPLICATION SECONDS [--showing]
Waits up to SECONDS for an application of that name (any case) on the accessibility bus,
then prints one line per object of its windows: depth, role, name, the states and actions
a screen reader announces, and the object's place on the screen as x,y,width,height (empty
for an object without one), separated by tabs. With --showing, objects that are not on the
screen are left out with everything inside them. Exits 2 when the application never shows up.
"""
import sys
import time

import pyatspi

STATES = {
    pyatspi.STATE_SELECTED: "selected",
    pyatspi.STATE_SELECTABLE: "selectable",
    pyatspi.STATE_FOCUSED: "focused",
    pyatspi.STATE_FOCUSABLE: "focusable",
    pyatspi.STATE_SHOWING: "showing",
}


def find_application(name, seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for index in range(desktop.childCount):
            app = desktop.getChildAtIndex(index)
            if app is not None and (app.name or "").lower() == name.lower():
                return app
        time.sleep(0.2)
    return None


def actions_of(node):
    try:
        action = node.queryAction()
    except NotImplementedError:
        return []
    return [action.getName(i) for i in range(action.nActions)]


def place_of(node):
    try:
        box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    except NotImplementedError:
        return ""
    return ",".join(str(value) for value in (box.x, box.y, box.width, box.height))


def line(node, depth):
    states = node.getState()
    shown = [word for state, word in STATES.items() if states.contains(state)]
    return "\t".join([str(depth), node.getRoleName(), node.name or "", ",".join(shown),
                      ",".join(actions_of(node)), place_of(node)])


def walk(node, depth, showing_only, out):
    out.append(line(node, depth))
    for index in range(node.childCount):
        child = node.getChildAtIndex(index)
        if child is None:
            continue
        if showing_only and not child.getState().contains(pyatspi.STATE_SHOWING):
            continue
        walk(child, depth + 1, showing_only, out)


def main():
    app = find_application(sys.argv[1], float(sys.argv[2]))
    if app is None:
        print("no application named " + sys.argv[1], file=sys.stderr)
        return 2
    lines = []
    walk(app, 0, "--showing" in sys.argv[3:], lines)
    print("\n".join(lines))
    return 0


if __name__ == "__main__":
    sys.exit(main())
