#pragma once

#include "herd/HerdDate.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class FileKeys;
class RecordError;

// The herd: the rabbits a rabbitry file lists, one row each, read from their rabbit
// files and the show and pedigree records those link to. Reading never writes a
// record and never stops at a bad file: the row says what went wrong.
namespace Herd {

// A rabbit file's sex line: "Buck" or "Male" (any case, spaces around ignored) is a
// buck, "Doe" or "Female" a doe; anything else could be either, and a window lists
// such a rabbit among both.
enum class Sex { Buck, Doe, Unknown };
Sex sexOf(const QString &text);
inline bool canSire(Sex sex)
{
    return sex != Sex::Doe;
}
inline bool canBear(Sex sex)
{
    return sex != Sex::Buck;
}

// The table's columns, in order.
enum Column { Name, Ear, Reg, SexColumn, Breed, Color, Born, Age, Weight, Legs, Coi, File, ColumnCount };
// "Name", "Ear #", "Reg #", "Sex", "Breed", "Color", "Born", "Age", "Weight", "Legs",
// "COI %", "File".
QStringList headings();

// What a row reads with.
struct Options
{
    HerdDate::Order order = HerdDate::Order::MonthFirst;
    QDate today; // ages are counted to this day
};

// Longest value a row keeps of any field: a hostile file's megabyte name is cut
// (with "…") rather than laid out in a table.
constexpr qsizetype MaxValueChars = 200;

struct Row
{
    QString listed; // the path as the rabbitry lists it
    QString path;   // where the file was read: `listed`, or a file of its name beside the rabbitry

    // The rabbit file's values, trimmed; empty where the file holds its placeholder.
    QString name, ear, reg, sexText, breed, color, born, weight;
    Sex sex = Sex::Unknown;
    QDate bornDate; // invalid when `born` is empty or not a readable date
    HerdDate::Age age;
    QString legs;              // from the linked show record
    std::optional<double> coi; // 0..1, from the linked pedigree, as Check Inbreeding gives it
    // The rabbit file's links as stored ("None" when there is none, or when the file
    // ends before the line).
    QString pedigreeLink, breedingLink, showLink;

    // Why the rabbit file gave nothing (missing, unreadable, not a rabbit file);
    // empty for a row that was read.
    QString error;
    // Linked records that could not be read; the row is shown without their values.
    QStringList notes;

    bool failed() const { return !error.isEmpty(); }
    // What the table shows in a column: the values as read, the age text, the
    // coefficient as "12.50" (no "%"; the heading says it), the file's name.
    QString text(Column column) const;
    // What a tooltip says: the path, then the error or the notes.
    QString problem() const;
};

// A linked record that could not be read, as a row note or a problem line. A file
// error names the file already; a file that is no whole record of its kind is named
// here ("Show record "/herd/a.shw" cannot be read: ...").
QString linkedFileProblem(const QString &kind, const QString &path, const RecordError &error);

// Column order for sorting: ages and coefficients as numbers, birth dates as dates,
// the rest as text ignoring case. Unknown values (no date, no age, no coefficient)
// come after every known one in either direction, so a window that sorts
// descending compares with `ascending` false rather than reversing the result.
bool lessThan(const Row &a, const Row &b, Column column, bool ascending = true);

// Whether any shown value of the row holds `text` (any case).
bool matches(const Row &row, const QString &text);

// The listed rabbit files of a rabbitry file, in the file's order, blank lines left
// out. Throws FileError or RecordError when the rabbitry file cannot be read.
QStringList listedRabbits(const QString &rabbitryPath);

// One listed rabbit's row. A file missing at its listed path is read from beside the
// rabbitry (`rabbitryPath`) when a file of its name is there. Never throws: a failure
// gives a row marked with the reason. `keys`, when given, resolves the pedigree's
// links for the coefficient; rows read in turn share it.
Row readRow(const QString &listed, const QString &rabbitryPath, const Options &options, FileKeys *keys = nullptr);

// Every listed rabbit's row, in list order, on the calling thread.
QList<Row> readRows(const QStringList &listed, const QString &rabbitryPath, const Options &options);

} // namespace Herd
