#include "rabbit/RabbitLinks.h"

#include "records/FileLink.h"
#include "records/LineFile.h"
#include "records/RecordText.h"
#include "show/ShowFormat.h"

namespace RabbitLinks {

namespace {

const QString Male = QStringLiteral("Male");
const QString Female = QStringLiteral("Female");

// Copies a relative's rabbit file into the record only when every line it takes is
// there; a line still holding the rabbit file's blank is not copied.
void copyRelative(LineRecord &rabbit, const Relative &r, const LineFile &source)
{
    const QList<LinePair> pairs = r.rabbitLines();
    requireLines(source, pairs);
    copyLines(source, RabbitFile::format(), pairs, rabbit, Placeholders::Skip);
}

// The top of a relative's file down to the last line taken from it: what else the
// file holds is not needed, and not paid for.
int relativeLines(const Relative &r)
{
    return linesRead(r.rabbitLines());
}

// "Open Rabbit File" is looser than the copies from files: any value starting with
// an underscore is a blank, whatever its length.
bool isFilledOnSheet(const QString &text)
{
    return !text.isEmpty() && !text.startsWith(u'_');
}

} // namespace

QString Relative::fixedSex() const
{
    if (number == FatherNumber)
        return Male;
    if (number == MotherNumber)
        return Female;
    return {};
}

QList<LinePair> Relative::rabbitLines() const
{
    QList<LinePair> pairs{{RabbitFile::RabbitName, nameLine}};
    if (isSibling())
        pairs.append({RabbitFile::Sex, sexLine});
    pairs.append({RabbitFile::Color, colorLine});
    return pairs;
}

std::optional<Relative> relative(int number)
{
    using namespace RabbitFile;
    if (number == FatherNumber)
        return Relative{number, DadName, DadColor, -1, FatherRabFile};
    if (number == MotherNumber)
        return Relative{number, MomName, MomColor, -1, MotherRabFile};
    const int sibling = number - 2;
    if (sibling < 1 || sibling > SiblingCount)
        return std::nullopt;
    return Relative{number, siblingName(sibling), siblingColor(sibling), siblingSex(sibling), siblingRabFile(sibling)};
}

const LineFormat &nameAndColorBlanks()
{
    static const LineFormat blanks = [] {
        QList<FieldSpec> fields = RabbitFile::format().fields();
        for (FieldSpec &field : fields)
            field.placeholder = RecordText::underscores(field.line == RabbitFile::RabbitName ? 34 : 17);
        return LineFormat(fields, {});
    }();
    return blanks;
}

void updateFromLinks(LineRecord &rabbit, LinkContext &context)
{
    Q_ASSERT(&rabbit.format() == &RabbitFile::format());
    const QString show = rabbit.value(RabbitFile::ShowLink);
    if (FileLink::isLink(show)) {
        // Line 65 and the chosen row only: the rest of the show file is the show
        // window's business.
        if (const auto summary = ShowFile::winningsSummary(context.readHead(show, ShowFile::SummaryLines)))
            rabbit.setValue(RabbitFile::Winnings, *summary);
    }
    for (int number = 1; number <= RelativeCount; ++number) {
        const Relative r = *relative(number);
        const QString link = rabbit.value(r.linkLine);
        if (FileLink::isLink(link))
            copyRelative(rabbit, r, context.readHead(link, relativeLines(r)));
    }
}

bool loadSavedRabbit(LineRecord &rabbit, int relativeNumber, const QString &rabbitPath)
{
    Q_ASSERT(&rabbit.format() == &RabbitFile::format());
    const std::optional<Relative> r = relative(relativeNumber);
    if (!r)
        return false;
    copyRelative(rabbit, *r, LineFile::readHead(rabbitPath, relativeLines(*r)));
    // Set only once the copy cannot fail any more.
    rabbit.setValue(r->linkLine, rabbitPath);
    return true;
}

LineRecord relativeToRabbit(const LineRecord &rabbit, int relativeNumber)
{
    Q_ASSERT(&rabbit.format() == &RabbitFile::format());
    LineRecord fresh = RabbitFile::newRecord();
    const std::optional<Relative> r = relative(relativeNumber);
    if (!r)
        return fresh;
    const auto take = [&](int from, int to) {
        if (isFilledOnSheet(rabbit.value(from)))
            fresh.setValue(to, rabbit.value(from));
    };
    take(r->nameLine, RabbitFile::RabbitName);
    take(r->colorLine, RabbitFile::Color);
    if (r->isSibling())
        take(r->sexLine, RabbitFile::Sex);
    else
        fresh.setValue(RabbitFile::Sex, r->fixedSex());
    return fresh;
}

} // namespace RabbitLinks
