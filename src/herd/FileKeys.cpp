#include "herd/FileKeys.h"

#include "pedigree/Inbreeding.h"

QString FileKeys::of(const QString &path)
{
    auto found = m_keys.constFind(path);
    if (found != m_keys.cend())
        return *found;
    return *m_keys.insert(path, Inbreeding::fileKey(path));
}
