#include "genetics/CrossCalculation.h"
#include "genetics/GeneTables.h"

#include <QSet>
#include <QtTest>

using namespace Genetics;

namespace {

// An independent model of each series, written from the genetics rather than from
// the program's tables: the alleles in dominance order and what each offspring
// class is called. With dominance, a pairing shows the class of its more dominant
// allele; without it (En, V), the class is the number of second alleles (0, 1, 2).
struct Model
{
    GeneSeries series;
    QStringList alleles;
    bool dominance;
    QStringList classWords;   // by dominant allele index, or by count of second alleles
    QStringList classEffects; // gene dialog wording, same indexing
};

// Alleles are split at blanks, classes at '|'; an effect is its heading and its wording.
Model model(GeneSeries series, const char *alleles, bool dominance, const char *words, const QString &heading,
            const char *effects)
{
    const auto split = [](const char *text, char16_t at) { return QString::fromLatin1(text).split(at); };
    QStringList effectLines;
    for (const QString &effect : split(effects, u'|'))
        effectLines.append(heading + ": " + effect);
    return {series, split(alleles, u' '), dominance, split(words, u'|'), effectLines};
}

const QList<Model> &models()
{
    // Vienna White's "No effect " keeps its trailing blank: it is part of the wording.
    static const QList<Model> all = {
        model(GeneSeries::A, "A at a", true, "Agouti|Tan|Self", "Coat Pattern", "Agouti|Tan|Self"),
        model(GeneSeries::B, "B b", true, "Black|Chocolate", "Base Color", "Black|Chocolate"),
        model(GeneSeries::C, "C Cchd Cchl ch c", true, "Full Color|Dark Chinchilla|Light Chinchilla|Himilayan|Albino",
              "C Series", "Full (normal) Color|Dark Chinchilla|Light Chinchilla|Himilayan|Albino"),
        model(GeneSeries::D, "D d", true, "Intense|Dilute", "Dilute", "Intense (normal)|Diluted"),
        model(GeneSeries::En, "En en", false, "Charlie|Broken|Normal", "Broken Gene", "Charlie|Broken|Solid"),
        model(GeneSeries::E, "Es E ej e", true, "Steel|Normal|Japanese (Harlequin/Tri)|Tort", "Pigment Extension",
              "Steel|Normal Color|Japanese (Harlequin or Tri)|Tort"),
        model(GeneSeries::V, "V v", false, "Normal|Dutch|Blue-Eyed White", "Vienna White",
              "No effect |Dutch|Blue-eyed white"),
        model(GeneSeries::W, "W w", true, "Normal|Wide Band", "W Series", "No effect|Wide Band"),
    };
    return all;
}

int classIndex(const Model &m, const QString &x, const QString &y)
{
    const auto i = m.alleles.indexOf(x);
    const auto j = m.alleles.indexOf(y);
    return int(m.dominance ? std::min(i, j) : i + j);
}

// Genotype notation: the more dominant allele first, no blank between two
// one-letter symbols, one blank otherwise.
QString notation(const QString &x, const QString &y)
{
    return x.size() == 1 && y.size() == 1 ? x + y : x + u' ' + y;
}

// The one genotype the choice lists never offer (C with Cchl), so it is no exact
// genotype and the cross calculation refuses it.
const QString UnofferedGenotype = QStringLiteral("C Cchl");

QList<Genotype> modelGenotypes(const Model &m)
{
    QList<Genotype> out;
    for (qsizetype i = 0; i < m.alleles.size(); ++i)
        for (qsizetype j = i; j < m.alleles.size(); ++j) {
            const QString text = notation(m.alleles[i], m.alleles[j]);
            if (text != UnofferedGenotype)
                out.append({text, m.alleles[i], m.alleles[j]});
        }
    return out;
}

// Expected lines of a cross: each parent passes either allele, four equally likely
// pairings.
QStringList mendel(const Model &m, const Genotype &f, const Genotype &mo)
{
    QList<int> count(m.classWords.size(), 0);
    for (const QString &x : {f.first, f.second})
        for (const QString &y : {mo.first, mo.second})
            ++count[classIndex(m, x, y)];
    QStringList lines;
    for (qsizetype i = 0; i < count.size(); ++i)
        lines.append(QStringLiteral("%1% %2").arg(25 * count[i]).arg(m.classWords[i]));
    if (m.series == GeneSeries::D) // the recessive line first
        std::reverse(lines.begin(), lines.end());
    return lines;
}

// Stands for "no effect line" in comparisons; no table holds it.
const QString NoEffect = QStringLiteral("<no effect line>");

} // namespace

