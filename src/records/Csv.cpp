#include "records/Csv.h"

#include "records/LineFile.h"

namespace Csv {

QString field(const QString &text)
{
    const bool quote = text.contains(u',') || text.contains(u'"') || text.contains(u'\r') || text.contains(u'\n');
    if (!quote)
        return text;
    QString quoted = text;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QByteArray toBytes(const Rows &rows)
{
    QString text;
    for (const QStringList &row : rows) {
        for (qsizetype i = 0; i < row.size(); ++i) {
            if (i > 0)
                text += u',';
            text += field(row.at(i));
        }
        text += QStringLiteral("\r\n");
    }
    return QByteArrayLiteral("\xEF\xBB\xBF") + text.toUtf8();
}

void write(const QString &path, const Rows &rows)
{
    writeFileBytes(path, toBytes(rows));
}

} // namespace Csv
