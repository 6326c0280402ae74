#pragma once

#include <QHash>
#include <QMutex>
#include <QString>

// Which file a link leads to, each spelling resolved on the disk once: the charts and
// rabbit files of a herd name the same ancestors again and again. The keys are those
// of Check Inbreeding (Inbreeding::fileKey). Threads may share one object. It is meant
// for one reading of a herd: a file renamed meanwhile keeps its old key.
class FileKeys
{
public:
    QString of(const QString &path);

private:
    QMutex m_lock; // guards m_keys
    QHash<QString, QString> m_keys;
};
