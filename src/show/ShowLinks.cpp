#include "show/ShowLinks.h"

#include "rabbit/RabbitFormat.h"
#include "rabbit/RabbitLinks.h"
#include "records/FileLink.h"
#include "records/LineFile.h"

namespace ShowLinks {

void updateFromLinks(LineRecord &show, LinkContext &context)
{
    Q_ASSERT(&show.format() == &ShowFile::format());
    const QString link = show.value(ShowFile::MainRabFile);
    if (!FileLink::isLink(link))
        return;
    const QList<LinePair> pairs = ShowFile::rabbitLines();
    const LineFile rabbit = context.readHead(link, linesRead(pairs));
    requireLines(rabbit, pairs);
    copyLines(rabbit, RabbitFile::format(), pairs, show, Placeholders::Copy);
}

void loadSavedRabbit(LineRecord &show, const QString &rabbitPath)
{
    Q_ASSERT(&show.format() == &ShowFile::format());
    const QList<LinePair> pairs = ShowFile::rabbitLines();
    const LineFile rabbit = LineFile::readHead(rabbitPath, linesRead(pairs));
    requireLines(rabbit, pairs);
    show.setValue(ShowFile::MainRabFile, rabbitPath);
    copyLines(rabbit, RabbitLinks::nameAndColorBlanks(), pairs, show, Placeholders::Skip);
}

LineRecord showToRabbit(const LineRecord &show)
{
    Q_ASSERT(&show.format() == &ShowFile::format());
    LineRecord rabbit = RabbitFile::newRecord();
    QList<LinePair> pairs = ShowFile::rabbitLines();
    for (LinePair &pair : pairs)
        std::swap(pair.source, pair.target);
    copyLines(show.toLines(), ShowFile::format(), pairs, rabbit, Placeholders::Skip);
    return rabbit;
}

} // namespace ShowLinks
