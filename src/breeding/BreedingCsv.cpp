#include "breeding/BreedingCsv.h"

#include "breeding/BreedingFormat.h"
#include "records/FileLink.h"
#include "records/RecordText.h"

namespace BreedingCsv {

using namespace BreedingFile;

namespace {

bool isBlank(const LineRecord &record, int line)
{
    return RecordText::isBlank(record.value(line), record.format().field(line).placeholder);
}

} // namespace

QStringList header()
{
    // As the sheet heads its columns.
    return {QStringLiteral("Sire/Dam"),   QStringLiteral("Color"),        QStringLiteral("Ear #"),
            QStringLiteral("Date Bred"),  QStringLiteral("Date Kindled"), QStringLiteral("Born"),
            QStringLiteral("Died"),       QStringLiteral("Fostered"),     QStringLiteral("Bucks"),
            QStringLiteral("Does"),       QStringLiteral("Kept"),         QStringLiteral("Colors"),
            QStringLiteral("Mate's File")};
}

bool isFilled(const LineRecord &record, int row)
{
    for (int k = 0; k < RowSize; ++k) {
        if (!isBlank(record, rowLine(row, RowField(k))))
            return true;
    }
    return false;
}

Csv::Rows table(const LineRecord &record)
{
    Q_ASSERT(&record.format() == &format());
    Csv::Rows rows{header()};
    for (int row = 1; row <= RowCount; ++row) {
        if (!isFilled(record, row))
            continue;
        QStringList values;
        for (int k = 0; k < RowSize; ++k) {
            const int line = rowLine(row, RowField(k));
            values.append(isBlank(record, line) ? QString() : record.value(line));
        }
        const QString &mate = record.value(mateRabFile(row));
        values.append(FileLink::isLink(mate) ? mate : QString());
        rows.append(values);
    }
    return rows;
}

} // namespace BreedingCsv
