#pragma once

#include "herd/BreedingCalendar.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

// The breeding calendar as an iCalendar file (RFC 5545) a phone or desktop calendar
// imports: one all-day event per date, each with a UID that stays the same from one
// export to the next, so importing again updates the events instead of doubling them.
namespace ICalendar {

// A TEXT value: backslash, semicolon and comma escaped, a line break written "\n";
// other control characters, which the format does not allow, dropped.
QString escapeText(const QString &text);

// One content line as stored: UTF-8, folded so that no line is longer than 75 octets
// (a continuation starts with a space, never inside a character), each line ending
// with CR LF.
QByteArray contentLine(const QString &line);

// The whole file. `stamp` is the time of the export (DTSTAMP), written in UTC; each
// event's UID names its record from `herdFolder` (Event::uid).
QByteArray toBytes(const QList<BreedingCalendar::Event> &events, const QDateTime &stamp,
                   const QString &herdFolder = {});

// toBytes() written atomically; throws FileError.
void write(const QString &path, const QList<BreedingCalendar::Event> &events, const QDateTime &stamp,
           const QString &herdFolder = {});

} // namespace ICalendar
