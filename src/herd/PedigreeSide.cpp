#include "herd/PedigreeSide.h"

#include "pedigree/PedigreeFormat.h"
#include "records/FileLink.h"
#include "records/LineFile.h"
#include "records/RecordError.h"

#include <algorithm>
#include <tuple>

namespace PedigreeSide {

namespace {

using PedigreeFile::ChartField;
using Chart = AncestorFiles::PedigreeChart;

enum class Parent { Father, Mother };

// A link worth following: not "None" and not blank, as Check Inbreeding reads links.
bool linked(const QString &stored)
{
    return FileLink::isLink(stored) && !stored.trimmed().isEmpty();
}

QString nameKeyOf(const QString &name, const QString &ear)
{
    if (!isFilled(name) || !isFilled(ear))
        return {};
    return name.toCaseFolded() + u'\n' + ear.toCaseFolded();
}

// Where a place's own parents are looked for. The chart a place stands on is found
// only when a link ends, so a herd whose links are complete reads no pedigree file.
struct Source
{
    const AncestorFiles::Rabbit *rabbit = nullptr; // its rabbit file, when read
    const Chart *chart = nullptr;                  // the chart it stands on, once known
    int code = 0;                                  // its position on that chart
    // Where the chart comes from when not known yet: the child's source, and which
    // parent of that child this place is.
    Source *child = nullptr;
    Parent parent = Parent::Father;
    bool chartKnown = false;
};

class Builder
{
public:
    explicit Builder(AncestorFiles &files) : m_files(files) {}

    Side build(const AncestorFiles::Rabbit &parent)
    {
        setRabbit(0, parent);
        Source source{&parent, nullptr, 0, nullptr, Parent::Father, true};
        place(0, source);
        return std::move(m_side);
    }

private:
    void problem(const QString &message)
    {
        if (!m_side.problems.contains(message))
            m_side.problems.append(message);
    }

    void setRabbit(int at, const AncestorFiles::Rabbit &rabbit)
    {
        Node &node = m_side.nodes[std::size_t(at)];
        node.known = true;
        node.name = rabbit.name.trimmed();
        node.ear = rabbit.ear.trimmed();
        node.link = rabbit.path;
        node.key = rabbit.key;
        node.nameKey = nameKeyOf(node.name, node.ear);
    }

    QString nameOf(int at) const
    {
        const Node &node = m_side.nodes[std::size_t(at)];
        if (isFilled(node.name))
            return excerpt(node.name, 40);
        return node.link.isEmpty() ? QStringLiteral("(no name)") : excerpt(fileNamePart(node.link), 40);
    }

    // A rabbit file already standing below `at` on its line: following it again
    // would go round for ever.
    bool isLoop(int at, const AncestorFiles::Rabbit &rabbit, Parent parent)
    {
        for (int below = (at - 1) / 2;; below = (below - 1) / 2) {
            if (m_side.nodes[std::size_t(below)].key == rabbit.key) {
                const QString name =
                    isFilled(rabbit.name) ? excerpt(rabbit.name.trimmed(), 40) : excerpt(fileNamePart(rabbit.path), 40);
                const QString loop =
                    QStringLiteral("%1 is listed as its own ancestor (the %2 link of %3); "
                                   "that link is not followed.")
                        .arg(name, parent == Parent::Father ? QStringLiteral("father") : QStringLiteral("mother"),
                             nameOf((at - 1) / 2));
                if (!m_side.loops.contains(loop))
                    m_side.loops.append(loop);
                return true;
            }
            if (below == 0)
                return false;
        }
    }

    // The chart a place stands on, if any (looked for once).
    std::pair<const Chart *, int> chartOf(Source &source)
    {
        if (!source.chartKnown) {
            source.chartKnown = true;
            if (!source.chart && source.child)
                std::tie(source.chart, source.code) = chartParent(*source.child, source.parent);
        }
        return {source.chart, source.code};
    }

    // The chart position of a parent of the place `from`: on the place's own pedigree
    // file when it has one that reads, else on the chart the place stands on.
    std::pair<const Chart *, int> chartParent(Source &from, Parent parent)
    {
        if (from.rabbit && linked(from.rabbit->pedigree)) {
            const QString path = FileLink::resolve(from.rabbit->pedigree.trimmed(), from.rabbit->path).path;
            QString error;
            if (const Chart *own = m_files.pedigree(path, error)) {
                const PedigreeFile::Position *bunny = PedigreeFile::positionByCode(PedigreeFile::BunnyCode);
                return {own, parent == Parent::Father ? bunny->fatherCode : bunny->motherCode};
            }
            problem(error);
        }
        const auto [chart, code] = chartOf(from);
        if (chart) {
            const PedigreeFile::Position *p = PedigreeFile::positionByCode(code);
            if (p && p->hasParents())
                return {chart, parent == Parent::Father ? p->fatherCode : p->motherCode};
        }
        return {nullptr, 0};
    }

