#include "genetics/CrossCalculation.h"

#include <optional>

namespace Genetics {

namespace {

using Shares = QList<int>;

// Each parent passes one of its two alleles; the four pairings are equally likely,
// so each is worth 25 per cent to the class it falls in.
std::optional<Shares> alleleShares(const SeriesTable &t, const QString &father, const QString &mother)
{
    const Genotype *f = exactGenotype(t.series, father);
    const Genotype *m = exactGenotype(t.series, mother);
    if (!f || !m)
        return std::nullopt;

    const QString pairings[] = {f->first + m->first, f->first + m->second, m->first + f->second, f->second + m->second};
    Shares shares(t.classes.size(), 0);
    for (const QString &pairing : pairings) {
        for (qsizetype i = 0; i < t.classes.size(); ++i) {
            if (t.classes[i].combinations.contains(pairing)) {
                shares[i] += 25;
                break;
            }
        }
    }
    return shares;
}

// The placeholder, grouped choices and any other text have no cell.
std::optional<Shares> tableShares(const SeriesTable &t, const QString &father, const QString &mother)
{
    for (const CrossTableCell &cell : t.crossTable)
        if (cell.father == father && cell.mother == mother)
            return cell.shares;
    return std::nullopt;
}

} // namespace

QStringList CrossResult::allLines() const
{
    QStringList all;
    for (const QStringList &lines : m_lines)
        all += lines;
    return all;
}

QStringList crossSeries(GeneSeries s, const QString &father, const QString &mother)
{
    const SeriesTable &t = table(s);
    QStringList lines(t.classes.size());
    const std::optional<Shares> shares =
        t.method == CrossMethod::Allele ? alleleShares(t, father, mother) : tableShares(t, father, mother);
    if (!shares) {
        lines[0] = CannotCalculate;
        return lines;
    }
    for (qsizetype i = 0; i < lines.size(); ++i)
        lines[i] = QString::number(shares->at(i)) + QStringLiteral("% ") + t.classes[i].resultWord;
    return lines;
}

CrossResult calculateCross(const GenotypeTexts &father, const GenotypeTexts &mother)
{
    CrossResult result;
    for (GeneSeries s : AllSeries)
        result.lines(s) = crossSeries(s, father[indexOf(s)], mother[indexOf(s)]);
    return result;
}

QString fatherLabel(GeneSeries s)
{
    return QStringLiteral("Father") + table(s).windowSuffix;
}
QString motherLabel(GeneSeries s)
{
    return QStringLiteral("Mother") + table(s).windowSuffix;
}

QStringList resultLabels(GeneSeries s)
{
    QStringList names;
    const SeriesTable &t = table(s);
    for (qsizetype i = 1; i <= t.classes.size(); ++i)
        names.append(QStringLiteral("Kid") + t.windowSuffix + QString::number(i));
    return names;
}

QStringList resultLabels()
{
    QStringList names;
    for (GeneSeries s : AllSeries)
        names += resultLabels(s);
    return names;
}

} // namespace Genetics
