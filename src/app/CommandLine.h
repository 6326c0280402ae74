#pragma once

#include <QStringList>

class QWidget;

// The record files named on the command line (what a file manager passes on a
// double-click): the paths, without the options; after "--" everything is a path.
QStringList commandLinePaths(const QStringList &arguments);

// Opens each path in a new window of its kind, in order. A path that does not open
// (no such file, unreadable, damaged, or not a record file) is reported in the usual
// message box and the next one is tried.
void openCommandLine(QWidget *frame, const QStringList &paths);
