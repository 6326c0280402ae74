#pragma once

#include <QString>

class QWidget;

// The single browser window ("Warrenby No-Frills Browser"), made on first use from
// the browser module. Throws RecordError when the module cannot be loaded.
QWidget *webBrowser();

// Makes the browser go to `address`, then shows it maximised.
void openWebAddress(const QString &address);

// Where the browser module is looked for, decided from the folder the program lies in
// (`programDir`, the running program's by default): when that folder is in a CMake
// build tree, the module built in that tree (lib/hutchlore at its top); otherwise
// only the installed module folder relative to the program (../lib/<arch>/hutchlore).
// Never a folder outside the program's own build tree or prefix.
QStringList browserModulePaths(const QString &programDir);
QStringList browserModulePaths();
