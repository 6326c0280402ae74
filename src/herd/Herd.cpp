#include "herd/Herd.h"

#include "herd/FileKeys.h"
#include "herd/RecordLines.h"
#include "pedigree/Inbreeding.h"
#include "pedigree/PedigreeFormat.h"
#include "rabbit/RabbitFormat.h"
#include "rabbitry/RabbitryFormat.h"
#include "records/FileLink.h"
#include "records/LineFile.h"
#include "records/LinkContext.h"
#include "records/RecordError.h"
#include "show/ShowFormat.h"

#include <array>

namespace Herd {

namespace {

bool isOneOf(const QString &text, std::initializer_list<const char *> words)
{
    const QString t = text.trimmed();
    for (const char *word : words)
        if (t.compare(QLatin1String(word), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// A link worth following: not "None", and not blank (an emptied line).
bool linked(const QString &stored)
{
    return FileLink::isLink(stored) && !stored.trimmed().isEmpty();
}

QString valueOf(const LineFile &file, const LineFormat &format, int line)
{
    const QString &value = file.at(line);
    if (RecordText::isBlank(value, format.field(line).placeholder))
        return {};
    return excerpt(value.trimmed(), MaxValueChars);
}

QString linkAt(const LineFile &file, int line)
{
    return line < file.count() ? file.at(line) : FileLink::none();
}

// A rabbit file too short for its own layout: the message says which file and why.
QString shortFileMessage(const QString &path, const RecordError &error)
{
    return QStringLiteral("\"%1\" is not a whole rabbit file (%2).").arg(shownPath(path), error.message());
}

void readShow(Row &row, LinkContext &links)
{
    QString path;
    try {
        // The chosen row's number too, which parsing checks.
        static constexpr int Wanted[] = {ShowFile::Legs, ShowFile::WinningsNum};
        static const RecordLines::Selection Lines(ShowFile::format(), Wanted);
        const LineRecord show = ShowFile::parse(
            links.readWith(row.showLink, path, [](const QString &file) { return RecordLines::read(file, Lines); }));
        const QString &legs = show.value(ShowFile::Legs);
        if (!RecordText::isBlank(legs, ShowFile::format().field(ShowFile::Legs).placeholder))
            row.legs = excerpt(legs.trimmed(), MaxValueChars);
    } catch (const RecordError &e) {
        row.notes.append(linkedFileProblem(QStringLiteral("Show record"), path, e));
    }
}

void readPedigree(Row &row, LinkContext &links, FileKeys *keys)
{
    QString path;
    try {
        // Check Inbreeding's figure: it reads names, ears and links only, which parsing
        // gives as the window holds them (lines an older file lacks at their defaults).
        const LineRecord chart = PedigreeFile::parse(links.readWith(
            row.pedigreeLink, path, [](const QString &file) { return RecordLines::read(file, RecordLines::chart()); }));
        Inbreeding::FileKey keyOf;
        if (keys)
            keyOf = [keys](const QString &link) { return keys->of(link); };
        row.coi = Inbreeding::compute(chart, keyOf).coefficient;
    } catch (const RecordError &e) {
        row.notes.append(linkedFileProblem(QStringLiteral("Pedigree"), path, e));
    }
}

int compareText(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive);
}

template <class T> int compareValues(const T &a, const T &b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

} // namespace

Sex sexOf(const QString &text)
{
    if (isOneOf(text, {"buck", "male"}))
        return Sex::Buck;
    if (isOneOf(text, {"doe", "female"}))
        return Sex::Doe;
    return Sex::Unknown;
}

QString linkedFileProblem(const QString &kind, const QString &path, const RecordError &error)
{
    if (dynamic_cast<const FileError *>(&error))
        return QStringLiteral("%1: %2").arg(kind, error.message());
    return QStringLiteral("%1 \"%2\" cannot be read: %3").arg(kind, shownPath(path), error.message());
}

QStringList headings()
{
    return {QStringLiteral("Name"),   QStringLiteral("Ear #"), QStringLiteral("Reg #"), QStringLiteral("Sex"),
            QStringLiteral("Breed"),  QStringLiteral("Color"), QStringLiteral("Born"),  QStringLiteral("Age"),
            QStringLiteral("Weight"), QStringLiteral("Legs"),  QStringLiteral("COI %"), QStringLiteral("File")};
}

QString Row::text(Column column) const
{
    switch (column) {
    case Name:
        return name;
    case Ear:
        return ear;
    case Reg:
        return reg;
    case SexColumn:
        return sexText;
    case Breed:
        return breed;
    case Color:
        return color;
    case Born:
        return born;
    case Age:
        return age.text;
    case Weight:
        return weight;
    case Legs:
        return legs;
    case Coi:
        return coi ? QString::number(*coi * 100.0, 'f', 2) : QString();
    case File:
        return fileNamePart(listed);
    case ColumnCount:
        break;
    }
    return {};
}

QString Row::problem() const
{
    return failed() ? error : notes.join(u'\n');
}

bool lessThan(const Row &a, const Row &b, Column column, bool ascending)
{
    bool aKnown = true, bKnown = true;
    int order = 0;
    switch (column) {
    case Born:
        aKnown = a.bornDate.isValid();
        bKnown = b.bornDate.isValid();
        order = aKnown && bKnown ? compareValues(a.bornDate, b.bornDate) : 0;
        break;
    case Age:
        aKnown = a.age.known();
        bKnown = b.age.known();
        order = compareValues(a.age.days, b.age.days);
        break;
    case Coi:
        aKnown = a.coi.has_value();
        bKnown = b.coi.has_value();
        order = aKnown && bKnown ? compareValues(*a.coi, *b.coi) : 0;
        break;
    default: {
        const QString x = a.text(column), y = b.text(column);
        aKnown = !x.isEmpty();
        bKnown = !y.isEmpty();
        order = compareText(x, y);
        break;
    }
    }
    if (aKnown != bKnown)
        return aKnown;
    if (!aKnown)
        return false;
    return ascending ? order < 0 : order > 0;
}

bool matches(const Row &row, const QString &text)
{
    if (text.isEmpty())
        return true;
    for (int column = 0; column < ColumnCount; ++column)
        if (row.text(Column(column)).contains(text, Qt::CaseInsensitive))
            return true;
    return row.listed.contains(text, Qt::CaseInsensitive);
}

QStringList listedRabbits(const QString &rabbitryPath)
{
    QStringList listed = Rabbitry::read(rabbitryPath).rabbits;
    listed.removeIf([](const QString &path) { return path.trimmed().isEmpty(); });
    return listed;
}

Row readRow(const QString &listed, const QString &rabbitryPath, const Options &options, FileKeys *keys)
{
    Row row;
    row.listed = listed;
    LinkContext rabbitry(rabbitryPath);
    row.pedigreeLink = row.breedingLink = row.showLink = FileLink::none();
    LineFile file;
    try {
        static constexpr int Wanted[] = {RabbitFile::RabbitName, RabbitFile::EarNumber, RabbitFile::RegNumber,
                                         RabbitFile::Sex,        RabbitFile::Breed,     RabbitFile::Color,
                                         RabbitFile::BirthDate,  RabbitFile::Weight,    RabbitFile::PedigreeLink,
                                         RabbitFile::BreedLink,  RabbitFile::ShowLink};
        static const RecordLines::Selection Lines(RabbitFile::format(), Wanted);
        file = rabbitry.readWith(listed, row.path, [](const QString &path) { return RecordLines::read(path, Lines); });
    } catch (const RecordError &e) {
        row.error = e.message();
        return row;
    }
    const LineFormat &format = RabbitFile::format();
    try {
        // Only a whole rabbit file gives a row: any text file would otherwise.
        format.linesUsed(file.count());
    } catch (const RecordError &e) {
        row.error = shortFileMessage(row.path, e);
        return row;
    }
    row.name = valueOf(file, format, RabbitFile::RabbitName);
    row.ear = valueOf(file, format, RabbitFile::EarNumber);
    row.reg = valueOf(file, format, RabbitFile::RegNumber);
    row.sexText = valueOf(file, format, RabbitFile::Sex);
    row.sex = sexOf(row.sexText);
    row.breed = valueOf(file, format, RabbitFile::Breed);
    row.color = valueOf(file, format, RabbitFile::Color);
    row.born = valueOf(file, format, RabbitFile::BirthDate);
    row.bornDate = HerdDate::read(row.born, options.order, options.today);
    row.age = HerdDate::ageOf(row.bornDate, options.today);
    row.weight = valueOf(file, format, RabbitFile::Weight);
    row.pedigreeLink = linkAt(file, RabbitFile::PedigreeLink);
    row.breedingLink = linkAt(file, RabbitFile::BreedLink);
    row.showLink = linkAt(file, RabbitFile::ShowLink);

    // Links are followed from the rabbit file, as its own window follows them.
    LinkContext links(row.path);
    if (linked(row.showLink))
        readShow(row, links);
    if (linked(row.pedigreeLink))
        readPedigree(row, links, keys);
    return row;
}

QList<Row> readRows(const QStringList &listed, const QString &rabbitryPath, const Options &options)
{
    QList<Row> rows;
    rows.reserve(listed.size());
    FileKeys keys;
    for (const QString &path : listed)
        rows.append(readRow(path, rabbitryPath, options, &keys));
    return rows;
}

} // namespace Herd
