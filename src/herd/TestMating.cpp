#include "herd/TestMating.h"

#include "herd/PedigreeSide.h"
#include "pedigree/Inbreeding.h"
#include "pedigree/WrightCoefficient.h"
#include "records/LineFile.h"
#include "records/RecordError.h"

#include <algorithm>
#include <bit>
#include <numeric>

namespace TestMating {

namespace {

using PedigreeSide::isFilled;
using PedigreeSide::Node;

int generationOf(int place)
{
    return std::bit_width(unsigned(place + 1)); // the litter 1, the parents 2, ...
}

// Place `local` of a side (a heap of its own) in the litter's pedigree.
int placeOf(int local, int side)
{
    const int depth = generationOf(local) - 1;
    const int offset = local - ((1 << depth) - 1);
    return (1 << (depth + 1)) - 1 + side * (1 << depth) + offset;
}

// 0 for places on the sire's side, 1 on the dam's.
int sideOf(int place)
{
    const int depth = generationOf(place) - 1;
    const int offset = place - ((1 << depth) - 1);
    return offset < (1 << (depth - 1)) ? 0 : 1;
}

// The whole pedigree, with who is the same rabbit as whom.
class Pedigree
{
public:
    Pedigree(const PedigreeSide::Side &sire, const PedigreeSide::Side &dam) : m_heap(Generations)
    {
        for (int side = 0; side < 2; ++side) {
            const PedigreeSide::Side &from = side == 0 ? sire : dam;
            for (int local = 0; local < PedigreeSide::PlaceCount; ++local)
                m_nodes[std::size_t(placeOf(local, side))] = from.nodes[std::size_t(local)];
        }
        for (int a = 1; a < PlaceCount; ++a)
            for (int b = a + 1; b < PlaceCount; ++b)
                m_heap.setSame(a, b, PedigreeSide::same(node(a), node(b)));
    }

    const Node &node(int place) const { return m_nodes[std::size_t(place)]; }
    bool same(int a, int b) const { return m_heap.same(a, b); }

