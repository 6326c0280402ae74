#pragma once

#include "records/LineCopy.h"
#include "records/LineFormat.h"

#include <QLatin1String>

// The breeding file (.brd): exactly 201 lines, one field a line. The subject's five
// fields, fifteen mating rows of twelve fields, then the subject's link and the
// fifteen mates' links. There are no older, shorter files.
namespace BreedingFile {

constexpr const char *KindId = "breeding";

enum Line {
    RabbitName = 0,
    Sex = 1,
    Color = 2,
    EarNumber = 3,
    RegNumber = 4,
    FirstRow = 5, // row m (1..15), field k (0..11) at 5 + 12(m-1) + k
    MainRabFile = 185,
    FirstMateRabFile = 186, // mate m's link at 185 + m
    LineCount = 201,
};

constexpr int RowCount = 15;
constexpr int RowSize = 12;
// Position 0 is the subject; positions 1..15 are the mating rows.
constexpr int SubjectPosition = 0;

// The fields of a mating row in file order, which is also the window's column order.
enum class RowField { Parent, Color, Ear, Bred, Kindled, Born, Died, Fostered, Bucks, Does, Kept, Colors };

// The stem of the field's name: row 3's Kept is "Kept3".
QLatin1String rowFieldStem(RowField field);

inline bool isRow(int row)
{
    return row >= 1 && row <= RowCount;
}
inline bool isPosition(int position)
{
    return position == SubjectPosition || isRow(position);
}
// The line of field `field` of row `row` (1..15).
inline int rowLine(int row, RowField field)
{
    return FirstRow + RowSize * (row - 1) + int(field);
}
// Mate m's link line (1..15): Parent1RabFile is line 186.
inline int mateRabFile(int row)
{
    return MainRabFile + row;
}
// The link line of a position: MainRabFile for the subject, the mate's link for a row.
inline int linkLine(int position)
{
    return position == SubjectPosition ? MainRabFile : mateRabFile(position);
}
// What a position takes from a rabbit file (source: rabbit line, target: breeding
// line), in copying order. The subject takes name, ear, registration, sex and
// colour; a mate row takes name, ear and colour and never its litter fields. An
// unknown position takes nothing.
QList<LinePair> rabbitLines(int position);

const LineFormat &format();

// A new record: every field at its placeholder, every link "None".
LineRecord newRecord();

// Parses a whole file; a file of fewer than 201 lines throws LineIndexError naming
// the first missing line and produces nothing. Lines after line 200 are ignored.
inline LineRecord parse(const LineFile &file)
{
    return LineRecord::parse(format(), file);
}

// Reads and parses a file. Throws FileError or LineIndexError; on a throw nothing
// was produced.
LineRecord read(const QString &path);
// Writes all 201 lines atomically. Throws FileError.
void write(const LineRecord &record, const QString &path);

} // namespace BreedingFile
