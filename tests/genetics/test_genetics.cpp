#include "genetics/CrossCalculation.h"
#include "genetics/GeneTables.h"
#include "rabbit/RabbitFormat.h"

#include <QSet>
#include <QtTest>

using namespace Genetics;

Q_DECLARE_METATYPE(GeneSeries)

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
    QStringList lineWords;    // result line order
};

const QList<Model> &models()
{
    static const QList<Model> all = {
        {GeneSeries::A, {"A", "at", "a"}, true, {"Agouti", "Tan", "Self"},
         {"Coat Pattern: Agouti", "Coat Pattern: Tan", "Coat Pattern: Self"},
         {"Agouti", "Tan", "Self"}},
        {GeneSeries::B, {"B", "b"}, true, {"Black", "Chocolate"},
         {"Base Color: Black", "Base Color: Chocolate"}, {"Black", "Chocolate"}},
        {GeneSeries::C, {"C", "Cchd", "Cchl", "ch", "c"}, true,
         {"Full Color", "Dark Chinchilla", "Light Chinchilla", "Himilayan", "Albino"},
         {"C Series: Full (normal) Color", "C Series: Dark Chinchilla",
          "C Series: Light Chinchilla", "C Series: Himilayan", "C Series: Albino"},
         {"Full Color", "Dark Chinchilla", "Light Chinchilla", "Himilayan", "Albino"}},
        {GeneSeries::D, {"D", "d"}, true, {"Intense", "Dilute"},
         {"Dilute: Intense (normal)", "Dilute: Diluted"}, {"Dilute", "Intense"}},
        {GeneSeries::En, {"En", "en"}, false, {"Charlie", "Broken", "Normal"},
         {"Broken Gene: Charlie", "Broken Gene: Broken", "Broken Gene: Solid"},
         {"Charlie", "Broken", "Normal"}},
        {GeneSeries::E, {"Es", "E", "ej", "e"}, true,
         {"Steel", "Normal", "Japanese (Harlequin/Tri)", "Tort"},
         {"Pigment Extension: Steel", "Pigment Extension: Normal Color",
          "Pigment Extension: Japanese (Harlequin or Tri)", "Pigment Extension: Tort"},
         {"Steel", "Normal", "Japanese (Harlequin/Tri)", "Tort"}},
        {GeneSeries::V, {"V", "v"}, false, {"Normal", "Dutch", "Blue-Eyed White"},
         {"Vienna White: No effect ", "Vienna White: Dutch", "Vienna White: Blue-eyed white"},
         {"Normal", "Dutch", "Blue-Eyed White"}},
        {GeneSeries::W, {"W", "w"}, true, {"Normal", "Wide Band"},
         {"W Series: No effect", "W Series: Wide Band"}, {"Normal", "Wide Band"}},
    };
    return all;
}

const Model &model(GeneSeries s) { return models()[indexOf(s)]; }

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

struct ModelGenotype
{
    QString text;
    QString first;
    QString second;
};

// The one genotype the choice lists never offer (C with Cchl), so it is no exact
// genotype and the cross calculation refuses it.
const QString UnofferedGenotype = QStringLiteral("C Cchl");

QList<ModelGenotype> modelGenotypes(const Model &m)
{
    QList<ModelGenotype> out;
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
QStringList mendel(const Model &m, const ModelGenotype &f, const ModelGenotype &mo)
{
    QList<int> count(m.classWords.size(), 0);
    for (const QString &x : {f.first, f.second})
        for (const QString &y : {mo.first, mo.second})
            ++count[classIndex(m, x, y)];
    QStringList lines;
    for (const QString &word : m.lineWords)
        lines.append(QStringLiteral("%1% %2").arg(25 * count[m.classWords.indexOf(word)]).arg(word));
    return lines;
}

QStringList cannot(GeneSeries s)
{
    QStringList lines(table(s).classes.size());
    lines[0] = CannotCalculate;
    return lines;
}

int shareSum(const QStringList &lines)
{
    int sum = 0;
    for (const QString &line : lines) {
        bool ok = false;
        sum += line.section(u'%', 0, 0).toInt(&ok);
        if (!ok)
            return -1;
    }
    return sum;
}

// Stands for "no effect line" in comparisons; no table holds it.
const QString NoEffect = QStringLiteral("<no effect line>");

const char *name(GeneSeries s)
{
    static const char *names[] = {"A", "B", "C", "D", "En", "E", "V", "W"};
    return names[indexOf(s)];
}

} // namespace

