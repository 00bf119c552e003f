#pragma once

#include <QString>
#include <QStringList>

class Store;

// Filling groups from the Dock's applications, one group per category.
namespace DockImport {

// The paths of the Dock's applications in its order, duplicates kept; documents and folders
// are left out.
QStringList dockApps();
// The App Store category name of an application (a bundle or a desktop entry): "Other" when it
// declares none the import knows.
QString category(const QString& path);
// Replaces the empty groups by the Dock's applications sorted into one group per category,
// adding to groups of that name; one save. Nothing changes when the Dock has no applications
// to import.
void importDockGrouped(Store& store);

} // namespace DockImport
