#pragma once

#include "breeding/BreedingFormat.h"
#include "records/LinkContext.h"
#include "records/RecordError.h"

#include <QString>

// Following a breeding record's file links: what the subject and the mating rows
// take from rabbit files, what a rabbit record started from a position carries, and
// the offspring of a mating. These functions read files but never write one; the
// breeding window applies their results.
//
// Links are followed in a LinkContext, the breeding record's own file: a linked file
// missing at its stored path is taken from beside the record when it is there.
//
// Copies from rabbit files skip a name line of 34 underscores and any other line of
// 17 underscores (RabbitLinks::nameAndColorBlanks()), so a rabbit file's shorter
// blank ear, registration or sex is copied as it stands.
namespace BreedingLinks {

// Generate Offspring without both parents linked. The window shows its text as a
// message, not as an error: "Must have two linked parent files", then how to link
// the one that is missing.
class MissingParentsError : public RecordError
{
public:
    // A row that is not a mating row has nothing to link.
    MissingParentsError() : RecordError(QStringLiteral("Must have two linked parent files")) {}
    MissingParentsError(bool subjectLinked, bool mateLinked, int row);
};

// Update from Links: refreshes the subject (name, ear, registration, sex, colour)
// and then each mate row 1..15 (name, ear, colour) whose link is not "None" from its
// rabbit file. Litter fields and links never change. Each file is checked whole
// before anything is taken from it. Throws FileError or LineIndexError (a rabbit file
// of fewer than 8 lines); `breeding` then holds what the files before the failing
// one gave.
void updateFromLinks(LineRecord &breeding, LinkContext &context);

// Load Saved Rabbit on a position (0 the subject, 1..15 a mate row): reads the
// rabbit file, links the position to it and copies it in as Update from Links does.
// All or nothing: a file that cannot be read (FileError) or is too short
// (LineIndexError) changes nothing. Returns false, changing nothing, for an unknown
// position.
bool loadSavedRabbit(LineRecord &breeding, int position, const QString &rabbitPath);

// "Open Rabbit File" on an unlinked position: a new rabbit record carrying the
// position's name, ear, colour and, for the subject, registration and sex; a field
// still holding its breeding placeholder leaves the rabbit's own blank. An unknown
// position gives a plain new rabbit record.
LineRecord positionToRabbit(const LineRecord &breeding, int position);

// Whether the subject is the father of its litters: its sex is exactly "Male" or
// "Buck". Any other text, "buck" and a blank included, makes it the mother.
bool subjectIsFather(const LineRecord &breeding);

// The first step of Generate Offspring on row 1..15: a new rabbit record whose
// father and mother links are the subject's and the mate's files, sided by
// subjectIsFather(). Reads no file. Throws MissingParentsError when either link is
// "None" (or the row is not 1..15).
LineRecord offspringLinks(const LineRecord &breeding, int row);

// Generate Offspring: offspringLinks(), then the new record's Update from Links
// fills the sire's and dam's names and colours from the two files. A window that
// must keep the half-filled record after a FileError or LineIndexError calls the two
// steps itself (RabbitLinks::updateFromLinks on the linked record).
LineRecord generateOffspring(const LineRecord &breeding, int row, LinkContext &context);

} // namespace BreedingLinks
