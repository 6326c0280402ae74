#include "show/ShowFormat.h"

#include "rabbit/RabbitFormat.h"
#include "records/LineFile.h"
#include "records/RecordText.h"

#include <array>

namespace ShowFile {

namespace {

struct RowColumn
{
    QLatin1String stem;
    int placeholderLength;
};

const std::array<RowColumn, RowSize> Columns = {{
    {QLatin1String("Award"), 25},
    {QLatin1String("Date"), 13},
    {QLatin1String("Location"), 31},
    {QLatin1String("Competitors"), 13},
}};

QList<FieldSpec> buildFields()
{
    using RecordText::underscores;
    QList<FieldSpec> f;
    const auto add = [&f](const QString &name, const QString &placeholder) {
        f.append(FieldSpec{int(f.size()), name, placeholder});
    };
    add("RabbitName", underscores(34));
    add("EarNumber", underscores(9));
    add("RegNumber", underscores(9));
    add("Legs", underscores(9));
    for (int row = 1; row <= RowCount; ++row) {
        Q_ASSERT(f.size() == rowLine(row, RowField::Award));
        for (const RowColumn &column : Columns)
            add(column.stem + QString::number(row), underscores(column.placeholderLength));
    }
    add("MainRabFile", RecordText::None);
    // Checked by parse(): "None" is allowed besides numbers.
    add("WinningsNum", NoRow);
    add("Sex", underscores(9));
    add("Color", underscores(22));
    Q_ASSERT(f.size() == LineCount);

    // The names a breeder knows the lines by.
    const std::pair<int, const char *> named[] = {
        {RabbitName, "Name"},
        {EarNumber, "Ear number"},
        {RegNumber, "Registration number"},
        {Legs, "Legs"},
        {MainRabFile, "Rabbit's file"},
        {WinningsNum, "Placing shown as winnings"},
        {Sex, "Sex"},
        {Color, "Color"},
    };
    for (const auto &[line, label] : named)
        f[line].label = QString::fromLatin1(label);
    const char *const columns[RowSize] = {"award", "date", "location", "competitors"};
    for (int row = 1; row <= RowCount; ++row)
        for (int k = 0; k < RowSize; ++k)
            f[rowLine(row, RowField(k))].label =
                QStringLiteral("Placing %1 %2").arg(row).arg(QLatin1String(columns[k]));
    return f;
}

} // namespace

QLatin1String rowFieldStem(RowField field)
{
    return Columns.at(std::size_t(field)).stem;
}

QList<LinePair> rabbitLines()
{
    return {{RabbitFile::RabbitName, RabbitName},
            {RabbitFile::EarNumber, EarNumber},
            {RabbitFile::RegNumber, RegNumber},
            {RabbitFile::Sex, Sex},
            {RabbitFile::Color, Color}};
}

const LineFormat &format()
{
    static const LineFormat layout(buildFields(), {Sex});
    return layout;
}

LineRecord newRecord()
{
    return LineRecord(format());
}

std::optional<int> chosenRow(const QString &text)
{
    if (text == NoRow)
        return std::nullopt;
    const int row = toInteger(text);
    if (!isRow(row))
        return std::nullopt;
    return row;
}

QString chosenRowText(std::optional<int> row)
{
    return row ? fromInteger(*row) : NoRow;
}

LineRecord parse(const LineFile &file)
{
    LineRecord record = LineRecord::parse(format(), file);
    chosenRow(record.value(WinningsNum));
    return record;
}

LineRecord loadedState(const LineRecord &parsed, const LineRecord &before)
{
    Q_ASSERT(&parsed.format() == &format() && &before.format() == &format());
    LineRecord state = before;
    for (int line = 0; line < parsed.present(); ++line)
        state.setValue(line, parsed.value(line));
    state.setValue(WinningsNum, chosenRowText(chosenRow(parsed.value(WinningsNum))));
    return state;
}

LineRecord read(const QString &path)
{
    return loadedState(parse(LineFile::read(path)), newRecord());
}

void write(const LineRecord &record, const QString &path)
{
    record.toLines().write(path);
}

namespace {

// The summary from whatever holds the lines; `lineAt` throws for a missing one.
template <typename LineAt> std::optional<QString> summaryOf(LineAt lineAt)
{
    const std::optional<int> row = chosenRow(lineAt(WinningsNum));
    if (!row)
        return std::nullopt;
    const auto filled = [&](RowField field) -> std::optional<QString> {
        const int line = rowLine(*row, field);
        const QString &text = lineAt(line);
        if (text == format().field(line).placeholder)
            return std::nullopt;
        return text;
    };
    QString summary;
    if (const auto award = filled(RowField::Award))
        summary += *award;
    if (const auto date = filled(RowField::Date))
        summary += QStringLiteral(" on ") + *date;
    if (const auto location = filled(RowField::Location))
        summary += QStringLiteral(" at ") + *location;
    if (const auto competitors = filled(RowField::Competitors))
        summary += QStringLiteral(" against ") + *competitors + QStringLiteral(" opponents");
    if (summary.isEmpty())
        return std::nullopt;
    return summary;
}

} // namespace

std::optional<QString> winningsSummary(const LineRecord &show)
{
    Q_ASSERT(&show.format() == &format());
    return summaryOf([&](int line) -> const QString & { return show.value(line); });
}

std::optional<QString> winningsSummary(const LineFile &show)
{
    return summaryOf([&](int line) -> const QString & { return show.at(line); });
}

} // namespace ShowFile
