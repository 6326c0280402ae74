#pragma once

#include "records/LineFormat.h"

#include <span>

// Copying lines from one record file into another record: a rabbit's name into a
// pedigree position, a mate's colour into a breeding row. Each reader states its
// lines once, as a table kept beside its own format.
struct LinePair
{
    int source; // line of the file read
    int target; // line of the record filled
};

enum class Placeholders {
    Copy, // every line is copied as it stands
    Skip, // a line still holding the source format's blank placeholder is not copied
};

// Copies the lines in table order. A line the source lacks throws LineIndexError
// naming it; the lines copied before it stay copied.
void copyLines(const LineFile &source, const LineFormat &sourceFormat, std::span<const LinePair> pairs,
               LineRecord &target, Placeholders rule);

// How many lines from the top of a file the table reads (one past its highest source
// line): what a reader passes to LineFile::readHead.
int linesRead(std::span<const LinePair> pairs);

// Throws LineIndexError naming the first line of the table the source lacks. A
// command that must change all or nothing checks this before it copies.
void requireLines(const LineFile &source, std::span<const LinePair> pairs);
