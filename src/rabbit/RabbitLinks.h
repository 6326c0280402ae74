#pragma once

#include "rabbit/RabbitFormat.h"
#include "records/LineCopy.h"
#include "records/LinkContext.h"

#include <QString>
#include <optional>

// Following a rabbit's own file links: what the rabbit record takes from its
// parents' and siblings' rabbit files and from its show record, and what a new
// rabbit record started from a relative carries. These functions read files but
// never write one; the rabbit window applies their results.
//
// Commands stop at the first error and keep what they did before it: the functions
// that change several things work on a record passed by reference, which after a
// throw holds every change made before the error.
namespace RabbitLinks {

constexpr int FatherNumber = 1;
constexpr int MotherNumber = 2;
constexpr int RelativeCount = 2 + RabbitFile::SiblingCount;

// A relative on the sheet, by its number: 1 father, 2 mother, i + 2 sibling i.
struct Relative
{
    int number;
    int nameLine;
    int colorLine;
    int sexLine; // -1 for the parents, whose sex is fixed
    int linkLine;

    bool isSibling() const { return sexLine >= 0; }
    // "Male" for the father, "Female" for the mother, empty for a sibling.
    QString fixedSex() const;
    // What the relative takes from its rabbit file (source: the relative's rabbit
    // line, target: this record's line): name, then a sibling's sex, then colour.
    QList<LinePair> rabbitLines() const;
};

// The relative of that number, or nothing for a number outside 1..12.
std::optional<Relative> relative(int number);

// The rabbit file as the breeding and show windows test it when they copy from it:
// a name line of 34 underscores and any other line of 17 underscores counts as
// unfilled. The rabbit's own shorter blanks for ear, registration and sex are
// therefore copied like any text. Pass it to copyLines as the source format.
const LineFormat &nameAndColorBlanks();

// Update from Links: the winnings summary of the linked show file's chosen row
// (no row or an empty summary leaves Winnings as it is), then, for the father, the
// mother and siblings 1..10 whose link is not "None", name, sibling sex and colour
// from the linked rabbit file; a line still holding the rabbit file's blank is not
// copied. Pedigree and breeding links are not read; no link changes. A file missing
// at its stored path is taken from beside the holder of `context` when it is there.
// Only the lines taken are read (the show file's line 65 and chosen row, a relative's
// lines 0-7), and all those of a file are there before anything is taken from it.
// Throws FileError, LineIndexError (a rabbit file of fewer than 8 lines, a show file
// of fewer than 66) or ConversionError (a show file whose line 65 is not a number);
// `rabbit` then holds what the files before the failing one gave.
void updateFromLinks(LineRecord &rabbit, LinkContext &context);

// Load Saved Rabbit on a relative: reads the rabbit file, links the relative to it
// and takes name, sibling sex and colour as Update from Links does. All or nothing:
// a file that cannot be read (FileError) or is too short (LineIndexError) changes
// nothing. Returns false, changing nothing, for an unknown relative number.
bool loadSavedRabbit(LineRecord &rabbit, int relativeNumber, const QString &rabbitPath);

// "Open Rabbit File" on an unlinked relative: a new rabbit record carrying the
// relative's name and colour and, as its sex, "Male" for the father, "Female" for
// the mother or the sibling's sex. A value that is empty or starts with "_" counts
// as unfilled and leaves the new record's blank. An unknown number gives a plain
// new record.
LineRecord relativeToRabbit(const LineRecord &rabbit, int relativeNumber);

} // namespace RabbitLinks
