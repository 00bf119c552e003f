#pragma once

// Makes the panel's painted parts known to screen readers: each item tile as a button with
// its name and press and menu actions, each group tab as a page tab that shows whether it is
// the selected one. Installed once per process; later calls do nothing.
void installPanelAccessibility();