class TestGenetics : public QObject
{
    Q_OBJECT

private slots:
    // --- notation tables ---
    void exactGenotypesFollowNotation();
    void choiceListsHoldExactAndGroupedTexts();
    void exactGenotypesShowClassOfDominantAllele();
    void pairingsFallInClassOfDominantAllele();
    void effectLines_data();
    void effectLines();
    void geneLabels_data();
    void geneLabels();
    void seriesMeetRabbitFileAndWindow();

    // --- cross calculation ---
    void alleleMethodMatchesMendel_data();
    void alleleMethodMatchesMendel();
    void tableMethodMatchesMendel_data();
    void tableMethodMatchesMendel();
    void calculableSeriesAddUpTo100();
    void crossExamples_data();
    void crossExamples();
    void cannotCalculate_data();
    void cannotCalculate();
    void wholeCross();
};

// Every exact genotype is written by the notation rule and split into the alleles
// it names; nothing beyond the one unoffered C genotype is missing.
void TestGenetics::exactGenotypesFollowNotation()
{
    for (const Model &m : models()) {
        const SeriesTable &t = table(m.series);
        QCOMPARE(t.alleles, m.alleles);
        const QList<ModelGenotype> expected = modelGenotypes(m);
        QCOMPARE(t.exactGenotypes.size(), expected.size());
        for (const ModelGenotype &g : expected) {
            const Genotype *found = exactGenotype(m.series, g.text);
            QVERIFY2(found, qPrintable(g.text));
            QCOMPARE(found->first, g.first);
            QCOMPARE(found->second, g.second);
        }
    }
    QVERIFY(!exactGenotype(GeneSeries::C, UnofferedGenotype));
    QVERIFY(!exactGenotype(GeneSeries::A, "aA"));
    QVERIFY(!exactGenotype(GeneSeries::A, "A a"));
}

// Lists are the placeholder, then exact and grouped choices; every choice shows a
// phenotype of its own series; exact genotypes keep their list order.
void TestGenetics::choiceListsHoldExactAndGroupedTexts()
{
    const QList<int> sizes = {9, 5, 21, 5, 4, 14, 4, 5}; // A, B, C, D, En, E, V, W
    for (GeneSeries s : AllSeries) {
        const SeriesTable &t = table(s);
        QCOMPARE(t.choices.size(), sizes[indexOf(s)]);
        QCOMPARE(t.choices.first(), QString(9, u'_'));
        QCOMPARE(QSet<QString>(t.choices.begin(), t.choices.end()).size(), t.choices.size());
        qsizetype last = 0;
        for (const Genotype &g : t.exactGenotypes) {
            const qsizetype at = t.choices.indexOf(g.text);
            QVERIFY2(at > last, qPrintable(g.text));
            last = at;
        }
        for (const QString &choice : t.choices.mid(1)) {
            QVERIFY2(phenotypeOf(s, choice), qPrintable(choice));
            for (GeneSeries other : AllSeries)
                QVERIFY(other == s || !phenotypeOf(other, choice));
        }
    }
    QVERIFY(table(GeneSeries::C).choices.contains("Cchl C chl, Cchl ch, or Cchl c"));
    QVERIFY(!table(GeneSeries::C).choices.contains("C chl"));
}

void TestGenetics::exactGenotypesShowClassOfDominantAllele()
{
    for (const Model &m : models())
        for (const ModelGenotype &g : modelGenotypes(m))
            QCOMPARE(effectLineFor(g.text).value_or(NoEffect), m.classEffects[classIndex(m, g.first, g.second)]);
}

// The allele method's tables: each ordered allele pair, joined, stands in exactly one
// class, the one of its more dominant allele.
void TestGenetics::pairingsFallInClassOfDominantAllele()
{
    for (const Model &m : models()) {
        const SeriesTable &t = table(m.series);
        if (t.method != CrossMethod::Allele)
            continue;
        qsizetype listed = 0;
        for (const PhenotypeClass &c : t.classes)
            listed += c.combinations.size();
        QCOMPARE(listed, m.alleles.size() * m.alleles.size());
        for (const QString &x : m.alleles)
            for (const QString &y : m.alleles) {
                const QString word = m.classWords[classIndex(m, x, y)];
                for (const PhenotypeClass &c : t.classes)
                    QVERIFY2(c.combinations.contains(x + y) == (c.resultWord == word),
                             qPrintable(x + y));
            }
    }
}

