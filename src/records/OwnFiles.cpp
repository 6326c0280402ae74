#include "records/OwnFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString ownFilePath(const QString &programDir, const QString &name)
{
    // A build tree is known by what CMake writes into it: its cache at the top, where
    // the program is built, and an install script in every folder below, where the
    // test programs are. Climbing stops at the first folder that is neither, so an
    // installed program never looks above its own folder.
    QDir dir(programDir);
    for (;;) {
        if (QFileInfo(dir.filePath(QStringLiteral("CMakeCache.txt"))).isFile())
            return dir.filePath(QStringLiteral(HUTCHLORE_PLUGIN_BUILD_SUBDIR "/") + name);
        if (!QFileInfo(dir.filePath(QStringLiteral("cmake_install.cmake"))).isFile() || !dir.cdUp())
            break;
    }
    // Installed: the module folder of the program's own prefix, and nowhere else.
    return QDir::cleanPath(QDir(programDir).filePath(QStringLiteral(HUTCHLORE_PLUGIN_RELATIVE "/") + name));
}

QString ownFilePath(const QString &name)
{
    return ownFilePath(QCoreApplication::applicationDirPath(), name);
}
