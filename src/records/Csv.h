#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Comma-separated values as spreadsheets read them (RFC 4180): a field holding a
// comma, a quote, CR or LF is quoted with its quotes doubled, every row ends with
// CR LF, and the text is UTF-8.
namespace Csv {

using Rows = QList<QStringList>;

// One field as stored: quoted only when it has to be. A field a spreadsheet would run
// as a formula ("=...", "+...", "-...", "@..." other than a plain number) is written
// after an apostrophe, so that it shows as the text it is.
QString field(const QString &text);
// The rows as a file's bytes, led by the UTF-8 byte order mark so that spreadsheets
// take the letters as UTF-8 rather than their local code page.
QByteArray toBytes(const Rows &rows);
// toBytes() written atomically; throws FileError.
void write(const QString &path, const Rows &rows);

} // namespace Csv
