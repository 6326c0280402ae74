#pragma once

#include "records/Csv.h"

#include <QStringList>

// The rabbitry list as a table: one row per listed rabbit, read from its rabbit file.
namespace RabbitryCsv {

// "Name", "Ear Number", "Registration Number", "Sex", "Color", "Breed", "File".
QStringList header();
// A listed rabbit's row: its values from the rabbit file (a value still at its
// placeholder is empty), then the path. Throws FileError or LineIndexError when the
// file cannot be read or is no whole rabbit file.
QStringList rowOf(const QString &rabbitPath);

struct Table
{
    Csv::Rows rows;         // the header, then one row per rabbit in the order given
    QStringList unreadable; // the paths whose files could not be read
};
// A file that cannot be read still gets its row, holding only the path, so the
// table lists every rabbit. An empty path (a blank line in the list) is no rabbit.
Table table(const QStringList &rabbits);

// The one message naming the files that could not be read (the first few of a long
// list, then how many more).
QString unreadableMessage(const QStringList &paths);

} // namespace RabbitryCsv