    // Takes the place `at` from a chart position; a linked position is followed to its
    // rabbit file when that reads.
    void fromChart(int at, const Chart &chart, int code, Parent parent)
    {
        const PedigreeFile::Position *p = PedigreeFile::positionByCode(code);
        Node &node = m_side.nodes[std::size_t(at)];
        const QString name = chart.chart.value(p->line(ChartField::Name)).trimmed();
        const QString ear = chart.chart.value(p->line(ChartField::Ear)).trimmed();
        const QString &stored = chart.chart.value(p->linkLine);
        Source source{nullptr, &chart, code, nullptr, parent, true};
        if (linked(stored)) {
            const QString path = FileLink::resolve(stored.trimmed(), chart.path).path;
            QString error;
            if (const AncestorFiles::Rabbit *rabbit = m_files.rabbit(path, error)) {
                if (isLoop(at, *rabbit, parent))
                    return;
                setRabbit(at, *rabbit);
                if (!isFilled(node.name) && isFilled(name)) {
                    node.name = name;
                    node.nameKey = nameKeyOf(node.name, node.ear);
                }
                source.rabbit = rabbit;
                place(at, source);
                return;
            }
            problem(error);
            node.link = path;
            node.key = m_files.keyOf(path);
        }
        node.name = name;
        node.ear = ear;
        node.nameKey = nameKeyOf(name, ear);
        node.known = !node.link.isEmpty() || isFilled(name);
        place(at, source);
    }

    void fillParent(int at, Source &child, Parent parent)
    {
        Node &node = m_side.nodes[std::size_t(at)];
        const QString *stored = nullptr;
        if (child.rabbit)
            stored = parent == Parent::Father ? &child.rabbit->father : &child.rabbit->mother;
        if (!stored || !linked(*stored)) {
            const auto [chart, code] = chartParent(child, parent);
            if (chart) {
                fromChart(at, *chart, code, parent);
            } else if (child.rabbit) {
                // Only the name the child's file gives; without an ear it matches nobody.
                node.name = (parent == Parent::Father ? child.rabbit->dadName : child.rabbit->momName).trimmed();
                node.known = isFilled(node.name);
            }
            return;
        }
        const QString path = FileLink::resolve(*stored, child.rabbit->path).path;
        QString error;
        if (const AncestorFiles::Rabbit *found = m_files.rabbit(path, error)) {
            if (isLoop(at, *found, parent))
                return;
            setRabbit(at, *found);
            Source source{found, nullptr, 0, &child, parent, false};
            place(at, source);
            return;
        }
        // A file missing in the middle of a line: the place is still this link's
        // rabbit, and the chart, where there is one, goes on above it.
        problem(error);
        node.known = true;
        node.link = path;
        node.key = m_files.keyOf(path);
        node.name = (parent == Parent::Father ? child.rabbit->dadName : child.rabbit->momName).trimmed();
        const auto [chart, code] = chartParent(child, parent);
        if (chart) {
            const PedigreeFile::Position *p = PedigreeFile::positionByCode(code);
            if (!isFilled(node.name))
                node.name = chart->chart.value(p->line(ChartField::Name)).trimmed();
            node.ear = chart->chart.value(p->line(ChartField::Ear)).trimmed();
        }
        node.nameKey = nameKeyOf(node.name, node.ear);
        Source source{nullptr, chart, code, nullptr, parent, true};
        place(at, source);
    }

    // Fills the parents of the place `at`, then theirs.
    void place(int at, Source &source)
    {
        if (at >= WithParents)
            return;
        fillParent(2 * at + 1, source, Parent::Father);
        fillParent(2 * at + 2, source, Parent::Mother);
    }

    AncestorFiles &m_files;
    Side m_side;
};

} // namespace

bool isFilled(const QString &text)
{
    const QString t = text.trimmed();
    return !t.isEmpty() && std::any_of(t.cbegin(), t.cend(), [](QChar c) { return c != u'_'; });
}

Side build(const AncestorFiles::Rabbit &parent, AncestorFiles &files)
{
    return Builder(files).build(parent);
}

} // namespace PedigreeSide
