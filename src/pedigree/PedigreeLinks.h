#pragma once

#include "pedigree/PedigreeFormat.h"
#include "records/LinkContext.h"

#include <QString>
#include <array>

// Following a pedigree's file links: what the chart takes from rabbit and rabbitry
// files, and what a new rabbit record takes from the chart. These functions read
// files but never write one; the pedigree window applies their results.
//
// Links are followed in a LinkContext, the pedigree's own file: a linked file missing
// at its stored path is taken from beside the pedigree when it is there.
//
// Commands stop at the first error and keep what they did before it, so the
// functions that change several things work on a record or link list passed by
// reference: when one throws, the object holds every change made up to the error.
namespace PedigreeLinks {

// The fifteen position links, indexed like PedigreeFile::positions().
using PositionLinks = std::array<QString, PedigreeFile::PositionCount>;

PositionLinks linksOf(const LineRecord &pedigree);
void setLinks(LineRecord &pedigree, const PositionLinks &links);

// Auto-fill: for each position that has parents on the chart, in link order, reads
// its linked rabbit file and, when the file goes past line 57, takes the file's
// father and mother links (lines 57 and 58) as the links of the two parent
// positions, "None" included. Later steps read the links earlier steps wrote, so
// one run follows the bunny's file three generations deep.
// Throws FileError for a file that cannot be read and LineIndexError for a file of
// exactly 58 lines (after its father link was taken); `links` then holds what the
// steps before the error did.
void autoFill(PositionLinks &links, LinkContext &context);

// Update from Links: refreshes every linked position from its rabbit file, in link
// order, then the breeder lines from the rabbitry link (an empty name or
// abbreviated address gives the header's blank placeholder; a rabbitry file without
// a complete trailer leaves them). Links are not changed.
// Throws FileError or LineIndexError; positions refreshed before the error stay
// refreshed in `pedigree`.
void updateFromLinks(LineRecord &pedigree, LinkContext &context);

// The rabbit record started from a position ("Open Rabbit File" on an unlinked
// position): a new rabbit record carrying the position's filled-in chart fields.
// A field still holding its chart placeholder leaves the rabbit's own placeholder.
// An unknown code gives a plain new rabbit record.
LineRecord chartToRabbit(const LineRecord &pedigree, int positionCode);

// Load Saved Rabbit, and the hand-off of a new rabbit record saved from the editor:
// reads the rabbit file, links the position to it and copies it into the position.
// All or nothing: a file that cannot be read (FileError) or is too short for the
// position (LineIndexError) changes nothing. Returns false, changing nothing, when
// the code names no chart position.
bool loadSavedRabbit(LineRecord &pedigree, int positionCode, const QString &rabbitPath);
inline bool handOff(LineRecord &pedigree, int positionCode, const QString &rabbitPath)
{
    return loadSavedRabbit(pedigree, positionCode, rabbitPath);
}

// Load Saved Rabbitry: links the rabbitry file and, when it has the trailer, sets the
// breeder lines to its name and abbreviated address as they stand (empty included).
// A file that cannot be read changes nothing (FileError).
void loadSavedRabbitry(LineRecord &pedigree, const QString &rabbitryPath);
// The rabbitry record started from the header fields ("Open Rabbitry" without a
// link): the breeder line becomes its name, the address line both its address and
// its abbreviated address; a line that is empty or still holds its placeholder
// (begins with an underscore) leaves the detail empty. A seed of Rabbitry::seedFormat().
LineRecord headerToRabbitry(const LineRecord &pedigree);
// The hand-off of a rabbitry record started from the header fields (code 100);
// another code changes nothing and returns false.
bool handOffRabbitry(LineRecord &pedigree, int positionCode, const QString &rabbitryPath);

} // namespace PedigreeLinks
