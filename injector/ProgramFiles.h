// Where Fauxlarm finds the files it loads at run time: beside the program first (a build
// tree, or a copy that carries its library along), then where an installation puts them
// (the library folder, and its "halvane" folder for modules), found relative to the
// program so that an installation can be moved.
#pragma once

#include <QString>
#include <QStringList>

// Folders that may hold the exchange library, in the order to look; each ends with "/".
QStringList LibraryFolders(const QString& programFolder);
// Folders that may hold the window module.
QStringList ModuleFolders(const QString& programFolder);
