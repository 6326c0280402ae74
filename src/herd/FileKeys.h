#pragma once

#include <QHash>
#include <QString>

// Which file a link leads to, each spelling resolved on the disk once: the charts and
// rabbit files of a herd name the same ancestors again and again. The keys are those
// of Check Inbreeding (Inbreeding::fileKey). One object serves one thread at a time
// and is meant for one reading of a herd: a file renamed meanwhile keeps its old key.
class FileKeys
{
public:
    QString of(const QString &path);

private:
    QHash<QString, QString> m_keys;
};