    // The litter's coefficient; `through`, when given, receives each common ancestor's
    // share.
    double coefficient(std::array<double, PlaceCount> *through)
    {
        if (!through)
            return m_heap.coefficient(Litter);
        std::vector<double> shares(PlaceCount, 0.0);
        const double f = m_heap.coefficient(Litter, &shares);
        std::copy(shares.cbegin(), shares.cend(), through->begin());
        return f;
    }

private:
    std::array<Node, PlaceCount> m_nodes;
    Wright::HeapPedigree m_heap;
};

QString whoOf(const QString &name, const QString &ear, const QString &link)
{
    QString who = isFilled(name)   ? excerpt(name, 40)
                  : link.isEmpty() ? QStringLiteral("(no name)")
                                   : excerpt(fileNamePart(link), 40);
    if (isFilled(ear))
        who += QStringLiteral(", ear ") + excerpt(ear, 20);
    return who;
}

// The rabbits standing on both sides, or adding to the figure, with their places.
QList<CommonAncestor> commonOf(const Pedigree &pedigree, const std::array<double, PlaceCount> &through)
{
    std::array<int, PlaceCount> group{};
    std::iota(group.begin(), group.end(), 0);
    const auto root = [&group](int i) {
        while (group[std::size_t(i)] != i)
            i = group[std::size_t(i)];
        return i;
    };
    for (int a = 1; a < PlaceCount; ++a)
        for (int b = a + 1; b < PlaceCount; ++b)
            if (pedigree.node(a).known && pedigree.node(b).known && pedigree.same(a, b))
                group[std::size_t(root(b))] = root(a);
    QList<CommonAncestor> common;
    for (int first = 1; first < PlaceCount; ++first) {
        if (root(first) != first || !pedigree.node(first).known)
            continue;
        CommonAncestor ancestor;
        std::array<bool, 2> sides{};
        for (int i = first; i < PlaceCount; ++i) {
            if (root(i) != first)
                continue;
            ancestor.places.append(i);
            ancestor.share += through[std::size_t(i)];
            sides[std::size_t(sideOf(i))] = true;
            if (ancestor.link.isEmpty())
                ancestor.link = pedigree.node(i).link;
        }
        if (!(sides[0] && sides[1]) && ancestor.share <= 0)
            continue;
        ancestor.name = pedigree.node(first).name;
        ancestor.ear = pedigree.node(first).ear;
        common.append(ancestor);
    }
    std::stable_sort(common.begin(), common.end(),
                     [](const CommonAncestor &x, const CommonAncestor &y) { return x.share > y.share; });
    return common;
}

void appendEach(QStringList &to, const QStringList &from)
{
    for (const QString &line : from)
        if (!to.contains(line))
            to.append(line);
}

Result resultOf(const PedigreeSide::Side &sire, const PedigreeSide::Side &dam, bool withCommon)
{
    Pedigree pedigree(sire, dam);
    std::array<double, PlaceCount> through{};
    Result result;
    result.coefficient = std::clamp(pedigree.coefficient(withCommon ? &through : nullptr), 0.0, 1.0);
    for (int place = 1; place < PlaceCount; ++place) {
        const Node &node = pedigree.node(place);
        result.places[std::size_t(place)] = Ancestor{node.known, node.name, node.ear, node.link};
    }
    result.places[Litter] = Ancestor{true, QStringLiteral("litter"), {}, {}};
    for (int generation = 2; generation <= Generations; ++generation) {
        Generation &g = result.generations[std::size_t(generation - 2)];
        g.number = generation;
        g.possible = 1 << (generation - 1);
        for (int place = g.possible - 1; place < 2 * g.possible - 1; ++place)
            g.known += pedigree.node(place).known ? 1 : 0;
    }
    if (withCommon)
        result.common = commonOf(pedigree, through);
    appendEach(result.loops, sire.loops);
    appendEach(result.loops, dam.loops);
    appendEach(result.problems, sire.problems);
    appendEach(result.problems, dam.problems);
    return result;
}

const AncestorFiles::Rabbit &readParent(const QString &path, AncestorFiles &files)
{
    QString error;
    const AncestorFiles::Rabbit *rabbit = files.rabbit(path, error);
    if (!rabbit)
        throw RecordError(error);
    return *rabbit;
}

QString completenessText(int known, int possible)
{
    return QStringLiteral("%1 of %2 ancestors known").arg(known).arg(possible);
}

} // namespace

QString placeName(int place)
{
    if (place == Litter)
        return QStringLiteral("litter");
    if (place < 0 || place >= PlaceCount)
        return {};
    const QString role = place % 2 == 1 ? QStringLiteral("sire") : QStringLiteral("dam");
    const int child = (place - 1) / 2;
    return child == Litter ? role : placeName(child) + QStringLiteral("'s ") + role;
}

QString Generation::text() const
{
    static const char *const Names[] = {"parents", "grandparents", "great-grandparents", "great-great-grandparents"};
    const QLatin1String name(number >= 2 && number <= Generations ? Names[number - 2] : "ancestors");
    return QStringLiteral("%1 of %2 %3 known").arg(known).arg(possible).arg(name);
}

int Result::known() const
{
    return std::accumulate(generations.cbegin(), generations.cend(), 0,
                           [](int sum, const Generation &g) { return sum + g.known; });
}

int Result::possible() const
{
    return PlaceCount - 1;
}

QString Result::summary() const
{
    return QStringLiteral("COI %1 over five generations").arg(Inbreeding::percent(coefficient));
}

QString Result::completeness() const
{
    return completenessText(known(), possible());
}

QStringList Result::lines() const
{
    QStringList lines{summary(), QString()};
    if (common.isEmpty()) {
        lines.append(QStringLiteral("No rabbit stands on both the sire's and the dam's side."));
    } else {
        lines.append(QStringLiteral("Common ancestors:"));
        for (const CommonAncestor &ancestor : common) {
            QStringList places;
            for (int place : ancestor.places)
                places.append(placeName(place));
            // Nothing when every way to it passes a nearer common ancestor.
            const QString adds = ancestor.share > 0 ? QStringLiteral("adds %1").arg(Inbreeding::percent(ancestor.share))
                                                    : QStringLiteral("adds nothing");
            lines.append(
                QStringLiteral("%1: %2 (%3)")
                    .arg(whoOf(ancestor.name, ancestor.ear, ancestor.link), places.join(QStringLiteral(", ")), adds));
        }
    }
    lines.append(QString());
    for (const Generation &g : generations)
        lines.append(g.text());
    if (!loops.isEmpty()) {
        lines << QString() << QStringLiteral("Loops in the links:");
        lines += loops;
    }
    if (!problems.isEmpty()) {
        lines << QString() << QStringLiteral("Files that could not be read:");
        lines += problems;
    }
    return lines;
}

Result mate(const QString &buckPath, const QString &doePath, AncestorFiles &files)
{
    const AncestorFiles::Rabbit &buck = readParent(buckPath, files);
    const AncestorFiles::Rabbit &doe = readParent(doePath, files);
    if (buck.key == doe.key) {
        throw RecordError(
            QStringLiteral("\"%1\" is both the buck and the doe: choose two rabbits.").arg(shownPath(buckPath)));
    }
    return resultOf(PedigreeSide::build(buck, files), PedigreeSide::build(doe, files), true);
}

QString Ranked::completeness() const
{
    return completenessText(known, possible);
}

QList<Ranked> rankBucks(const QString &doePath, const QStringList &buckPaths, AncestorFiles &files,
                        const std::atomic<bool> *cancel)
{
    const AncestorFiles::Rabbit &doe = readParent(doePath, files);
    const PedigreeSide::Side dam = PedigreeSide::build(doe, files);
    QList<Ranked> ranked;
    ranked.reserve(buckPaths.size());
    for (const QString &path : buckPaths) {
        if (cancel && cancel->load())
            break;
        Ranked entry;
        entry.path = path;
        entry.possible = PlaceCount - 1;
        QString error;
        const AncestorFiles::Rabbit *buck = files.rabbit(path, error);
        if (!buck) {
            entry.name = fileNamePart(path);
            entry.error = error;
            ranked.append(entry);
            continue;
        }
        if (buck->key == doe.key)
            continue;
        const Result result = resultOf(PedigreeSide::build(*buck, files), dam, false);
        entry.name = isFilled(buck->name) ? excerpt(buck->name.trimmed(), 200) : fileNamePart(path);
        entry.coefficient = result.coefficient;
        entry.known = result.known();
        ranked.append(entry);
    }
    std::stable_sort(ranked.begin(), ranked.end(), [](const Ranked &a, const Ranked &b) {
        if (a.error.isEmpty() != b.error.isEmpty())
            return a.error.isEmpty();
        if (a.coefficient != b.coefficient)
            return a.coefficient < b.coefficient;
        if (a.known != b.known)
            return a.known > b.known;
        return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
    });
    return ranked;
}

} // namespace TestMating
