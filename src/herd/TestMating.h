#pragma once

#include "herd/AncestorFiles.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <atomic>

// A planned litter's pedigree and Wright's coefficient of inbreeding, from the buck's
// and the doe's rabbit files.
//
// The pedigree holds five generations, the litter included: 31 places, numbered as a
// heap (the litter 0, the sire 1, the dam 2, the sire and dam of place i at 2i+1 and
// 2i+2). Each ancestor is taken from its child's father or mother link, followed
// through the linked rabbit files. Where a link ends (no link, or a file that cannot
// be read), the place is taken from the nearest pedigree chart on that line: the
// child's own linked pedigree file, else the chart an earlier rabbit of the line
// came from; failing both, the child's father or mother name gives a name only.
//
// Who is the same rabbit is decided as Check Inbreeding decides it: two linked places
// are the same when they lead to the same file; when either is unlinked, by the same
// name and the same ear number (trimmed, any case), never by a placeholder or blank.
// Each pair of paths from the sire and the dam to a common ancestor, sharing no other
// rabbit, adds (1/2)^(n1+n2+1) (1 + F_A), F_A taken from the ancestor's own parents
// where the pedigree shows them.
namespace TestMating {

constexpr int Generations = 5; // the litter and four generations of ancestors
constexpr int PlaceCount = 31; // 2^5 - 1
constexpr int Litter = 0;
constexpr int Sire = 1;
constexpr int Dam = 2;

// "sire", "dam's sire", "sire's dam's dam"; "litter" for place 0.
QString placeName(int place);

// One place of the pedigree.
struct Ancestor
{
    bool known = false; // a name or a link stands there
    QString name;       // as written, trimmed; may be empty
    QString ear;
    QString link; // the rabbit file it stands for (where read or where linked), or empty
};

struct CommonAncestor
{
    QString name;
    QString ear;
    QString link;
    QList<int> places; // in place order
    double share = 0;  // what this rabbit adds to the coefficient
};

// How much of one generation of ancestors is known.
struct Generation
{
    int number = 0; // 2 parents, 3 grandparents, 4 great-grandparents, 5 great-great-grandparents
    int known = 0;
    int possible = 0;
    // "12 of 16 great-great-grandparents known"
    QString text() const;
};

struct Result
{
    double coefficient = 0; // 0..1
    std::array<Ancestor, PlaceCount> places;
    // Rabbits standing on both the sire's and the dam's side, largest share first.
    QList<CommonAncestor> common;
    std::array<Generation, Generations - 1> generations;
    // "Blaze is listed as its own ancestor ...": each link loop, once.
    QStringList loops;
    // Files that could not be read, each once.
    QStringList problems;

    int known() const;    // ancestors known, over the 30 places
    int possible() const; // 30
    // "COI 12.50% over five generations"
    QString summary() const;
    // "27 of 30 ancestors known"
    QString completeness() const;
    // What the window shows: the summary, the common ancestors with their places and
    // shares, how complete each generation is, then loops and unreadable files.
    QStringList lines() const;
};

// Mates the buck and the doe of these rabbit files (paths to read, as a herd row's
// `path`). Throws RecordError naming the file when the buck's or the doe's own file
// cannot be read; an ancestor's file that cannot be read is a problem in the result.
Result mate(const QString &buckPath, const QString &doePath, AncestorFiles &files);

// One buck of a ranking.
struct Ranked
{
    QString path;
    QString name;           // from the buck's file, trimmed, or the file name
    double coefficient = 0; // of the litter with the doe
    int known = 0;          // ancestors of the litter known, of `possible`
    int possible = 0;
    QString error; // the buck's own file could not be read: ranked last

    QString completeness() const; // "27 of 30 ancestors known"
};

// Every buck mated to the doe, lowest coefficient first; among equal figures the more
// complete pedigree first (an empty pedigree's 0 is no promise), then by name. A buck
// whose file is the doe's own is left out. Each file is read once for the whole
// ranking. Stops early, returning what it has ranked, when `cancel` is set. Throws
// RecordError when the doe's own file cannot be read.
QList<Ranked> rankBucks(const QString &doePath, const QStringList &buckPaths, AncestorFiles &files,
                        const std::atomic<bool> *cancel = nullptr);

} // namespace TestMating
