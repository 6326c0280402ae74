#include "records/FileLink.h"

#include "records/LineFile.h"

#include <QDir>
#include <QFileInfo>

namespace FileLink {

Resolved resolve(const QString &stored, const QString &holderPath)
{
    // Anything at the stored path, a folder included, is what the link names: reading
    // it gives its own error rather than a file of the same name somewhere else.
    if (holderPath.isEmpty() || stored.isEmpty())
        return {stored};
    const QDir holderDir = QFileInfo(holderPath).absoluteDir();
    if (QFileInfo(stored).isRelative()) {
        // A link without a full path is read from the holder's folder, never from
        // whatever folder the program happens to run in.
        const QString there = holderDir.filePath(stored);
        if (QFileInfo::exists(there))
            return {there, true};
    } else if (QFileInfo::exists(stored)) {
        return {stored};
    }
    const QString name = fileNamePart(stored);
    if (name.isEmpty() || name == u"." || name == u"..")
        return {stored};
    const QString beside = holderDir.filePath(name);
    if (!fileExists(beside))
        return {stored};
    return {beside, true};
}

} // namespace FileLink
