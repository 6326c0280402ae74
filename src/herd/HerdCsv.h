#pragma once

#include "herd/Herd.h"
#include "records/Csv.h"

// The herd table as comma-separated values: the table's headings, then one row per
// rabbit with the values the table shows, the file as its full path.
namespace HerdCsv {

// The headings, then the rows in the order given (the window passes the rows it
// shows, sorted and filtered as shown).
Csv::Rows table(const QList<Herd::Row> &rows);
// table() written atomically; throws FileError.
void write(const QString &path, const QList<Herd::Row> &rows);

} // namespace HerdCsv
