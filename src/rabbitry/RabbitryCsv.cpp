#include "rabbitry/RabbitryCsv.h"

#include "rabbit/RabbitFormat.h"
#include "records/LineFile.h"
#include "records/RecordError.h"

#include <array>

namespace RabbitryCsv {

namespace {

// The rabbit file lines of the columns before the path.
constexpr std::array<int, 6> Columns = {RabbitFile::RabbitName, RabbitFile::EarNumber, RabbitFile::RegNumber,
                                        RabbitFile::Sex,        RabbitFile::Color,     RabbitFile::Breed};

// A message box stays readable: the rest is counted.
constexpr qsizetype NamedFiles = 10;

} // namespace

QStringList header()
{
    return {QStringLiteral("Name"), QStringLiteral("Ear Number"), QStringLiteral("Registration Number"),
            QStringLiteral("Sex"),  QStringLiteral("Color"),      QStringLiteral("Breed"),
            QStringLiteral("File")};
}

QStringList rowOf(const QString &rabbitPath)
{
    const LineFile file = LineFile::read(rabbitPath);
    const LineFormat &format = RabbitFile::format();
    // Only a whole rabbit file is taken: any text file would otherwise give a row.
    format.linesUsed(file.count());
    QStringList row;
    for (const int line : Columns) {
        const QString &value = file.at(line);
        row.append(RecordText::isBlank(value, format.field(line).placeholder) ? QString() : value);
    }
    row.append(rabbitPath);
    return row;
}

Table table(const QStringList &rabbits)
{
    Table result;
    result.rows.append(header());
    for (const QString &path : rabbits) {
        if (path.isEmpty())
            continue;
        try {
            result.rows.append(rowOf(path));
        } catch (const RecordError &) {
            QStringList row(Columns.size());
            row.append(path);
            result.rows.append(row);
            result.unreadable.append(path);
        }
    }
    return result;
}

QString unreadableMessage(const QStringList &paths)
{
    QStringList shown;
    for (qsizetype i = 0; i < std::min(paths.size(), NamedFiles); ++i)
        shown.append(shownPath(paths.at(i)));
    if (paths.size() > NamedFiles)
        shown.append(QStringLiteral("and %1 more").arg(paths.size() - NamedFiles));
    return QStringLiteral("These rabbit files could not be read; their rows hold only the file:\n") + shown.join(u'\n');
}

} // namespace RabbitryCsv
