#pragma once

#include "records/LineFormat.h"

#include <QList>
#include <QString>

#include <functional>

// Wright's coefficient of inbreeding of the bunny, from the fifteen positions of a
// pedigree chart. Every common ancestor contributes (1/2)^(n1+n2+1) (1 + F_A) for each
// pair of paths to it, one from the sire and one from the dam, that share no other
// rabbit; F_A comes from the ancestor's own parents where the chart shows them, and
// is 0 beyond the chart.
namespace Inbreeding {

// A rabbit that stands at more than one position of the chart.
struct RepeatedAncestor
{
    QString name;            // as the chart shows it, trimmed; may be a placeholder
    QString ear;             // trimmed
    QString link;            // the rabbit file of the first linked position, or empty
    QList<int> positions;    // position codes, in chart order
    double contribution = 0; // share of the coefficient through this rabbit (0 when
                             // it stands on one side only)
};

struct Result
{
    double coefficient = 0; // 0..1
    QList<RepeatedAncestor> repeated;
    // Every position of every repeated ancestor, in chart order.
    QList<int> repeatedPositions() const;
};

// Whether two positions of the chart hold the same rabbit: both linked to the same
// rabbit file (fileKey), or, when either is unlinked, the same name (trimmed, any case) and
// the same ear number (trimmed, any case), none of them a placeholder or blank.
// Positions named by an unknown code are never the same as anything.
bool sameRabbit(const LineRecord &pedigree, int codeA, int codeB);

// Which file a link leads to: one text for every way of reaching a file that exists
// (a symbolic link, "..", a second hard link); for a link to no file, its cleaned path.
// Only for comparing with another key: the text is no path.
QString fileKey(const QString &link);
// fileKey, or a cache of it: a herd's charts name the same ancestors again and again.
using FileKey = std::function<QString(const QString &link)>;

// `keyOf` empty: fileKey.
Result compute(const LineRecord &pedigree, const FileKey &keyOf = {});

// "sire", "dam's sire", "sire's dam's dam"; "bunny" for the bunny.
QString positionName(int code);
// "12.50%"
QString percent(double coefficient);
// "COI 12.50% over four generations"
QString summary(const Result &result);
// The summary, then each repeated ancestor with the positions where it stands.
QString report(const Result &result);

} // namespace Inbreeding
