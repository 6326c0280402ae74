#pragma once

#include "herd/Herd.h"
#include "herd/HerdDate.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

class LineRecord;

// What is due in the rabbitry: the dates that follow from every mating row of every
// breeding record the herd's rabbits link to. A row with a bred date and no kindled
// date is palpated, gets its nest box and is due to kindle; a row with a kindled date
// is weaned. Reads records only.
namespace BreedingCalendar {

// The day counts, from the bred date (palpation, nest box, kindling) and from the
// kindled date (weaning). Values outside 0..MaxDays are taken as MaxDays or 0.
struct Settings
{
    int palpateDay = 12;
    int nestBoxDay = 28;
    int dueDay = 31;
    int weanDay = 56; // eight weeks

    static constexpr int MaxDays = 366;
};

enum class EventKind { Palpate, NestBox, Due, Wean };
// "Palpate", "Nest box", "Due to kindle", "Wean".
QString eventName(EventKind kind);

struct Event
{
    QDate date;
    EventKind kind = EventKind::Due;
    QString doe; // names as the record gives them; empty when it gives none
    QString buck;
    QString record; // the breeding record's path, as read
    int row = 0;    // the mating row, 1..15
    QString bred;   // the row's dates as typed
    QString kindled;
    bool overdue = false;     // the date is before today
    bool bucksRecord = false; // the record is the buck's (its mates are does)

    // The same for every export of this record's row and event, whatever its date,
    // so a calendar that imports the file again updates the event rather than
    // adding a second one. The record is named by its path from `herdFolder`, the
    // rabbitry's folder, so that a herd folder synced to another computer or moved
    // gives the same UIDs; with no folder, by its absolute path.
    QString uid(const QString &herdFolder = {}) const;
};

struct Calendar
{
    QList<Event> events; // soonest first
    // Records that could not be read, rows whose dates could not be read: one line each.
    QStringList problems;
};

// A breeding record linked from a rabbit file.
struct Source
{
    QString link;   // as stored in the rabbit file
    QString holder; // the rabbit file's path, where a moved link is looked for
};
// The breeding links of herd rows that have one.
QList<Source> sourcesOf(const QList<Herd::Row> &rows);

// The events of one parsed breeding record read from `path`, unsorted. A row whose
// bred or kindled text is not a date it can read adds a line to `problems` instead
// of events; a row with neither date adds nothing.
QList<Event> eventsOf(const LineRecord &breeding, const QString &path, const Settings &settings, HerdDate::Order order,
                      const QDate &today, QStringList &problems);

// Reads every linked record once (two rabbits linking the same path give its events
// once), sorted soonest first; among events of one day, by doe, then record and row.
// A mating kept in both the buck's and the doe's record is listed from the doe's
// (same event, day, doe and buck by name). A record that cannot be read is a
// problem; the rest are still read.
Calendar gather(const QList<Source> &sources, const Settings &settings, HerdDate::Order order, const QDate &today);

} // namespace BreedingCalendar
