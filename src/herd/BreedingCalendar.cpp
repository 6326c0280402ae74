#include "herd/BreedingCalendar.h"

#include "breeding/BreedingFormat.h"
#include "records/FileLink.h"
#include "records/LineFile.h"
#include "records/RecordError.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

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

QString fieldOf(const LineRecord &breeding, int line)
{
    const QString &value = breeding.value(line);
    if (RecordText::isBlank(value, breeding.format().field(line).placeholder))
        return {};
    return excerpt(value.trimmed(), Herd::MaxValueChars);
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

// One text for every spelling of a record's path, so a record linked from two
// rabbits is read once.
QString keyOf(const QString &path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(QFileInfo(path).absoluteFilePath()) : canonical;
}

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

QString Event::uid() const
{
    // The record by its absolute path, the row and the kind of event: never the date,
    // which moves when the breeder corrects a typo or the day counts change.
    const QString identity = QStringLiteral("%1\n%2\n%3")
                                 .arg(QDir::cleanPath(QFileInfo(record).absoluteFilePath()))
                                 .arg(row)
                                 .arg(QLatin1String(tokenOf(kind)));
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

QList<Event> eventsOf(const LineRecord &breeding, const QString &path, const Settings &settings,
                      HerdDate::Order order, const QDate &today, QStringList &problems)
{
    // The record keeps one rabbit's matings: its mates are the other sex. A subject
    // that is not plainly a buck is taken as the doe, as breeding records mostly are.
    const QString subject = fieldOf(breeding, BreedingFile::RabbitName);
    const bool subjectIsBuck = Herd::sexOf(breeding.value(BreedingFile::Sex)) == Herd::Sex::Buck;
    QList<Event> events;
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
    return events;
}

Calendar gather(const QList<Source> &sources, const Settings &settings, HerdDate::Order order, const QDate &today)
{
    Calendar calendar;
    QSet<QString> seen;
    for (const Source &source : sources) {
        const QString path = FileLink::resolve(source.link, source.holder).path;
        const QString key = keyOf(path);
        if (seen.contains(key))
            continue;
        seen.insert(key);
        try {
            const LineRecord breeding = BreedingFile::parse(LineFile::read(path));
            calendar.events += eventsOf(breeding, path, settings, order, today, calendar.problems);
        } catch (const RecordError &e) {
            calendar.problems.append(Herd::linkedFileProblem(QStringLiteral("Breeding record"), path, e));
        }
    }
    // The same litter seen from the buck's record adds nothing to the doe's.
    const auto sameMating = [](const Event &e) {
        return QStringLiteral("%1\n%2\n%3\n%4")
            .arg(int(e.kind))
            .arg(e.date.toJulianDay())
            .arg(e.doe.toCaseFolded(), e.buck.toCaseFolded());
    };
    QSet<QString> fromDoes;
    for (const Event &e : std::as_const(calendar.events))
        if (!e.bucksRecord && !e.doe.isEmpty() && !e.buck.isEmpty())
            fromDoes.insert(sameMating(e));
    calendar.events.removeIf([&](const Event &e) { return e.bucksRecord && fromDoes.contains(sameMating(e)); });

    std::stable_sort(calendar.events.begin(), calendar.events.end(), [](const Event &a, const Event &b) {
        if (a.date != b.date)
            return a.date < b.date;
        if (const int byDoe = a.doe.compare(b.doe, Qt::CaseInsensitive))
            return byDoe < 0;
        if (a.record != b.record)
            return a.record < b.record;
        if (a.row != b.row)
            return a.row < b.row;
        return int(a.kind) < int(b.kind);
    });
    return calendar;
}

} // namespace BreedingCalendar