void TestGenetics::effectLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("effect");
    const auto row = [](const char *tag, const QString &text, const QString &effect) {
        QTest::newRow(tag) << text << effect;
    };
    row("placeholder", "_________", "Unknown");
    row("agouti group", "AA, A at, or Aa", "Coat Pattern: Agouti");
    row("light group, as stored", "Cchl C chl, Cchl ch, or Cchl c",
        "C Series: Light Chinchilla");
    row("C chl shows full colour", "C chl", "C Series: Full (normal) Color");
    row("dark group", "Cchd Cchd, Cchd Cchl, Cchd ch, or Cchd c", "C Series: Dark Chinchilla");
    row("VV trailing blank", "VV", "Vienna White: No effect ");
    row("WW no blank", "WW", "W Series: No effect");
    row("D group", "DD or Dd", "Dilute: Intense (normal)");
    row("E group", "Es Es, Es E, Es ej, or Es e", "Pigment Extension: Steel");
    row("aA", "aA", NoEffect);
    row("A a", "A a", NoEffect);
    row("trailing blank", "AA ", NoEffect);
    row("empty", "", NoEffect);
    row("eight underscores", "________", NoEffect);
    row("C Cchl", "C Cchl", NoEffect);
}

void TestGenetics::effectLines()
{
    QFETCH(QString, text);
    QFETCH(QString, effect);
    QCOMPARE(effectLineFor(text).value_or(NoEffect), effect);
}

void TestGenetics::geneLabels_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<int>("series"); // -1: none
    QTest::newRow("A") << "ASeries" << indexOf(GeneSeries::A);
    QTest::newRow("B") << "BSeries" << indexOf(GeneSeries::B);
    QTest::newRow("C") << "CSeries" << indexOf(GeneSeries::C);
    QTest::newRow("D") << "DSeries" << indexOf(GeneSeries::D);
    QTest::newRow("En") << "BrokenSeries" << indexOf(GeneSeries::En);
    QTest::newRow("E") << "ESeries" << indexOf(GeneSeries::E);
    QTest::newRow("V") << "VSeries" << indexOf(GeneSeries::V);
    QTest::newRow("W") << "WSeries" << indexOf(GeneSeries::W);
    QTest::newRow("EnSeries") << "EnSeries" << -1;
    QTest::newRow("lower case") << "aseries" << -1;
    QTest::newRow("other label") << "RabbitName" << -1;
    QTest::newRow("empty") << "" << -1;
}

void TestGenetics::geneLabels()
{
    QFETCH(QString, label);
    QFETCH(int, series);
    const std::optional<GeneSeries> found = seriesForGeneLabel(label);
    if (series < 0) {
        QVERIFY(!found);
        QVERIFY(choicesForGeneLabel(label).isEmpty());
        return;
    }
    QVERIFY(found && *found == AllSeries[series]);
    QCOMPARE(choicesForGeneLabel(label), table(AllSeries[series]).choices);
}

// The tables agree with the rabbit file layout and name the window's controls.
void TestGenetics::seriesMeetRabbitFileAndWindow()
{
    const int lines[] = {RabbitFile::ASeries,      RabbitFile::BSeries, RabbitFile::CSeries,
                         RabbitFile::DSeries,      RabbitFile::BrokenSeries,
                         RabbitFile::ESeries,      RabbitFile::VSeries, RabbitFile::WSeries};
    for (GeneSeries s : AllSeries) {
        QCOMPARE(table(s).fileLine, lines[indexOf(s)]);
        QCOMPARE(RabbitFile::format().field(table(s).fileLine).name, table(s).geneLabel);
        QCOMPARE(RabbitFile::format().field(table(s).fileLine).placeholder, Placeholder);
        QCOMPARE(table(s).classes.size(), model(s).lineWords.size());
    }
    QCOMPARE(fatherLabel(GeneSeries::En), QString("FatherBroken"));
    QCOMPARE(motherLabel(GeneSeries::W), QString("MotherW"));
    QCOMPARE(resultLabels(),
             QStringList({"KidA1",      "KidA2",      "KidA3",      "KidB1", "KidB2", "KidC1",
                          "KidC2",      "KidC3",      "KidC4",      "KidC5", "KidD1", "KidD2",
                          "KidBroken1", "KidBroken2", "KidBroken3", "KidE1", "KidE2", "KidE3",
                          "KidE4",      "KidV1",      "KidV2",      "KidV3", "KidW1", "KidW2"}));
}

