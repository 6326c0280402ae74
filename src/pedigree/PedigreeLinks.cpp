#include "pedigree/PedigreeLinks.h"

#include "rabbit/RabbitFormat.h"
#include "rabbitry/RabbitryFormat.h"
#include "records/FileLink.h"
#include "records/LineFile.h"

namespace PedigreeLinks {

namespace {

using PedigreeFile::ChartField;
using PedigreeFile::Position;

// Copies a rabbit file into the chart fields of one position. A line that still
// holds the rabbit file's blank placeholder leaves the chart field as it was. A file
// too short throws the index error; the fields copied before it stay copied.
void copyRabbit(LineRecord &pedigree, const Position &position, const LineFile &rabbitFile)
{
    copyLines(rabbitFile, RabbitFile::format(), position.rabbitLines(), pedigree, Placeholders::Skip);
}

void setRabbitryDetails(LineRecord &pedigree, const Rabbitry::Details &details, bool blankAsPlaceholder)
{
    const LineFormat &format = PedigreeFile::format();
    const auto put = [&](int line, const QString &text) {
        pedigree.setValue(line, text.isEmpty() && blankAsPlaceholder ? format.field(line).placeholder : text);
    };
    put(PedigreeFile::BreederLabel, details.name);
    put(PedigreeFile::AddressLabel, details.abbreviatedAddress);
}

// Load Saved Rabbitry and its hand-off put the details in as they stand.
void linkRabbitry(LineRecord &pedigree, const QString &path, const LineFile &rabbitry)
{
    Q_ASSERT(&pedigree.format() == &PedigreeFile::format());
    pedigree.setValue(PedigreeFile::RabbitryFile, path);
    if (const auto details = Rabbitry::trailer(rabbitry))
        setRabbitryDetails(pedigree, *details, false);
}

} // namespace

PositionLinks linksOf(const LineRecord &pedigree)
{
    PositionLinks links;
    for (const Position &p : PedigreeFile::positions())
        links[std::size_t(p.index())] = pedigree.value(p.linkLine);
    return links;
}

void setLinks(LineRecord &pedigree, const PositionLinks &links)
{
    for (const Position &p : PedigreeFile::positions())
        pedigree.setValue(p.linkLine, links[std::size_t(p.index())]);
}

void autoFill(PositionLinks &links, LinkContext &context)
{
    const auto at = [&links](int code) -> QString & {
        return links[std::size_t(PedigreeFile::positionByCode(code)->index())];
    };
    for (const Position &p : PedigreeFile::positions()) {
        if (!p.hasParents())
            continue;
        const QString source = at(p.code);
        if (!FileLink::isLink(source))
            continue;
        const LineFile rabbit = context.read(source);
        if (rabbit.count() <= RabbitFile::FatherRabFile)
            continue; // an older rabbit file without parent links
        at(p.fatherCode) = rabbit.at(RabbitFile::FatherRabFile);
        at(p.motherCode) = rabbit.at(RabbitFile::MotherRabFile);
    }
}

void updateFromLinks(LineRecord &pedigree, LinkContext &context)
{
    Q_ASSERT(&pedigree.format() == &PedigreeFile::format());
    for (const Position &p : PedigreeFile::positions()) {
        const QString link = pedigree.value(p.linkLine);
        if (FileLink::isLink(link))
            copyRabbit(pedigree, p, context.readHead(link, linesRead(p.rabbitLines())));
    }
    const QString rabbitry = pedigree.value(PedigreeFile::RabbitryFile);
    if (FileLink::isLink(rabbitry)) {
        if (const auto details = Rabbitry::trailer(context.read(rabbitry)))
            setRabbitryDetails(pedigree, *details, true);
    }
}

LineRecord chartToRabbit(const LineRecord &pedigree, int positionCode)
{
    Q_ASSERT(&pedigree.format() == &PedigreeFile::format());
    LineRecord rabbit = RabbitFile::newRecord();
    const Position *position = PedigreeFile::positionByCode(positionCode);
    if (!position)
        return rabbit;
    QList<LinePair> pairs = position->rabbitLines();
    for (LinePair &pair : pairs)
        std::swap(pair.source, pair.target);
    copyLines(pedigree.toLines(), PedigreeFile::format(), pairs, rabbit, Placeholders::Skip);
    return rabbit;
}

bool loadSavedRabbit(LineRecord &pedigree, int positionCode, const QString &rabbitPath)
{
    Q_ASSERT(&pedigree.format() == &PedigreeFile::format());
    const Position *position = PedigreeFile::positionByCode(positionCode);
    const LineFile rabbit = LineFile::readHead(rabbitPath, position ? linesRead(position->rabbitLines()) : 0);
    if (!position)
        return false;
    // A file too short for the position changes nothing: the link must not name a
    // rabbit whose values were only half taken.
    requireLines(rabbit, position->rabbitLines());
    pedigree.setValue(position->linkLine, rabbitPath);
    copyRabbit(pedigree, *position, rabbit);
    return true;
}

void loadSavedRabbitry(LineRecord &pedigree, const QString &rabbitryPath)
{
    linkRabbitry(pedigree, rabbitryPath, LineFile::read(rabbitryPath));
}

LineRecord headerToRabbitry(const LineRecord &pedigree)
{
    const auto filled = [&](int line) {
        const QString &text = pedigree.value(line);
        return text.isEmpty() || text.startsWith(u'_') ? QString() : text;
    };
    const QString address = filled(PedigreeFile::AddressLabel);
    return Rabbitry::seed({filled(PedigreeFile::BreederLabel), address, address, QString()});
}

bool handOffRabbitry(LineRecord &pedigree, int positionCode, const QString &rabbitryPath)
{
    const LineFile rabbitry = LineFile::read(rabbitryPath);
    if (positionCode != PedigreeFile::HeaderCode)
        return false;
    linkRabbitry(pedigree, rabbitryPath, rabbitry);
    return true;
}

} // namespace PedigreeLinks
