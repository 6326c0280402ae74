#pragma once

#include "records/LineCopy.h"
#include "records/LineFormat.h"

#include <QLatin1String>
#include <optional>

// The show file (.shw): 68 lines, one field a line. Older files end after line 65,
// without the rabbit's sex and colour.
namespace ShowFile {

constexpr const char *KindId = "show";

enum Line {
    RabbitName = 0,
    EarNumber = 1, // ear before registration, unlike the rabbit file
    RegNumber = 2,
    Legs = 3,
    FirstRow = 4, // row i (1..15): award, date, location, competitors at 4i .. 4i+3
    MainRabFile = 64,
    WinningsNum = 65, // the chosen row: "None" or "1" .. "15"
    Sex = 66,
    Color = 67,
    LineCount = 68,
};

constexpr int RowCount = 15;
constexpr int RowSize = 4;

enum class RowField { Award, Date, Location, Competitors };

// "Award", "Date", "Location", "Competitors": row 2's date is "Date2".
QLatin1String rowFieldStem(RowField field);

inline bool isRow(int row)
{
    return row >= 1 && row <= RowCount;
}
inline int rowLine(int row, RowField field)
{
    return RowSize * row + int(field);
}

// What the show record takes from a rabbit file (source: rabbit line, target: show
// line), in copying order: name, ear, registration, sex, colour. Turned round, the
// same pairs fill a new rabbit record from the sheet.
QList<LinePair> rabbitLines();

const LineFormat &format();

// A new record: placeholders, no link, no chosen row.
LineRecord newRecord();

// The text stored for "no chosen row".
inline const QString NoRow = QStringLiteral("None");

// The row that line 65 chooses. "None" chooses none; a decimal number chooses that
// row when it is 1..15 and none otherwise, without an error (the window's list has
// no other rows). Any other text throws ConversionError quoting it.
std::optional<int> chosenRow(const QString &text);
// Line 65 as the window writes it: "None" or "1" .. "15".
QString chosenRowText(std::optional<int> row);

// Parses a whole file: lines 0..65 must be there, lines 66 and 67 are read when the
// file has them, and line 65 must be "None" or a number. Throws LineIndexError or
// ConversionError; never returns a half-read record.
LineRecord parse(const LineFile &file);

// The record a window holds after loading `parsed` over its state `before`: the
// sex and colour an older file lacks keep their values from `before`, and line 65
// becomes what the window's list shows (a number outside 1..15 and "0" show "None",
// " 7" shows "7"). Saving the result writes what the window would write.
LineRecord loadedState(const LineRecord &parsed, const LineRecord &before);

// Reads and parses a file into the state a new window shows. Throws FileError,
// LineIndexError or ConversionError; on a throw nothing was produced.
LineRecord read(const QString &path);
// Writes all 68 lines atomically. Throws FileError.
void write(const LineRecord &record, const QString &path);

// The winnings summary of the chosen row: the award, " on " and the date, " at "
// and the location, " against " and the competitors followed by " opponents", each
// part only when its field is not its placeholder ("Best of Breed on 5/12/01 at
// County Fair against 14 opponents"; a row with only its date gives " on 5/12/01").
// Nothing when no row is chosen (line 65 "None" or a number outside 1..15) or when
// the chosen row is all placeholders. Throws ConversionError when line 65 is some
// other text, which a parsed record never holds.
std::optional<QString> winningsSummary(const LineRecord &show);
// The same, from the lines of a show file as another record reads it. Only line 65
// and the chosen row's four lines are looked at, so a file whose other lines are
// missing or damaged still serves. Throws LineIndexError when the file ends before
// line 65, ConversionError when line 65 is neither "None" nor a number.
std::optional<QString> winningsSummary(const LineFile &show);
// The most lines winningsSummary() looks at from the top of a file
// (LineFile::readHead).
constexpr int SummaryLines = WinningsNum + 1;

} // namespace ShowFile
