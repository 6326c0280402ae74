#pragma once

#include "records/LineFormat.h"
#include "records/RecordText.h"

// The rabbit file (.rab): 72 lines, one field a line. Older files end after line
// 56, 68 or 70.
namespace RabbitFile {

// The rabbit kind, as windows that open rabbit records name it.
constexpr const char *KindId = "rabbit";

enum Line {
    RabbitName = 0,
    OwnerName = 1,
    Breed = 2,
    EarNumber = 3,
    RegNumber = 4,
    Weight = 5,
    Sex = 6,
    Color = 7,
    BirthDate = 8,
    DadName = 9,
    DadColor = 10,
    MomName = 11,
    MomColor = 12,
    FirstSibling = 13, // sibling i (1..10): name, colour, sex at 13 + 3(i-1)
    ASeries = 43,
    BSeries = 44,
    CSeries = 45,
    DSeries = 46,
    ESeries = 47,
    BrokenSeries = 48,
    VSeries = 49,
    WSeries = 50,
    FontFace = 51,
    FontSize = 52,
    FontWeight = 53,
    RabbitPicture = 54,
    BackPicture = 55,
    Winnings = 56,
    FatherRabFile = 57,
    MotherRabFile = 58,
    FirstSiblingRabFile = 59, // sibling i's link at 58 + i
    PedigreeLink = 69,
    BreedLink = 70,
    ShowLink = 71,
    LineCount = 72,
};

constexpr int SiblingCount = 10;
inline int siblingName(int i)
{
    return FirstSibling + 3 * (i - 1);
}
inline int siblingColor(int i)
{
    return siblingName(i) + 1;
}
inline int siblingSex(int i)
{
    return siblingName(i) + 2;
}
inline int siblingRabFile(int i)
{
    return 58 + i;
}

const LineFormat &format();

// A new record's values: placeholders, the default font, no pictures, no links.
LineRecord newRecord();

inline LineRecord parse(const LineFile &file)
{
    return LineRecord::parse(format(), file);
}

// The record a window shows after loading `parsed` over what it showed (`before`):
// lines an older file lacks keep their values, only the exact "Bold" or "Normal"
// changes the weight, the font size is written as a plain number, and "None" as a
// picture means no picture (saved as an empty line).
LineRecord loadedState(const LineRecord &parsed, const LineRecord &before);

} // namespace RabbitFile