class TestGenetics : public QObject
{
    Q_OBJECT

private slots:
    void choiceListsAndExactGenotypes();
    void effectLinesOfSpecialTexts();
    void crossMatchesMendel();
    void cannotCalculate();
    void cannotCalculateReasons();
};

// Lists are the placeholder, then the exact genotypes in notation order (split into
// the alleles they name, showing the class of the more dominant one), each followed
// by grouped choices of its class. No choice is listed by another series.
void TestGenetics::choiceListsAndExactGenotypes()
{
    const QList<int> sizes = {9, 5, 21, 5, 4, 14, 4, 5}; // A, B, C, D, En, E, V, W
    for (const Model &m : models()) {
        const SeriesTable &t = table(m.series);
        QCOMPARE(t.choices.size(), sizes[indexOf(m.series)]);
        QCOMPARE(t.choices.first(), QString(9, u'_'));
        QCOMPARE(QSet<QString>(t.choices.begin(), t.choices.end()).size(), t.choices.size());

        const QList<Genotype> expected = modelGenotypes(m);
        QCOMPARE(t.exactGenotypes.size(), expected.size());
        qsizetype last = 0;
        for (const Genotype &g : expected) {
            const Genotype *found = exactGenotype(m.series, g.text);
            QVERIFY2(found && found->first == g.first && found->second == g.second, qPrintable(g.text));
            QCOMPARE(effectLineFor(g.text).value_or(NoEffect), m.classEffects[classIndex(m, g.first, g.second)]);
            const qsizetype at = t.choices.indexOf(g.text);
            QVERIFY2(at > last, qPrintable(g.text));
            last = at;
        }

        QString exact;
        for (const QString &choice : t.choices.mid(1)) {
            if (exactGenotype(m.series, choice))
                exact = choice;
            else
                QCOMPARE(effectLineFor(choice).value_or(NoEffect), effectLineFor(exact).value_or(""));
            for (GeneSeries other : AllSeries)
                QVERIFY2(other == m.series || !phenotypeOf(other, choice), qPrintable(choice));
        }
    }
    QVERIFY(table(GeneSeries::C).choices.contains("Cchl C chl, Cchl ch, or Cchl c"));
    QVERIFY(!table(GeneSeries::C).choices.contains("C chl"));
}

void TestGenetics::effectLinesOfSpecialTexts()
{
    QCOMPARE(effectLineFor(Placeholder).value_or(NoEffect), "Unknown");
    QCOMPARE(effectLineFor("C chl").value_or(NoEffect), "C Series: Full (normal) Color"); // an effect-only text
    for (const char *text : {"aA", "A a", "AA ", "", "________", "C Cchl"})
        QVERIFY2(!effectLineFor(text), text);
}

// Every ordered pair of exact genotypes, by either method (A, C and E split into
// alleles, B, D, En, V and W looked up in their tables), either way round.
void TestGenetics::crossMatchesMendel()
{
    for (const Model &m : models()) {
        const QList<Genotype> genotypes = modelGenotypes(m);
        for (const Genotype &f : genotypes)
            for (const Genotype &mo : genotypes) {
                const QStringList expected = mendel(m, f, mo);
                const QString cross = f.text + " x " + mo.text;
                QVERIFY2(crossSeries(m.series, f.text, mo.text) == expected, qPrintable(cross));
                QVERIFY2(crossSeries(m.series, mo.text, f.text) == expected, qPrintable(cross));
                QVERIFY2(cannotCalculateReason(m.series, f.text, mo.text).isEmpty(), qPrintable(cross));
            }
    }
}

