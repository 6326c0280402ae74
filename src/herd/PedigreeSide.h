#pragma once

#include "herd/AncestorFiles.h"

#include <QString>
#include <QStringList>
#include <array>

// One side of a planned litter's pedigree: a parent and three generations above it,
// gathered from rabbit files and, where their links end, pedigree charts (the rules
// are in TestMating.h). Used by TestMating only.
namespace PedigreeSide {

// Fifteen places as a heap: the parent 0, the father and mother of place i at 2i+1
// and 2i+2.
constexpr int PlaceCount = 15;
constexpr int WithParents = 7; // places 0..6 have parents on this side

struct Node
{
    bool known = false;
    QString name; // trimmed
    QString ear;  // trimmed
    QString link; // the rabbit file the place stands for, or empty
    QString key;  // identity of `link` (AncestorFiles::keyOf), empty when unlinked
    // Folded name and ear when both say something, else empty: the identity of an
    // unlinked place.
    QString nameKey;
};

struct Side
{
    std::array<Node, PlaceCount> nodes;
    QStringList loops;    // each link loop, once
    QStringList problems; // each file that could not be read, once
};

// Whether two places hold the same rabbit, by Check Inbreeding's rules.
inline bool same(const Node &a, const Node &b)
{
    if (!a.key.isEmpty() && !b.key.isEmpty())
        return a.key == b.key;
    return !a.nameKey.isEmpty() && a.nameKey == b.nameKey;
}

// The side of `parent`, whose own file has been read.
Side build(const AncestorFiles::Rabbit &parent, AncestorFiles &files);

// A name worth comparing: not blank and not only underscores (a placeholder).
bool isFilled(const QString &text);

} // namespace PedigreeSide