static void addMendelRows(CrossMethod method)
{
    QTest::addColumn<GeneSeries>("series");
    QTest::addColumn<QString>("father");
    QTest::addColumn<QString>("mother");
    QTest::addColumn<QStringList>("expected");
    for (const Model &m : models()) {
        if (table(m.series).method != method)
            continue;
        const QList<ModelGenotype> genotypes = modelGenotypes(m);
        for (const ModelGenotype &f : genotypes)
            for (const ModelGenotype &mo : genotypes)
                QTest::addRow("%s: %s x %s", name(m.series), qPrintable(f.text),
                              qPrintable(mo.text))
                    << m.series << f.text << mo.text << mendel(m, f, mo);
    }
}

void TestGenetics::alleleMethodMatchesMendel_data() { addMendelRows(CrossMethod::Allele); }

void TestGenetics::alleleMethodMatchesMendel()
{
    QFETCH(GeneSeries, series);
    QFETCH(QString, father);
    QFETCH(QString, mother);
    QFETCH(QStringList, expected);
    QCOMPARE(crossSeries(series, father, mother), expected);
}

void TestGenetics::tableMethodMatchesMendel_data() { addMendelRows(CrossMethod::Table); }

// Each cell is the Mendelian expectation, and swapping the parents changes nothing.
void TestGenetics::tableMethodMatchesMendel()
{
    QFETCH(GeneSeries, series);
    QFETCH(QString, father);
    QFETCH(QString, mother);
    QFETCH(QStringList, expected);
    QCOMPARE(crossSeries(series, father, mother), expected);
    QCOMPARE(crossSeries(series, mother, father), crossSeries(series, father, mother));
}

// Over the program's own exact genotypes, every full cross sums to 100 per series.
void TestGenetics::calculableSeriesAddUpTo100()
{
    qsizetype maxPairs = 0;
    for (GeneSeries s : AllSeries)
        maxPairs = std::max(maxPairs, table(s).exactGenotypes.size() * table(s).exactGenotypes.size());
    for (qsizetype k = 0; k < maxPairs; ++k) {
        GenotypeTexts father, mother;
        for (GeneSeries s : AllSeries) {
            const QList<Genotype> &g = table(s).exactGenotypes;
            const qsizetype pair = k % (g.size() * g.size());
            father[indexOf(s)] = g[pair / g.size()].text;
            mother[indexOf(s)] = g[pair % g.size()].text;
        }
        const CrossResult result = calculateCross(father, mother);
        for (GeneSeries s : AllSeries)
            QVERIFY2(shareSum(result.lines(s)) == 100,
                     qPrintable(QStringLiteral("%1: %2 x %3 gives %4")
                                    .arg(name(s), father[indexOf(s)], mother[indexOf(s)],
                                         result.lines(s).join(" | "))));
    }
}

void TestGenetics::crossExamples_data()
{
    QTest::addColumn<GeneSeries>("series");
    QTest::addColumn<QString>("father");
    QTest::addColumn<QString>("mother");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("Aa x Aa") << GeneSeries::A << "Aa" << "Aa"
                             << QStringList{"75% Agouti", "0% Tan", "25% Self"};
    QTest::newRow("A at x at a") << GeneSeries::A << "A at" << "at a"
                                 << QStringList{"50% Agouti", "50% Tan", "0% Self"};
    QTest::newRow("AA x aa") << GeneSeries::A << "AA" << "aa"
                             << QStringList{"100% Agouti", "0% Tan", "0% Self"};
    QTest::newRow("Cchd ch x Cchl c")
        << GeneSeries::C << "Cchd ch" << "Cchl c"
        << QStringList{"0% Full Color", "50% Dark Chinchilla", "25% Light Chinchilla",
                       "25% Himilayan", "0% Albino"};
    QTest::newRow("Es e x ej e") << GeneSeries::E << "Es e" << "ej e"
                                 << QStringList{"50% Steel", "0% Normal",
                                                "25% Japanese (Harlequin/Tri)", "25% Tort"};
    QTest::newRow("Es Es x ee") << GeneSeries::E << "Es Es" << "ee"
                                << QStringList{"100% Steel", "0% Normal",
                                               "0% Japanese (Harlequin/Tri)", "0% Tort"};
    QTest::newRow("Dd x dd: dilute listed first")
        << GeneSeries::D << "Dd" << "dd" << QStringList{"50% Dilute", "50% Intense"};
}

