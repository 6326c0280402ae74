#include "herd/FileKeys.h"

#include "pedigree/Inbreeding.h"

QString FileKeys::of(const QString &path)
{
    {
        QMutexLocker lock(&m_lock);
        auto found = m_keys.constFind(path);
        if (found != m_keys.cend())
            return *found;
    }
    // Looked up unlocked: two threads may both look, and both find the same.
    const QString key = Inbreeding::fileKey(path);
    QMutexLocker lock(&m_lock);
    m_keys.insert(path, key);
    return key;
}
