// Where Fauxlarm finds its window module: beside the program first (a build tree, or a
// copy that carries it along), then in the "halvane" folder of an installation's library
// folder, found relative to the program so that an installation can be moved. The
// exchange library is looked for the same way (Halvane3Library).
#pragma once

#include <QString>
#include <QStringList>

// Folders that may hold the window module, in the order to look; each ends with "/".
QStringList ModuleFolders(const QString& programFolder);
