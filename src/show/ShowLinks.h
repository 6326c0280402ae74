#pragma once

#include "records/LinkContext.h"
#include "show/ShowFormat.h"

#include <QString>

// Following a show record's one file link, the rabbit's own rabbit file. These
// functions read the rabbit file but never write it; the show window applies their
// results.
namespace ShowLinks {

// Update from Links: when the link is not "None", name, ear, registration, sex and
// colour from the rabbit file, verbatim, blanks included. The link and the chosen
// row do not change. A file missing at the stored path is taken from beside the show
// record (`context`) when it is there. The file is checked whole before anything is taken from it:
// FileError or LineIndexError (fewer than 8 lines) leaves `show` unchanged.
void updateFromLinks(LineRecord &show, LinkContext &context);

// Load Saved Rabbit: reads the rabbit file, links the record to it and takes name,
// ear, registration, sex and colour, skipping a name line of 34 underscores and any
// other line of 17 underscores (RabbitLinks::nameAndColorBlanks()). All or nothing:
// FileError or LineIndexError changes nothing.
void loadSavedRabbit(LineRecord &show, const QString &rabbitPath);

// "Open Rabbit File" while unlinked: a new rabbit record carrying the sheet's name,
// ear, registration, sex and colour; a field still holding its show placeholder
// leaves the rabbit's own blank.
LineRecord showToRabbit(const LineRecord &show);

} // namespace ShowLinks
