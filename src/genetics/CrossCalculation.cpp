#include "genetics/CrossCalculation.h"

#include "records/RecordError.h"

#include <QRegularExpression>

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

QString countWord(qsizetype n)
{
    static const char *const words[] = {"no", "one", "two", "three", "four", "five", "six"};
    return n < qsizetype(std::size(words)) ? QString::fromLatin1(words[n]) : QString::number(n);
}

// What is wrong with one parent's text, or nothing when it is one genotype.
std::optional<QString> parentProblem(const SeriesTable &t, const QString &text)
{
    if (exactGenotype(t.series, text))
        return std::nullopt;
    // A parent not chosen yet shows blanks; a rabbit file may leave a line empty.
    if (text == Placeholder || text.trimmed().isEmpty())
        return QStringLiteral("not set");
    const QString quoted = u'\'' + excerpt(text) + u'\'';
    if (t.choices.contains(text)) {
        // A grouped choice names its genotypes apart: "AA, A at, or Aa".
        static const QRegularExpression separators(QStringLiteral("\\s*,\\s*(?:or\\s+)?|\\s+or\\s+"));
        const qsizetype count = text.split(separators, Qt::SkipEmptyParts).size();
        if (count > 1)
            return quoted + QStringLiteral(" is %1 genotypes; choose one to calculate").arg(countWord(count));
    }
    QStringList known;
    for (const Genotype &g : t.exactGenotypes)
        known.append(g.text);
    return quoted + QStringLiteral(" is not a genotype of this series; choose one of %1").arg(known.join(u", "));
}

} // namespace

QString cannotCalculateReason(GeneSeries s, const QString &father, const QString &mother)
{
    const SeriesTable &t = table(s);
    QStringList lines;
    const std::pair<const char *, const QString *> parents[] = {{"Father", &father}, {"Mother", &mother}};
    for (const auto &[who, text] : parents) {
        if (const std::optional<QString> problem = parentProblem(t, *text))
            lines.append(QStringLiteral("%1, %2: %3").arg(QLatin1String(who), t.heading, *problem));
    }
    // Both are genotypes, yet the pair has no cell: not a table this program has.
    if (lines.isEmpty() && crossSeries(s, father, mother).first() == CannotCalculate)
        lines.append(QStringLiteral("%1: '%2' and '%3' are not in the table of this series")
                         .arg(t.heading, excerpt(father), excerpt(mother)));
    return lines.join(u'\n');
}

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
