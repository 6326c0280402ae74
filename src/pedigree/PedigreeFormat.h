#pragma once

#include "rabbit/RabbitFormat.h"
#include "records/LineCopy.h"
#include "records/LineFormat.h"

#include <QLatin1String>
#include <optional>
#include <span>

// The pedigree file (.ped): 126 lines, one field a line. Older files end after
// line 108, 123 or 124.
namespace PedigreeFile {

// The pedigree kind, as windows that open pedigrees name it.
constexpr const char *KindId = "pedigree";

enum Line {
    // The bunny's block: sex comes before colour here, unlike an ancestor's block.
    BunnyName = 0,
    BunnyEar = 1,
    BunnyReg = 2,
    BunnyWeight = 3,
    BunnySex = 4,
    BunnyColor = 5,
    BunnyBorn = 6,
    BreederLabel = 7,
    AddressLabel = 8,
    SoldToLabel = 9,
    SoldAddress = 10,
    DateLabel = 11,
    FirstAncestorBlock = 12, // fourteen blocks of six: Name Ear Reg Weight Color Winnings
    Title = 96,
    TitleLeft = 97,
    TitleTop = 98,
    TitleFontFace = 99,
    TitleFontSize = 100,
    BackStretch = 101,
    MiniStretch = 102,
    MiniFrameShown = 103,
    ChartFontFace = 104,
    ChartFontSize = 105,
    ChartFontWeight = 106,
    MiniPicture = 107,
    BackPicture = 108,
    MainRabFile = 109, // first of the fifteen position links, in position-table order
    FatherRabFile = 110,
    MotherRabFile = 111,
    GreatGram4RabFile = 123,
    Gridlines = 124,
    RabbitryFile = 125,
    LineCount = 126,
};

constexpr int PositionCount = 15;
constexpr int AncestorBlockSize = 6;
constexpr int TitleCode = 0;
constexpr int BunnyCode = 1;
constexpr int HeaderCode = 100; // the five certificate header fields share it

// The fields a chart position can have. The bunny has no winnings; ancestors have
// no sex and no birth date.
enum class ChartField { Name, Ear, Reg, Weight, Sex, Color, Born, Winnings };

// Suffix of the field's control name: "Name", "Ear", ... ("BunnyColor", "DadWinnings").
QLatin1String chartFieldName(ChartField field);

// One of the fifteen chart positions.
struct Position
{
    int code;               // 1, 21, 22, 31..34, 41..48
    QLatin1String prefix;   // "Bunny", "Dad", "SireTwoOne", ...
    QLatin1String linkName; // "MainRabFile", ...
    int linkLine;           // 109..123
    int firstLine;          // first line of its block of fields
    int fatherCode;         // position of its father on the chart, 0 on the outer column
    int motherCode;

    bool isBunny() const { return code == BunnyCode; }
    bool hasParents() const { return fatherCode != 0; }
    // Index 0..14 in the position table, which is also the order of the links.
    int index() const { return linkLine - MainRabFile; }
    // The fields in file order.
    std::span<const ChartField> fields() const;
    // File line of the field, or -1 when this position does not have it.
    int line(ChartField field) const;
    QString fieldName(ChartField field) const;
    // What this position takes from a rabbit file (source: rabbit line, target: chart
    // line), in copying order, which decides what a too-short file leaves behind. The
    // same pairs, turned round, fill a new rabbit record from the chart.
    QList<LinePair> rabbitLines() const;
};

// The fifteen positions in link order: bunny, sire, dam, the four grandparents,
// the eight great-grandparents. The seven that have parents come first, in the
// order auto-fill visits them.
std::span<const Position> positions();
// nullptr when the code names no chart position.
const Position *positionByCode(int code);

const LineFormat &format();

// A new record's values: placeholders, "Rabbit Pedigree" at 464,0 in Arial Black 14,
// pictures stretched and framed, Times New Roman 9, no pictures, no links,
// connector lines on.
LineRecord newRecord();

// Parses a whole file; throws before returning anything when a line the file must
// have is missing or a number is not a number.
inline LineRecord parse(const LineFile &file)
{
    return LineRecord::parse(format(), file);
}

// The record a window holds after loading `parsed` over its state `before`:
// lines an older file lacks keep their values from `before`, and the presentation
// lines are read the way the window reads them (only "true" stretches, a frame
// setting other than "true"/"false" and a weight other than "Bold"/"Normal" keep
// what was there, anything but "GridlinesOn" hides the lines, "None" as a picture
// means no picture, numbers are normalised). Saving the result writes what the
// window would write.
LineRecord loadedState(const LineRecord &parsed, const LineRecord &before);

// Reads and parses a file into the state a new window shows. Throws FileError,
// LineIndexError or ConversionError; on a throw nothing was produced.
LineRecord read(const QString &path);
// Writes all 126 lines atomically. Throws FileError.
void write(const LineRecord &record, const QString &path);

// How the window reads and writes the presentation lines.
inline const QString TrueText = QStringLiteral("true");
inline const QString FalseText = QStringLiteral("false");
inline const QString GridlinesOn = QStringLiteral("GridlinesOn");
inline const QString GridlinesOff = QStringLiteral("GridlinesOff");

// Lines 101 and 102: only the exact word "true" stretches.
inline bool isStretched(const QString &text)
{
    return text == TrueText;
}
// Line 103: shown, hidden, or no opinion (the window keeps its setting).
std::optional<bool> frameShown(const QString &text);
// Line 106: bold, normal, or no opinion.
std::optional<bool> isBold(const QString &text);
// Line 124: only the exact "GridlinesOn" shows the connector lines.
inline bool gridlinesShown(const QString &text)
{
    return text == GridlinesOn;
}
// Lines 107 and 108: the path the window stores; empty means no picture.
QString storedPicturePath(const QString &text);

inline QString boolText(bool on)
{
    return on ? TrueText : FalseText;
}
inline QString gridlinesText(bool shown)
{
    return shown ? GridlinesOn : GridlinesOff;
}
inline QString weightText(bool bold)
{
    return bold ? RecordText::Bold : RecordText::Normal;
}

} // namespace PedigreeFile
