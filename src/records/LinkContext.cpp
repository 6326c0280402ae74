#include "records/LinkContext.h"

#include "records/FileLink.h"
#include "records/LineFile.h"
#include "records/RecordError.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

QString LinkContext::pathOf(const QString &stored)
{
    const FileLink::Resolved resolved = FileLink::resolve(stored, m_holderPath);
    if (resolved.elsewhere) {
        const bool noted =
            std::any_of(m_found.cbegin(), m_found.cend(), [&](const Found &f) { return f.stored == stored; });
        if (!noted)
            m_found.append({stored, resolved.path});
    }
    return resolved.path;
}

LineFile LinkContext::read(const QString &stored)
{
    return LineFile::read(pathOf(stored));
}

LineFile LinkContext::readHead(const QString &stored, int lineCount)
{
    return LineFile::readHead(pathOf(stored), lineCount);
}

LineFile LinkContext::readWith(const QString &stored, QString &path,
                               const std::function<LineFile(const QString &)> &read)
{
    if (!stored.isEmpty() && QDir::isAbsolutePath(stored)) {
        path = stored;
        try {
            return read(path);
        } catch (const FileError &) {
            if (QFileInfo::exists(stored))
                throw;
        }
    }
    path = pathOf(stored);
    return read(path);
}

QString LinkContext::message() const
{
    if (m_found.isEmpty())
        return {};
    // Everything found is in the holder's folder.
    const QString holder = fileNamePart(m_holderPath);
    const QString folder = shownPath(QFileInfo(m_holderPath).absolutePath());
    if (m_found.size() == 1) {
        const Found &f = m_found.first();
        return QStringLiteral("%1 was not at %2; found it beside %3 in %4.")
            .arg(fileNamePart(f.path), shownPath(f.stored), holder, folder);
    }
    return QStringLiteral("%1 linked files were not at their stored paths; found them beside %2 in %3.")
        .arg(m_found.size())
        .arg(holder, folder);
}
