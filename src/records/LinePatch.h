#pragma once

#include <QByteArray>
#include <QString>

class LineFormat;

// One line of a record file changed on the file's own bytes. A window rewrites its
// whole file from its record; a file no window holds (a rabbit linked back from its
// pedigree) is changed where it lies, so every other byte stays as it was: line ends,
// a last line without one, lines after those the format knows.
namespace LinePatch {

// `file` with line `index` holding `text`. A file that ends before the line gets the
// lines it lacks through the end of the line's group in `format` (the placeholders,
// `text` on the line itself), each ended by CR LF, after a line end for a last line
// that had none. Throws RecordError when `text` holds a character a record file
// cannot store: written as "?", it would be another text.
QByteArray withLine(const QByteArray &file, const LineFormat &format, int index, const QString &text);

// Reads the record file at `path` and, when line `index` still holds `expected` (in an
// older file that ends before the line: its placeholder), writes the file back with
// `text` on that line, through a temporary file and a rename. False, writing nothing,
// when the line holds something else. Throws FileError when the file cannot be read
// or written, LineIndexError or ConversionError when it is no record of `format`, and
// RecordError as withLine.
bool setLineIf(const QString &path, const LineFormat &format, int index, const QString &expected,
               const QString &text);

} // namespace LinePatch
