#include "breeding/BreedingFormat.h"

#include "rabbit/RabbitFormat.h"
#include "records/LineFile.h"
#include "records/RecordText.h"

#include <array>

namespace BreedingFile {

namespace {

struct RowColumn
{
    QLatin1String stem;
    int placeholderLength;
};

// clang-format off
const std::array<RowColumn, RowSize> Columns = {{
    {QLatin1String("Parent"), 16}, {QLatin1String("Color"), 11}, {QLatin1String("Ear"), 6},
    {QLatin1String("Bred"), 6},    {QLatin1String("Kindled"), 6}, {QLatin1String("Born"), 6},
    {QLatin1String("Died"), 6},    {QLatin1String("Fostered"), 6}, {QLatin1String("Bucks"), 6},
    {QLatin1String("Does"), 6},    {QLatin1String("Kept"), 6},  {QLatin1String("Colors"), 22},
}};
// clang-format on

QList<FieldSpec> buildFields()
{
    using RecordText::underscores;
    QList<FieldSpec> f;
    const auto add = [&f](const QString &name, const QString &placeholder) {
        f.append(FieldSpec{int(f.size()), name, placeholder});
    };
    add("RabbitName", underscores(31));
    add("Sex", underscores(9));
    add("Color", underscores(13));
    add("EarNumber", underscores(9));
    add("RegNumber", underscores(9));
    for (int row = 1; row <= RowCount; ++row) {
        Q_ASSERT(f.size() == rowLine(row, RowField::Parent));
        for (const RowColumn &column : Columns)
            add(column.stem + QString::number(row), underscores(column.placeholderLength));
    }
    add("MainRabFile", RecordText::None);
    for (int row = 1; row <= RowCount; ++row)
        add(QStringLiteral("Parent%1RabFile").arg(row), RecordText::None);
    Q_ASSERT(f.size() == LineCount);

    // The names a breeder knows the lines by: the mate's and the litter's of a row.
    const std::pair<int, const char *> named[] = {{RabbitName, "Name"},
                                                  {Sex, "Sex"},
                                                  {Color, "Color"},
                                                  {EarNumber, "Ear number"},
                                                  {RegNumber, "Registration number"},
                                                  {MainRabFile, "Rabbit's file"}};
    for (const auto &[line, label] : named)
        f[line].label = QString::fromLatin1(label);
    const char *const columns[RowSize] = {"Mate %1's name", "Mate %1's color",    "Mate %1's ear number",
                                          "Litter %1 bred", "Litter %1 kindled",  "Litter %1 born",
                                          "Litter %1 died", "Litter %1 fostered", "Litter %1 bucks",
                                          "Litter %1 does", "Litter %1 kept",     "Litter %1 colors"};
    for (int row = 1; row <= RowCount; ++row) {
        for (int k = 0; k < RowSize; ++k)
            f[rowLine(row, RowField(k))].label = QString::fromLatin1(columns[k]).arg(row);
        f[mateRabFile(row)].label = QStringLiteral("Mate %1's file").arg(row);
    }
    return f;
}

} // namespace

QLatin1String rowFieldStem(RowField field)
{
    return Columns.at(std::size_t(field)).stem;
}

QList<LinePair> rabbitLines(int position)
{
    if (position == SubjectPosition) {
        return {{RabbitFile::RabbitName, RabbitName},
                {RabbitFile::EarNumber, EarNumber},
                {RabbitFile::RegNumber, RegNumber},
                {RabbitFile::Sex, Sex},
                {RabbitFile::Color, Color}};
    }
    if (!isRow(position))
        return {};
    return {{RabbitFile::RabbitName, rowLine(position, RowField::Parent)},
            {RabbitFile::EarNumber, rowLine(position, RowField::Ear)},
            {RabbitFile::Color, rowLine(position, RowField::Color)}};
}

const LineFormat &format()
{
    static const LineFormat layout(buildFields(), {});
    return layout;
}

LineRecord newRecord()
{
    return LineRecord(format());
}

LineRecord read(const QString &path)
{
    return parse(LineFile::read(path));
}

void write(const LineRecord &record, const QString &path)
{
    record.toLines().write(path);
}

} // namespace BreedingFile
