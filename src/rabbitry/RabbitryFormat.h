#pragma once

#include "records/LineFile.h"
#include "records/LineFormat.h"
#include "records/LinkContext.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

// The rabbitry file (.rbty): the breeder's rabbit files, one full path a line, then
// the trailer: the line "-RabbitryInfo-" and four detail lines (name, address,
// abbreviated address, phone). Files written before the details existed hold only
// the paths.
//
// The namespace is Rabbitry, not RabbitryFile, because the pedigree's link line of
// that name is used unqualified wherever PedigreeFile is.
namespace Rabbitry {

// The kind of window that shows rabbitry files.
constexpr const char *KindId = "rabbitry";

inline const QString Marker = QStringLiteral("-RabbitryInfo-");
// The marker and the four details.
constexpr int TrailerLines = 5;

struct Details
{
    QString name;
    QString address;
    QString abbreviatedAddress; // the address line of pedigree certificates
    QString phone;

    bool operator==(const Details &) const = default;
};

struct Record
{
    // Full paths in the order the file lists them (every line before the trailer,
    // empty lines included).
    QStringList rabbits;
    // Nothing for an older file without the trailer: the window keeps its details.
    std::optional<Details> details;
};

// Parses a whole file. A file without the marker is an older plain list. Blank lines
// after the trailer are passed over (a save does not write them back). Throws
// RecordError naming `path` when the marker stands anywhere else but fifth from the
// end (a cut-off trailer, or lines after it): reading such a file as a list would
// turn the details into rabbits and lose them at the next save.
Record parse(const LineFile &file, const QString &path);
// Reads and parses; throws FileError or RecordError and never returns half a record.
Record read(const QString &path);

// The file's lines: the paths sorted by fileOrder(), the marker, the four details.
// Throws RecordError when a path or a detail holds a line break, which the file
// cannot store.
LineFile toLines(const QStringList &rabbits, const Details &details);
// toLines() written atomically; throws RecordError or FileError.
void write(const QString &path, const QStringList &rabbits, const Details &details);

// A rabbitry record started from another window (the pedigree's header fields)
// carries details only. Its seed is the file an empty rabbitry saves as: the marker
// and the four details, as a record of seedFormat().
const LineFormat &seedFormat();
LineRecord seed(const Details &details);
// What a seed holds: parsed as the lines of a rabbitry file, so any record whose
// lines form one (rabbits included) seeds a window. Throws RecordError otherwise.
Record fromSeed(const LineRecord &seed);

// The details of a file that ends with a complete trailer (blank lines after it
// passed over as parse() does), else nothing (an older list, a file shorter than
// five lines, a cut-off trailer). The pedigree reads
// rabbitry files this way: it only takes the name and abbreviated address and
// never writes the file.
std::optional<Details> trailer(const LineFile &file);

// Saving order: by full path, ignoring case (exact text breaks ties).
QStringList fileOrder(QStringList paths);
// Screen order of the list: by file name ignoring case, then by full path, so two
// a.rab in different folders keep a fixed order. Each entry stays its full path.
QStringList displayOrder(QStringList paths);
// What the list shows for a path: its file name without folder.
inline QString displayName(const QString &path)
{
    return fileNamePart(path);
}

enum class AddResult {
    Added,
    AlreadyListed, // "That rabbit is already in the rabbitry"
    CannotStore,   // the path holds a line break
};
// Add: appends `path` unless exactly that text (case matters) is listed already.
AddResult addRabbit(QStringList &rabbits, const QString &path);
// What Add says of the files it refused as listed already, `chosen` being how many
// were chosen: "That rabbit is already in the rabbitry" for a single Add, the file
// names after it for several.
QString alreadyListedMessage(const QStringList &listed, int chosen);

// The rabbit files a preview may link to, with the Open button of each.
enum class RabbitLink { Pedigree, Breeding, Show };
// The rabbit file line of the link (69, 70, 71).
int linkLine(RabbitLink link);
// "Open Pedigree", "Open Breeding Record", "Open Show Record".
QString openButtonText(RabbitLink link);
// "No pedigree file associated with that rabbit" and the like.
QString noLinkMessage(RabbitLink link);

// What the list shows of the selected rabbit, read from its rabbit file.
struct RabbitPreview
{
    QString name;  // line 0
    QString owner; // line 1
    QString ear;   // line 3
    QString reg;   // line 4
    QString sex;   // line 6
    QString color; // line 7
    // Line 54 as it stands; RecordText::isNoPicture() says there is none.
    QString picture;
    // Lines 69-71, "None" where the file ends before the line (older files).
    std::array<QString, 3> links;

    const QString &link(RabbitLink which) const { return links[std::size_t(which)]; }
    bool hasLink(RabbitLink which) const;
};

// Takes the preview from a rabbit file's lines. Throws LineIndexError when the file
// ends before line 54.
RabbitPreview previewOf(const LineFile &rabbitFile);
// Reads the rabbit file of a list entry whole first: a file that cannot be read or is
// too short throws (FileError, LineIndexError) and the window blanks its preview. An
// entry missing at its stored path is read from beside the rabbitry (`context`) when
// it is there.
RabbitPreview readPreview(const QString &rabbitPath, LinkContext &context);

} // namespace Rabbitry
