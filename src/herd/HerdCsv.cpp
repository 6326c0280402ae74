#include "herd/HerdCsv.h"

namespace HerdCsv {

Csv::Rows table(const QList<Herd::Row> &rows)
{
    Csv::Rows table;
    table.reserve(rows.size() + 1);
    table.append(Herd::headings());
    for (const Herd::Row &row : rows) {
        QStringList fields;
        for (int column = 0; column < Herd::File; ++column)
            fields.append(row.text(Herd::Column(column)));
        // A spreadsheet has room for the whole path; the table shows the name only.
        fields.append(row.listed);
        table.append(fields);
    }
    return table;
}

void write(const QString &path, const QList<Herd::Row> &rows)
{
    Csv::write(path, table(rows));
}

} // namespace HerdCsv
