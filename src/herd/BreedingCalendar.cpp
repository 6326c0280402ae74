#include "herd/BreedingCalendar.h"

#include "breeding/BreedingFormat.h"
#include "herd/RecordLines.h"
#include "records/FileLink.h"
#include "records/LineFile.h"
#include "records/LinkContext.h"
#include "records/RecordError.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <numeric>
#include <vector>

namespace BreedingCalendar {

namespace {

using BreedingFile::RowField;

const char *tokenOf(EventKind kind)
{
    switch (kind) {
    case EventKind::Palpate:
        return "palpate";
    case EventKind::NestBox:
        return "nestbox";
    case EventKind::Due:
        return "due";
    case EventKind::Wean:
        return "wean";
    }
    return "";
}

int days(int value)
{
    return std::clamp(value, 0, Settings::MaxDays);
}

QString unreadableDate(const QString &path, int row, const char *which, const QString &text)
{
    return QStringLiteral("%1, row %2: the %3 date \"%4\" is not a date this program reads.")
        .arg(shownPath(path))
        .arg(row)
        .arg(QLatin1String(which), excerpt(text, 40));
}

// The lines the calendar reads: the subject's name and sex, each row's mate and dates.
const std::vector<int> &calendarLines()
{
    static const std::vector<int> lines = [] {
        std::vector<int> wanted{BreedingFile::RabbitName, BreedingFile::Sex};
        for (int row = 1; row <= BreedingFile::RowCount; ++row)
            for (const RowField field : {RowField::Parent, RowField::Bred, RowField::Kindled})
                wanted.push_back(BreedingFile::rowLine(row, field));
        return wanted;
    }();
    return lines;
}

// The lines of the record a link leads to (read from `path`), checked as
// BreedingFile::parse checks them (it has no numbers), with only the calendar's lines
// decoded and without copying them into a record.
QStringList readRecord(LinkContext &links, const QString &stored, QString &path)
{
    static const RecordLines::Selection Lines(BreedingFile::format(), calendarLines());
    const LineFile file =
        links.readWith(stored, path, [](const QString &file) { return RecordLines::read(file, Lines); });
    BreedingFile::format().linesUsed(file.count());
    return file.lines();
}

QString fieldOf(const QStringList &breeding, int line)
{
    const QString &value = breeding.at(line);
    if (RecordText::isBlank(value, BreedingFile::format().field(line).placeholder))
        return {};
    return excerpt(value.trimmed(), Herd::MaxValueChars);
}

void eventsOfLines(const QStringList &breeding, const QString &path, const Settings &settings, HerdDate::Order order,
                   const QDate &today, QList<Event> &events, QStringList &problems);

} // namespace

QString eventName(EventKind kind)
{
    switch (kind) {
    case EventKind::Palpate:
        return QStringLiteral("Palpate");
    case EventKind::NestBox:
        return QStringLiteral("Nest box");
    case EventKind::Due:
        return QStringLiteral("Due to kindle");
    case EventKind::Wean:
        return QStringLiteral("Wean");
    }
    return {};
}

QString Event::uid(const QString &herdFolder) const
{
    // The record, the row and the kind of event: never the date, which moves when the
    // breeder corrects a typo or the day counts change.
    const QString absolute = QDir::cleanPath(QFileInfo(record).absoluteFilePath());
    const QString named = herdFolder.isEmpty() ? absolute : QDir(herdFolder).relativeFilePath(absolute);
    const QString identity = QStringLiteral("%1\n%2\n%3").arg(named).arg(row).arg(QLatin1String(tokenOf(kind)));
    const QByteArray hash = QCryptographicHash::hash(identity.toUtf8(), QCryptographicHash::Sha1).toHex();
    return QString::fromLatin1(hash) + QStringLiteral("@hutchlore");
}

QList<Source> sourcesOf(const QList<Herd::Row> &rows)
{
    QList<Source> sources;
    for (const Herd::Row &row : rows)
        if (!row.failed() && FileLink::isLink(row.breedingLink) && !row.breedingLink.trimmed().isEmpty())
            sources.append({row.breedingLink, row.path});
    return sources;
}

QList<Event> eventsOf(const LineRecord &breeding, const QString &path, const Settings &settings, HerdDate::Order order,
                      const QDate &today, QStringList &problems)
{
    QList<Event> events;
    eventsOfLines(breeding.values(), path, settings, order, today, events, problems);
    return events;
}

namespace {

// Appends the record's events to `events`: a herd's thousands are gathered in one list.
void eventsOfLines(const QStringList &breeding, const QString &path, const Settings &settings, HerdDate::Order order,
                   const QDate &today, QList<Event> &events, QStringList &problems)
{
    // The record keeps one rabbit's matings: its mates are the other sex. A subject
    // that is not plainly a buck is taken as the doe, as breeding records mostly are.
    const QString subject = fieldOf(breeding, BreedingFile::RabbitName);
    const bool subjectIsBuck = Herd::sexOf(breeding.at(BreedingFile::Sex)) == Herd::Sex::Buck;
    for (int row = 1; row <= BreedingFile::RowCount; ++row) {
        const QString bred = fieldOf(breeding, BreedingFile::rowLine(row, RowField::Bred));
        const QString kindled = fieldOf(breeding, BreedingFile::rowLine(row, RowField::Kindled));
        if (bred.isEmpty() && kindled.isEmpty())
            continue;
        const QString mate = fieldOf(breeding, BreedingFile::rowLine(row, RowField::Parent));
        Event event;
        event.doe = subjectIsBuck ? mate : subject;
        event.buck = subjectIsBuck ? subject : mate;
        event.record = path;
        event.bucksRecord = subjectIsBuck;
        event.row = row;
        event.bred = bred;
        event.kindled = kindled;
        const auto add = [&](EventKind kind, const QDate &from, int after) {
            event.kind = kind;
            event.date = from.addDays(days(after));
            event.overdue = event.date < today;
            if (event.date.isValid())
                events.append(event);
        };
        if (!kindled.isEmpty()) {
            const QDate date = HerdDate::read(kindled, order, today);
            if (!date.isValid())
                problems.append(unreadableDate(path, row, "kindled", kindled));
            else
                add(EventKind::Wean, date, settings.weanDay);
            continue;
        }
        const QDate date = HerdDate::read(bred, order, today);
        if (!date.isValid()) {
            problems.append(unreadableDate(path, row, "bred", bred));
            continue;
        }
        add(EventKind::Palpate, date, settings.palpateDay);
        add(EventKind::NestBox, date, settings.nestBoxDay);
        add(EventKind::Due, date, settings.dueDay);
    }
}

} // namespace

Calendar gather(const QList<Source> &sources, const Settings &settings, HerdDate::Order order, const QDate &today)
{
    Calendar calendar;
    // Each record once, by its cleaned path (checking the files themselves would cost
    // a look-up on the disk for every record).
    QSet<QString> seen;
    const auto firstTime = [&seen](const QString &path) {
        const QString key = QDir::cleanPath(path);
        if (seen.contains(key))
            return false;
        seen.insert(key);
        return true;
    };
    for (const Source &source : sources) {
        if (!firstTime(source.link))
            continue;
        QString path = source.link;
        try {
            LinkContext links(source.holder);
            const QStringList record = readRecord(links, source.link, path);
            // Found beside the rabbit file: perhaps under a path read already.
            if (path != source.link && !firstTime(path))
                continue;
            eventsOfLines(record, path, settings, order, today, calendar.events, calendar.problems);
        } catch (const RecordError &e) {
            calendar.problems.append(Herd::linkedFileProblem(QStringLiteral("Breeding record"), path, e));
        }
    }
    // The same litter seen from the buck's record adds nothing to the doe's. Names are
    // compared only on the days where a buck's record has an event at all.
    QSet<qint64> bucksDays;
    for (const Event &e : std::as_const(calendar.events))
        if (e.bucksRecord)
            bucksDays.insert(e.date.toJulianDay() * 4 + int(e.kind));
    if (!bucksDays.isEmpty()) {
        const auto sameMating = [](const Event &e) {
            return QStringLiteral("%1\n%2\n%3\n%4")
                .arg(int(e.kind))
                .arg(e.date.toJulianDay())
                .arg(e.doe.toCaseFolded(), e.buck.toCaseFolded());
        };
        QSet<QString> fromDoes;
        for (const Event &e : std::as_const(calendar.events))
            if (!e.bucksRecord && !e.doe.isEmpty() && !e.buck.isEmpty() &&
                bucksDays.contains(e.date.toJulianDay() * 4 + int(e.kind)))
                fromDoes.insert(sameMating(e));
        calendar.events.removeIf([&](const Event &e) { return e.bucksRecord && fromDoes.contains(sameMating(e)); });
    }

    // Sorted through their indexes: an event is too large to move about cheaply. The
    // index last keeps events that compare equal in the order they were read.
    QList<Event> &events = calendar.events;
    std::vector<qsizetype> byDate(std::size_t(events.size()));
    std::iota(byDate.begin(), byDate.end(), 0);
    std::sort(byDate.begin(), byDate.end(), [&events](qsizetype i, qsizetype j) {
        const Event &a = events[i], &b = events[j];
        if (a.date != b.date)
            return a.date < b.date;
        if (const int byDoe = a.doe.compare(b.doe, Qt::CaseInsensitive))
            return byDoe < 0;
        if (a.record != b.record)
            return a.record < b.record;
        if (a.row != b.row)
            return a.row < b.row;
        if (a.kind != b.kind)
            return int(a.kind) < int(b.kind);
        return i < j;
    });
    QList<Event> sorted;
    sorted.reserve(events.size());
    for (const qsizetype i : byDate)
        sorted.append(std::move(events[i]));
    events = std::move(sorted);
    return calendar;
}

} // namespace BreedingCalendar
