#include "pedigree/Inbreeding.h"

#include "pedigree/PedigreeFormat.h"
#include "pedigree/WrightCoefficient.h"
#include "records/FileLink.h"
#include "records/LineFile.h"
#include "records/RecordError.h"

#include <QDir>
#include <QFile>
#include <QHash>

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>

#include <sys/stat.h>

namespace Inbreeding {

using PedigreeFile::ChartField;
using PedigreeFile::Position;

namespace {

constexpr int Count = PedigreeFile::PositionCount;

// A value that says nothing about the rabbit: blank, or a run of underscores (the
// chart's placeholders, whatever their length).
bool isFilled(const QString &text)
{
    const QString t = text.trimmed();
    return !t.isEmpty() && std::any_of(t.cbegin(), t.cend(), [](QChar c) { return c != u'_'; });
}

// The link of a position, or empty when it has none ("None", or only blanks).
QString linkOf(const LineRecord &pedigree, const Position &p)
{
    const QString &stored = pedigree.value(p.linkLine);
    return FileLink::isLink(stored) ? stored.trimmed() : QString();
}

bool sameFile(const QString &a, const QString &b)
{
    return QDir::cleanPath(a) == QDir::cleanPath(b) || fileKey(a) == fileKey(b);
}

bool samePosition(const LineRecord &pedigree, const Position &a, const Position &b)
{
    if (&a == &b)
        return true;
    const QString linkA = linkOf(pedigree, a), linkB = linkOf(pedigree, b);
    if (!linkA.isEmpty() && !linkB.isEmpty())
        return sameFile(linkA, linkB);
    const auto agree = [&](ChartField field) {
        const QString &x = pedigree.value(a.line(field));
        const QString &y = pedigree.value(b.line(field));
        return isFilled(x) && isFilled(y) && x.trimmed().compare(y.trimmed(), Qt::CaseInsensitive) == 0;
    };
    return agree(ChartField::Name) && agree(ChartField::Ear);
}

// The chart as a heap of positions (the bunny, then each position's sire and dam),
// with who is the same rabbit as whom.
class Chart
{
public:
    Chart(const LineRecord &pedigree, const FileKey &keyOf) : m_heap(4)
    {
        const auto all = PedigreeFile::positions();
        m_index[0] = indexOf(PedigreeFile::BunnyCode);
        for (int place = 0; place < m_heap.withParents(); ++place) {
            const Position &p = at(m_index[std::size_t(place)]);
            m_index[std::size_t(2 * place + 1)] = indexOf(p.fatherCode);
            m_index[std::size_t(2 * place + 2)] = indexOf(p.motherCode);
        }
        for (int place = 0; place < Count; ++place)
            m_place[std::size_t(m_index[std::size_t(place)])] = place;

        // Each position's identity once: comparing 105 pairs would otherwise resolve
        // both files of every pair on the disk.
        struct Identity
        {
            QString file;          // the file's key, empty when unlinked
            size_t fileHash = 0;   // of `file`: most pairs differ, and tell so at once
            QStringView name, ear; // trimmed, empty when a placeholder or blank
        };
        std::array<Identity, Count> identity;
        for (const Position &p : all) {
            Identity &id = identity[std::size_t(p.index())];
            // The bunny is nobody's ancestor here: its file need not be found.
            const QString link = p.isBunny() ? QString() : linkOf(pedigree, p);
            if (!link.isEmpty()) {
                id.file = keyOf ? keyOf(link) : fileKey(link);
                id.fileHash = qHash(id.file);
            }
            const auto filled = [&](ChartField field) {
                const QString &text = pedigree.value(p.line(field));
                return isFilled(text) ? QStringView(text).trimmed() : QStringView();
            };
            id.name = filled(ChartField::Name);
            id.ear = filled(ChartField::Ear);
        }
        const auto agree = [](QStringView x, QStringView y) {
            return !x.isEmpty() && x.compare(y, Qt::CaseInsensitive) == 0;
        };
        for (int a = 0; a < Count; ++a) {
            for (int b = a + 1; b < Count; ++b) {
                const Identity &x = identity[std::size_t(a)], &y = identity[std::size_t(b)];
                const bool same = !x.file.isEmpty() && !y.file.isEmpty() ? x.fileHash == y.fileHash && x.file == y.file
                                                                         : agree(x.ear, y.ear) && agree(x.name, y.name);
                m_heap.setSame(m_place[std::size_t(a)], m_place[std::size_t(b)], same);
            }
        }
    }

    static int indexOf(int code) { return PedigreeFile::positionByCode(code)->index(); }
    static const Position &at(int index) { return PedigreeFile::positions()[index]; }
    // By position index.
    bool same(int a, int b) const { return m_heap.same(m_place[std::size_t(a)], m_place[std::size_t(b)]); }

