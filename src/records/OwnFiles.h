#pragma once

#include <QString>

// Where the program finds the files that come with it (the browser module, the
// metafile converter): decided at run time from the folder the program lies in, never
// from a path compiled in, so an installed program does not depend on where it was
// built and never loads a file from a folder others may write to.
//
// In a build tree (CMake's cache in the program's folder or, for the test programs,
// in a folder above reached only through folders CMake wrote) that is the tree's
// module folder; anywhere else only the module folder of the program's own prefix.
QString ownFilePath(const QString &programDir, const QString &name);
// The same for the running program.
QString ownFilePath(const QString &name);
