#pragma once

#include "records/Csv.h"
#include "records/LineFormat.h"

// The breeding record's matings as a table: one row per filled mating row.
namespace BreedingCsv {

// The sheet's twelve column headings, then "Mate's File".
QStringList header();
// A row (1..15) is filled when any of its twelve fields is not blank (neither its
// placeholder nor spaces only).
bool isFilled(const LineRecord &record, int row);
// The header, then each filled row's twelve values (blank ones empty) and its mate's
// file (empty for no link), in row order.
Csv::Rows table(const LineRecord &record);

} // namespace BreedingCsv