    // The bunny's coefficient; `through` receives each common ancestor's share, by
    // position index.
    double coefficient(std::array<double, Count> &through)
    {
        std::vector<double> byPlace(Count, 0.0);
        const double f = m_heap.coefficient(0, &byPlace);
        for (int place = 0; place < Count; ++place)
            through[std::size_t(m_index[std::size_t(place)])] = byPlace[std::size_t(place)];
        return f;
    }

private:
    Wright::HeapPedigree m_heap;
    std::array<int, Count> m_index{}; // heap place -> position index
    std::array<int, Count> m_place{}; // position index -> heap place
};

} // namespace

QList<int> Result::repeatedPositions() const
{
    QList<int> codes;
    for (const RepeatedAncestor &ancestor : repeated)
        codes += ancestor.positions;
    std::sort(codes.begin(), codes.end());
    return codes;
}

bool sameRabbit(const LineRecord &pedigree, int codeA, int codeB)
{
    const Position *a = PedigreeFile::positionByCode(codeA);
    const Position *b = PedigreeFile::positionByCode(codeB);
    return a && b && samePosition(pedigree, *a, *b);
}

QString fileKey(const QString &link)
{
    // The file itself, however it is reached: through a symbolic link, "..", or a
    // second hard link. One look at the disk, where resolving the path would take one
    // for each of its folders.
    const QByteArray name = QFile::encodeName(link);
    struct stat status = {};
    if (!name.isEmpty() && !name.contains('\0') && ::stat(name.constData(), &status) == 0) {
        return QStringLiteral("file ") + QString::number(quint64(status.st_dev)) + u':' +
               QString::number(quint64(status.st_ino));
    }
    return QStringLiteral("path ") + QDir::cleanPath(link);
}

Result compute(const LineRecord &pedigree, const FileKey &keyOf)
{
    Chart chart(pedigree, keyOf);
    const int bunny = Chart::indexOf(PedigreeFile::BunnyCode);
    std::array<double, Count> through{};
    Result result;
    // Only a chart that contradicts itself (one rabbit that is not the same as itself
    // by another way of comparing) could go past 1.
    result.coefficient = std::clamp(chart.coefficient(through), 0.0, 1.0);

    // Ancestors grouped by who is the same rabbit as whom, the bunny left out.
    std::array<int, Count> group{};
    std::iota(group.begin(), group.end(), 0);
    const auto root = [&group](int i) {
        while (group[i] != i)
            i = group[i];
        return i;
    };
    for (int a = 0; a < Count; ++a)
        for (int b = a + 1; b < Count; ++b)
            if (a != bunny && b != bunny && chart.same(a, b))
                group[root(b)] = root(a);
    for (int first = 0; first < Count; ++first) {
        if (first == bunny || root(first) != first)
            continue;
        RepeatedAncestor ancestor;
        for (int i = 0; i < Count; ++i) {
            if (i == bunny || root(i) != first)
                continue;
            const Position &p = Chart::at(i);
            ancestor.positions.append(p.code);
            ancestor.contribution += through[i];
            if (ancestor.link.isEmpty())
                ancestor.link = linkOf(pedigree, p);
        }
        if (ancestor.positions.size() < 2)
            continue;
        const Position &p = Chart::at(first);
        ancestor.name = pedigree.value(p.line(ChartField::Name)).trimmed();
        ancestor.ear = pedigree.value(p.line(ChartField::Ear)).trimmed();
        result.repeated.append(ancestor);
    }
    std::stable_sort(
        result.repeated.begin(), result.repeated.end(),
        [](const RepeatedAncestor &x, const RepeatedAncestor &y) { return x.contribution > y.contribution; });
    return result;
}

QString positionName(int code)
{
    const Position *p = PedigreeFile::positionByCode(code);
    if (!p)
        return {};
    if (p->isBunny())
        return QStringLiteral("bunny");
    for (const Position &child : PedigreeFile::positions()) {
        if (child.fatherCode != code && child.motherCode != code)
            continue;
        const QString role = child.fatherCode == code ? QStringLiteral("sire") : QStringLiteral("dam");
        return child.isBunny() ? role : positionName(child.code) + QStringLiteral("'s ") + role;
    }
    return {};
}

QString percent(double coefficient)
{
    return QString::number(coefficient * 100.0, 'f', 2) + u'%';
}

QString summary(const Result &result)
{
    return QStringLiteral("COI %1 over four generations").arg(percent(result.coefficient));
}

QString report(const Result &result)
{
    QString text = summary(result) + QStringLiteral("\n\n");
    if (result.repeated.isEmpty())
        return text + QStringLiteral("No rabbit stands more than once on the chart.");
    text += QStringLiteral("Repeated ancestors:");
    for (const RepeatedAncestor &ancestor : result.repeated) {
        // Names come from files anyone may have written: keep each line short.
        QString who = isFilled(ancestor.name)   ? excerpt(ancestor.name, 40)
                      : ancestor.link.isEmpty() ? QStringLiteral("(no name)")
                                                : excerpt(fileNamePart(ancestor.link), 40);
        if (isFilled(ancestor.ear))
            who += QStringLiteral(", ear ") + excerpt(ancestor.ear, 20);
        QStringList places;
        for (int code : ancestor.positions)
            places.append(positionName(code));
        // Nothing when it stands on one side only, or every way to it on both sides
        // passes a nearer repeated ancestor.
        const QString adds = ancestor.contribution > 0 ? QStringLiteral("adds %1").arg(percent(ancestor.contribution))
                                                       : QStringLiteral("adds nothing");
        text += QStringLiteral("\n%1: %2 (%3)").arg(who, places.join(QStringLiteral(", ")), adds);
    }
    return text;
}

} // namespace Inbreeding