void TestGenetics::crossExamples()
{
    QFETCH(GeneSeries, series);
    QFETCH(QString, father);
    QFETCH(QString, mother);
    QFETCH(QStringList, expected);
    QCOMPARE(crossSeries(series, father, mother), expected);
}

// Every text that is not an exact genotype of the series, on either side.
void TestGenetics::cannotCalculate_data()
{
    QTest::addColumn<GeneSeries>("series");
    QTest::addColumn<QString>("father");
    QTest::addColumn<QString>("mother");
    for (GeneSeries s : AllSeries) {
        const SeriesTable &t = table(s);
        QStringList bad = {"", "   ", t.exactGenotypes.first().text + u' '};
        // Heterozygotes written recessive first ("aA", "e Es").
        for (const ModelGenotype &g : modelGenotypes(model(s)))
            if (g.first != g.second)
                bad.append(notation(g.second, g.first));
        for (const QString &choice : t.choices)
            if (!exactGenotype(s, choice))
                bad.append(choice); // the placeholder and every grouped choice
        // An exact genotype of another series.
        bad.append(table(AllSeries[(indexOf(s) + 1) % SeriesCount]).exactGenotypes.first().text);
        if (s == GeneSeries::A)
            bad += {"A a", "Aat"};
        if (s == GeneSeries::C)
            bad += {"C chl", UnofferedGenotype};
        const QString good = t.exactGenotypes.last().text;
        for (const QString &text : bad) {
            QTest::addRow("%s: father '%s'", name(s), qPrintable(text)) << s << text << good;
            QTest::addRow("%s: mother '%s'", name(s), qPrintable(text)) << s << good << text;
            QTest::addRow("%s: both '%s'", name(s), qPrintable(text)) << s << text << text;
        }
    }
}

void TestGenetics::cannotCalculate()
{
    QFETCH(GeneSeries, series);
    QFETCH(QString, father);
    QFETCH(QString, mother);
    QCOMPARE(crossSeries(series, father, mother), cannot(series));
}

// The series are placed and calculated independently of one another; a parent
// not yet chosen gives "Cannot Calculate" everywhere.
void TestGenetics::wholeCross()
{
    const GenotypeTexts father = {"Aa", "BB or Bb", "Cchd ch", "Dd", "En en", "Es e", "Vv", "Ww"};
    const GenotypeTexts mother = {"Aa", "bb", "Cchl c", "dd", "en en", "ej e", "VV", "ww"};
    QCOMPARE(calculateCross(father, mother).allLines(),
             QStringList({"75% Agouti", "0% Tan", "25% Self",
                          "Cannot Calculate", "",
                          "0% Full Color", "50% Dark Chinchilla", "25% Light Chinchilla",
                          "25% Himilayan", "0% Albino",
                          "50% Dilute", "50% Intense",
                          "0% Charlie", "50% Broken", "50% Normal",
                          "50% Steel", "0% Normal", "25% Japanese (Harlequin/Tri)", "25% Tort",
                          "50% Normal", "50% Dutch", "0% Blue-Eyed White",
                          "50% Normal", "50% Wide Band"}));

    GenotypeTexts blank;
    blank.fill(QStringLiteral(" "));
    for (const GenotypeTexts &mum : {GenotypeTexts{}, father}) {
        const CrossResult result = calculateCross(blank, mum);
        QCOMPARE(result.allLines().size(), resultLabels().size());
        for (GeneSeries s : AllSeries)
            QCOMPARE(result.lines(s), cannot(s));
    }
}

QTEST_GUILESS_MAIN(TestGenetics)
#include "test_genetics.moc"