// Texts that are no exact genotype of the series (heterozygotes written recessive
// first, the placeholder, every grouped choice), against themselves and on either
// side of every exact genotype.
void TestGenetics::cannotCalculate()
{
    for (const Model &m : models()) {
        const SeriesTable &t = table(m.series);
        QStringList bad = {""};
        for (const Genotype &g : modelGenotypes(m))
            if (g.first != g.second)
                bad.append(notation(g.second, g.first));
        for (const QString &choice : t.choices)
            if (!exactGenotype(m.series, choice))
                bad.append(choice);
        if (m.series == GeneSeries::C)
            bad += {"C chl", UnofferedGenotype};
        const QStringList cannot = [&] {
            QStringList lines(t.classes.size());
            lines[0] = CannotCalculate;
            return lines;
        }();
        // Each one says why, naming the parent that holds the text and only that one.
        const auto reasonNames = [&](const QString &father, const QString &mother, bool fatherNamed, bool motherNamed) {
            const QString reason = cannotCalculateReason(m.series, father, mother);
            return reason.contains("Father, " + t.heading + ": ") == fatherNamed &&
                   reason.contains("Mother, " + t.heading + ": ") == motherNamed;
        };
        for (const QString &text : bad) {
            QCOMPARE(crossSeries(m.series, text, text), cannot);
            QVERIFY2(reasonNames(text, text, true, true), qPrintable(text));
            for (const Genotype &g : t.exactGenotypes) {
                QCOMPARE(crossSeries(m.series, text, g.text), cannot);
                QCOMPARE(crossSeries(m.series, g.text, text), cannot);
                QVERIFY2(reasonNames(text, g.text, true, false), qPrintable(text));
                QVERIFY2(reasonNames(g.text, text, false, true), qPrintable(text));
            }
        }
    }
}

// What the reason says: a grouped choice counts its genotypes, an unset series (the
// placeholder, or a parent not chosen yet) says so, any other text lists the
// genotypes to choose from; both parents are named when both are wrong.
void TestGenetics::cannotCalculateReasons()
{
    struct Case
    {
        GeneSeries series;
        const char *father, *mother, *reason;
    };
    const Case cases[] = {
        {GeneSeries::B, "BB or Bb", "bb", "Father, Color Base: 'BB or Bb' is two genotypes; choose one to calculate"},
        {GeneSeries::A, "Aa", "AA, A at, or Aa",
         "Mother, Coat Pattern: 'AA, A at, or Aa' is three genotypes; choose one to calculate"},
        {GeneSeries::E, "Es Es, Es E, Es ej, or Es e", "ee",
         "Father, Pigment Extension: 'Es Es, Es E, Es ej, or Es e' is four genotypes; choose one to calculate"},
        {GeneSeries::D, "_________", "Dd", "Father, Dilution: not set"},
        {GeneSeries::W, " ", "", "Father, Wide Band: not set\nMother, Wide Band: not set"},
        {GeneSeries::C, "C chl", "cc",
         "Father, C Series: 'C chl' is not a genotype of this series; choose one of CC, C Cchd, C ch, Cc, Cchd "
         "Cchd, Cchd Cchl, Cchd ch, Cchd c, Cchl Cchl, Cchl ch, Cchl c, ch ch, ch c, cc"},
        {GeneSeries::V, "VV", "Vv", ""},
    };
    for (const Case &c : cases)
        QCOMPARE(cannotCalculateReason(c.series, c.father, c.mother), QString::fromLatin1(c.reason));
    // A hostile line is quoted only in part.
    QVERIFY(cannotCalculateReason(GeneSeries::B, QString(100000, 'x'), "bb").size() < 200);
}

QTEST_GUILESS_MAIN(TestGenetics)
#include "test_genetics.moc"
