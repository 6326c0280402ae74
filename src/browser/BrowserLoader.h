#pragma once

#include <QString>

class QWidget;

// The single browser window ("Warrenby No-Frills Browser"), made on first use from
// the browser module. Throws RecordError when the module cannot be loaded.
QWidget *webBrowser();

// Makes the browser go to `address`, then shows it maximised.
void openWebAddress(const QString &address);

// Where the browser module is looked for: beside the installed program
// (../lib/hutchlore from its folder), then in the build tree it was built in.
QStringList browserModulePaths();
