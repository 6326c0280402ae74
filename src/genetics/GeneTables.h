#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// The eight gene series, in the order the colour genetics window lists and
// calculates them. The rabbit file stores them in another order (see fileLine).
enum class GeneSeries { A, B, C, D, En, E, V, W };

namespace Genetics {

constexpr int SeriesCount = 8;
constexpr std::array<GeneSeries, SeriesCount> AllSeries = {
    GeneSeries::A,  GeneSeries::B, GeneSeries::C, GeneSeries::D,
    GeneSeries::En, GeneSeries::E, GeneSeries::V, GeneSeries::W,
};
constexpr int indexOf(GeneSeries s)
{
    return int(s);
}

// A series that was never set holds this text; it is the first choice of every list.
inline const QString Placeholder = QStringLiteral("_________");
// The effect line shown for the placeholder.
inline const QString UnknownEffect = QStringLiteral("Unknown");

// An exact genotype: the stored text and its two allele symbols, the more
// dominant first. Genotype texts are only ever split through this table.
struct Genotype
{
    QString text;
    QString first;
    QString second;
};

// One phenotype of a series.
struct PhenotypeClass
{
    QString effectLine;       // shown by the rabbit sheet's gene dialog
    QString resultWord;       // follows the share in a cross result line
    QStringList texts;        // genotype and grouped-choice texts that show it
    QStringList combinations; // allele method: joined allele pairs that fall in it
};

enum class CrossMethod {
    Allele, // split both parents into alleles and classify the four pairings
    Table,  // look the pair of parental genotypes up in a fixed table
};

// Table method: the shares (per cent, one per result line) of one ordered pair.
struct CrossTableCell
{
    QString father;
    QString mother;
    QList<int> shares;
};

struct SeriesTable
{
    GeneSeries series;
    QString heading;      // colour genetics window row and result group heading
    QString geneLabel;    // rabbit sheet control name ("ASeries", "BrokenSeries")
    QString sheetHeading; // rabbit sheet text before the legend ("Coat Pattern:")
    QString windowSuffix; // genetics window control names: Father<s>, Mother<s>, Kid<s>1..
    int fileLine;         // line of the rabbit file
    QStringList alleles;  // most dominant first
    QStringList choices;  // gene dialog list, placeholder first
    QList<Genotype> exactGenotypes;
    QList<PhenotypeClass> classes; // in the order of the cross result lines
    CrossMethod method;
    QList<CrossTableCell> crossTable; // table method only: all nine ordered pairs
    QString legend;
};

const SeriesTable &table(GeneSeries s);

// Whole-string, case-sensitive lookups; nullptr when the series has no such text.
const Genotype *exactGenotype(GeneSeries s, const QString &text);
const PhenotypeClass *phenotypeOf(GeneSeries s, const QString &text);

// The series a rabbit sheet gene label stands for ("ASeries" -> A, "BrokenSeries" -> En).
std::optional<GeneSeries> seriesForGeneLabel(const QString &labelName);
// The gene dialog's list for a rabbit sheet gene label; empty for any other name.
QStringList choicesForGeneLabel(const QString &labelName);

// The gene dialog's effect line for a highlighted text: UnknownEffect for the
// placeholder, otherwise the first class that lists the text, searching the series
// in the order A, B, C, D, En, W, V, E. No value when no series lists the text.
std::optional<QString> effectLineFor(const QString &text);

} // namespace Genetics
