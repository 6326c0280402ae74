#include "records/Csv.h"

#include "records/LineFile.h"

#include <QRegularExpression>

namespace Csv {

namespace {

// A spreadsheet takes a field that begins with "=", "+", "-" or "@" (or a tab or a CR)
// as a formula, and a record from anyone's file could hold one that fetches or runs
// something. A plain number ("-2", "+1.5") or a lone sign is not one.
bool readAsFormula(const QString &text)
{
    if (text.isEmpty() || !QStringView(u"=+-@\t\r").contains(text.front()))
        return false;
    static const QRegularExpression number(QStringLiteral("^[+-]?([0-9]+([.,][0-9]+)?)?$"));
    return !number.match(text).hasMatch();
}

} // namespace

QString field(const QString &raw)
{
    // After an apostrophe, which spreadsheets show as text.
    const QString text = readAsFormula(raw) ? u'\'' + raw : raw;
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
