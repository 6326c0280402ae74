#include "breeding/BreedingLinks.h"

#include "rabbit/RabbitFormat.h"
#include "rabbit/RabbitLinks.h"
#include "records/FileLink.h"
#include "records/LineFile.h"

namespace BreedingLinks {

namespace {

// Copies a rabbit file into a position only when every line it takes is there.
void copyRabbit(LineRecord &breeding, const LineFile &rabbit, const QList<LinePair> &pairs)
{
    requireLines(rabbit, pairs);
    copyLines(rabbit, RabbitLinks::nameAndColorBlanks(), pairs, breeding, Placeholders::Skip);
}

QString missingParentsMessage(bool subjectLinked, bool mateLinked, int row)
{
    QStringList how;
    if (!subjectLinked)
        how.append(QStringLiteral("Link this record's rabbit to its file through Edit > Set File Links."));
    if (!mateLinked)
        how.append(QStringLiteral("Link the mate of row %1 to its file through Load Saved Rabbit on the row "
                                  "(Row > Load Saved Rabbit as Mate, or a right-click on the mate's name).")
                       .arg(row));
    return QStringLiteral("Must have two linked parent files.") + (how.isEmpty() ? QString() : u' ' + how.join(u' '));
}

} // namespace

MissingParentsError::MissingParentsError(bool subjectLinked, bool mateLinked, int row)
    : RecordError(missingParentsMessage(subjectLinked, mateLinked, row))
{}

void updateFromLinks(LineRecord &breeding, LinkContext &context)
{
    Q_ASSERT(&breeding.format() == &BreedingFile::format());
    for (int position = BreedingFile::SubjectPosition; position <= BreedingFile::RowCount; ++position) {
        const QString link = breeding.value(BreedingFile::linkLine(position));
        if (!FileLink::isLink(link))
            continue;
        const QList<LinePair> pairs = BreedingFile::rabbitLines(position);
        copyRabbit(breeding, context.readHead(link, linesRead(pairs)), pairs);
    }
}

bool loadSavedRabbit(LineRecord &breeding, int position, const QString &rabbitPath)
{
    Q_ASSERT(&breeding.format() == &BreedingFile::format());
    if (!BreedingFile::isPosition(position))
        return false;
    const QList<LinePair> pairs = BreedingFile::rabbitLines(position);
    copyRabbit(breeding, LineFile::readHead(rabbitPath, linesRead(pairs)), pairs);
    // Set only once the copy cannot fail any more.
    breeding.setValue(BreedingFile::linkLine(position), rabbitPath);
    return true;
}

LineRecord positionToRabbit(const LineRecord &breeding, int position)
{
    Q_ASSERT(&breeding.format() == &BreedingFile::format());
    LineRecord rabbit = RabbitFile::newRecord();
    QList<LinePair> pairs = BreedingFile::rabbitLines(position);
    for (LinePair &pair : pairs)
        std::swap(pair.source, pair.target);
    copyLines(breeding.toLines(), BreedingFile::format(), pairs, rabbit, Placeholders::Skip);
    return rabbit;
}

bool subjectIsFather(const LineRecord &breeding)
{
    const QString &sex = breeding.value(BreedingFile::Sex);
    return sex == QLatin1String("Male") || sex == QLatin1String("Buck");
}

LineRecord offspringLinks(const LineRecord &breeding, int row)
{
    Q_ASSERT(&breeding.format() == &BreedingFile::format());
    if (!BreedingFile::isRow(row))
        throw MissingParentsError();
    const QString subject = breeding.value(BreedingFile::MainRabFile);
    const QString mate = breeding.value(BreedingFile::mateRabFile(row));
    if (!FileLink::isLink(subject) || !FileLink::isLink(mate))
        throw MissingParentsError(FileLink::isLink(subject), FileLink::isLink(mate), row);
    const bool father = subjectIsFather(breeding);
    LineRecord rabbit = RabbitFile::newRecord();
    rabbit.setValue(RabbitFile::FatherRabFile, father ? subject : mate);
    rabbit.setValue(RabbitFile::MotherRabFile, father ? mate : subject);
    return rabbit;
}

LineRecord generateOffspring(const LineRecord &breeding, int row, LinkContext &context)
{
    LineRecord rabbit = offspringLinks(breeding, row);
    RabbitLinks::updateFromLinks(rabbit, context);
    return rabbit;
}

} // namespace BreedingLinks
